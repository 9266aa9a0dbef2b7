#pragma once

#include <QByteArrayView>
#include <QString>

namespace zuvo::devices {

// A new file that takes the place of `destination` only once it is whole.
// It is written under a hidden, unique name in the destination's folder, so
// that the rename putting it in place stays on one file system and is atomic:
// a write that fails part-way (a full disk, a device pulled out) leaves the
// destination as it was. A replacement that is never committed is removed.
// Failures throw FileSystemError carrying the system's own reason.
class FileReplacement {
public:
    explicit FileReplacement(QString destination);
    ~FileReplacement();

    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Where the content goes until commit(), for writers that take a path.
    const QString& temporaryPath() const { return m_temporary; }

    void write(QByteArrayView bytes);

    // Puts the content on the disk and renames it over the destination.
    void commit();

private:
    QString m_destination;
    QString m_temporary;
    int m_fd = -1;
    bool m_committed = false;
};

} // namespace zuvo::devices
