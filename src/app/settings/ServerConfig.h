#pragma once

#include <QString>
#include <QUrl>

#include <optional>

class QSettings;

// The server addresses, derived from the user's preferences: one base for
// the user's own server ("server.base", scheme and host), from which the
// routing (port 8989) and tile (port 8080) addresses follow unless
// overridden, and the geocoder's address.
namespace zuvo::app::ServerConfig {

// The base used when "server.base" is absent: http on the loopback host.
QString defaultBase();
// The public Photon endpoint used when "server.search" is absent or invalid.
QUrl defaultSearchBase();

// The text, trimmed, as a URL when it names a scheme and a host; what the
// settings window accepts as a server address.
std::optional<QUrl> serverAddress(const QString& text);

// GraphHopper's base URL: "server.routing" when it is a URL, else the
// derived base with port 8989.
QUrl routingURL(const QSettings& defaults);
// The tile server base handed to the map page: "server.tiles" as it is when
// not empty, else the derived base with port 8080.
QString tilesBase(const QSettings& defaults);
// Photon's base URL: "server.search" when it is a valid URL.
QUrl searchBase(const QSettings& defaults);

} // namespace zuvo::app::ServerConfig
