#include "ui/window/ToastView.h"

#include "app/planner/ToastCenter.h"

#include <QPainter>
#include <QPainterPath>

namespace zuvo::ui {

namespace {

constexpr int padding = 14;
constexpr int gap = 4;

QRect wrapped(const QFont& font, const QString& text)
{
    if (text.isEmpty())
        return {};
    return QFontMetrics(font).boundingRect(QRect(0, 0, ToastView::maxTextWidth, 10'000),
                                           Qt::AlignHCenter | Qt::TextWordWrap, text);
}

} // namespace

ToastView::ToastView(app::ToastCenter& toasts, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("toast"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    const auto update = [this, &toasts] {
        const auto& toast = toasts.current();
        m_message = toast ? toast->message : QString();
        m_detail = toast ? toast->detail.value_or(QString()) : QString();
        setVisible(toast.has_value());
        updateGeometry();
        resize(sizeHint());
        this->update();
    };
    connect(&toasts, &app::ToastCenter::currentChanged, this, update);
    update();
}

QFont ToastView::messageFont() const
{
    QFont bold = font();
    bold.setBold(true);
    return bold;
}

QFont ToastView::detailFont() const
{
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    return small;
}

QSize ToastView::sizeHint() const
{
    const QRect message = wrapped(messageFont(), m_message);
    const QRect detail = wrapped(detailFont(), m_detail);
    const int width = std::max(message.width(), detail.width());
    const int height = message.height() + (detail.isEmpty() ? 0 : gap + detail.height());
    return {width + 2 * padding, height + 2 * padding};
}

int ToastView::usualHeight() const
{
    return 2 * padding + QFontMetrics(messageFont()).height() + gap +
           2 * QFontMetrics(detailFont()).lineSpacing();
}

QRect ToastView::messageRect() const
{
    const QRect text = wrapped(messageFont(), m_message);
    return {padding, padding, width() - 2 * padding, text.height()};
}

QRect ToastView::detailRect() const
{
    const QRect text = wrapped(detailFont(), m_detail);
    return {padding, messageRect().bottom() + 1 + gap, width() - 2 * padding, text.height()};
}

void ToastView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath box;
    box.addRoundedRect(QRectF(rect()), 8, 8);
    painter.fillPath(box, QColor(20, 20, 22, 235));
    painter.setPen(QColor(0xf4, 0xf4, 0xf4));
    painter.setFont(messageFont());
    painter.drawText(messageRect(), Qt::AlignHCenter | Qt::TextWordWrap, m_message);
    if (!m_detail.isEmpty()) {
        painter.setFont(detailFont());
        painter.setPen(QColor(0xc8, 0xc8, 0xcc));
        painter.drawText(detailRect(), Qt::AlignHCenter | Qt::TextWordWrap, m_detail);
    }
}

} // namespace zuvo::ui
