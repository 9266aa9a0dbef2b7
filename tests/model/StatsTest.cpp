#include "model/ClimbCategory.h"
#include "model/GradeScale.h"
#include "model/RouteStats.h"
#include "model/ShownTrack.h"
#include "model/TrackMetricSeries.h"

#include <gtest/gtest.h>

using namespace zuvo::model;
namespace Series = TrackMetricSeries;

namespace {

RouteSegment segment(double meters, std::optional<QString> surface)
{
    return {.coordinates = {}, .distance = meters, .surface = std::move(surface)};
}

} // namespace

TEST(RouteStats, surfaceSharesCountEveryLegAndExactNamesOnly)
{
    Route route;
    EXPECT_EQ(RouteStats::surfaceShares(route), RouteStats::SurfaceShares{});
    route.legs = {RouteLeg{{segment(3000, "asphalt"), segment(500, "compacted")}}, std::nullopt};
    route.closingLeg = RouteLeg{{segment(500, "compacted"), segment(1000, std::nullopt)}};
    const auto shares = RouteStats::surfaceShares(route);
    EXPECT_DOUBLE_EQ(shares.paved, 0.6);
    EXPECT_DOUBLE_EQ(shares.unpaved, 0.2);
    EXPECT_DOUBLE_EQ(shares.unknown, 0.2);

    route.legs = {RouteLeg{{segment(1000, "Asphalt")}}};
    route.closingLeg.reset();
    EXPECT_DOUBLE_EQ(RouteStats::surfaceShares(route).unknown, 1.0);
}

TEST(RouteStats, durationsAndEstimatedTimes)
{
    EXPECT_EQ(RouteStats::formattedDuration(1896), "32 min") << "rounded, not cut";
    EXPECT_EQ(RouteStats::formattedDuration(3569), "59 min");
    EXPECT_EQ(RouteStats::formattedDuration(3599), "1:00 h");
    EXPECT_EQ(RouteStats::formattedDuration(3600), "1:00 h");
    EXPECT_EQ(RouteStats::formattedDuration(7500), "2:05 h");
    EXPECT_EQ(RouteStats::formattedDuration(0), "0 min");
    EXPECT_DOUBLE_EQ(RouteStats::estimatedSeconds(50'000, 500, CostingKind::road), 7500);
    EXPECT_DOUBLE_EQ(RouteStats::estimatedSeconds(50'000, 500, CostingKind::motorcycle), 3300);
    EXPECT_DOUBLE_EQ(RouteStats::estimatedSeconds(16'000, 0, CostingKind::mtb), 3600);
}

TEST(RouteStats, coordinateAlongAPolyline)
{
    const std::vector<Coordinate> line{{50.0, 7.0, 100.0}, {50.0, 7.01, 120.0}, {50.01, 7.01}};
    EXPECT_FALSE(RouteStats::coordinate(10, {}));
    EXPECT_EQ(RouteStats::coordinate(0, line), line.front()) << "with its elevation";
    const double first = line[0].distance(line[1]);
    const auto half = RouteStats::coordinate(first / 2, line);
    ASSERT_TRUE(half);
    EXPECT_DOUBLE_EQ(half->longitude, 7.005);
    EXPECT_FALSE(half->elevation);
    EXPECT_EQ(RouteStats::coordinate(1e9, line), line.back());
}

TEST(RouteStats, gradeColoursMixTheirNeighbouringStops)
{
    EXPECT_EQ(GradeScale::color(4.5), (GradeScale::Color{236, 163, 70})) << "halfway 3 % → 6 %";
    EXPECT_EQ(GradeScale::color(-20).hex(), "#2F6FA8");
    EXPECT_EQ(GradeScale::color(30).hex(), "#5C0D0D");
    EXPECT_EQ(GradeScale::color(0).hex(), "#C9C2B4");
}

TEST(RouteStats, climbCategoriesFromLengthTimesGrade)
{
    auto climb = [](double length, double grade) {
        return GradeProfile::Climb{.id = QUuid(),
                                   .startDistance = 100,
                                   .endDistance = 100 + length,
                                   .gain = length * grade / 100,
                                   .averageGrade = grade};
    };
    EXPECT_FALSE(climbCategory(climb(1000, 7.99)));
    EXPECT_EQ(climbCategory(climb(1000, 8)), ClimbCategory::cat4);
    EXPECT_EQ(climbCategory(climb(2000, 8)), ClimbCategory::cat3);
    EXPECT_EQ(climbCategory(climb(4000, 8)), ClimbCategory::cat2);
    EXPECT_EQ(climbCategory(climb(8000, 8)), ClimbCategory::cat1);
    EXPECT_EQ(climbCategory(climb(10000, 7.99)), ClimbCategory::cat1);
    EXPECT_EQ(climbCategory(climb(10000, 8)), ClimbCategory::hc);
    EXPECT_EQ(label(ClimbCategory::cat3), "Cat 3");
    EXPECT_EQ(label(ClimbCategory::hc), "HC");
}

TEST(TrackStats, metricSeriesDownsamplingAndDomains)
{
    std::vector<TrackSample> samples{
        {.coordinate = {50.0, 7.0, 100.0}, .heartRate = 120},
        {.coordinate = {50.0, 7.01}, .speedMS = 5.0},
        {.coordinate = {50.0, 7.02, 104.0}},
    };
    const auto elevation = Series::series(samples, Series::Metric::elevation);
    ASSERT_TRUE(elevation);
    ASSERT_EQ(elevation->size(), 2u);
    EXPECT_NEAR(elevation->back().distanceKm, 1.43, 0.01) << "distance over every sample";
    EXPECT_EQ(Series::series(samples, Series::Metric::speed)->front().value, 18.0);
    EXPECT_FALSE(Series::series(samples, Series::Metric::temperature));

    std::vector<Series::Point> points;
    for (int i = 0; i < 1000; ++i)
        points.push_back({i / 100.0, i == 500 ? 900.0 : (i == 501 ? -5.0 : double(i % 7))});
    const auto thinned = Series::downsample(points, 600);
    EXPECT_LE(thinned.size(), 500u) << "buckets of 4, two points each at most";
    EXPECT_TRUE(std::ranges::is_sorted(thinned, {}, &Series::Point::distanceKm));
    EXPECT_EQ(std::ranges::count(thinned, 900.0, &Series::Point::value), 1) << "the peak stays";
    EXPECT_EQ(std::ranges::count(thinned, -5.0, &Series::Point::value), 1) << "the dip stays";
    points.resize(500);
    EXPECT_EQ(Series::downsample(points, 600), points);

    EXPECT_EQ(Series::yDomain({}, 0.08), std::make_pair(0.0, 1.0));
    EXPECT_EQ(Series::yDomain(std::vector<Series::Point>{{0, 0}}, 0.08), std::make_pair(-1.0, 1.0));
    const auto range = Series::yDomain(std::vector<Series::Point>{{0, 100}, {1, 200}}, 0.08);
    EXPECT_DOUBLE_EQ(range.first, 92);
    EXPECT_DOUBLE_EQ(range.second, 208);
}

TEST(TrackStats, shownTrackColoursAndDates)
{
    EXPECT_EQ(ShownTrack::stableHash("ab"), 97 * 31 + 98);
    // Characters beyond the basic plane count once, as their code point.
    EXPECT_EQ(ShownTrack::stableHash(QString::fromUcs4(U"\U0001F37A")), 0x1F37A);
    const QString longName(200, QChar('z'));
    const int slot = ShownTrack::colorIndexFor(longName);
    EXPECT_GE(slot, 0);
    EXPECT_LT(slot, 6);
    EXPECT_EQ(slot, ShownTrack::colorIndexFor(longName));

    const QDateTime fallback(QDate(2020, 1, 2), QTime(3, 4));
    EXPECT_EQ(ShownTrack::dateFromName("2024-05-01-07-30-00-ride", fallback),
              QDateTime(QDate(2024, 5, 1), QTime(7, 30)));
    EXPECT_EQ(ShownTrack::dateFromName("2024-05-01_Morgenrunde", fallback),
              QDateTime(QDate(2024, 5, 1), QTime(0, 0)));
    EXPECT_EQ(ShownTrack::dateFromName("2024-05-01", fallback),
              QDateTime(QDate(2024, 5, 1), QTime(0, 0)));
    EXPECT_EQ(ShownTrack::dateFromName("2024-05-01x", fallback), fallback);
    EXPECT_EQ(ShownTrack::dateFromName("Morgenrunde", fallback), fallback);
    EXPECT_EQ(ShownTrack::dateFromName("2024-13-45_bad", fallback), fallback);
}
