#pragma once

#include "model/Anchor.h"
#include "model/RouteLeg.h"

#include <optional>
#include <vector>

namespace zuvo::model {

// A snapshot of a planned route: anchors in travel order and one optional leg
// per consecutive pair (absent = not computed or failed).
struct Route {
    std::vector<Anchor> anchors = {};
    std::vector<std::optional<RouteLeg>> legs = {};
    bool roundTrip = false;
    // Counted whenever present, whatever roundTrip says.
    std::optional<RouteLeg> closingLeg = {};

    // The present legs and then the closing leg, joined into one polyline.
    std::vector<Coordinate> coordinates() const;
    double distance() const;

    bool operator==(const Route&) const = default;
};

} // namespace zuvo::model
