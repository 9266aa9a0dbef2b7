#pragma once

#include "cli/Command.h"

namespace zuvo::cli {

// activities DEVICE [--courses] [--volumes DIR]: the rides (or courses) on a
// device, newest first.
extern const Command activitiesCommand;

} // namespace zuvo::cli
