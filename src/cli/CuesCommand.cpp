#include "cli/CuesCommand.h"

#include "app/planner/CueList.h"
#include "cli/CommandLine.h"
#include "cli/CourseInput.h"
#include "cli/InputFile.h"

#include <cstdio>

namespace zuvo::cli {

namespace {

int cues(const QStringList& arguments)
{
    if (arguments.size() != 1)
        return usage(cuesCommand);
    const auto input = InputFile::open(arguments[0]);
    if (!input)
        return fail(input.error());
    const auto source = CourseInput::read(arguments[0], input->bytes());
    if (!source)
        return fail(source.error());
    const auto rows = app::cueRows(source->route);
    if (rows.empty())
        warn(arguments[0] + QStringLiteral(": no turn cues (saved without them, or a motorcycle "
                                           "route)"));
    for (const auto& row : rows)
        std::printf("%s\n", app::cueLine(row).toUtf8().constData());
    return 0;
}

} // namespace

const Command cuesCommand{
    .name = "cues",
    .arguments = "IN.gpx",
    .summary = "print the turn cues saved with a plan, one line each: km from the start, sign, "
               "street and the routing server's text, separated by tabs",
    .run = cues,
};

} // namespace zuvo::cli
