#include "app/planner/ToastCenter.h"

#include <QPointer>

namespace zuvo::app {

ToastCenter::ToastCenter(std::unique_ptr<OneShotTimer> timer, QObject* parent)
    : QObject(parent)
    , m_timer(std::move(timer))
{
}

void ToastCenter::show(const QString& message, const std::optional<QString>& detail)
{
    m_queue.push_back(Toast{.message = message, .detail = detail});
    if (!m_current)
        advance();
}

void ToastCenter::advance()
{
    m_timer->stop();
    if (m_queue.empty()) {
        m_current.reset();
        emit currentChanged();
        return;
    }
    m_current = std::move(m_queue.front());
    m_queue.pop_front();
    emit currentChanged();
    m_timer->start(dismissDelay, [self = QPointer(this)] {
        if (self)
            self->advance();
    });
}

} // namespace zuvo::app
