#pragma once

#include "cli/Command.h"
#include "model/Result.h"

#include <QByteArray>
#include <QString>

#include <optional>

// What every subcommand needs: reporting errors and usage, and writing whole
// files.
namespace zuvo::cli {

inline constexpr int exitFailure = 1; // unreadable or invalid input, or a failed write
inline constexpr int exitUsage = 2;   // the command line itself is wrong

// Prints "tramu-cli: " and `message` on one line of standard error; returns
// exitFailure.
int fail(const QString& message);

// Prints "tramu-cli: warning: " and `message` on one line of standard error.
void warn(const QString& message);

// Prints "tramu-cli: " and the command's usage line on standard error;
// returns exitUsage.
int usage(const Command& command);

// The command's usage line and what it does, on standard output.
void printHelp(const Command& command);

// Replaces `path` with `bytes` atomically; a message naming the file on
// failure.
std::optional<QString> writeFile(const QString& path, const QByteArray& bytes);

} // namespace zuvo::cli
