#include "SyntheticRide.h"

#include "formats/detail/FitCrc.h"

#include <QtEndian>

#include <array>
#include <cmath>
#include <cstdint>

namespace zuvo::bench {

namespace {

constexpr std::int64_t fitEpoch = 631'065'600;
constexpr std::int64_t start = 1'714'551'300; // 2024-05-01T08:15:00Z

class FitData {
public:
    template <typename T>
    FitData& operator<<(T value)
    {
        char bytes[sizeof(T)];
        qToLittleEndian(value, bytes);
        m_bytes.append(bytes, sizeof(T));
        return *this;
    }

    // Little-endian definition message; fields are (number, size, base type).
    void define(std::uint8_t local, std::uint16_t global,
                std::initializer_list<std::array<std::uint8_t, 3>> fields)
    {
        *this << std::uint8_t(0x40 | local) << std::uint8_t(0) << std::uint8_t(0) << global
              << std::uint8_t(fields.size());
        for (const auto& field : fields)
            m_bytes.append(reinterpret_cast<const char*>(field.data()), 3);
    }

    QByteArray file() const
    {
        QByteArray out;
        out.append(char(14)).append(char(0x20));
        FitData header;
        header << std::uint16_t(2167) << std::uint32_t(m_bytes.size());
        out.append(header.m_bytes).append(".FIT");
        appendCrc(out);
        out.append(m_bytes);
        appendCrc(out);
        return out;
    }

private:
    static void appendCrc(QByteArray& out)
    {
        const std::uint16_t crc = formats::detail::fitCrc(out);
        out.append(char(crc & 0xFF)).append(char(crc >> 8));
    }

    QByteArray m_bytes;
};

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
    FitData fit;
    // file_id: type (activity), manufacturer, time created.
    fit.define(0, 0, {{{0, 1, 0x00}}, {{1, 2, 0x84}}, {{4, 4, 0x86}}});
    fit << std::uint8_t(0) << std::uint8_t(4) << std::uint16_t(1)
        << (ride.empty() ? 0u : fitTime(ride.front()));

    fit.define(1, 20,
               {{{253, 4, 0x86}},
                {{0, 4, 0x85}},
                {{1, 4, 0x85}},
                {{78, 4, 0x86}},
                {{73, 4, 0x86}},
                {{5, 4, 0x86}},
                {{3, 1, 0x02}},
                {{4, 1, 0x02}},
                {{13, 1, 0x01}}});
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
    fit.define(2, 18, {{{253, 4, 0x86}}, {{2, 4, 0x86}}, {{7, 4, 0x86}}});
    if (!ride.empty()) {
        fit << std::uint8_t(2) << fitTime(ride.back()) << fitTime(ride.front())
            << std::uint32_t((fitTime(ride.back()) - fitTime(ride.front())) * 1000);
    }
    return fit.file();
}

} // namespace zuvo::bench
