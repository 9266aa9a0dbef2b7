#include "app/devices/DeviceFlows.h"

#include "devices/DeviceError.h"
#include "devices/FileSystemError.h"
#include "devices/MTPTransport.h"
#include "devices/MassStorageTransport.h"
#include "routing/Failure.h"

#include <QCoreApplication>
#include <QDir>
#include <QUrl>

namespace zuvo::app::DeviceFlows {

namespace {

struct Texts {
    Q_DECLARE_TR_FUNCTIONS(DeviceFlows)
};

} // namespace

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
    // A volume without a description of its own is named after its folder already.
    const QString folder = QDir(QUrl(device.volumeURL).toLocalFile()).dirName();
    if (folder == device.name)
        return device.name;
    return device.name + QStringLiteral(" — ") + folder;
}

namespace {

template <typename... Fs>
struct Overloaded : Fs... {
    using Fs::operator()...;
};

// "No space left on device" as the start of a sentence.
QString capitalised(QString text)
{
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

QString sentence(QString text)
{
    text = capitalised(std::move(text));
    if (!text.endsWith(QLatin1Char('.')))
        text += QLatin1Char('.');
    return text;
}

} // namespace

QString describe(const devices::DeviceError& error, const QString& deviceName)
{
    using E = devices::DeviceError;
    return std::visit(
        Overloaded{
            [&](const E::ImportFolderMissing& e) {
                const QString folder =
                    QUrl(e.url).isLocalFile() ? QUrl(e.url).toLocalFile() : e.url;
                return Texts::tr("Could not create the course folder %1 on %2. Check that "
                                 "the device is not write-protected and has space left.")
                    .arg(folder, deviceName);
            },
            [&](const E::AlreadyExists& e) {
                return Texts::tr("A course of that name is already on %1 (%2).")
                    .arg(deviceName, e.file);
            },
            [&](const E::VerificationFailed& e) {
                return Texts::tr("%1 did not keep the file as it was sent (%2). Send it "
                                 "again; if that fails too, check the device's free space.")
                    .arg(deviceName, e.message);
            },
            [&](const E::Mtp& e) {
                return Texts::tr("Could not work with %1 over MTP: %2. ")
                           .arg(deviceName, e.message) +
                       noDeviceHint();
            },
            [&](const E::NotImplemented&) {
                return Texts::tr("%1 does not take this kind of course.").arg(deviceName);
            },
        },
        error.value());
}

QString describe(const std::exception_ptr& error, const QString& deviceName)
{
    try {
        std::rethrow_exception(error);
    } catch (const devices::DeviceError& e) {
        return describe(e, deviceName);
    } catch (const devices::FileSystemError& e) {
        return sentence(e.message + QStringLiteral(" (") + e.path + QStringLiteral(")"));
    } catch (const routing::Failure& e) {
        return e.displayText();
    } catch (const std::exception& e) {
        return sentence(QString::fromUtf8(e.what()));
    } catch (...) {
        return Texts::tr("Something went wrong with %1.").arg(deviceName);
    }
}

QString noDeviceTitle()
{
    return Texts::tr("No device found");
}

QString noDeviceHint()
{
    return Texts::tr(
        "Connect the device via USB, close other MTP apps (OpenMTP, Garmin Express), then Rescan.");
}

QString replaceQuestion(const QString& courseName, const QString& deviceName)
{
    return Texts::tr("A course named '%1' is already on %2. Replace it?")
        .arg(courseName, deviceName);
}

QString noRidesText(const devices::GarminDevice& device)
{
    return Texts::tr("No rides on %1 in %2.")
        .arg(device.name, devices::rideFolders(device.layout).join(Texts::tr(" or ")));
}

} // namespace zuvo::app::DeviceFlows
