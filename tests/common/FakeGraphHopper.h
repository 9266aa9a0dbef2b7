#pragma once

#include "LoopbackServer.h"

#include <QString>

#include <functional>

namespace zuvo::test {

// Answers GraphHopper's /route like the real server: a path of twenty points from the first
// requested point to the last, with the elevations of `elevation`, on asphalt, with the snapped
// points the same as the requested ones, and turn instructions when asked; a round trip as a
// loop of four such paths about the asked length, with its waypoints. Counts what it was asked.
class FakeGraphHopper : public LoopbackServer {
public:
    FakeGraphHopper();

    // Elevation in metres at a fraction 0…1 of each path; a steady 40 m climb unless set.
    std::function<double(double)> elevation = [](double t) { return 100.0 + 40.0 * t; };
    // The answer to GET /info: GraphHopper 11 with the planner's four profiles and elevation.
    QByteArray info = R"({"version":"11.0","elevation":true,"bbox":[-180,-90,180,90],)"
                      R"("profiles":[{"name":"road_bike"},{"name":"gravel_bike"},)"
                      R"({"name":"mtb"},{"name":"motorcycle"}]})";

    // Whether a round trip names the waypoints it went through ("snapped_waypoints"), as
    // GraphHopper does; without them, a loop asked without instructions hides its waypoints.
    bool revealsWaypoints = true;

    int routes() const;  // requests between two different points
    int locates() const; // requests for one point (the same point twice)
    int infos() const;   // GET /info
    int roundTrips() const;
};

} // namespace zuvo::test
