#pragma once

#include "cli/Command.h"

namespace zuvo::cli {

// tour IN.gpx OUTDIR NAME: the four Bryton tour files of a route.
extern const Command tourCommand;

} // namespace zuvo::cli
