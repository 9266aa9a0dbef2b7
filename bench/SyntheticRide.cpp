#include "SyntheticRide.h"

#include "formats/detail/FitEncoding.h"

#include <cmath>
#include <cstdint>

namespace zuvo::bench {

namespace {

constexpr std::int64_t fitEpoch = 631'065'600;
constexpr std::int64_t start = 1'714'551'300; // 2024-05-01T08:15:00Z

std::uint32_t semicircles(double degrees)
{
    return std::uint32_t(std::int32_t(std::lround(degrees / 180.0 * 2147483648.0)));
}

std::uint32_t fitTime(const model::TrackSample& sample)
{
    return std::uint32_t(sample.timestamp->toSecsSinceEpoch() - fitEpoch);
}

} // namespace

std::vector<model::TrackSample> syntheticRide(std::size_t count)
{
    std::vector<model::TrackSample> ride;
    ride.reserve(count);
    double lat = 48.0;
    double lon = 11.0;
    for (std::size_t i = 0; i < count; ++i) {
        const double t = double(i);
        lat += 0.00002 * std::cos(t / 900.0);
        lon += 0.00003 * std::sin(t / 1300.0) + 0.00001;
        const double elevation = 500.0 + 120.0 * std::sin(t / 4000.0) + 3.0 * std::sin(t / 7.0);
        ride.push_back({
            .coordinate = {lat, lon, std::round(elevation * 10.0) / 10.0},
            .timestamp = QDateTime::fromSecsSinceEpoch(start + std::int64_t(i), Qt::UTC),
            .speedMS = std::round((7.0 + 2.0 * std::sin(t / 60.0)) * 1000.0) / 1000.0,
            .heartRate = 130 + int(20.0 * std::sin(t / 300.0)),
            .temperature = 18 + int(4.0 * std::sin(t / 5000.0)),
        });
    }
    return ride;
}

QByteArray syntheticFit(std::span<const model::TrackSample> ride)
{
    using namespace formats::detail;
    LittleEndian fit;
    // file_id: type (activity), manufacturer, time created.
    defineFitMessage(fit, 0, 0, {{0, 1, enumType}, {1, 2, uint16}, {4, 4, uint32}});
    fit << std::uint8_t(0) << std::uint8_t(4) << std::uint16_t(1)
        << (ride.empty() ? 0u : fitTime(ride.front()));

    defineFitMessage(fit, 1, 20,
                     {{253, 4, uint32},
                      {0, 4, sint32},
                      {1, 4, sint32},
                      {78, 4, uint32},
                      {73, 4, uint32},
                      {5, 4, uint32},
                      {3, 1, uint8Type},
                      {4, 1, uint8Type},
                      {13, 1, sint8Type}});
    double distance = 0.0;
    for (std::size_t i = 0; i < ride.size(); ++i) {
        const auto& s = ride[i];
        if (i > 0)
            distance += ride[i - 1].coordinate.distance(s.coordinate);
        fit << std::uint8_t(1) << fitTime(s) << semicircles(s.coordinate.latitude)
            << semicircles(s.coordinate.longitude)
            << std::uint32_t(std::lround((*s.coordinate.elevation + 500.0) * 5.0))
            << std::uint32_t(std::lround(*s.speedMS * 1000.0))
            << std::uint32_t(std::lround(distance * 100.0)) << std::uint8_t(*s.heartRate)
            << std::uint8_t(85) << std::int8_t(*s.temperature);
    }

    // session: timestamp, start time, total elapsed time (ms).
    defineFitMessage(fit, 2, 18, {{253, 4, uint32}, {2, 4, uint32}, {7, 4, uint32}});
    if (!ride.empty()) {
        fit << std::uint8_t(2) << fitTime(ride.back()) << fitTime(ride.front())
            << std::uint32_t((fitTime(ride.back()) - fitTime(ride.front())) * 1000);
    }
    return fitFile(fit.bytes(), 0x20, 2167);
}

} // namespace zuvo::bench
