#include "ui/panels/CueArrow.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

namespace zuvo::ui {

using Sign = model::Cue::Sign;

namespace {

// Degrees from straight ahead, negative to the left; absent for signs that are no turn.
std::optional<double> turnAngle(Sign sign)
{
    switch (sign) {
    case Sign::straight:
    case Sign::unknown:
    case Sign::leaveRoundabout:
        return 0.0;
    case Sign::slightLeft:
        return -45.0;
    case Sign::left:
        return -90.0;
    case Sign::sharpLeft:
        return -135.0;
    case Sign::slightRight:
        return 45.0;
    case Sign::right:
        return 90.0;
    case Sign::sharpRight:
        return 135.0;
    default:
        return std::nullopt;
    }
}

QPointF along(const QPointF& from, double degrees, double length)
{
    const double radians = degrees * std::numbers::pi / 180.0;
    return from + QPointF(std::sin(radians) * length, -std::cos(radians) * length);
}

// A filled head at `tip` pointing `degrees` from up.
void head(QPainter& painter, const QPointF& tip, double degrees, double size)
{
    const QPointF back = along(tip, degrees + 180.0, size);
    QPainterPath path(tip);
    path.lineTo(along(back, degrees - 90.0, size * 0.6));
    path.lineTo(along(back, degrees + 90.0, size * 0.6));
    path.closeSubpath();
    painter.fillPath(path, painter.pen().color());
}

// From the bottom middle up to the centre, then out at `degrees`, ending in a head.
void bentArrow(QPainter& painter, const QRectF& box, double degrees, double size)
{
    // A sharp turn bends higher up, so that its arm has room below the top.
    const double arm = box.height() * 0.5;
    const QPointF bend(box.center().x(),
                       box.center().y() + box.height() * (std::abs(degrees) > 100 ? -0.1 : 0.12));
    const QPointF tip = along(bend, degrees, arm);
    QPainterPath path(QPointF(box.center().x(), box.bottom()));
    path.lineTo(bend);
    path.lineTo(along(bend, degrees, arm - size * 0.8));
    painter.drawPath(path);
    head(painter, tip, degrees, size);
}

} // namespace

void paintCueArrow(QPainter& painter, const QRectF& area, Sign sign, std::optional<int> exitNumber,
                   const QColor& color)
{
    const double side = std::min(area.width(), area.height());
    const QRectF box(area.center() - QPointF(side / 2, side / 2), QSizeF(side, side));
    const double size = side * 0.32; // arrow heads
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(color, std::max(1.5, side * 0.12), Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);

    if (const auto angle = turnAngle(sign)) {
        bentArrow(painter, box, *angle, size);
    } else if (sign == Sign::keepLeft || sign == Sign::keepRight) {
        const double way = sign == Sign::keepLeft ? -1.0 : 1.0;
        // The branch not taken, thin; the one taken, with its head.
        QPen thin = pen;
        thin.setWidthF(pen.widthF() * 0.45);
        painter.setPen(thin);
        const QPointF fork = box.center() + QPointF(0, side * 0.15);
        painter.drawLine(fork, along(fork, -30.0 * way, side * 0.5));
        painter.setPen(pen);
        painter.drawLine(QPointF(fork.x(), box.bottom()), fork);
        const QPointF tip = along(fork, 30.0 * way, side * 0.6);
        painter.drawLine(fork, along(fork, 30.0 * way, side * 0.6 - size * 0.8));
        head(painter, tip, 30.0 * way, size);
    } else if (sign == Sign::uTurn || sign == Sign::uTurnLeft || sign == Sign::uTurnRight) {
        const double way = sign == Sign::uTurnRight ? 1.0 : -1.0;
        const double r = side * 0.22;
        const double x = box.center().x() - way * r;
        QPainterPath path(QPointF(x, box.bottom()));
        path.lineTo(x, box.top() + r + side * 0.05);
        path.arcTo(QRectF(std::min(x, x + 2 * way * r), box.top() + side * 0.05, 2 * r, 2 * r),
                   way < 0 ? 0.0 : 180.0, way < 0 ? 180.0 : -180.0);
        path.lineTo(x + 2 * way * r, box.center().y() + side * 0.05);
        painter.drawPath(path);
        head(painter, QPointF(x + 2 * way * r, box.center().y() + side * 0.05 + size), 180.0, size);
    } else if (sign == Sign::roundabout) {
        const double r = side * 0.3;
        painter.drawEllipse(box.center(), r, r);
        if (exitNumber) {
            QFont font = painter.font();
            font.setPixelSize(int(std::max(7.0, side * 0.4)));
            font.setBold(true);
            painter.setFont(font);
            painter.drawText(box, Qt::AlignCenter, QString::number(*exitNumber));
        }
    } else if (sign == Sign::finish) {
        const double x = box.left() + side * 0.3;
        painter.drawLine(QPointF(x, box.bottom()), QPointF(x, box.top()));
        const QRectF flag(x, box.top(), side * 0.55, side * 0.4);
        painter.fillRect(flag, color);
        const QColor square = color.lightness() > 128 ? Qt::black : Qt::white;
        for (int row = 0; row < 2; ++row) {
            for (int column = row % 2; column < 3; column += 2)
                painter.fillRect(QRectF(flag.left() + column * flag.width() / 3,
                                        flag.top() + row * flag.height() / 2, flag.width() / 3,
                                        flag.height() / 2),
                                 square);
        }
    } else if (sign == Sign::viaReached) {
        painter.drawEllipse(box.center(), side * 0.3, side * 0.3);
        painter.setBrush(color);
        painter.drawEllipse(box.center(), side * 0.1, side * 0.1);
    } else if (sign == Sign::ferry) {
        QPen thin = pen;
        thin.setWidthF(pen.widthF() * 0.6);
        painter.setPen(thin);
        for (int wave = 0; wave < 3; ++wave) {
            const double y = box.top() + side * (0.25 + 0.25 * wave);
            QPainterPath path(QPointF(box.left(), y));
            path.cubicTo(box.left() + side * 0.25, y - side * 0.12, box.left() + side * 0.25,
                         y + side * 0.12, box.center().x(), y);
            path.cubicTo(box.center().x() + side * 0.25, y - side * 0.12, box.right() - side * 0.25,
                         y + side * 0.12, box.right(), y);
            painter.drawPath(path);
        }
    }
    painter.restore();
}

} // namespace zuvo::ui
