#include "cli/ConvertCommand.h"

#include "cli/CommandLine.h"
#include "cli/RideInput.h"
#include "devices/FileReplacement.h"
#include "devices/FileSystemError.h"
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
    // Streamed: a long ride's GPX is many times the size of its FIT file and
    // never needs to be in memory whole. An existing OUT is replaced only by
    // a whole file.
    try {
        devices::FileReplacement file(arguments[1]);
        const formats::GPXWriter writer{.creator = QStringLiteral("zuvo")};
        writer.write(ride->samples, ride->name, [&](QByteArrayView piece) {
            file.write(piece);
            return true;
        });
        file.commit();
    } catch (const devices::FileSystemError& error) {
        return fail(error.description());
    }
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
