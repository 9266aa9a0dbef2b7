#include "cli/ActivitiesCommand.h"

#include "cli/CommandLine.h"
#include "cli/DeviceAccess.h"

namespace zuvo::cli {

namespace {

const QString coursesFlag = QStringLiteral("--courses");

int listActivities(const QStringList& arguments)
{
    const auto parsed = DeviceArguments::parse(arguments, {}, {coursesFlag});
    if (!parsed || parsed->positional.size() != 1)
        return usage(activitiesCommand);
    const QString& wanted = parsed->positional[0];
    return withDevice(*parsed, wanted, [&](const auto& device, const auto& transport) {
        const auto entries = parsed->flags.contains(coursesFlag) ? transport.listCourses(device)
                                                                 : transport.listActivities(device);
        for (const devices::DeviceActivity& entry : entries) {
            printRecord({entry.id, entry.name,
                         entry.date ? entry.date->toUTC().toString(Qt::ISODate) : QString(),
                         QString::number(entry.size)});
        }
        return 0;
    });
}

} // namespace

const Command activitiesCommand{
    .name = "activities",
    .arguments = "DEVICE [--courses] [--volumes DIR]",
    .summary = "list the rides (or the courses) on DEVICE, a name or URL from 'devices', newest "
               "first, one per line: id, file name, UTC time, bytes",
    .run = listActivities,
};

} // namespace zuvo::cli
