#pragma once

#include "model/Coordinate.h"
#include "model/Cue.h"

#include <QString>

#include <optional>
#include <vector>

namespace zuvo::model {

// One run of routed geometry with uniform surface and road class.
struct RouteSegment {
    std::vector<Coordinate> coordinates = {};
    // Metres, fixed by the engine when it builds the segment; never recomputed.
    double distance = 0.0;
    std::optional<QString> surface = {};
    std::optional<QString> roadClass = {};
    // The turn instructions that apply within this run, in order.
    std::vector<Cue> cues = {};

    bool operator==(const RouteSegment&) const = default;
};

} // namespace zuvo::model
