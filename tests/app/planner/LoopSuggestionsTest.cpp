// Loops suggested by a GraphHopper stand-in on a loopback port, through the real engine.
#include "app/planner/LoopSuggestions.h"

#include "FakeGraphHopper.h"
#include "RecordingPage.h"
#include "routing/GraphHopperEngine.h"

#include <QJsonArray>
#include <QNetworkAccessManager>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <gtest/gtest.h>

using namespace zuvo;
using app::LonLat;
using app::loopStart;
using app::LoopSuggestions;
using model::Coordinate;

namespace {

// Metres from `p` to the nearest point of `line`, on a plane tangent at `p`.
double distanceToLine(const Coordinate& p, const std::vector<Coordinate>& line)
{
    const double perLon = 111'320.0 * std::cos(p.latitude * M_PI / 180.0);
    double nearest = INFINITY;
    for (std::size_t i = 1; i < line.size(); ++i) {
        const double ax = (line[i - 1].longitude - p.longitude) * perLon;
        const double ay = (line[i - 1].latitude - p.latitude) * 111'195.0;
        const double bx = (line[i].longitude - p.longitude) * perLon;
        const double by = (line[i].latitude - p.latitude) * 111'195.0;
        const double dx = bx - ax, dy = by - ay;
        const double length = dx * dx + dy * dy;
        const double t = length > 0 ? std::clamp(-(ax * dx + ay * dy) / length, 0.0, 1.0) : 0.0;
        nearest = std::min(nearest, std::hypot(ax + t * dx, ay + t * dy));
    }
    return nearest;
}

class LoopSuggestionsTest : public ::testing::Test {
protected:
    QTemporaryDir home;
    QSettings settings{home.filePath("settings.ini"), QSettings::IniFormat};
    app::FavoritesStore favorites{home.filePath("favorites.json")};
    app::UserPOIStore userPOIs{home.filePath("custom-pois.json")};
    QNetworkAccessManager session;
    test::FakeGraphHopper graphHopper;
    map::MapBridge bridge;
    test::RecordingPage page;
    app::PlannerViewModel planner{
        std::make_unique<routing::GraphHopperEngine>(graphHopper.baseURL(), session), favorites,
        userPOIs, settings};
    const app::LonLat start{7.85, 48.0};

    LoopSuggestionsTest()
    {
        bridge.setPage(&page);
        planner.setBridge(&bridge);
    }

    void settle()
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !planner.isRouting(); }, 10'000));
    }

    // Makes the slot's loop the plan; how far the plan strays from the loop (metres) and how its
    // length compares to the loop's.
    std::pair<double, double> use(LoopSuggestions& loops, int slot)
    {
        const auto loop = *loops.suggestions()[std::size_t(slot)].loop;
        EXPECT_TRUE(loops.use(slot));
        settle();
        double farthest = 0.0;
        for (const auto& point : planner.routeCoordinates())
            farthest = std::max(farthest, distanceToLine(point, loop.coordinates));
        return {farthest, planner.route().distance() / loop.distance};
    }
};

} // namespace

TEST_F(LoopSuggestionsTest, ThreeLoopsAtOnceOneCancelledAndOneMadeThePlan)
{
    // Asked for from the menu, loops start where the rider last pointed, then at the plan's start.
    EXPECT_FALSE(loopStart(planner)) << "an empty map nobody pointed at";
    planner.selectSearchResult(
        {.id = "N/1", .label = "Kandel", .longitude = 8.01, .latitude = 48.06});
    EXPECT_EQ(loopStart(planner), (LonLat{8.01, 48.06}));
    planner.addViaAt(7.9, 48.1);
    settle();
    const auto first = planner.route().anchors.front().routingPosition();
    EXPECT_EQ(loopStart(planner), (LonLat{first.longitude, first.latitude}));
    planner.addViaAt(7.95, 48.1);
    settle();
    const auto before = planner.route().anchors;
    const QString saved = home.filePath("Kandel.gpx");
    ASSERT_TRUE(planner.saveDocument(saved));

    // The second loop's request hangs: the others come anyway, so all three were asked at once.
    graphHopper.answer = [fallback = graphHopper.answer](const test::LoopbackServer::Request& r) {
        if (QJsonDocument::fromJson(r.body).object().value(u"round_trip.seed").toInt(-1) == 1)
            return test::LoopbackServer::Answer{.silent = true};
        return fallback(r);
    };
    LoopSuggestions loops(planner, start);
    loops.setKm(60);
    loops.setDirection(2);
    loops.suggest();
    EXPECT_TRUE(loops.isBusy());
    EXPECT_EQ(loops.slotText(0), "Looking for a loop…");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !loops.suggestions()[0].pending && !loops.suggestions()[2].pending; },
        10'000));
    EXPECT_EQ(graphHopper.roundTrips(), 3);
    EXPECT_TRUE(loops.suggestions()[1].pending);
    loops.cancel(1);
    EXPECT_FALSE(loops.isBusy());
    EXPECT_EQ(loops.slotText(1), "Cancelled");

    // Drawn in their colours, the map framed on them; the stand-in makes seed 0 15 % short and
    // seed 2 5 % long, which is as asked.
    const QJsonObject drawn = page.last("setLoopSuggestions");
    ASSERT_EQ(drawn["loops"].toArray().size(), 2);
    EXPECT_EQ(drawn["loops"][1]["color"], LoopSuggestions::color(2));
    EXPECT_FALSE(page.last("fit").isEmpty());
    EXPECT_TRUE(loops.slotText(0).startsWith("51.0 km · ")) << loops.slotText(0).toStdString();
    EXPECT_EQ(loops.offText(0), "15% shorter than asked");
    EXPECT_EQ(loops.offText(2), "");
    loops.setHighlighted(2);
    EXPECT_EQ(page.last("setLoopSuggestions")["highlighted"], 1);

    // The plan goes round the loop through the server's waypoints; routed again it is the loop.
    const auto [farthest, length] = use(loops, 0);
    const auto& route = planner.route();
    EXPECT_TRUE(route.roundTrip);
    ASSERT_EQ(route.anchors.size(), 4u);
    EXPECT_EQ(route.anchors[0].kind, model::Anchor::Kind::via);
    EXPECT_EQ(route.anchors[1].kind, model::Anchor::Kind::shaping);
    EXPECT_LT(farthest, 1.0);
    EXPECT_NEAR(length, 1.0, 0.001);
    EXPECT_EQ(planner.documentName(), "Loop 51 km");
    EXPECT_TRUE(planner.isDirty());

    EXPECT_FALSE(planner.documentURL());

    // Undo brings back the plan under its own name and file, so a save does not make a copy;
    // redo makes it the loop again.
    planner.undo();
    settle();
    EXPECT_EQ(planner.route().anchors, before) << "one step takes the loop back";
    EXPECT_EQ(planner.documentName(), "Kandel");
    EXPECT_EQ(planner.documentURL(), QUrl::fromLocalFile(saved));
    planner.redo();
    settle();
    EXPECT_EQ(planner.route().anchors.size(), 4u);
    EXPECT_EQ(planner.documentName(), "Loop 51 km");
    EXPECT_FALSE(planner.documentURL());
}

TEST_F(LoopSuggestionsTest, AMotorcycleLoopFollowsEvenlySpreadAnchorsOrTheServersWaypoints)
{
    // Motorcycle answers carry no instructions: the waypoints are only those the answer names,
    // and this one names none.
    graphHopper.revealsWaypoints = false;
    planner.setCostingKind(model::CostingKind::motorcycle);
    settle();
    LoopSuggestions loops(planner, start);
    loops.setKm(700);
    EXPECT_EQ(loops.km(), 600.0) << "a motorcycle goes up to 600 km";
    planner.setCostingKind(model::CostingKind::road);
    EXPECT_EQ(loops.km(), 300.0) << "a change of profile holds the length to the new limit";
    EXPECT_EQ(loops.profileName(), "Road");
    planner.setCostingKind(model::CostingKind::motorcycle);
    settle();
    loops.setKm(60);
    loops.suggest();
    loops.suggest(); // seeds 3, 4 and 5: the first three are cancelled unseen
    ASSERT_TRUE(QTest::qWaitFor([&] { return !loops.isBusy(); }, 10'000));
    EXPECT_EQ(loops.suggestions()[0].loop->seed, 3);

    // 60 km asked, 66 km made: seven shaping anchors about every 8 km cut the square's corners.
    const auto [farthest, length] = use(loops, 0);
    EXPECT_EQ(planner.route().anchors.size(), 1u + 7u);
    EXPECT_LT(farthest, 1'000.0) << "812 m at the corners";
    EXPECT_GT(length, 0.93);

    // Named waypoints ("snapped_waypoints") become the anchors, as "via reached" cues do.
    graphHopper.revealsWaypoints = true;
    loops.suggest();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !loops.isBusy(); }, 10'000));
    const auto [followed, same] = use(loops, 0);
    EXPECT_EQ(planner.route().anchors.size(), 1u + 3u);
    EXPECT_LT(followed, 1.0);
    EXPECT_NEAR(same, 1.0, 0.001);
}
