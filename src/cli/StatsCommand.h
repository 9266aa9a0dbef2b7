#pragma once

#include "cli/Command.h"

namespace zuvo::cli {

// stats IN: the summary of a recorded ride as one JSON object.
extern const Command statsCommand;

} // namespace zuvo::cli
