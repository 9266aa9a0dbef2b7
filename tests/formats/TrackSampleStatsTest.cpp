#include "model/TrackSampleStats.h"

#include <QDateTime>

#include <gtest/gtest.h>

using namespace zuvo::model;

namespace {

QDateTime at(int seconds)
{
    return QDateTime::fromSecsSinceEpoch(1'714'551'300 + seconds, Qt::UTC);
}

// Samples along a meridian: 0.01° of latitude is 1,111.95 m.
TrackSample sample(double latitude, std::optional<double> elevation = std::nullopt)
{
    return {.coordinate = {latitude, 11.0, elevation}};
}

} // namespace

TEST(TrackSampleStats, distanceDurationAndSpeeds)
{
    EXPECT_FALSE(TrackSampleStats::compute({}, 1.0));

    std::vector<TrackSample> ride{sample(48.0), sample(48.05), sample(48.0 + 0.0899322)};
    ride.front().timestamp = at(0);
    ride.back().timestamp = at(1800);
    auto stats = *TrackSampleStats::compute(ride, 1.0);
    EXPECT_NEAR(stats.distance, 10'000.0, 0.1);
    EXPECT_EQ(stats.duration, 1800.0);
    EXPECT_NEAR(*stats.averageSpeed, 20.0, 1e-3);
    EXPECT_FALSE(stats.maxSpeed);
    EXPECT_FALSE(stats.ascent);

    ride[0].speedMS = 5.0;
    ride[2].speedMS = 10.0;
    ride[1].heartRate = 120;
    ride[2].heartRate = 151;
    ride[0].temperature = -2;
    ride[2].temperature = 7;
    ride.back().timestamp.reset();
    stats = *TrackSampleStats::compute(ride, 1.0);
    EXPECT_FALSE(stats.duration);
    EXPECT_DOUBLE_EQ(*stats.averageSpeed, 27.0);
    EXPECT_DOUBLE_EQ(*stats.maxSpeed, 36.0);
    EXPECT_EQ(stats.averageHeartRate, 135.5);
    EXPECT_EQ(stats.maxHeartRate, 151);
    EXPECT_EQ(stats.minTemperature, -2);
    EXPECT_EQ(stats.maxTemperature, 7);

    // A clock that runs backwards gives no duration.
    ride.back().timestamp = at(-5);
    EXPECT_FALSE(TrackSampleStats::compute(ride, 1.0)->duration);
}

TEST(TrackSampleStats, ascentAndDescentWithHysteresis)
{
    const auto stats = [](std::vector<std::optional<double>> elevations) {
        std::vector<TrackSample> samples;
        for (const auto& e : elevations)
            samples.push_back(sample(48.0, e));
        return *TrackSampleStats::compute(samples, 1.0);
    };
    auto s = stats({100.0, 100.6, std::nullopt, 101.2, 100.5});
    EXPECT_NEAR(*s.ascent, 1.2, 1e-9);
    EXPECT_EQ(s.descent, 0.0);

    s = stats({100.0, 103.0, 101.9, 101.5, 99.0});
    EXPECT_NEAR(*s.ascent, 3.0, 1e-9);
    EXPECT_NEAR(*s.descent, 4.0, 1e-9);

    s = stats({std::nullopt, 250.0});
    EXPECT_EQ(s.ascent, 0.0);
    EXPECT_EQ(s.descent, 0.0);
}
