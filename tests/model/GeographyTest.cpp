#include "model/Anchor.h"
#include "model/Polyline.h"
#include "model/Route.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace zuvo::model;

namespace {

RouteSegment segment(std::vector<Coordinate> points, double distance)
{
    return {.coordinates = std::move(points), .distance = distance};
}

} // namespace

TEST(Geography, haversineOfOneDegreeOfLatitude)
{
    const Coordinate a{48.0, 11.0};
    const Coordinate b{49.0, 11.0, 900.0};
    const double half = 0.5 * 3.141592653589793 / 180.0;
    EXPECT_NEAR(a.distance(b), 12'742'000.0 * std::atan2(std::sin(half), std::cos(half)), 1e-6);
    EXPECT_NEAR(a.distance(b), 111'194.9, 0.05);
    EXPECT_DOUBLE_EQ(a.distance(b), b.distance(a));
    EXPECT_EQ(a.distance(a), 0.0);
}

TEST(Geography, equalityIncludesElevationAndAbsentEqualsAbsent)
{
    EXPECT_EQ((Coordinate{1, 2}), (Coordinate{1, 2}));
    EXPECT_EQ((Coordinate{1, 2, 3.0}), (Coordinate{1, 2, 3.0}));
    EXPECT_NE((Coordinate{1, 2}), (Coordinate{1, 2, 0.0}));
    EXPECT_NE((Coordinate{1, 2, 3.0}), (Coordinate{1, 2, 3.5}));

    const Anchor unsnapped(Anchor::Kind::via, {48.1, 11.5});
    EXPECT_EQ(unsnapped.routingPosition(), (Coordinate{48.1, 11.5}));
    Anchor snapped = unsnapped;
    snapped.snap = Anchor::Snap{{48.2, 11.6, 520.0}, std::nullopt};
    EXPECT_EQ(snapped.routingPosition(), (Coordinate{48.2, 11.6, 520.0}));
    EXPECT_NE(snapped, unsnapped);
    EXPECT_NE(Anchor(Anchor::Kind::via, {48.1, 11.5}), unsnapped) << "a fresh id each time";

    EXPECT_EQ(anchorKindFromName(u"shaping"), Anchor::Kind::shaping);
    EXPECT_EQ(kindName(Anchor::Kind::via), "via");
    EXPECT_FALSE(anchorKindFromName(u"Via"));
}

TEST(Geography, distanceToPolyline)
{
    const Coordinate p{0.0, 0.001};
    EXPECT_EQ(distanceMeters(p, std::vector<Coordinate>{{0.0, 0.0}}),
              std::numeric_limits<double>::infinity());
    EXPECT_EQ(distanceMeters(p, std::vector<Coordinate>{}),
              std::numeric_limits<double>::infinity());
    // A zero-length segment measures to its vertex.
    EXPECT_NEAR(distanceMeters(p, std::vector<Coordinate>{{0.0, 0.0}, {0.0, 0.0}}), 111.32, 1e-9);
    // Perpendicular foot inside the middle segment of a three-vertex line.
    const std::vector<Coordinate> line{{-1.0, -1.0}, {0.0, -0.01}, {0.0, 0.01}, {1.0, 1.0}};
    EXPECT_NEAR(distanceMeters({0.002, 0.0}, line), 222.64, 1e-9);
    // Beyond the end the distance is to the end vertex.
    EXPECT_NEAR(distanceMeters({0.0, 0.03}, std::vector<Coordinate>{{0.0, 0.0}, {0.0, 0.01}}),
                0.02 * 111'320.0, 1e-6);
}

TEST(Geography, routeJoinsLegsAndCountsPresentOnes)
{
    const Coordinate a{48.0, 11.0, 500.0};
    const Coordinate b{48.0, 11.01, 510.0};
    const Coordinate bWithoutElevation{48.0, 11.01};
    const Coordinate c{48.0, 11.02, 505.0};
    const Coordinate d{48.0, 11.03, 490.0};

    const RouteLeg first{{segment({a, b}, 744.0)}};
    const RouteLeg second{{segment({b, c}, 745.0)}};
    Route route{.anchors = {}, .legs = {first, second}};
    EXPECT_EQ(route.coordinates(), (std::vector<Coordinate>{a, b, c}));
    EXPECT_DOUBLE_EQ(route.distance(), 1489.0);

    route.legs[1] = RouteLeg{{segment({bWithoutElevation, c}, 745.0)}};
    EXPECT_EQ(route.coordinates(), (std::vector<Coordinate>{a, b, bWithoutElevation, c}));

    // An absent middle leg: the others join directly and only they count.
    const Route gapped{.legs = {first, std::nullopt, RouteLeg{{segment({c, d}, 100.0)}}}};
    EXPECT_EQ(gapped.coordinates(), (std::vector<Coordinate>{a, b, c, d}));
    EXPECT_DOUBLE_EQ(gapped.distance(), 844.0);

    // A closing leg counts whatever the round-trip flag says.
    const Route closed{
        .legs = {first}, .roundTrip = false, .closingLeg = RouteLeg{{segment({b, a}, 744.0)}}};
    EXPECT_EQ(closed.coordinates(), (std::vector<Coordinate>{a, b, a}));
    EXPECT_DOUBLE_EQ(closed.distance(), 1488.0);
}

TEST(Geography, legJoinsSegmentsComparingOnlyThePreviousPoint)
{
    const Coordinate a{1, 1};
    const Coordinate b{1, 2};
    const RouteLeg leg{{segment({a, b}, 1.0), segment({b, a}, 2.0), segment({a, b}, 3.0)}};
    EXPECT_EQ(leg.coordinates(), (std::vector<Coordinate>{a, b, a, b}));
    EXPECT_DOUBLE_EQ(leg.distance(), 6.0);
    EXPECT_EQ(RouteLeg{}.distance(), 0.0);
    EXPECT_TRUE(RouteLeg{}.coordinates().empty());
}
