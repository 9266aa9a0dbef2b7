#include "ScriptedEngine.h"

#include <QMetaObject>
#include <qcoro/qcorosignal.h>

#include <algorithm>

namespace zuvo::test {

using model::Coordinate;

std::size_t ScriptedEngine::Script::count(Op op) const {
    return static_cast<std::size_t>(std::count_if(requests.begin(), requests.end(),
                                                  [op](const Request& r) { return r.op == op; }));
}

void ScriptedEngine::Script::release(std::size_t index) {
    if (const auto it = gates.find(index); it != gates.end())
        QMetaObject::invokeMethod(it->second.get(), &Gate::opened, Qt::QueuedConnection);
}

model::Anchor::Snap ScriptedEngine::snapOf(const Coordinate& click) {
    return {Coordinate{click.latitude + 0.0001, click.longitude, 500.0}, std::nullopt};
}

QCoro::Task<> ScriptedEngine::pass(Request request, std::stop_token cancel) {
    const auto script = m_script;
    const std::size_t index = script->requests.size();
    script->requests.push_back(request);
    if (script->hold) {
        auto gate = std::make_shared<Gate>();
        script->gates[index] = gate;
        std::stop_callback onCancel(cancel, [gate] {
            QMetaObject::invokeMethod(gate.get(), &Gate::opened, Qt::QueuedConnection);
        });
        co_await qCoro(gate.get(), &Gate::opened);
    }
    routing::Failure::throwIfCancelled(cancel);
    if (script->failure) {
        if (auto failure = script->failure(request, index))
            throw *failure;
    }
}

QCoro::Task<model::Anchor::Snap> ScriptedEngine::locate(Coordinate coordinate,
                                                        model::CostingProfile costing,
                                                        std::stop_token cancel) {
    co_await pass({Op::locate, coordinate, coordinate, costing}, cancel);
    co_return snapOf(coordinate);
}

QCoro::Task<std::vector<model::RouteSegment>> ScriptedEngine::route(model::Anchor from,
                                                                    model::Anchor to,
                                                                    model::CostingProfile costing,
                                                                    std::stop_token cancel) {
    const Coordinate a = from.routingPosition();
    const Coordinate b = to.routingPosition();
    co_await pass({Op::route, a, b, costing}, cancel);
    co_return std::vector<model::RouteSegment>{{.coordinates = {a, b}, .distance = a.distance(b)}};
}

QCoro::Task<std::vector<double>> ScriptedEngine::elevation(std::vector<Coordinate> along,
                                                           std::stop_token) {
    std::vector<double> result;
    for (const auto& c : along) {
        if (c.elevation)
            result.push_back(*c.elevation);
    }
    co_return result;
}

QCoro::Task<std::vector<model::RouteSegment>>
ScriptedEngine::mapMatch(std::vector<Coordinate> coordinates, model::CostingProfile costing,
                         std::stop_token cancel) {
    co_await pass({Op::mapMatch, coordinates.front(), coordinates.back(), costing}, cancel);
    // Two segments sharing their boundary point, as a real answer would.
    const auto middle = coordinates.begin() + static_cast<std::ptrdiff_t>(coordinates.size() / 2);
    co_return std::vector<model::RouteSegment>{
        {.coordinates = {coordinates.begin(), middle + 1}},
        {.coordinates = {middle, coordinates.end()}},
    };
}

} // namespace zuvo::test
