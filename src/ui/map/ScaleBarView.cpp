#include "ui/map/ScaleBarView.h"

#include <QPainter>

namespace zuvo::ui {

ScaleBarView::ScaleBarView(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setObjectName(QStringLiteral("scaleBar"));
}

void ScaleBarView::setView(double zoom, double latitude)
{
    m_layout = map::ScaleBar::layout(zoom, latitude);
    setToolTip(m_layout.label);
    updateGeometry();
    update();
}

QSize ScaleBarView::sizeHint() const
{
    return {int(m_layout.widthPoints) + labelWidth() + 20, 26};
}

int ScaleBarView::labelWidth() const
{
    return fontMetrics().horizontalAdvance(m_layout.label) + 4;
}

void ScaleBarView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int bar = int(m_layout.widthPoints);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 200));
    painter.drawRoundedRect(rect(), 4, 4);
    painter.setPen(QPen(QColor(40, 40, 40), 2));
    const int base = height() - 7;
    painter.drawLine(6, base, 6 + bar, base);
    painter.drawLine(6, base - 6, 6, base);
    painter.drawLine(6 + bar, base - 6, 6 + bar, base);
    painter.drawText(QRect(bar + 12, 0, labelWidth(), height()), Qt::AlignVCenter | Qt::AlignLeft,
                     m_layout.label);
}

} // namespace zuvo::ui
