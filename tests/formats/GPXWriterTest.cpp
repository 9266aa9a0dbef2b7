#include "formats/GPXWriter.h"

#include "Fixtures.h"
#include "formats/GPXImporter.h"

#include <QDateTime>

#include <clocale>
#include <gtest/gtest.h>

using namespace zuvo::formats;
using namespace zuvo::model;
using zuvo::test::leg;
using zuvo::test::testData;

namespace {

const GPXWriter routeWriter{.creator = QStringLiteral("zuvo")};

QDateTime utc(const char* text)
{
    return QDateTime::fromString(QString::fromLatin1(text), Qt::ISODateWithMs);
}

QByteArray between(const QByteArray& text, const char* from, const char* to)
{
    const auto start = text.indexOf(from);
    return start < 0 ? QByteArray() : text.mid(start, text.indexOf(to, start) - start);
}

} // namespace

TEST(GPXWriter, routeFileMatchesGoldenWhateverTheLocale)
{
    // A decimal comma in the C library's locale must not leak into numbers.
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    const QByteArray written =
        routeWriter.write(zuvo::test::roundTripRoute(), QStringLiteral("R&D <Tour>"));
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(written, testData("route.gpx"));
    EXPECT_TRUE(written.endsWith("</gpx>\n") && !written.endsWith("\n\n"));
}

TEST(GPXWriter, routePointsAndShapingGeometry)
{
    Route route = zuvo::test::roundTripRoute();

    // Without the round trip the last via point carries no extension.
    route.roundTrip = false;
    QByteArray text = routeWriter.write(route, QStringLiteral("x"));
    EXPECT_EQ(between(text, "<name>Via 2</name>", "</rtept>"), "<name>Via 2</name>\n    ");

    // A single via with a closing leg gets every later leg and the closing
    // leg, minus the final point.
    route.roundTrip = true;
    route.anchors.erase(route.anchors.begin() + 2);
    route.legs.resize(1);
    route.closingLeg = leg({{48.2, 11.6, 512.0}, {48.1001, 11.5002, 500.0}});
    text = routeWriter.write(route, QStringLiteral("x"));
    EXPECT_EQ(text.count("<rtept "), 1);
    EXPECT_EQ(text.count("<gpxx:rpt "), 3);
    EXPECT_EQ(between(text, "<gpxx:rpt ", "</gpxx:RoutePointExtension>").count("48.200000"), 1);

    // Unrouted legs contribute nothing, but the route points stay.
    route = zuvo::test::roundTripRoute();
    route.legs = {std::nullopt, std::nullopt};
    route.closingLeg.reset();
    text = routeWriter.write(route, QStringLiteral("x"));
    EXPECT_EQ(text.count("<rtept "), 2);
    EXPECT_FALSE(text.contains("<extensions>"));
    EXPECT_TRUE(text.contains("    <trkseg>\n    </trkseg>\n"));

    // No via anchors: the rte holds only its name.
    route.anchors.clear();
    text = routeWriter.write(route, QStringLiteral("Only"));
    EXPECT_TRUE(text.contains("  <rte>\n    <name>Only</name>\n  </rte>\n  <trk>\n"));
}

TEST(GPXWriter, rideFileMatchesGolden)
{
    const std::vector<TrackSample> samples{
        {.coordinate = {48.0, -3.5, 512.0},
         .timestamp = utc("2024-05-01T08:15:00Z"),
         .speedMS = 4.5,
         .heartRate = 142,
         .temperature = 21},
        {.coordinate = {48.00001, -3.50002}, .timestamp = utc("2024-05-01T08:15:01.750Z")},
        {.coordinate = {-33.9, 151.2}, .speedMS = 4.5},
        {.coordinate = {0.0, 0.0, 0.1 + 0.2}, .temperature = -10},
    };
    const GPXWriter writer{.creator = QStringLiteral("zuvo (Garmin)")};
    EXPECT_EQ(writer.write(samples, QStringLiteral("Morning")), testData("ride.gpx"));
}

TEST(GPXWriter, creatorIsVerbatimAndEmptyRideIsWellFormed)
{
    const GPXWriter writer{.creator = QStringLiteral("A&B")};
    const QByteArray text = writer.write(std::vector<TrackSample>{}, QStringLiteral("a\"b'"));
    EXPECT_TRUE(text.contains("creator=\"A&B\""));
    EXPECT_TRUE(text.contains("<name>a\"b'</name>"));
    EXPECT_TRUE(text.endsWith("    <trkseg>\n    </trkseg>\n  </trk>\n</gpx>\n"));
}

TEST(GPXWriter, rideOriginNamesTheDeviceAndTheStart)
{
    const std::vector<TrackSample> samples{
        {.coordinate = {48.0, 11.0}, .timestamp = utc("2024-05-01T08:15:00Z")},
        {.coordinate = {48.1, 11.0}}};
    const GPXWriter writer{.creator = QStringLiteral("zuvo (Garmin)")};
    const QByteArray text = writer.write(
        samples, QStringLiteral("Morning"),
        {.device = QStringLiteral("Edge <830> & Co"), .start = utc("2024-05-01T08:14:30Z")});
    EXPECT_TRUE(text.contains("    <name>Morning</name>\n    <time>2024-05-01T08:14:30Z</time>\n"
                              "  </metadata>"));
    EXPECT_TRUE(text.contains("    <name>Morning</name>\n    <src>Edge &lt;830&gt; &amp; Co</src>\n"
                              "    <trkseg>"));
    // Readers see the same ride as without it.
    EXPECT_EQ(GPXImporter::read(text)->tracks,
              GPXImporter::read(writer.write(samples, QStringLiteral("Morning")))->tracks);
}

TEST(GPXWriter, rideInPiecesIsTheSameDocument)
{
    std::vector<TrackSample> ride;
    for (int i = 0; i < 20'000; ++i)
        ride.push_back({.coordinate = {48.0 + i * 1e-5, 11.0, 500.0 + i}, .heartRate = 100});
    const GPXWriter writer{.creator = QStringLiteral("zuvo")};
    const QByteArray whole = writer.write(ride, QStringLiteral("Long"));

    QByteArray joined;
    int pieces = 0;
    EXPECT_TRUE(writer.write(ride, QStringLiteral("Long"), [&](QByteArrayView piece) {
        joined += piece.toByteArray();
        return ++pieces > 0;
    }));
    EXPECT_GT(pieces, 1);
    EXPECT_EQ(joined, whole);

    pieces = 0;
    EXPECT_FALSE(writer.write(ride, QStringLiteral("Long"), [&](QByteArrayView) {
        ++pieces;
        return false;
    }));
    EXPECT_EQ(pieces, 1) << "nothing more after the sink refused";
}
