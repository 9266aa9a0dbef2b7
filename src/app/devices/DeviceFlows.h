#pragma once

#include "devices/DeviceError.h"
#include "devices/DeviceTransport.h"
#include "devices/GarminDevice.h"

#include <QString>

#include <exception>
#include <memory>
#include <optional>
#include <vector>

// What the device import and send sheets share: the transports, device scans, labels and how a
// failure reads.
namespace zuvo::app::DeviceFlows {

// Mass storage first, then MTP: the order devices are listed in.
struct Transports {
    std::shared_ptr<const devices::DeviceTransport> massStorage;
    std::shared_ptr<const devices::DeviceTransport> mtp;

    const std::shared_ptr<const devices::DeviceTransport>&
    forDevice(const devices::GarminDevice& device) const;
};

Transports defaultTransports(const QString& volumesDirectory);

bool isMTP(const devices::GarminDevice& device);

// Every transport's devices in order; a transport that fails contributes none. Blocks.
std::vector<devices::GarminDevice> scan(const Transports& transports);

// The device whose name equals `name` ignoring case, else the first; absent without devices.
std::optional<devices::GarminDevice> preselect(const std::vector<devices::GarminDevice>& devices,
                                               const std::optional<QString>& name);

// "Edge 840 (MTP)" or "Edge 840" in the import sheet; the send sheet adds the volume folder
// when it is not the name already, "Edge 840 — EDGE" but "RIDER420".
QString importLabel(const devices::GarminDevice& device);
QString sendLabel(const devices::GarminDevice& device);

// What a transport or a reader threw, as a sentence a rider understands, naming the device.
QString describe(const std::exception_ptr& error, const QString& deviceName);
QString describe(const devices::DeviceError& error, const QString& deviceName);

// "A course named 'Kandel Runde' is already on Edge 830. Replace it?"
QString replaceQuestion(const QString& courseName, const QString& deviceName);

// Why a device lists no rides: "No rides on Edge 840 in Garmin/Activities or Garmin/Activity."
QString noRidesText(const devices::GarminDevice& device);

// "No device found", and what to do about it.
QString noDeviceTitle();
QString noDeviceHint();

} // namespace zuvo::app::DeviceFlows
