#include "formats/SavedRoute.h"

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
    return route;
}

} // namespace zuvo::formats
