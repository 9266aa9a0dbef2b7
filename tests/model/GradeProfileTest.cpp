#include "model/GradeProfile.h"

#include "model/RouteStats.h"

#include <gtest/gtest.h>

using namespace zuvo::model;

namespace {

// Points along a meridian, `spacing` degrees of latitude apart.
std::vector<Coordinate> meridian(std::vector<std::optional<double>> elevations, double spacing)
{
    std::vector<Coordinate> points;
    for (std::size_t i = 0; i < elevations.size(); ++i)
        points.push_back({47.0 + spacing * static_cast<double>(i), 11.0, elevations[i]});
    return points;
}

// Samples 50 m apart with the given grades; elevation follows the grade.
std::vector<GradeProfile::Sample> samplesWithGrades(std::vector<double> grades)
{
    std::vector<GradeProfile::Sample> samples;
    double elevation = 100.0;
    for (std::size_t i = 0; i < grades.size(); ++i) {
        if (i > 0)
            elevation += grades[i] / 100.0 * 50.0;
        samples.push_back({.distance = 50.0 * static_cast<double>(i),
                           .elevation = elevation,
                           .grade = grades[i]});
    }
    return samples;
}

} // namespace

TEST(GradeProfile, routeWithoutElevationsIsFlat)
{
    const auto points = meridian({std::nullopt, std::nullopt, std::nullopt, std::nullopt}, 0.001);
    const Route route{.legs = {RouteLeg{{{.coordinates = points, .distance = 333.0}}}}};
    const auto profile = GradeProfile::compute(route, 7, 6.0, 150.0);
    ASSERT_EQ(profile.samples.size(), 4u);
    for (const auto& s : profile.samples) {
        EXPECT_EQ(s.elevation, 0.0);
        EXPECT_EQ(s.grade, 0.0);
    }
    EXPECT_TRUE(profile.climbs.empty());
    EXPECT_EQ(profile.samples.front().progress, 0.0);
    EXPECT_EQ(profile.samples.back().progress, 1.0);
    EXPECT_DOUBLE_EQ(profile.samples[1].distance, points[0].distance(points[1]));

    EXPECT_TRUE(GradeProfile::compute(Route{}, 7, 6.0, 150.0).samples.empty());
    const auto samePlace = meridian({1.0, 2.0}, 0.0);
    EXPECT_TRUE(GradeProfile::compute(samePlace, 7, 6.0, 150.0).samples.empty());
}

TEST(GradeProfile, smoothsOnlyWhenTheWindowIsSmallerThanTheRoute)
{
    const std::vector<std::optional<double>> raw{10, 20, 30, 70, 50, 60, 40};
    const auto seven = GradeProfile::compute(meridian(raw, 0.001), 7, 6.0, 150.0);
    for (std::size_t i = 0; i < raw.size(); ++i)
        EXPECT_EQ(seven.samples[i].elevation, *raw[i]);

    auto eightRaw = raw;
    eightRaw.push_back(0.0);
    const auto eight = GradeProfile::compute(meridian(eightRaw, 0.001), 7, 6.0, 150.0);
    EXPECT_DOUBLE_EQ(eight.samples[0].elevation, (10 + 20 + 30 + 70) / 4.0);
    EXPECT_DOUBLE_EQ(eight.samples[4].elevation, (20 + 30 + 70 + 50 + 60 + 40 + 0) / 7.0);
    EXPECT_DOUBLE_EQ(eight.samples[7].elevation, (50 + 60 + 40 + 0) / 4.0);

    // The grade spans two samples either side (fewer at the ends).
    const auto& s = seven.samples;
    EXPECT_DOUBLE_EQ(s[3].grade,
                     (s[5].elevation - s[1].elevation) / (s[5].distance - s[1].distance) * 100.0);
    EXPECT_DOUBLE_EQ(s[0].grade,
                     (s[2].elevation - s[0].elevation) / (s[2].distance - s[0].distance) * 100.0);
}

TEST(GradeProfile, spansUnderOneMetreHaveNoGrade)
{
    // 0.2 m apart: four steps are 0.8 m, too short for a grade.
    const auto points = meridian({0, 5, 10, 15, 20, 25}, 0.0000018);
    const auto profile = GradeProfile::compute(points, 7, 6.0, 150.0);
    ASSERT_EQ(profile.samples.size(), 6u);
    for (const auto& s : profile.samples)
        EXPECT_EQ(s.grade, 0.0);
}

TEST(GradeProfile, climbsUseHysteresis)
{
    // A dip to 3 % (above 0.4 × 6 %) keeps the climb open.
    auto climbs = detectClimbs(samplesWithGrades({0, 8, 8, 3, 8, 8, 1, 0}), 6.0, 150.0);
    ASSERT_EQ(climbs.size(), 1u);
    EXPECT_EQ(climbs[0].startDistance, 50.0);
    EXPECT_EQ(climbs[0].endDistance, 300.0) << "the closing sample belongs to the climb";
    EXPECT_DOUBLE_EQ(climbs[0].gain, (8 + 3 + 8 + 8 + 1) / 100.0 * 50.0);
    EXPECT_DOUBLE_EQ(climbs[0].averageGrade, climbs[0].gain / 250.0 * 100.0);
    EXPECT_EQ(climbs[0].maxGrade, 8.0);
    EXPECT_EQ(climbs[0].length(), 250.0);

    // A dip to 2 % ends it at that sample; the rise after starts a new one.
    climbs = detectClimbs(samplesWithGrades({0, 8, 9, 8, 8, 2, 7, 7, 7, 7, 0}), 6.0, 150.0);
    ASSERT_EQ(climbs.size(), 2u);
    EXPECT_EQ(climbs[0].startDistance, 50.0);
    EXPECT_EQ(climbs[0].endDistance, 250.0);
    EXPECT_EQ(climbs[0].maxGrade, 9.0);
    EXPECT_EQ(climbs[1].startDistance, 300.0);
    EXPECT_EQ(climbs[1].endDistance, 500.0);
    EXPECT_NE(climbs[0].id, climbs[1].id);

    // Open at the end: closed at the last sample.
    climbs = detectClimbs(samplesWithGrades({0, 0, 7, 7, 7, 7}), 6.0, 150.0);
    ASSERT_EQ(climbs.size(), 1u);
    EXPECT_EQ(climbs[0].startDistance, 100.0);
    EXPECT_EQ(climbs[0].endDistance, 250.0);
}

TEST(GradeProfile, shortOrFlatClimbsAreDropped)
{
    // 120 m of steep road is not a climb.
    auto samples = samplesWithGrades({0, 10, 10, 10, 0});
    for (auto& s : samples)
        s.distance *= 0.6;
    EXPECT_TRUE(detectClimbs(samples, 6.0, 150.0).empty());

    // Steep grades but back at the start elevation: no gain, no climb.
    samples = samplesWithGrades({0, 8, 8, 8, 8, 0});
    for (auto& s : samples)
        s.elevation = 100.0;
    EXPECT_TRUE(detectClimbs(samples, 6.0, 150.0).empty());
}

TEST(GradeProfile, gradeAtTheNearestSample)
{
    GradeProfile profile;
    EXPECT_FALSE(profile.grade(10.0));
    profile.samples = {{0, 0, 1.0, 0}, {10, 0, 2.0, 0}, {10, 0, 3.0, 0}, {30, 0, 4.0, 0}};
    EXPECT_EQ(profile.grade(-5.0), 1.0);
    EXPECT_EQ(profile.grade(5.0), 1.0) << "halfway goes to the earlier sample";
    EXPECT_EQ(profile.grade(5.1), 2.0);
    EXPECT_EQ(profile.grade(10.0), 2.0) << "equal distances: the earliest sample";
    EXPECT_EQ(profile.grade(20.0), 2.0);
    EXPECT_EQ(profile.grade(21.0), 4.0);
    EXPECT_EQ(profile.grade(1e9), 4.0);
}

TEST(GradeProfile, computeFindsAClimbOnARealisticRoute)
{
    // 1 km flat, 1 km at 8 %, 1 km flat, points about 11 m apart.
    std::vector<std::optional<double>> elevations;
    for (int i = 0; i <= 270; ++i) {
        const double along = i * 11.1;
        elevations.push_back(along < 1000   ? 300.0
                             : along < 2000 ? 300.0 + (along - 1000) * 0.08
                                            : 380.0);
    }
    const auto profile = GradeProfile::compute(meridian(elevations, 0.0001), 7, 6.0, 150.0);
    ASSERT_EQ(profile.climbs.size(), 1u);
    const auto& climb = profile.climbs[0];
    EXPECT_NEAR(climb.startDistance, 1000.0, 60.0);
    EXPECT_NEAR(climb.endDistance, 2000.0, 60.0);
    EXPECT_NEAR(climb.maxGrade, 8.0, 0.2);
    EXPECT_GT(climb.gain, 70.0);
}

TEST(RouteStats, ascentAndDescentFollowTheSmoothedProfile)
{
    EXPECT_EQ(RouteStats::ascentMeters(std::nullopt), 0.0);
    GradeProfile profile;
    for (double elevation : {100.0, 104.0, 103.0, 110.0, 90.0})
        profile.samples.push_back({.elevation = elevation});
    EXPECT_DOUBLE_EQ(RouteStats::ascentMeters(profile), 4.0 + 7.0);
    EXPECT_DOUBLE_EQ(RouteStats::descentMeters(profile), 1.0 + 20.0);
}
