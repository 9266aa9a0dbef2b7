#pragma once

#include "cli/Command.h"

namespace zuvo::cli {

// Plans a route headlessly on a GraphHopper server with the planner the
// application uses, and prints its distance, ascent and size as JSON.
extern const Command planCommand;

} // namespace zuvo::cli
