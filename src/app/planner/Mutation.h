#pragma once

#include <coroutine>
#include <memory>
#include <optional>
#include <stop_token>
#include <vector>

namespace zuvo::app {

enum class MutationOutcome { completed, cancelled, failed };

// One edit submitted to the planner's pipeline: it can be asked to stop, and any number of
// coroutines can wait for its outcome (a QCoro task hands its result to one awaiter only).
class Mutation : public std::enable_shared_from_this<Mutation> {
public:
    void requestStop() { m_stop.request_stop(); }
    std::stop_token stopToken() const { return m_stop.get_token(); }
    bool stopRequested() const { return m_stop.stop_requested(); }

    const std::optional<MutationOutcome>& outcome() const { return m_outcome; }

    // Wakes every waiter from the event loop, never inside the caller.
    void finish(MutationOutcome outcome);

    struct Awaiter {
        std::shared_ptr<Mutation> mutation;
        bool await_ready() const noexcept { return mutation->m_outcome.has_value(); }
        void await_suspend(std::coroutine_handle<> waiter)
        {
            mutation->m_waiters.push_back(waiter);
        }
        MutationOutcome await_resume() const noexcept { return *mutation->m_outcome; }
    };

    // co_await mutation->finished() yields the outcome once the mutation has ended.
    Awaiter finished() { return {shared_from_this()}; }

private:
    std::stop_source m_stop;
    std::optional<MutationOutcome> m_outcome;
    std::vector<std::coroutine_handle<>> m_waiters;
};

using MutationHandle = std::shared_ptr<Mutation>;

} // namespace zuvo::app
