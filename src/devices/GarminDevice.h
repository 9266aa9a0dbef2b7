#pragma once

#include "devices/DeviceLayout.h"

#include <QString>

#include <cstddef>
#include <functional>

namespace zuvo::devices {

// One detected bike computer, whatever its make: a mounted Garmin or Bryton
// volume, or an MTP device.
//
// The URLs are kept as text. An MTP device URL carries the device serial as
// its host, and a serial is case-sensitive, while QUrl folds host names to
// lower case and refuses percent-encoded ones; text keeps the serial exactly.
struct GarminDevice {
    QString name = {};
    // A volume's root directory as a file URL, or "mtp://" and the
    // percent-encoded serial.
    QString volumeURL = {};
    // Where courses go: <volume>/Garmin/NewFiles, <volume>/PlanTrip, or the
    // device URL again for MTP.
    QString importFolderURL = {};
    DeviceLayout layout = DeviceLayout::garmin;

    bool operator==(const GarminDevice&) const = default;
};

std::size_t qHash(const GarminDevice& device, std::size_t seed = 0) noexcept;

} // namespace zuvo::devices

template <>
struct std::hash<zuvo::devices::GarminDevice> {
    std::size_t operator()(const zuvo::devices::GarminDevice& device) const noexcept
    {
        return zuvo::devices::qHash(device);
    }
};
