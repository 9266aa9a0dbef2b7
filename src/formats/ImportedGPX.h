#pragma once

#include "model/Coordinate.h"
#include "model/TrackSample.h"

#include <QString>

#include <optional>
#include <vector>

namespace zuvo::formats {

// What a GPX, FIT or Bryton file holds that the planner can show: the
// document name, the tracks (each `trk` with all its segments joined), the
// routes and the waypoints. Empty tracks and routes are left out.
struct ImportedGPX {
    std::optional<QString> name = {};
    std::vector<std::vector<model::TrackSample>> tracks = {};
    std::vector<std::vector<model::Coordinate>> routes = {};
    std::vector<model::Coordinate> waypoints = {};

    bool operator==(const ImportedGPX&) const = default;
};

} // namespace zuvo::formats
