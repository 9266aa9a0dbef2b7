#include "formats/detail/CoursePlan.h"

#include "model/ClimbCategory.h"
#include "model/Cue.h"
#include "model/GradeProfile.h"
#include "model/Polyline.h"
#include "model/RouteStats.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <limits>

namespace zuvo::formats::detail {

using model::Coordinate;
using PointType = FITCourseWriter::PointType;

namespace {

// The route's points with, for each anchor after the first, the index of the
// point where the leg to it ends (absent when that leg is missing).
std::vector<Coordinate> joinedPoints(const model::Route& route,
                                     std::vector<std::optional<std::size_t>>& anchorPoints)
{
    std::vector<Coordinate> joined;
    anchorPoints.assign(route.anchors.size(), std::nullopt);
    for (std::size_t leg = 0; leg < route.legs.size(); ++leg) {
        if (!route.legs[leg])
            continue;
        for (const auto& segment : route.legs[leg]->segments)
            model::appendJoined(joined, segment.coordinates);
        if (leg + 1 < anchorPoints.size() && !joined.empty())
            anchorPoints[leg + 1] = joined.size() - 1;
    }
    if (route.closingLeg) {
        for (const auto& segment : route.closingLeg->segments)
            model::appendJoined(joined, segment.coordinates);
    }
    return joined;
}

std::size_t nearestPoint(const std::vector<double>& distances, double distance)
{
    const auto next = std::lower_bound(distances.begin(), distances.end(), distance);
    if (next == distances.end())
        return distances.size() - 1;
    if (next != distances.begin() && distance - *(next - 1) <= *next - distance)
        return std::size_t(next - distances.begin()) - 1;
    return std::size_t(next - distances.begin());
}

PointType footType(model::ClimbCategory category)
{
    switch (category) {
    case model::ClimbCategory::cat4:
        return PointType::fourthCategory;
    case model::ClimbCategory::cat3:
        return PointType::thirdCategory;
    case model::ClimbCategory::cat2:
        return PointType::secondCategory;
    case model::ClimbCategory::cat1:
        return PointType::firstCategory;
    case model::ClimbCategory::hc:
        break;
    }
    return PointType::horsCategory;
}

// The turns the route's cues ask for, each on the record nearest to it; a turn near a via point
// becomes part of that point.
void addTurns(const model::Route& route, CoursePlan& course)
{
    std::optional<QString> street;
    std::vector<FITCourseWriter::CoursePoint> turns;
    std::vector<double> turnDistances; // where each turn really is, not its record
    for (const auto& cue : model::routeCues(route)) {
        const auto type = FITCourseWriter::turnType(cue, street);
        if (cue.sign != model::Cue::Sign::viaReached)
            street = cue.place();
        // The start's "continue onto …" is where the rider is already.
        if (!type || cue.distance < 1.0)
            continue;
        QString name = cue.place();
        if (cue.sign == model::Cue::Sign::roundabout && cue.exitNumber)
            name = QCoreApplication::translate("CoursePoint", "Exit %1 %2")
                       .arg(*cue.exitNumber)
                       .arg(cue.streetName.isEmpty() ? cue.streetRef : cue.streetName)
                       .trimmed();
        turns.push_back({nearestPoint(course.distances, cue.distance),
                         FITCourseWriter::shortName(name), *type});
        turnDistances.push_back(cue.distance);
    }
    for (auto& point : course.coursePoints) {
        if (point.type != PointType::generic || !point.name.startsWith(QLatin1String("Via ")))
            continue;
        const double at = course.distances[point.record];
        const auto near = std::find_if(turnDistances.begin(), turnDistances.end(), [&](double d) {
            return std::abs(d - at) <= FITCourseWriter::mergeDistance;
        });
        if (near == turnDistances.end())
            continue;
        const auto turn = turns.begin() + (near - turnDistances.begin());
        point.type = turn->type;
        point.name = FITCourseWriter::shortName(point.name + QLatin1Char(' ') + turn->name);
        turns.erase(turn);
        turnDistances.erase(near);
    }
    course.coursePoints.insert(course.coursePoints.end(), turns.begin(), turns.end());
}

} // namespace

CoursePlan coursePlan(const model::Route& route, std::optional<model::CostingKind> kind)
{
    CoursePlan course;
    std::vector<std::optional<std::size_t>> anchorPoints;
    course.points = joinedPoints(route, anchorPoints);
    const std::size_t n = course.points.size();
    // The profile the inspector shows, sampled at every route point. Without
    // one the route has no length: one point, or one point repeated.
    const auto profile = model::GradeProfile::compute(course.points, 7, 6.0, 150.0);
    const bool profiled = profile.samples.size() == n;
    course.distances.assign(n, 0.0);
    if (profiled) {
        for (std::size_t i = 0; i < n; ++i)
            course.distances[i] = profile.samples[i].distance;
        course.ascent = model::RouteStats::ascentMeters(profile);
        course.descent = model::RouteStats::descentMeters(profile);
    }

    if (kind && n > 0) {
        // The estimate's climbing minutes go where the profile climbs.
        const double total =
            model::RouteStats::estimatedSeconds(course.distances.back(), course.ascent, *kind);
        const double flat = model::RouteStats::estimatedSeconds(course.distances.back(), 0, *kind);
        const double perMetre = course.distances.back() > 0.0 ? flat / course.distances.back() : 0;
        const double perRise = course.ascent > 0.0 ? (total - flat) / course.ascent : 0.0;
        course.seconds.assign(n, 0.0);
        for (std::size_t i = 1; i < n; ++i) {
            const double rise =
                profiled
                    ? std::max(profile.samples[i].elevation - profile.samples[i - 1].elevation, 0.0)
                    : 0.0;
            course.seconds[i] = course.seconds[i - 1] +
                                (course.distances[i] - course.distances[i - 1]) * perMetre +
                                rise * perRise;
        }
    }

    auto& points = course.coursePoints;
    // Via points between start and end; the end of a round trip is the start.
    const std::size_t lastVia = route.roundTrip ? route.anchors.size() : route.anchors.size() - 1;
    int viaNumber = 0;
    for (std::size_t a = 0; a < route.anchors.size(); ++a) {
        if (route.anchors[a].kind != model::Anchor::Kind::via)
            continue;
        ++viaNumber;
        if (a == 0 || a >= lastVia || n == 0)
            continue;
        std::size_t at = anchorPoints[a].value_or(0);
        if (!anchorPoints[a]) {
            const Coordinate& position = route.anchors[a].routingPosition();
            double nearest = std::numeric_limits<double>::infinity();
            for (std::size_t i = 0; i < n; ++i) {
                if (const double d = position.distance(course.points[i]); d < nearest) {
                    nearest = d;
                    at = i;
                }
            }
        }
        points.push_back({at, QStringLiteral("Via %1").arg(viaNumber), PointType::generic});
    }
    if (profiled) {
        for (const auto& climb : profile.climbs) {
            const auto category = model::climbCategory(climb);
            if (!category)
                continue;
            const QString label = model::label(*category);
            points.push_back({nearestPoint(course.distances, climb.startDistance),
                              label + QStringLiteral(" climb"), footType(*category)});
            points.push_back({nearestPoint(course.distances, climb.endDistance),
                              QStringLiteral("Top ") + label, PointType::summit});
        }
    }
    if (n > 0)
        addTurns(route, course);
    std::stable_sort(points.begin(), points.end(),
                     [](const auto& a, const auto& b) { return a.record < b.record; });
    return course;
}

} // namespace zuvo::formats::detail
