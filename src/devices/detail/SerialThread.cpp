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
    Job queued{.work = job};
    {
        std::unique_lock lock(m_mutex);
        m_jobs.push_back(&queued);
        m_wake.notify_one();
        m_finished.wait(lock, [&] { return queued.done; });
    }
    // The job's thread let go of the failure before it said done, so only
    // this thread touches it from here on.
    if (queued.failure)
        std::rethrow_exception(queued.failure);
}

void SerialThread::loop(std::stop_token stop)
{
    for (;;) {
        Job* job = nullptr;
        {
            std::unique_lock lock(m_mutex);
            if (!m_wake.wait(lock, stop, [this] { return !m_jobs.empty(); }))
                return;
            job = m_jobs.front();
            m_jobs.pop_front();
        }
        std::exception_ptr failure;
        try {
            job->work();
        } catch (...) {
            failure = std::current_exception();
        }
        {
            const std::lock_guard lock(m_mutex);
            job->failure = std::move(failure);
            job->done = true;
        }
        m_finished.notify_all();
    }
}

} // namespace zuvo::devices::detail
