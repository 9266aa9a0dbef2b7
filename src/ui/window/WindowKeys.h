#pragma once

class QWidget;

namespace zuvo::ui {

// Escape and the platform's Close keys (Ctrl+W, Ctrl+F4) close a secondary window, as they close
// a dialog. Nothing is lost by it: these windows keep no unsaved state.
void closeWithWindowKeys(QWidget& window);

} // namespace zuvo::ui
