#pragma once

#include "model/GradeProfile.h"

#include <optional>

// Numbers the panels and tools show for a planned route.
namespace zuvo::model::RouteStats {

// Metres climbed along the smoothed profile; 0 without a profile.
double ascentMeters(const std::optional<GradeProfile>& profile);
// Metres descended along the smoothed profile; 0 without a profile.
double descentMeters(const std::optional<GradeProfile>& profile);

} // namespace zuvo::model::RouteStats
