#include "map/ScaleBar.h"

#include <cmath>
#include <numbers>

namespace zuvo::map::ScaleBar {

double metersPerPoint(double zoom, double latitude)
{
    return std::cos(latitude * std::numbers::pi / 180.0) * 78271.51696 / std::pow(2.0, zoom);
}

double roundLength(double maxMeters)
{
    if (!(maxMeters > 0.0) || !std::isfinite(maxMeters))
        return 0.0;
    const double base = std::pow(10.0, std::floor(std::log10(maxMeters)));
    for (const double factor : {5.0, 2.0}) {
        if (factor * base <= maxMeters)
            return factor * base;
    }
    return base;
}

QString label(double lengthMeters)
{
    if (lengthMeters >= 1000.0)
        return QString::number(static_cast<long long>(lengthMeters / 1000.0)) +
               QStringLiteral(" km");
    return QString::number(static_cast<long long>(lengthMeters)) + QStringLiteral(" m");
}

Layout layout(double zoom, double latitude, double maxWidthPoints)
{
    const double perPoint = metersPerPoint(zoom, latitude);
    const double length = roundLength(perPoint * maxWidthPoints);
    const double width = perPoint > 0.0 ? length / perPoint : 0.0;
    return {length, width, label(length)};
}

} // namespace zuvo::map::ScaleBar
