#include "ui/window/ErrorBanner.h"

#include "app/planner/PlannerViewModel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace zuvo::ui {

ErrorBanner::ErrorBanner(app::PlannerViewModel& planner, QWidget* parent)
    : QFrame(parent)
    , m_text(new QLabel(this))
{
    setObjectName(QStringLiteral("errorBanner"));
    setStyleSheet(QStringLiteral("#errorBanner { background: #5c1f1f; border-radius: 6px; } "
                                 "QLabel { color: #ffecec; }"));
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(18, 18));
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* dismiss = new QPushButton(tr("Dismiss"), this);
    dismiss->setObjectName(QStringLiteral("dismissError"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 6, 6, 6);
    layout->addWidget(icon);
    layout->addWidget(m_text, 1);
    layout->addWidget(dismiss);

    connect(dismiss, &QPushButton::clicked, this, [&planner] { planner.setErrorMessage({}); });
    const auto update = [this, &planner] {
        const auto& message = planner.errorMessage();
        // One line: a long server message is cut, and the whole of it is in the tooltip.
        m_text->setText(message ? message->simplified() : QString());
        m_text->setToolTip(message.value_or(QString()));
        setVisible(message.has_value());
    };
    connect(&planner, &app::PlannerViewModel::errorMessageChanged, this, update);
    update();
}

QString ErrorBanner::text() const
{
    return m_text->text();
}

} // namespace zuvo::ui
