#pragma once

#include "model/CostingKind.h"
#include "model/Route.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace zuvo::formats {

// Writes a planned route as a FIT course file, which a Garmin device follows
// with a virtual partner and whose course points it announces ahead: every
// turn the route's cues ask for, the via points and the foot and top of every
// categorised climb. The records carry
// the route's points with the times the planner estimates for the profile,
// so that the partner rides at the planning speed and slows down uphill.
struct FITCourseWriter {
    // The protocol's course point types the writer uses.
    enum class PointType : std::uint8_t {
        generic = 0, // a via point, a roundabout
        summit = 1,  // the top of a climb
        left = 6,
        right = 7,
        straight = 8, // on where the street changes without a turn
        fourthCategory = 10,
        thirdCategory = 11,
        secondCategory = 12,
        firstCategory = 13,
        horsCategory = 14,
        leftFork = 16, // keep left
        rightFork = 17,
        slightLeft = 19,
        sharpLeft = 20,
        slightRight = 21,
        sharpRight = 22,
        uTurn = 23,
        transport = 51, // a ferry
    };

    // Edge units show a course point's name on one line of about 15 characters; longer names
    // are cut at a word boundary.
    static constexpr qsizetype pointNameLength = 15;
    // A turn this close to a via point is announced with it, as one point.
    static constexpr double mergeDistance = 25.0;

    struct CoursePoint {
        std::size_t record = 0; // index into the route's coordinates
        QString name;
        PointType type = PointType::generic;

        bool operator==(const CoursePoint&) const = default;
    };

    // When the course was made: the file's creation time and the time of
    // its first record.
    QDateTime created;

    // The course points of `route` in order along it: one per cue that asks
    // the rider to do something (named after the street, or "Exit 2 …" for a
    // roundabout), one per via anchor between start and end ("Via 2",
    // "Via 3", … counting the start as Via 1; a turn within 25 m joins it),
    // one at the foot ("Cat 3 climb") and one at the top ("Top Cat 3") of
    // every categorised climb, each on the nearest route point.
    static std::vector<CoursePoint> coursePoints(const model::Route& route);
    // What a cue asks of the rider as a course point type; absent for a cue that asks nothing
    // (on along the same street, the finish, a via point).
    static std::optional<PointType> turnType(const model::Cue& cue,
                                             const std::optional<QString>& previousStreet);
    // `text` cut at a word boundary to at most `length` characters.
    static QString shortName(const QString& text, qsizetype length = pointNameLength);

    // The course file; `name` is cut to what the protocol's string field
    // holds, without control characters.
    QByteArray write(const model::Route& route, model::CostingKind kind, const QString& name) const;
};

} // namespace zuvo::formats
