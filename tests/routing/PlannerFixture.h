#pragma once

#include "RunTask.h"
#include "ScriptedEngine.h"
#include "routing/RoutePlanner.h"

#include <gtest/gtest.h>

namespace zuvo::routing {

inline void PrintTo(const Failure& failure, std::ostream* os)
{
    *os << failure.description().toStdString();
}

} // namespace zuvo::routing

namespace zuvo::test {

using model::Anchor;
using model::Coordinate;
using model::CostingKind;
using model::CostingProfile;
using Op = ScriptedEngine::Op;
using routing::Failure;
using routing::RoutingError;

class PlannerTest : public ::testing::Test {
protected:
    std::shared_ptr<ScriptedEngine::Script> script = std::make_shared<ScriptedEngine::Script>();
    routing::RoutePlanner planner{std::make_unique<ScriptedEngine>(script),
                                  CostingProfile{CostingKind::road, {}}};

    static Coordinate at(int i) { return {48.0 + 0.01 * i, 11.0 + 0.005 * (i % 3)}; }

    // Adds anchors at at(0), at(1), … and forgets the requests that made them.
    std::vector<Anchor> build(int count, bool roundTrip = false)
    {
        if (roundTrip) {
            EXPECT_FALSE(runTask(planner.setRoundTrip(true)).error);
        }
        std::vector<Anchor> anchors;
        for (int i = 0; i < count; ++i) {
            auto outcome = runTask(planner.addAnchor(at(i), Anchor::Kind::via));
            EXPECT_FALSE(outcome.error);
            anchors.push_back(*outcome.value);
        }
        script->requests.clear();
        return anchors;
    }

    // The route requests made, as pairs of anchor numbers (by click position).
    std::vector<std::pair<int, int>> routedPairs() const
    {
        std::vector<std::pair<int, int>> pairs;
        for (const auto& r : script->requests) {
            if (r.op == Op::route)
                pairs.emplace_back(numberOf(r.from), numberOf(r.to));
        }
        return pairs;
    }

    static int numberOf(const Coordinate& routingPosition)
    {
        for (int i = 0; i < 100; ++i) {
            if (ScriptedEngine::snapOf(at(i)).coordinate == routingPosition)
                return i;
        }
        return -1;
    }

    static std::optional<Failure> failureOf(const auto& outcome)
    {
        return outcome.template errorAs<Failure>();
    }

    // What holds after every step, even while legs are being recomputed:
    // one leg entry per anchor pair, a closing leg only for a round trip of
    // at least two anchors.
    void expectInvariants(const model::Route& route) const
    {
        EXPECT_EQ(route.legs.size(), route.anchors.empty() ? 0 : route.anchors.size() - 1);
        if (route.closingLeg) {
            EXPECT_TRUE(route.roundTrip);
            EXPECT_GE(route.anchors.size(), 2u);
        }
    }

    void expectInvariants() const { expectInvariants(planner.currentRoute()); }

    // Once nothing is in flight: the invariants, and every present leg
    // joining its anchors' routing positions.
    void expectConsistent(const model::Route& route) const
    {
        expectInvariants(route);
        const auto& anchors = route.anchors;
        if (route.closingLeg && anchors.size() >= 2) {
            EXPECT_EQ(route.closingLeg->coordinates(),
                      (std::vector<Coordinate>{anchors.back().routingPosition(),
                                               anchors.front().routingPosition()}));
        }
        for (std::size_t i = 0; i < route.legs.size() && i + 1 < anchors.size(); ++i) {
            if (route.legs[i]) {
                EXPECT_EQ(route.legs[i]->coordinates(),
                          (std::vector<Coordinate>{anchors[i].routingPosition(),
                                                   anchors[i + 1].routingPosition()}))
                    << "leg " << i;
            }
        }
    }

    void expectConsistent() const { expectConsistent(planner.currentRoute()); }

    static std::vector<int> numbers(const model::Route& route)
    {
        std::vector<int> result;
        for (const auto& a : route.anchors)
            result.push_back(numberOf(a.routingPosition()));
        return result;
    }

    static std::size_t presentLegs(const model::Route& route)
    {
        return static_cast<std::size_t>(std::count_if(route.legs.begin(), route.legs.end(),
                                                      [](const auto& l) { return l.has_value(); }));
    }

    // Fails every route request from anchor `from` to anchor `to`.
    void failRoute(int from, int to, RoutingError error)
    {
        auto previous = script->failure;
        script->failure = [=](const ScriptedEngine::Request& r,
                              std::size_t index) -> std::optional<Failure> {
            if (r.op == Op::route && numberOf(r.from) == from && numberOf(r.to) == to)
                return Failure(error);
            return previous ? previous(r, index) : std::nullopt;
        };
    }
};

} // namespace zuvo::test
