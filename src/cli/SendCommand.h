#pragma once

#include "cli/Command.h"

namespace zuvo::cli {

// send DEVICE FILE.gpx [--name NAME] [--fit [--profile P]] [--volumes DIR]: a
// course onto a device.
extern const Command sendCommand;

} // namespace zuvo::cli
