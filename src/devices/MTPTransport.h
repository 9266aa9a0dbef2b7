#pragma once

#include "devices/DeviceTransport.h"
#include "devices/MTPDeviceInfo.h"

#include <QString>

#include <optional>

namespace zuvo::devices {

// Garmin devices that speak MTP over USB instead of mounting as a volume.
// The device URL, "mtp://" and the percent-encoded serial, is all a
// GarminDevice keeps of the device; every operation reads the serial back
// from it and finds the device through MTPSession, on its thread. Courses go
// to Garmin/NewFiles, rides are listed from Garmin/Activities and
// Garmin/Activity and courses from Garmin/Courses, all on the first storage,
// with folder names matched in any letter case.
class MTPTransport : public DeviceTransport {
public:
    // "mtp://" and the serial, in which every character but the ASCII letters
    // and digits and "-", ".", "_", "~" is percent-encoded as UTF-8; absent
    // when that leaves nothing.
    static std::optional<QString> placeholderURL(const QString& serial);

    // The serial back from a device URL: the decoded host of an "mtp" URL,
    // exactly as libmtp reported it; absent for any other URL.
    static std::optional<QString> serial(const QString& from);

    // The device that scanVolumes makes of a detected one; absent when its
    // serial gives no URL.
    static std::optional<GarminDevice> device(const MTPDeviceInfo& info);

    std::vector<GarminDevice> scanVolumes() const override;
    std::optional<QString> existingCourse(const QString& named,
                                          const GarminDevice& on) const override;
    void writeCourse(const QByteArray& data, const QString& named, const GarminDevice& to,
                     OnExisting existing) const override;
    std::vector<DeviceActivity> listActivities(const GarminDevice& on) const override;
    void downloadActivity(const DeviceActivity& activity, const GarminDevice& from,
                          const QString& to) const override;
    std::vector<DeviceActivity> listCourses(const GarminDevice& on) const override;
    void writeTour(const std::vector<model::Coordinate>& coordinates, const QString& name,
                   const GarminDevice& to, OnExisting existing) const override;
};

} // namespace zuvo::devices
