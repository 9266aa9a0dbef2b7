#pragma once

#include <QFrame>

class QLabel;

namespace zuvo::ui {

// Shown over an empty map: how a route begins.
class EmptyStateCard : public QFrame {
    Q_OBJECT

public:
    explicit EmptyStateCard(QWidget* parent = nullptr);

    void setTexts(const QString& title, const QString& hint);
    QString title() const;

private:
    QLabel* m_title;
    QLabel* m_hint;
};

} // namespace zuvo::ui
