#pragma once

#include "model/CostingKind.h"
#include "model/Route.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zuvo::formats {

// Writes a planned route as a FIT course file, which a Garmin device follows
// with a virtual partner and whose course points it announces ahead: the via
// points and the foot and top of every categorised climb. The records carry
// the route's points with the times the planner estimates for the profile,
// so that the partner rides at the planning speed and slows down uphill.
struct FITCourseWriter {
    // The protocol's course point types the writer uses.
    enum class PointType : std::uint8_t {
        generic = 0, // a via point
        summit = 1,  // the top of a climb
        fourthCategory = 10,
        thirdCategory = 11,
        secondCategory = 12,
        firstCategory = 13,
        horsCategory = 14,
    };

    struct CoursePoint {
        std::size_t record = 0; // index into the route's coordinates
        QString name;
        PointType type = PointType::generic;

        bool operator==(const CoursePoint&) const = default;
    };

    // When the course was made: the file's creation time and the time of
    // its first record.
    QDateTime created;

    // The course points of `route` in order along it: one per via anchor
    // between start and end ("Via 2", "Via 3", … counting the start as
    // Via 1), one at the foot ("Cat 3 climb") and one at the top ("Top Cat 3")
    // of every categorised climb, each on the nearest route point.
    static std::vector<CoursePoint> coursePoints(const model::Route& route);

    // The course file; `name` is cut to what the protocol's string field
    // holds, without control characters.
    QByteArray write(const model::Route& route, model::CostingKind kind, const QString& name) const;
};

} // namespace zuvo::formats
