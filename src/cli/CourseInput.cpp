#include "cli/CourseInput.h"

#include "formats/GPXImporter.h"
#include "formats/RouteDocumentCoder.h"
#include "formats/SavedRoute.h"

#include <QFileInfo>

namespace zuvo::cli {

model::Result<CourseInput, QString> CourseInput::read(const QString& path, QByteArrayView bytes)
{
    if (const auto document = formats::RouteDocumentCoder::decode(bytes);
        document && document->anchors.size() >= 2 && !document->trackCoordinates.empty())
        return CourseInput{.name = document->name.isEmpty() ? QFileInfo(path).completeBaseName()
                                                            : document->name,
                           .route = formats::savedRoute(*document),
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
    // Only the two ends are via points; the whole track is the one leg between them.
    const formats::RouteDocument ends{
        .name = {},
        .anchors = {model::Anchor(model::Anchor::Kind::via, points.front()),
                    model::Anchor(model::Anchor::Kind::via, points.back())},
        .trackCoordinates = std::move(points)};
    return CourseInput{.name = QFileInfo(path).completeBaseName(),
                       .route = formats::savedRoute(ends)};
}

} // namespace zuvo::cli
