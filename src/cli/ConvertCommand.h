#pragma once

#include "cli/Command.h"

namespace zuvo::cli {

// convert IN OUT.gpx: a ride from a FIT, Bryton or GPX file as a ride GPX.
extern const Command convertCommand;

} // namespace zuvo::cli
