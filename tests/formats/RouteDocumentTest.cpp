#include "Fixtures.h"
#include "formats/RouteDocumentCoder.h"
#include "formats/SavedRoute.h"

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
        <zuvo:value key="y">-0.25</zuvo:value>
        <zuvo:value key="z">0.4</zuvo:value>
        <zuvo:anchor kind="waypoint" clickLat="1" clickLon="2"/>
        <zuvo:anchor kind="via" clickLat="1"/>
        <zuvo:anchor kind="via" clickLat="1" clickLon=" 2"/>
        <zuvo:anchor kind="shaping" clickLat="3" clickLon="4" snapLat="5"/>
        <zuvo:anchor kind="via" clickLat="6" clickLon="7" snapLat="8" snapLon="9"/>
        <other:anchor kind="via" clickLat="0" clickLon="0"/>)"));
    EXPECT_EQ(read.name, QStringLiteral("Named"));
    EXPECT_FALSE(read.roundTrip);
    // Values out of the 0–1 range are held to it.
    EXPECT_EQ(read.costing, (CostingProfile{.kind = CostingKind::mtb,
                                            .values = {{"x", 1.0}, {"y", 0.0}, {"z", 0.4}}}));
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

TEST(RouteDocument, savedRouteCutsTheTrackAtTheAnchorsWithoutLosingAPoint)
{
    // Eight points along a line; the track passes the start's place again at its end.
    std::vector<Coordinate> track;
    for (int i = 0; i < 7; ++i)
        track.push_back({48.0 + 0.001 * i, 11.0});
    track.push_back(track.front());
    const auto points = [](const Route& route) {
        std::size_t count = 0;
        for (const auto& leg : route.legs)
            count += leg ? leg->coordinates().size() : 0;
        return count + (route.closingLeg ? route.closingLeg->coordinates().size() : 0);
    };
    const auto via = [](const Coordinate& at) { return Anchor(Anchor::Kind::via, at); };
    const auto planOf = [](std::vector<Anchor> anchors, std::vector<Coordinate> coordinates) {
        RouteDocument document;
        document.anchors = std::move(anchors);
        document.trackCoordinates = std::move(coordinates);
        return document;
    };

    // Cut at the nearest points in order; the second visit of the start ends the last leg.
    const RouteDocument plan = planOf({via(track[0]), via(track[3]), via(track[0])}, track);
    const Route cut = savedRoute(plan);
    ASSERT_EQ(cut.legs.size(), 2u);
    EXPECT_EQ(cut.legs[0]->coordinates(), std::vector(track.begin(), track.begin() + 4));
    EXPECT_EQ(cut.legs[1]->coordinates(), std::vector(track.begin() + 3, track.end()));
    EXPECT_NEAR(cut.distance(), 2 * 6 * track[0].distance(track[1]), 0.01);

    // Anchors that all sit on one spot: every point stays, in the last leg.
    const Route loop =
        savedRoute(planOf({via(track[0]), via(track[0]), via(track[0]), via(track[0])}, track));
    ASSERT_EQ(loop.legs.size(), 3u);
    EXPECT_EQ(loop.legs[2]->coordinates(), track);

    // A round trip: the closing leg takes the rest of the track.
    RouteDocument round = plan;
    round.anchors.pop_back();
    round.roundTrip = true;
    const Route closed = savedRoute(round);
    ASSERT_EQ(closed.legs.size(), 1u);
    ASSERT_TRUE(closed.closingLeg);
    EXPECT_EQ(closed.closingLeg->coordinates(), std::vector(track.begin() + 3, track.end()));
    EXPECT_EQ(points(closed), track.size() + 1) << "the cut point ends one leg and starts the next";

    // Nothing saved: the legs are absent, never made up.
    const Route bare = savedRoute(planOf(plan.anchors, {}));
    EXPECT_EQ(bare.legs, (std::vector<std::optional<RouteLeg>>(2)));
    EXPECT_FALSE(bare.closingLeg);
}

TEST(RouteDocument, cuesAreSavedWithThePlanAndComeBackOnTheirLegs)
{
    using S = Cue::Sign;
    const Coordinate a{48.0, 8.0};
    const Coordinate b{48.01, 8.0};
    const Coordinate c{48.02, 8.0};
    const auto segment = [](Coordinate from, Coordinate to, std::vector<Cue> cues) {
        return RouteSegment{
            .coordinates = {from, to}, .distance = from.distance(to), .cues = std::move(cues)};
    };
    Route route{.anchors = {Anchor(Anchor::Kind::via, a), Anchor(Anchor::Kind::via, b),
                            Anchor(Anchor::Kind::via, c)}};
    route.legs = {RouteLeg{{segment(a, b,
                                    {{.sign = S::left,
                                      .position = a,
                                      .distance = 0,
                                      .streetName = "Bahnweg \"Süd\" & <Nord>"},
                                     {.sign = S::finish, .position = b, .distance = 1111.9}})}},
                  RouteLeg{{segment(b, c,
                                    {{.sign = S::roundabout,
                                      .position = b,
                                      .distance = 300,
                                      .streetRef = "B 31",
                                      .text = "Im Kreisverkehr",
                                      .exitNumber = 2},
                                     {.sign = S::finish, .position = c, .distance = 1111.9}})}}};
    const auto saved = RouteDocumentCoder::decode(
        RouteDocumentCoder::encode(route, {CostingKind::road, {}}, "Mit Cues"));
    ASSERT_TRUE(saved);
    const auto written = routeCues(route);
    ASSERT_EQ(saved->cues.size(), written.size()) << "left, via 2, roundabout, finish";
    EXPECT_EQ(saved->cues[0].streetName, "Bahnweg \"Süd\" & <Nord>");
    EXPECT_EQ(saved->cues[1].viaNumber, 2);
    EXPECT_EQ(saved->cues[2].exitNumber, 2);
    EXPECT_EQ(saved->cues[2].text, "Im Kreisverkehr");

    // Without a routing server the saved plan still carries its cues, on the right legs.
    const auto again = routeCues(savedRoute(*saved));
    ASSERT_EQ(again.size(), written.size());
    for (std::size_t i = 0; i < again.size(); ++i) {
        EXPECT_EQ(again[i].sign, written[i].sign) << i;
        EXPECT_NEAR(again[i].distance, written[i].distance, 0.5) << i;
        EXPECT_EQ(again[i].place(), written[i].place()) << i;
    }

    // A hostile cue is skipped; the rest of the document stays.
    const QByteArray hostile = document(R"(costing="road" roundTrip="false")",
                                        R"(<zuvo:cue sign="17" distance="1" lat="1" lon="2"/>
                                           <zuvo:cue sign="2" distance="-5" lat="1" lon="2"/>
                                           <zuvo:cue sign="2" lat="1" lon="2"/>
                                           <zuvo:cue sign="2.5" distance="1" lat="1" lon="2"/>
                                           <zuvo:cue sign="-2" distance="10" lat="1" lon="2" exit="x"/>)");
    const RouteDocument read = decoded(hostile);
    ASSERT_EQ(read.cues.size(), 1u);
    EXPECT_EQ(read.cues[0].sign, S::left);
    EXPECT_FALSE(read.cues[0].exitNumber);
}
