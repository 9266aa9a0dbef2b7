#include "app/devices/UdevUsbMonitor.h"

#include <QSocketNotifier>

#include <libudev.h>

namespace zuvo::app {

UdevUsbMonitor::UdevUsbMonitor(QObject* parent)
    : QObject(parent)
    , m_udev(udev_new())
{
    if (!m_udev)
        return;
    // Events after udev has handled them, so that the device's strings are
    // readable when the watcher asks.
    m_monitor = udev_monitor_new_from_netlink(m_udev, "udev");
    if (!m_monitor ||
        udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "usb", "usb_device") < 0 ||
        udev_monitor_enable_receiving(m_monitor) < 0)
        return;
    const int socket = udev_monitor_get_fd(m_monitor);
    if (socket < 0)
        return;
    m_notifier = new QSocketNotifier(socket, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &UdevUsbMonitor::receive);
}

UdevUsbMonitor::~UdevUsbMonitor()
{
    delete m_notifier;
    if (m_monitor)
        udev_monitor_unref(m_monitor);
    if (m_udev)
        udev_unref(m_udev);
}

void UdevUsbMonitor::receive()
{
    // The socket does not block: take every waiting event, then report once.
    bool received = false;
    while (udev_device* device = udev_monitor_receive_device(m_monitor)) {
        udev_device_unref(device);
        received = true;
    }
    if (received)
        emit changed();
}

} // namespace zuvo::app
