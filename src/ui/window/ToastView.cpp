#include "ui/window/ToastView.h"

#include "app/planner/ToastCenter.h"

#include <QLabel>
#include <QVBoxLayout>

namespace zuvo::ui {

ToastView::ToastView(app::ToastCenter& toasts, QWidget* parent)
    : QFrame(parent)
    , m_message(new QLabel(this))
    , m_detail(new QLabel(this))
{
    setObjectName(QStringLiteral("toast"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setStyleSheet(QStringLiteral("#toast { background: rgba(20, 20, 22, 230); border-radius: 8px; }"
                                 " QLabel { color: #f4f4f4; }"));
    QFont bold = m_message->font();
    bold.setBold(true);
    m_message->setFont(bold);
    QFont small = m_detail->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    m_detail->setFont(small);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 10, 16, 10);
    layout->addWidget(m_message, 0, Qt::AlignHCenter);
    layout->addWidget(m_detail, 0, Qt::AlignHCenter);

    const auto update = [this, &toasts] {
        const auto& toast = toasts.current();
        m_message->setText(toast ? toast->message : QString());
        m_detail->setText(toast ? toast->detail.value_or(QString()) : QString());
        m_detail->setVisible(toast && toast->detail);
        setVisible(toast.has_value());
        adjustSize();
    };
    connect(&toasts, &app::ToastCenter::currentChanged, this, update);
    update();
}

} // namespace zuvo::ui
