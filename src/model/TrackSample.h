#pragma once

#include "model/Coordinate.h"

#include <QDateTime>

#include <optional>

namespace zuvo::model {

// One point of a recorded ride or an imported track.
struct TrackSample {
    Coordinate coordinate;
    std::optional<QDateTime> timestamp = {};
    std::optional<double> speedMS = {};  // metres per second
    std::optional<int> heartRate = {};   // beats per minute
    std::optional<int> temperature = {}; // degrees Celsius

    bool operator==(const TrackSample&) const = default;
};

} // namespace zuvo::model
