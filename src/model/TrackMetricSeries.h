#pragma once

#include "model/TrackSample.h"

#include <QString>

#include <array>
#include <optional>
#include <span>
#include <utility>
#include <vector>

// The chart series of a recorded track: one metric against the distance ridden.
namespace zuvo::model::TrackMetricSeries {

enum class Metric {
    elevation,   // metres
    speed,       // km/h
    heartRate,   // beats per minute
    temperature, // °C
};

inline constexpr std::array allMetrics{Metric::elevation, Metric::speed, Metric::heartRate,
                                       Metric::temperature};

QString name(Metric metric);

struct Point {
    double distanceKm = 0.0;
    double value = 0.0;

    bool operator==(const Point&) const = default;
};

// One point per sample that carries the metric, at the distance along all samples; absent when
// no sample carries it.
std::optional<std::vector<Point>> series(std::span<const TrackSample> samples, Metric metric);

// Whether any sample carries the metric: what `series` would be present for, without building it.
bool carries(std::span<const TrackSample> samples, Metric metric);

// Thins a series to about `target` points by keeping each bucket's lowest and highest value, so
// that peaks survive. Short series and targets below 2 come back unchanged.
std::vector<Point> downsample(std::span<const Point> points, int target);

// The value range to chart, widened by `padding` of the span on both sides (by at least 1 for a
// flat series); (0, 1) for no points.
std::pair<double, double> yDomain(std::span<const Point> points, double padding);

} // namespace zuvo::model::TrackMetricSeries
