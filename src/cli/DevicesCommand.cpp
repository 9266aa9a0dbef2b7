#include "cli/DevicesCommand.h"

#include "app/devices/DeviceFlows.h"
#include "app/devices/DeviceWatcher.h"
#include "cli/CommandLine.h"
#include "cli/DeviceAccess.h"
#include "devices/DeviceError.h"
#include "devices/MTPSession.h"
#include "devices/MTPTransport.h"

#include <algorithm>

namespace zuvo::cli {

namespace {

QString layoutName(devices::DeviceLayout layout)
{
    switch (layout) {
    case devices::DeviceLayout::garmin:
        return QStringLiteral("garmin");
    case devices::DeviceLayout::bryton:
        return QStringLiteral("bryton");
    }
    return {};
}

int listDevices(const QStringList& arguments)
{
    const auto parsed = DeviceArguments::parse(arguments);
    if (!parsed || !parsed->positional.isEmpty())
        return usage(devicesCommand);
    const DeviceAccess access(parsed->volumesDirectory());
    const std::vector<devices::GarminDevice> volumes = access.massStorage().scanVolumes();

    // A failing MTP detection does not hide what the other sources see; it
    // is reported after them.
    std::vector<devices::MTPDeviceInfo> mtp;
    std::optional<devices::DeviceError> mtpFailure;
    try {
        mtp = devices::MTPSession::detect();
    } catch (const devices::DeviceError& error) {
        mtpFailure = error;
    }

    const app::DeviceWatcher watcher(parsed->volumesDirectory(),
                                     app::DeviceWatcher::defaultUSBProbe(), false);
    for (const QStringList& row : deviceRows(volumes, mtp, watcher.entries()))
        printRecord(row);
    if (mtpFailure)
        return fail(app::DeviceFlows::describe(*mtpFailure, QStringLiteral("the MTP devices")));
    return 0;
}

} // namespace

const Command devicesCommand{
    .name = "devices",
    .arguments = "[--volumes DIR]",
    .summary = "list the bike computers in reach, one per line: volume, mtp or usb (attached "
               "but not mounted), name, layout, URL; --volumes replaces the removable-media "
               "folder",
    .run = listDevices,
};

std::vector<QStringList> deviceRows(const std::vector<devices::GarminDevice>& volumes,
                                    const std::vector<devices::MTPDeviceInfo>& mtp,
                                    const std::vector<app::DeviceWatcher::Entry>& watched)
{
    std::vector<QStringList> rows;
    const auto add = [&](const QString& kind, const devices::GarminDevice& device) {
        rows.push_back({kind, device.name, layoutName(device.layout), device.volumeURL});
    };
    for (const devices::GarminDevice& device : volumes)
        add(QStringLiteral("volume"), device);
    for (const devices::MTPDeviceInfo& info : mtp) {
        if (const auto device = devices::MTPTransport::device(info))
            add(QStringLiteral("mtp"), *device);
    }
    // The watcher lists an MTP device as a USB device that is not mounted;
    // it already has its row.
    const auto reachedOverMTP = [&](const app::DeviceWatcher::Entry& entry) {
        return std::any_of(mtp.begin(), mtp.end(), [&](const devices::MTPDeviceInfo& info) {
            return entry.usbAddress == info.usbAddress;
        });
    };
    for (const app::DeviceWatcher::Entry& entry : watched) {
        if (entry.status == app::DeviceWatcher::Status::usbPresent && !reachedOverMTP(entry))
            rows.push_back({QStringLiteral("usb"), entry.name, QString(), QString()});
    }
    return rows;
}

} // namespace zuvo::cli
