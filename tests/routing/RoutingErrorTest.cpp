#include "RunTask.h"
#include "routing/Failure.h"
#include "routing/ValhallaEngine.h"

#include <gtest/gtest.h>

using namespace zuvo;
using routing::Failure;
using routing::RoutingError;

TEST(RoutingError, equalityComparesCaseAndPayload)
{
    EXPECT_EQ(RoutingError::engineUnavailable("a"), RoutingError::engineUnavailable("a"));
    EXPECT_NE(RoutingError::engineUnavailable("a"), RoutingError::engineUnavailable("b"));
    EXPECT_EQ(RoutingError::notSnappable({1, 2, 3.0}), RoutingError::notSnappable({1, 2, 3.0}));
    EXPECT_NE(RoutingError::notSnappable({1, 2, 3.0}), RoutingError::notSnappable({1, 2}));
    EXPECT_NE(RoutingError::noRouteFound(), RoutingError::malformedResponse());
    EXPECT_EQ(Failure(RoutingError::noRouteFound()), Failure(RoutingError::noRouteFound()));
    EXPECT_NE(Failure(RoutingError::noRouteFound()), Failure::cancelled());
}

TEST(RoutingError, displayTextShowsAnUnavailableEnginesMessageAlone)
{
    EXPECT_EQ(Failure(RoutingError::engineUnavailable("route → HTTP 502")).displayText(),
              "route → HTTP 502");
    EXPECT_EQ(Failure(RoutingError::noRouteFound()).displayText(), "noRouteFound");
    EXPECT_EQ(Failure(RoutingError::malformedResponse()).displayText(), "malformedResponse");
    EXPECT_EQ(Failure(RoutingError::notSnappable({48.5, 11.25})).displayText(),
              "notSnappable(latitude: 48.5, longitude: 11.25)");
    // Decimals a double cannot hold exactly still print as typed.
    EXPECT_EQ(Failure(RoutingError::notSnappable({48.1, 11.3, 520.7})).displayText(),
              "notSnappable(latitude: 48.1, longitude: 11.3, elevation: 520.7)");
    EXPECT_EQ(Failure(RoutingError::engineUnavailable("x")).description(),
              "engineUnavailable(\"x\")");
    const Failure timeout(
        routing::NetworkError{QNetworkReply::TimeoutError, "Operation timed out"});
    EXPECT_EQ(timeout.displayText(), "Operation timed out");
    EXPECT_FALSE(timeout.isCancellation());
    EXPECT_TRUE(Failure::cancelled().isCancellation());
    EXPECT_STREQ(Failure(RoutingError::noRouteFound()).what(), "noRouteFound");
}

TEST(ValhallaEngine, refusesEverythingWithItsMessage)
{
    routing::ValhallaEngine engine(QUrl("http://127.0.0.1:8002"));
    const Failure expected(RoutingError::engineUnavailable("Valhalla is not part of Milestone 1"));
    const model::CostingProfile costing{model::CostingKind::road, {}};
    const model::Anchor a(model::Anchor::Kind::via, {1, 2});

    EXPECT_EQ(test::runTask(engine.locate({1, 2}, costing)).errorAs<Failure>(), expected);
    EXPECT_EQ(test::runTask(engine.route(a, a, costing)).errorAs<Failure>(), expected);
    EXPECT_EQ(test::runTask(engine.elevation({})).errorAs<Failure>(), expected);
    EXPECT_EQ(test::runTask(engine.mapMatch({}, costing)).errorAs<Failure>(), expected);
    EXPECT_EQ(expected.displayText(), "Valhalla is not part of Milestone 1");
}
