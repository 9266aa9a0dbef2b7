#pragma once

#include "model/RouteSegment.h"

#include <vector>

namespace zuvo::model {

// The routed way between two consecutive anchors.
struct RouteLeg {
    std::vector<RouteSegment> segments = {};

    // Sum of the segments' distances in metres.
    double distance() const;
    // The segments' polylines joined, each shared boundary point once.
    std::vector<Coordinate> coordinates() const;

    bool operator==(const RouteLeg&) const = default;
};

} // namespace zuvo::model
