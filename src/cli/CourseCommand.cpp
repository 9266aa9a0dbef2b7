#include "cli/CourseCommand.h"

#include "cli/CommandLine.h"
#include "cli/CourseInput.h"
#include "cli/InputFile.h"
#include "formats/FITCourseWriter.h"
#include "formats/TCXCourseWriter.h"

#include <QDateTime>

namespace zuvo::cli {

namespace {

int course(const QStringList& arguments)
{
    QStringList positional;
    std::optional<model::CostingKind> kind;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] != QLatin1String("--profile")) {
            positional << arguments[i];
            continue;
        }
        kind = i + 1 < arguments.size() ? model::costingKindFromName(arguments[++i]) : std::nullopt;
        if (!kind)
            return usage(courseCommand);
    }
    if (positional.size() != 2)
        return usage(courseCommand);
    const auto input = InputFile::open(positional[0]);
    if (!input)
        return fail(input.error());
    const auto source = CourseInput::read(positional[0], input->bytes());
    if (!source)
        return fail(source.error());
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const model::CostingKind profile =
        kind.value_or(source->kind.value_or(model::CostingKind::road));
    const QByteArray course =
        positional[1].endsWith(QLatin1String(".tcx"), Qt::CaseInsensitive)
            ? formats::TCXCourseWriter{.created = now}.write(source->route, profile, source->name)
            : formats::FITCourseWriter{.created = now}.write(source->route, profile, source->name);
    if (const auto error = writeFile(positional[1], course))
        return fail(*error);
    return 0;
}

} // namespace

const Command courseCommand{
    .name = "course",
    .arguments = "IN.gpx OUT.fit|OUT.tcx [--profile road|gravel|mtb|motorcycle]",
    .summary = "write a FIT (or, for OUT.tcx, a TCX) course with points ahead (turns, via points, "
               "climbs) from a route document or "
               "the first track or route of any GPX; times follow the profile's planning speed "
               "(by default the document's, else road)",
    .run = course,
};

} // namespace zuvo::cli
