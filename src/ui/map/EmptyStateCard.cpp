#include "ui/map/EmptyStateCard.h"

#include "ui/Heading.h"

#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace zuvo::ui {

EmptyStateCard::EmptyStateCard(QWidget* parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("emptyStateCard"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setStyleSheet(QStringLiteral("#emptyStateCard { background: rgba(30, 31, 34, 215); "
                                 "border-radius: 10px; } QLabel { color: #f0f0f0; }"));
    m_title = heading(QString(), this, 1.2);
    m_hint = new QLabel(this);
    m_hint->setAlignment(Qt::AlignCenter);
    m_hint->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 14, 20, 14);
    layout->addWidget(m_title, 0, Qt::AlignCenter);
    layout->addWidget(m_hint, 0, Qt::AlignCenter);
}

void EmptyStateCard::setTexts(const QString& title, const QString& hint)
{
    m_title->setText(title);
    m_hint->setText(hint);
    // A wrapped label gets no height for its lines from adjustSize: it is sized for them here.
    const int width = std::min(380, m_hint->fontMetrics().horizontalAdvance(hint) + 4);
    m_hint->setFixedSize(width, m_hint->heightForWidth(width));
    adjustSize();
}

QString EmptyStateCard::title() const
{
    return m_title->text();
}

} // namespace zuvo::ui
