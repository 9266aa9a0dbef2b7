#include "devices/LocalFileSystem.h"

#include "devices/FileSystemError.h"

#include <QFile>

namespace zuvo::devices {

void LocalFileSystem::write(const QString& path, const QByteArray& data) const
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(data) != data.size() ||
        !file.flush())
        throw FileSystemError{.path = path, .message = file.errorString()};
    file.close();
    if (file.error() != QFileDevice::NoError)
        throw FileSystemError{.path = path, .message = file.errorString()};
}

QByteArray LocalFileSystem::read(const QString& path) const
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileSystemError{.path = path, .message = file.errorString()};
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileSystemError{.path = path, .message = file.errorString()};
    return data;
}

} // namespace zuvo::devices
