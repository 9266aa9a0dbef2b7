#pragma once

#include <QByteArray>
#include <QString>

namespace zuvo::devices {

// The whole-file reads and writes a course write checks itself with. The
// mass-storage transport goes through this seam so that a test can make a
// device hand back other bytes than were written, or fail half-way.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Creates or truncates the file and writes `data` (not atomically).
    // Throws FileSystemError.
    virtual void write(const QString& path, const QByteArray& data) const = 0;

    // The file's whole content. Throws FileSystemError.
    virtual QByteArray read(const QString& path) const = 0;
};

} // namespace zuvo::devices
