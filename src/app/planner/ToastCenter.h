#pragma once

#include "app/OneShotTimer.h"
#include "app/planner/Toast.h"

#include <QObject>

#include <chrono>
#include <deque>
#include <memory>
#include <optional>

namespace zuvo::app {

// Shows toasts one at a time, each for three seconds, in the order they were asked for. A new
// toast waits for the ones before it: it never shortens the toast on screen.
class ToastCenter : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds dismissDelay{3000};

    explicit ToastCenter(std::unique_ptr<OneShotTimer> timer = makeQtOneShotTimer(),
                         QObject* parent = nullptr);

    const std::optional<Toast>& current() const { return m_current; }

    void show(const QString& message, const std::optional<QString>& detail = std::nullopt);

signals:
    void currentChanged();

private:
    void advance();

    std::unique_ptr<OneShotTimer> m_timer;
    std::optional<Toast> m_current;
    std::deque<Toast> m_queue;
};

} // namespace zuvo::app
