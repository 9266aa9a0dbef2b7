#include "PlannerFixture.h"

using namespace zuvo::test;
using Pairs = std::vector<std::pair<int, int>>;

namespace {

const RoutingError legError = RoutingError::engineUnavailable("leg");
const RoutingError closingError = RoutingError::engineUnavailable("closing");

} // namespace

TEST_F(PlannerTest, pendingErrorRulePrefersTheLastFailingLeg)
{
    build(4, true);
    // Reversed, the plan runs 3 → 2 → 1 → 0 and closes 0 → 3.
    failRoute(2, 1, legError);
    failRoute(0, 3, closingError);
    auto outcome = runTask(planner.reverse());
    EXPECT_EQ(failureOf(outcome), Failure(legError)) << "leg 1 fails, then the closing leg";
    EXPECT_EQ(routedPairs(), (Pairs{{3, 2}, {2, 1}, {1, 0}, {0, 3}})) << "no early stop";
    expectConsistent();

    script->requests.clear();
    // Back to 0 → 1 → 2 → 3.
    script->failure = nullptr;
    failRoute(0, 1, RoutingError::noRouteFound());
    failRoute(2, 3, legError);
    outcome = runTask(planner.reverse());
    EXPECT_EQ(failureOf(outcome), Failure(legError)) << "legs 0 and 2 fail: leg 2's error";
    const auto route = planner.currentRoute();
    EXPECT_FALSE(route.legs[0]);
    EXPECT_TRUE(route.legs[1]);
    EXPECT_FALSE(route.legs[2]);
    EXPECT_TRUE(route.closingLeg);
    expectConsistent();

    // Only the closing leg fails: its error is reported and the cache cleared.
    script->failure = nullptr;
    failRoute(0, 3, closingError);
    outcome = runTask(planner.reverse());
    EXPECT_EQ(failureOf(outcome), Failure(closingError));
    EXPECT_FALSE(planner.currentRoute().closingLeg);
    expectConsistent();
}

TEST_F(PlannerTest, failedLegKeepsWhatItHadAndAnchorsStay)
{
    build(2);
    failRoute(1, 2, RoutingError::noRouteFound());
    auto added = runTask(planner.addAnchor(at(2), Anchor::Kind::via));
    EXPECT_EQ(failureOf(added), Failure(RoutingError::noRouteFound()));
    auto route = planner.currentRoute();
    EXPECT_EQ(route.anchors.size(), 3u) << "the anchor stays; the caller decides to undo";
    EXPECT_FALSE(route.legs[1]);
    expectConsistent();

    // setCosting recomputes without clearing: a failing leg keeps its geometry.
    script->failure = nullptr;
    failRoute(0, 1, RoutingError::noRouteFound());
    const auto leg0 = planner.currentRoute().legs[0];
    ASSERT_TRUE(leg0);
    EXPECT_TRUE(failureOf(runTask(planner.setCosting({CostingKind::road, {{"use_roads", 0.3}}}))));
    EXPECT_EQ(planner.currentRoute().legs[0], leg0);
    EXPECT_TRUE(planner.currentRoute().legs[1]);
}

TEST_F(PlannerTest, failedLocateChangesNothing)
{
    const auto anchors = build(3, true);
    const auto before = planner.currentRoute();
    const Failure unsnappable(RoutingError::notSnappable(at(7)));
    script->failure = [&](const ScriptedEngine::Request& r, std::size_t) -> std::optional<Failure> {
        if (r.op == Op::locate && r.from == at(7))
            return unsnappable;
        return std::nullopt;
    };

    EXPECT_EQ(failureOf(runTask(planner.addAnchor(at(7), Anchor::Kind::via))), unsnappable);
    EXPECT_EQ(failureOf(runTask(planner.insertAnchor(at(7), Anchor::Kind::via, 1))), unsnappable);
    EXPECT_EQ(planner.currentRoute(), before);

    // moveAnchor keeps the new click but the old snap, and its legs.
    EXPECT_EQ(failureOf(runTask(planner.moveAnchor(anchors[1].id, at(7)))), unsnappable);
    auto expected = before;
    expected.anchors[1].click = at(7);
    EXPECT_EQ(planner.currentRoute(), expected);
    EXPECT_EQ(script->count(Op::route), 0u);

    // restore leaves everything as it was.
    std::vector<Anchor> replacement{Anchor(Anchor::Kind::via, at(8)),
                                    Anchor(Anchor::Kind::via, at(7))};
    EXPECT_EQ(failureOf(runTask(planner.restore(replacement, {CostingKind::mtb, {}}, false))),
              unsnappable);
    EXPECT_EQ(planner.currentRoute(), expected);
    EXPECT_EQ(planner.costing().kind, CostingKind::road);
}

TEST_F(PlannerTest, setCostingStopsAtTheFirstFailedLocate)
{
    const auto anchors = build(3);
    // Move anchor 2's click without a new snap, to see which snaps were redone.
    script->failure = [](const ScriptedEngine::Request& r, std::size_t) -> std::optional<Failure> {
        if (r.op == Op::locate && r.from == at(1))
            return Failure(RoutingError::notSnappable(at(1)));
        return std::nullopt;
    };
    const auto before = planner.currentRoute();
    const CostingProfile mtb{CostingKind::mtb, {{"avoid_climbs", 0.4}}};
    EXPECT_EQ(failureOf(runTask(planner.setCosting(mtb))),
              Failure(RoutingError::notSnappable(at(1))));
    EXPECT_EQ(planner.costing(), mtb) << "the new costing stays";
    EXPECT_EQ(script->count(Op::locate), 2u);
    EXPECT_EQ(script->count(Op::route), 0u);
    EXPECT_EQ(planner.currentRoute().legs, before.legs);
}

TEST_F(PlannerTest, cancelledInsertChangesNothing)
{
    build(3);
    const auto before = planner.currentRoute();
    script->hold = true;
    std::stop_source cancel;
    auto insert = planner.insertAnchor(at(5), Anchor::Kind::via, 1, cancel.get_token());
    ASSERT_EQ(script->requests.size(), 1u);
    cancel.request_stop();
    auto outcome = runTask(std::move(insert));
    ASSERT_TRUE(failureOf(outcome));
    EXPECT_TRUE(failureOf(outcome)->isCancellation());
    EXPECT_EQ(planner.currentRoute(), before);

    // A locate that succeeds just as the stop is requested still inserts nothing.
    script->hold = false;
    std::stop_source late;
    script->failure = [&](const ScriptedEngine::Request&, std::size_t) -> std::optional<Failure> {
        late.request_stop();
        return std::nullopt;
    };
    const auto lateOutcome =
        runTask(planner.insertAnchor(at(5), Anchor::Kind::via, 1, late.get_token()));
    ASSERT_TRUE(failureOf(lateOutcome));
    EXPECT_TRUE(failureOf(lateOutcome)->isCancellation());
    EXPECT_EQ(planner.currentRoute(), before);
}

TEST_F(PlannerTest, interleavedOperationsKeepTheSnapshotConsistent)
{
    const auto anchors = build(3, true);
    script->hold = true;

    // A move of anchor 1 waits for its locate; meanwhile anchor 2 is removed.
    auto move = planner.moveAnchor(anchors[1].id, at(5));
    expectInvariants();
    EXPECT_EQ(planner.currentRoute().anchors[1].click, at(5)) << "the click moves at once";
    auto remove = planner.removeAnchor(anchors[2].id);
    expectInvariants();
    EXPECT_EQ(planner.currentRoute().anchors.size(), 2u);

    // The removal's closing leg (1 → 0) and the move's locate are in flight.
    ASSERT_EQ(script->requests.size(), 2u);
    EXPECT_EQ(script->requests[0].op, Op::locate);
    EXPECT_EQ(numberOf(script->requests[1].from), 1);
    script->release(1);
    ASSERT_FALSE(runTask(std::move(remove)).error);
    expectConsistent();
    EXPECT_TRUE(planner.currentRoute().closingLeg);

    // The move resumes and routes leg 0 (0 → 5), then the closing leg (5 → 0).
    script->release(0);
    QCoreApplication::processEvents();
    expectInvariants();
    ASSERT_EQ(script->requests.size(), 3u);
    EXPECT_EQ(routedPairs().back(), std::make_pair(0, 5));
    script->release(2);
    QCoreApplication::processEvents();
    expectInvariants();
    ASSERT_EQ(script->requests.size(), 4u);
    EXPECT_EQ(routedPairs().back(), std::make_pair(5, 0));
    script->release(3);
    ASSERT_FALSE(runTask(std::move(move)).error);
    expectConsistent();
    EXPECT_EQ(numbers(planner.currentRoute()), (std::vector<int>{0, 5}));
    EXPECT_EQ(presentLegs(planner.currentRoute()), 1u);
    EXPECT_TRUE(planner.currentRoute().closingLeg);
}

TEST_F(PlannerTest, legResultForAnEditedPairIsDropped)
{
    const auto anchors = build(2);
    script->hold = true;
    // Anchor 1 moves to 5, then to 6 while the leg to 5 is still being routed.
    auto first = planner.moveAnchor(anchors[1].id, at(5));
    script->release(0);
    QCoreApplication::processEvents();
    ASSERT_EQ(routedPairs(), (std::vector<std::pair<int, int>>{{0, 5}}));
    auto second = planner.moveAnchor(anchors[1].id, at(6));
    script->release(2);
    QCoreApplication::processEvents();
    ASSERT_EQ(script->requests.size(), 4u);

    script->release(1);
    ASSERT_FALSE(runTask(std::move(first)).error);
    expectInvariants();
    const auto stale = ScriptedEngine::snapOf(at(5)).coordinate;
    ASSERT_TRUE(planner.currentRoute().legs[0]);
    EXPECT_NE(planner.currentRoute().legs[0]->coordinates().back(), stale)
        << "a leg to the position the anchor has left is not stored";

    script->release(3);
    ASSERT_FALSE(runTask(std::move(second)).error);
    expectConsistent();
    EXPECT_EQ(numbers(planner.currentRoute()), (std::vector<int>{0, 6}));
    EXPECT_TRUE(planner.currentRoute().legs[0]);
}

TEST_F(PlannerTest, cancellationWinsOverAPendingLegError)
{
    build(3, true);
    failRoute(2, 1, legError);
    script->hold = true;
    std::stop_source stop;
    // Reversed: 2 → 1 fails, 1 → 0 is routed, and the closing leg 0 → 2 is cancelled in flight.
    auto reverse = planner.reverse(stop.get_token());
    script->release(0);
    QCoreApplication::processEvents();
    script->release(1);
    QCoreApplication::processEvents();
    ASSERT_EQ(routedPairs(), (Pairs{{2, 1}, {1, 0}, {0, 2}}));
    stop.request_stop();
    const auto outcome = runTask(std::move(reverse));
    ASSERT_TRUE(failureOf(outcome));
    EXPECT_TRUE(failureOf(outcome)->isCancellation());
}
