#pragma once

#include <QFrame>

namespace zuvo::ui {

// Shown over an empty map: how a route begins.
class EmptyStateCard : public QFrame {
    Q_OBJECT

public:
    explicit EmptyStateCard(QWidget* parent = nullptr);
};

} // namespace zuvo::ui
