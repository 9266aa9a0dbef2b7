#pragma once

#include "devices/DeviceTransport.h"
#include "devices/MTPTransport.h"
#include "devices/MassStorageTransport.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// What the device subcommands share: their options, both transports in the
// order the application asks them, finding a device, and reporting failures.
namespace zuvo::cli {

struct DeviceArguments {
    QStringList positional = {};
    QHash<QString, QString> values = {}; // options with a value, by name ("--name")
    QStringList flags = {};              // options without one that were given

    // "--volumes DIR" is allowed everywhere; `valueOptions` and `flagOptions`
    // are the command's own. Absent on an unknown option or a missing value.
    static std::optional<DeviceArguments> parse(const QStringList& arguments,
                                                const QStringList& valueOptions = {},
                                                const QStringList& flagOptions = {});

    // The --volumes folder, else where the desktop mounts removable media.
    QString volumesDirectory() const;
};

class DeviceAccess {
public:
    explicit DeviceAccess(const QString& volumesDirectory);

    const devices::MassStorageTransport& massStorage() const { return m_massStorage; }
    const devices::MTPTransport& mtp() const { return m_mtp; }
    const devices::DeviceTransport& transportFor(const devices::GarminDevice& device) const;

    // The first device, mass storage before MTP, whose URL is `nameOrURL` or
    // whose name equals it ignoring case. MTP devices are only looked for
    // when no volume matches; their detection failure is thrown then.
    std::optional<devices::GarminDevice> find(const QString& nameOrURL) const;

private:
    devices::MassStorageTransport m_massStorage;
    devices::MTPTransport m_mtp;
};

// Finds the device `nameOrURL` names (see DeviceAccess::find) and runs
// `work` with it and its transport, returning work's exit code. A device
// that is not there, or a failure on the way (said as the device sheets say it),
// is printed as one line and gives exitFailure.
int withDevice(
    const DeviceArguments& arguments, const QString& nameOrURL,
    const std::function<int(const devices::GarminDevice&, const devices::DeviceTransport&)>& work);

// One line of tab-separated fields on standard output; tabs and line breaks
// inside a field become spaces so that the line stays one record.
void printRecord(const QStringList& fields);

} // namespace zuvo::cli
