#include "model/GradeProfile.h"

#include <algorithm>

namespace zuvo::model {

GradeProfile GradeProfile::compute(const Route& route, int smoothingWindow, double climbThreshold,
                                   double minimumClimbLength)
{
    return compute(route.coordinates(), smoothingWindow, climbThreshold, minimumClimbLength);
}

GradeProfile GradeProfile::compute(std::span<const Coordinate> points, int smoothingWindow,
                                   double climbThreshold, double minimumClimbLength)
{
    const std::size_t n = points.size();
    if (n < 2)
        return {};

    GradeProfile profile;
    auto& samples = profile.samples;
    samples.resize(n);
    for (std::size_t i = 1; i < n; ++i)
        samples[i].distance = samples[i - 1].distance + points[i - 1].distance(points[i]);
    const double total = samples.back().distance;
    if (!(total > 0.0))
        return {};

    const auto window = static_cast<std::size_t>(std::max(smoothingWindow, 0));
    const bool smooth = window >= 2 && window < n;
    const std::size_t half = window / 2;
    for (std::size_t i = 0; i < n; ++i) {
        if (!smooth) {
            samples[i].elevation = points[i].elevation.value_or(0.0);
            continue;
        }
        const std::size_t lo = i >= half ? i - half : 0;
        const std::size_t hi = std::min(i + half, n - 1);
        double sum = 0.0;
        for (std::size_t j = lo; j <= hi; ++j)
            sum += points[j].elevation.value_or(0.0);
        samples[i].elevation = sum / static_cast<double>(hi - lo + 1);
    }

    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t lo = i >= 2 ? i - 2 : 0;
        const std::size_t hi = std::min(i + 2, n - 1);
        const double run = samples[hi].distance - samples[lo].distance;
        // Below a metre of run the rise is noise, not a grade.
        samples[i].grade =
            run > 1.0 ? (samples[hi].elevation - samples[lo].elevation) / run * 100.0 : 0.0;
        samples[i].progress = samples[i].distance / total;
    }

    profile.climbs = detectClimbs(samples, climbThreshold, minimumClimbLength);
    return profile;
}

std::optional<double> GradeProfile::grade(double distance) const
{
    if (samples.empty())
        return std::nullopt;
    const auto byDistance = [](const Sample& s, double d) { return s.distance < d; };
    auto it = std::lower_bound(samples.begin(), samples.end(), distance, byDistance);
    if (it == samples.end()) {
        --it;
    } else if (it != samples.begin()) {
        const auto before = std::prev(it);
        if (distance - before->distance <= it->distance - distance)
            it = before;
    }
    // Several samples may share a distance; the earliest of them wins.
    it = std::lower_bound(samples.begin(), it, it->distance, byDistance);
    return it->grade;
}

std::vector<GradeProfile::Climb> detectClimbs(std::span<const GradeProfile::Sample> samples,
                                              double threshold, double minimumLength)
{
    std::vector<GradeProfile::Climb> climbs;
    std::optional<std::size_t> start;

    const auto close = [&](std::size_t end) {
        const std::size_t s = *start;
        start.reset();
        const double length = samples[end].distance - samples[s].distance;
        const double gain = samples[end].elevation - samples[s].elevation;
        if (length < minimumLength || !(gain > 0.0))
            return;
        double maxGrade = samples[s].grade;
        for (std::size_t i = s + 1; i <= end; ++i)
            maxGrade = std::max(maxGrade, samples[i].grade);
        climbs.push_back({
            .id = QUuid::createUuid(),
            .startDistance = samples[s].distance,
            .endDistance = samples[end].distance,
            .gain = gain,
            .averageGrade = gain / length * 100.0,
            .maxGrade = maxGrade,
        });
    };

    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (samples[i].grade >= threshold) {
            if (!start)
                start = i;
        } else if (samples[i].grade < 0.4 * threshold) {
            if (start)
                close(i);
        }
    }
    if (start && !samples.empty())
        close(samples.size() - 1);
    return climbs;
}

} // namespace zuvo::model
