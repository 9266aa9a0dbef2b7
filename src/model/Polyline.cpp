#include "model/Polyline.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace zuvo::model {

namespace {

constexpr double radiansPerDegree = 3.141592653589793 / 180.0;

struct Point {
    double x;
    double y;
};

Point project(const Coordinate& c, double metresPerDegreeLongitude)
{
    return {c.longitude * metresPerDegreeLongitude, c.latitude * metresPerDegree};
}

// Squared distance from p to the segment a–b; a zero-length segment measures
// to a.
double squaredDistanceToSegment(Point p, Point a, Point b)
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double lengthSquared = dx * dx + dy * dy;
    double t = 0.0;
    if (lengthSquared != 0.0)
        t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared, 0.0, 1.0);
    const double ex = p.x - (a.x + t * dx);
    const double ey = p.y - (a.y + t * dy);
    return ex * ex + ey * ey;
}

} // namespace

void appendJoined(std::vector<Coordinate>& polyline, std::span<const Coordinate> points)
{
    for (const auto& point : points) {
        if (polyline.empty() || !(polyline.back() == point))
            polyline.push_back(point);
    }
}

double distanceMeters(const Coordinate& point, std::span<const Coordinate> polyline)
{
    if (polyline.size() < 2)
        return std::numeric_limits<double>::infinity();
    const double k = std::cos(point.latitude * radiansPerDegree) * metresPerDegree;
    const Point p = project(point, k);
    double best = std::numeric_limits<double>::infinity();
    Point a = project(polyline[0], k);
    for (std::size_t i = 1; i < polyline.size(); ++i) {
        const Point b = project(polyline[i], k);
        best = std::min(best, squaredDistanceToSegment(p, a, b));
        a = b;
    }
    return std::sqrt(best);
}

std::vector<Coordinate> simplified(std::span<const Coordinate> points, double toleranceMeters)
{
    const std::size_t n = points.size();
    if (n < 3)
        return {points.begin(), points.end()};

    const double k = std::cos(points[0].latitude * radiansPerDegree) * metresPerDegree;
    std::vector<Point> projected;
    projected.reserve(n);
    for (const auto& c : points)
        projected.push_back(project(c, k));

    std::vector<char> keep(n, 0);
    keep.front() = 1;
    keep.back() = 1;

    // An explicit stack instead of recursion: long tracks cannot exhaust the
    // call stack.
    std::vector<std::pair<std::size_t, std::size_t>> stack;
    stack.emplace_back(0, n - 1);
    while (!stack.empty()) {
        const auto [s, e] = stack.back();
        stack.pop_back();
        if (e - s < 2)
            continue;
        double farthestSquared = -1.0;
        std::size_t farthest = s;
        for (std::size_t i = s + 1; i < e; ++i) {
            const double d = squaredDistanceToSegment(projected[i], projected[s], projected[e]);
            if (d > farthestSquared) {
                farthestSquared = d;
                farthest = i;
            }
        }
        if (std::sqrt(farthestSquared) > toleranceMeters) {
            keep[farthest] = 1;
            stack.emplace_back(s, farthest);
            stack.emplace_back(farthest, e);
        }
    }

    std::vector<Coordinate> result;
    for (std::size_t i = 0; i < n; ++i) {
        if (keep[i])
            result.push_back(points[i]);
    }
    return result;
}

} // namespace zuvo::model
