// Plans routes with the built tramu-cli against a loopback server that
// answers like GraphHopper.
#include "FakeGraphHopper.h"
#include "LoopbackServer.h"
#include "formats/RouteDocumentCoder.h"

#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

using zuvo::test::LoopbackServer;

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// The server lives in this process, so the event loop keeps running while
// the command works.
Run planCli(const QStringList& arguments, const QString& command = QStringLiteral("plan"))
{
    QProcess process;
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(30'000, &loop, &QEventLoop::quit);
    process.start(QStringLiteral(TRAMU_CLI), QStringList{command} + arguments);
    loop.exec();
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

double elevationAt(double latitude)
{
    return 500.0 + (latitude - 48.0) * 10'000.0;
}

// Locate answers the point itself; a route is eleven points on the straight
// line, climbing 10 m per 0.001° of latitude.
LoopbackServer::Answer graphHopper(const LoopbackServer::Request& request)
{
    const QJsonArray points = QJsonDocument::fromJson(request.body)["points"].toArray();
    const QJsonArray a = points.at(0).toArray();
    const QJsonArray b = points.at(1).toArray();
    QJsonArray coordinates;
    const int steps = a == b ? 0 : 10;
    for (int i = 0; i <= steps; ++i) {
        const double t = steps ? double(i) / steps : 0.0;
        const double lon = a[0].toDouble() + t * (b[0].toDouble() - a[0].toDouble());
        const double lat = a[1].toDouble() + t * (b[1].toDouble() - a[1].toDouble());
        coordinates.append(QJsonArray{lon, lat, elevationAt(lat)});
    }
    const QJsonObject path{
        {"points", QJsonObject{{"type", "LineString"}, {"coordinates", coordinates}}},
        {"details", QJsonObject{{"surface", QJsonArray{QJsonArray{0, steps, "asphalt"}}}}}};
    return {.body = QJsonDocument(QJsonObject{{"paths", QJsonArray{path}}}).toJson()};
}

} // namespace

TEST(PlanCommand, plansAndPrintsTheSummary)
{
    LoopbackServer server;
    server.answer = graphHopper;
    const QString url = server.baseURL().toString();

    auto run = planCli({"--server", url, "--profile", "gravel", "48.0,11.0", "48.01,11.0"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject summary = QJsonDocument::fromJson(run.out).object();
    EXPECT_NEAR(summary["distance"].toDouble(), 1111.95, 0.01);
    // Linear 10 m steps smoothed over seven points lose 1.5 steps at each end.
    EXPECT_NEAR(summary["ascent"].toDouble(), 70.0, 1e-6);
    EXPECT_EQ(summary["points"].toInt(), 11);
    EXPECT_EQ(summary["anchors"].toInt(), 2);
    EXPECT_EQ(server.requests.size(), 3u) << "two locates and one leg";

    QTemporaryDir dir;
    const QString gpx = dir.filePath("Loop.gpx");
    server.requests.clear();
    run = planCli({"--profile", "road", "--server", url, "--set", "use_roads=0.3", "--round-trip",
                   "--gpx", gpx, "48.0,11.0", "--shaping", "48.01,11.0", "48.01,11.01"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject loop = QJsonDocument::fromJson(run.out).object();
    EXPECT_EQ(loop["anchors"].toInt(), 3);
    EXPECT_EQ(loop["points"].toInt(), 31) << "three legs of eleven points sharing their ends";
    EXPECT_EQ(server.requests.size(), 6u) << "three locates, two legs and the closing leg";
    const QJsonObject customModel =
        QJsonDocument::fromJson(server.requests.back().body)["custom_model"].toObject();
    EXPECT_EQ(customModel["priority"].toArray().last()["multiply_by"], "0.450");

    QFile file(gpx);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const auto document = zuvo::formats::RouteDocumentCoder::decode(file.readAll());
    ASSERT_TRUE(document);
    ASSERT_EQ(document->anchors.size(), 3u);
    EXPECT_EQ(document->anchors[1].kind, zuvo::model::Anchor::Kind::shaping);
    EXPECT_EQ(document->costing.values.at("use_roads"), 0.3);
    EXPECT_EQ(document->roundTrip, true);
}

TEST(PlanCommand, reportsErrorsAsTheUserSeesThem)
{
    LoopbackServer server;
    server.answer = [](const LoopbackServer::Request&) {
        return LoopbackServer::Answer{.status = 400,
                                      .body = R"({"message":"Cannot find point 0: 48.0,11.0"})"};
    };
    const QString url = server.baseURL().toString();
    auto run = planCli({"--server", url, "--profile", "mtb", "48.0,11.0", "48.01,11.0"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "tramu-cli: Cannot find point 0: 48.0,11.0\n");
    EXPECT_TRUE(run.out.isEmpty());

    server.answer = [](const LoopbackServer::Request&) {
        return LoopbackServer::Answer{.body = R"({"paths":[]})"};
    };
    run = planCli({"--server", url, "--profile", "mtb", "48.0,11.0", "48.01,11.0"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "tramu-cli: notSnappable(latitude: 48, longitude: 11)\n");

    for (const QStringList& wrong :
         {QStringList{"48.0,11.0", "48.01,11.0"},
          QStringList{"--profile", "tandem", "48.0,11.0", "48.01,11.0"},
          QStringList{"--profile", "road", "48.0,11.0"},
          QStringList{"--profile", "road", "48.0;11.0", "48.01,11.0"},
          QStringList{"--profile", "road", "--set", "use_roads=2", "1,2", "3,4"}}) {
        run = planCli(wrong);
        EXPECT_EQ(run.exitCode, 2) << wrong.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains("usage: tramu-cli plan"));
    }
    EXPECT_TRUE(server.requests.size() == 2u) << "no request for a wrong command line";
}

TEST(LoopCommand, plansTheSuggestedLoopAndWritesADocumentTheWindowOpens)
{
    zuvo::test::FakeGraphHopper server;
    const QString url = server.baseURL().toString();
    QTemporaryDir dir;
    const QString gpx = dir.filePath("Kandel loop.gpx");
    auto run = planCli({"48.0,7.85", "--km", "60", "--heading", "90", "--seed", "2", "--profile",
                        "gravel", "--server", url, "--gpx", gpx},
                       "loop");
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject summary = QJsonDocument::fromJson(run.out).object();
    // The stand-in makes seed 2 5 % long; planned again through its waypoints it is the same.
    EXPECT_NEAR(summary["suggested"].toDouble(), 63'000.0, 200.0);
    EXPECT_NEAR(summary["distance"].toDouble(), summary["suggested"].toDouble(), 1.0);
    EXPECT_EQ(summary["anchors"].toInt(), 4);
    const QJsonObject asked = QJsonDocument::fromJson(server.requests.at(0).body).object();
    EXPECT_EQ(asked["round_trip.seed"], 2);
    EXPECT_EQ(asked["headings"], QJsonArray{90.0});

    QFile file(gpx);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const auto document = zuvo::formats::RouteDocumentCoder::decode(file.readAll());
    ASSERT_TRUE(document);
    EXPECT_TRUE(document->roundTrip);
    EXPECT_EQ(document->name, "Kandel loop");
    ASSERT_EQ(document->anchors.size(), 4u);
    EXPECT_EQ(document->anchors[3].kind, zuvo::model::Anchor::Kind::shaping);
    const auto stats = planCli({gpx}, "stats");
    ASSERT_EQ(stats.exitCode, 0) << stats.err.toStdString();
    EXPECT_NEAR(QJsonDocument::fromJson(stats.out)["distance"].toDouble(),
                summary["distance"].toDouble(), 1.0);

    for (const QStringList& wrong : {QStringList{"--km", "60"}, QStringList{"48.0,7.85"},
                                     QStringList{"48.0,7.85", "--km", "301"},
                                     QStringList{"48.0,7.85", "--km", "60", "--heading", "360"}}) {
        run = planCli(wrong, "loop");
        EXPECT_EQ(run.exitCode, 2) << wrong.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains("usage: tramu-cli loop"));
    }
    EXPECT_EQ(
        planCli({"48.0,7.85", "--km", "600", "--profile", "motorcycle", "--server", url}, "loop")
            .exitCode,
        0)
        << "a motorcycle loop may be longer";
}
