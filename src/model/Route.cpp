#include "model/Route.h"

#include "model/Polyline.h"

namespace zuvo::model {

std::vector<Coordinate> Route::coordinates() const
{
    std::vector<Coordinate> joined;
    for (const auto& leg : legs) {
        if (!leg)
            continue;
        for (const auto& segment : leg->segments)
            appendJoined(joined, segment.coordinates);
    }
    if (closingLeg) {
        for (const auto& segment : closingLeg->segments)
            appendJoined(joined, segment.coordinates);
    }
    return joined;
}

double Route::distance() const
{
    double total = 0.0;
    for (const auto& leg : legs) {
        if (leg)
            total += leg->distance();
    }
    if (closingLeg)
        total += closingLeg->distance();
    return total;
}

} // namespace zuvo::model
