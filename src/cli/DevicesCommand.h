#pragma once

#include "cli/Command.h"

namespace zuvo::cli {

// devices [--volumes DIR]: the bike computers that can be reached.
extern const Command devicesCommand;

} // namespace zuvo::cli
