#pragma once

#include <QString>
#include <QWidget>

namespace zuvo::app {
class ToastCenter;
}

namespace zuvo::ui {

// The toast on screen: its headline and, smaller, its detail, each wrapped to at most
// `maxTextWidth` and the box sized to hold them whole. No buttons.
class ToastView : public QWidget {
    Q_OBJECT

public:
    static constexpr int maxTextWidth = 420;

    explicit ToastView(app::ToastCenter& toasts, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    // The height of the usual toast, a headline and two lines of detail, which framed routes
    // keep clear of.
    int usualHeight() const;
    const QString& message() const { return m_message; }
    const QString& detail() const { return m_detail; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QFont messageFont() const;
    QFont detailFont() const;
    // Where each text goes inside the box.
    QRect messageRect() const;
    QRect detailRect() const;

    QString m_message;
    QString m_detail;
};

} // namespace zuvo::ui
