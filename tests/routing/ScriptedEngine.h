#pragma once

#include "routing/Engine.h"
#include "routing/Failure.h"

#include <coroutine>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace zuvo::test {

// What a held engine request waits for. Opening it resumes the waiting
// request from the event loop, never inside the caller of open().
class Gate {
public:
    // Awaiting copies the awaitable, so the waiter refers to its gate.
    struct Waiter {
        Gate* gate;
        bool await_ready() const noexcept { return gate->m_open; }
        void await_suspend(std::coroutine_handle<> waiter) noexcept { gate->m_waiter = waiter; }
        void await_resume() const noexcept {}
    };

    void open();
    Waiter wait() { return {this}; }

private:
    bool m_open = false;
    std::coroutine_handle<> m_waiter;
};

// An engine for planner tests. It records every request, answers locate with
// a position a little north of the click and route with the straight line
// between the two anchors, and can fail or hold chosen requests.
class ScriptedEngine final : public routing::Engine {
public:
    enum class Op { locate, route, mapMatch, roundTrip };
    struct Request {
        Op op;
        model::Coordinate from; // the click for locate
        model::Coordinate to;
        model::CostingProfile costing;
    };

    struct Script {
        std::vector<Request> requests;
        // Decides, per request (by its number), whether it fails and how.
        std::function<std::optional<routing::Failure>(const Request&, std::size_t)> failure;
        // Held requests wait until released (or cancelled).
        bool hold = false;
        std::map<std::size_t, std::shared_ptr<Gate>> gates;

        std::size_t count(Op op) const;
        // Lets held request `index` continue, from the event loop.
        void release(std::size_t index);
    };

    explicit ScriptedEngine(std::shared_ptr<Script> script)
        : m_script(std::move(script))
    {
    }

    static model::Anchor::Snap snapOf(const model::Coordinate& click);

    QCoro::Task<model::Anchor::Snap> locate(model::Coordinate coordinate,
                                            model::CostingProfile costing,
                                            std::stop_token cancel = {}) override;
    QCoro::Task<std::vector<model::RouteSegment>> route(model::Anchor from, model::Anchor to,
                                                        model::CostingProfile costing,
                                                        std::stop_token cancel = {}) override;
    QCoro::Task<std::vector<model::RouteSegment>>
    roundTrip(model::Coordinate start, double distance, std::optional<double> heading, int seed,
              model::CostingProfile costing, std::stop_token cancel = {}) override;
    QCoro::Task<std::vector<double>> elevation(std::vector<model::Coordinate> along,
                                               std::stop_token cancel = {}) override;
    QCoro::Task<std::vector<model::RouteSegment>>
    mapMatch(std::vector<model::Coordinate> coordinates, model::CostingProfile costing,
             std::stop_token cancel = {}) override;

private:
    QCoro::Task<> pass(Request request, std::stop_token cancel);

    std::shared_ptr<Script> m_script;
};

} // namespace zuvo::test
