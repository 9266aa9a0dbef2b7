#include "app/OneShotTimer.h"

#include <QTimer>

namespace zuvo::app {

namespace {

class QtOneShotTimer final : public OneShotTimer {
public:
    QtOneShotTimer()
    {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            // The callback may start the timer again; it must not be replaced while it runs.
            auto callback = std::move(m_callback);
            m_callback = nullptr;
            if (callback)
                callback();
        });
    }

    void start(std::chrono::milliseconds delay, std::function<void()> callback) override
    {
        m_callback = std::move(callback);
        m_timer.start(delay);
    }

    void stop() override
    {
        m_timer.stop();
        m_callback = nullptr;
    }

private:
    QTimer m_timer;
    std::function<void()> m_callback;
};

} // namespace

std::unique_ptr<OneShotTimer> makeQtOneShotTimer()
{
    return std::make_unique<QtOneShotTimer>();
}

} // namespace zuvo::app
