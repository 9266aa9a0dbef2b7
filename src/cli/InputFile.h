#pragma once

#include "model/Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>

#include <memory>

namespace zuvo::cli {

// A whole input file. Regular files are mapped into memory rather than
// copied, so a large ride costs no second copy of itself; anything that
// cannot be mapped (a pipe, an empty file) is read.
class InputFile {
public:
    // The file, or a one-line message naming it.
    static model::Result<InputFile, QString> open(const QString& path);

    QByteArrayView bytes() const { return m_bytes; }

private:
    InputFile() = default;

    std::unique_ptr<QFile> m_file;
    QByteArray m_copy;
    QByteArrayView m_bytes;
};

} // namespace zuvo::cli
