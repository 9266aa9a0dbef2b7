#pragma once

#include "devices/UsbAddress.h"

#include <QString>

#include <optional>
#include <vector>

namespace zuvo::app {

// The USB devices attached to this machine, as their descriptors name them.
class UsbProbe {
public:
    struct Device {
        std::optional<QString> product = {}; // absent when the device reports none
        std::optional<QString> vendor = {};
        std::optional<devices::UsbAddress> address = {}; // absent when sysfs does not say

        bool operator==(const Device&) const = default;
    };

    virtual ~UsbProbe() = default;

    // Every attached device; nothing when enumeration fails.
    virtual std::vector<Device> attachedDevices() const = 0;
};

} // namespace zuvo::app
