#include "model/GradeScale.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace zuvo::model::GradeScale {

namespace {

struct Stop {
    double grade;
    Color color;
};

constexpr std::array<Stop, 10> stops{{
    {-15, {47, 111, 168}},
    {-8, {110, 156, 190}},
    {-3, {168, 185, 190}},
    {0, {201, 194, 180}},
    {3, {232, 180, 92}},
    {6, {240, 145, 47}},
    {9, {226, 102, 44}},
    {12, {195, 52, 31}},
    {16, {142, 26, 22}},
    {22, {92, 13, 13}},
}};

int mix(int lower, int upper, double t)
{
    return static_cast<int>(std::lround(lower + t * (upper - lower)));
}

} // namespace

QString Color::hex() const
{
    return QString::asprintf("#%02X%02X%02X", red, green, blue);
}

Color color(double grade)
{
    if (std::isnan(grade) || grade <= stops.front().grade)
        return stops.front().color;
    for (std::size_t i = 1; i < stops.size(); ++i) {
        if (grade <= stops[i].grade) {
            const Stop& lo = stops[i - 1];
            const Stop& hi = stops[i];
            const double t = std::clamp((grade - lo.grade) / (hi.grade - lo.grade), 0.0, 1.0);
            return {mix(lo.color.red, hi.color.red, t), mix(lo.color.green, hi.color.green, t),
                    mix(lo.color.blue, hi.color.blue, t)};
        }
    }
    return stops.back().color;
}

} // namespace zuvo::model::GradeScale
