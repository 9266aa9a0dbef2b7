#pragma once

#include <optional>

namespace zuvo::model {

// A WGS84 position in degrees, with an elevation in metres when known.
// Equality is exact; two absent elevations are equal.
struct Coordinate {
    double latitude = 0.0;
    double longitude = 0.0;
    std::optional<double> elevation = {};

    // Great-circle distance in metres (haversine, earth radius 6,371,000 m).
    // Elevation plays no part.
    double distance(const Coordinate& to) const;

    bool operator==(const Coordinate&) const = default;
};

} // namespace zuvo::model
