#include "Fixtures.h"
#include "formats/RouteDocumentCoder.h"

#include <gtest/gtest.h>

using namespace zuvo::formats;
using namespace zuvo::model;
using zuvo::test::testData;

namespace {

// A GPX document whose planner block holds `inside`.
QByteArray document(const char* plannerAttributes, const char* inside = "")
{
    return QByteArray(R"(<gpx><metadata><name>Named</name></metadata><extensions>)"
                      R"(<zuvo:planner xmlns:zuvo="https://zuvo.app/gpx/v1" )") +
           plannerAttributes + ">" + inside + "</zuvo:planner></extensions></gpx>";
}

RouteDocument decoded(const QByteArray& bytes)
{
    auto result = RouteDocumentCoder::decode(bytes);
    EXPECT_TRUE(result.hasValue()) << bytes.constData();
    return result ? *result : RouteDocument{};
}

} // namespace

TEST(RouteDocument, encodesThePlannerBlockBeforeTheClosingTag)
{
    const CostingProfile costing{
        .kind = CostingKind::gravel,
        .values = {{"avoid_climbs", 0.25}, {"a&<>\"b", 1.0}},
    };
    const QByteArray encoded = RouteDocumentCoder::encode(zuvo::test::roundTripRoute(), costing,
                                                          QStringLiteral("R&D <Tour>"));
    QByteArray expected = testData("route.gpx");
    expected.chop(7);
    expected += R"(  <extensions>
    <zuvo:planner xmlns:zuvo="https://zuvo.app/gpx/v1" costing="gravel" roundTrip="true">
      <zuvo:value key="a&amp;&lt;&gt;&quot;b">1.000</zuvo:value>
      <zuvo:value key="avoid_climbs">0.250</zuvo:value>
      <zuvo:anchor kind="via" clickLat="48.100000" clickLon="11.500000" snapLat="48.100100" snapLon="11.500200"/>
      <zuvo:anchor kind="shaping" clickLat="48.200000" clickLon="11.600000"/>
      <zuvo:anchor kind="via" clickLat="48.300000" clickLon="11.700000"/>
    </zuvo:planner>
  </extensions>
</gpx>
)";
    EXPECT_EQ(encoded, expected);
}

TEST(RouteDocument, roundTripKeepsWhatThePlannerNeeds)
{
    Route route = zuvo::test::roundTripRoute();
    route.anchors[1].click = {-33.1234567, 151.0000004, 12.0};
    const CostingProfile costing{
        .kind = CostingKind::motorcycle,
        .values = {{"avoid_motorways", 0.1234}, {"odd \"key\"\n<&>\x02", 0.5}},
    };
    // A control character has no place in XML: dropped, it cannot make the
    // saved plan unreadable.
    const RouteDocument document =
        decoded(RouteDocumentCoder::encode(route, costing, QStringLiteral("Über & \x01weiter")));

    EXPECT_EQ(document.name, QStringLiteral("Über & weiter"));
    EXPECT_TRUE(document.roundTrip);
    EXPECT_EQ(document.costing.kind, CostingKind::motorcycle);
    EXPECT_EQ(document.costing.values,
              (std::map<QString, double>{{"avoid_motorways", 0.123}, {"odd \"key\"\n<&>", 0.5}}));
    EXPECT_EQ(document.trackCoordinates, route.coordinates());
    ASSERT_EQ(document.anchors.size(), 3u);
    const auto& via = document.anchors[0];
    EXPECT_EQ(via.kind, Anchor::Kind::via);
    EXPECT_EQ(via.click, (Coordinate{48.1, 11.5}));
    ASSERT_TRUE(via.snap);
    EXPECT_EQ(via.snap->coordinate, (Coordinate{48.1001, 11.5002}));
    EXPECT_EQ(via.snap->edgeID, std::nullopt);
    EXPECT_NE(via.id, route.anchors[0].id);
    EXPECT_EQ(document.anchors[1].kind, Anchor::Kind::shaping);
    EXPECT_EQ(document.anchors[1].click, (Coordinate{-33.123457, 151.0}));
    EXPECT_FALSE(document.anchors[2].snap);
}

TEST(RouteDocument, toleratesBrokenPiecesInsideTheBlock)
{
    const RouteDocument read = decoded(document(R"(costing="mtb" roundTrip="True")", R"(
        <zuvo:value key="x"> 1.5 </zuvo:value>
        <zuvo:value key="bad">1.5x</zuvo:value>
        <zuvo:value>0.7</zuvo:value>
        <zuvo:value key="x">2</zuvo:value>
        <zuvo:anchor kind="waypoint" clickLat="1" clickLon="2"/>
        <zuvo:anchor kind="via" clickLat="1"/>
        <zuvo:anchor kind="via" clickLat="1" clickLon=" 2"/>
        <zuvo:anchor kind="shaping" clickLat="3" clickLon="4" snapLat="5"/>
        <zuvo:anchor kind="via" clickLat="6" clickLon="7" snapLat="8" snapLon="9"/>
        <other:anchor kind="via" clickLat="0" clickLon="0"/>)"));
    EXPECT_EQ(read.name, QStringLiteral("Named"));
    EXPECT_FALSE(read.roundTrip);
    EXPECT_EQ(read.costing, (CostingProfile{.kind = CostingKind::mtb, .values = {{"x", 2.0}}}));
    ASSERT_EQ(read.anchors.size(), 2u);
    EXPECT_EQ(read.anchors[0].click, (Coordinate{3, 4}));
    EXPECT_FALSE(read.anchors[0].snap);
    EXPECT_EQ(read.anchors[1].snap->coordinate, (Coordinate{8, 9}));
    EXPECT_TRUE(read.trackCoordinates.empty());

    // Broken XML after the block: the block still counts, the GPX part not.
    QByteArray broken = document(R"(costing="road" roundTrip="true")");
    broken.chop(6);
    broken += "<oops>";
    const RouteDocument partial = decoded(broken);
    EXPECT_EQ(partial.name, QStringLiteral("Route"));
    EXPECT_TRUE(partial.roundTrip);
}

TEST(RouteDocument, recognisesOnlyTheZuvoPlannerBlockWithAKnownCosting)
{
    for (const QByteArray& bytes :
         {testData("route.gpx"), document(R"(roundTrip="true")"), document(R"(costing="ebike")"),
          QByteArray(R"(<gpx><extensions><z:planner xmlns:z="https://zuvo.app/gpx/v1" )"
                     R"(costing="road"/></extensions></gpx>)"),
          QByteArray(R"(<gpx><extensions><zuvo:x:planner costing="road"/></extensions></gpx>)"),
          QByteArray("garbage")}) {
        EXPECT_EQ(RouteDocumentCoder::decode(bytes).error(), RouteDocumentError::notARouteDocument)
            << bytes.constData();
    }
}
