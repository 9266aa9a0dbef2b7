#include "map/MapBridge.h"

#include "map/detail/JsonText.h"

#include <QJsonDocument>

#include <algorithm>

namespace zuvo::map {

std::optional<Bounds> Bounds::enclosing(std::span<const model::Coordinate> points)
{
    if (points.empty())
        return std::nullopt;
    Bounds box{points[0].longitude, points[0].latitude, points[0].longitude, points[0].latitude};
    for (const auto& c : points)
        box = box.united({c.longitude, c.latitude, c.longitude, c.latitude});
    return box;
}

Bounds Bounds::united(const Bounds& other) const
{
    return {std::min(west, other.west), std::min(south, other.south), std::max(east, other.east),
            std::max(north, other.north)};
}

Bounds Bounds::expanded(double degrees) const
{
    return {west - degrees, south - degrees, east + degrees, north + degrees};
}

MapBridge::MapBridge(QObject* parent)
    : QObject(parent)
{
}

void MapBridge::setPage(PageSink* page)
{
    m_page = page;
}

void MapBridge::send(const QString& command, const QJsonObject& payload)
{
    if (!m_page)
        return;
    sendJson(command, QJsonDocument(payload).toJson(QJsonDocument::Compact));
}

void MapBridge::sendJson(const QString& command, const QByteArray& payload)
{
    if (!m_page)
        return;
    QByteArray script;
    script.reserve(payload.size() + command.size() + 64);
    script.append("window.zuvo && window.zuvo.receive({\"command\":");
    detail::appendString(script, command);
    script.append(",\"payload\":");
    script.append(payload);
    script.append("})");
    m_page->runScript(QString::fromUtf8(script));
}

void MapBridge::setRoute(std::span<const model::Coordinate> coordinates,
                         std::optional<std::span<const double>> grades,
                         std::optional<std::span<const double>> progress)
{
    if (!m_page)
        return;
    QByteArray payload("{\"coordinates\":");
    detail::appendPositions(payload, coordinates);
    if (grades) {
        payload.append(",\"grades\":");
        detail::appendNumbers(payload, *grades);
    }
    if (progress) {
        payload.append(",\"progress\":");
        detail::appendNumbers(payload, *progress);
    }
    payload.append('}');
    sendJson(QStringLiteral("setRoute"), payload);
}

void MapBridge::setAnchors(std::span<const model::Anchor> anchors,
                           const std::optional<QUuid>& selected, bool roundTrip)
{
    send(QStringLiteral("setAnchors"),
         {{QStringLiteral("anchors"), anchorsPayload(anchors, selected, roundTrip)}});
}

void MapBridge::setImportedTracks(std::span<const model::ShownTrack> tracks)
{
    if (m_page)
        sendJson(QStringLiteral("setImportedTracks"), trackPayload(tracks));
}

void MapBridge::setPOIs(std::span<const POIItem> pois, const std::optional<QString>& selected)
{
    send(QStringLiteral("setPOIs"), {{QStringLiteral("pois"), poisPayload(pois, selected)}});
}

void MapBridge::setLoopSuggestions(std::span<const LoopLine> loops, int highlighted)
{
    if (!m_page)
        return;
    QByteArray payload("{\"loops\":[");
    for (std::size_t i = 0; i < loops.size(); ++i) {
        payload.append(i > 0 ? ",{\"coordinates\":" : "{\"coordinates\":");
        detail::appendPositions(payload, loops[i].coordinates);
        payload.append(",\"color\":\"" + loops[i].color.toLatin1() + "\"}");
    }
    payload.append("],\"highlighted\":" + QByteArray::number(highlighted) + '}');
    sendJson(QStringLiteral("setLoopSuggestions"), payload);
}

void MapBridge::setRideMarker(double lng, double lat, bool visible)
{
    send(QStringLiteral("setRideMarker"), {{QStringLiteral("lng"), lng},
                                           {QStringLiteral("lat"), lat},
                                           {QStringLiteral("visible"), visible}});
}

void MapBridge::setCrosshair(double lng, double lat, bool visible)
{
    send(QStringLiteral("setCrosshair"), {{QStringLiteral("lng"), lng},
                                          {QStringLiteral("lat"), lat},
                                          {QStringLiteral("visible"), visible}});
}

void MapBridge::highlightStreet(const QString& name)
{
    send(QStringLiteral("highlightStreet"), {{QStringLiteral("name"), name}});
}

void MapBridge::fit(const Bounds& box, bool animated)
{
    send(QStringLiteral("fit"),
         {{QStringLiteral("bounds"), bounds(box)}, {QStringLiteral("animated"), animated}});
}

void MapBridge::showServerArea(const Bounds& box, bool visible)
{
    send(QStringLiteral("showServerArea"),
         {{QStringLiteral("bounds"), bounds(box)}, {QStringLiteral("visible"), visible}});
}

void MapBridge::setViewInsets(int top, int right, int bottom, int left)
{
    send(QStringLiteral("setViewInsets"), {{QStringLiteral("top"), top},
                                           {QStringLiteral("right"), right},
                                           {QStringLiteral("bottom"), bottom},
                                           {QStringLiteral("left"), left}});
}

QString MapBridge::uuidText(const QUuid& id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

QJsonArray MapBridge::bounds(const Bounds& box)
{
    return {box.west, box.south, box.east, box.north};
}

QJsonArray MapBridge::anchorsPayload(std::span<const model::Anchor> anchors,
                                     const std::optional<QUuid>& selected, bool roundTrip)
{
    QJsonArray list;
    for (std::size_t i = 0; i < anchors.size(); ++i) {
        const model::Anchor& anchor = anchors[i];
        const model::Coordinate& at = anchor.routingPosition();
        QString role;
        if (i == 0)
            role = QStringLiteral("start");
        else if (i + 1 == anchors.size() && !roundTrip)
            role = QStringLiteral("end");
        list.append(QJsonObject{
            {QStringLiteral("id"), uuidText(anchor.id)},
            {QStringLiteral("lng"), at.longitude},
            {QStringLiteral("lat"), at.latitude},
            {QStringLiteral("kind"), model::kindName(anchor.kind)},
            {QStringLiteral("selected"), selected.has_value() && *selected == anchor.id},
            {QStringLiteral("dimmed"), false},
            {QStringLiteral("role"), role},
        });
    }
    return list;
}

QByteArray MapBridge::trackPayload(std::span<const model::ShownTrack> tracks)
{
    QByteArray payload("{\"tracks\":[");
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        if (i > 0)
            payload.append(',');
        payload.append("{\"id\":");
        detail::appendString(payload, tracks[i].id);
        payload.append(",\"colorIndex\":");
        payload.append(QByteArray::number(tracks[i].colorIndex));
        payload.append(",\"coordinates\":");
        detail::appendPositions(payload, tracks[i].coordinates);
        payload.append('}');
    }
    payload.append("]}");
    return payload;
}

QJsonArray MapBridge::poisPayload(std::span<const POIItem> pois,
                                  const std::optional<QString>& selected)
{
    QJsonArray list;
    for (const POIItem& poi : pois) {
        list.append(QJsonObject{
            {QStringLiteral("id"), poi.id},
            {QStringLiteral("lng"), poi.longitude},
            {QStringLiteral("lat"), poi.latitude},
            {QStringLiteral("category"), poi.category},
            {QStringLiteral("selected"), selected.has_value() && *selected == poi.id},
            {QStringLiteral("dimmed"), false},
        });
    }
    return list;
}

void MapBridge::postMessage(const QVariantMap& event)
{
    if (const auto decoded = MapEvent::parse(QJsonObject::fromVariantMap(event)))
        emit eventReceived(*decoded);
}

} // namespace zuvo::map
