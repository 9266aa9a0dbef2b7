#pragma once

#include "model/TrackSample.h"

#include <optional>
#include <span>

namespace zuvo::model {

// The summary of a recorded track that the track details show. Speeds are in
// km/h, distances and heights in metres, durations in seconds.
struct TrackSampleStats {
    double distance = 0.0;
    std::optional<double> duration = {};
    std::optional<double> averageSpeed = {};
    std::optional<double> maxSpeed = {};
    std::optional<double> averageHeartRate = {};
    std::optional<int> maxHeartRate = {};
    std::optional<int> minTemperature = {};
    std::optional<int> maxTemperature = {};
    std::optional<double> ascent = {};
    std::optional<double> descent = {};

    // Absent for an empty track. Height changes smaller than
    // `ascentThreshold` metres count only once they add up past it, so GPS
    // noise does not inflate ascent and descent.
    static std::optional<TrackSampleStats> compute(std::span<const TrackSample> samples,
                                                   double ascentThreshold);

    bool operator==(const TrackSampleStats&) const = default;
};

} // namespace zuvo::model
