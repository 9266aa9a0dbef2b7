#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;
struct udev;
struct udev_monitor;

namespace zuvo::app {

// Tells when a USB device is attached or removed, from udev's event socket,
// on the thread that created it. Where udev cannot be reached it stays
// silent.
class UdevUsbMonitor : public QObject {
    Q_OBJECT

public:
    explicit UdevUsbMonitor(QObject* parent = nullptr);
    ~UdevUsbMonitor() override;

signals:
    // Once per batch of events that arrived together.
    void changed();

private:
    void receive();

    udev* m_udev = nullptr;
    udev_monitor* m_monitor = nullptr;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace zuvo::app
