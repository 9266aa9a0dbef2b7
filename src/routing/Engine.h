#pragma once

#include "model/Anchor.h"
#include "model/CostingProfile.h"
#include "model/RouteSegment.h"

#include <qcoro/qcorotask.h>

#include <optional>
#include <stop_token>
#include <vector>

namespace zuvo::routing {

// A routing server as the planner sees it. Every operation either returns
// its complete result or throws a Failure; a stop request on the token
// aborts the request in flight, which then fails with Failure::cancelled().
// Implementations keep no mutable state.
class Engine {
public:
    virtual ~Engine() = default;

    // Places a clicked position on the road network usable by the profile.
    virtual QCoro::Task<model::Anchor::Snap> locate(model::Coordinate coordinate,
                                                    model::CostingProfile costing,
                                                    std::stop_token cancel = {}) = 0;
    // One leg between the anchors' routing positions, in travel order.
    virtual QCoro::Task<std::vector<model::RouteSegment>> route(model::Anchor from,
                                                                model::Anchor to,
                                                                model::CostingProfile costing,
                                                                std::stop_token cancel = {}) = 0;
    // Elevations in metres along a polyline.
    virtual QCoro::Task<std::vector<double>> elevation(std::vector<model::Coordinate> along,
                                                       std::stop_token cancel = {}) = 0;
    // A loop from `start` back to it of about `distance` metres, leaving towards `heading`
    // (degrees clockwise from north) when one is given; each `seed` picks another loop.
    virtual QCoro::Task<std::vector<model::RouteSegment>>
    roundTrip(model::Coordinate start, double distance, std::optional<double> heading, int seed,
              model::CostingProfile costing, std::stop_token cancel = {}) = 0;
    // Snaps a recorded track to the road network.
    virtual QCoro::Task<std::vector<model::RouteSegment>>
    mapMatch(std::vector<model::Coordinate> coordinates, model::CostingProfile costing,
             std::stop_token cancel = {}) = 0;
};

} // namespace zuvo::routing
