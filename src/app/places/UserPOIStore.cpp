#include "app/places/UserPOIStore.h"

#include "app/settings/JsonFile.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QStandardPaths>

namespace zuvo::app {

namespace {

std::vector<UserPOIStore::Waypoint> waypointsOf(const QJsonArray& list)
{
    std::vector<UserPOIStore::Waypoint> waypoints;
    for (const QJsonValue& entry : list) {
        if (auto waypoint = formats::GPXWaypoints::fromJson(entry.toObject()))
            waypoints.push_back(std::move(*waypoint));
    }
    return waypoints;
}

} // namespace

QString UserPOIStore::defaultGlyph()
{
    return QStringLiteral("\U0001F37A");
}

QString UserPOIStore::defaultFilePath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("custom-pois.json"));
}

UserPOIStore::UserPOIStore(QString filePath, QObject* parent)
    : QObject(parent)
    , m_filePath(std::move(filePath))
{
    const auto document = JsonFile::read(m_filePath);
    if (!document)
        return;
    if (document->isArray()) {
        m_waypoints = waypointsOf(document->array());
        return;
    }
    const QJsonObject object = document->object();
    const QJsonValue glyph = object.value(u"glyph");
    const QJsonValue waypoints = object.value(u"waypoints");
    if (!glyph.isString() || !waypoints.isArray())
        return;
    m_glyph = glyph.toString();
    m_waypoints = waypointsOf(waypoints.toArray());
}

void UserPOIStore::setWaypoints(std::vector<Waypoint> waypoints)
{
    m_waypoints = std::move(waypoints);
    emit changed();
}

void UserPOIStore::setGlyph(QString glyph)
{
    m_glyph = std::move(glyph);
    emit changed();
}

bool UserPOIStore::save() const
{
    QJsonArray list;
    for (const auto& waypoint : m_waypoints)
        list.append(formats::GPXWaypoints::toJson(waypoint));
    return JsonFile::write(m_filePath, QJsonDocument(QJsonObject{
                                           {QStringLiteral("glyph"), m_glyph},
                                           {QStringLiteral("waypoints"), list},
                                       }));
}

} // namespace zuvo::app
