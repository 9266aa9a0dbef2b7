#include "ui/map/LayerIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace zuvo::ui::LayerIcons {

namespace {

QIcon drawn(const std::function<void(QPainter&)>& draw)
{
    QPixmap pixmap(40, 40);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0xf0, 0xf0, 0xf0), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    draw(painter);
    return QIcon(pixmap);
}

} // namespace

QIcon bicycle()
{
    return drawn([](QPainter& p) {
        p.drawEllipse(QPointF(11, 26), 7, 7);
        p.drawEllipse(QPointF(29, 26), 7, 7);
        QPainterPath frame;
        frame.moveTo(11, 26);
        frame.lineTo(17, 15);
        frame.lineTo(27, 15);
        frame.lineTo(20, 26);
        frame.lineTo(11, 26);
        frame.moveTo(27, 15);
        frame.lineTo(29, 26);
        frame.moveTo(15, 11);
        frame.lineTo(19, 11);
        p.drawPath(frame);
    });
}

QIcon mountain()
{
    return drawn([](QPainter& p) {
        p.setBrush(QColor(0xf0, 0xf0, 0xf0));
        p.drawPolygon(QPolygonF({{4, 32}, {16, 12}, {22, 21}, {27, 15}, {36, 32}}));
    });
}

QIcon cube()
{
    return drawn([](QPainter& p) {
        p.drawPolygon(QPolygonF({{20, 6}, {33, 13}, {33, 28}, {20, 35}, {7, 28}, {7, 13}}));
        p.drawPolyline(QPolygonF({{7, 13}, {20, 20}, {33, 13}}));
        p.drawLine(QPointF(20, 20), QPointF(20, 35));
    });
}

QIcon pin()
{
    return drawn([](QPainter& p) {
        QPainterPath drop;
        drop.moveTo(20, 36);
        drop.cubicTo(8, 22, 8, 18, 8, 16);
        drop.arcTo(QRectF(8, 4, 24, 24), 180, -180);
        drop.cubicTo(32, 18, 32, 22, 20, 36);
        p.drawPath(drop);
        p.drawEllipse(QPointF(20, 16), 4, 4);
    });
}

} // namespace zuvo::ui::LayerIcons
