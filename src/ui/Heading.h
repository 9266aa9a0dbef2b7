#pragma once

#include <QLabel>

namespace zuvo::ui {

// A bold label that heads a panel, sheet or section; `scale` enlarges its font.
QLabel* heading(const QString& text, QWidget* parent, double scale = 1.0);

} // namespace zuvo::ui
