#include "ui/map/EmptyStateCard.h"

#include "ui/Heading.h"

#include <QLabel>
#include <QVBoxLayout>

namespace zuvo::ui {

EmptyStateCard::EmptyStateCard(QWidget* parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("emptyStateCard"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setStyleSheet(QStringLiteral("#emptyStateCard { background: rgba(30, 31, 34, 215); "
                                 "border-radius: 10px; } QLabel { color: #f0f0f0; }"));
    auto* title = heading(tr("Click the map to start a route"), this, 1.2);
    auto* hint = new QLabel(tr("Via points announce turns; shaping points guide silently."), this);
    hint->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 14, 20, 14);
    layout->addWidget(title, 0, Qt::AlignCenter);
    layout->addWidget(hint);
}

} // namespace zuvo::ui
