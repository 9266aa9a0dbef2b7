#include "FakeGraphHopper.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace zuvo::test {

namespace {

QJsonArray pointsOf(const LoopbackServer::Request& request)
{
    return QJsonDocument::fromJson(request.body).object().value(u"points").toArray();
}

QByteArray pathBetween(const QJsonArray& from, const QJsonArray& to,
                       const std::function<double(double)>& elevation, bool instructions)
{
    constexpr int steps = 19;
    QJsonArray coordinates;
    for (int i = 0; i <= steps; ++i) {
        const double t = double(i) / steps;
        const double lon = from[0].toDouble() + (to[0].toDouble() - from[0].toDouble()) * t;
        const double lat = from[1].toDouble() + (to[1].toDouble() - from[1].toDouble()) * t;
        coordinates.append(QJsonArray{lon, lat, elevation(t)});
    }
    QJsonObject path{
        {"distance", 0.0},
        {"points_encoded", false},
        {"points", QJsonObject{{"type", "LineString"}, {"coordinates", coordinates}}},
        {"details", QJsonObject{{"surface", QJsonArray{QJsonArray{0, steps, "asphalt"}}}}},
    };
    // Along the way: on along Hauptstraße, right into Bahnweg halfway, then the finish.
    if (instructions)
        path.insert("instructions",
                    QJsonArray{QJsonObject{{"sign", 0},
                                           {"street_name", "Hauptstraße"},
                                           {"text", "Continue onto Hauptstraße"},
                                           {"interval", QJsonArray{0, 10}}},
                               QJsonObject{{"sign", 2},
                                           {"street_name", "Bahnweg"},
                                           {"text", "Turn right onto Bahnweg"},
                                           {"interval", QJsonArray{10, steps}}},
                               QJsonObject{{"sign", 4},
                                           {"text", "Arrive at destination"},
                                           {"interval", QJsonArray{steps, steps}}}});
    return QJsonDocument(QJsonObject{{"paths", QJsonArray{path}}}).toJson(QJsonDocument::Compact);
}

} // namespace

FakeGraphHopper::FakeGraphHopper()
{
    answer = [this](const Request& request) {
        if (request.url.path() == u"/info")
            return Answer{.body = info};
        const QJsonArray points = pointsOf(request);
        if (points.size() < 2)
            return Answer{.status = 400, .body = R"({"message":"Point 0 is out of bounds"})"};
        const bool instructions =
            QJsonDocument::fromJson(request.body).object().value(u"instructions").toBool();
        return Answer{.body = pathBetween(points.first().toArray(), points.last().toArray(),
                                          elevation, instructions)};
    };
}

int FakeGraphHopper::infos() const
{
    return int(std::count_if(requests.begin(), requests.end(),
                             [](const Request& r) { return r.url.path() == u"/info"; }));
}

int FakeGraphHopper::routes() const
{
    int count = 0;
    for (const auto& request : requests) {
        if (request.url.path() == u"/info")
            continue;
        const QJsonArray points = pointsOf(request);
        count += points.size() >= 2 && points.first() != points.last();
    }
    return count;
}

int FakeGraphHopper::locates() const
{
    return int(requests.size()) - routes() - infos();
}

} // namespace zuvo::test
