#include "formats/BrytonTourWriter.h"

#include "formats/detail/FitEncoding.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace zuvo::formats {

using model::Coordinate;
using namespace detail;

namespace {

constexpr std::int64_t countLimit = 65'535;

// round(value) clamped to [low, high]; rounding is half away from zero.
std::int64_t roundedClamped(double value, std::int64_t low, std::int64_t high)
{
    if (std::isnan(value))
        return 0;
    const double rounded = std::round(value);
    if (rounded <= double(low))
        return low;
    if (rounded >= double(high))
        return high;
    return std::int64_t(rounded);
}

// Degrees as signed millionths of a degree.
std::int32_t micro(double degrees)
{
    return std::int32_t(roundedClamped(degrees * 1'000'000.0,
                                       std::numeric_limits<std::int32_t>::min(),
                                       std::numeric_limits<std::int32_t>::max()));
}

std::uint32_t roundedUnsigned32(double value)
{
    return std::uint32_t(roundedClamped(value, 0, std::numeric_limits<std::uint32_t>::max()));
}

std::uint16_t roundedUnsigned16(double value)
{
    return std::uint16_t(roundedClamped(value, 0, 65'535));
}

std::uint16_t capped(std::size_t count)
{
    return std::uint16_t(std::min<std::size_t>(count, countLimit));
}

struct Summary {
    std::int32_t maxLat = 0;
    std::int32_t minLat = 0;
    std::int32_t maxLon = 0;
    std::int32_t minLon = 0;
    double totalDistance = 0.0; // metres
    double totalClimb = 0.0;    // metres, missing elevations counting as 0 m
};

Summary summary(const std::vector<Coordinate>& points)
{
    Summary s;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const std::int32_t lat = micro(points[i].latitude);
        const std::int32_t lon = micro(points[i].longitude);
        s.maxLat = i == 0 ? lat : std::max(s.maxLat, lat);
        s.minLat = i == 0 ? lat : std::min(s.minLat, lat);
        s.maxLon = i == 0 ? lon : std::max(s.maxLon, lon);
        s.minLon = i == 0 ? lon : std::min(s.minLon, lon);
        if (i > 0) {
            s.totalDistance += points[i - 1].distance(points[i]);
            const double rise =
                points[i].elevation.value_or(0.0) - points[i - 1].elevation.value_or(0.0);
            if (rise > 0.0)
                s.totalClimb += rise;
        }
    }
    return s;
}

} // namespace

QByteArray BrytonTourWriter::fitData(const BrytonTour& tour)
{
    const auto& points = tour.points;
    const Summary s = summary(points);
    const std::uint16_t count = capped(points.size());

    std::optional<double> highest;
    std::optional<double> lowest;
    for (const auto& point : points) {
        if (!point.elevation)
            continue;
        highest = std::max(highest.value_or(*point.elevation), *point.elevation);
        lowest = std::min(lowest.value_or(*point.elevation), *point.elevation);
    }

    LittleEndian data;
    defineFitMessage(data, 0, 248, {{1, 2, uint16}, {2, 2, uint16}});
    data << std::uint8_t(0) << std::uint16_t(0) << std::uint16_t(1);

    defineFitMessage(data, 1, 254,
                     {{1, 2, uint16},
                      {2, 4, sint32},
                      {3, 4, sint32},
                      {4, 4, sint32},
                      {5, 4, sint32},
                      {6, 4, uint32},
                      {7, 2, uint16},
                      {8, 2, uint16},
                      {9, 2, uint16},
                      {10, 2, uint16}});
    data << std::uint8_t(1) << count << s.maxLat << s.minLat << s.maxLon << s.minLon
         << roundedUnsigned32(s.totalDistance) << roundedUnsigned16(highest ? *highest * 10.0 : 0.0)
         << roundedUnsigned16(lowest ? *lowest * 10.0 : 0.0) << roundedUnsigned16(s.totalClimb)
         << std::uint16_t(0);

    defineFitMessage(data, 2, 251, {{1, 2, uint16}});
    for (std::size_t i = 0; i < points.size(); ++i)
        data << std::uint8_t(2) << capped(i);

    defineFitMessage(data, 3, 253, {{1, 2, uint16}});
    data << std::uint8_t(3) << std::uint16_t(0);

    defineFitMessage(
        data, 4, 250,
        {{1, 2, uint16}, {2, 1, enumType}, {3, 4, uint32}, {4, 4, uint32}, {5, 32, stringType}});

    defineFitMessage(data, 5, 252, {{1, 2, uint16}});
    data << std::uint8_t(5) << count;

    defineFitMessage(data, 6, 249,
                     {{1, 4, sint32}, {2, 4, sint32}, {3, 2, uint16}, {4, 2, sint16}});
    for (const auto& point : points) {
        data << std::uint8_t(6) << micro(point.latitude) << micro(point.longitude)
             << roundedUnsigned16(point.elevation.value_or(0.0) * 10.0) << std::int16_t(0);
    }

    return fitFile(data.bytes(), 16, 2167);
}

QByteArray BrytonTourWriter::tinfoData(const BrytonTour&)
{
    return {};
}

QByteArray BrytonTourWriter::smyData(const BrytonTour& tour)
{
    const Summary s = summary(tour.points);
    LittleEndian out;
    out << std::uint16_t(1) << capped(tour.points.size()) << s.maxLat << s.minLat << s.maxLon
        << s.minLon << roundedUnsigned32(s.totalDistance);
    out.zeros(36);
    out << roundedUnsigned32(s.totalClimb) << std::uint32_t(0);
    return out.bytes();
}

QByteArray BrytonTourWriter::trackData(const BrytonTour& tour)
{
    LittleEndian out;
    for (const auto& point : tour.points) {
        // Elevation code: half metres minus 500, rounded down to the half
        // metre (floor of the tenths over 5); a missing elevation is 0 m.
        const double elevation =
            point.elevation && std::isfinite(*point.elevation) ? *point.elevation : 0.0;
        const double tenths = std::round(elevation * 10.0);
        const double code = std::floor(tenths / 5.0) - 500.0;
        out << micro(point.latitude) << micro(point.longitude)
            << std::int16_t(std::clamp(code, -32768.0, 32767.0)) << std::uint16_t(0)
            << std::uint32_t(0);
    }
    return out.bytes();
}

} // namespace zuvo::formats
