#include "ui/shell/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>
#include <vector>

namespace zuvo::ui::Translations {

namespace {

std::vector<std::unique_ptr<QTranslator>>& installed()
{
    static std::vector<std::unique_ptr<QTranslator>> translators;
    return translators;
}

} // namespace

QLocale::Language language(const QLocale& system)
{
    // The first of the user's languages that the window speaks decides.
    for (const QString& name : system.uiLanguages()) {
        const QLocale candidate(name);
        if (candidate.language() == QLocale::German || candidate.language() == QLocale::English)
            return candidate.language();
    }
    return QLocale::English;
}

QLocale install(QCoreApplication& application, const QLocale& system)
{
    for (const auto& translator : installed())
        application.removeTranslator(translator.get());
    installed().clear();
    const QLocale chosen(language(system) == QLocale::German
                             ? QLocale(QLocale::German, QLocale::Germany)
                             : QLocale(QLocale::English, QLocale::UnitedStates));
    QLocale::setDefault(chosen);
    if (chosen.language() != QLocale::German)
        return chosen;
    auto own = std::make_unique<QTranslator>();
    if (own->load(QStringLiteral(":/i18n/tramu_de.qm")) && application.installTranslator(own.get()))
        installed().push_back(std::move(own));
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        application.installTranslator(qt.get()))
        installed().push_back(std::move(qt));
    return chosen;
}

} // namespace zuvo::ui::Translations
