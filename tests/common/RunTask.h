#pragma once

#include <QEventLoop>

#include <qcoro/qcorotask.h>

#include <exception>
#include <optional>
#include <type_traits>
#include <variant>

namespace zuvo::test {

// What a finished task left behind: its value, or what it threw.
template <typename T>
struct Outcome {
    std::optional<T> value;
    std::exception_ptr error;

    // The thrown exception as E, if it was one.
    template <typename E>
    std::optional<E> errorAs() const
    {
        if (!error)
            return std::nullopt;
        try {
            std::rethrow_exception(error);
        } catch (const E& e) {
            return e;
        } catch (...) {
            return std::nullopt;
        }
    }
};

// Runs the event loop until `task` has finished. Unlike QCoro::waitFor it
// returns exceptions instead of hanging on them, and needs no default
// constructor for the result.
template <typename T>
auto runTask(QCoro::Task<T> task)
{
    using Value = std::conditional_t<std::is_void_v<T>, std::monostate, T>;
    Outcome<Value> outcome;
    QEventLoop loop;
    bool done = false;
    auto body = [&]() -> QCoro::Task<> {
        try {
            if constexpr (std::is_void_v<T>) {
                co_await std::move(task);
                outcome.value.emplace();
            } else {
                outcome.value.emplace(co_await std::move(task));
            }
        } catch (...) {
            outcome.error = std::current_exception();
        }
        done = true;
        loop.quit();
    };
    auto running = body();
    if (!done)
        loop.exec();
    return outcome;
}

} // namespace zuvo::test
