#pragma once

#include "map/MapResourceServer.h"
#include "map/StyleSubstitution.h"

#include <QWebEngineUrlSchemeHandler>

#include <functional>

namespace zuvo::ui {

// Answers the web engine's requests on the map scheme with the files of the Map folder, through
// map::MapResourceServer. `substitution` is called for every request, so that it can read the
// tile server from the settings at that moment: the application passes a function returning
// {.tilesBase = the server settings' tiles base}.
class MapSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT

public:
    MapSchemeHandler(QString mapFolder, std::function<map::StyleSubstitution()> substitution,
                     QObject* parent = nullptr);

    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    map::MapResourceServer m_server;
    std::function<map::StyleSubstitution()> m_substitution;
};

} // namespace zuvo::ui
