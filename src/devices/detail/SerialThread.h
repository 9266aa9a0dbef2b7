#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>

namespace zuvo::devices::detail {

// One thread that runs jobs one at a time, in the order they came. `run`
// blocks its caller until the job is done and rethrows whatever it threw.
class SerialThread {
public:
    SerialThread();

    void run(const std::function<void()>& job);

private:
    void loop(std::stop_token stop);

    std::mutex m_mutex;
    std::condition_variable_any m_wake;
    std::deque<std::packaged_task<void()>> m_jobs;
    std::jthread m_thread; // last, so that it stops and joins before the queue goes
};

} // namespace zuvo::devices::detail
