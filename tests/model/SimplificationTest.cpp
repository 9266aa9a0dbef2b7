#include "model/Polyline.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace zuvo::model;

TEST(Simplification, shortListsComeBackUnchanged)
{
    EXPECT_TRUE(simplified(std::vector<Coordinate>{}, 10.0).empty());
    const std::vector<Coordinate> one{{1, 2, 3.0}};
    EXPECT_EQ(simplified(one, 10.0), one);
    const std::vector<Coordinate> two{{1, 2}, {1, 2}};
    EXPECT_EQ(simplified(two, 10.0), two);
}

TEST(Simplification, toleranceIsStrict)
{
    // On the equator the projection is exact in whole metres of 111,320 per degree.
    const std::vector<Coordinate> collinear{{0, 0}, {0, 1}, {0, 2}};
    EXPECT_EQ(simplified(collinear, 0.0), (std::vector<Coordinate>{{0, 0}, {0, 2}}));

    const double offset = 0.001;
    const double atTolerance = offset * 111'320.0;
    const std::vector<Coordinate> bent{{0, 0}, {offset, 1, 42.0}, {0, 2}};
    EXPECT_EQ(simplified(bent, atTolerance).size(), 2u) << "exactly at the tolerance is dropped";
    const auto kept = simplified(bent, atTolerance - 1e-9);
    ASSERT_EQ(kept.size(), 3u);
    EXPECT_EQ(kept[1], (Coordinate{offset, 1, 42.0})) << "kept points are unchanged";
}

TEST(Simplification, zeroLengthChordMeasuresToItsStart)
{
    // First and last coincide: the chord is a point, distances are radial.
    const std::vector<Coordinate> loop{
        {0, 0}, {0.0005, 0}, {0.001, 0.0005}, {0.0004, 0.001}, {0, 0}};
    const auto result = simplified(loop, 50.0);
    ASSERT_GE(result.size(), 3u);
    EXPECT_EQ(result.front(), loop.front());
    EXPECT_EQ(result.back(), loop.back());
    EXPECT_NE(std::find(result.begin(), result.end(), loop[2]), result.end())
        << "the point farthest from the start survives";

    // With a tolerance above everything only the ends remain.
    EXPECT_EQ(simplified(loop, 1000.0).size(), 2u);

    const std::vector<Coordinate> repeated{{5, 5}, {5, 5}, {5, 5}};
    EXPECT_EQ(simplified(repeated, 1.0).size(), 2u);
}

TEST(Simplification, closedLoopKeepsStructureOnBothSides)
{
    // A square loop of about 1.1 km sides, with a mid-edge point on each side.
    const std::vector<Coordinate> loop{{0, 0},        {0, 0.005},   {0, 0.01},
                                       {0.005, 0.01}, {0.01, 0.01}, {0.01, 0.005},
                                       {0.01, 0},     {0.005, 0},   {0, 0}};
    const auto result = simplified(loop, 10.0);
    EXPECT_EQ(result,
              (std::vector<Coordinate>{{0, 0}, {0, 0.01}, {0.01, 0.01}, {0.01, 0}, {0, 0}}));
}

TEST(Simplification, zigZagKeepsEveryCorner)
{
    // Each split here peels off one point, the deepest a recursive version could go.
    std::vector<Coordinate> zigzag;
    for (int i = 0; i < 10'000; ++i)
        zigzag.push_back({(i % 2) * 0.01, i * 0.0001});
    EXPECT_EQ(simplified(zigzag, 1.0).size(), zigzag.size());
}
