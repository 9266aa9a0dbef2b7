#include "model/RouteStats.h"

#include <algorithm>

namespace zuvo::model::RouteStats {

namespace {

// Sum of the rises (sign +1) or falls (sign −1) between consecutive samples.
double climbed(const std::optional<GradeProfile>& profile, double sign)
{
    if (!profile)
        return 0.0;
    double total = 0.0;
    const auto& samples = profile->samples;
    for (std::size_t i = 1; i < samples.size(); ++i)
        total += std::max(sign * (samples[i].elevation - samples[i - 1].elevation), 0.0);
    return total;
}

} // namespace

double ascentMeters(const std::optional<GradeProfile>& profile)
{
    return climbed(profile, 1.0);
}

double descentMeters(const std::optional<GradeProfile>& profile)
{
    return climbed(profile, -1.0);
}

} // namespace zuvo::model::RouteStats
