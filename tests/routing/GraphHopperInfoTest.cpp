// What the planner learns from a GraphHopper server's /info, and the requests it then never
// sends.
#include "LoopbackServer.h"
#include "RunTask.h"
#include "routing/Failure.h"
#include "routing/GraphHopperEngine.h"

#include <QFile>
#include <QNetworkAccessManager>

#include <gtest/gtest.h>

using namespace zuvo;
using model::Anchor;
using model::CostingKind;
using routing::GraphHopperInfo;
using routing::ServerArea;
using test::LoopbackServer;
using test::runTask;

namespace {

QByteArray recorded(const char* name)
{
    QFile file(QStringLiteral(TRAMU_TEST_DATA "/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(GraphHopperInfo, readsWhatAnElevenServerSaysAndShrugsOffTheRest)
{
    const auto info = GraphHopperInfo::parse(recorded("info-11.json"));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->version, "11.0");
    EXPECT_TRUE(info->isVersion11());
    EXPECT_EQ(info->profiles, (QStringList{"road_bike", "gravel_bike", "mtb", "motorcycle"}));
    EXPECT_TRUE(info->elevation);
    EXPECT_EQ(info->area, (ServerArea{8.97659, 47.2701, 13.83504, 50.56434}));
    EXPECT_TRUE(info->area->contains({48.137, 11.575}));
    EXPECT_FALSE(info->area->contains({52.52, 13.40})) << "Berlin lies north of Bavaria";
    EXPECT_EQ(info->dataDate, QDateTime(QDate(2026, 11, 29), QTime(20, 21, 2), Qt::UTC));

    // Hostile or foreign answers: refused as a whole only when there are no profiles to read.
    for (const char* body : {"", "[]", "{\"profiles\":\"road_bike\"}", "<html>Bad Gateway</html>",
                             "{\"version\":\"11.0\"}"})
        EXPECT_FALSE(GraphHopperInfo::parse(QByteArray(body))) << body;
    const auto odd = GraphHopperInfo::parse(
        R"({"profiles":[{"name":"mtb"},{"nome":"x"},7,{"name":""}],"version":10,)"
        R"("elevation":"yes","bbox":[13,50,9,47],"data_date":"yesterday"})");
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->profiles, QStringList{"mtb"});
    EXPECT_FALSE(odd->elevation);
    EXPECT_FALSE(odd->area) << "an upside-down box covers nothing";
    EXPECT_FALSE(odd->dataDate);
    EXPECT_FALSE(odd->isVersion11());
    EXPECT_FALSE(GraphHopperInfo::parse(R"({"profiles":[],"version":"110.1"})")->isVersion11());
}

TEST(GraphHopperInfo, theEngineAsksForItAndSendsNothingTheServerCannotAnswer)
{
    QNetworkAccessManager session;
    LoopbackServer server;
    routing::GraphHopperEngine engine{server.baseURL(), session};
    server.answer = [](const LoopbackServer::Request& request) {
        if (request.url.path() == "/info")
            return LoopbackServer::Answer{.body = recorded("info-11.json")};
        return LoopbackServer::Answer{
            .status = 400, .body = R"({"message":"Point 1 is out of bounds: 52.5,13.4"})"};
    };
    const auto info = runTask(engine.info());
    ASSERT_FALSE(info.error);
    EXPECT_EQ(server.requests.at(0).method, "GET");
    EXPECT_EQ(info.value->profiles.size(), 4u);

    // A request the server answers "out of bounds" reads as the rider's message.
    const Anchor munich{Anchor::Kind::via, {48.137, 11.575}};
    const Anchor berlin{Anchor::Kind::via, {52.52, 13.40}};
    const auto outside = runTask(engine.route(munich, berlin, {CostingKind::road, {}}));
    ASSERT_TRUE(outside.error);
    EXPECT_EQ(outside.errorAs<routing::Failure>()->displayText(),
              "This point is outside the area the routing server covers");

    // Knowing the server, the engine sends neither a point outside its area nor a profile it
    // lacks.
    engine.setLimits({.profiles = QStringList{"road_bike"}, .area = info.value->area});
    server.requests.clear();
    EXPECT_TRUE(runTask(engine.locate(berlin.click, {CostingKind::road, {}})).error);
    const auto gravel = runTask(engine.route(munich, munich, {CostingKind::gravel, {}}));
    ASSERT_TRUE(gravel.error);
    EXPECT_EQ(gravel.errorAs<routing::Failure>()->displayText(),
              "The routing server at " + server.baseURL().toString() +
                  " has no profile 'gravel_bike'; it is not set up with Tramu's configuration "
                  "(deploy/graphhopper).");
    EXPECT_TRUE(
        runTask(engine.mapMatch({munich.click, munich.click}, {CostingKind::mtb, {}})).error);
    EXPECT_TRUE(server.requests.empty());

    // A server that is not GraphHopper.
    server.answer = [](const LoopbackServer::Request&) {
        return LoopbackServer::Answer{.status = 404, .contentType = "text/html", .body = "nope"};
    };
    EXPECT_TRUE(runTask(engine.info()).error);
}
