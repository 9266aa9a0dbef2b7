#include "cli/ConvertCommand.h"

#include "cli/CommandLine.h"
#include "cli/RideInput.h"
#include "formats/GPXWriter.h"

namespace zuvo::cli {

namespace {

int convert(const QStringList& arguments)
{
    if (arguments.size() != 2)
        return usage(convertCommand);
    const auto ride = RideInput::read(arguments[0]);
    if (!ride)
        return fail(ride.error());
    const formats::GPXWriter writer{.creator = QStringLiteral("zuvo")};
    if (const auto error = writeFile(arguments[1], writer.write(ride->samples, ride->name)))
        return fail(*error);
    return 0;
}

} // namespace

const Command convertCommand{
    .name = "convert",
    .arguments = "IN OUT.gpx",
    .summary = "write the ride in IN (.fit, .track or .gpx) as a GPX ride file",
    .run = convert,
};

} // namespace zuvo::cli
