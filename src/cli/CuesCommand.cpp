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
    if (const auto problem = app::cueListProblem(
            source->route, source->kind.value_or(model::CostingKind::road), true)) {
        warn(arguments[0] + QStringLiteral(": ") + *problem);
        return 0;
    }
    for (const auto& row : app::cueRows(source->route))
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
