#include "PlannerFixture.h"

#include <algorithm>
#include <cmath>

using namespace zuvo::test;
using Pairs = std::vector<std::pair<int, int>>;

TEST_F(PlannerTest, addingAnchorsRoutesOnlyTheNewLeg)
{
    auto first = runTask(planner.addAnchor(at(0), Anchor::Kind::via));
    ASSERT_FALSE(first.error);
    EXPECT_EQ(first.value->click, at(0));
    EXPECT_EQ(first.value->snap, ScriptedEngine::snapOf(at(0)));
    EXPECT_EQ(script->count(Op::route), 0u);
    EXPECT_EQ(script->count(Op::locate), 1u);
    expectConsistent();

    ASSERT_FALSE(runTask(planner.addAnchor(at(1), Anchor::Kind::shaping)).error);
    EXPECT_EQ(routedPairs(), (Pairs{{0, 1}}));
    const auto route = planner.currentRoute();
    EXPECT_EQ(route.anchors[1].kind, Anchor::Kind::shaping);
    EXPECT_EQ(presentLegs(route), 1u);
    expectConsistent();
}

TEST_F(PlannerTest, roundTripRoutesTheClosingLegOnceForTwoAnchors)
{
    ASSERT_FALSE(runTask(planner.setRoundTrip(true)).error);
    ASSERT_FALSE(runTask(planner.addAnchor(at(0), Anchor::Kind::via)).error);
    EXPECT_TRUE(script->requests.size() == 1 && script->count(Op::route) == 0)
        << "one anchor: no closing leg";
    EXPECT_FALSE(planner.currentRoute().closingLeg);

    ASSERT_FALSE(runTask(planner.addAnchor(at(1), Anchor::Kind::via)).error);
    EXPECT_EQ(routedPairs(), (Pairs{{0, 1}, {1, 0}}));
    EXPECT_TRUE(planner.currentRoute().closingLeg);
    expectConsistent();

    ASSERT_FALSE(runTask(planner.setRoundTrip(false)).error);
    EXPECT_FALSE(planner.currentRoute().closingLeg);
    EXPECT_EQ(script->count(Op::route), 2u);
}

TEST_F(PlannerTest, insertingRecomputesOnlyTheAdjacentLegs)
{
    build(3);
    auto inserted = runTask(planner.insertAnchor(at(5), Anchor::Kind::via, 1));
    ASSERT_FALSE(inserted.error);
    EXPECT_EQ(routedPairs(), (Pairs{{0, 5}, {5, 1}}));
    EXPECT_EQ(numbers(planner.currentRoute()), (std::vector<int>{0, 5, 1, 2}));
    EXPECT_EQ(presentLegs(planner.currentRoute()), 3u);
    expectConsistent();

    script->requests.clear();
    ASSERT_FALSE(runTask(planner.insertAnchor(at(6), Anchor::Kind::via, 0)).error);
    EXPECT_EQ(routedPairs(), (Pairs{{6, 0}}));

    script->requests.clear();
    ASSERT_FALSE(runTask(planner.insertAnchor(at(7), Anchor::Kind::via, 99)).error);
    EXPECT_EQ(routedPairs(), (Pairs{{2, 7}})) << "past the end appends";

    script->requests.clear();
    ASSERT_FALSE(runTask(planner.insertAnchor(at(8), Anchor::Kind::via, -3)).error);
    EXPECT_EQ(routedPairs(), (Pairs{{8, 6}})) << "negative inserts at the start";
    EXPECT_EQ(numbers(planner.currentRoute()), (std::vector<int>{8, 6, 0, 5, 1, 2, 7}));
    expectConsistent();

    // Into an empty plan: no legs at all.
    zuvo::routing::RoutePlanner empty{std::make_unique<ScriptedEngine>(script),
                                      CostingProfile{CostingKind::road, {}}};
    script->requests.clear();
    ASSERT_FALSE(runTask(empty.insertAnchor(at(0), Anchor::Kind::via, 4)).error);
    EXPECT_EQ(script->count(Op::route), 0u);
    expectConsistent(empty.currentRoute());
}

TEST_F(PlannerTest, removingAnEndAnchorRoutesNothing)
{
    const auto anchors = build(4);
    ASSERT_FALSE(runTask(planner.removeAnchor(anchors.front().id)).error);
    ASSERT_FALSE(runTask(planner.removeAnchor(anchors.back().id)).error);
    EXPECT_TRUE(script->requests.empty());
    EXPECT_EQ(numbers(planner.currentRoute()), (std::vector<int>{1, 2}));
    EXPECT_EQ(presentLegs(planner.currentRoute()), 1u);
    expectConsistent();

    // Removing a middle anchor routes its former neighbours.
    ASSERT_FALSE(runTask(planner.addAnchor(at(3), Anchor::Kind::via)).error);
    script->requests.clear();
    ASSERT_FALSE(runTask(planner.removeAnchor(anchors[2].id)).error);
    EXPECT_EQ(routedPairs(), (Pairs{{1, 3}}));
    expectConsistent();

    ASSERT_FALSE(runTask(planner.removeAnchor(QUuid::createUuid())).error);
    EXPECT_EQ(script->count(Op::route), 1u);
}

TEST_F(PlannerTest, closingLegIsCachedByItsEndsAndCosting)
{
    const auto anchors = build(3, true);
    ASSERT_TRUE(planner.currentRoute().closingLeg);

    ASSERT_FALSE(runTask(planner.moveAnchor(anchors[1].id, at(4))).error);
    EXPECT_EQ(routedPairs(), (Pairs{{0, 4}, {4, 2}})) << "middle move keeps the closing leg";
    expectConsistent();

    script->requests.clear();
    ASSERT_FALSE(runTask(planner.moveAnchor(anchors[0].id, at(5))).error);
    EXPECT_EQ(routedPairs(), (Pairs{{5, 4}, {2, 5}}));
    expectConsistent();

    script->requests.clear();
    CostingProfile gravel{CostingKind::gravel, {}};
    ASSERT_FALSE(runTask(planner.setCosting(gravel)).error);
    EXPECT_EQ(script->count(Op::locate), 3u);
    EXPECT_EQ(routedPairs(), (Pairs{{5, 4}, {4, 2}, {2, 5}}));
    for (const auto& r : script->requests)
        EXPECT_EQ(r.costing, gravel);
    EXPECT_EQ(planner.costing(), gravel);

    // Removing down to one anchor drops the closing leg.
    script->requests.clear();
    ASSERT_FALSE(runTask(planner.removeAnchor(anchors[0].id)).error);
    ASSERT_FALSE(runTask(planner.removeAnchor(anchors[1].id)).error);
    EXPECT_FALSE(planner.currentRoute().closingLeg);
    expectConsistent();
}

TEST_F(PlannerTest, reorderingAndReversingRerouteEverythingInOrder)
{
    const auto anchors = build(3, true);
    ASSERT_FALSE(runTask(planner.moveAnchorToFront(anchors[2].id)).error);
    EXPECT_EQ(numbers(planner.currentRoute()), (std::vector<int>{2, 0, 1}));
    EXPECT_EQ(routedPairs(), (Pairs{{2, 0}, {0, 1}, {1, 2}}));
    expectConsistent();

    script->requests.clear();
    ASSERT_FALSE(runTask(planner.moveAnchorToBack(anchors[2].id)).error);
    EXPECT_EQ(numbers(planner.currentRoute()), (std::vector<int>{0, 1, 2}));

    script->requests.clear();
    ASSERT_FALSE(runTask(planner.moveAnchorToBack(anchors[2].id)).error);
    ASSERT_FALSE(runTask(planner.moveAnchor(QUuid::createUuid(), at(9))).error);
    EXPECT_TRUE(script->requests.empty()) << "no-op reorder and unknown id make no request";

    ASSERT_FALSE(runTask(planner.reverse()).error);
    EXPECT_EQ(numbers(planner.currentRoute()), (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(routedPairs(), (Pairs{{2, 1}, {1, 0}, {0, 2}}));
    EXPECT_EQ(planner.currentRoute().anchors[0].snap, ScriptedEngine::snapOf(at(2)))
        << "snaps are kept";
    EXPECT_EQ(script->count(Op::locate), 0u);
    expectConsistent();
}

TEST_F(PlannerTest, convertingTogglesTheKindWithoutRequests)
{
    const auto anchors = build(2);
    const auto before = planner.currentRoute();
    planner.convertAnchor(anchors[1].id);
    EXPECT_EQ(planner.currentRoute().anchors[1].kind, Anchor::Kind::shaping);
    EXPECT_EQ(planner.currentRoute().anchors[1].id, anchors[1].id);
    planner.convertAnchor(anchors[1].id);
    planner.convertAnchor(QUuid::createUuid());
    EXPECT_EQ(planner.currentRoute(), before);
    EXPECT_TRUE(script->requests.empty());
}

TEST_F(PlannerTest, restoreLocatesOnlyUnsnappedAnchorsAndKeepsTheClosingCache)
{
    const auto anchors = build(3, true);
    auto restored = planner.currentRoute().anchors;
    restored[1].snap.reset();
    ASSERT_FALSE(runTask(planner.restore(restored, planner.costing(), std::nullopt)).error);
    EXPECT_EQ(script->count(Op::locate), 1u);
    EXPECT_EQ(routedPairs(), (Pairs{{0, 1}, {1, 2}}))
        << "same ends and costing: closing leg cached";
    EXPECT_TRUE(planner.currentRoute().roundTrip);
    expectConsistent();

    script->requests.clear();
    ASSERT_FALSE(runTask(planner.restore({restored[0]}, planner.costing(), false)).error);
    EXPECT_TRUE(script->requests.empty());
    EXPECT_FALSE(planner.currentRoute().roundTrip);
    EXPECT_FALSE(planner.currentRoute().closingLeg);
    expectConsistent();
}

TEST_F(PlannerTest, nearestInsertionPoint)
{
    EXPECT_FALSE(planner.nearestInsertionPoint(at(0)));
    // Unrouted legs measure against straight lines between anchors.
    ASSERT_FALSE(
        runTask(planner.restore(
                    {Anchor(Anchor::Kind::via, {48.0, 11.0}, Anchor::Snap{{48.0, 11.0}, {}}),
                     Anchor(Anchor::Kind::via, {48.0, 11.1}, Anchor::Snap{{48.0, 11.1}, {}}),
                     Anchor(Anchor::Kind::via, {48.1, 11.1}, Anchor::Snap{{48.1, 11.1}, {}})},
                    planner.costing(), true))
            .error);
    EXPECT_EQ(planner.nearestInsertionPoint({48.001, 11.05}),
              zuvo::routing::InsertionPoint::leg(0));
    EXPECT_EQ(planner.nearestInsertionPoint({48.05, 11.101}),
              zuvo::routing::InsertionPoint::leg(1));
    EXPECT_EQ(planner.nearestInsertionPoint({48.05, 11.04}),
              zuvo::routing::InsertionPoint::closing());
    // A tie between two legs goes to the earlier one.
    EXPECT_EQ(planner.nearestInsertionPoint({48.0, 11.1}), zuvo::routing::InsertionPoint::leg(0));

    // Without routed legs the straight lines stand in.
    script->failure = [](const ScriptedEngine::Request& r, std::size_t) -> std::optional<Failure> {
        if (r.op == Op::route)
            return Failure(RoutingError::noRouteFound());
        return std::nullopt;
    };
    ASSERT_TRUE(runTask(planner.reverse()).error);
    EXPECT_EQ(presentLegs(planner.currentRoute()), 0u);
    EXPECT_FALSE(planner.currentRoute().closingLeg);
    EXPECT_EQ(planner.nearestInsertionPoint({48.05, 11.101}),
              zuvo::routing::InsertionPoint::leg(0));
    EXPECT_EQ(planner.nearestInsertionPoint({48.001, 11.05}),
              zuvo::routing::InsertionPoint::leg(1));
}

TEST_F(PlannerTest, matchedTrackJoinsSegmentsWithoutTouchingThePlan)
{
    build(2);
    const auto before = planner.currentRoute();
    const std::vector<Coordinate> track{at(0), at(1), at(2), at(3), at(4)};
    CostingProfile mtb{CostingKind::mtb, {}};
    auto matched = runTask(planner.matchedTrack(track, mtb));
    ASSERT_FALSE(matched.error);
    EXPECT_EQ(*matched.value, track) << "the shared boundary point appears once";
    EXPECT_EQ(script->requests.at(0).costing, mtb);
    EXPECT_EQ(planner.currentRoute(), before);
}

TEST(LoopAnchors, atTheServersWaypointsElseEvenlyAtLeastThree)
{
    using zuvo::model::Anchor;
    using zuvo::model::Coordinate;
    using zuvo::model::Cue;
    using zuvo::model::RouteSegment;
    // A loop 40 km round, north, east, south and west again, a point every kilometre.
    std::vector<Coordinate> around;
    const Coordinate start{48.0, 11.0};
    const double side = 10'000.0 / 111'195.0, east = side / std::cos(48.0 * M_PI / 180.0);
    const Coordinate corners[] = {
        start, {48.0 + side, 11.0}, {48.0 + side, 11.0 + east}, {48.0, 11.0 + east}, start};
    for (int c = 0; c < 4; ++c) {
        for (int i = c == 0 ? 0 : 1; i <= 10; ++i)
            around.push_back(
                {corners[c].latitude + (corners[c + 1].latitude - corners[c].latitude) * i / 10,
                 corners[c].longitude +
                     (corners[c + 1].longitude - corners[c].longitude) * i / 10});
    }
    std::vector<RouteSegment> loop{{.coordinates = {around.begin(), around.begin() + 21}},
                                   {.coordinates = {around.begin() + 20, around.end()}}};
    loop[0].cues = {{.sign = Cue::Sign::straight, .position = start},
                    {.sign = Cue::Sign::viaReached, .position = corners[1]}};
    loop[1].cues = {{.sign = Cue::Sign::viaReached, .position = corners[2]},
                    {.sign = Cue::Sign::viaReached, .position = corners[3]},
                    {.sign = Cue::Sign::finish, .position = start}};

    const auto revealed = zuvo::routing::loopAnchors(loop);
    ASSERT_EQ(revealed.size(), 4u);
    EXPECT_EQ(revealed[0].kind, Anchor::Kind::via);
    EXPECT_EQ(revealed[0].routingPosition(), start);
    for (int c = 1; c < 4; ++c) {
        EXPECT_EQ(revealed[std::size_t(c)].kind, Anchor::Kind::shaping);
        EXPECT_EQ(revealed[std::size_t(c)].routingPosition(), corners[c]);
        EXPECT_TRUE(revealed[std::size_t(c)].snap) << "nothing to locate";
    }

    // Without waypoints: one about every 10 km, evenly along the loop; never fewer than three.
    for (auto& segment : loop)
        segment.cues.clear();
    const auto even = zuvo::routing::loopAnchors(loop);
    ASSERT_EQ(even.size(), 1u + 4u);
    EXPECT_LT(even[2].routingPosition().distance(around[16]), 1'001.0) << "at 16 of 40 km";
    EXPECT_EQ(zuvo::routing::loopAnchors(loop, 30'000.0).size(), 1u + 3u);
    EXPECT_TRUE(zuvo::routing::loopAnchors({}).empty());
}
