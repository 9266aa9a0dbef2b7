#include "ui/window/ServerBanner.h"

#include "app/settings/RoutingServerStatus.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace zuvo::ui {

ServerBanner::ServerBanner(app::RoutingServerStatus& status, QWidget* parent)
    : QFrame(parent)
    , m_text(new QLabel(this))
{
    setObjectName(QStringLiteral("serverBanner"));
    setStyleSheet(QStringLiteral("#serverBanner { background: rgba(92, 72, 20, 235); "
                                 "border-radius: 6px; } QLabel { color: #fff4dc; }"));
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(18, 18));
    m_text->setWordWrap(true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* dismiss = new QPushButton(tr("Dismiss"), this);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 6, 6, 6);
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addWidget(m_text, 1);
    layout->addWidget(dismiss, 0, Qt::AlignTop);

    const auto update = [this, &status] {
        const QString text = status.notices().join(QLatin1Char('\n'));
        m_text->setText(text);
        setVisible(!text.isEmpty() && text != m_dismissed);
    };
    connect(dismiss, &QPushButton::clicked, this, [this] {
        m_dismissed = m_text->text();
        hide();
    });
    connect(&status, &app::RoutingServerStatus::changed, this, update);
    update();
}

QString ServerBanner::text() const
{
    return m_text->text();
}

} // namespace zuvo::ui
