#pragma once

#include "model/TrackSample.h"

#include <QByteArray>

#include <span>
#include <vector>

namespace zuvo::bench {

// A ride of `count` one-second samples wandering through rolling hills, with
// time, elevation (0.1 m steps), speed, heart rate and temperature on every
// point, like a bike computer records them.
std::vector<model::TrackSample> syntheticRide(std::size_t count);

// The ride as a FIT activity: file id, one record message per sample
// (timestamp, position, enhanced altitude and speed, heart rate,
// temperature, distance, cadence) and a session.
QByteArray syntheticFit(std::span<const model::TrackSample> ride);

} // namespace zuvo::bench
