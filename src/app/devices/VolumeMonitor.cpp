#include "app/devices/VolumeMonitor.h"

#include <QFileInfo>
#include <QSocketNotifier>

#include <libmount/libmount.h>

namespace zuvo::app {

VolumeMonitor::VolumeMonitor(QString volumesDirectory, QObject* parent)
    : QObject(parent)
    , m_volumesDirectory(std::move(volumesDirectory))
{
    connect(&m_directory, &QFileSystemWatcher::directoryChanged, this, &VolumeMonitor::changed);
    watchDirectory();

    m_mounts = mnt_new_monitor();
    if (!m_mounts || mnt_monitor_enable_kernel(m_mounts, 1) < 0)
        return;
    const int descriptor = mnt_monitor_get_fd(m_mounts);
    if (descriptor < 0)
        return;
    m_mountNotifier = new QSocketNotifier(descriptor, QSocketNotifier::Read, this);
    connect(m_mountNotifier, &QSocketNotifier::activated, this, &VolumeMonitor::mountTableChanged);
}

VolumeMonitor::~VolumeMonitor()
{
    delete m_mountNotifier;
    if (m_mounts)
        mnt_unref_monitor(m_mounts);
}

void VolumeMonitor::mountTableChanged()
{
    // Take every change waiting, so that the descriptor is quiet again.
    while (mnt_monitor_next_change(m_mounts, nullptr, nullptr) == 0) {
    }
    watchDirectory();
    emit changed();
}

void VolumeMonitor::watchDirectory()
{
    if (m_directory.directories().isEmpty() && QFileInfo(m_volumesDirectory).isDir())
        m_directory.addPath(m_volumesDirectory);
}

} // namespace zuvo::app
