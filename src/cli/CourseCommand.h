#pragma once

#include "cli/Command.h"

namespace zuvo::cli {

// course IN.gpx OUT.fit [--profile P]: a FIT course with points ahead.
extern const Command courseCommand;

} // namespace zuvo::cli
