#include "map/MapEvent.h"

#include <QJsonArray>
#include <QJsonObject>

#include <functional>
#include <map>

namespace zuvo::map {

namespace {

std::optional<double> number(const QJsonObject& o, QStringView key)
{
    const QJsonValue v = o.value(key);
    if (!v.isDouble())
        return std::nullopt;
    return v.toDouble();
}

std::optional<QString> string(const QJsonObject& o, QStringView key)
{
    const QJsonValue v = o.value(key);
    if (!v.isString())
        return std::nullopt;
    return v.toString();
}

std::optional<QUuid> uuid(const QJsonObject& o, QStringView key)
{
    const auto text = string(o, key);
    if (!text)
        return std::nullopt;
    const QUuid id = QUuid::fromString(*text);
    if (id.isNull())
        return std::nullopt;
    return id;
}

std::optional<POIItem> poiItem(const QJsonValue& value)
{
    const QJsonObject o = value.toObject();
    const auto id = string(o, u"id");
    const auto lng = number(o, u"lng");
    const auto lat = number(o, u"lat");
    const auto category = string(o, u"category");
    if (!value.isObject() || !id || !lng || !lat || !category)
        return std::nullopt;
    return POIItem{*id, *lng, *lat, *category, string(o, u"name").value_or(QString())};
}

std::optional<ContextTarget> contextTarget(const QJsonValue& value)
{
    const QJsonObject o = value.toObject();
    const auto type = string(o, u"type");
    if (!type)
        return std::nullopt;
    if (*type == u"anchor") {
        if (const auto id = uuid(o, u"id"))
            return ContextTarget{ContextTarget::Anchor{*id}};
        return std::nullopt;
    }
    if (*type == u"poi") {
        if (const auto id = string(o, u"id"))
            return ContextTarget{ContextTarget::POI{*id}};
        return std::nullopt;
    }
    if (*type == u"route")
        return ContextTarget{ContextTarget::Route{}};
    if (*type == u"map")
        return ContextTarget{ContextTarget::Map{}};
    return std::nullopt;
}

using Decoder = std::function<std::optional<MapEvent>(const QJsonObject&)>;

template <typename Event>
std::optional<MapEvent> event(Event e)
{
    return MapEvent{std::move(e)};
}

const std::map<QString, Decoder>& decoders()
{
    static const std::map<QString, Decoder> table{
        {QStringLiteral("ready"), [](const QJsonObject&) { return event(MapEvent::Ready{}); }},
        {QStringLiteral("dragEnd"), [](const QJsonObject&) { return event(MapEvent::DragEnd{}); }},
        {QStringLiteral("tap"),
         [](const QJsonObject& o) -> std::optional<MapEvent> {
             const auto lng = number(o, u"lng");
             const auto lat = number(o, u"lat");
             if (!lng || !lat)
                 return std::nullopt;
             const QJsonValue onRoute = o.value(u"onRoute");
             return event(MapEvent::Tap{*lng, *lat, onRoute.isBool() && onRoute.toBool()});
         }},
        {QStringLiteral("anchorSelect"),
         [](const QJsonObject& o) { return event(MapEvent::AnchorSelect{uuid(o, u"id")}); }},
        {QStringLiteral("anchorDrag"),
         [](const QJsonObject& o) -> std::optional<MapEvent> {
             const auto id = uuid(o, u"id");
             const auto lng = number(o, u"lng");
             const auto lat = number(o, u"lat");
             if (!id || !lng || !lat)
                 return std::nullopt;
             return event(MapEvent::AnchorDrag{*id, *lng, *lat});
         }},
        {QStringLiteral("routeDragStart"),
         [](const QJsonObject& o) -> std::optional<MapEvent> {
             const auto lng = number(o, u"lng");
             const auto lat = number(o, u"lat");
             if (!lng || !lat)
                 return std::nullopt;
             return event(MapEvent::RouteDragStart{*lng, *lat});
         }},
        {QStringLiteral("log"),
         [](const QJsonObject& o) {
             return event(MapEvent::Log{string(o, u"message").value_or(QString())});
         }},
        {QStringLiteral("poiSelect"),
         [](const QJsonObject& o) -> std::optional<MapEvent> {
             const auto id = string(o, u"id");
             if (!id)
                 return std::nullopt;
             return event(MapEvent::POISelect{*id});
         }},
        {QStringLiteral("poisResult"),
         [](const QJsonObject& o) -> std::optional<MapEvent> {
             const QJsonValue pois = o.value(u"pois");
             if (!pois.isArray())
                 return std::nullopt;
             MapEvent::POIsResult result;
             for (const QJsonValue& item : pois.toArray()) {
                 if (auto poi = poiItem(item))
                     result.items.push_back(std::move(*poi));
             }
             return event(std::move(result));
         }},
        {QStringLiteral("contextMenu"),
         [](const QJsonObject& o) -> std::optional<MapEvent> {
             const auto target = contextTarget(o.value(u"target"));
             const auto lng = number(o, u"lng");
             const auto lat = number(o, u"lat");
             const auto x = number(o, u"x");
             const auto y = number(o, u"y");
             if (!target || !lng || !lat || !x || !y)
                 return std::nullopt;
             return event(MapEvent::ContextMenu{*target, *lng, *lat, *x, *y});
         }},
        {QStringLiteral("viewChanged"),
         [](const QJsonObject& o) -> std::optional<MapEvent> {
             const auto zoom = number(o, u"zoom");
             const auto lat = number(o, u"lat");
             if (!zoom || !lat)
                 return std::nullopt;
             return event(MapEvent::ViewChanged{*zoom, *lat});
         }},
    };
    return table;
}

} // namespace

std::optional<MapEvent> MapEvent::parse(const QJsonValue& body)
{
    if (!body.isObject())
        return std::nullopt;
    const QJsonObject o = body.toObject();
    const auto name = string(o, u"event");
    if (!name)
        return std::nullopt;
    const auto& table = decoders();
    const auto it = table.find(*name);
    if (it == table.end())
        return std::nullopt;
    return it->second(o);
}

} // namespace zuvo::map
