#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
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
    struct Job {
        const std::function<void()>& work;
        std::exception_ptr failure = {};
        bool done = false;
    };

    void loop(std::stop_token stop);

    std::mutex m_mutex;
    std::condition_variable_any m_wake;
    std::condition_variable m_finished;
    std::deque<Job*> m_jobs;
    std::jthread m_thread; // last, so that it stops and joins before the queue goes
};

} // namespace zuvo::devices::detail
