#include "app/planner/Mutation.h"

#include <QCoreApplication>
#include <QTimer>

namespace zuvo::app {

void Mutation::finish(MutationOutcome outcome)
{
    m_outcome = outcome;
    for (const auto waiter : std::exchange(m_waiters, {}))
        QTimer::singleShot(0, QCoreApplication::instance(), [waiter] { waiter.resume(); });
}

} // namespace zuvo::app
