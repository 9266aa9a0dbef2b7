#include "formats/SavedRoute.h"

#include <algorithm>
#include <limits>
#include <span>

namespace zuvo::formats {

namespace {

model::RouteLeg legOf(std::span<const model::Coordinate> points)
{
    model::RouteSegment segment{.coordinates = {points.begin(), points.end()}};
    for (std::size_t i = 1; i < points.size(); ++i)
        segment.distance += points[i - 1].distance(points[i]);
    return {.segments = {std::move(segment)}};
}

// The saved cues back on the legs they lie on, each counted from its leg's start; via cues are
// left out, since the route makes them anew from its anchors.
void giveCues(model::Route& route, const std::vector<model::Cue>& cues)
{
    std::vector<model::RouteLeg*> legs;
    for (auto& leg : route.legs) {
        if (leg)
            legs.push_back(&*leg);
    }
    if (route.closingLeg)
        legs.push_back(&*route.closingLeg);
    double start = 0.0;
    for (std::size_t l = 0; l < legs.size(); ++l) {
        const double end = start + legs[l]->distance();
        const bool last = l + 1 == legs.size();
        for (const auto& cue : cues) {
            if (cue.sign == model::Cue::Sign::viaReached || cue.distance < start ||
                (cue.distance >= end && !last))
                continue;
            model::Cue onLeg = cue;
            onLeg.distance = std::min(cue.distance, end) - start;
            legs[l]->segments.front().cues.push_back(std::move(onLeg));
        }
        start = end;
    }
}

} // namespace

model::Route savedRoute(const RouteDocument& document)
{
    const auto& anchors = document.anchors;
    const auto& track = document.trackCoordinates;
    model::Route route{.anchors = anchors, .roundTrip = document.roundTrip};
    if (anchors.size() < 2) {
        route.legs.assign(anchors.empty() ? 0 : anchors.size() - 1, std::nullopt);
        return route;
    }
    const bool closing = document.roundTrip;
    const std::size_t legCount = anchors.size() - 1 + (closing ? 1 : 0);
    if (track.empty()) {
        route.legs.assign(anchors.size() - 1, std::nullopt);
        return route;
    }
    std::size_t from = 0;
    for (std::size_t leg = 0; leg < legCount; ++leg) {
        const bool last = leg + 1 == legCount;
        std::size_t cut = track.size() - 1;
        if (!last) {
            const model::Coordinate& anchor = anchors[leg + 1].routingPosition();
            double nearest = std::numeric_limits<double>::infinity();
            for (std::size_t i = from; i < track.size(); ++i) {
                if (const double d = anchor.distance(track[i]); d < nearest) {
                    nearest = d;
                    cut = i;
                }
            }
        }
        auto geometry = legOf(std::span(track).subspan(from, cut - from + 1));
        if (leg < anchors.size() - 1)
            route.legs.emplace_back(std::move(geometry));
        else
            route.closingLeg = std::move(geometry);
        from = cut;
    }
    giveCues(route, document.cues);
    return route;
}

} // namespace zuvo::formats
