#include "cli/DevicesCommand.h"

#include "app/DeviceWatcher.h"
#include "cli/CommandLine.h"
#include "cli/DeviceAccess.h"
#include "devices/DeviceError.h"

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

void print(const QString& kind, const std::vector<devices::GarminDevice>& devices)
{
    for (const devices::GarminDevice& device : devices)
        printRecord({kind, device.name, layoutName(device.layout), device.volumeURL});
}

int listDevices(const QStringList& arguments)
{
    const auto parsed = DeviceArguments::parse(arguments);
    if (!parsed || !parsed->positional.isEmpty())
        return usage(devicesCommand);
    const DeviceAccess access(parsed->volumesDirectory());
    print(QStringLiteral("volume"), access.massStorage().scanVolumes());

    // A failing MTP detection does not hide what the other sources see; it
    // is reported after them.
    std::optional<devices::DeviceError> mtpFailure;
    try {
        print(QStringLiteral("mtp"), access.mtp().scanVolumes());
    } catch (const devices::DeviceError& error) {
        mtpFailure = error;
    }

    const app::DeviceWatcher watcher(parsed->volumesDirectory(),
                                     app::DeviceWatcher::defaultUSBProbe(), false);
    for (const app::DeviceWatcher::Entry& entry : watcher.entries()) {
        if (entry.status == app::DeviceWatcher::Status::usbPresent)
            printRecord({QStringLiteral("usb"), entry.name, QString(), QString()});
    }
    if (mtpFailure)
        return fail(mtpFailure->description());
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

} // namespace zuvo::cli
