#include "app/settings/ServerConfig.h"

#include <QSettings>

#include <optional>

namespace zuvo::app::ServerConfig {

namespace {

constexpr int routingPort = 8989;
constexpr int tilesPort = 8080;

// Scheme and host of `base` with the port replaced and no path; absent when
// the text has no scheme or no host.
std::optional<QUrl> derivedBase(const QString& base, int port)
{
    auto url = serverAddress(base);
    if (!url)
        return std::nullopt;
    url->setPort(port);
    url->setPath(QString());
    return url;
}

QUrl loopback(int port)
{
    QUrl url(defaultBase());
    url.setPort(port);
    return url;
}

QString baseOf(const QSettings& defaults)
{
    return defaults.value(QStringLiteral("server.base"), defaultBase()).toString();
}

} // namespace

QString defaultBase()
{
    return QStringLiteral("http://127.0.0.1");
}

QUrl defaultSearchBase()
{
    return QUrl(QStringLiteral("https://photon.komoot.io"));
}

std::optional<QUrl> serverAddress(const QString& text)
{
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty() || url.host().isEmpty())
        return std::nullopt;
    return url;
}

QUrl routingURL(const QSettings& defaults)
{
    // "gh.local:8989" would parse with the scheme "gh.local" and no host; every request to it
    // would fail, so anything without a scheme and a host is no override.
    if (const auto url = serverAddress(defaults.value(QStringLiteral("server.routing")).toString()))
        return *url;
    return derivedBase(baseOf(defaults), routingPort).value_or(loopback(routingPort));
}

QString tilesBase(const QSettings& defaults)
{
    const QString tiles = defaults.value(QStringLiteral("server.tiles")).toString();
    if (!tiles.isEmpty())
        return tiles;
    return derivedBase(baseOf(defaults), tilesPort)
        .value_or(loopback(tilesPort))
        .toString(QUrl::FullyEncoded);
}

QUrl searchBase(const QSettings& defaults)
{
    return serverAddress(defaults.value(QStringLiteral("server.search")).toString())
        .value_or(defaultSearchBase());
}

} // namespace zuvo::app::ServerConfig
