// Input crafted to break a reader: every reader must answer with a result or
// its error, without crashing, hanging or loading anything from outside.
#include "Fixtures.h"
#include "formats/GPXImporter.h"
#include "formats/GPXWaypoints.h"
#include "formats/RouteDocumentCoder.h"

#include <QTemporaryFile>

#include <gtest/gtest.h>

using namespace zuvo::formats;
using zuvo::test::testData;

namespace {

QByteArray billionLaughs()
{
    QByteArray text = "<?xml version=\"1.0\"?>\n<!DOCTYPE gpx [\n<!ENTITY l0 \"lol\">\n";
    for (int i = 1; i < 10; ++i) {
        text += "<!ENTITY l" + QByteArray::number(i) + " \"";
        for (int j = 0; j < 10; ++j)
            text += "&l" + QByteArray::number(i - 1) + ";";
        text += "\">\n";
    }
    return text + "]>\n<gpx><metadata><name>&l9;</name></metadata>"
                  "<wpt lat=\"1\" lon=\"2\"><name>&l9;</name></wpt>"
                  "<extensions><zuvo:planner costing=\"road\"/></extensions></gpx>";
}

} // namespace

TEST(HostileInput, entityExpansionIsRefused)
{
    const QByteArray bomb = billionLaughs();
    EXPECT_EQ(GPXImporter::read(bomb).error(), GPXImportError::notGPX);
    EXPECT_TRUE(GPXWaypoints::parse(bomb).empty());
    EXPECT_EQ(RouteDocumentCoder::decode(bomb).error(), RouteDocumentError::notARouteDocument);
}

TEST(HostileInput, externalEntitiesAreNeverLoaded)
{
    QTemporaryFile secret;
    ASSERT_TRUE(secret.open());
    secret.write("SECRET");
    secret.flush();
    const QByteArray text = "<?xml version=\"1.0\"?><!DOCTYPE gpx [<!ENTITY x SYSTEM \"file://" +
                            secret.fileName().toUtf8() +
                            "\">]><gpx><metadata><name>a&x;b</name></metadata></gpx>";
    // The reference is skipped: the name holds only the text around it.
    const auto result = GPXImporter::read(text);
    ASSERT_TRUE(result.hasValue());
    EXPECT_EQ(result->name, QStringLiteral("ab"));
}

TEST(HostileInput, deepNestingAndHugeValues)
{
    QByteArray deep = "<gpx>";
    for (int i = 0; i < 200'000; ++i)
        deep += "<a>";
    EXPECT_EQ(GPXImporter::read(deep).error(), GPXImportError::notGPX);
    EXPECT_TRUE(GPXWaypoints::parse(deep).empty());
    EXPECT_FALSE(RouteDocumentCoder::decode(deep).hasValue());

    const QByteArray huge(8 << 20, '7');
    const QByteArray wide =
        "<gpx><wpt lat=\"1." + huge + "\" lon=\"2\"><name>" + huge + "</name></wpt></gpx>";
    const auto imported = GPXImporter::read(wide);
    ASSERT_TRUE(imported.hasValue());
    ASSERT_EQ(imported->waypoints.size(), 1u);
    EXPECT_NEAR(imported->waypoints[0].latitude, 1.7777777, 1e-6);
    const auto waypoints = GPXWaypoints::parse(wide);
    ASSERT_EQ(waypoints.size(), 1u);
    EXPECT_EQ(waypoints[0].name.size(), huge.size());
}

TEST(HostileInput, gpxCutAtEveryByte)
{
    const QByteArray file = testData("ride.gpx");
    const qsizetype complete = file.lastIndexOf("</gpx>") + 6;
    for (qsizetype size = 0; size < file.size(); ++size) {
        const QByteArray cut = file.left(size);
        ASSERT_EQ(GPXImporter::read(cut).hasValue(), size >= complete) << size;
        GPXWaypoints::parse(cut);
        ASSERT_FALSE(RouteDocumentCoder::decode(cut).hasValue());
    }
}
