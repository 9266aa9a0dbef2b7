// Turn instructions in GraphHopper 11's answers, as the planner keeps them.
#include "routing/GraphHopperRequest.h"
#include "routing/GraphHopperResponse.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace zuvo;
using model::Cue;
namespace gh = routing::graphhopper;

namespace {

QByteArray recorded(const char* name)
{
    QFile file(QStringLiteral(TRAMU_TEST_DATA "/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::vector<Cue> cuesOf(const std::vector<model::RouteSegment>& segments)
{
    std::vector<Cue> cues;
    double start = 0.0;
    for (const auto& segment : segments) {
        for (Cue cue : segment.cues) {
            cue.distance += start;
            cues.push_back(cue);
        }
        start += segment.distance;
    }
    return cues;
}

} // namespace

TEST(GraphHopperCues, everySignAndStreetOfAnElevenAnswer)
{
    const auto segments =
        gh::parseSegments(gh::parseBody(recorded("route-with-instructions.json")));
    ASSERT_EQ(segments.size(), 2u) << "asphalt, then gravel";
    EXPECT_EQ(segments[0].cues.size(), 2u) << "a cue lies in the run it starts in";
    const auto cues = cuesOf(segments);
    ASSERT_EQ(cues.size(), 6u);
    EXPECT_EQ(cues[0].sign, Cue::Sign::straight);
    EXPECT_EQ(cues[0].streetName, "Hauptstraße");
    EXPECT_EQ(cues[0].distance, 0.0);
    EXPECT_EQ(cues[1].sign, Cue::Sign::roundabout);
    EXPECT_EQ(cues[1].exitNumber, 2);
    EXPECT_EQ(cues[1].text, "Im Kreisverkehr die 2. Ausfahrt nehmen auf Freiburger Straße");
    EXPECT_EQ(cues[1].position, (model::Coordinate{48.0625, 7.9460, 293.8}));
    EXPECT_EQ(cues[2].sign, Cue::Sign::keepLeft);
    EXPECT_EQ(cues[2].place(), "B 31") << "no street name: its reference";
    EXPECT_EQ(cues[2].streetDestination, "Freiburg");
    EXPECT_EQ(cues[3].sign, Cue::Sign::uTurn);
    EXPECT_EQ(cues[3].place(), "Wenden") << "nothing but the server's text";
    EXPECT_EQ(cues[5].sign, Cue::Sign::finish);
    EXPECT_EQ(cues[5].position.latitude, 48.0718);
    // Distances along the path, to the centimetre of the points' own.
    double along = 0.0;
    const auto points = gh::parseBody(recorded("route-with-instructions.json"))
                            .object()["paths"][0]["points"]["coordinates"]
                            .toArray();
    for (int i = 0; i < 6; ++i) {
        const model::Coordinate a{points[i][1].toDouble(), points[i][0].toDouble()};
        const model::Coordinate b{points[i + 1][1].toDouble(), points[i + 1][0].toDouble()};
        along += a.distance(b);
    }
    EXPECT_NEAR(cues[2].distance, along, 0.01);
}

TEST(GraphHopperCues, hostileEntriesAreSkippedOneByOne)
{
    const QByteArray answer =
        R"({"paths":[{"points":{"coordinates":[[7.0,48.0],[7.1,48.0],[7.2,48.0]]},
        "instructions":[
            {"sign":"2","interval":[0,1],"text":"sign as a string"},
            {"interval":[0,1],"text":"no sign"},
            {"sign":2,"interval":[5,6],"text":"beyond the points"},
            {"sign":2,"interval":[-1,0],"text":"before the points"},
            {"sign":2,"interval":"0,1","text":"interval as text"},
            {"sign":2,"interval":[1,2],"text":7},
            {"sign":42,"interval":[1,2],"text":"a sign GraphHopper never writes"},
            {"sign":1,"interval":[1,2],"text":"Leicht rechts","street_name":null},
            "not an object",
            {"sign":4,"interval":[2,2],"text":"Ziel"}]}]})";
    const auto segments = gh::parseSegments(gh::parseBody(answer));
    const auto cues = cuesOf(segments);
    ASSERT_EQ(cues.size(), 2u);
    EXPECT_EQ(cues[0].sign, Cue::Sign::slightRight);
    EXPECT_EQ(cues[0].text, "Leicht rechts");
    EXPECT_EQ(cues[1].sign, Cue::Sign::finish);
    // Instructions that are no list at all leave a route without cues, never a failed leg.
    const auto none = gh::parseSegments(gh::parseBody(
        R"({"paths":[{"points":{"coordinates":[[7.0,48.0],[7.1,48.0]]},"instructions":{}}]})"));
    EXPECT_TRUE(cuesOf(none).empty());
}

TEST(GraphHopperCues, aLoopWithoutInstructionsNamesItsWaypoints)
{
    // A round trip asked without instructions: its waypoints between start and end at the
    // path's nearest points, in riding order, and hostile entries skipped.
    const QByteArray loop =
        R"({"paths":[{"points":{"coordinates":[[7.0,48.0],[7.1,48.0],[7.2,48.0],[7.2,48.1],
        [7.1,48.1],[7.0,48.1],[7.0,48.0]]},
        "snapped_waypoints":{"coordinates":[[7.0,48.0],[7.21,48.0],"x",[7.0],[7.01,48.1],
        [7.0,48.0]]}}]})";
    const auto cues = cuesOf(gh::parseSegments(gh::parseBody(loop)));
    ASSERT_EQ(cues.size(), 2u);
    EXPECT_EQ(cues[0].sign, Cue::Sign::viaReached);
    EXPECT_EQ(cues[0].position, (model::Coordinate{48.0, 7.2}));
    EXPECT_EQ(cues[1].position, (model::Coordinate{48.1, 7.0}));
    EXPECT_GT(cues[1].distance, cues[0].distance);
    EXPECT_EQ(cues[0].viaNumber, 2);

    // A leg's waypoints are its ends; an answer whose instructions name its waypoints keeps them.
    const auto leg = gh::parseSegments(gh::parseBody(
        R"({"paths":[{"points":{"coordinates":[[7.0,48.0],[7.1,48.0]]},
        "snapped_waypoints":{"coordinates":[[7.0,48.0],[7.1,48.0]]}}]})"));
    EXPECT_TRUE(cuesOf(leg).empty());
    const auto told = gh::parseSegments(gh::parseBody(
        R"({"paths":[{"points":{"coordinates":[[7.0,48.0],[7.1,48.0],[7.2,48.0]]},
        "instructions":[{"sign":5,"interval":[1,1],"text":"Wegpunkt"}],
        "snapped_waypoints":{"coordinates":[[7.0,48.0],[7.2,48.0],[7.1,48.0],[7.2,48.0]]}}]})"));
    ASSERT_EQ(cuesOf(told).size(), 1u);
    EXPECT_EQ(cuesOf(told)[0].text, "Wegpunkt");
}

TEST(GraphHopperCues, theRequestAsksInTheWindowsLanguageExceptForTheMotorcycle)
{
    const model::Coordinate a{48.0, 7.0};
    const model::Coordinate b{48.1, 7.1};
    const QJsonObject gravel = gh::routeBody(a, b, {model::CostingKind::gravel, {}}, "de");
    EXPECT_TRUE(gravel["instructions"].toBool());
    EXPECT_EQ(gravel["locale"].toString(), "de");
    EXPECT_EQ(gravel.keys(),
              (QStringList{"ch.disable", "custom_model", "details", "elevation", "instructions",
                           "locale", "points", "points_encoded", "profile"}));
    const QJsonObject moto = gh::routeBody(a, b, {model::CostingKind::motorcycle, {}}, "de");
    EXPECT_FALSE(moto["instructions"].toBool());
    EXPECT_FALSE(moto.contains("locale"));
}
