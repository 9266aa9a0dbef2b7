#include "model/TrackMetricSeries.h"

#include <algorithm>
#include <cmath>

namespace zuvo::model::TrackMetricSeries {

namespace {

std::optional<double> valueOf(const TrackSample& sample, Metric metric)
{
    switch (metric) {
    case Metric::elevation:
        return sample.coordinate.elevation;
    case Metric::speed:
        if (sample.speedMS)
            return *sample.speedMS * 3.6;
        return std::nullopt;
    case Metric::heartRate:
        if (sample.heartRate)
            return *sample.heartRate;
        return std::nullopt;
    case Metric::temperature:
        if (sample.temperature)
            return *sample.temperature;
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

QString name(Metric metric)
{
    switch (metric) {
    case Metric::elevation:
        return QStringLiteral("elevation");
    case Metric::speed:
        return QStringLiteral("speed");
    case Metric::heartRate:
        return QStringLiteral("heartRate");
    case Metric::temperature:
        return QStringLiteral("temperature");
    }
    return {};
}

std::optional<std::vector<Point>> series(std::span<const TrackSample> samples, Metric metric)
{
    std::vector<Point> points;
    double distance = 0.0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (i > 0)
            distance += samples[i - 1].coordinate.distance(samples[i].coordinate);
        if (const auto value = valueOf(samples[i], metric))
            points.push_back({distance / 1000.0, *value});
    }
    if (points.empty())
        return std::nullopt;
    return points;
}

bool carries(std::span<const TrackSample> samples, Metric metric)
{
    return std::any_of(samples.begin(), samples.end(),
                       [metric](const TrackSample& s) { return valueOf(s, metric).has_value(); });
}

std::vector<Point> downsample(std::span<const Point> points, int target)
{
    if (target < 2 || points.size() <= static_cast<std::size_t>(target))
        return {points.begin(), points.end()};
    const auto half = static_cast<std::size_t>(target / 2);
    const std::size_t bucket = (points.size() + half - 1) / half;
    std::vector<Point> kept;
    kept.reserve(2 * half);
    for (std::size_t start = 0; start < points.size(); start += bucket) {
        const std::size_t end = std::min(start + bucket, points.size());
        // The first lowest and the first highest point of the bucket.
        std::size_t lowest = start;
        std::size_t highest = start;
        for (std::size_t i = start + 1; i < end; ++i) {
            if (points[i].value < points[lowest].value)
                lowest = i;
            if (points[i].value > points[highest].value)
                highest = i;
        }
        const Point& low = points[lowest];
        const Point& high = points[highest];
        if (low == high) {
            kept.push_back(low);
        } else if (high.distanceKm < low.distanceKm) {
            kept.push_back(high);
            kept.push_back(low);
        } else {
            kept.push_back(low);
            kept.push_back(high);
        }
    }
    return kept;
}

std::pair<double, double> yDomain(std::span<const Point> points, double padding)
{
    if (points.empty())
        return {0.0, 1.0};
    const auto [lo, hi] =
        std::minmax_element(points.begin(), points.end(),
                            [](const Point& a, const Point& b) { return a.value < b.value; });
    if (lo->value < hi->value) {
        const double pad = padding * (hi->value - lo->value);
        return {lo->value - pad, hi->value + pad};
    }
    const double pad = std::max(padding * std::abs(lo->value), 1.0);
    return {lo->value - pad, hi->value + pad};
}

} // namespace zuvo::model::TrackMetricSeries
