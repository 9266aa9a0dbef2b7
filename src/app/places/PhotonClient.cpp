#include "app/places/PhotonClient.h"

#include "routing/HttpExchange.h"

#include <QLocale>
#include <QNetworkRequest>

namespace zuvo::app {

namespace {

QString shortest(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

} // namespace

PhotonClient::PhotonClient(QUrl baseURL, QNetworkAccessManager& session)
    : m_baseURL(std::move(baseURL))
    , m_session(&session)
{
}

QUrl PhotonClient::requestURL(const QString& query, std::optional<LonLat> near) const
{
    QUrl url = routing::appendingPathComponent(m_baseURL, QStringLiteral("api"));

    // Every value fully percent-encoded: a "+" typed into the search field
    // must reach the server as a plus, not as a space.
    QString items;
    const auto add = [&items](const char* key, const QString& value) {
        if (!items.isEmpty())
            items += u'&';
        items += QLatin1String(key) + u'=' + QString::fromLatin1(QUrl::toPercentEncoding(value));
    };
    add("q", query);
    add("limit", QStringLiteral("6"));
    add("lang", QStringLiteral("de"));
    if (near) {
        add("lon", shortest(near->longitude));
        add("lat", shortest(near->latitude));
    }
    url.setQuery(items, QUrl::StrictMode);
    return url;
}

QCoro::Task<std::vector<PhotonPlace>>
PhotonClient::search(QString query, std::optional<LonLat> near, std::stop_token cancel)
{
    const QNetworkRequest request(requestURL(query, near));
    const QByteArray method = QByteArrayLiteral("GET");
    const routing::HttpAnswer answer =
        co_await routing::exchange(*m_session, request, method, QByteArray(), cancel);
    co_return placesFromPhotonAnswer(answer.body);
}

} // namespace zuvo::app
