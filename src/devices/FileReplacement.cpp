#include "devices/FileReplacement.h"

#include "devices/FileSystemError.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zuvo::devices {

namespace {

[[noreturn]] void failWithErrno(const QString& path)
{
    throw FileSystemError{.path = path, .message = QString::fromLocal8Bit(std::strerror(errno))};
}

} // namespace

FileReplacement::FileReplacement(QString destination)
    : m_destination(std::move(destination))
{
    const QFileInfo target(m_destination);
    const QString prefix = target.absolutePath() + QLatin1String("/.") + target.fileName();
    // Created exclusively, so that it is ours alone; a name already taken
    // (left over by a crash, say) is simply passed over.
    for (int attempt = 0; m_fd < 0 && attempt < 16; ++attempt) {
        m_temporary =
            prefix + QLatin1Char('.') + QString::number(QRandomGenerator::global()->generate(), 36);
        m_fd = ::open(QFile::encodeName(m_temporary).constData(),
                      O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0 && errno != EEXIST)
            failWithErrno(m_destination);
    }
    if (m_fd < 0)
        failWithErrno(m_destination);
    // A replaced file keeps who may read it.
    struct stat existing {};
    if (::stat(QFile::encodeName(m_destination).constData(), &existing) == 0)
        ::fchmod(m_fd, existing.st_mode & 07777);
}

FileReplacement::~FileReplacement()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_committed)
        ::unlink(QFile::encodeName(m_temporary).constData());
}

void FileReplacement::write(QByteArrayView bytes)
{
    const char* next = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(m_fd, next, std::size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            failWithErrno(m_destination);
        }
        next += written;
        left -= written;
    }
}

void FileReplacement::commit()
{
    // Without the sync, a crash right after the rename could leave an empty
    // file where the old one was.
    if (::fsync(m_fd) != 0)
        failWithErrno(m_destination);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        failWithErrno(m_destination);
    if (std::rename(QFile::encodeName(m_temporary).constData(),
                    QFile::encodeName(m_destination).constData()) != 0)
        failWithErrno(m_destination);
    m_committed = true;
}

} // namespace zuvo::devices
