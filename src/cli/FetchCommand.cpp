#include "cli/FetchCommand.h"

#include "cli/CommandLine.h"
#include "cli/DeviceAccess.h"
#include "devices/DeviceError.h"

#include <algorithm>

namespace zuvo::cli {

namespace {

int fetch(const QStringList& arguments)
{
    const auto parsed = DeviceArguments::parse(arguments);
    if (!parsed || parsed->positional.size() != 3)
        return usage(fetchCommand);
    const QString& wanted = parsed->positional[0];
    const QString& id = parsed->positional[1];
    const QString& destination = parsed->positional[2];
    return withDevice(*parsed, wanted, [&](const auto& device, const auto& transport) {
        // Only what the device lists can be fetched, so that an id can never
        // name some other file. A device without courses still has rides.
        std::vector<devices::DeviceActivity> entries = transport.listActivities(device);
        try {
            const auto courses = transport.listCourses(device);
            entries.insert(entries.end(), courses.begin(), courses.end());
        } catch (const devices::DeviceError&) {
        }
        const auto entry = std::find_if(entries.begin(), entries.end(),
                                        [&](const auto& e) { return e.id == id || e.name == id; });
        if (entry == entries.end())
            return fail(QStringLiteral("no ride or course '%1' on %2").arg(id, device.name));
        transport.downloadActivity(*entry, device, destination);
        return 0;
    });
}

} // namespace

const Command fetchCommand{
    .name = "fetch",
    .arguments = "DEVICE ID OUT [--volumes DIR]",
    .summary = "copy the ride or course ID (an id or file name from 'activities') from DEVICE "
               "to the file OUT, replacing it",
    .run = fetch,
};

} // namespace zuvo::cli
