#include "cli/CourseInput.h"

#include "formats/GPXImporter.h"
#include "formats/RouteDocumentCoder.h"

#include <QFileInfo>

#include <limits>

namespace zuvo::cli {

namespace {

model::RouteLeg legOf(std::span<const model::Coordinate> points)
{
    model::RouteSegment segment{.coordinates = {points.begin(), points.end()}};
    for (std::size_t i = 1; i < points.size(); ++i)
        segment.distance += points[i - 1].distance(points[i]);
    return {.segments = {std::move(segment)}};
}

// The track cut at each anchor after the first: at the point nearest to it
// from the previous cut on, so that a route passing a place twice is cut
// where it gets there in order.
model::Route routeOf(const formats::RouteDocument& document)
{
    model::Route route{.anchors = document.anchors, .roundTrip = document.roundTrip};
    const auto& track = document.trackCoordinates;
    const std::size_t legs = document.anchors.size() - (document.roundTrip ? 0 : 1);
    std::size_t from = 0;
    for (std::size_t a = 1; a <= legs; ++a) {
        std::size_t cut = track.size() - 1;
        if (a < document.anchors.size()) {
            const model::Coordinate& anchor = document.anchors[a].routingPosition();
            double nearest = std::numeric_limits<double>::infinity();
            for (std::size_t i = from; i < track.size(); ++i) {
                if (const double d = anchor.distance(track[i]); d < nearest) {
                    nearest = d;
                    cut = i;
                }
            }
        }
        const auto leg = legOf(std::span(track).subspan(from, cut - from + 1));
        if (a < document.anchors.size())
            route.legs.push_back(leg);
        else
            route.closingLeg = leg;
        from = cut;
    }
    return route;
}

} // namespace

model::Result<CourseInput, QString> CourseInput::read(const QString& path, QByteArrayView bytes)
{
    if (const auto document = formats::RouteDocumentCoder::decode(bytes);
        document && document->anchors.size() >= 2 && !document->trackCoordinates.empty())
        return CourseInput{.name = document->name.isEmpty() ? QFileInfo(path).completeBaseName()
                                                            : document->name,
                           .route = routeOf(*document),
                           .kind = document->costing.kind};

    const auto gpx = formats::GPXImporter::read(bytes);
    if (!gpx)
        return path + QStringLiteral(": not a GPX file");
    std::vector<model::Coordinate> points;
    if (!gpx->tracks.empty()) {
        for (const model::TrackSample& sample : gpx->tracks.front())
            points.push_back(sample.coordinate);
    } else if (!gpx->routes.empty()) {
        points = gpx->routes.front();
    }
    if (points.empty())
        return path + QStringLiteral(": no track or route");
    model::Route route;
    route.anchors.emplace_back(model::Anchor::Kind::via, points.front());
    route.anchors.emplace_back(model::Anchor::Kind::via, points.back());
    route.legs.push_back(legOf(points));
    return CourseInput{.name = QFileInfo(path).completeBaseName(), .route = std::move(route)};
}

} // namespace zuvo::cli
