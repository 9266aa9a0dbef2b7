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

void warn(const QString& message)
{
    QString line = message;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    std::fprintf(stderr, "tramu-cli: warning: %s\n", line.toLocal8Bit().constData());
}

int usage(const Command& command)
{
    std::fprintf(stderr, "tramu-cli: usage: tramu-cli %s %s (see tramu-cli %s --help)\n",
                 command.name, command.arguments, command.name);
    return exitUsage;
}

void printHelp(const Command& command)
{
    std::printf("usage: tramu-cli %s %s\n\n%s\n", command.name, command.arguments, command.summary);
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
