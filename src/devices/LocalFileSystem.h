#pragma once

#include "devices/FileSystem.h"

namespace zuvo::devices {

// FileSystem on the files of this machine, mounted volumes included.
class LocalFileSystem : public FileSystem {
public:
    void write(const QString& path, const QByteArray& data) const override;
    QByteArray read(const QString& path) const override;
};

} // namespace zuvo::devices
