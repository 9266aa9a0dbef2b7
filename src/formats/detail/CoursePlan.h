#pragma once

#include "formats/FITCourseWriter.h"
#include "model/CostingKind.h"
#include "model/Route.h"

#include <optional>
#include <vector>

namespace zuvo::formats::detail {

// The route as a course describes it, whatever the file format: its points, each with its
// distance along the route and the seconds the rider needs to get there at the profile's
// planning speed (slower uphill), and the course points on them in riding order.
struct CoursePlan {
    std::vector<model::Coordinate> points;
    std::vector<double> distances; // metres
    std::vector<double> seconds;   // empty without a profile
    double ascent = 0.0;
    double descent = 0.0;
    std::vector<FITCourseWriter::CoursePoint> coursePoints;
};

CoursePlan coursePlan(const model::Route& route, std::optional<model::CostingKind> kind);

} // namespace zuvo::formats::detail
