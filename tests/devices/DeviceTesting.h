#pragma once

#include "devices/DeviceActivity.h"
#include "devices/DeviceError.h"
#include "devices/FileSystemError.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>
#include <optional>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace zuvo::devices {

inline void PrintTo(const DeviceError& error, std::ostream* os)
{
    *os << error.description().toStdString();
}

inline void PrintTo(const DeviceActivity& activity, std::ostream* os)
{
    *os << activity.name.toStdString() << " " << activity.size << " bytes";
}

} // namespace zuvo::devices

namespace zuvo::test {

// What `action` threw, if it threw an E; anything else it throws goes on.
template <typename E, typename F>
std::optional<E> thrown(F&& action)
{
    try {
        action();
    } catch (const E& error) {
        return error;
    }
    return std::nullopt;
}

inline QDateTime day(int day)
{
    return QDateTime(QDate(2024, 5, day), QTime(7, 30), Qt::UTC);
}

// Files and folders of mounted volumes, in a temporary folder.
class VolumeTree {
protected:
    QString root() const { return m_root.path(); }
    QString path(const QString& relative) const { return m_root.filePath(relative); }
    QString url(const QString& relative) const
    {
        return QUrl::fromLocalFile(path(relative)).toString();
    }

    // A file with its folders, optionally with a modification time.
    void make(const QString& relative, const QByteArray& content = {},
              std::optional<QDateTime> modified = std::nullopt) const
    {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path(relative)).absolutePath()));
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.flush(); // so that closing cannot move the time again
        if (modified)
            file.setFileTime(*modified, QFileDevice::FileModificationTime);
    }

    QByteArray read(const QString& relative) const
    {
        QFile file(path(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QStringList entries(const QString& relative) const
    {
        return QDir(path(relative))
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                       QDir::Name);
    }

private:
    QTemporaryDir m_root;
};

} // namespace zuvo::test
