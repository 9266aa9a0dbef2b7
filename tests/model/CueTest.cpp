#include "model/Cue.h"

#include "model/Route.h"

#include <gtest/gtest.h>

using namespace zuvo::model;

namespace {

// A straight leg north from `from` of `metres`, one segment with the cues given (distances
// within the leg).
RouteLeg leg(Coordinate from, double metres, std::vector<Cue> cues)
{
    const Coordinate to{from.latitude + metres / 111'195.0, from.longitude};
    return {{{.coordinates = {from, to}, .distance = metres, .cues = std::move(cues)}}};
}

Cue cue(Cue::Sign sign, double distance, QString street = {})
{
    return {.sign = sign, .distance = distance, .streetName = std::move(street)};
}

} // namespace

TEST(Cues, theJoinedRouteCountsFromTheStartAndMarksItsViaPoints)
{
    using S = Cue::Sign;
    const Coordinate a{48.0, 8.0};
    const Route route{
        .anchors = {Anchor(Anchor::Kind::via, a), Anchor(Anchor::Kind::via, {48.01, 8.0}),
                    Anchor(Anchor::Kind::shaping, {48.02, 8.0}),
                    Anchor(Anchor::Kind::via, {48.03, 8.0})},
        .legs = {leg(a, 1000,
                     {cue(S::straight, 0, "Hauptstraße"), cue(S::left, 400, "Bahnweg"),
                      cue(S::finish, 1000)}),
                 leg({48.01, 8.0}, 1500, {cue(S::right, 700, "Mühlweg"), cue(S::finish, 1500)}),
                 leg({48.02, 8.0}, 800, {cue(S::keepLeft, 100), cue(S::finish, 800)})}};
    const auto cues = routeCues(route);
    std::vector<std::pair<S, double>> seen;
    for (const auto& c : cues)
        seen.emplace_back(c.sign, c.distance);
    EXPECT_EQ(seen, (std::vector<std::pair<S, double>>{{S::straight, 0},
                                                       {S::left, 400},
                                                       {S::viaReached, 1000},
                                                       {S::right, 1700},
                                                       {S::keepLeft, 2600},
                                                       {S::finish, 3300}}))
        << "the shaping point is silent, the finish comes once";
    EXPECT_EQ(cues[2].viaNumber, 2) << "the start is via point 1";
    EXPECT_EQ(cues[2].position, route.anchors[1].routingPosition());

    // A round trip: the last anchor is a via point on the way, the finish is the closing leg's.
    Route loop = route;
    loop.roundTrip = true;
    loop.closingLeg = leg({48.03, 8.0}, 3000, {cue(S::sharpRight, 50), cue(S::finish, 3000)});
    const auto round = routeCues(loop);
    ASSERT_EQ(round.size(), 8u);
    EXPECT_EQ(round[5].sign, S::viaReached);
    EXPECT_EQ(round[5].viaNumber, 3);
    EXPECT_EQ(round[5].distance, 3300);
    EXPECT_EQ(round[6].distance, 3350);
    EXPECT_EQ(round.back().sign, S::finish);
    EXPECT_EQ(round.back().distance, 6300);
    EXPECT_EQ(Cue::signName(S::keepRight), "keep_right");
    EXPECT_EQ(Cue::signFromNumber(-98), S::uTurn);
    EXPECT_FALSE(Cue::signFromNumber(10));
}
