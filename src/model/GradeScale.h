#pragma once

#include <QString>

// The colours grades are drawn in: blue downhill, sand on the flat, orange to dark red uphill.
namespace zuvo::model::GradeScale {

// An opaque sRGB colour, 0–255 per component.
struct Color {
    int red = 0;
    int green = 0;
    int blue = 0;

    // "#RRGGBB", upper case.
    QString hex() const;

    bool operator==(const Color&) const = default;
};

// Mixes the two stops around `grade` (percent); below −15 % and above 22 % the end colours.
Color color(double grade);

} // namespace zuvo::model::GradeScale
