#include "ui/window/WindowKeys.h"

#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

namespace zuvo::ui {

void closeWithWindowKeys(QWidget& window)
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(QKeySequence::Close);
    keys.append(QKeySequence(Qt::Key_Escape));
    for (const QKeySequence& key : keys) {
        auto* shortcut = new QShortcut(key, &window);
        shortcut->setContext(Qt::WindowShortcut);
        QObject::connect(shortcut, &QShortcut::activated, &window, &QWidget::close);
    }
}

} // namespace zuvo::ui
