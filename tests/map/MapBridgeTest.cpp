#include "map/MapBridge.h"

#include "RecordingPage.h"
#include "map/ScaleBar.h"
#include "map/detail/JsonText.h"

#include <QJsonArray>

#include <gtest/gtest.h>

using namespace zuvo;
using map::MapBridge;
using map::MapEvent;
using map::POIItem;
using model::Anchor;
using model::Coordinate;

namespace {

std::optional<MapEvent> parse(const char* json)
{
    return MapEvent::parse(QJsonDocument::fromJson(json).object());
}

const QUuid someID = QUuid::fromString(QStringLiteral("6f1c2b9e-0d3a-4c55-9a8e-2b7d4e1f0a11"));

} // namespace

TEST(Bridge, everyEventDecodesWithItsFields)
{
    EXPECT_EQ(parse(R"({"event":"ready"})"), MapEvent{MapEvent::Ready{}});
    EXPECT_EQ(parse(R"({"event":"dragEnd"})"), MapEvent{MapEvent::DragEnd{}});
    EXPECT_EQ(parse(R"({"event":"tap","lng":6.9,"lat":50.9,"onRoute":true})"),
              MapEvent{(MapEvent::Tap{6.9, 50.9, true})});
    EXPECT_EQ(parse(R"({"event":"anchorSelect","id":"6F1C2B9E-0D3A-4C55-9A8E-2B7D4E1F0A11"})"),
              MapEvent{MapEvent::AnchorSelect{someID}});
    EXPECT_EQ(parse(R"({"event":"anchorDrag","id":"6f1c2b9e-0d3a-4c55-9a8e-2b7d4e1f0a11",
                        "lng":7,"lat":51})"),
              MapEvent{(MapEvent::AnchorDrag{someID, 7, 51})});
    EXPECT_EQ(parse(R"({"event":"routeDragStart","lng":7,"lat":51})"),
              MapEvent{(MapEvent::RouteDragStart{7, 51})});
    EXPECT_EQ(parse(R"({"event":"log","message":"map: tiles"})"),
              MapEvent{MapEvent::Log{"map: tiles"}});
    EXPECT_EQ(parse(R"({"event":"poiSelect","id":"fav-1"})"),
              MapEvent{MapEvent::POISelect{"fav-1"}});
    EXPECT_EQ(parse(R"({"event":"viewChanged","zoom":12.5,"lat":50.1})"),
              MapEvent{(MapEvent::ViewChanged{12.5, 50.1})});
    EXPECT_EQ(parse(R"({"event":"contextMenu","target":{"type":"poi","id":"n1"},
                        "lng":7,"lat":51,"x":10,"y":20})"),
              MapEvent{(MapEvent::ContextMenu{{map::ContextTarget::POI{"n1"}}, 7, 51, 10, 20})});
    EXPECT_EQ(parse(R"({"event":"contextMenu","target":{"type":"anchor",
                        "id":"6f1c2b9e-0d3a-4c55-9a8e-2b7d4e1f0a11"},"lng":7,"lat":51,"x":1,"y":2})"),
              MapEvent{(MapEvent::ContextMenu{{map::ContextTarget::Anchor{someID}}, 7, 51, 1, 2})});
    EXPECT_EQ(parse(R"({"event":"contextMenu","target":{"type":"map"},"lng":7,"lat":51,"x":1,
                        "y":2})"),
              MapEvent{(MapEvent::ContextMenu{{map::ContextTarget::Map{}}, 7, 51, 1, 2})});
}

TEST(Bridge, lenientFieldsFollowTheProtocol)
{
    EXPECT_EQ(parse(R"({"event":"tap","lng":6.9,"lat":50.9})"),
              MapEvent{(MapEvent::Tap{6.9, 50.9, false})});
    EXPECT_EQ(parse(R"({"event":"tap","lng":6.9,"lat":50.9,"onRoute":"yes"})"),
              MapEvent{(MapEvent::Tap{6.9, 50.9, false})});
    EXPECT_EQ(parse(R"({"event":"anchorSelect","id":"not-a-uuid"})"),
              MapEvent{MapEvent::AnchorSelect{}});
    EXPECT_EQ(parse(R"({"event":"anchorSelect"})"), MapEvent{MapEvent::AnchorSelect{}});
    EXPECT_EQ(parse(R"({"event":"poisResult","pois":[
                 {"id":"a","lng":7,"lat":51,"category":"cafe","name":"Café"},
                 {"id":"b","lng":7,"category":"cafe"},
                 "junk",
                 {"id":"c","lng":7.1,"lat":51.1,"category":"bakery"}]})"),
              MapEvent{(MapEvent::POIsResult{
                  {POIItem{"a", 7, 51, "cafe", "Café"}, POIItem{"c", 7.1, 51.1, "bakery", ""}}})});
}

TEST(Bridge, malformedOrUnknownEventsAreDropped)
{
    for (
        const char* json : {
            R"([1,2])",
            R"({"lng":1})",
            R"({"event":"teleport"})",
            R"({"event":7})",
            R"({"event":"tap","lng":"6.9","lat":50.9})",
            R"({"event":"tap","lat":50.9})",
            R"({"event":"anchorDrag","id":"nope","lng":7,"lat":51})",
            R"({"event":"routeDragStart","lng":7})",
            R"({"event":"poiSelect"})",
            R"({"event":"poisResult"})",
            R"({"event":"viewChanged","zoom":12})",
            R"({"event":"contextMenu","target":{"type":"anchor","id":"x"},"lng":7,"lat":51,"x":1,"y":2})",
            R"({"event":"contextMenu","target":{"type":"sky"},"lng":7,"lat":51,"x":1,"y":2})",
            R"({"event":"contextMenu","target":{"type":"map"},"lng":7,"lat":51,"x":1})",
        }) {
        EXPECT_FALSE(parse(json)) << json;
    }
    EXPECT_FALSE(MapEvent::parse(QJsonValue(42)));
}

TEST(Bridge, postedMessagesReachTheListenerDecoded)
{
    MapBridge bridge;
    std::vector<MapEvent> received;
    QObject::connect(&bridge, &MapBridge::eventReceived,
                     [&](const MapEvent& event) { received.push_back(event); });
    bridge.postMessage({{"event", "tap"}, {"lng", 7}, {"lat", 51.5}});
    bridge.postMessage({{"event", "nonsense"}});
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0], MapEvent{(MapEvent::Tap{7, 51.5, false})});
}

TEST(Bridge, commandsCarryTheirPayloadsAndStopWithThePage)
{
    MapBridge bridge;
    auto* page = new test::RecordingPage;
    bridge.setPage(page);

    const std::vector<Coordinate> line{{50.1, 7.1}, {50.2, 7.25}};
    const std::vector<double> grades{1.5, -2};
    const std::vector<double> progress{0, 1};
    bridge.setRoute(line);
    bridge.setRoute(line, std::span<const double>(grades), std::span<const double>(progress));
    EXPECT_TRUE(page->scripts[0].startsWith("window.zuvo && window.zuvo.receive({"));
    const auto plain = test::RecordingPage::decode(page->scripts[0]);
    EXPECT_EQ(plain.name, "setRoute");
    EXPECT_EQ(plain.payload,
              QJsonDocument::fromJson(R"({"coordinates":[[7.1,50.1],[7.25,50.2]]})").object());
    EXPECT_EQ(test::RecordingPage::decode(page->scripts[1]).payload,
              QJsonDocument::fromJson(R"({"coordinates":[[7.1,50.1],[7.25,50.2]],
                                          "grades":[1.5,-2],"progress":[0,1]})")
                  .object());

    model::ShownTrack track{.id = "C:\\rides\\\"quoted\"\n.gpx",
                            .name = "x",
                            .date = {},
                            .coordinates = line,
                            .samples = {},
                            .colorIndex = 4};
    bridge.setImportedTracks(std::vector{track});
    EXPECT_EQ(page->last("setImportedTracks"),
              QJsonDocument::fromJson(R"({"tracks":[{"id":"C:\\rides\\\"quoted\"\n.gpx",
                                        "colorIndex":4,"coordinates":[[7.1,50.1],[7.25,50.2]]}]})")
                  .object());

    bridge.setPOIs(std::vector{POIItem{"fav-1", 7, 51, "favorite", "Home"},
                               POIItem{"n2", 7.5, 51.5, "cafe", "Café"}},
                   QString("n2"));
    EXPECT_EQ(page->last("setPOIs"), QJsonDocument::fromJson(R"({"pois":[
                  {"id":"fav-1","lng":7,"lat":51,"category":"favorite","selected":false,"dimmed":false},
                  {"id":"n2","lng":7.5,"lat":51.5,"category":"cafe","selected":true,"dimmed":false}]})")
                                         .object());

    bridge.setRideMarker(7, 51, true);
    bridge.setCrosshair(7.5, 51.5, false);
    bridge.highlightStreet("");
    bridge.fit({6, 50, 8, 52}, true);
    EXPECT_EQ(page->last("setRideMarker"),
              QJsonDocument::fromJson(R"({"lng":7,"lat":51,"visible":true})").object());
    EXPECT_EQ(page->last("setCrosshair"),
              QJsonDocument::fromJson(R"({"lng":7.5,"lat":51.5,"visible":false})").object());
    EXPECT_EQ(page->last("highlightStreet"), QJsonDocument::fromJson(R"({"name":""})").object());
    EXPECT_EQ(page->last("fit"),
              QJsonDocument::fromJson(R"({"bounds":[6,50,8,52],"animated":true})").object());

    // With the page gone every command is a no-op, not a call into freed memory.
    delete page;
    bridge.setRoute(line);
    bridge.send("setTool", {{"tool", "via"}});
    EXPECT_FALSE(bridge.hasPage());
}

TEST(Bridge, positionsAreWrittenToTheCentimetre)
{
    QByteArray out;
    for (const double degrees :
         {0.0, -0.0, 6.9, -122.4194155, 48.137154321, 1e-8, -0.00000005, 180.0, 51.99999999})
        (map::detail::appendDegrees(out, degrees), out.append(' '));
    EXPECT_EQ(out, "0 0 6.9 -122.4194155 48.1371543 0 -0.0000001 180 52 ");
}

TEST(Bridge, anchorRolesAndPositions)
{
    const Anchor snapped(Anchor::Kind::via, {50.0, 7.0},
                         Anchor::Snap{{50.001, 7.002}, std::nullopt}, someID);
    const Anchor loose(Anchor::Kind::shaping, {50.5, 7.5});
    const Anchor last(Anchor::Kind::via, {51.0, 8.0});

    auto roles = [](const QJsonArray& anchors) {
        QStringList all;
        for (const auto& a : anchors)
            all.append(a.toObject().value("role").toString());
        return all;
    };
    EXPECT_EQ(roles(MapBridge::anchorsPayload(std::vector{snapped}, {}, false)),
              QStringList{"start"});
    EXPECT_EQ(roles(MapBridge::anchorsPayload(std::vector{snapped, last}, {}, false)),
              (QStringList{"start", "end"}));
    EXPECT_EQ(roles(MapBridge::anchorsPayload(std::vector{snapped, last}, {}, true)),
              (QStringList{"start", ""}));

    const auto payload =
        MapBridge::anchorsPayload(std::vector{snapped, loose, last}, someID, false);
    EXPECT_EQ(payload[0].toObject(),
              QJsonDocument::fromJson(R"({"id":"6F1C2B9E-0D3A-4C55-9A8E-2B7D4E1F0A11","lng":7.002,
                  "lat":50.001,"kind":"via","selected":true,"dimmed":false,"role":"start"})")
                  .object());
    EXPECT_EQ(payload[1].toObject().value("lng").toDouble(), 7.5) << "no snap: the click";
    EXPECT_EQ(payload[1].toObject().value("kind").toString(), "shaping");
    EXPECT_FALSE(payload[1].toObject().value("selected").toBool());
}

TEST(Bridge, scaleBarRoundsToOneTwoFive)
{
    using namespace map::ScaleBar;
    // The map's zoom levels are those of 512-point tiles.
    const auto bar = layout(11, 50.94);
    EXPECT_NEAR(metersPerPoint(11, 50.94), 24.09, 0.01);
    EXPECT_EQ(bar.lengthMeters, 5'000);
    EXPECT_NEAR(bar.widthPoints, 207.6, 0.1);
    EXPECT_EQ(bar.label, "5 km");
    EXPECT_EQ(roundLength(0), 0);
    EXPECT_EQ(roundLength(-3), 0);
    EXPECT_EQ(label(0), "0 m");
    EXPECT_EQ(roundLength(999.9), 500);
    EXPECT_EQ(roundLength(2500), 2000);
    EXPECT_EQ(label(2000), "2 km");
    EXPECT_EQ(roundLength(1999), 1000);
    EXPECT_EQ(label(1000), "1 km");
    EXPECT_EQ(roundLength(1000), 1000);
    EXPECT_EQ(label(999.9), "999 m");
}
