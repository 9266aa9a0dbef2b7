#pragma once

#include "model/Coordinate.h"

#include <QString>

#include <vector>

namespace zuvo::formats {

// A planned route for a Bryton bike computer. The name only names the files
// on the device; no file content holds it.
struct BrytonTour {
    QString name;
    std::vector<model::Coordinate> points = {};

    bool operator==(const BrytonTour&) const = default;
};

} // namespace zuvo::formats
