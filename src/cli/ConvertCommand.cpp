#include "cli/ConvertCommand.h"

#include "cli/CommandLine.h"
#include "cli/RideInput.h"
#include "formats/GPXWriter.h"

#include <QFile>

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
    // never needs to be in memory whole.
    const QString& out = arguments[1];
    QFile file(out);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(QStringLiteral("%1: cannot write (%2)").arg(out, file.errorString()));
    const formats::GPXWriter writer{.creator = QStringLiteral("zuvo")};
    const bool written = writer.write(ride->samples, ride->name, [&](QByteArrayView piece) {
        return file.write(piece.data(), piece.size()) == piece.size();
    });
    if (!written || !file.flush()) {
        const QString reason = file.errorString();
        file.remove();
        return fail(QStringLiteral("%1: cannot write (%2)").arg(out, reason));
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
