// What the planner makes of its routing server's /info: banners, kinds it cannot route, the area
// it covers and heights that came out flat.
#include "app/settings/RoutingServerStatus.h"

#include "PlannerFixture.h"
#include "routing/GraphHopperEngine.h"

#include <QNetworkReply>

using namespace zuvo;
using namespace zuvo::test;
using app::RoutingServerStatus;
using model::CostingKind;
using routing::GraphHopperInfo;

namespace {

GraphHopperInfo bavaria()
{
    return {.version = "11.0",
            .profiles = {"road_bike", "mtb", "motorcycle"},
            .elevation = true,
            .area = routing::ServerArea{10.9, 47.9, 11.2, 48.2},
            .dataDate = QDateTime(QDate(2026, 11, 29), QTime(20, 0), Qt::UTC)};
}

// A server that answers /info with what `answer` holds at the time, or cannot be reached.
RoutingServerStatus::Fetch serverAnswering(std::shared_ptr<std::optional<GraphHopperInfo>> answer)
{
    return [answer](std::stop_token) -> QCoro::Task<GraphHopperInfo> {
        if (!*answer)
            throw routing::Failure(routing::NetworkError{QNetworkReply::ConnectionRefusedError,
                                                         "Could not reach x: Connection refused"});
        co_return **answer;
    };
}

model::Route flatRoute(double kilometres)
{
    std::vector<Coordinate> line;
    for (int i = 0; i <= 10; ++i)
        line.push_back({48.0 + kilometres / 111.0 * i / 10.0, 11.0, 0.0});
    return {.anchors = {Anchor(Anchor::Kind::via, line.front()),
                        Anchor(Anchor::Kind::via, line.back())},
            .legs = {model::RouteLeg{
                {{.coordinates = line, .distance = line.front().distance(line.back())}}}}};
}

} // namespace

TEST(RoutingServerStatus, whatTheServerLacksIsSaidOnceAndNothingIsAssumedBeforeItAnswers)
{
    auto answer = std::make_shared<std::optional<GraphHopperInfo>>(bavaria());
    RoutingServerStatus status(serverAnswering(answer));
    EXPECT_TRUE(status.hasProfile(CostingKind::gravel)) << "unknown is not missing";
    EXPECT_TRUE(status.notices().isEmpty());

    ASSERT_FALSE(runTask(status.check(QUrl("http://gh.local:8989"))).error);
    EXPECT_FALSE(status.hasProfile(CostingKind::gravel));
    EXPECT_TRUE(status.hasProfile(CostingKind::mtb));
    EXPECT_EQ(status.notices(), QStringList{"The routing server at http://gh.local:8989 has no "
                                            "profile 'gravel_bike'; it is not set up with "
                                            "Tramu's configuration (deploy/graphhopper)."});
    EXPECT_TRUE(status.coverage().contains("Covers 47.90° to 48.20° N, 10.90° to 11.20° E."))
        << status.coverage().toStdString();
    EXPECT_TRUE(status.coverage().contains("road_bike, mtb, motorcycle"));

    // Heights all equal over more than 2 km: the elevation download failed at import. Once.
    int changes = 0;
    QObject::connect(&status, &RoutingServerStatus::changed, [&] { ++changes; });
    status.noticeRoute(flatRoute(1.5));
    EXPECT_FALSE(status.heightsFlat()) << "a short flat leg is just flat";
    status.noticeRoute(flatRoute(3.0));
    status.noticeRoute(flatRoute(3.0));
    EXPECT_TRUE(status.heightsFlat());
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(status.hasElevation());
    EXPECT_TRUE(status.notices().last().startsWith("The routing server's heights are all 0 m"));

    // Another server: no elevation at all, an older GraphHopper; the flat warning was for the
    // one before.
    answer->emplace(bavaria());
    (*answer)->elevation = false;
    (*answer)->version = "10.2";
    (*answer)->profiles.append("gravel_bike");
    ASSERT_FALSE(runTask(status.check(QUrl("http://other:8989"))).error);
    EXPECT_FALSE(status.heightsFlat());
    EXPECT_EQ(status.notices(),
              (QStringList{"The routing server has no elevation data: ascent, climbs and the "
                           "climb preference are unavailable.",
                           "Tramu is made for GraphHopper 11; this routing server runs "
                           "GraphHopper 10.2."}));

    // Unreachable: nothing is assumed, the settings window says why.
    answer->reset();
    ASSERT_FALSE(runTask(status.check(QUrl("http://gone:8989"))).error);
    EXPECT_FALSE(status.info());
    EXPECT_TRUE(status.hasProfile(CostingKind::gravel));
    EXPECT_EQ(status.coverage(), "Could not reach x: Connection refused");
}

TEST_F(PlannerViewModelTest, AClickOutsideTheServersAreaSendsNothingAndSaysWhy)
{
    auto answer = std::make_shared<std::optional<GraphHopperInfo>>(bavaria());
    RoutingServerStatus status(serverAnswering(answer));
    ASSERT_FALSE(runTask(status.check(QUrl("http://gh.local:8989"))).error);
    vm->setServerStatus(&status);
    build(1);
    tap({52.52, 13.40});
    vm->addViaAt(13.40, 52.52);
    settle();
    EXPECT_TRUE(script->requests.empty()) << "no request for a point the server does not cover";
    EXPECT_EQ(vm->errorMessage(), "This point is outside the area the routing server covers");
    EXPECT_EQ(vm->route().anchors.size(), 1u);
    const auto shown = page->last("showServerArea");
    EXPECT_TRUE(shown.value("visible").toBool()) << "the area is outlined for a moment";
    EXPECT_EQ(shown.value("bounds").toArray().at(3).toDouble(), 48.2);

    tap(at(1));
    settle();
    EXPECT_EQ(vm->route().anchors.size(), 2u) << "inside it, planning goes on";
}
