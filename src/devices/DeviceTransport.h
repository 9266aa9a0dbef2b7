#pragma once

#include "devices/DeviceActivity.h"
#include "devices/GarminDevice.h"
#include "model/Coordinate.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace zuvo::devices {

// What a course write does when the device already has a course of that name.
enum class OnExisting {
    refuse,  // throws DeviceError alreadyExists and leaves the device as it was
    replace, // the new course takes the place of the old one, once it is whole
};

// One way of reaching bike computers (mounted volumes, MTP). Every operation
// is synchronous and blocks its caller, so the application runs them in
// background work. A failure throws DeviceError, or FileSystemError for a
// local file-system failure; transports never retry.
class DeviceTransport {
public:
    virtual ~DeviceTransport() = default;

    // The devices reachable now, in discovery order.
    virtual std::vector<GarminDevice> scanVolumes() const = 0;

    // Where the device keeps a course of the name that a course written as
    // `named` would take: for a Garmin a course file (GPX or FIT) of the same
    // name without its extension, in any letter case, waiting to be imported
    // or imported already; for a Bryton the tour `named`. The file's path on
    // the device; absent when there is none.
    virtual std::optional<QString> existingCourse(const QString& named,
                                                  const GarminDevice& on) const = 0;

    // Writes a course file (GPX or FIT bytes) so that the device imports it.
    // `named` is the file name on the device, extension included, already
    // cleaned.
    virtual void writeCourse(const QByteArray& data, const QString& named, const GarminDevice& to,
                             OnExisting existing) const = 0;

    // Recorded rides, newest first.
    virtual std::vector<DeviceActivity> listActivities(const GarminDevice& on) const = 0;

    // Copies the file of `activity` to the local path `to`, replacing a file
    // already there only once the copy is whole: a failed copy leaves it as
    // it was. A destination that is the activity's own file is refused.
    virtual void downloadActivity(const DeviceActivity& activity, const GarminDevice& from,
                                  const QString& to) const = 0;

    // Stored courses, newest first.
    virtual std::vector<DeviceActivity> listCourses(const GarminDevice& on) const = 0;

    // Writes a Bryton tour named `name` (no extension) with this geometry.
    virtual void writeTour(const std::vector<model::Coordinate>& coordinates, const QString& name,
                           const GarminDevice& to, OnExisting existing) const = 0;
};

} // namespace zuvo::devices
