#include "model/RouteLeg.h"

#include "model/Polyline.h"

namespace zuvo::model {

double RouteLeg::distance() const
{
    double total = 0.0;
    for (const auto& segment : segments)
        total += segment.distance;
    return total;
}

std::vector<Coordinate> RouteLeg::coordinates() const
{
    std::vector<Coordinate> joined;
    for (const auto& segment : segments)
        appendJoined(joined, segment.coordinates);
    return joined;
}

} // namespace zuvo::model
