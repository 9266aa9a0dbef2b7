#pragma once

#include <QFrame>

class QLabel;

namespace zuvo::app {
class ToastCenter;
}

namespace zuvo::ui {

// The toast on screen: its headline and, smaller, its detail. No buttons.
class ToastView : public QFrame {
    Q_OBJECT

public:
    explicit ToastView(app::ToastCenter& toasts, QWidget* parent = nullptr);

private:
    QLabel* m_message;
    QLabel* m_detail;
};

} // namespace zuvo::ui
