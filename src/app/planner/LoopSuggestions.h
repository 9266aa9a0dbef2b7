#pragma once

#include "app/LonLat.h"
#include "app/planner/PlannerViewModel.h"
#include "model/CostingKind.h"
#include "model/RouteSegment.h"
#include "model/RouteStats.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <qcoro/qcorotask.h>

#include <array>
#include <optional>
#include <stop_token>
#include <vector>

namespace zuvo::app {

// Makes `planner`'s plan a round trip along `loop`: anchors on it (see routing::loopAnchors),
// routed again; a leg that cannot be routed keeps the loop's own geometry. Fails when the loop
// has no points, or as the routing failed when no leg could be kept.
QCoro::Task<> followLoop(routing::RoutePlanner& planner, std::vector<model::RouteSegment> loop,
                         model::CostingProfile costing, std::stop_token stop = {});

// Where loops start when asked for without a click on the map: at the plan's start, else where
// the rider last clicked or searched; absent on an empty map nobody has pointed at yet.
std::optional<LonLat> loopStart(const PlannerViewModel& planner);

// Round trips from one spot for the rider to choose from: three loops of about the asked length
// asked for at once, drawn on the map in their own colours, one of them made the plan. The map
// shows the loops for as long as this lives.
class LoopSuggestions : public QObject {
    Q_OBJECT

public:
    static constexpr int count = 3;
    static constexpr double minKm = 5.0;
    static constexpr double defaultKm = 40.0;

    // One loop as the server made it, with its figures.
    struct Loop {
        int seed = 0;
        std::vector<model::RouteSegment> segments = {};
        std::vector<model::Coordinate> coordinates = {};
        double distance = 0.0; // metres
        double ascent = 0.0;   // metres
        model::RouteStats::SurfaceShares surface = {};
    };
    // One of the three places a loop is shown in.
    struct Slot {
        bool pending = false;
        std::optional<Loop> loop = {};
        std::optional<QString> error = {};
    };

    LoopSuggestions(PlannerViewModel& planner, LonLat start, QObject* parent = nullptr);
    ~LoopSuggestions() override;

    static double maxKm(model::CostingKind kind);
    // "Any direction", "North", "North-east", … for no direction and the eight directions
    // clockwise from north (0 = north).
    static QString directionName(std::optional<int> direction);
    // The colour a slot's loop is drawn in, "#RRGGBB".
    static QString color(int slot);

    LonLat start() const { return m_start; }
    double km() const { return m_km; }
    // The longest loop the current profile may ask for.
    double kmLimit() const;
    // The profile the loops are asked for: the plan's, also when it changes meanwhile.
    QString profileName() const;
    // Held within what the current profile allows.
    void setKm(double km);
    std::optional<int> direction() const { return m_direction; }
    void setDirection(std::optional<int> direction);

    // Asks for three loops at once, each with a seed not asked before; loops still coming are
    // cancelled first.
    void suggest();
    // Stops the request of one slot, or of every slot.
    void cancel(int slot);
    void cancel();
    bool isBusy() const;

    const std::array<Slot, count>& suggestions() const { return m_slots; }
    // "62.4 km · 540 m · 80% paved", the error, "Looking for a loop…", or nothing yet.
    QString slotText(int slot) const;
    // The loop's length next to the one asked: "18% longer than asked", or nothing when close.
    QString offText(int slot) const;

    int highlighted() const { return m_highlighted; }
    void setHighlighted(int slot);

    // Makes the slot's loop the plan in one undoable step; null when the slot has none.
    MutationHandle use(int slot);

signals:
    void changed();

private:
    QCoro::Task<> fetch(int slot, int seed, double distance, std::optional<double> heading,
                        std::stop_token stop);
    void draw(bool frame);

    QPointer<PlannerViewModel> m_planner;
    LonLat m_start;
    double m_km = defaultKm;
    double m_askedKm = defaultKm;
    std::optional<int> m_direction;
    int m_nextSeed = 0;
    int m_highlighted = -1;
    std::array<Slot, count> m_slots;
    std::array<std::stop_source, count> m_stops;
};

} // namespace zuvo::app
