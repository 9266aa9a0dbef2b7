// Runs the built tramu-cli on files in a temporary directory, as a user's
// batch script would.
#include "FileSizeLimit.h"
#include "FitFileBuilder.h"
#include "formats/BrytonTourWriter.h"
#include "formats/FITImporter.h"
#include "formats/GPXImporter.h"
#include "formats/GPXWriter.h"
#include "formats/RouteDocumentCoder.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <optional>

using namespace zuvo::formats;
using zuvo::test::FitFileBuilder;

namespace {

constexpr auto semicircles = &FitFileBuilder::semicircles;

struct Outcome {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// With `fileSizeLimit`, the command's writes beyond that many bytes fail as
// on a full disk.
Outcome tramuCli(const QStringList& arguments, std::optional<rlim_t> fileSizeLimit = std::nullopt)
{
    QProcess process;
    if (fileSizeLimit)
        process.setChildProcessModifier([=] { zuvo::test::limitFileSize(*fileSizeLimit); });
    process.start(QStringLiteral(TRAMU_CLI), arguments);
    if (!process.waitForFinished(30'000))
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

class Cli : public testing::Test {
protected:
    QString path(const QString& name) const { return m_directory.filePath(name); }

    QString write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path(name);
    }

    QByteArray read(const QString& name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QTemporaryDir m_directory;
};

QByteArray activity()
{
    FitFileBuilder fit;
    fit.define(0, 20, {{253, 4}, {0, 4}, {1, 4}, {78, 4}, {3, 1}, {13, 1}, {73, 4}});
    fit.data(0, {1000, semicircles(48.0), semicircles(11.0), 2600, 120, 18, 5000});
    fit.data(0, {1010, semicircles(48.001), semicircles(11.0), 2610, 140, 17, 6000});
    fit.define(1, 18, {{2, 4}});
    fit.data(1, {1000});
    return fit.build();
}

const char* routeOnlyGPX = R"(<gpx><rte>
    <rtept lat="48.1" lon="11.5"><ele>520</ele></rtept>
    <rtept lat="48.2" lon="11.6"/></rte></gpx>)";

} // namespace

TEST_F(Cli, convertWritesTheRideAsTheDeviceImportDoes)
{
    const QByteArray fit = activity();
    const QString in = write(QStringLiteral("Evening ride.fit"), fit);
    const Outcome run = tramuCli({QStringLiteral("convert"), in, path(QStringLiteral("out.gpx"))});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();

    const auto samples = FITImporter::read(fit)->tracks.at(0);
    const GPXWriter writer{.creator = QStringLiteral("zuvo")};
    EXPECT_EQ(read(QStringLiteral("out.gpx")),
              writer.write(samples, QStringLiteral("Evening ride")));

    // A Bryton track and a GPX route become coordinate-only rides.
    const std::vector<zuvo::model::Coordinate> points{{48.1, 11.5, 520.0}, {48.2, 11.6, 0.0}};
    const QString track = write(QStringLiteral("tour.TRACK"),
                                BrytonTourWriter::trackData({.name = "t", .points = points}));
    const QString route = write(QStringLiteral("route.gpx"), routeOnlyGPX);
    for (const QString& source : {track, route}) {
        ASSERT_EQ(
            tramuCli({QStringLiteral("convert"), source, path(QStringLiteral("x.gpx"))}).exitCode,
            0);
        const auto imported = GPXImporter::read(read(QStringLiteral("x.gpx")));
        ASSERT_TRUE(imported.hasValue());
        ASSERT_EQ(imported->tracks.size(), 1u);
        EXPECT_EQ(imported->tracks[0].size(), 2u);
        EXPECT_EQ(imported->tracks[0][0].coordinate, points[0]);
    }
}

TEST_F(Cli, aFailedWriteKeepsTheEarlierFileAndSaysWhy)
{
    // A ride whose GPX is far larger than the limit.
    FitFileBuilder fit;
    fit.define(0, 20, {{253, 4}, {0, 4}, {1, 4}});
    for (std::uint32_t i = 0; i < 2000; ++i)
        fit.data(0, {i, semicircles(48.0 + i * 1e-5), semicircles(11.0)});
    const QString in = write(QStringLiteral("long.fit"), fit.build());
    const QString out = write(QStringLiteral("ride.gpx"), "earlier ride");

    const Outcome run = tramuCli({QStringLiteral("convert"), in, out}, 64 * 1024);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "tramu-cli: " + out.toUtf8() + ": " + std::strerror(EFBIG) + "\n");
    EXPECT_EQ(read(QStringLiteral("ride.gpx")), "earlier ride");
    EXPECT_EQ(QDir(path(".")).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"long.fit", "ride.gpx"}));
}

TEST_F(Cli, courseWritesAFitCourseFromAPlanOrAnyGPX)
{
    using namespace zuvo::model;
    const std::vector<Coordinate> first{{48.1, 11.5, 520.0}, {48.11, 11.5, 530.0}};
    const std::vector<Coordinate> second{{48.11, 11.5, 530.0}, {48.12, 11.51, 525.0}};
    Route plan{.anchors = {{Anchor::Kind::via, first[0]},
                           {Anchor::Kind::via, second[0]},
                           {Anchor::Kind::via, second[1]}}};
    for (const auto& leg : {first, second})
        plan.legs.push_back(RouteLeg{{{.coordinates = leg, .distance = leg[0].distance(leg[1])}}});
    // A turn the routing server named: saved with the plan, it is on the course without a server.
    plan.legs[0]->segments[0].cues = {
        {.sign = Cue::Sign::left, .position = first[1], .distance = 600, .streetName = "Bahnweg"}};
    const QString document =
        write("plan.gpx", RouteDocumentCoder::encode(plan, {CostingKind::gravel, {}}, "Alpen"));
    const QString track = write("track.gpx", routeOnlyGPX);
    // A loop from the doorstep: every anchor at one spot, eight points of track.
    Route loop{.anchors = {{Anchor::Kind::via, first[0]},
                           {Anchor::Kind::via, first[0]},
                           {Anchor::Kind::via, first[0]}}};
    std::vector<Coordinate> around{first[0]};
    for (int i = 1; i < 7; ++i)
        around.push_back({48.1 + 0.001 * (i % 4), 11.5 + 0.001 * (i / 4), 520.0});
    around.push_back(first[0]);
    loop.legs = {RouteLeg{{{.coordinates = {first[0]}}}}, RouteLeg{{{.coordinates = around}}}};
    const QString doorstep =
        write("loop.gpx", RouteDocumentCoder::encode(loop, {CostingKind::road, {}}, "Haustür"));
    // The plan: 3 points, its turn and Via 2 between its ends; the loop: all 8 points (its track
    // joins the legs); the plain route: 2 points.
    for (const auto& [in, points, coursePoints] :
         {std::tuple{document, 3u, 2u}, std::tuple{doorstep, 8u, 1u}, std::tuple{track, 2u, 0u}}) {
        const Outcome run = tramuCli({"course", in, path("out.fit"), "--profile", "mtb"});
        ASSERT_EQ(run.exitCode, 0) << run.err.constData();
        const auto course = FITImporter::read(read("out.fit"));
        ASSERT_TRUE(course) << in.toStdString();
        EXPECT_EQ(course->tracks.at(0).size(), points);
        EXPECT_EQ(course->waypoints.size(), coursePoints);
    }
    EXPECT_EQ(tramuCli({"course", track, path("x.fit"), "--profile", "tandem"}).exitCode, 2);

    // The extension picks the format.
    ASSERT_EQ(tramuCli({"course", document, path("out.TCX")}).exitCode, 0);
    const QByteArray tcx = read("out.TCX");
    EXPECT_TRUE(tcx.contains("<Name>Alpen</Name>")) << tcx.constData();
    EXPECT_TRUE(tcx.contains("<Name>Bahnweg</Name>"));
    EXPECT_TRUE(tcx.contains("<PointType>Left</PointType>"));

    // The cues saved with the plan, without a server; a plain track has none and says so.
    const Outcome cues = tramuCli({"cues", document});
    ASSERT_EQ(cues.exitCode, 0) << cues.err.constData();
    EXPECT_EQ(cues.out.split('\n').first(), "0.60\tleft\tBahnweg\t");
    EXPECT_TRUE(cues.out.contains("\tvia\t")) << cues.out.constData();
    const Outcome none = tramuCli({"cues", track});
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_TRUE(none.out.isEmpty());
    EXPECT_TRUE(none.err.contains("No turn cues for this route")) << none.err.constData();
}

TEST_F(Cli, tourWritesTheFourBrytonFiles)
{
    const QString in = write(QStringLiteral("route.gpx"), routeOnlyGPX);
    const Outcome run =
        tramuCli({QStringLiteral("tour"), in, path(QStringLiteral("out/sub")), "Alpen Runde"});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();

    const BrytonTour tour{.name = "Alpen Runde", .points = {{48.1, 11.5, 520.0}, {48.2, 11.6}}};
    EXPECT_EQ(read("out/sub/Alpen Runde.fit"), BrytonTourWriter::fitData(tour));
    EXPECT_EQ(read("out/sub/Alpen Runde.smy"), BrytonTourWriter::smyData(tour));
    EXPECT_EQ(read("out/sub/Alpen Runde.track"), BrytonTourWriter::trackData(tour));
    EXPECT_TRUE(QFile::exists(path("out/sub/Alpen Runde.tinfo")));

    EXPECT_EQ(tramuCli({QStringLiteral("tour"), in, path("out"), "../escape"}).exitCode, 1);
    EXPECT_FALSE(QFile::exists(path("escape.fit")));
}

TEST_F(Cli, statsPrintsOneJsonObjectWithoutAbsentFields)
{
    const Outcome run =
        tramuCli({QStringLiteral("stats"), write(QStringLiteral("a.fit"), activity())});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(run.out.count('\n'), 1);
    const QJsonObject stats = QJsonDocument::fromJson(run.out).object();
    EXPECT_NEAR(stats["distance"].toDouble(), 111.19, 0.01);
    EXPECT_EQ(stats["duration"].toDouble(), 10.0);
    EXPECT_DOUBLE_EQ(stats["averageSpeed"].toDouble(), 19.8);
    EXPECT_DOUBLE_EQ(stats["maxSpeed"].toDouble(), 21.6);
    EXPECT_EQ(stats["averageHeartRate"].toDouble(), 130.0);
    EXPECT_EQ(stats["maxHeartRate"].toInt(), 140);
    EXPECT_EQ(stats["minTemperature"].toInt(), 17);
    EXPECT_EQ(stats["maxTemperature"].toInt(), 18);
    EXPECT_EQ(stats["ascent"].toDouble(), 2.0);
    EXPECT_EQ(stats["descent"].toDouble(), 0.0);

    const Outcome plain = tramuCli({QStringLiteral("stats"), write("r.gpx", routeOnlyGPX)});
    const QJsonObject few = QJsonDocument::fromJson(plain.out).object();
    EXPECT_EQ(few.keys(), (QStringList{"ascent", "descent", "distance"}));
}

TEST_F(Cli, badInputGivesOneLineNamingTheFile)
{
    QByteArray damaged = activity();
    damaged[30] = char(damaged[30] ^ 0x55);
    const QString missing = path(QStringLiteral("missing.gpx"));
    const QString noTrack = write(QStringLiteral("empty.gpx"), "<gpx/>");
    for (const QString& in :
         {write(QStringLiteral("bad.fit"), damaged), write(QStringLiteral("bad.gpx"), "<gpx><trk>"),
          write(QStringLiteral("bad.track"), QByteArray(16, '\0')), missing, noTrack}) {
        for (const QString& command : {QStringLiteral("convert"), QStringLiteral("stats")}) {
            QStringList arguments{command, in};
            if (command == QLatin1String("convert"))
                arguments << path(QStringLiteral("out.gpx"));
            const Outcome run = tramuCli(arguments);
            EXPECT_EQ(run.exitCode, 1) << in.toStdString();
            EXPECT_TRUE(run.err.startsWith("tramu-cli: " + in.toUtf8() + ": "))
                << run.err.constData();
            EXPECT_EQ(run.err.count('\n'), 1);
        }
    }
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("out.gpx"))));

    const Outcome wrong = tramuCli({QStringLiteral("convert"), noTrack});
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_EQ(wrong.err, "tramu-cli: usage: tramu-cli convert IN OUT.gpx [--recover] (see "
                         "tramu-cli convert --help)\n");
    EXPECT_EQ(tramuCli({QStringLiteral("frobnicate")}).exitCode, 2);
    EXPECT_EQ(tramuCli({}).exitCode, 2);
}

TEST_F(Cli, recoverReadsADamagedRideWithAWarning)
{
    // Cut off after its last record, as a device that lost power leaves it.
    const QByteArray whole = activity();
    const QString in = write(QStringLiteral("cut.fit"), whole.left(whole.size() - 2));
    const QString out = path(QStringLiteral("out.gpx"));
    const QByteArray warning = "tramu-cli: warning: " + in.toUtf8() +
                               ": Recovered 2 points; the file is damaged after 0:00:10\n";

    for (const QStringList& arguments :
         {QStringList{"stats", in}, QStringList{"convert", in, out}}) {
        const Outcome strict = tramuCli(arguments);
        EXPECT_EQ(strict.exitCode, 1);
        EXPECT_EQ(strict.err, "tramu-cli: " + in.toUtf8() +
                                  ": FIT file is truncated (--recover reads the ride up to the "
                                  "damage)\n");
        const Outcome run = tramuCli(arguments + QStringList{"--recover"});
        EXPECT_EQ(run.exitCode, 0) << run.err.constData();
        EXPECT_EQ(run.err, warning);
    }
    const auto converted = GPXImporter::read(read(QStringLiteral("out.gpx")));
    ASSERT_TRUE(converted);
    EXPECT_EQ(converted->tracks.at(0).size(), 2u);
    EXPECT_EQ(tramuCli({"stats", "--recover", in}).out.count('\n'), 1);

    // The damaged file is all there is of the ride: never replaced by what was read of it.
    const Outcome over = tramuCli({"convert", in, in, "--recover"});
    EXPECT_EQ(over.exitCode, 1);
    EXPECT_EQ(over.err,
              "tramu-cli: " + in.toUtf8() + ": a recovered ride is not written over its source\n");
    EXPECT_EQ(read(QStringLiteral("cut.fit")), whole.left(whole.size() - 2));
    // What is no FIT file stays unreadable.
    const Outcome notFit = tramuCli({"stats", write("x.fit", "text"), "--recover"});
    EXPECT_EQ(notFit.err, "tramu-cli: " + path("x.fit").toUtf8() + ": not a FIT file\n");
}

TEST_F(Cli, everyCommandExplainsItselfOnHelp)
{
    const Outcome overview = tramuCli({QStringLiteral("--help")});
    EXPECT_EQ(overview.exitCode, 0);
    EXPECT_TRUE(overview.out.contains("exit codes: 0 success, 1 failure, 2 wrong usage\n"));

    for (const char* command : {"convert", "tour", "course", "cues", "stats", "plan", "devices",
                                "activities", "fetch", "send"}) {
        for (const QStringList& arguments :
             {QStringList{command, "--help"}, QStringList{command, "some-file", "-h"}}) {
            const Outcome help = tramuCli(arguments);
            EXPECT_EQ(help.exitCode, 0) << command;
            EXPECT_TRUE(help.out.startsWith("usage: tramu-cli " + QByteArray(command) + ' '))
                << help.out.constData();
            EXPECT_TRUE(overview.out.contains(help.out.split('\n').at(2))) << "its summary";
            EXPECT_TRUE(help.err.isEmpty());
        }
    }
}
