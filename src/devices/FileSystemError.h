#pragma once

#include <QString>

namespace zuvo::devices {

// A failure of the local file system (writing, reading, moving, removing or
// copying a file), passed through the transports as the platform reported it.
struct FileSystemError {
    QString path = {};
    QString message = {}; // the platform's own text

    // The path and the platform's text: "/media/ana/EDGE/x.gpx: No space left on device".
    QString description() const { return path + QStringLiteral(": ") + message; }

    bool operator==(const FileSystemError&) const = default;
};

} // namespace zuvo::devices
