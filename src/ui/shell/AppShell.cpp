#include "ui/shell/AppShell.h"

#include "app/devices/DeviceWatcher.h"
#include "app/places/FavoritesStore.h"
#include "app/places/PhotonClient.h"
#include "app/places/UserPOIStore.h"
#include "app/planner/PlanRecovery.h"
#include "app/planner/PlannerViewModel.h"
#include "app/planner/ToastCenter.h"
#include "app/settings/RoutesFolder.h"
#include "app/settings/RoutingServerStatus.h"
#include "app/settings/ServerConfig.h"
#include "map/MapBridge.h"
#include "map/MapColorStore.h"
#include "routing/GraphHopperEngine.h"
#include "ui/shell/LocationProvider.h"
#include "ui/window/DocumentCommands.h"
#include "ui/window/HelpWindow.h"
#include "ui/window/MainWindow.h"
#include "ui/window/SettingsWindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSettings>

namespace zuvo::ui {

AppShell::AppShell(QSettings& settings, QString mapFolder, QString volumes, QObject* parent)
    : QObject(parent)
    , m_settings(settings)
{
    // The fixed order: each object exists before those that use it.
    auto engine = std::make_unique<routing::GraphHopperEngine>(
        app::ServerConfig::routingURL(settings), m_session);
    m_engine = engine.get();
    // Turn instructions in the window's language.
    m_engine->setLocale(QLocale().language() == QLocale::German ? QStringLiteral("de")
                                                                : QStringLiteral("en"));
    m_favorites = std::make_unique<app::FavoritesStore>(app::FavoritesStore::defaultFilePath());
    m_userPOIs = std::make_unique<app::UserPOIStore>(app::UserPOIStore::defaultFilePath());
    m_planner = std::make_unique<app::PlannerViewModel>(std::move(engine), *m_favorites,
                                                        *m_userPOIs, settings);
    m_recovery = std::make_unique<app::PlanRecovery>(app::PlanRecovery::defaultPath(), *m_planner);
    m_bridge = std::make_unique<map::MapBridge>();
    m_colors = std::make_unique<map::MapColorStore>(
        settings, QDir(mapFolder).filePath(QStringLiteral("style.json")));
    m_toasts = std::make_unique<app::ToastCenter>();
    m_devices =
        std::make_unique<app::DeviceWatcher>(volumes, app::DeviceWatcher::defaultUSBProbe(), true);
    m_location = std::make_unique<LocationProvider>();
    m_photon =
        std::make_unique<app::PhotonClient>(app::ServerConfig::searchBase(settings), m_session);

    m_serverStatus = std::make_unique<app::RoutingServerStatus>(
        [engine = m_engine](std::stop_token stop) { return engine->info(stop); });
    // Requests the server cannot answer are refused before they are sent.
    connect(m_serverStatus.get(), &app::RoutingServerStatus::changed, this, [this] {
        const auto& info = m_serverStatus->info();
        m_engine->setLimits({.profiles = info ? std::optional(info->profiles) : std::nullopt,
                             .area = m_serverStatus->area()});
    });
    m_planner->setServerStatus(m_serverStatus.get());
    m_planner->setBridge(m_bridge.get());
    m_planner->setToastCenter(m_toasts.get());
    m_colors->setBridge(m_bridge.get());
    m_services.reset(new Services{
        .settings = settings,
        .planner = *m_planner,
        .bridge = *m_bridge,
        .colors = *m_colors,
        .toasts = *m_toasts,
        .devices = *m_devices,
        .location = *m_location,
        .photon = *m_photon,
        .serverStatus = *m_serverStatus,
        .transports = app::DeviceFlows::defaultTransports(volumes),
        .routesFolder = app::RoutesFolder::path(),
        .mapFolder = mapFolder,
        .tilesBase = [&settings] { return app::ServerConfig::tilesBase(settings); },
    });

    m_showMain = new QAction(tr("Main Window"), this);
    m_showMain->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    m_showHelp = new QAction(tr("Guide"), this);
    m_showHelp->setToolTip(tr("User guide"));
    m_showHelp->setShortcut(QKeySequence::HelpContents);
    m_showSettings = new QAction(tr("Settings…"), this);
    m_showSettings->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    m_quit = new QAction(tr("Quit"), this);
    m_quit->setShortcut(QKeySequence::Quit);
    connect(m_showMain, &QAction::triggered, this, &AppShell::showMainWindow);
    connect(m_showHelp, &QAction::triggered, this, [this] { showHelp(); });
    connect(m_showSettings, &QAction::triggered, this, &AppShell::showSettings);
    connect(m_quit, &QAction::triggered, this, &AppShell::quit);

    m_tilesBase = app::ServerConfig::tilesBase(settings);
    m_main = std::make_unique<MainWindow>(*m_services);
    m_main->addShellActions(m_showMain, m_showHelp, m_showSettings, m_quit);
    connect(m_main.get(), &MainWindow::helpRequested, this, &AppShell::showHelp);
    // Closing the main window while another window is open keeps the program (and the plan);
    // closing the last one asks about unsaved changes first.
    m_main->canClose = [this] {
        return otherWindowOpen() || m_main->documents().settleUnsavedChanges();
    };
    // Quitting settled every unsaved change (saved or thrown away on purpose).
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { m_recovery->finish(); });
    qApp->setQuitOnLastWindowClosed(false);
    m_serverStatus->check(m_engine->baseURL());
    connect(qApp, &QApplication::lastWindowClosed, this, &AppShell::onWindowClosed);
}

AppShell::~AppShell()
{
    m_main.reset();
    delete m_help;
    delete m_settingsWindow;
}

bool AppShell::otherWindowOpen() const
{
    return (m_help && m_help->isVisible()) || (m_settingsWindow && m_settingsWindow->isVisible());
}

void AppShell::onWindowClosed()
{
    // The main window asked before it closed; a help or settings window closed last did not.
    if (!m_main->isVisible() && m_main->documents().settleUnsavedChanges()) {
        qApp->quit();
        return;
    }
    if (!m_main->isVisible())
        showMainWindow();
}

void AppShell::showMainWindow()
{
    m_main->show();
    m_main->setWindowState(m_main->windowState() & ~Qt::WindowMinimized);
    m_main->raise();
    m_main->activateWindow();
}

void AppShell::offerRecovery()
{
    m_main->documents().offerRecovery(*m_recovery);
}

void AppShell::showHelp(const QString& anchor)
{
    if (!m_help) {
        m_help = new HelpWindow;
        m_help->setAttribute(Qt::WA_DeleteOnClose);
        m_help->addAction(m_showMain);
    }
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
    if (!anchor.isEmpty())
        m_help->showSection(anchor);
}

void AppShell::showSettings()
{
    if (!m_settingsWindow) {
        m_settingsWindow = new SettingsWindow(m_settings, m_serverStatus.get());
        m_settingsWindow->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_settingsWindow, &SettingsWindow::applied, this, &AppShell::applyServerSettings);
        m_settingsWindow->addAction(m_showMain);
    }
    m_settingsWindow->show();
    m_settingsWindow->raise();
    m_settingsWindow->activateWindow();
}

void AppShell::applyServerSettings()
{
    const QUrl routing = app::ServerConfig::routingURL(m_settings);
    if (routing != m_engine->baseURL()) {
        m_engine->setBaseURL(routing);
        // What the banner says about the old address no longer holds.
        m_planner->setErrorMessage(std::nullopt);
        m_serverStatus->check(routing);
    }
    m_photon->setBaseURL(app::ServerConfig::searchBase(m_settings));
    const QString tiles = app::ServerConfig::tilesBase(m_settings);
    if (tiles != m_tilesBase) {
        m_tilesBase = tiles;
        m_main->reloadMap();
    }
}

void AppShell::quit()
{
    if (m_main->documents().settleUnsavedChanges())
        qApp->quit();
}

QString AppShell::handleRequest(const QStringList& request)
{
    const QString command = request.value(0);
    if (command == u"status")
        return m_main->statusText();
    if (command == u"ping")
        return QStringLiteral("pong");
    showMainWindow();
    // Answered at once: the files open from the event loop, after any question the window is
    // asking, so that the later start never waits on the rider.
    if (command == u"open")
        m_main->documents().openLater(request.mid(1));
    return QStringLiteral("ok");
}

} // namespace zuvo::ui
