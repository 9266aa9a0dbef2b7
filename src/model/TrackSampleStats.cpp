#include "model/TrackSampleStats.h"

#include <algorithm>

namespace zuvo::model {

namespace {

constexpr double kmhPerMS = 3.6;

} // namespace

std::optional<TrackSampleStats> TrackSampleStats::compute(std::span<const TrackSample> samples,
                                                          double ascentThreshold)
{
    if (samples.empty())
        return std::nullopt;

    TrackSampleStats stats;
    for (std::size_t i = 1; i < samples.size(); ++i)
        stats.distance += samples[i - 1].coordinate.distance(samples[i].coordinate);

    const auto& first = samples.front().timestamp;
    const auto& last = samples.back().timestamp;
    if (first && last) {
        const double seconds = static_cast<double>(first->msecsTo(*last)) / 1000.0;
        if (seconds > 0.0)
            stats.duration = seconds;
    }

    double speedSum = 0.0;
    std::size_t speedCount = 0;
    double speedMax = 0.0;
    double heartRateSum = 0.0;
    std::size_t heartRateCount = 0;
    for (const auto& sample : samples) {
        if (sample.speedMS) {
            speedMax = speedCount == 0 ? *sample.speedMS : std::max(speedMax, *sample.speedMS);
            speedSum += *sample.speedMS;
            ++speedCount;
        }
        if (sample.heartRate) {
            heartRateSum += *sample.heartRate;
            ++heartRateCount;
            stats.maxHeartRate =
                std::max(stats.maxHeartRate.value_or(*sample.heartRate), *sample.heartRate);
        }
        if (sample.temperature) {
            stats.minTemperature =
                std::min(stats.minTemperature.value_or(*sample.temperature), *sample.temperature);
            stats.maxTemperature =
                std::max(stats.maxTemperature.value_or(*sample.temperature), *sample.temperature);
        }
    }
    if (speedCount > 0) {
        stats.averageSpeed = speedSum / static_cast<double>(speedCount) * kmhPerMS;
        stats.maxSpeed = speedMax * kmhPerMS;
    } else if (stats.duration) {
        stats.averageSpeed = stats.distance / *stats.duration * kmhPerMS;
    }
    if (heartRateCount > 0)
        stats.averageHeartRate = heartRateSum / static_cast<double>(heartRateCount);

    std::optional<double> reference;
    for (const auto& sample : samples) {
        const auto& elevation = sample.coordinate.elevation;
        if (!elevation)
            continue;
        if (!reference) {
            reference = *elevation;
            stats.ascent = 0.0;
            stats.descent = 0.0;
            continue;
        }
        const double change = *elevation - *reference;
        if (change >= ascentThreshold) {
            *stats.ascent += change;
            reference = *elevation;
        } else if (change <= -ascentThreshold) {
            *stats.descent -= change;
            reference = *elevation;
        }
    }
    return stats;
}

} // namespace zuvo::model
