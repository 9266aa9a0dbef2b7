#include "FakeGraphHopper.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zuvo::test {

namespace {

constexpr int steps = 19; // a leg's path has twenty points

QJsonArray pointsOf(const LoopbackServer::Request& request)
{
    return QJsonDocument::fromJson(request.body).object().value(u"points").toArray();
}

// The path /route gives between two points: a straight line with the elevations of `elevation`,
// appended to `coordinates` (without `from` when the path goes on from it).
void appendLeg(QJsonArray& coordinates, const QJsonArray& from, const QJsonArray& to,
               const std::function<double(double)>& elevation)
{
    for (int i = coordinates.isEmpty() ? 0 : 1; i <= steps; ++i) {
        const double t = double(i) / steps;
        const double lon = from[0].toDouble() + (to[0].toDouble() - from[0].toDouble()) * t;
        const double lat = from[1].toDouble() + (to[1].toDouble() - from[1].toDouble()) * t;
        coordinates.append(QJsonArray{lon, lat, elevation(t)});
    }
}

QJsonObject instruction(int sign, int first, int last, const QString& street, const QString& text)
{
    QJsonObject entry{{"sign", sign}, {"text", text}, {"interval", QJsonArray{first, last}}};
    if (!street.isEmpty())
        entry.insert("street_name", street);
    return entry;
}

QByteArray answerWith(const QJsonArray& coordinates, const QJsonArray& instructions,
                      const QJsonArray& waypoints = {})
{
    QJsonObject path{
        {"distance", 0.0},
        {"points_encoded", false},
        {"points", QJsonObject{{"type", "LineString"}, {"coordinates", coordinates}}},
        {"details",
         QJsonObject{{"surface", QJsonArray{QJsonArray{0, coordinates.size() - 1, "asphalt"}}}}},
    };
    if (!instructions.isEmpty())
        path.insert("instructions", instructions);
    if (!waypoints.isEmpty())
        path.insert("snapped_waypoints",
                    QJsonObject{{"type", "LineString"}, {"coordinates", waypoints}});
    return QJsonDocument(QJsonObject{{"paths", QJsonArray{path}}}).toJson(QJsonDocument::Compact);
}

// Along each leg: on along Hauptstraße, right into Bahnweg halfway.
void appendLegInstructions(QJsonArray& instructions, int first)
{
    instructions.append(
        instruction(0, first, first + 10, "Hauptstraße", "Continue onto Hauptstraße"));
    instructions.append(
        instruction(2, first + 10, first + steps, "Bahnweg", "Turn right onto Bahnweg"));
}

// A round trip as GraphHopper makes one: the start and three waypoints on a circle through it,
// towards the heading (else in a direction that turns with the seed), joined by the paths
// /route gives between them, "via reached" at each waypoint. Seeds make loops of 85 to 115 % of
// the asked length.
QByteArray roundTrip(const QJsonObject& body, const std::function<double(double)>& elevation,
                     bool revealsWaypoints)
{
    const QJsonArray start = body.value(u"points").toArray().at(0).toArray();
    const int seed = body.value(u"round_trip.seed").toInt();
    const double length =
        body.value(u"round_trip.distance").toDouble(10'000.0) * (0.85 + 0.1 * (seed % 4));
    const QJsonArray headings = body.value(u"headings").toArray();
    const double heading =
        (headings.isEmpty() ? 137.0 * seed : headings.at(0).toDouble()) * std::numbers::pi / 180.0;
    // A square in a circle of radius r has a perimeter of 4√2 r.
    const double r = length / (4.0 * std::sqrt(2.0));
    const double lat = start[1].toDouble();
    const double metresPerLon = 111'320.0 * std::cos(lat * std::numbers::pi / 180.0);
    const double centreEast = r * std::sin(heading), centreNorth = r * std::cos(heading);
    QJsonArray corners{start};
    for (int k = 1; k < 4; ++k) {
        // The start seen from the centre, turned by k quarters.
        const double angle = std::atan2(-centreEast, -centreNorth) + k * std::numbers::pi / 2;
        corners.append(
            QJsonArray{start[0].toDouble() + (centreEast + r * std::sin(angle)) / metresPerLon,
                       start[1].toDouble() + (centreNorth + r * std::cos(angle)) / 111'195.0});
    }
    corners.append(start);

    const bool wantsInstructions = body.value(u"instructions").toBool();
    QJsonArray coordinates, instructions;
    for (int leg = 0; leg < 4; ++leg) {
        const int first = int(coordinates.isEmpty() ? 0 : coordinates.size() - 1);
        if (wantsInstructions && leg > 0)
            instructions.append(instruction(5, first, first, {}, "Waypoint reached"));
        appendLeg(coordinates, corners[leg].toArray(), corners[leg + 1].toArray(), elevation);
        if (wantsInstructions)
            appendLegInstructions(instructions, first);
    }
    if (wantsInstructions)
        instructions.append(instruction(4, int(coordinates.size() - 1), int(coordinates.size() - 1),
                                        {}, "Arrive at destination"));
    return answerWith(coordinates, instructions, revealsWaypoints ? corners : QJsonArray{});
}

} // namespace

FakeGraphHopper::FakeGraphHopper()
{
    answer = [this](const Request& request) {
        if (request.url.path() == u"/info")
            return Answer{.body = info};
        const QJsonObject body = QJsonDocument::fromJson(request.body).object();
        if (body.value(u"algorithm").toString() == u"round_trip")
            return Answer{.body = roundTrip(body, elevation, revealsWaypoints)};
        const QJsonArray points = pointsOf(request);
        if (points.size() < 2)
            return Answer{.status = 400, .body = R"({"message":"Point 0 is out of bounds"})"};
        QJsonArray coordinates, instructions;
        appendLeg(coordinates, points.first().toArray(), points.last().toArray(), elevation);
        if (body.value(u"instructions").toBool()) {
            appendLegInstructions(instructions, 0);
            instructions.append(instruction(4, steps, steps, {}, "Arrive at destination"));
        }
        return Answer{.body = answerWith(coordinates, instructions)};
    };
}

int FakeGraphHopper::infos() const
{
    return int(std::count_if(requests.begin(), requests.end(),
                             [](const Request& r) { return r.url.path() == u"/info"; }));
}

int FakeGraphHopper::roundTrips() const
{
    return int(std::count_if(requests.begin(), requests.end(), [](const Request& r) {
        return QJsonDocument::fromJson(r.body).object().value(u"algorithm").toString() ==
               u"round_trip";
    }));
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
    return int(requests.size()) - routes() - infos() - roundTrips();
}

} // namespace zuvo::test
