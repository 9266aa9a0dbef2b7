#pragma once

#include "app/devices/UsbProbe.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace zuvo::app {

class UdevUsbMonitor;
class VolumeMonitor;

// The connected bike computers for the sidebar: Garmin and Bryton volumes
// mounted under the volumes directory, then Garmin or Bryton USB devices that
// are attached but not mounted (such as MTP devices). The list is recomputed
// on every mount and unmount and, when asked for, on every USB attach and
// removal; never by polling. Lives on the user-interface thread.
class DeviceWatcher : public QObject {
    Q_OBJECT

public:
    enum class Status {
        mounted,    // a recognised volume is mounted
        usbPresent, // a matching USB device is attached, no volume of its name is mounted
        unknown,
    };

    struct Entry {
        QString id = {}; // a volume's file-system path, or a USB-only device's name
        QString name = {};
        Status status = Status::unknown;
        // Where a USB-only device is attached, when the probe says.
        std::optional<devices::UsbAddress> usbAddress = {};

        bool operator==(const Entry&) const = default;
    };

    // Refreshes once, then follows the volumes directory and, with
    // `observeUSBAttachEvents`, USB attach and removal.
    DeviceWatcher(QString volumesDirectory, std::unique_ptr<UsbProbe> usbProbe,
                  bool observeUSBAttachEvents, QObject* parent = nullptr);

    const std::vector<Entry>& entries() const { return m_entries; }
    const QString& volumesDirectory() const { return m_volumesDirectory; }

    // Scans the volumes and asks the USB probe again, synchronously.
    void refresh();

    // The probe of this platform's USB devices.
    static std::unique_ptr<UsbProbe> defaultUSBProbe();

    // Whether a USB device is a Garmin or Bryton: by its product name when
    // that is non-empty and names one of them, else by its vendor name.
    static bool matchesKnownVendor(const std::optional<QString>& product,
                                   const std::optional<QString>& vendor);

signals:
    void entriesChanged();

private:
    // Events come in bursts (a device shows up as several); they make one
    // refresh once the burst has been delivered.
    void scheduleRefresh();

    QString m_volumesDirectory;
    std::unique_ptr<UsbProbe> m_usbProbe;
    std::vector<Entry> m_entries;
    VolumeMonitor* m_volumeMonitor = nullptr;
    UdevUsbMonitor* m_usbMonitor = nullptr;
    bool m_refreshPending = false;
};

} // namespace zuvo::app
