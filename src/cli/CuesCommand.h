#pragma once

#include "cli/Command.h"

namespace zuvo::cli {

// cues IN: the turn cues of a saved plan, one tab-separated line each.
extern const Command cuesCommand;

} // namespace zuvo::cli
