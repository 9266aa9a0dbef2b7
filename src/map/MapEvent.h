#pragma once

#include <QJsonValue>
#include <QString>
#include <QUuid>

#include <optional>
#include <variant>
#include <vector>

namespace zuvo::map {

// A point of interest as the map shows it. `category` is "favorite" for favourites, "custom" for
// the user's imported points, "search" for a search result, else the category of the page's
// query.
struct POIItem {
    QString id;
    double longitude = 0.0;
    double latitude = 0.0;
    QString category;
    QString name;

    bool operator==(const POIItem&) const = default;
};

// What a right click on the map hit.
struct ContextTarget {
    struct Anchor {
        QUuid id;
        bool operator==(const Anchor&) const = default;
    };
    struct POI {
        QString id;
        bool operator==(const POI&) const = default;
    };
    struct Route {
        bool operator==(const Route&) const = default;
    };
    struct Map {
        bool operator==(const Map&) const = default;
    };

    std::variant<Anchor, POI, Route, Map> value;

    bool operator==(const ContextTarget&) const = default;
};

// One event of the map page. Positions are degrees; x and y of a context menu are view points.
struct MapEvent {
    struct Tap {
        double lng = 0.0;
        double lat = 0.0;
        bool onRoute = false;
        bool operator==(const Tap&) const = default;
    };
    // No id clears the selection.
    struct AnchorSelect {
        std::optional<QUuid> id;
        bool operator==(const AnchorSelect&) const = default;
    };
    struct AnchorDrag {
        QUuid id;
        double lng = 0.0;
        double lat = 0.0;
        bool operator==(const AnchorDrag&) const = default;
    };
    struct RouteDragStart {
        double lng = 0.0;
        double lat = 0.0;
        bool operator==(const RouteDragStart&) const = default;
    };
    struct Log {
        QString message;
        bool operator==(const Log&) const = default;
    };
    struct POIsResult {
        std::vector<POIItem> items;
        bool operator==(const POIsResult&) const = default;
    };
    struct POISelect {
        QString id;
        bool operator==(const POISelect&) const = default;
    };
    struct ContextMenu {
        ContextTarget target;
        double lng = 0.0;
        double lat = 0.0;
        double x = 0.0;
        double y = 0.0;
        bool operator==(const ContextMenu&) const = default;
    };
    struct ViewChanged {
        double zoom = 0.0;
        double lat = 0.0;
        bool operator==(const ViewChanged&) const = default;
    };
    struct Ready {
        bool operator==(const Ready&) const = default;
    };
    struct DragEnd {
        bool operator==(const DragEnd&) const = default;
    };

    std::variant<Tap, AnchorSelect, AnchorDrag, RouteDragStart, Log, POIsResult, POISelect,
                 ContextMenu, ViewChanged, Ready, DragEnd>
        value;

    bool operator==(const MapEvent&) const = default;

    // Decodes one event object of the page. No event when the body is not an object, names no
    // known event, or lacks a required field or has it of the wrong type. A malformed POI of a
    // result is skipped on its own; an anchor selection whose id is not a UUID deselects.
    static std::optional<MapEvent> parse(const QJsonValue& body);
};

} // namespace zuvo::map
