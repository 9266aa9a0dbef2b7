#pragma once

#include "devices/DeviceActivity.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

// Which rides on a device are in the routes folder already. The device import writes into each
// ride file the device it came from and when the ride started; a ride that device lists again
// with that start is in the library, whatever its file is called by now.
namespace zuvo::app::ImportedRides {

struct Key {
    QString device;
    QDateTime start; // UTC, whole seconds

    bool operator==(const Key&) const = default;
};

// When a listed ride started: the time a Garmin writes into the ride's file name
// ("2024-05-01-07-30-00.fit", local time), else the file's time on the device.
std::optional<QDateTime> rideStart(const devices::DeviceActivity& ride);

// What the device import wrote into the first bytes of a ride file; absent for other files.
std::optional<Key> keyOf(QByteArrayView head);

// The key of every ride file in the routes folder and its collections. Blocks.
std::vector<Key> inLibrary(const QString& routesFolder);

} // namespace zuvo::app::ImportedRides
