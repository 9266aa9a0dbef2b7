#include "cli/TourCommand.h"

#include "cli/CommandLine.h"
#include "cli/RideInput.h"
#include "formats/BrytonTourWriter.h"

#include <QDir>

namespace zuvo::cli {

namespace {

int tour(const QStringList& arguments)
{
    if (arguments.size() != 3)
        return usage(tourCommand);
    const QString& name = arguments[2];
    // The name becomes four file names inside OUTDIR and nothing else.
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name == QLatin1String(".") ||
        name == QLatin1String(".."))
        return fail(QStringLiteral("'%1' cannot name a tour file").arg(name));

    const auto input = RideInput::read(arguments[0], app::RideRead::strict);
    if (!input)
        return fail(input.error());
    formats::BrytonTour tour{.name = name};
    tour.points.reserve(input->samples.size());
    for (const auto& sample : input->samples)
        tour.points.push_back(sample.coordinate);

    const QDir directory(arguments[1]);
    if (!directory.mkpath(QStringLiteral(".")))
        return fail(QStringLiteral("%1: cannot create the directory").arg(arguments[1]));
    using Writer = formats::BrytonTourWriter;
    const struct {
        const char* extension;
        QByteArray (*contents)(const formats::BrytonTour&);
    } files[] = {{".fit", Writer::fitData},
                 {".tinfo", Writer::tinfoData},
                 {".smy", Writer::smyData},
                 {".track", Writer::trackData}};
    for (const auto& file : files) {
        const QString path = directory.filePath(name + QLatin1String(file.extension));
        if (const auto error = writeFile(path, file.contents(tour)))
            return fail(*error);
    }
    return 0;
}

} // namespace

const Command tourCommand{
    .name = "tour",
    .arguments = "IN.gpx OUTDIR NAME",
    .summary = "write NAME.fit, .tinfo, .smy and .track for a Bryton device from the first "
               "track or route of IN into OUTDIR",
    .run = tour,
};

} // namespace zuvo::cli
