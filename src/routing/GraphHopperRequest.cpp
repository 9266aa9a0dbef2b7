#include "routing/GraphHopperRequest.h"

#include "routing/HttpExchange.h"

#include <QJsonArray>
#include <QUrlQuery>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace zuvo::routing::graphhopper {

namespace {

QJsonArray lonLat(const model::Coordinate& c)
{
    return {c.longitude, c.latitude};
}

QJsonObject rule(const QString& condition, double factor)
{
    return {{QStringLiteral("if"), condition},
            {QStringLiteral("multiply_by"), QString::asprintf("%.3f", factor)}};
}

// Preferences are fractions, but they reach the builder from plans, settings and the command
// line. The server prepares landmarks for every profile and then refuses a request with a
// factor outside 0..1 or a distance influence below the profile's, so a value out of range
// would fail every leg; one that is no number at all says nothing.
std::optional<double> fraction(double value)
{
    if (std::isnan(value))
        return std::nullopt;
    return std::clamp(value, 0.0, 1.0);
}

// A path request for `points`: the leg request and the loop request share everything else.
QJsonObject pathBody(const QJsonArray& points, const model::CostingProfile& costing,
                     const QString& locale)
{
    const bool instructions = costing.kind != model::CostingKind::motorcycle;
    QJsonObject body{
        {QStringLiteral("points"), points},
        {QStringLiteral("profile"), model::graphHopperProfile(costing.kind)},
        {QStringLiteral("elevation"), true},
        {QStringLiteral("points_encoded"), false},
        // Turn instructions mean nothing to a motorcycle course here; the
        // bicycle profiles keep them.
        {QStringLiteral("instructions"), instructions},
        {QStringLiteral("details"),
         QJsonArray{QStringLiteral("surface"), QStringLiteral("road_class"),
                    QStringLiteral("average_slope"), QStringLiteral("max_slope")}},
        {QStringLiteral("ch.disable"), true},
        {QStringLiteral("custom_model"), customModel(costing)},
    };
    if (instructions)
        body.insert(QStringLiteral("locale"), locale);
    return body;
}

} // namespace

QJsonObject locateBody(const model::Coordinate& point, const model::CostingProfile& costing)
{
    return {
        {QStringLiteral("points"), QJsonArray{lonLat(point), lonLat(point)}},
        {QStringLiteral("profile"), model::graphHopperProfile(costing.kind)},
        {QStringLiteral("elevation"), true},
        {QStringLiteral("points_encoded"), false},
        {QStringLiteral("ch.disable"), true},
    };
}

QJsonObject routeBody(const model::Coordinate& from, const model::Coordinate& to,
                      const model::CostingProfile& costing, const QString& locale)
{
    return pathBody(QJsonArray{lonLat(from), lonLat(to)}, costing, locale);
}

QJsonObject roundTripBody(const model::Coordinate& start, double distance,
                          std::optional<double> heading, int seed,
                          const model::CostingProfile& costing, const QString& locale)
{
    QJsonObject body = pathBody(QJsonArray{lonLat(start)}, costing, locale);
    body.insert(QStringLiteral("algorithm"), QStringLiteral("round_trip"));
    // GraphHopper reads these as numbers only: a string silently becomes its default.
    body.insert(QStringLiteral("round_trip.distance"), std::round(std::max(distance, 0.0)));
    body.insert(QStringLiteral("round_trip.seed"), seed);
    if (heading)
        body.insert(QStringLiteral("headings"),
                    QJsonArray{std::fmod(std::fmod(*heading, 360.0) + 360.0, 360.0)});
    return body;
}

QJsonObject customModel(const model::CostingProfile& costing)
{
    const QString climbsKey = QStringLiteral("avoid_climbs");
    const double avoidClimbs =
        fraction(costing[climbsKey]).value_or(model::CostingProfile{costing.kind}[climbsKey]);
    const auto set = [&](const char* key) -> std::optional<double> {
        const auto it = costing.values.find(QString::fromLatin1(key));
        return it == costing.values.end() ? std::nullopt : fraction(it->second);
    };

    QJsonArray priority;
    if (avoidClimbs > 0.05) {
        // Steeper average slopes keep less of their priority.
        constexpr std::array<std::pair<const char*, double>, 4> slopes{
            {{"15.0", 0.1}, {"10.0", 0.3}, {"7.0", 0.55}, {"4.0", 0.8}}};
        for (const auto& [threshold, factor] : slopes)
            priority.append(rule(QStringLiteral("average_slope >= ") + QLatin1String(threshold),
                                 1.0 - avoidClimbs * (1.0 - factor)));
        priority.append(rule(QStringLiteral("max_slope >= 18"), 1.0 - 0.85 * avoidClimbs));
    }
    if (const auto unpaved = set("avoid_bad_surfaces"); unpaved && *unpaved > 0.05)
        priority.append(
            rule(QStringLiteral("surface == GRAVEL || surface == DIRT || surface == SAND"),
                 1.0 - 0.9 * *unpaved));
    if (const auto roads = set("use_roads"); roads && *roads < 0.5)
        priority.append(
            rule(QStringLiteral("road_class == PRIMARY || road_class == TRUNK"), *roads + 0.15));
    if (const auto motorways = set("avoid_motorways"); motorways && *motorways > 0.05)
        priority.append(rule(QStringLiteral("road_class == MOTORWAY"), 1.0 - 0.9 * *motorways));

    QJsonObject model;
    if (!priority.isEmpty())
        model.insert(QStringLiteral("priority"), priority);
    if (costing.kind != model::CostingKind::motorcycle)
        model.insert(
            QStringLiteral("speed"),
            QJsonArray{QJsonObject{{QStringLiteral("if"), QStringLiteral("average_slope >= 6")},
                                   {QStringLiteral("multiply_by"), QStringLiteral("0.55")}}});
    model.insert(QStringLiteral("distance_influence"), 90.0 - 60.0 * avoidClimbs);
    return model;
}

std::optional<QUrl> matchURL(const QUrl& base, model::CostingKind kind)
{
    QUrl url = appendingPathComponent(base, QStringLiteral("match"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("profile"), model::graphHopperProfile(kind));
    query.addQueryItem(QStringLiteral("points_encoded"), QStringLiteral("false"));
    query.addQueryItem(QStringLiteral("elevation"), QStringLiteral("true"));
    query.addQueryItem(QStringLiteral("details"), QStringLiteral("surface"));
    query.addQueryItem(QStringLiteral("details"), QStringLiteral("road_class"));
    url.setQuery(query);
    if (!url.isValid() || url.scheme().isEmpty() || url.host().isEmpty())
        return std::nullopt;
    return url;
}

QByteArray matchGPX(std::span<const model::Coordinate> track)
{
    QByteArray gpx = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<gpx version=\"1.1\"><trk><trkseg>\n";
    for (const auto& c : track) {
        // QByteArray::number always writes a point, whatever the user's
        // locale; printf would follow LC_NUMERIC, which Qt sets from it.
        gpx.append("<trkpt lat=\"")
            .append(QByteArray::number(c.latitude, 'f', 6))
            .append("\" lon=\"")
            .append(QByteArray::number(c.longitude, 'f', 6))
            .append("\"/>\n");
    }
    gpx.append("</trkseg></trk></gpx>");
    return gpx;
}

} // namespace zuvo::routing::graphhopper
