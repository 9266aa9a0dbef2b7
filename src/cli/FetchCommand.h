#pragma once

#include "cli/Command.h"

namespace zuvo::cli {

// fetch DEVICE ID OUT [--volumes DIR]: copies one ride or course off a device.
extern const Command fetchCommand;

} // namespace zuvo::cli
