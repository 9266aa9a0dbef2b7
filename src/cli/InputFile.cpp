#include "cli/InputFile.h"

namespace zuvo::cli {

model::Result<InputFile, QString> InputFile::open(const QString& path)
{
    InputFile input;
    input.m_file = std::make_unique<QFile>(path);
    QFile& file = *input.m_file;
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("%1: cannot read (%2)").arg(path, file.errorString());
    if (const qint64 size = file.size(); size > 0) {
        if (const uchar* mapped = file.map(0, size)) {
            input.m_bytes = QByteArrayView(mapped, qsizetype(size));
            return input;
        }
    }
    input.m_copy = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return QStringLiteral("%1: cannot read (%2)").arg(path, file.errorString());
    input.m_bytes = input.m_copy;
    return input;
}

} // namespace zuvo::cli
