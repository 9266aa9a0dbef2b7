#pragma once

#include "formats/RouteDocument.h"
#include "model/Route.h"

namespace zuvo::formats {

// The plan as it was saved: the document's anchors with its saved track cut into one leg per
// anchor pair (and the closing leg of a round trip). Each cut is the track point nearest to the
// anchor from the previous cut on, so a route that passes a place twice is cut where it gets
// there in order; the last leg always runs to the end of the track, so anchors that coincide
// never drop geometry. Without a saved track, or with fewer than two anchors, no leg is present.
// The saved cues go back onto the legs they lie on.
model::Route savedRoute(const RouteDocument& document);

} // namespace zuvo::formats
