#include "app/devices/UdevUsbProbe.h"

#include <libudev.h>
#include <memory>

namespace zuvo::app {

namespace {

using Udev = std::unique_ptr<udev, decltype(&udev_unref)>;
using Enumeration = std::unique_ptr<udev_enumerate, decltype(&udev_enumerate_unref)>;
using UdevDevice = std::unique_ptr<udev_device, decltype(&udev_device_unref)>;

std::optional<QString> attribute(udev_device* device, const char* name)
{
    const char* value = udev_device_get_sysattr_value(device, name);
    if (!value)
        return std::nullopt;
    return QString::fromUtf8(value).trimmed();
}

std::optional<devices::UsbAddress> address(udev_device* device)
{
    bool busOK = false;
    bool deviceOK = false;
    const int bus = attribute(device, "busnum").value_or(QString()).toInt(&busOK);
    const int number = attribute(device, "devnum").value_or(QString()).toInt(&deviceOK);
    if (!busOK || !deviceOK)
        return std::nullopt;
    return devices::UsbAddress{bus, number};
}

} // namespace

std::vector<UsbProbe::Device> UdevUsbProbe::attachedDevices() const
{
    const Udev context(udev_new(), &udev_unref);
    if (!context)
        return {};
    const Enumeration enumeration(udev_enumerate_new(context.get()), &udev_enumerate_unref);
    if (!enumeration || udev_enumerate_add_match_subsystem(enumeration.get(), "usb") < 0 ||
        udev_enumerate_add_match_property(enumeration.get(), "DEVTYPE", "usb_device") < 0 ||
        udev_enumerate_scan_devices(enumeration.get()) < 0)
        return {};

    std::vector<Device> devices;
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumeration.get()))
    {
        const UdevDevice device(
            udev_device_new_from_syspath(context.get(), udev_list_entry_get_name(entry)),
            &udev_device_unref);
        if (!device)
            continue;
        devices.push_back({.product = attribute(device.get(), "product"),
                           .vendor = attribute(device.get(), "manufacturer"),
                           .address = address(device.get())});
    }
    return devices;
}

} // namespace zuvo::app
