#include "app/devices/DeviceFlows.h"

#include "devices/DeviceError.h"
#include "devices/FileSystemError.h"
#include "devices/MTPTransport.h"
#include "devices/MassStorageTransport.h"
#include "routing/Failure.h"

#include <QDir>
#include <QUrl>

namespace zuvo::app::DeviceFlows {

const std::shared_ptr<const devices::DeviceTransport>&
Transports::forDevice(const devices::GarminDevice& device) const
{
    return isMTP(device) ? mtp : massStorage;
}

Transports defaultTransports(const QString& volumesDirectory)
{
    return {std::make_shared<devices::MassStorageTransport>(volumesDirectory),
            std::make_shared<devices::MTPTransport>()};
}

bool isMTP(const devices::GarminDevice& device)
{
    return device.volumeURL.startsWith(QLatin1String("mtp:"), Qt::CaseInsensitive);
}

std::vector<devices::GarminDevice> scan(const Transports& transports)
{
    std::vector<devices::GarminDevice> all;
    for (const auto* transport : {transports.massStorage.get(), transports.mtp.get()}) {
        if (!transport)
            continue;
        try {
            const auto found = transport->scanVolumes();
            all.insert(all.end(), found.begin(), found.end());
        } catch (...) {
            // A transport that cannot scan (no MTP access, say) hides only its own devices.
        }
    }
    return all;
}

std::optional<devices::GarminDevice> preselect(const std::vector<devices::GarminDevice>& devices,
                                               const std::optional<QString>& name)
{
    if (devices.empty())
        return std::nullopt;
    if (name) {
        for (const auto& device : devices) {
            if (device.name.compare(*name, Qt::CaseInsensitive) == 0)
                return device;
        }
    }
    return devices.front();
}

QString importLabel(const devices::GarminDevice& device)
{
    return isMTP(device) ? device.name + QStringLiteral(" (MTP)") : device.name;
}

QString sendLabel(const devices::GarminDevice& device)
{
    if (isMTP(device))
        return device.name + QStringLiteral(" (MTP)");
    return device.name + QStringLiteral(" — ") +
           QDir(QUrl(device.volumeURL).toLocalFile()).dirName();
}

QString describe(const std::exception_ptr& error)
{
    try {
        std::rethrow_exception(error);
    } catch (const devices::DeviceError& e) {
        return e.description();
    } catch (const devices::FileSystemError& e) {
        return e.description();
    } catch (const routing::Failure& e) {
        return e.displayText();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("unknown error");
    }
}

} // namespace zuvo::app::DeviceFlows
