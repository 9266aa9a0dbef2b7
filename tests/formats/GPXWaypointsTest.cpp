#include "formats/GPXWaypoints.h"

#include <gtest/gtest.h>

using namespace zuvo::formats;
using Waypoint = GPXWaypoints::Waypoint;

TEST(GPXWaypoints, namedWaypointsOnly)
{
    const auto waypoints = GPXWaypoints::parse(R"(<gpx>
  <metadata><name>Doc</name></metadata>
  <wpt lat="48.1" lon="11.5"><name>  Biergarten
  </name><extensions><name>Inner</name></extensions></wpt>
  <gpx:wpt lat="-1" lon="2"><extensions><name>Inner only</name></extensions></gpx:wpt>
  <wpt lat="3" lon="4"><name>   </name></wpt>
  <wpt lat="48.1" lon=" 11.5"><name>Skipped</name></wpt>
  <wpt lat="48.1"><name>Skipped</name></wpt>
  <trk><name>Track</name><trkseg><trkpt lat="5" lon="6"><name>Point</name></trkpt></trkseg></trk>
  <rte><rtept lat="7" lon="8"><name>Route point</name></rtept></rte>
</gpx>)");
    EXPECT_EQ(waypoints,
              (std::vector<Waypoint>{{"Biergarten", 48.1, 11.5}, {"POI", -1, 2}, {"POI", 3, 4}}));
}

TEST(GPXWaypoints, keepsWhatWasCompleteBeforeABreak)
{
    EXPECT_TRUE(GPXWaypoints::parse("").empty());
    EXPECT_TRUE(GPXWaypoints::parse("this is not XML").empty());
    const auto waypoints = GPXWaypoints::parse(R"(<gpx>
  <wpt lat="1" lon="1"><name>A</name></wpt>
  <wpt lat="2" lon="2"><name>B</name></wpt>
  <wpt lat="3" lon="3"/>
  <wpt lat="4" lon="4"><name>Cut)");
    EXPECT_EQ(waypoints, (std::vector<Waypoint>{{"A", 1, 1}, {"B", 2, 2}, {"POI", 3, 3}}));
}
