#pragma once

#include <QLocale>

class QCoreApplication;

// The window's language: German on a German system, English otherwise. The texts in the code are
// English; the German ones come from the translation compiled into the program, and Qt's own
// German texts (standard buttons) from Qt's translations.
namespace zuvo::ui::Translations {

// The language the window uses for `system`: German or English.
QLocale::Language language(const QLocale& system);
// Installs the translations for `system`'s language (removing any installed before) and makes
// that language the default locale; returns it.
QLocale install(QCoreApplication& application, const QLocale& system = QLocale::system());

} // namespace zuvo::ui::Translations
