#include "devices/detail/SerialThread.h"

namespace zuvo::devices::detail {

SerialThread::SerialThread()
    : m_thread([this](std::stop_token stop) { loop(stop); })
{
}

void SerialThread::run(const std::function<void()>& job)
{
    // A job that runs another job would otherwise wait for itself forever.
    if (std::this_thread::get_id() == m_thread.get_id()) {
        job();
        return;
    }
    std::packaged_task<void()> task([&job] { job(); });
    std::future<void> done = task.get_future();
    {
        const std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(task));
    }
    m_wake.notify_one();
    done.get();
}

void SerialThread::loop(std::stop_token stop)
{
    for (;;) {
        std::packaged_task<void()> task;
        {
            std::unique_lock lock(m_mutex);
            if (!m_wake.wait(lock, stop, [this] { return !m_jobs.empty(); }))
                return;
            task = std::move(m_jobs.front());
            m_jobs.pop_front();
        }
        task();
    }
}

} // namespace zuvo::devices::detail
