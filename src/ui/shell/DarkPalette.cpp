#include "ui/shell/DarkPalette.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>

namespace zuvo::ui {

void applyDarkAppearance(QApplication& application)
{
    application.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QPalette dark;
    const QColor window(0x2b, 0x2d, 0x31);
    const QColor base(0x1e, 0x1f, 0x22);
    const QColor text(0xe8, 0xe8, 0xe8);
    const QColor accent(0x3d, 0x6f, 0xb4);
    dark.setColor(QPalette::Window, window);
    dark.setColor(QPalette::WindowText, text);
    dark.setColor(QPalette::Base, base);
    dark.setColor(QPalette::AlternateBase, window);
    dark.setColor(QPalette::ToolTipBase, base);
    dark.setColor(QPalette::ToolTipText, text);
    dark.setColor(QPalette::Text, text);
    dark.setColor(QPalette::Button, window);
    dark.setColor(QPalette::ButtonText, text);
    dark.setColor(QPalette::BrightText, Qt::red);
    dark.setColor(QPalette::Link, QColor(0x6a, 0xa6, 0xf0));
    dark.setColor(QPalette::Highlight, accent);
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::PlaceholderText, QColor(0x8a, 0x8a, 0x8a));
    const QColor disabled(0x80, 0x80, 0x80);
    dark.setColor(QPalette::Disabled, QPalette::WindowText, disabled);
    dark.setColor(QPalette::Disabled, QPalette::Text, disabled);
    dark.setColor(QPalette::Disabled, QPalette::ButtonText, disabled);
    // Fusion etches disabled text with the light colour, which reads as a strike-through on
    // dark menus.
    dark.setColor(QPalette::Disabled, QPalette::Light, Qt::transparent);
    application.setPalette(dark);
}

} // namespace zuvo::ui
