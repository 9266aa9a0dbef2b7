#pragma once

#include "devices/UsbAddress.h"

#include <QString>

namespace zuvo::devices {

// An MTP device as detection found it.
struct MTPDeviceInfo {
    // The device's serial number, or "unknown-" and its index in the
    // detection list when it reports none.
    QString serial = {};
    QString name = {}; // friendly name, else model name, else "MTP device"
    UsbAddress usbAddress = {};

    bool operator==(const MTPDeviceInfo&) const = default;
};

} // namespace zuvo::devices
