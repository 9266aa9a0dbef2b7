#include "cli/CommandLine.h"

#include <QFile>
#include <QSaveFile>

#include <cstdio>

namespace zuvo::cli {

int fail(const QString& message)
{
    // One line, whatever the message holds.
    QString line = message;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    std::fprintf(stderr, "tramu-cli: %s\n", line.toLocal8Bit().constData());
    return exitFailure;
}

int usage(const Command& command)
{
    std::fprintf(stderr, "usage: tramu-cli %s %s\n", command.name, command.arguments);
    return exitUsage;
}

std::optional<QString> writeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("%1: cannot write (%2)").arg(path, file.errorString());
    return std::nullopt;
}

} // namespace zuvo::cli
