#pragma once

#include "model/Coordinate.h"

#include <span>
#include <vector>

namespace zuvo::model {

// Metres per degree of latitude in the local equirectangular projection used
// for short-range geometry.
inline constexpr double metresPerDegree = 111'320.0;

// Appends `points` to `polyline`, skipping a point equal (elevation included)
// to the one appended just before it. Only the immediately preceding point is
// compared, so a point that reappears later is kept.
void appendJoined(std::vector<Coordinate>& polyline, std::span<const Coordinate> points);

// Shortest distance in metres from `point` to `polyline`; +infinity for fewer
// than two vertices.
double distanceMeters(const Coordinate& point, std::span<const Coordinate> polyline);

// Douglas–Peucker thinning on a local metric projection. Returns a
// subsequence that always keeps the first and last point; a point exactly at
// the tolerance is dropped.
std::vector<Coordinate> simplified(std::span<const Coordinate> points, double toleranceMeters);

} // namespace zuvo::model
