#include "ui/MapScheme.h"

#include <QWebEngineUrlScheme>

namespace zuvo::ui {

void registerMapScheme()
{
    QWebEngineUrlScheme scheme(mapSchemeName);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    scheme.setFlags(QWebEngineUrlScheme::CorsEnabled);
    QWebEngineUrlScheme::registerScheme(scheme);
}

} // namespace zuvo::ui
