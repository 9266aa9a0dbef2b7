#pragma once

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

namespace zuvo::devices {

// One file listed on a device: a recorded ride or a stored course.
struct DeviceActivity {
    // Unique per device: the file's absolute path on a volume, "mtp:" and the
    // decimal object id on an MTP device.
    QString id = {};
    QString name = {};                  // file name with extension, as stored on the device
    std::optional<QDateTime> date = {}; // modification time, when the device reports one
    qint64 size = 0;                    // bytes

    bool operator==(const DeviceActivity&) const = default;
};

// Newest first; an undated entry sorts as the earliest possible time, so it
// comes last. Entries with equal dates keep the device's listing order.
void sortNewestFirst(std::vector<DeviceActivity>& activities);

} // namespace zuvo::devices
