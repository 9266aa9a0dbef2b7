#include "model/Coordinate.h"

#include <cmath>

namespace zuvo::model {

double Coordinate::distance(const Coordinate& to) const
{
    constexpr double radians = 3.141592653589793 / 180.0;
    const double lat1 = latitude * radians;
    const double lat2 = to.latitude * radians;
    const double sinHalfLat = std::sin((lat2 - lat1) / 2.0);
    const double sinHalfLon = std::sin((to.longitude - longitude) * radians / 2.0);
    const double a =
        sinHalfLat * sinHalfLat + std::cos(lat1) * std::cos(lat2) * sinHalfLon * sinHalfLon;
    return 12'742'000.0 * std::atan2(std::sqrt(a), std::sqrt(1.0 - a));
}

} // namespace zuvo::model
