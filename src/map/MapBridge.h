#pragma once

#include "map/MapEvent.h"
#include "map/PageSink.h"
#include "model/Anchor.h"
#include "model/ShownTrack.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <QVariantMap>

#include <optional>
#include <span>

namespace zuvo::map {

// A box in degrees.
struct Bounds {
    double west = 0.0;
    double south = 0.0;
    double east = 0.0;
    double north = 0.0;

    // The smallest box around the points; absent for none.
    static std::optional<Bounds> enclosing(std::span<const model::Coordinate> points);
    // This box and `other` in one.
    Bounds united(const Bounds& other) const;
    Bounds expanded(double degrees) const;

    bool operator==(const Bounds&) const = default;
};

// The one channel between the planner and the map page. Commands become the script
// "window.zuvo && window.zuvo.receive({command, payload})" in the page; the page's events arrive
// through postMessage (the page calls it over the web channel) and leave decoded as
// eventReceived. Positions go to the page longitude first, anchor ids as upper-case UUIDs.
class MapBridge : public QObject {
    Q_OBJECT

public:
    explicit MapBridge(QObject* parent = nullptr);

    // The page is held weakly: once it is gone every command is dropped.
    void setPage(PageSink* page);
    bool hasPage() const { return !m_page.isNull(); }

    void send(const QString& command, const QJsonObject& payload);
    // `payload` is the JSON text of an object, written by the caller.
    void sendJson(const QString& command, const QByteArray& payload);

    // Grades and progress go together, and only in gradient mode.
    void setRoute(std::span<const model::Coordinate> coordinates,
                  std::optional<std::span<const double>> grades = std::nullopt,
                  std::optional<std::span<const double>> progress = std::nullopt);
    void setAnchors(std::span<const model::Anchor> anchors, const std::optional<QUuid>& selected,
                    bool roundTrip);
    void setImportedTracks(std::span<const model::ShownTrack> tracks);
    void setPOIs(std::span<const POIItem> pois, const std::optional<QString>& selected);
    void setRideMarker(double lng, double lat, bool visible);
    // Suggested loops, each in its colour ("#RRGGBB"); `highlighted` (an index, or −1 for none)
    // is drawn over the others, which fade. No loops clears them.
    struct LoopLine {
        std::span<const model::Coordinate> coordinates;
        QString color;
    };
    void setLoopSuggestions(std::span<const LoopLine> loops, int highlighted);
    void setCrosshair(double lng, double lat, bool visible);
    // "" clears the highlight.
    void highlightStreet(const QString& name);
    void fit(const Bounds& bounds, bool animated);
    // The outline of the routing server's area.
    void showServerArea(const Bounds& bounds, bool visible);
    // The strips along the map's edges that the window covers with notices, in view points: a
    // framed box stays clear of them.
    void setViewInsets(int top, int right, int bottom, int left);

    static QString uuidText(const QUuid& id);
    static QJsonArray bounds(const Bounds& bounds);
    // One object per anchor: id, its routing position, kind, selected, dimmed and its role
    // ("start", "end" on the last of a route that is no round trip, else "").
    static QJsonArray anchorsPayload(std::span<const model::Anchor> anchors,
                                     const std::optional<QUuid>& selected, bool roundTrip);
    // {"tracks":[{id, colorIndex, coordinates}…]}, written directly: a ride has many points.
    static QByteArray trackPayload(std::span<const model::ShownTrack> tracks);
    static QJsonArray poisPayload(std::span<const POIItem> pois,
                                  const std::optional<QString>& selected);

public slots:
    // An event object of the page; one that does not decode is dropped.
    void postMessage(const QVariantMap& event);

signals:
    void eventReceived(const zuvo::map::MapEvent& event);

private:
    QPointer<PageSink> m_page;
};

} // namespace zuvo::map
