#pragma once

#include <QStringList>

namespace zuvo::cli {

// One subcommand of tramu-cli. `run` gets the arguments after the command's
// name and returns the process exit code.
struct Command {
    const char* name = "";
    const char* arguments = ""; // what follows the name in the usage line
    const char* summary = "";
    int (*run)(const QStringList& arguments) = nullptr;
};

} // namespace zuvo::cli
