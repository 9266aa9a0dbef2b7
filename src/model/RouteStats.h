#pragma once

#include "model/CostingKind.h"
#include "model/GradeProfile.h"
#include "model/Route.h"

#include <QString>

#include <optional>
#include <span>

// Numbers the panels and tools show for a planned route.
namespace zuvo::model::RouteStats {

// Fractions of the routed distance on paved, unpaved and unknown surfaces; all 0 without any
// routed distance. Surface names are compared exactly, case included.
struct SurfaceShares {
    double paved = 0.0;
    double unpaved = 0.0;
    double unknown = 0.0;

    bool operator==(const SurfaceShares&) const = default;
};

SurfaceShares surfaceShares(const Route& route);

// Metres climbed along the smoothed profile; 0 without a profile.
double ascentMeters(const std::optional<GradeProfile>& profile);
// Metres descended along the smoothed profile; 0 without a profile.
double descentMeters(const std::optional<GradeProfile>& profile);

// "45 min" below an hour, "2:05 h" from an hour on; seconds are truncated to whole minutes.
QString formattedDuration(double seconds);

// The planning speed of a profile in km/h: what a rider of that kind keeps up on the flat.
double planningSpeed(CostingKind kind);

// Riding time in seconds: the distance at the profile's planning speed, plus one minute for every
// 100 m of climbing.
double estimatedSeconds(double distanceMeters, double ascentMeters, CostingKind kind);

// The point `distance` metres along the polyline, interpolated between its vertices (without
// elevation); the first point at or before the start, the last one beyond the end.
std::optional<Coordinate> coordinate(double distance, std::span<const Coordinate> along);

} // namespace zuvo::model::RouteStats
