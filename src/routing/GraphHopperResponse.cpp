#include "routing/GraphHopperResponse.h"

#include "routing/Failure.h"

#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>
#include <cmath>
#include <optional>

namespace zuvo::routing::graphhopper {

namespace {

// Points `from` up to but excluding `to` carry `value`.
struct Run {
    qint64 from = 0;
    qint64 to = 0;
    std::optional<QString> value = {};
};

std::optional<qint64> integer(const QJsonValue& v)
{
    if (!v.isDouble())
        return std::nullopt;
    const double d = v.toDouble();
    if (d != std::floor(d) || std::abs(d) > 9.0e15)
        return std::nullopt;
    return static_cast<qint64>(d);
}

bool isNumberList(const QJsonValue& v)
{
    if (!v.isArray())
        return false;
    const QJsonArray list = v.toArray();
    return std::all_of(list.begin(), list.end(), [](const QJsonValue& x) { return x.isDouble(); });
}

// The coordinates of the first path, or absent when the answer lacks them.
std::optional<QJsonArray> firstPathCoordinates(const QJsonDocument& answer,
                                               QJsonObject* firstPath = nullptr)
{
    if (!answer.isObject())
        return std::nullopt;
    const QJsonValue paths = answer.object().value(QStringLiteral("paths"));
    if (!paths.isArray() || paths.toArray().isEmpty())
        return std::nullopt;
    const QJsonArray list = paths.toArray();
    if (!std::all_of(list.begin(), list.end(), [](const QJsonValue& p) { return p.isObject(); }))
        return std::nullopt;
    const QJsonObject path = list.first().toObject();
    if (path.isEmpty())
        return std::nullopt;
    const QJsonValue points = path.value(QStringLiteral("points"));
    if (!points.isObject())
        return std::nullopt;
    const QJsonValue coordinates = points.toObject().value(QStringLiteral("coordinates"));
    if (!coordinates.isArray())
        return std::nullopt;
    const QJsonArray entries = coordinates.toArray();
    if (!std::all_of(entries.begin(), entries.end(), isNumberList))
        return std::nullopt;
    if (firstPath)
        *firstPath = path;
    return entries;
}

model::Coordinate coordinateOf(const QJsonArray& entry)
{
    model::Coordinate c{entry.at(1).toDouble(), entry.at(0).toDouble()};
    if (entry.size() > 2)
        c.elevation = entry.at(2).toDouble();
    return c;
}

// A detail's runs; entries that are not [integer, integer, …] are skipped.
std::vector<Run> runsOf(const QJsonArray& entries)
{
    std::vector<Run> runs;
    for (const auto& entry : entries) {
        const QJsonArray run = entry.toArray();
        if (run.size() < 3)
            continue;
        const auto from = integer(run.at(0));
        const auto to = integer(run.at(1));
        if (!from || !to)
            continue;
        std::optional<QString> value;
        if (run.at(2).isString())
            value = run.at(2).toString();
        // A negative index has no meaning; it counts from the first point.
        runs.push_back({std::max<qint64>(*from, 0), std::max<qint64>(*to, 0), std::move(value)});
    }
    return runs;
}

// The surface and road-class runs, or none when "details" is not an object
// of lists of lists.
std::pair<std::vector<Run>, std::vector<Run>> detailRuns(const QJsonObject& path)
{
    const QJsonValue details = path.value(QStringLiteral("details"));
    if (!details.isObject())
        return {};
    const QJsonObject byName = details.toObject();
    for (const auto& list : byName) {
        if (!list.isArray())
            return {};
        const QJsonArray entries = list.toArray();
        if (!std::all_of(entries.begin(), entries.end(),
                         [](const QJsonValue& e) { return e.isArray(); }))
            return {};
    }
    return {runsOf(byName.value(QStringLiteral("surface")).toArray()),
            runsOf(byName.value(QStringLiteral("road_class")).toArray())};
}

std::optional<QString> valueAt(const std::vector<Run>& runs, qint64 index)
{
    for (const auto& run : runs) {
        if (run.from <= index && index < run.to)
            return run.value;
    }
    return std::nullopt;
}

struct PlacedCue {
    model::Cue cue;
    std::size_t point = 0; // where it applies, as an index into the path's points
};

// The path's turn instructions; an entry without a known sign, with an interval outside the
// points or with fields of the wrong type is skipped on its own.
std::vector<PlacedCue> cuesOf(const QJsonObject& path, const std::vector<model::Coordinate>& points)
{
    std::vector<PlacedCue> cues;
    for (const auto& value : path.value(QStringLiteral("instructions")).toArray()) {
        const QJsonObject entry = value.toObject();
        const auto number = integer(entry.value(QStringLiteral("sign")));
        const auto sign = number ? model::Cue::signFromNumber(int(*number)) : std::nullopt;
        const QJsonArray interval = entry.value(QStringLiteral("interval")).toArray();
        const auto first = interval.isEmpty() ? std::nullopt : integer(interval.at(0));
        if (!sign || !first || *first < 0 || *first >= qint64(points.size()))
            continue;
        const auto text = [&](const char* key) -> std::optional<QString> {
            const QJsonValue field = entry.value(QLatin1String(key));
            if (field.isUndefined() || field.isNull())
                return QString();
            if (!field.isString())
                return std::nullopt;
            return field.toString();
        };
        const auto street = text("street_name");
        const auto ref = text("street_ref");
        const auto destination = text("street_destination");
        const auto sentence = text("text");
        if (!street || !ref || !destination || !sentence)
            continue;
        model::Cue cue{.sign = *sign,
                       .position = points[std::size_t(*first)],
                       .streetName = *street,
                       .streetRef = *ref,
                       .streetDestination = *destination,
                       .text = *sentence};
        if (const auto exit = integer(entry.value(QStringLiteral("exit_number")));
            exit && *exit > 0)
            cue.exitNumber = int(*exit);
        cues.push_back({std::move(cue), std::size_t(*first)});
    }
    return cues;
}

// The points the server routed through between start and end ("snapped_waypoints") as
// "via reached" cues at the path's nearest points, in riding order. A round trip asked without
// instructions names its waypoints only there; a leg has none between its ends.
std::vector<PlacedCue> waypointCues(const QJsonObject& path,
                                    const std::vector<model::Coordinate>& points)
{
    const QJsonArray waypoints = path.value(QStringLiteral("snapped_waypoints"))
                                     .toObject()
                                     .value(QStringLiteral("coordinates"))
                                     .toArray();
    std::vector<PlacedCue> cues;
    std::size_t from = 0;
    for (qsizetype w = 1; w + 1 < waypoints.size() && !points.empty(); ++w) {
        const QJsonValue entry = waypoints.at(w);
        if (!isNumberList(entry) || entry.toArray().size() < 2)
            continue;
        const model::Coordinate at = coordinateOf(entry.toArray());
        // Each waypoint comes after the one before, even where the loop passes it earlier.
        std::size_t nearest = from;
        double best = points[from].distance(at);
        for (std::size_t i = from + 1; i < points.size(); ++i) {
            if (const double d = points[i].distance(at); d < best) {
                best = d;
                nearest = i;
            }
        }
        from = nearest;
        cues.push_back({model::Cue{.sign = model::Cue::Sign::viaReached,
                                   .position = points[nearest],
                                   .viaNumber = int(w) + 1},
                        nearest});
    }
    return cues;
}

} // namespace

QJsonDocument parseBody(const QByteArray& body)
{
    QJsonParseError error;
    QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error == QJsonParseError::NoError)
        return document;
    // QJsonDocument holds only objects and arrays. Wrapped in brackets, a
    // body that is exactly one JSON value becomes an array of one.
    const QJsonDocument wrapped = QJsonDocument::fromJson('[' + body + ']');
    if (wrapped.isArray() && wrapped.array().size() == 1)
        return {};
    throw Failure(JsonError{error.errorString()});
}

model::Anchor::Snap parseSnap(const QJsonDocument& answer, const model::Coordinate& requested)
{
    const auto coordinates = firstPathCoordinates(answer);
    if (!coordinates || coordinates->isEmpty() || coordinates->first().toArray().size() < 2)
        throw Failure(RoutingError::notSnappable(requested));
    return {coordinateOf(coordinates->first().toArray()), std::nullopt};
}

std::vector<model::RouteSegment> parseSegments(const QJsonDocument& answer)
{
    QJsonObject path;
    const auto entries = firstPathCoordinates(answer, &path);
    if (!entries)
        throw Failure(RoutingError::malformedResponse());

    std::vector<model::Coordinate> points;
    points.reserve(static_cast<std::size_t>(entries->size()));
    for (const auto& entry : *entries) {
        const QJsonArray numbers = entry.toArray();
        if (numbers.size() >= 2)
            points.push_back(coordinateOf(numbers));
    }
    // Instructions count the answer's points; with one of them unusable they point elsewhere.
    std::vector<PlacedCue> cues = qsizetype(points.size()) == entries->size()
                                      ? cuesOf(path, points)
                                      : std::vector<PlacedCue>{};
    const auto isVia = [](const PlacedCue& placed) {
        return placed.cue.sign == model::Cue::Sign::viaReached;
    };
    if (std::none_of(cues.begin(), cues.end(), isVia)) {
        for (auto& placed : waypointCues(path, points))
            cues.push_back(std::move(placed));
        std::stable_sort(cues.begin(), cues.end(),
                         [](const PlacedCue& a, const PlacedCue& b) { return a.point < b.point; });
    }
    const auto n = static_cast<qint64>(points.size());
    if (n < 2)
        throw Failure(RoutingError::noRouteFound());

    const auto [surfaces, roadClasses] = detailRuns(path);
    std::vector<qint64> breaks{0, n - 1};
    for (const auto* runs : {&surfaces, &roadClasses}) {
        for (const auto& run : *runs) {
            breaks.push_back(std::min(n - 1, run.from));
            breaks.push_back(std::min(n - 1, run.to));
        }
    }
    std::sort(breaks.begin(), breaks.end());
    breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());

    std::vector<model::RouteSegment> segments;
    segments.reserve(breaks.size() - 1);
    for (std::size_t b = 0; b + 1 < breaks.size(); ++b) {
        const auto start = static_cast<std::size_t>(breaks[b]);
        const auto end = static_cast<std::size_t>(breaks[b + 1]);
        model::RouteSegment segment{
            .coordinates = {points.begin() + static_cast<std::ptrdiff_t>(start),
                            points.begin() + static_cast<std::ptrdiff_t>(end) + 1},
            .distance = 0.0,
            .surface = valueAt(surfaces, breaks[b]),
            .roadClass = valueAt(roadClasses, breaks[b]),
        };
        for (std::size_t i = start; i < end; ++i)
            segment.distance += points[i].distance(points[i + 1]);
        // A cue belongs to the segment it starts in; the path's last point to the last one.
        const bool last = b + 2 == breaks.size();
        for (const auto& placed : cues) {
            if (placed.point < start || placed.point > end || (placed.point == end && !last))
                continue;
            model::Cue cue = placed.cue;
            for (std::size_t i = start; i < placed.point; ++i)
                cue.distance += points[i].distance(points[i + 1]);
            segment.cues.push_back(std::move(cue));
        }
        segments.push_back(std::move(segment));
    }
    return segments;
}

} // namespace zuvo::routing::graphhopper
