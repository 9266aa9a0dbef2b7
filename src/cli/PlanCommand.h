#pragma once

#include "cli/Command.h"

namespace zuvo::cli {

// Plans a route headlessly on a GraphHopper server with the planner the
// application uses, and prints its distance, ascent and size as JSON.
extern const Command planCommand;

// Asks the server for a round trip from one position and plans it as the window would.
extern const Command loopCommand;

} // namespace zuvo::cli
