#include "routing/GraphHopperEngine.h"

#include "LoopbackServer.h"
#include "RunTask.h"
#include "routing/Failure.h"
#include "routing/GraphHopperRequest.h"
#include "routing/GraphHopperResponse.h"
#include "routing/HttpExchange.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QTimer>

#include <gtest/gtest.h>

using namespace zuvo;
using model::Anchor;
using model::Coordinate;
using model::CostingKind;
using model::CostingProfile;
using routing::Failure;
using routing::RoutingError;
using test::LoopbackServer;
using test::runTask;

namespace zuvo::routing {
inline void PrintTo(const Failure& failure, std::ostream* os)
{
    *os << failure.description().toStdString();
}
} // namespace zuvo::routing

namespace {

QByteArray recorded(const char* name)
{
    QFile file(QStringLiteral(TRAMU_TEST_DATA "/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QJsonObject bodyOf(const LoopbackServer::Request& request)
{
    return QJsonDocument::fromJson(request.body).object();
}

QJsonArray array(std::initializer_list<QJsonValue> values)
{
    return QJsonArray(values);
}

class GraphHopperTest : public ::testing::Test {
protected:
    QNetworkAccessManager session;
    LoopbackServer server;
    routing::GraphHopperEngine engine{server.baseURL(), session};
    const Anchor from{Anchor::Kind::via, {48.1, 11.5}, Anchor::Snap{{48.1372, 11.5751, 519.0}, {}}};
    const Anchor to{Anchor::Kind::shaping, {48.2, 11.6}};

    void answerWith(int status, QByteArray body, QByteArray contentType = "application/json")
    {
        server.answer = [=](const LoopbackServer::Request&) {
            return LoopbackServer::Answer{status, contentType, body};
        };
    }

    std::optional<Failure> routeFailure(const CostingProfile& costing = {CostingKind::road, {}})
    {
        return runTask(engine.route(from, to, costing)).errorAs<Failure>();
    }
};

} // namespace

TEST_F(GraphHopperTest, locateSendsThePointTwiceAndReadsTheFirstSnappedPoint)
{
    answerWith(200,
               R"({"paths":[{"points":{"coordinates":[[11.51,48.11,502.5],[11.51,48.11]]}}]})");
    auto snap = runTask(engine.locate({48.1, 11.5}, {CostingKind::mtb, {{"avoid_climbs", 0.9}}}));
    ASSERT_FALSE(snap.error);
    EXPECT_EQ(*snap.value, (Anchor::Snap{{48.11, 11.51, 502.5}, std::nullopt}));

    ASSERT_EQ(server.requests.size(), 1u);
    const auto& request = server.requests[0];
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.url.path(), "/route");
    EXPECT_EQ(request.header("Content-Type"), "application/json");
    const QJsonObject expected{
        {"points", array({array({11.5, 48.1}), array({11.5, 48.1})})},
        {"profile", "mtb"},
        {"elevation", true},
        {"points_encoded", false},
        {"ch.disable", true},
    };
    EXPECT_EQ(bodyOf(request), expected);

    // No elevation in the answer: none in the snap.
    answerWith(200, R"({"paths":[{"points":{"coordinates":[[11.52,48.12]]}}]})");
    EXPECT_EQ(runTask(engine.locate({48.1, 11.5}, {})).value->coordinate,
              (Coordinate{48.12, 11.52}));

    // Without a usable first point the position cannot be snapped.
    const Failure unsnappable(RoutingError::notSnappable({48.1, 11.5}));
    for (const char* body :
         {R"({"paths":[]})", R"({"paths":[{}]})", R"({"paths":[{"points":{"coordinates":[]}}]})",
          R"({"paths":[{"points":{"coordinates":[[11.5]]}}]})", R"([1,2])",
          R"({"paths":[{"points":{"coordinates":[["11.5",48.1]]}}]})"}) {
        answerWith(200, body);
        EXPECT_EQ(runTask(engine.locate({48.1, 11.5}, {})).errorAs<Failure>(), unsnappable) << body;
    }
}

TEST_F(GraphHopperTest, routeRequestsOneLegAndCutsItAtDetailChanges)
{
    answerWith(200, recorded("route-5-points.json"));
    const CostingProfile road{CostingKind::road, {}};
    auto segments = runTask(engine.route(from, to, road));
    ASSERT_FALSE(segments.error);

    const QJsonObject body = bodyOf(server.requests.at(0));
    EXPECT_EQ(body.keys(),
              QStringList({"ch.disable", "custom_model", "details", "elevation", "instructions",
                           "locale", "points", "points_encoded", "profile"}));
    EXPECT_EQ(body["locale"], "en") << "the instructions' language";
    EXPECT_EQ(body["points"], array({array({11.5751, 48.1372}), array({11.6, 48.2})}))
        << "snapped position of the first anchor, click of the unsnapped second";
    EXPECT_EQ(body["profile"], "road_bike");
    EXPECT_EQ(body["instructions"], true);
    EXPECT_EQ(body["details"], array({"surface", "road_class", "average_slope", "max_slope"}));
    EXPECT_EQ(body["custom_model"], routing::graphhopper::customModel(road));

    // Surface [0, 3) asphalt and road class [2, 5) track: breaks at 0, 2, 3, 4.
    const auto& s = *segments.value;
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(s[0].coordinates.size(), 3u);
    EXPECT_EQ(s[0].surface, "asphalt");
    EXPECT_EQ(s[0].roadClass, std::nullopt);
    EXPECT_EQ(s[1].coordinates.front(), s[0].coordinates.back()) << "segments share boundaries";
    EXPECT_EQ(s[1].surface, "asphalt");
    EXPECT_EQ(s[1].roadClass, "track");
    EXPECT_EQ(s[2].coordinates,
              (std::vector<Coordinate>{{48.1386, 11.5790, 523.0}, {48.1391, 11.5802, 523.4}}));
    EXPECT_EQ(s[2].surface, std::nullopt);
    EXPECT_EQ(s[2].roadClass, "track");
    EXPECT_DOUBLE_EQ(s[2].distance, s[2].coordinates[0].distance(s[2].coordinates[1]));

    const CostingProfile moto{CostingKind::motorcycle, {}};
    ASSERT_FALSE(runTask(engine.route(from, to, moto)).error);
    EXPECT_EQ(bodyOf(server.requests.at(1))["instructions"], false);
    EXPECT_EQ(bodyOf(server.requests.at(1))["profile"], "motorcycle");
}

TEST_F(GraphHopperTest, aLoopAsksForOnePointWithItsLengthSeedAndHeadingAsNumbers)
{
    answerWith(200, recorded("route-5-points.json"));
    const CostingProfile gravel{CostingKind::gravel, {{"avoid_unpaved", 0.2}}};
    const auto loop = runTask(engine.roundTrip({48.1, 11.5}, 60'000.4, 292.5, 7, gravel));
    ASSERT_FALSE(loop.error);
    EXPECT_FALSE(loop.value->empty()) << "read like a leg";
    const auto anyDirection =
        runTask(engine.roundTrip({48.1, 11.5}, 25'000, std::nullopt, 0, gravel));
    ASSERT_FALSE(anyDirection.error);

    const QJsonObject headed = bodyOf(server.requests.at(0));
    const QJsonObject anyWay = bodyOf(server.requests.at(1));
    EXPECT_EQ(headed.keys(),
              QStringList({"algorithm", "ch.disable", "custom_model", "details", "elevation",
                           "headings", "instructions", "locale", "points", "points_encoded",
                           "profile", "round_trip.distance", "round_trip.seed"}));
    EXPECT_EQ(headed["points"], array({array({11.5, 48.1})}));
    EXPECT_EQ(headed["algorithm"], "round_trip");
    EXPECT_TRUE(headed["round_trip.distance"].isDouble());
    EXPECT_EQ(headed["round_trip.distance"], 60'000);
    EXPECT_TRUE(headed["round_trip.seed"].isDouble());
    EXPECT_EQ(headed["round_trip.seed"], 7);
    EXPECT_EQ(headed["headings"], array({292.5}));
    EXPECT_EQ(headed["custom_model"], routing::graphhopper::customModel(gravel));
    EXPECT_EQ(headed["profile"], "gravel_bike");
    EXPECT_FALSE(anyWay.contains("headings"));
    EXPECT_EQ(anyWay["round_trip.seed"], 0);
    EXPECT_EQ(server.requests.at(0).url.path(), "/route");

    // The server's reason for a loop it cannot find, as for a leg.
    answerWith(400, R"({"message":"Cannot find point 0: 48.1,11.5"})");
    EXPECT_EQ(
        runTask(engine.roundTrip({48.1, 11.5}, 5'000, std::nullopt, 1, gravel)).errorAs<Failure>(),
        Failure(RoutingError::engineUnavailable("Cannot find point 0: 48.1,11.5")));
}

TEST(GraphHopperCustomModel, preferencesBecomePriorityRules)
{
    using routing::graphhopper::customModel;
    const QJsonArray uphillSpeed{
        QJsonObject{{"if", "average_slope >= 6"}, {"multiply_by", "0.55"}}};

    const QJsonObject climbs = customModel({CostingKind::road, {{"avoid_climbs", 0.5}}});
    const QJsonObject expectedClimbs{
        {"priority",
         QJsonArray{QJsonObject{{"if", "average_slope >= 15.0"}, {"multiply_by", "0.550"}},
                    QJsonObject{{"if", "average_slope >= 10.0"}, {"multiply_by", "0.650"}},
                    QJsonObject{{"if", "average_slope >= 7.0"}, {"multiply_by", "0.775"}},
                    QJsonObject{{"if", "average_slope >= 4.0"}, {"multiply_by", "0.900"}},
                    QJsonObject{{"if", "max_slope >= 18"}, {"multiply_by", "0.575"}}}},
        {"speed", uphillSpeed},
        {"distance_influence", 60},
    };
    EXPECT_EQ(climbs, expectedClimbs);

    const QJsonObject threshold = customModel({CostingKind::gravel, {{"avoid_climbs", 0.05}}});
    EXPECT_FALSE(threshold.contains("priority")) << "the test is strictly greater";
    EXPECT_EQ(threshold["distance_influence"].toDouble(), 87.0);

    EXPECT_FALSE(customModel({CostingKind::road, {{"use_roads", 0.5}}}).contains("priority"));
    EXPECT_EQ(customModel({CostingKind::road, {{"use_roads", 0.2}}})["priority"],
              (QJsonArray{QJsonObject{{"if", "road_class == PRIMARY || road_class == TRUNK"},
                                      {"multiply_by", "0.350"}}}));
    EXPECT_EQ(
        customModel({CostingKind::gravel, {{"avoid_bad_surfaces", 0.5}}})["priority"],
        (QJsonArray{QJsonObject{{"if", "surface == GRAVEL || surface == DIRT || surface == SAND"},
                                {"multiply_by", "0.550"}}}));
    EXPECT_EQ(customModel({CostingKind::road, {}}),
              (QJsonObject{{"speed", uphillSpeed}, {"distance_influence", 90}}))
        << "defaults are not read for the surface and road rules";

    const QJsonObject moto = customModel({CostingKind::motorcycle, {{"avoid_motorways", 0.3}}});
    EXPECT_EQ(moto,
              (QJsonObject{{"priority", QJsonArray{QJsonObject{{"if", "road_class == MOTORWAY"},
                                                               {"multiply_by", "0.730"}}}},
                           {"distance_influence", 90}}));
}

TEST_F(GraphHopperTest, mapMatchPostsTheTrackAsGPX)
{
    answerWith(200, recorded("route-5-points.json"));
    const std::vector<Coordinate> track{
        {48.1, 11.5, 500.0}, {48.1234567, -0.0000004}, {-33.5, 151.25}};
    auto segments = runTask(engine.mapMatch(track, {CostingKind::gravel, {{"avoid_climbs", 1.0}}}));
    ASSERT_FALSE(segments.error);
    EXPECT_EQ(segments.value->size(), 3u);

    const auto& request = server.requests.at(0);
    EXPECT_EQ(request.url.path(), "/match");
    EXPECT_EQ(request.url.query(QUrl::FullyEncoded),
              "profile=gravel_bike&points_encoded=false&elevation=true&details=surface&details="
              "road_class");
    EXPECT_EQ(request.header("Content-Type"), "application/gpx+xml");
    EXPECT_EQ(request.body, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                            "<gpx version=\"1.1\"><trk><trkseg>\n"
                            "<trkpt lat=\"48.100000\" lon=\"11.500000\"/>\n"
                            "<trkpt lat=\"48.123457\" lon=\"-0.000000\"/>\n"
                            "<trkpt lat=\"-33.500000\" lon=\"151.250000\"/>\n"
                            "</trkseg></trk></gpx>");

    routing::GraphHopperEngine broken(QUrl("relative/path"), session);
    EXPECT_EQ(runTask(broken.mapMatch(track, {})).errorAs<Failure>(),
              Failure(RoutingError::malformedResponse()));
}

TEST_F(GraphHopperTest, serverFailuresBecomeRoutingErrors)
{
    answerWith(400, R"({"message":"Connection between locations not found","hints":[]})");
    EXPECT_EQ(routeFailure(),
              Failure(RoutingError::engineUnavailable("Connection between locations not found")));

    answerWith(503, "<html><body>Service Unavailable</body></html>", "text/html");
    EXPECT_EQ(routeFailure(), Failure(RoutingError::engineUnavailable("route → HTTP 503")));
    EXPECT_EQ(runTask(engine.mapMatch({{1, 2}, {3, 4}}, {})).errorAs<Failure>(),
              Failure(RoutingError::engineUnavailable("match → HTTP 503")));

    answerWith(500, R"({"message":42})");
    EXPECT_EQ(routeFailure(), Failure(RoutingError::engineUnavailable("route → HTTP 500")));

    answerWith(200, "<html>proxy login</html>", "text/html");
    const auto notJSON = routeFailure();
    ASSERT_TRUE(notJSON);
    EXPECT_TRUE(std::holds_alternative<routing::JsonError>(notJSON->reason()));

    answerWith(200, R"({"paths":[{"points":{"coordinates":[[11.5,48.1,500]]}}]})");
    EXPECT_EQ(routeFailure(), Failure(RoutingError::noRouteFound()));
    answerWith(200, R"({"hints":{}})");
    EXPECT_EQ(routeFailure(), Failure(RoutingError::malformedResponse()));

    // JSON that is no object is an answer of the wrong shape, not a JSON error.
    const Coordinate clicked{48.1, 11.5};
    for (const char* scalar : {"null", " 42 ", R"("x")", "true", "[]"}) {
        answerWith(200, scalar);
        EXPECT_EQ(routeFailure(), Failure(RoutingError::malformedResponse())) << scalar;
        EXPECT_EQ(runTask(engine.mapMatch({{1, 2}, {3, 4}}, {})).errorAs<Failure>(),
                  Failure(RoutingError::malformedResponse()))
            << scalar;
        EXPECT_EQ(runTask(engine.locate(clicked, {})).errorAs<Failure>(),
                  Failure(RoutingError::notSnappable(clicked)))
            << scalar;
    }
    for (const char* notJSON : {"", "42 43", "1] [2", "nul"}) {
        answerWith(200, notJSON);
        const auto failure = routeFailure();
        ASSERT_TRUE(failure) << notJSON;
        EXPECT_TRUE(std::holds_alternative<routing::JsonError>(failure->reason())) << notJSON;
    }
}

TEST_F(GraphHopperTest, transportFailuresPassThrough)
{
    // Nothing listens on the port of a closed server.
    quint16 closedPort;
    {
        LoopbackServer gone;
        closedPort = static_cast<quint16>(gone.baseURL().port());
    }
    routing::GraphHopperEngine unreachable(
        QUrl(QStringLiteral("http://127.0.0.1:%1").arg(closedPort)), session);
    const auto refused = runTask(unreachable.locate({1, 2}, {})).errorAs<Failure>();
    ASSERT_TRUE(refused);
    EXPECT_EQ(std::get<routing::NetworkError>(refused->reason()).code,
              QNetworkReply::ConnectionRefusedError);
    EXPECT_EQ(refused->displayText(),
              QStringLiteral("Could not reach the routing server at http://127.0.0.1:%1: "
                             "Connection refused")
                  .arg(closedPort));

    // A server that never answers runs into the time-out, which is not a cancellation.
    server.answer = [](const LoopbackServer::Request&) {
        return LoopbackServer::Answer{.silent = true};
    };
    routing::GraphHopperEngine patient(server.baseURL(), session, std::chrono::milliseconds(200));
    const auto timedOut = runTask(patient.route(from, to, {})).errorAs<Failure>();
    ASSERT_TRUE(timedOut);
    EXPECT_FALSE(timedOut->isCancellation());
    EXPECT_EQ(std::get<routing::NetworkError>(timedOut->reason()).code,
              QNetworkReply::TimeoutError);

    // The same when the status line arrived but the body stalls: no half answer is parsed.
    server.answer = [](const LoopbackServer::Request&) {
        return LoopbackServer::Answer{
            .raw = "HTTP/1.1 200 OK\r\nContent-Length: 500\r\n\r\n{\"paths\":"};
    };
    const auto stalled = runTask(patient.route(from, to, {})).errorAs<Failure>();
    ASSERT_TRUE(stalled);
    EXPECT_EQ(std::get<routing::NetworkError>(stalled->reason()).code, QNetworkReply::TimeoutError);

    // Cancelling aborts the request in flight.
    std::stop_source cancel;
    auto pending = engine.route(from, to, {}, cancel.get_token());
    QTimer::singleShot(50, [&] { cancel.request_stop(); });
    const auto cancelled = runTask(std::move(pending)).errorAs<Failure>();
    ASSERT_TRUE(cancelled);
    EXPECT_TRUE(cancelled->isCancellation());
}

TEST(GraphHopperResponse, hostileAnswersNeverCrash)
{
    using routing::graphhopper::parseSegments;
    const auto parse = [](const QByteArray& text) -> std::optional<Failure> {
        try {
            parseSegments(QJsonDocument::fromJson(text));
            return std::nullopt;
        } catch (const Failure& failure) {
            return failure;
        }
    };
    const Failure malformed(RoutingError::malformedResponse());
    EXPECT_EQ(parse(R"({"paths":[{"points":{"coordinates":[[1,2],[3,4)"), malformed) << "truncated";
    EXPECT_EQ(parse(QByteArray(5000, '[') + QByteArray(5000, ']')), malformed) << "deeply nested";
    EXPECT_EQ(parse(R"({"paths":{"points":1}})"), malformed);
    EXPECT_EQ(parse(R"({"paths":[1]})"), malformed);
    EXPECT_EQ(parse(R"({"paths":[{"points":[]}]})"), malformed);
    EXPECT_EQ(parse(R"({"paths":[{"points":{"coordinates":[[1,2],[3,"4"]]}}]})"), malformed);
    EXPECT_EQ(parse(R"({"paths":[{"points":{"coordinates":[[1,2],{}]}}]})"), malformed);

    // Odd detail runs are skipped or clamped, never trusted as indices.
    const auto segments = parseSegments(QJsonDocument::fromJson(R"({"paths":[{
        "points":{"coordinates":[[1,2],[],[1,2.001],[1,2.002]]},
        "details":{"surface":[[-7,1,"sett"],[1.5,2,"x"],[1,"2","y"],[1],[2,1e300,"gravel"],[1,2,3]],
                   "road_class":[[0,99999999999,null]]}}]})"));
    ASSERT_EQ(segments.size(), 2u) << "the empty entry is skipped: 3 points, breaks 0, 1, 2";
    EXPECT_EQ(segments[0].surface, "sett");
    EXPECT_EQ(segments[1].surface, std::nullopt) << "the gravel run ends before it starts";
    EXPECT_EQ(segments[1].roadClass, std::nullopt);

    // A details member of the wrong shape is treated as absent.
    const auto plain = parseSegments(QJsonDocument::fromJson(
        R"({"paths":[{"points":{"coordinates":[[1,2],[1,3],[1,4]]},"details":{"surface":[[0,1,"a"]],"time":5}}]})"));
    EXPECT_EQ(plain.size(), 1u);
}

TEST(HttpExchange, appendingOnePathComponent)
{
    const auto endpoint = routing::appendingPathComponent;
    EXPECT_EQ(endpoint(QUrl("http://127.0.0.1:8989"), "route").toString(),
              "http://127.0.0.1:8989/route");
    EXPECT_EQ(endpoint(QUrl("https://example.org/gh/"), "match").toString(),
              "https://example.org/gh/match");
    EXPECT_EQ(endpoint(QUrl("https://example.org/gh"), "route").toString(),
              "https://example.org/gh/route");
}
