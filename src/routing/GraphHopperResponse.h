#pragma once

#include "model/Anchor.h"
#include "model/RouteSegment.h"

#include <QJsonDocument>

#include <vector>

// Pure parsers of GraphHopper's answers. They throw Failure with a
// RoutingError when the answer does not have the expected shape.
namespace zuvo::routing::graphhopper {

// The body of a 2xx answer as JSON. Any JSON value is accepted: a scalar
// (null, 42, "x") gives an empty document, which the parsers below reject as
// an answer of the wrong shape. Throws Failure with the JsonError of a body
// that is not JSON at all.
QJsonDocument parseBody(const QByteArray& body);

// The first point of the first path; notSnappable(requested) when there is
// no usable one.
model::Anchor::Snap parseSnap(const QJsonDocument& answer, const model::Coordinate& requested);

// The first path cut into segments wherever its surface or road class
// changes; neighbouring segments share their boundary point. Each segment
// carries the turn instructions that start in it; an answer whose instructions
// name no waypoint (none were asked for) gets "via reached" cues at the
// waypoints it routed through between its ends.
std::vector<model::RouteSegment> parseSegments(const QJsonDocument& answer);

} // namespace zuvo::routing::graphhopper
