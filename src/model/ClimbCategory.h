#pragma once

#include "model/GradeProfile.h"

#include <QString>

#include <optional>

namespace zuvo::model {

// How hard a climb is, in the categories of road racing: from Cat 4, the easiest that counts,
// up to HC, beyond category.
enum class ClimbCategory { cat4, cat3, cat2, cat1, hc };

// The category from the climb's score, its length in metres times its average grade in percent;
// none for a score below 8,000.
std::optional<ClimbCategory> climbCategory(const GradeProfile::Climb& climb);

// "Cat 4" … "Cat 1", "HC".
QString label(ClimbCategory category);

} // namespace zuvo::model
