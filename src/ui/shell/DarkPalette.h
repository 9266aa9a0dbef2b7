#pragma once

class QApplication;

namespace zuvo::ui {

// Fusion in dark colours, for every window, whatever the desktop's theme.
void applyDarkAppearance(QApplication& application);

} // namespace zuvo::ui
