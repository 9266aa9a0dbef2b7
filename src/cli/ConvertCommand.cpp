#include "cli/ConvertCommand.h"

#include "cli/CommandLine.h"
#include "cli/RideInput.h"
#include "devices/FileReplacement.h"
#include "devices/FileSystemError.h"
#include "formats/GPXWriter.h"

#include <QFileInfo>

namespace zuvo::cli {

namespace {

int convert(const QStringList& arguments)
{
    const auto parsed = RideArguments::parse(arguments);
    if (!parsed || parsed->files.size() != 2)
        return usage(convertCommand);
    const QString& in = parsed->files[0];
    const QString& out = parsed->files[1];
    const auto ride = RideInput::read(in, parsed->mode);
    if (!ride)
        return fail(ride.error());
    if (!ride->recovered.isEmpty()) {
        // The damaged file is all there is of the ride: it is never replaced by what was read.
        if (QFileInfo(in).canonicalFilePath() == QFileInfo(out).canonicalFilePath())
            return fail(out + QStringLiteral(": a recovered ride is not written over its source"));
        warn(in + QStringLiteral(": ") + ride->recovered);
    }
    // Streamed: a long ride's GPX is many times the size of its FIT file and
    // never needs to be in memory whole. An existing OUT is replaced only by
    // a whole file.
    try {
        devices::FileReplacement file(out);
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
    .arguments = "IN OUT.gpx [--recover]",
    .summary = "write the ride in IN (.fit, .track or .gpx) as a GPX ride file; with --recover a "
               "damaged FIT file is read up to the damage, with a warning",
    .run = convert,
};

} // namespace zuvo::cli
