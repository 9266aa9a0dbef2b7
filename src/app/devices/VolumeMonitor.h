#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>

class QSocketNotifier;
struct libmnt_monitor;

namespace zuvo::app {

// Tells when volumes may have come or gone: on every change of the kernel's
// mount table (through libmount) and every change of the volumes directory's
// entries, on the thread that created it. The mount table covers the moment
// a volume is really mounted, which a new mount point folder precedes; the
// directory covers folders that appear without a mount, and a directory
// that does not exist yet is watched from the first mount that creates it.
class VolumeMonitor : public QObject {
    Q_OBJECT

public:
    explicit VolumeMonitor(QString volumesDirectory, QObject* parent = nullptr);
    ~VolumeMonitor() override;

signals:
    void changed();

private:
    void mountTableChanged();
    void watchDirectory();

    QString m_volumesDirectory;
    QFileSystemWatcher m_directory;
    libmnt_monitor* m_mounts = nullptr;
    QSocketNotifier* m_mountNotifier = nullptr;
};

} // namespace zuvo::app
