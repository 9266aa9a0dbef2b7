#include "cli/DeviceAccess.h"

#include "app/devices/DeviceFlows.h"
#include "cli/CommandLine.h"

#include <QUrl>

#include <cstdio>

namespace zuvo::cli {

namespace {

const QString volumesOption = QStringLiteral("--volumes");

std::optional<devices::GarminDevice> match(const std::vector<devices::GarminDevice>& devices,
                                           const QString& nameOrURL)
{
    for (const devices::GarminDevice& device : devices) {
        if (device.volumeURL == nameOrURL)
            return device;
    }
    for (const devices::GarminDevice& device : devices) {
        if (device.name.compare(nameOrURL, Qt::CaseInsensitive) == 0)
            return device;
    }
    return std::nullopt;
}

} // namespace

std::optional<DeviceArguments> DeviceArguments::parse(const QStringList& arguments,
                                                      const QStringList& valueOptions,
                                                      const QStringList& flagOptions)
{
    DeviceArguments parsed;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == volumesOption || valueOptions.contains(argument)) {
            if (i + 1 >= arguments.size())
                return std::nullopt;
            parsed.values.insert(argument, arguments[++i]);
        } else if (flagOptions.contains(argument)) {
            parsed.flags << argument;
        } else if (argument.startsWith(QLatin1String("--"))) {
            return std::nullopt;
        } else {
            parsed.positional << argument;
        }
    }
    return parsed;
}

QString DeviceArguments::volumesDirectory() const
{
    return values.value(volumesOption, devices::MassStorageTransport::defaultVolumesDirectory());
}

DeviceAccess::DeviceAccess(const QString& volumesDirectory)
    : m_massStorage(volumesDirectory)
{
}

const devices::DeviceTransport&
DeviceAccess::transportFor(const devices::GarminDevice& device) const
{
    if (QUrl(device.volumeURL).scheme() == QLatin1String("mtp"))
        return m_mtp;
    return m_massStorage;
}

std::optional<devices::GarminDevice> DeviceAccess::find(const QString& nameOrURL) const
{
    if (auto device = match(m_massStorage.scanVolumes(), nameOrURL))
        return device;
    return match(m_mtp.scanVolumes(), nameOrURL);
}

int withDevice(
    const DeviceArguments& arguments, const QString& nameOrURL,
    const std::function<int(const devices::GarminDevice&, const devices::DeviceTransport&)>& work)
{
    std::optional<devices::GarminDevice> device;
    try {
        const DeviceAccess access(arguments.volumesDirectory());
        device = access.find(nameOrURL);
        if (!device)
            return fail(QStringLiteral("no device '%1' (see tramu-cli devices)").arg(nameOrURL));
        return work(*device, access.transportFor(*device));
    } catch (...) {
        return fail(app::DeviceFlows::describe(std::current_exception(),
                                               device ? device->name : nameOrURL));
    }
}

void printRecord(const QStringList& fields)
{
    QStringList cleaned;
    for (QString field : fields) {
        for (QChar& c : field) {
            if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
                c = QLatin1Char(' ');
        }
        cleaned << field;
    }
    std::printf("%s\n", cleaned.join(QLatin1Char('\t')).toUtf8().constData());
}

} // namespace zuvo::cli
