#include "cli/CommandLine.h"

#include "devices/FileReplacement.h"
#include "devices/FileSystemError.h"

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
    try {
        devices::FileReplacement file(path);
        file.write(bytes);
        file.commit();
    } catch (const devices::FileSystemError& error) {
        return error.description();
    }
    return std::nullopt;
}

} // namespace zuvo::cli
