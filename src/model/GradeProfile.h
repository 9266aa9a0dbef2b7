#pragma once

#include "model/Route.h"

#include <QUuid>

#include <optional>
#include <span>
#include <vector>

namespace zuvo::model {

// The elevation profile of a route sampled at every route point, with its
// significant climbs.
struct GradeProfile {
    struct Sample {
        double distance = 0.0;  // metres from the start
        double elevation = 0.0; // smoothed, metres
        double grade = 0.0;     // percent, positive uphill
        double progress = 0.0;  // distance / total length, 0…1

        bool operator==(const Sample&) const = default;
    };

    struct Climb {
        QUuid id;
        double startDistance = 0.0;
        double endDistance = 0.0;
        double gain = 0.0;         // metres, always > 0
        double averageGrade = 0.0; // percent
        double maxGrade = 0.0;     // percent

        double length() const { return endDistance - startDistance; }

        bool operator==(const Climb&) const = default;
    };

    std::vector<Sample> samples = {};
    std::vector<Climb> climbs = {};

    static GradeProfile compute(const Route& route, int smoothingWindow, double climbThreshold,
                                double minimumClimbLength);
    static GradeProfile compute(std::span<const Coordinate> points, int smoothingWindow,
                                double climbThreshold, double minimumClimbLength);

    // The grade of the sample nearest to `distance` (the earlier one on a tie).
    std::optional<double> grade(double distance) const;

    bool operator==(const GradeProfile&) const = default;
};

// Hysteresis scan: a climb opens where the grade reaches `threshold` and
// closes at the first sample below 0.4 × threshold (or at the last sample).
// It is kept when at least `minimumLength` metres long and gaining height.
std::vector<GradeProfile::Climb> detectClimbs(std::span<const GradeProfile::Sample> samples,
                                              double threshold, double minimumLength);

} // namespace zuvo::model
