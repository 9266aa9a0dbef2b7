#include "routing/GraphHopperInfo.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace zuvo::routing {

namespace {

std::optional<QDateTime> dateOf(const QJsonValue& value)
{
    const QDateTime date = QDateTime::fromString(value.toString(), Qt::ISODate);
    return date.isValid() ? std::optional(date) : std::nullopt;
}

std::optional<ServerArea> areaOf(const QJsonValue& value)
{
    const QJsonArray box = value.toArray();
    if (box.size() != 4)
        return std::nullopt;
    for (const auto& number : box) {
        if (!number.isDouble() || !std::isfinite(number.toDouble()))
            return std::nullopt;
    }
    const ServerArea area{box[0].toDouble(), box[1].toDouble(), box[2].toDouble(),
                          box[3].toDouble()};
    // An empty or upside-down box says nothing about coverage.
    if (!(area.west < area.east && area.south < area.north))
        return std::nullopt;
    return area;
}

} // namespace

bool ServerArea::contains(const model::Coordinate& point) const
{
    return point.longitude >= west && point.longitude <= east && point.latitude >= south &&
           point.latitude <= north;
}

bool GraphHopperInfo::isVersion11() const
{
    return version == u"11" || version.startsWith(QStringLiteral("11."));
}

model::Result<GraphHopperInfo, RoutingError> GraphHopperInfo::parse(QByteArrayView body)
{
    const QJsonDocument document = QJsonDocument::fromJson(body.toByteArray());
    const QJsonObject object = document.object();
    if (!document.isObject() || !object.value(u"profiles").isArray())
        return RoutingError::malformedResponse();
    GraphHopperInfo info;
    info.version = object.value(u"version").toString();
    for (const auto& profile : object.value(u"profiles").toArray()) {
        const QString name = profile.toObject().value(u"name").toString();
        if (!name.isEmpty())
            info.profiles.append(name);
    }
    info.elevation = object.value(u"elevation").toBool();
    info.area = areaOf(object.value(u"bbox"));
    info.importDate = dateOf(object.value(u"import_date"));
    info.dataDate = dateOf(object.value(u"data_date"));
    return info;
}

} // namespace zuvo::routing
