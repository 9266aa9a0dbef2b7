#pragma once

#include <QFrame>

class QLabel;

namespace zuvo::app {
class PlannerViewModel;
}

namespace zuvo::ui {

// The planner's error on one line with a warning sign, until dismissed or the next edit works.
class ErrorBanner : public QFrame {
    Q_OBJECT

public:
    explicit ErrorBanner(app::PlannerViewModel& planner, QWidget* parent = nullptr);

    QString text() const;

private:
    QLabel* m_text;
};

} // namespace zuvo::ui
