#pragma once

#include <QByteArrayView>
#include <QJsonObject>
#include <QString>

#include <optional>
#include <vector>

namespace zuvo::formats {

// Extracts the named waypoints of any GPX file, for the user's own points of
// interest. It never fails: a file that is not GPX gives no waypoints, one
// cut off gives those completed before the break.
struct GPXWaypoints {
    struct Waypoint {
        QString name;
        double latitude = 0.0;  // degrees
        double longitude = 0.0; // degrees

        bool operator==(const Waypoint&) const = default;
    };

    static std::vector<Waypoint> parse(QByteArrayView bytes);

    // The stored form {"name", "latitude", "longitude"}; all three keys are required when
    // reading, with a string and two numbers.
    static QJsonObject toJson(const Waypoint& waypoint);
    static std::optional<Waypoint> fromJson(const QJsonObject& object);
};

} // namespace zuvo::formats
