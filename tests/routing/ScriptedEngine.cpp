#include "ScriptedEngine.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace zuvo::test {

using model::Coordinate;

std::size_t ScriptedEngine::Script::count(Op op) const
{
    return static_cast<std::size_t>(std::count_if(requests.begin(), requests.end(),
                                                  [op](const Request& r) { return r.op == op; }));
}

void Gate::open()
{
    if (m_open)
        return;
    m_open = true;
    if (m_waiter)
        QTimer::singleShot(0, QCoreApplication::instance(),
                           [waiter = m_waiter] { waiter.resume(); });
}

void ScriptedEngine::Script::release(std::size_t index)
{
    if (const auto it = gates.find(index); it != gates.end())
        it->second->open();
}

model::Anchor::Snap ScriptedEngine::snapOf(const Coordinate& click)
{
    return {Coordinate{click.latitude + 0.0001, click.longitude, 500.0}, std::nullopt};
}

QCoro::Task<> ScriptedEngine::pass(Request request, std::stop_token cancel)
{
    const auto script = m_script;
    const std::size_t index = script->requests.size();
    script->requests.push_back(request);
    if (script->hold) {
        auto gate = std::make_shared<Gate>();
        script->gates[index] = gate;
        std::stop_callback onCancel(cancel, [gate] { gate->open(); });
        co_await gate->wait();
    }
    routing::Failure::throwIfCancelled(cancel);
    if (script->failure) {
        if (auto failure = script->failure(request, index))
            throw *failure;
    }
}

QCoro::Task<model::Anchor::Snap>
ScriptedEngine::locate(Coordinate coordinate, model::CostingProfile costing, std::stop_token cancel)
{
    // Built outside the co_await: GCC 12 destroys brace-initialised
    // temporaries of a co_await expression twice.
    Request request{Op::locate, coordinate, coordinate, costing};
    co_await pass(std::move(request), cancel);
    co_return snapOf(coordinate);
}

QCoro::Task<std::vector<model::RouteSegment>> ScriptedEngine::route(model::Anchor from,
                                                                    model::Anchor to,
                                                                    model::CostingProfile costing,
                                                                    std::stop_token cancel)
{
    const Coordinate a = from.routingPosition();
    const Coordinate b = to.routingPosition();
    Request request{Op::route, a, b, costing};
    co_await pass(std::move(request), cancel);
    model::RouteSegment segment{.coordinates = {a, b}, .distance = a.distance(b)};
    // As the routing server: no turn instructions for motorcycles.
    if (costing.kind != model::CostingKind::motorcycle)
        segment.cues = {{.sign = model::Cue::Sign::straight, .position = a, .text = "Continue"},
                        {.sign = model::Cue::Sign::finish,
                         .position = b,
                         .distance = segment.distance,
                         .text = "Arrive at destination"}};
    co_return std::vector<model::RouteSegment>{segment};
}

QCoro::Task<std::vector<model::RouteSegment>>
ScriptedEngine::roundTrip(Coordinate start, double distance, std::optional<double>, int seed,
                          model::CostingProfile costing, std::stop_token cancel)
{
    Request request{Op::roundTrip, start, start, costing};
    co_await pass(std::move(request), cancel);
    // A square of the asked length, north then east, five points a side; a seed makes it 10 %
    // longer per step. The corners are the server's waypoints.
    const double side = distance * (1.0 + 0.1 * seed) / 4.0 / 111'195.0;
    const double east = side / std::cos(start.latitude * M_PI / 180.0);
    const Coordinate corners[] = {start,
                                  {start.latitude + side, start.longitude},
                                  {start.latitude + side, start.longitude + east},
                                  {start.latitude, start.longitude + east},
                                  start};
    model::RouteSegment loop;
    for (int c = 0; c < 4; ++c) {
        if (c > 0 && costing.kind != model::CostingKind::motorcycle)
            loop.cues.push_back({.sign = model::Cue::Sign::viaReached,
                                 .position = corners[c],
                                 .distance = loop.distance});
        for (int i = c == 0 ? 0 : 1; i <= 4; ++i) {
            const double t = i / 4.0;
            loop.coordinates.push_back(
                {corners[c].latitude + (corners[c + 1].latitude - corners[c].latitude) * t,
                 corners[c].longitude + (corners[c + 1].longitude - corners[c].longitude) * t});
        }
        loop.distance += corners[c].distance(corners[c + 1]);
    }
    co_return std::vector<model::RouteSegment>{loop};
}

QCoro::Task<std::vector<double>> ScriptedEngine::elevation(std::vector<Coordinate> along,
                                                           std::stop_token)
{
    std::vector<double> result;
    for (const auto& c : along) {
        if (c.elevation)
            result.push_back(*c.elevation);
    }
    co_return result;
}

QCoro::Task<std::vector<model::RouteSegment>>
ScriptedEngine::mapMatch(std::vector<Coordinate> coordinates, model::CostingProfile costing,
                         std::stop_token cancel)
{
    Request request{Op::mapMatch, coordinates.front(), coordinates.back(), costing};
    co_await pass(std::move(request), cancel);
    // Two segments sharing their boundary point, as a real answer would.
    const auto middle = coordinates.begin() + static_cast<std::ptrdiff_t>(coordinates.size() / 2);
    co_return std::vector<model::RouteSegment>{
        {.coordinates = {coordinates.begin(), middle + 1}},
        {.coordinates = {middle, coordinates.end()}},
    };
}

} // namespace zuvo::test
