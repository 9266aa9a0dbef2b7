#pragma once

#include "app/devices/UsbProbe.h"

namespace zuvo::app {

// UsbProbe through libudev: the product and manufacturer strings and the bus
// and device numbers of every USB device (not interface) in sysfs.
class UdevUsbProbe : public UsbProbe {
public:
    std::vector<Device> attachedDevices() const override;
};

} // namespace zuvo::app
