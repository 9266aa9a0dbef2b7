#pragma once

#include "model/Anchor.h"
#include "model/Coordinate.h"
#include "model/CostingProfile.h"
#include "model/Cue.h"

#include <QString>

#include <vector>

namespace zuvo::formats {

// A saved plan as read back from its GPX file: what the planner needs to
// edit the route again, and the geometry as saved to show until it is
// recomputed.
struct RouteDocument {
    QString name;
    std::vector<model::Anchor> anchors = {};
    model::CostingProfile costing = {};
    std::vector<model::Coordinate> trackCoordinates = {};
    bool roundTrip = false;
    // The route's turn cues as saved, distances from the start; none in older documents.
    std::vector<model::Cue> cues = {};

    bool operator==(const RouteDocument&) const = default;
};

} // namespace zuvo::formats
