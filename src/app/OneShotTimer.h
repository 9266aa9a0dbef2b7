#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace zuvo::app {

// A timer that calls back once after a delay. Starting it again replaces the pending call. The
// application uses QtOneShotTimer; tests drive a timer of their own instead of waiting.
class OneShotTimer {
public:
    virtual ~OneShotTimer() = default;
    virtual void start(std::chrono::milliseconds delay, std::function<void()> callback) = 0;
    virtual void stop() = 0;
};

// A OneShotTimer on the thread's Qt event loop.
std::unique_ptr<OneShotTimer> makeQtOneShotTimer();

} // namespace zuvo::app
