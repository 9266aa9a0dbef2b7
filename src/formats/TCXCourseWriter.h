#pragma once

#include "formats/FITCourseWriter.h"
#include "model/CostingKind.h"
#include "model/Route.h"

#include <QByteArray>
#include <QDateTime>
#include <QLatin1StringView>
#include <QString>

namespace zuvo::formats {

// Writes a planned route as a course in Garmin's Training Center Database v2 format, which
// older Garmin units and many other devices and services import: one lap, the route's points
// with the times the planner estimates for the profile (as in the FIT course), and the same
// course points the FIT course announces.
struct TCXCourseWriter {
    // The schema's limits on names, in characters.
    static constexpr qsizetype courseNameLength = 15;
    static constexpr qsizetype pointNameLength = 10;

    // When the course starts: the time of its first point.
    QDateTime created;

    // The schema's point type for a FIT course point type; the format only tells left, right
    // and straight apart, so every left turn is "Left".
    static QLatin1StringView pointType(FITCourseWriter::PointType type);

    // The course file, UTF-8. An empty `name` (after white space is collapsed) becomes "Route".
    QByteArray write(const model::Route& route, model::CostingKind kind, const QString& name) const;
};

} // namespace zuvo::formats
