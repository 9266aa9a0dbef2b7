#include "ui/window/CueSheetPdf.h"

#include "ui/panels/CueArrow.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>

#include <algorithm>

namespace zuvo::ui {

namespace {

// The page is laid out in points.
constexpr int pointsPerInch = 72;
constexpr double rowHeight = 17.0;
constexpr double profileHeight = 70.0;

struct Columns {
    QRectF km, arrow, instruction, street, next;
};

// `next`: as wide as its heading, which is longer in some languages than the figures.
Columns columns(double left, double width, double top, double height, double next)
{
    const double km = 42.0, arrow = 20.0;
    const double rest = width - km - arrow - next;
    const double instruction = rest * 0.62;
    Columns c;
    c.km = QRectF(left, top, km - 6.0, height);
    c.arrow = QRectF(left + km, top, arrow, height);
    c.instruction = QRectF(left + km + arrow + 4.0, top, instruction - 8.0, height);
    c.street = QRectF(left + km + arrow + instruction, top, rest - instruction - 6.0, height);
    c.next = QRectF(left + width - next, top, next, height);
    return c;
}

QString elided(const QPainter& painter, const QString& text, double width)
{
    return painter.fontMetrics().elidedText(text, Qt::ElideRight, int(width));
}

void drawProfile(QPainter& painter, const model::GradeProfile& profile, const QRectF& box)
{
    const auto& samples = profile.samples;
    if (samples.size() < 2 || samples.back().distance <= 0.0)
        return;
    const auto [low, high] =
        std::minmax_element(samples.begin(), samples.end(),
                            [](const auto& a, const auto& b) { return a.elevation < b.elevation; });
    const double bottom = low->elevation;
    const double range = std::max(high->elevation - bottom, 50.0);
    const double length = samples.back().distance;
    QPainterPath line;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const QPointF at(box.left() + box.width() * samples[i].distance / length,
                         box.bottom() - box.height() * (samples[i].elevation - bottom) / range);
        if (i == 0)
            line.moveTo(at);
        else
            line.lineTo(at);
    }
    QPainterPath area = line;
    area.lineTo(box.bottomRight());
    area.lineTo(box.bottomLeft());
    area.closeSubpath();
    painter.fillPath(area, QColor(0xF3, 0x8B, 0x2A, 60));
    painter.setPen(QPen(QColor(0xE0, 0x6A, 0x00), 1.2));
    painter.drawPath(line);
    painter.setPen(QPen(Qt::gray, 0.5));
    painter.drawLine(box.bottomLeft(), box.bottomRight());
    QFont small = painter.font();
    small.setPointSizeF(7.0);
    painter.setFont(small);
    painter.setPen(Qt::darkGray);
    painter.drawText(box.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                     CueSheet::tr("%1 m").arg(std::lround(high->elevation)));
    painter.drawText(box.adjusted(2, 0, 0, -2), Qt::AlignLeft | Qt::AlignBottom,
                     CueSheet::tr("%1 m").arg(std::lround(bottom)));
}

} // namespace

QByteArray CueSheet::pdf() const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(pointsPerInch);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(36, 36, 36, 36), QPageLayout::Point));
    writer.setTitle(name);
    writer.setCreator(QStringLiteral("Tramu"));

    QPainter painter(&writer);
    const QRectF page = writer.pageLayout().paintRect(QPageLayout::Point);
    const double width = page.width();
    QFont body(QStringLiteral("DejaVu Sans"));
    body.setPointSizeF(9.0);

    // The header: name, figures, profile.
    QFont title = body;
    title.setPointSizeF(16.0);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::black);
    double y = 0.0;
    painter.drawText(QRectF(0, y, width, 24), Qt::AlignLeft | Qt::AlignVCenter,
                     elided(painter, name, width));
    y += 28.0;
    painter.setFont(body);
    QString figures = tr("Distance %1").arg(summary.distance) + QStringLiteral("   ") +
                      tr("Ascent %1").arg(summary.ascent);
    if (!summary.estimated.isEmpty())
        figures += QStringLiteral("   ") + tr("Estimated time %1").arg(summary.estimated);
    painter.drawText(QRectF(0, y, width, 14), Qt::AlignLeft | Qt::AlignVCenter, figures);
    y += 20.0;
    if (profile && profile->samples.size() > 1) {
        drawProfile(painter, *profile, QRectF(0, y, width, profileHeight));
        y += profileHeight + 14.0;
    }

    QFont bold = body;
    bold.setBold(true);
    const QString nextHeading = tr("Next km");
    const double next =
        std::max(44.0, QFontMetricsF(bold, &writer).horizontalAdvance(nextHeading) + 6.0);
    const auto heads = [&](double top) {
        painter.setFont(bold);
        painter.setPen(Qt::black);
        const Columns c = columns(0, width, top, rowHeight, next);
        painter.drawText(c.km, Qt::AlignRight | Qt::AlignVCenter, tr("km"));
        painter.drawText(c.instruction, Qt::AlignLeft | Qt::AlignVCenter, tr("Instruction"));
        painter.drawText(c.street, Qt::AlignLeft | Qt::AlignVCenter, tr("Street"));
        painter.drawText(c.next, Qt::AlignRight | Qt::AlignVCenter, nextHeading);
        painter.setPen(QPen(Qt::black, 0.8));
        painter.drawLine(QPointF(0, top + rowHeight), QPointF(width, top + rowHeight));
        painter.setFont(body);
        return top + rowHeight + 2.0;
    };
    y = heads(y);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (y + rowHeight > page.height()) {
            writer.newPage();
            y = heads(0.0);
        }
        const app::CueRow& row = rows[i];
        if (i % 2 == 1)
            painter.fillRect(QRectF(0, y, width, rowHeight), QColor(0xF2, 0xF2, 0xF2));
        const Columns c = columns(0, width, y, rowHeight, next);
        painter.setPen(Qt::black);
        painter.drawText(c.km, Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(row.km(), 'f', 1));
        paintCueArrow(painter, c.arrow.adjusted(3, 2, -3, -2), row.cue.sign, row.cue.exitNumber,
                      Qt::black);
        painter.drawText(c.instruction, Qt::AlignLeft | Qt::AlignVCenter,
                         elided(painter, row.instruction, c.instruction.width()));
        painter.drawText(c.street, Qt::AlignLeft | Qt::AlignVCenter,
                         elided(painter, row.street, c.street.width()));
        if (row.toNext)
            painter.drawText(c.next, Qt::AlignRight | Qt::AlignVCenter,
                             QString::number(*row.toNext / 1000.0, 'f', 1));
        y += rowHeight;
    }
    painter.end();
    return bytes;
}

} // namespace zuvo::ui
