#pragma once

#include "model/Anchor.h"
#include "model/CostingProfile.h"
#include "model/Route.h"
#include "routing/Engine.h"
#include "routing/Failure.h"

#include <QUuid>

#include <qcoro/qcorotask.h>

#include <memory>
#include <optional>
#include <span>
#include <stop_token>
#include <variant>
#include <vector>

namespace zuvo::routing {

// Where a new anchor would go along the route: on leg `index` (between
// anchors index and index + 1) or on the closing leg.
struct InsertionPoint {
    struct Leg {
        std::size_t index = 0;
        bool operator==(const Leg&) const = default;
    };
    struct Closing {
        bool operator==(const Closing&) const = default;
    };

    std::variant<Leg, Closing> value;

    static InsertionPoint leg(std::size_t index) { return {Leg{index}}; }
    static InsertionPoint closing() { return {Closing{}}; }

    bool operator==(const InsertionPoint&) const = default;
};

// A suggested loop as anchors of a round trip that routes along it again: its start as a via
// anchor, then shaping anchors on the loop where the server marked its own waypoints ("via
// reached" cues), else evenly along it, about one every `spacing` metres and at least three.
// Every anchor is snapped where it lies on the loop, so none needs locating.
std::vector<model::Anchor> loopAnchors(std::span<const model::RouteSegment> loop,
                                       double spacing = 10'000.0);

// Keeps a route's legs in step with its anchors, asking the engine only for
// what an edit made stale.
//
// All operations run on the thread that owns the planner. Each engine request
// is a suspension point where another operation may run; between two
// requests state changes are atomic, so currentRoute() is always consistent:
// legs has max(anchors − 1, 0) entries and the closing leg exists only for a
// round trip of at least two anchors. A leg result that arrives after an
// interleaved edit changed its end points is dropped.
//
// Operations that compute several legs carry on past a failing leg and report
// the last leg error, or else the closing leg's error. Cancellation stops an
// operation at once with Failure::cancelled().
class RoutePlanner {
public:
    RoutePlanner(std::unique_ptr<Engine> engine, model::CostingProfile costing);

    const model::CostingProfile& costing() const { return m_costing; }
    const std::vector<model::Anchor>& anchors() const { return m_anchors; }
    bool roundTrip() const { return m_roundTrip; }
    model::Route currentRoute() const;
    std::optional<InsertionPoint> nearestInsertionPoint(const model::Coordinate& point) const;

    QCoro::Task<model::Anchor> addAnchor(model::Coordinate at, model::Anchor::Kind kind,
                                         std::stop_token cancel = {});
    // A negative position inserts at the start, one past the end appends.
    QCoro::Task<model::Anchor> insertAnchor(model::Coordinate at, model::Anchor::Kind kind,
                                            int position, std::stop_token cancel = {});
    QCoro::Task<> moveAnchor(QUuid id, model::Coordinate to, std::stop_token cancel = {});
    QCoro::Task<> removeAnchor(QUuid id, std::stop_token cancel = {});
    // Toggles via and shaping; never asks the engine.
    void convertAnchor(QUuid id);
    QCoro::Task<> moveAnchorToFront(QUuid id, std::stop_token cancel = {});
    QCoro::Task<> moveAnchorToBack(QUuid id, std::stop_token cancel = {});
    QCoro::Task<> reverse(std::stop_token cancel = {});
    QCoro::Task<> setRoundTrip(bool enabled, std::stop_token cancel = {});
    // Re-locates every anchor's click with the new profile and reroutes.
    QCoro::Task<> setCosting(model::CostingProfile profile, std::stop_token cancel = {});
    // Replaces the whole plan; anchors without a snap are located first and
    // nothing changes when one of them fails. An absent roundTrip keeps the
    // current setting.
    QCoro::Task<> restore(std::vector<model::Anchor> anchors, model::CostingProfile costing,
                          std::optional<bool> roundTrip, std::stop_token cancel = {});
    // Gives legs that could not be routed the geometry `saved` holds for them, where it joins the
    // same two anchors (by id); a closing leg likewise. Legs that are present stay. Returns how
    // many legs it filled.
    std::size_t keepSavedLegs(const model::Route& saved);
    // Map-matches a track without touching the plan.
    QCoro::Task<std::vector<model::Coordinate>>
    matchedTrack(std::vector<model::Coordinate> coordinates, model::CostingProfile costing,
                 std::stop_token cancel = {});

    // Asks the engine for a loop from `start`, without touching the plan.
    QCoro::Task<std::vector<model::RouteSegment>>
    suggestedLoop(model::Coordinate start, double distance, std::optional<double> heading, int seed,
                  model::CostingProfile costing, std::stop_token cancel = {});

private:
    struct ClosingLegKey {
        model::Coordinate first;
        model::Coordinate last;
        model::CostingProfile costing;
        bool operator==(const ClosingLegKey&) const = default;
    };

    std::optional<std::size_t> indexOf(const QUuid& id) const;
    std::optional<ClosingLegKey> currentClosingLegKey() const;
    void dropInvalidClosingLeg();

    // Routes the leg that starts at the anchor with `fromID`, if that anchor
    // still has a successor.
    QCoro::Task<> recomputeLeg(QUuid fromID, std::stop_token cancel);
    // Recomputes the legs starting at the given anchors one after the other,
    // then finishes.
    QCoro::Task<> recomputeLegs(std::vector<QUuid> fromIDs, std::stop_token cancel);
    QCoro::Task<> recomputeAllLegs(std::stop_token cancel);
    QCoro::Task<> refreshClosingLeg(std::stop_token cancel);
    // Refreshes the closing leg and reports the pending leg error, else the
    // closing leg's error.
    QCoro::Task<> finish(std::optional<Failure> legError, std::stop_token cancel);
    QCoro::Task<> reorderAnchor(QUuid id, std::size_t toIndex, std::stop_token cancel);

    std::unique_ptr<Engine> m_engine;
    model::CostingProfile m_costing;
    std::vector<model::Anchor> m_anchors;
    std::vector<std::optional<model::RouteLeg>> m_legs;
    bool m_roundTrip = false;
    std::optional<model::RouteLeg> m_closingLeg;
    std::optional<ClosingLegKey> m_closingLegKey;
};

} // namespace zuvo::routing
