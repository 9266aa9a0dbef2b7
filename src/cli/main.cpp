// tramu-cli: the planner's routing and file formats for scripts and batch work. Each
// subcommand lives in its own file and is listed here once.
#include "cli/ActivitiesCommand.h"
#include "cli/CommandLine.h"
#include "cli/ConvertCommand.h"
#include "cli/CourseCommand.h"
#include "cli/CuesCommand.h"
#include "cli/DevicesCommand.h"
#include "cli/FetchCommand.h"
#include "cli/PlanCommand.h"
#include "cli/SendCommand.h"
#include "cli/StatsCommand.h"
#include "cli/TourCommand.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <cstdio>
#include <exception>

namespace {

using zuvo::cli::Command;

const std::array commands{
    &zuvo::cli::convertCommand, &zuvo::cli::tourCommand,    &zuvo::cli::courseCommand,
    &zuvo::cli::cuesCommand,    &zuvo::cli::statsCommand,   &zuvo::cli::planCommand,
    &zuvo::cli::loopCommand,    &zuvo::cli::devicesCommand, &zuvo::cli::activitiesCommand,
    &zuvo::cli::fetchCommand,   &zuvo::cli::sendCommand};

bool isHelp(const QString& argument)
{
    return argument == QLatin1String("--help") || argument == QLatin1String("-h");
}

void printHelp(std::FILE* stream)
{
    std::fprintf(stream, "usage: tramu-cli COMMAND ARGUMENTS\n"
                         "       tramu-cli COMMAND --help\n\ncommands:\n");
    for (const Command* command : commands) {
        std::fprintf(stream, "  %s %s\n      %s\n", command->name, command->arguments,
                     command->summary);
    }
    std::fprintf(stream, "\nexit codes: %d success, %d failure, %d wrong usage\n", 0,
                 zuvo::cli::exitFailure, zuvo::cli::exitUsage);
}

int run(const Command& command, const QStringList& arguments)
{
    if (std::any_of(arguments.begin(), arguments.end(), isHelp)) {
        zuvo::cli::printHelp(command);
        return 0;
    }
    // Whatever escapes a command still ends as one line of error, not as an
    // abort.
    try {
        return command.run(arguments);
    } catch (const std::exception& error) {
        return zuvo::cli::fail(QString::fromLocal8Bit(error.what()));
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
    if (isHelp(name) || name == QLatin1String("help")) {
        printHelp(stdout);
        return 0;
    }
    for (const Command* command : commands) {
        if (name == QLatin1String(command->name))
            return run(*command, arguments);
    }
    std::fprintf(stderr, "tramu-cli: unknown command '%s' (see tramu-cli --help)\n",
                 name.toLocal8Bit().constData());
    return zuvo::cli::exitUsage;
}
