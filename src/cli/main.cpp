// tramu-cli: the planner's routing and file formats for scripts and batch work. Each
// subcommand lives in its own file and is listed here once.
#include "cli/ActivitiesCommand.h"
#include "cli/CommandLine.h"
#include "cli/ConvertCommand.h"
#include "cli/DevicesCommand.h"
#include "cli/FetchCommand.h"
#include "cli/PlanCommand.h"
#include "cli/SendCommand.h"
#include "cli/StatsCommand.h"
#include "cli/TourCommand.h"

#include <QCoreApplication>

#include <array>
#include <cstdio>

namespace {

using zuvo::cli::Command;

const std::array commands{&zuvo::cli::convertCommand, &zuvo::cli::tourCommand,
                          &zuvo::cli::statsCommand,   &zuvo::cli::planCommand,
                          &zuvo::cli::devicesCommand, &zuvo::cli::activitiesCommand,
                          &zuvo::cli::fetchCommand,   &zuvo::cli::sendCommand};

void printHelp(std::FILE* stream)
{
    std::fprintf(stream, "usage: tramu-cli COMMAND ARGUMENTS\n\ncommands:\n");
    for (const Command* command : commands) {
        std::fprintf(stream, "  %s %s\n      %s\n", command->name, command->arguments,
                     command->summary);
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty()) {
        printHelp(stderr);
        return zuvo::cli::exitUsage;
    }
    const QString name = arguments.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("-h") ||
        name == QLatin1String("help")) {
        printHelp(stdout);
        return 0;
    }
    for (const Command* command : commands) {
        if (name == QLatin1String(command->name))
            return command->run(arguments);
    }
    std::fprintf(stderr, "tramu-cli: unknown command '%s' (see tramu-cli --help)\n",
                 name.toLocal8Bit().constData());
    return zuvo::cli::exitUsage;
}
