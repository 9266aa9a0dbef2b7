#pragma once

#include "app/devices/DeviceWatcher.h"
#include "cli/Command.h"
#include "devices/GarminDevice.h"
#include "devices/MTPDeviceInfo.h"

#include <QStringList>

#include <vector>

namespace zuvo::cli {

// devices [--volumes DIR]: the bike computers that can be reached.
extern const Command devicesCommand;

// The lines `devices` prints, each its fields: the mounted volumes, the MTP
// devices, then the USB devices attached but neither mounted nor reached
// over MTP, so that every device is listed once.
std::vector<QStringList> deviceRows(const std::vector<devices::GarminDevice>& volumes,
                                    const std::vector<devices::MTPDeviceInfo>& mtp,
                                    const std::vector<app::DeviceWatcher::Entry>& watched);

} // namespace zuvo::cli
