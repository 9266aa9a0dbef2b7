#include "app/devices/DeviceWatcher.h"

#include "app/devices/UdevUsbMonitor.h"
#include "app/devices/UdevUsbProbe.h"
#include "app/devices/VolumeMonitor.h"
#include "devices/MassStorageTransport.h"

#include <QSet>
#include <QUrl>

namespace zuvo::app {

namespace {

bool namesKnownVendor(const std::optional<QString>& name)
{
    if (!name || name->isEmpty())
        return false;
    const QString lower = name->toLower();
    return lower.contains(QLatin1String("garmin")) || lower.contains(QLatin1String("bryton"));
}

} // namespace

DeviceWatcher::DeviceWatcher(QString volumesDirectory, std::unique_ptr<UsbProbe> usbProbe,
                             bool observeUSBAttachEvents, QObject* parent)
    : QObject(parent)
    , m_volumesDirectory(std::move(volumesDirectory))
    , m_usbProbe(std::move(usbProbe))
{
    // Listening starts before the first scan, so that nothing that happens
    // in between goes unseen.
    m_volumeMonitor = new VolumeMonitor(m_volumesDirectory, this);
    connect(m_volumeMonitor, &VolumeMonitor::changed, this, &DeviceWatcher::scheduleRefresh);
    if (observeUSBAttachEvents) {
        m_usbMonitor = new UdevUsbMonitor(this);
        connect(m_usbMonitor, &UdevUsbMonitor::changed, this, &DeviceWatcher::scheduleRefresh);
    }
    refresh();
}

std::unique_ptr<UsbProbe> DeviceWatcher::defaultUSBProbe()
{
    return std::make_unique<UdevUsbProbe>();
}

bool DeviceWatcher::matchesKnownVendor(const std::optional<QString>& product,
                                       const std::optional<QString>& vendor)
{
    return namesKnownVendor(product) || namesKnownVendor(vendor);
}

void DeviceWatcher::scheduleRefresh()
{
    if (m_refreshPending)
        return;
    m_refreshPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_refreshPending = false;
            refresh();
        },
        Qt::QueuedConnection);
}

void DeviceWatcher::refresh()
{
    std::vector<Entry> entries;
    QSet<QString> mountedNames;
    const devices::MassStorageTransport volumes(m_volumesDirectory);
    for (const devices::GarminDevice& device : volumes.scanVolumes()) {
        mountedNames.insert(device.name.toLower());
        entries.push_back({.id = QUrl(device.volumeURL).toLocalFile(),
                           .name = device.name,
                           .status = Status::mounted});
    }
    // A device that is also mounted is listed once, as its volume.
    for (const UsbProbe::Device& device : m_usbProbe->attachedDevices()) {
        if (!matchesKnownVendor(device.product, device.vendor))
            continue;
        const QString name = device.product.value_or(QString()).isEmpty()
                                 ? device.vendor.value_or(QString())
                                 : *device.product;
        if (mountedNames.contains(name.toLower()))
            continue;
        entries.push_back(
            {.id = name, .name = name, .status = Status::usbPresent, .usbAddress = device.address});
    }
    if (entries == m_entries)
        return;
    m_entries = std::move(entries);
    emit entriesChanged();
}

} // namespace zuvo::app
