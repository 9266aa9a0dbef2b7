// FIT courses held against Garmin's own decoder (npm @garmin/fitsdk, run by
// node): what a device reads from them; TCX courses against Garmin's schema.
#include "formats/FITCourseWriter.h"
#include "formats/FITImporter.h"
#include "formats/TCXCourseWriter.h"
#include "model/GradeProfile.h"
#include "model/RouteStats.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <cmath>
#include <gtest/gtest.h>

using namespace zuvo::formats;
using namespace zuvo::model;

namespace {

const QDateTime created(QDate(2024, 5, 1), QTime(8, 0), Qt::UTC);

struct ToolRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs `program` on a file holding `bytes`, named last among its arguments.
ToolRun runOnFile(const QByteArray& bytes, const QString& fileName, const QString& program,
                  QStringList arguments)
{
    QTemporaryDir folder;
    QFile file(folder.filePath(fileName));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    QProcess tool;
    tool.start(program, arguments << file.fileName());
    EXPECT_TRUE(tool.waitForFinished(60'000)) << program.toStdString() << " did not finish";
    return {tool.exitCode(), tool.readAllStandardOutput(), tool.readAllStandardError()};
}

// What Garmin's decoder makes of a file.
QJsonObject decoded(const QByteArray& fit)
{
    const ToolRun node = runOnFile(fit, "course.fit", TRAMU_NODE, {TRAMU_FIT_ORACLE});
    EXPECT_EQ(node.exitCode, 0) << node.err.constData();
    const QJsonObject result = QJsonDocument::fromJson(node.out).object();
    EXPECT_TRUE(result["isFIT"].toBool());
    EXPECT_TRUE(result["integrity"].toBool()) << "header or file CRC";
    EXPECT_EQ(result["errors"].toArray(), QJsonArray());
    return result["messages"].toObject();
}

// A route of via anchors at the legs' ends (and a shaping anchor where
// `shaping` says), each leg one segment.
Route routeOf(const std::vector<std::vector<Coordinate>>& legs, std::size_t shaping = 0)
{
    Route route;
    for (std::size_t i = 0; i <= legs.size(); ++i) {
        const Coordinate at = i < legs.size() ? legs[i].front() : legs.back().back();
        route.anchors.emplace_back(
            i == shaping && i > 0 ? Anchor::Kind::shaping : Anchor::Kind::via, at);
    }
    for (const auto& points : legs) {
        RouteSegment segment{.coordinates = points};
        for (std::size_t i = 1; i < points.size(); ++i)
            segment.distance += points[i - 1].distance(points[i]);
        route.legs.push_back(RouteLeg{{segment}});
    }
    return route;
}

// `count` points 50 m apart going north from `from`, climbing at `grade` percent.
std::vector<Coordinate> northwards(const Coordinate& from, int count, double grade)
{
    std::vector<Coordinate> points{from};
    for (int i = 1; i <= count; ++i) {
        const Coordinate& last = points.back();
        points.push_back(
            {last.latitude + 50.0 / 111'195.0, last.longitude,
             last.elevation ? std::optional(*last.elevation + grade / 2.0) : std::nullopt});
    }
    return points;
}

} // namespace

TEST(FITCourseWriter, aDeviceReadsTheCourseAsPlanned)
{
    // 2 km flat, 3 km at 7 % (score 21,000: Cat 3), 2 km flat, 1 km flat.
    const auto flat = northwards({47.0, 11.0, 500.0}, 40, 0.0);
    const auto climb = northwards(flat.back(), 60, 7.0);
    const auto top = northwards(climb.back(), 40, 0.0);
    const auto last = northwards(top.back(), 20, 0.0);
    const Route route = routeOf({flat, climb, top, last}, 2);
    const QByteArray fit =
        FITCourseWriter{.created = created}.write(route, CostingKind::road, "Über den Berg");
    const QJsonObject messages = decoded(fit);

    EXPECT_EQ(messages["fileIdMesgs"][0]["type"], "course");
    EXPECT_EQ(messages["courseMesgs"][0]["name"], "Über den Berg");
    EXPECT_EQ(messages["courseMesgs"][0]["sport"], "cycling");

    const QJsonArray records = messages["recordMesgs"].toArray();
    const auto points = route.coordinates();
    ASSERT_EQ(records.size(), qsizetype(points.size()));
    for (qsizetype i = 1; i < records.size(); ++i) {
        EXPECT_GT(records[i]["distance"].toDouble(), records[i - 1]["distance"].toDouble());
        EXPECT_GE(records[i]["timestamp"].toDouble(), records[i - 1]["timestamp"].toDouble());
    }
    EXPECT_NEAR(records.last()["distance"].toDouble(), route.distance(), 1.0);
    EXPECT_NEAR(records[70]["positionLat"].toDouble(),
                std::lround(points[70].latitude / 180.0 * 2147483648.0), 0.5);
    EXPECT_NEAR(records[70]["altitude"].toDouble(), *points[70].elevation, 0.2);

    const auto profile = GradeProfile::compute(route, 7, 6.0, 150.0);
    const double estimate = RouteStats::estimatedSeconds(
        route.distance(), RouteStats::ascentMeters(profile), CostingKind::road);
    const double start = created.toSecsSinceEpoch() - 631'065'600;
    EXPECT_EQ(records.first()["timestamp"].toDouble(), start);
    EXPECT_NEAR(records.last()["timestamp"].toDouble() - start, estimate, 0.5);
    EXPECT_NEAR(messages["lapMesgs"][0]["totalElapsedTime"].toDouble(), estimate, 0.001);
    // The partner slows down uphill: the climb takes longer than the flat.
    const double flatTime = records[40]["timestamp"].toDouble() - start;
    const double climbTime =
        records[100]["timestamp"].toDouble() - records[40]["timestamp"].toDouble();
    EXPECT_GT(climbTime, flatTime * 1.5 + 60.0);

    // Course points: the via anchors between start and end (not the shaping
    // one), and the foot and top of the climb, each on a record.
    QStringList names;
    for (const auto& value : messages["coursePointMesgs"].toArray()) {
        const QJsonObject point = value.toObject();
        names << point["name"].toString() + ':' + point["type"].toString();
        const auto onRecord =
            std::find_if(records.begin(), records.end(), [&](const QJsonValue& value) {
                const QJsonObject r = value.toObject();
                return r["timestamp"] == point["timestamp"] && r["distance"] == point["distance"] &&
                       r["positionLat"] == point["positionLat"];
            });
        EXPECT_NE(onRecord, records.end()) << point["name"].toString().toStdString();
    }
    EXPECT_EQ(names, (QStringList{"Via 2:generic", "Cat 3 climb:thirdCategory", "Top Cat 3:summit",
                                  "Via 3:generic"}));
}

TEST(FITCourseWriter, hostileRoutesStillMakeValidCourses)
{
    const FITCourseWriter writer{.created = created};
    // A name far longer than the field, outside ASCII, with control characters.
    QString longName = "\tRunde\n";
    for (int i = 0; i < 200; ++i)
        longName += QStringLiteral("é€");
    const auto withoutElevation = northwards({47.0, 11.0}, 3, 0.0);
    const QJsonObject named =
        decoded(writer.write(routeOf({withoutElevation}), CostingKind::motorcycle, longName));
    const QString name = named["courseMesgs"][0]["name"].toString();
    EXPECT_TRUE(name.startsWith("Rundeé€é€")) << name.toStdString();
    EXPECT_LE(name.toUtf8().size(), 254);
    EXPECT_EQ(named["courseMesgs"][0]["sport"], "motorcycling");
    for (const auto& record : named["recordMesgs"].toArray())
        EXPECT_FALSE(record.toObject().contains("altitude")) << "absent altitude is invalid";

    // Two points, and points that repeat: a course of zero length.
    const Coordinate here{47.0, 11.0, 500.0};
    const QJsonObject twoPoints =
        decoded(writer.write(routeOf({{here, {47.001, 11.0, 501.0}}}), CostingKind::mtb, "x"));
    EXPECT_EQ(twoPoints["recordMesgs"].toArray().size(), 2);
    Route repeating = routeOf({{here, here}, {here, here}});
    const QJsonObject standing = decoded(writer.write(repeating, CostingKind::gravel, ""));
    const QJsonArray records = standing["recordMesgs"].toArray();
    ASSERT_EQ(records.size(), 1) << "repeated points are one point";
    EXPECT_EQ(records[0]["distance"].toDouble(), 0.0);
    EXPECT_EQ(standing["coursePointMesgs"].toArray().size(), 1) << "the middle via";
}

TEST(FITCourseWriter, longRoutesKeepEveryViaOnItsRecord)
{
    // 20,000 points in 99 legs: 100 via anchors.
    std::vector<std::vector<Coordinate>> legs;
    Coordinate from{45.0, 7.0, 300.0};
    for (int leg = 0; leg < 99; ++leg) {
        legs.push_back(northwards(from, 203, leg % 7 - 3));
        from = legs.back().back();
    }
    const Route route = routeOf(legs);
    ASSERT_EQ(route.anchors.size(), 100u);
    const auto points = route.coordinates();
    ASSERT_GE(points.size(), 20'000u);
    const QJsonObject messages =
        decoded(FITCourseWriter{.created = created}.write(route, CostingKind::road, "Long"));
    EXPECT_EQ(messages["recordMesgs"].toArray().size(), qsizetype(points.size()));
    int vias = 0;
    for (const auto& value : messages["coursePointMesgs"].toArray()) {
        const QJsonObject point = value.toObject();
        if (point["type"] != "generic")
            continue;
        ++vias;
        EXPECT_EQ(point["name"], QStringLiteral("Via %1").arg(vias + 1));
        const Coordinate& anchor = route.anchors[std::size_t(vias)].click;
        EXPECT_NEAR(point["positionLat"].toDouble(),
                    std::lround(anchor.latitude / 180.0 * 2147483648.0), 0.5);
    }
    EXPECT_EQ(vias, 98);
}

TEST(FITCourseWriter, readsBackAsATrackWithItsCoursePoints)
{
    const auto climb = northwards({47.0, 11.0, 500.0}, 60, 7.0);
    const Route route = routeOf({northwards({46.99, 11.0, 500.0}, 22, 0.0), climb});
    const auto read = FITImporter::read(
        FITCourseWriter{.created = created}.write(route, CostingKind::road, "Back"));
    ASSERT_TRUE(read);
    ASSERT_EQ(read->tracks.size(), 1u);
    EXPECT_EQ(read->tracks[0].size(), route.coordinates().size());
    EXPECT_EQ(read->tracks[0].front().timestamp, created);
    EXPECT_EQ(read->waypoints.size(), FITCourseWriter::coursePoints(route).size());
}

TEST(FITCourseWriter, theRidersTurnsBecomeCoursePointsInOrder)
{
    using S = Cue::Sign;
    const auto cue = [](S sign, double distance, QString street, std::optional<int> exit = {}) {
        return Cue{.sign = sign, .distance = distance, .streetName = street, .exitNumber = exit};
    };
    // 2 km flat, then 3 km at 7 % (a Cat 3 climb), then 1 km flat.
    const auto flat = northwards({47.0, 11.0, 500.0}, 40, 0.0);
    const auto climb = northwards(flat.back(), 60, 7.0);
    const auto last = northwards(climb.back(), 20, 0.0);
    Route route = routeOf({flat, climb, last});
    route.legs[0]->segments[0].cues = {cue(S::straight, 0, "Hauptstraße"),
                                       cue(S::left, 500, "Bahnweg"),
                                       cue(S::straight, 900, "Bahnweg"),
                                       cue(S::straight, 1200, "Mühlweg"),
                                       cue(S::roundabout, 1500, "Freiburger Straße", 2),
                                       cue(S::finish, 2000, "")};
    route.legs[1]->segments[0].cues = {
        cue(S::keepRight, 10, "B 31"), cue(S::ferry, 1000, "Fähre Breisach"),
        Cue{.sign = S::uTurn, .distance = 2000, .text = "Wenden"},
        cue(S::sharpLeft, 2500, "Oberer Schlossbergweg Nord"), cue(S::finish, 3000, "")};
    route.legs[2]->segments[0].cues = {cue(S::slightRight, 600, "Kandelstraße"),
                                       cue(S::finish, 1000, "")};
    const QJsonObject messages =
        decoded(FITCourseWriter{.created = created}.write(route, CostingKind::gravel, "Kandel"));

    QStringList points;
    double previous = -1;
    for (const auto& value : messages["coursePointMesgs"].toArray()) {
        const QJsonObject point = value.toObject();
        points << point["name"].toString() + ':' + point["type"].toString();
        EXPECT_GE(point["timestamp"].toDouble(), previous) << "in riding order";
        previous = point["timestamp"].toDouble();
    }
    // The start, the same street again and every finish but the last ask nothing; the via point
    // and the turn 10 m after it are one point; long names end at a word.
    EXPECT_EQ(points,
              (QStringList{"Bahnweg:left", "Mühlweg:straight", "Exit 2:generic",
                           "Via 2 B 31:rightFork", "Cat 3 climb:thirdCategory",
                           "Fähre Breisach:transport", "Wenden:uTurn", "Oberer:sharpLeft",
                           "Via 3:generic", "Top Cat 3:summit", "Kandelstraße:slightRight"}));
}

namespace {

// What xmllint says of a TCX file against Garmin's schema: empty when it validates.
QString schemaErrors(const QByteArray& tcx)
{
    const ToolRun xmllint =
        runOnFile(tcx, "course.tcx", TRAMU_XMLLINT, {"--noout", "--schema", TRAMU_TCX_SCHEMA});
    return xmllint.exitCode == 0 ? QString() : QString::fromUtf8(xmllint.err);
}

// The text of every element called `name`, in document order.
QStringList texts(const QByteArray& xml, const QString& name)
{
    QStringList found;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == name)
            found << reader.readElementText();
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    return found;
}

} // namespace

TEST(TCXCourseWriter, coursesValidateAndCarryTheFITCoursePoints)
{
    using S = Cue::Sign;
    const auto flat = northwards({47.0, 11.0, 500.0}, 40, 0.0);
    const auto climb = northwards(flat.back(), 60, 7.0);
    Route route = routeOf({flat, climb});
    route.legs[0]->segments[0].cues = {
        Cue{.sign = S::left, .distance = 500, .streetName = "Oberer Schlossbergweg"},
        Cue{.sign = S::roundabout, .distance = 1500, .exitNumber = 3},
        Cue{.sign = S::keepRight, .distance = 1800, .streetName = "<B&31>"}};
    const TCXCourseWriter writer{.created = created};
    const QByteArray tcx = writer.write(route, CostingKind::road, "  Über   den Kandel und zurück");
    EXPECT_EQ(schemaErrors(tcx), QString());

    EXPECT_EQ(texts(tcx, "Name").first(), "Über den Kandel") << "15 characters at a word";
    const QStringList times = texts(tcx, "Time");
    const auto points = route.coordinates();
    const auto fitPoints = FITCourseWriter::coursePoints(route);
    ASSERT_EQ(times.size(), qsizetype(points.size() + fitPoints.size()));
    EXPECT_EQ(times.first(), "2024-05-01T08:00:00Z");
    const auto profile = GradeProfile::compute(route, 7, 6.0, 150.0);
    const double estimate = RouteStats::estimatedSeconds(
        route.distance(), RouteStats::ascentMeters(profile), CostingKind::road);
    EXPECT_NEAR(texts(tcx, "TotalTimeSeconds").first().toDouble(), estimate, 0.1);
    EXPECT_NEAR(texts(tcx, "DistanceMeters").first().toDouble(), route.distance(), 0.1);
    EXPECT_EQ(
        created.secsTo(QDateTime::fromString(times[qsizetype(points.size()) - 1], Qt::ISODate)),
        std::lround(estimate));

    // The course points are the FIT course's, in order, named within ten characters.
    QStringList names = texts(tcx, "Name");
    names.removeFirst();
    EXPECT_EQ(names, (QStringList{"Oberer", "Exit 3", "<B&31>", "Via 2", "Cat 3", "Top Cat 3"}));
    EXPECT_EQ(texts(tcx, "PointType"),
              (QStringList{"Left", "Generic", "Right", "Generic", "3rd Category", "Summit"}));
    EXPECT_EQ(qsizetype(fitPoints.size()), names.size());

    // Hostile names, a route without elevation on the antimeridian, a route of one point.
    Route east = routeOf({{{0.0, 179.999}, {0.0, 180.0}}});
    route.legs[0]->segments[0].cues = {Cue{.sign = S::right, .distance = 500, .text = "\x01\t"}};
    for (const auto& [course, name] :
         {std::pair{route, QString("\x02\n\t ")}, std::pair{east, QString(12, QChar(0x1F6B2))},
          std::pair{routeOf({{{47.0, 11.0}, {47.0, 11.0}}}), QString("x")}}) {
        const QByteArray written = writer.write(course, CostingKind::motorcycle, name);
        EXPECT_EQ(schemaErrors(written), QString()) << written.left(2000).constData();
    }
    const QByteArray unnamed = writer.write(route, CostingKind::road, "\x02");
    EXPECT_EQ(texts(unnamed, "Name").first(), "Route");
    EXPECT_TRUE(texts(unnamed, "Name").contains("Right")) << "a turn without a name";
}
