#include "formats/GPXImporter.h"

#include "Fixtures.h"
#include "OtherThreadsCannotAllocate.h"
#include "formats/GPXWriter.h"
#include "model/TrackSampleStats.h"

#include <QDateTime>

#include <gtest/gtest.h>

using namespace zuvo::formats;
using namespace zuvo::model;
using zuvo::test::testData;

namespace {

ImportedGPX imported(const QByteArray& text)
{
    auto result = GPXImporter::read(text);
    EXPECT_TRUE(result.hasValue()) << text.constData();
    return result ? *result : ImportedGPX{};
}

// One track point with the given children, inside a complete document.
TrackSample point(const char* children, const char* attributes = R"(lat="1" lon="2")")
{
    const auto result = imported(QByteArray("<gpx><trk><trkseg><trkpt ") + attributes + ">" +
                                 children + "</trkpt></trkseg></trk></gpx>");
    return result.tracks.empty() ? TrackSample{} : result.tracks[0].at(0);
}

} // namespace

TEST(GPXImporter, collectsNameTracksRoutesAndWaypoints)
{
    const auto result = imported(R"(<?xml version="1.0"?>
<gpx:gpx xmlns:gpx="http://www.topografix.com/GPX/1/1">
  <gpx:metadata><gpx:name> First </gpx:name><gpx:name>Second</gpx:name></gpx:metadata>
  <gpx:wpt lat="47.5" lon="10.5"><gpx:ele>800</gpx:ele><gpx:time>bad</gpx:time><gpx:name>Hut</gpx:name></gpx:wpt>
  <gpx:trk><gpx:name>Track name</gpx:name>
    <gpx:trkseg><gpx:trkpt lat="1" lon="1"/><gpx:trkpt lat="2" lon="2"/></gpx:trkseg>
    <gpx:trkseg/>
    <gpx:trkseg><gpx:trkpt lat="3" lon="3"/></gpx:trkseg>
  </gpx:trk>
  <gpx:trk><gpx:trkseg/></gpx:trk>
  <gpx:rte><gpx:rtept lat="5" lon="6"><gpx:ele>12.5</gpx:ele>
    <gpx:extensions><gpxx:RoutePointExtension xmlns:gpxx="x"><gpxx:rpt lat="9" lon="9"/></gpxx:RoutePointExtension></gpx:extensions>
  </gpx:rtept><gpx:rtept lat="7" lon="8"/></gpx:rte>
  <gpx:rte/>
  <gpx:trkpt lat="4" lon="4"/>
</gpx:gpx>)");
    EXPECT_EQ(result.name, QStringLiteral("First"));
    ASSERT_EQ(result.tracks.size(), 1u);
    ASSERT_EQ(result.tracks[0].size(), 3u);
    EXPECT_EQ(result.tracks[0][2].coordinate, (Coordinate{3, 3}));
    EXPECT_EQ(result.routes, (std::vector<std::vector<Coordinate>>{{{5, 6, 12.5}, {7, 8}}}));
    EXPECT_EQ(result.waypoints, (std::vector<Coordinate>{{47.5, 10.5, 800.0}}));

    EXPECT_EQ(imported("<gpx><metadata><name/></metadata></gpx>").name, QString(""));
    EXPECT_EQ(imported("<gpx><trk><name>T</name></trk></gpx>").name, std::nullopt);
}

TEST(GPXImporter, trackPointValues)
{
    const TrackSample full = point(R"(<ele> 512.5 </ele><time>2024-05-01T08:15:00Z</time>
        <extensions><gpxtpx:TrackPointExtension>
        <gpxtpx:hr>142</gpxtpx:hr><gpxtpx:atemp>21.5</gpxtpx:atemp><gpxtpx:speed>4.25</gpxtpx:speed>
        </gpxtpx:TrackPointExtension></extensions>)");
    EXPECT_EQ(full.coordinate, (Coordinate{1, 2, 512.5}));
    EXPECT_EQ(full.timestamp, QDateTime::fromSecsSinceEpoch(1714551300, Qt::UTC));
    EXPECT_EQ(full.heartRate, 142);
    EXPECT_EQ(full.temperature, 22);
    EXPECT_EQ(full.speedMS, 4.25);

    EXPECT_EQ(point("<time>2024-05-01T10:15:00+02:00</time>").timestamp, full.timestamp);
    EXPECT_EQ(point("<time>2024-05-01T08:15:00.000Z</time>").timestamp, full.timestamp);
    EXPECT_EQ(point("<time>2024-05-01T08:15:00</time>").timestamp, full.timestamp);
    EXPECT_EQ(point("<time>2024-05-01T08:15:00.6Z</time>").timestamp,
              QDateTime::fromMSecsSinceEpoch(1714551300600, Qt::UTC));
    EXPECT_FALSE(point("<time>2024-05-01 08:15:00Z</time>").timestamp);
    EXPECT_FALSE(point("<time>2024-02-30T08:15:00Z</time>").timestamp);
    EXPECT_FALSE(point("<hr>142.0</hr>").heartRate);
    EXPECT_FALSE(point("<hr></hr>").heartRate);
    EXPECT_EQ(point("<hr>+90</hr>").heartRate, 90);
    EXPECT_EQ(point("<atemp>-0.5</atemp>").temperature, -1);
    EXPECT_FALSE(point("<atemp>1e300</atemp>").temperature);
    EXPECT_FALSE(point("<ele>nan</ele>").coordinate.elevation);
    EXPECT_FALSE(point("<speed>0x10</speed>").speedMS);

    // Points with unusable coordinates are skipped; what such a point said
    // (its elevation) does not move onto the next one.
    const auto result = imported(R"(<gpx><trk><trkseg>
        <trkpt lat="48.1" lon=" 11.5"><ele>999</ele></trkpt>
        <trkpt lat="48.1"><ele>999</ele></trkpt>
        <trkpt lat="1" lon="2"/></trkseg></trk></gpx>)");
    ASSERT_EQ(result.tracks.size(), 1u);
    EXPECT_EQ(result.tracks[0], (std::vector<TrackSample>{{.coordinate = {1, 2}}}));
}

TEST(GPXImporter, rejectsWhatIsNotWellFormedGPX)
{
    for (const char* text :
         {"", "not xml", "<kml><Document/></kml>", "<foo><gpx/></foo>",
          "<gpx><trk><trkseg><trkpt lat=\"1\" lon=\"2\"/></trkseg></trk>",
          "<gpx><trk><trkseg><trkpt lat=\"1\" lon=\"2\"/></trkseg></trk></gpx><x/>"}) {
        EXPECT_EQ(GPXImporter::read(QByteArray(text)).error(), GPXImportError::notGPX) << text;
    }
}

TEST(GPXImporter, readsWhatGarminConnectAndOlderProgramsWrite)
{
    // Garmin Connect: every time with milliseconds.
    const auto connect = imported(R"(<?xml version="1.0" encoding="UTF-8"?>
        <gpx creator="Garmin Connect" version="1.1"><trk><name>Morning Ride</name><trkseg>
        <trkpt lat="48.1" lon="11.5"><ele>520.0</ele><time>2024-05-01T08:15:00.000Z</time></trkpt>
        <trkpt lat="48.2" lon="11.5"><ele>521.0</ele><time>2024-05-01T08:45:00.000Z</time></trkpt>
        <trkpt lat="48.3" lon="11.5"><ele>522.0</ele><time>2024-05-01T09:15:00.000Z</time></trkpt>
        </trkseg></trk></gpx>)");
    ASSERT_EQ(connect.tracks.size(), 1u);
    const auto stats = TrackSampleStats::compute(connect.tracks[0], 1.0);
    ASSERT_TRUE(stats);
    EXPECT_EQ(stats->duration, 3600.0);

    // windows-1252, with the bytes where it differs from Latin-1.
    const auto windows = GPXImporter::read("<?xml version=\"1.0\" encoding=\"windows-1252\"?>"
                                           "<gpx><metadata><name>Caf\xe9 \x80 \x93Runde\x94</name>"
                                           "</metadata><wpt lat=\"1\" lon=\"2\"/></gpx>");
    ASSERT_TRUE(windows);
    EXPECT_EQ(windows->name, QStringLiteral("Café € “Runde”"));
    EXPECT_EQ(windows->waypoints.size(), 1u);
    EXPECT_FALSE(GPXImporter::read("<?xml version=\"1.0\" encoding=\"x-unheard-of\"?><gpx/>"));
}

TEST(GPXImporter, readsGpsbabelOutputWithSeveralSegments)
{
    const auto result = imported(testData("gpsbabel-ride.gpx"));
    EXPECT_EQ(result.name, std::nullopt);
    ASSERT_EQ(result.tracks.size(), 1u);
    const auto& track = result.tracks[0];
    ASSERT_EQ(track.size(), 3u);
    EXPECT_EQ(track[0].heartRate, 131);
    EXPECT_EQ(track[0].temperature, 21);
    EXPECT_EQ(track[0].speedMS, std::nullopt);
    EXPECT_EQ(track[2].temperature, 21);
    EXPECT_EQ(track[2].coordinate, (Coordinate{47.999, 11.002, 511.6}));
}

TEST(GPXImporter, readsBackWhatTheWriterWrote)
{
    const Route route = zuvo::test::roundTripRoute();
    const auto routeFile = imported(GPXWriter{.creator = "zuvo"}.write(route, "R&D <Tour>"));
    EXPECT_EQ(routeFile.name, QStringLiteral("R&D <Tour>"));
    EXPECT_EQ(routeFile.routes,
              (std::vector<std::vector<Coordinate>>{{{48.1001, 11.5002, 500.0}, {48.3, 11.7}}}));
    ASSERT_EQ(routeFile.tracks.size(), 1u);
    std::vector<Coordinate> track;
    for (const auto& sample : routeFile.tracks[0])
        track.push_back(sample.coordinate);
    EXPECT_EQ(track, route.coordinates());

    const std::vector<TrackSample> ride{
        {.coordinate = {48.123456, -11.654321, 512.3},
         .timestamp = QDateTime::fromSecsSinceEpoch(1714551300, Qt::UTC),
         .speedMS = 4.5,
         .heartRate = 142,
         .temperature = -3},
        {.coordinate = {48.2, 11.7}},
    };
    const auto rideFile = imported(GPXWriter{.creator = "zuvo (Bryton)"}.write(ride, "Ride"));
    ASSERT_EQ(rideFile.tracks.size(), 1u);
    EXPECT_EQ(rideFile.tracks[0], ride);
}

TEST(GPXImporter, readingInTwoHalvesGivesWhatOneReadingGives)
{
    const auto point = [](int i) {
        return QByteArray("<trkpt lat=\"48.") + QByteArray::number(i) + "\" lon=\"11.5\"><ele>5" +
               QByteArray::number(i) + "</ele><time>2024-05-01T08:0" + QByteArray::number(i % 10) +
               ":00Z</time><extensions><gpxtpx:TrackPointExtension><gpxtpx:hr>1" +
               QByteArray::number(i) +
               "0</gpxtpx:hr></gpxtpx:TrackPointExtension></extensions></trkpt>\n";
    };
    QByteArray points;
    for (int i = 0; i < 6; ++i)
        points += point(i);
    const QByteArray plain = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\">"
                             "<metadata><name>Ride</name></metadata><wpt lat=\"1\" lon=\"2\"/>\n"
                             "<trk><name>a</name><trkseg>\n" +
                             points + "</trkseg><trkseg>" + points +
                             "</trkseg></trk>\n<trk><trkseg>" + points +
                             "</trkseg></trk><rte><rtept lat=\"3\" lon=\"4\"/></rte>"
                             "<wpt lat=\"5\" lon=\"6\"/></gpx>\n";
    QByteArray hidden = plain;
    hidden.insert(hidden.indexOf("</trkseg>") - 200, "<!-- </trkpt> --><![CDATA[ </trkpt> ]]>");
    const QByteArray prefixed = QByteArray(plain).replace("trkseg>", "g:trkseg>");
    const QByteArray inExtensions = QByteArray(plain).replace(
        "<trk><name>a</name>", "<trk><extensions><trkpt lat=\"0\" lon=\"0\"></trkpt></extensions>");
    const QByteArray withEntity =
        QByteArray(plain)
            .replace("<gpx version", "<!DOCTYPE gpx [<!ENTITY n \"Tour\">]><gpx version")
            .replace("<wpt lat=\"5\" lon=\"6\"/>", "<metadata><name>&n;</name></metadata>")
            .replace("<metadata><name>Ride</name></metadata>", "");
    const QByteArray latin1 =
        QByteArray(plain)
            .replace("UTF-8", "ISO-8859-1")
            .replace("<metadata><name>Ride</name></metadata>", "")
            .replace("<wpt lat=\"5\" lon=\"6\"/>", "<metadata><name>Caf\xe9</name></metadata>");
    // Tracks nested anywhere start and end the current track as in one reading.
    QByteArray nested = plain;
    for (qsizetype at = nested.indexOf("<ele>52"); at >= 0;
         at = nested.indexOf("<ele>54", at + 600))
        nested.insert(
            at, "<extensions><trk><trkseg><trkpt lat=\"9\" lon=\"9\"/></trkseg></trk></extensions>"
                "<x><trk/></x>");
    const QByteArray brokenEnd = QByteArray(plain).replace("</trkseg></trk><rte>", "</trk><rte>");
    const QByteArray brokenStart = QByteArray(plain).replace("<wpt lat=\"1\" lon=\"2\"/>", "<wpt>");

    for (const QByteArray& document : {plain, hidden, prefixed, inExtensions, nested, withEntity,
                                       latin1, brokenEnd, brokenStart}) {
        const auto whole = GPXImporter::readSplit(document, document.size());
        for (qsizetype near = 0; near < document.size(); near += 7) {
            const auto halves = GPXImporter::readSplit(document, near);
            ASSERT_EQ(halves.hasValue(), whole.hasValue()) << near << document.constData();
            if (whole) {
                ASSERT_EQ(*halves, *whole) << near << document.constData();
            }
        }
    }
    const auto tracks = GPXImporter::readSplit(plain, plain.size());
    ASSERT_TRUE(tracks);
    EXPECT_EQ(tracks->tracks.size(), 2u);
    EXPECT_EQ(tracks->tracks[0].size(), 12u);
    EXPECT_EQ(GPXImporter::readSplit(withEntity, withEntity.size())->name, "Tour");
    EXPECT_EQ(GPXImporter::readSplit(latin1, latin1.size())->name, "Café");
    EXPECT_FALSE(GPXImporter::readSplit(brokenEnd, brokenEnd.size()));

    // A second half that runs out of memory is read again with the first,
    // instead of ending the process.
    {
        const zuvo::test::OtherThreadsCannotAllocate outOfMemory;
        EXPECT_EQ(GPXImporter::readSplit(plain, plain.size() / 2), tracks);
    }

    // A ride large enough to be read in halves by default.
    std::vector<TrackSample> ride;
    for (int i = 0; i < 40'000; ++i) {
        ride.push_back({.coordinate = {48.0 + i * 1e-5, 11.0, 500.0 + i % 17},
                        .timestamp = QDateTime::fromSecsSinceEpoch(1714551300 + i, Qt::UTC),
                        .heartRate = 100 + i % 50});
    }
    const QByteArray large = GPXWriter{.creator = "zuvo"}.write(ride, "Large");
    ASSERT_GT(large.size(), 4 << 20);
    const auto read = GPXImporter::read(large);
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, *GPXImporter::readSplit(large, large.size()));
    ASSERT_EQ(read->tracks.at(0).size(), ride.size());
    EXPECT_EQ(read->tracks[0][25'000].timestamp, ride[25'000].timestamp);
}
