#include "formats/GPXWaypoints.h"

#include "formats/detail/Text.h"
#include "formats/detail/XmlParser.h"

#include <optional>
#include <string>

namespace zuvo::formats {

namespace {

struct ParseState {
    std::vector<GPXWaypoints::Waypoint> waypoints;
    bool inWpt = false;
    bool inExtensions = false;
    bool inName = false;
    double pendingLat = 0.0;
    double pendingLon = 0.0;
    std::optional<QString> pendingName;
    std::string nameText;

    void startElement(const char* name, const char** attributes)
    {
        const std::string_view local = detail::localName(name);
        if (local == "wpt") {
            const char* lat = detail::attribute(attributes, "lat");
            const char* lon = detail::attribute(attributes, "lon");
            const auto latitude = lat ? detail::parseDecimal(lat) : std::nullopt;
            const auto longitude = lon ? detail::parseDecimal(lon) : std::nullopt;
            if (latitude && longitude) {
                inWpt = true;
                pendingLat = *latitude;
                pendingLon = *longitude;
                pendingName.reset();
            }
        } else if (local == "extensions" && inWpt) {
            inExtensions = true;
        } else if (local == "name" && inWpt && !inExtensions) {
            inName = true;
            nameText.clear();
        }
    }

    bool wantsText() const { return inName; }
    void characters(std::string_view text) { nameText.append(text); }

    void endElement(const char* name)
    {
        const std::string_view local = detail::localName(name);
        if (local == "name" && inWpt && inName) {
            inName = false;
            const std::string_view text = detail::trimmed(nameText);
            pendingName = QString::fromUtf8(text.data(), qsizetype(text.size()));
        } else if (local == "extensions" && inWpt) {
            inExtensions = false;
        } else if (local == "wpt" && inWpt) {
            waypoints.push_back({
                .name =
                    pendingName && !pendingName->isEmpty() ? *pendingName : QStringLiteral("POI"),
                .latitude = pendingLat,
                .longitude = pendingLon,
            });
            inWpt = false;
            pendingName.reset();
        }
    }
};

} // namespace

std::vector<GPXWaypoints::Waypoint> GPXWaypoints::parse(QByteArrayView bytes)
{
    ParseState state;
    // A syntax error ends the parse; what was complete before it stands.
    detail::XmlParser::parse(bytes, state);
    return std::move(state.waypoints);
}

QJsonObject GPXWaypoints::toJson(const Waypoint& waypoint)
{
    return {{QStringLiteral("name"), waypoint.name},
            {QStringLiteral("latitude"), waypoint.latitude},
            {QStringLiteral("longitude"), waypoint.longitude}};
}

std::optional<GPXWaypoints::Waypoint> GPXWaypoints::fromJson(const QJsonObject& object)
{
    const QJsonValue name = object.value(u"name");
    const QJsonValue latitude = object.value(u"latitude");
    const QJsonValue longitude = object.value(u"longitude");
    if (!name.isString() || !latitude.isDouble() || !longitude.isDouble())
        return std::nullopt;
    return Waypoint{name.toString(), latitude.toDouble(), longitude.toDouble()};
}

} // namespace zuvo::formats
