#pragma once

#include <QString>

// The scale bar over the map: the longest round length that fits its width at the current zoom.
namespace zuvo::map::ScaleBar {

// Ground resolution in metres per view point of the map's zoom levels, which are those of
// 512-point tiles: half the resolution of the 256-point tile pyramid at the same zoom.
double metersPerPoint(double zoom, double latitude);

// The largest of 1, 2 and 5 times a power of ten not above `maxMeters`; 0 for 0 or less.
double roundLength(double maxMeters);

// "10 km" from a kilometre on, else "500 m"; fractions are cut off.
QString label(double lengthMeters);

struct Layout {
    double lengthMeters = 0.0;
    double widthPoints = 0.0;
    QString label;

    bool operator==(const Layout&) const = default;
};

// The bar for a view at `zoom` and `latitude` that may be at most `maxWidthPoints` wide.
Layout layout(double zoom, double latitude, double maxWidthPoints = 300.0);

} // namespace zuvo::map::ScaleBar
