#pragma once

namespace zuvo::devices {

// Where a device sits on the USB buses while it stays plugged in: the bus
// number and the device address on that bus. Two sources describing the
// same attached device (libmtp, udev) agree on it whatever names they use.
struct UsbAddress {
    int bus = 0;
    int device = 0;

    bool operator==(const UsbAddress&) const = default;
};

} // namespace zuvo::devices
