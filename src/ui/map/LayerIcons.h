#pragma once

#include <QIcon>

// The layers pill's symbols, drawn here so that they look the same with any font.
namespace zuvo::ui::LayerIcons {

QIcon bicycle();
QIcon mountain();
QIcon cube();
QIcon pin();

} // namespace zuvo::ui::LayerIcons
