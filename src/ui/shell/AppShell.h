#pragma once

#include "ui/shell/Services.h"

#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>

#include <memory>

class QAction;
class QSettings;

namespace zuvo::app {
class FavoritesStore;
class PlanRecovery;
class RoutingServerStatus;
class UserPOIStore;
} // namespace zuvo::app

namespace zuvo::routing {
class GraphHopperEngine;
}

namespace zuvo::ui {

class HelpWindow;
class MainWindow;
class SettingsWindow;

// The application: creates the long-lived objects once, in a fixed order, and the windows that
// use them, and answers requests from later starts.
class AppShell : public QObject {
    Q_OBJECT

public:
    // `volumesDirectory` is where removable media are mounted (tests pass a folder of their own).
    AppShell(QSettings& settings, QString mapFolder, QString volumesDirectory,
             QObject* parent = nullptr);
    ~AppShell() override;

    MainWindow& mainWindow() { return *m_main; }
    Services& services() { return *m_services; }

    void showMainWindow();
    // Asks whether to take back a plan an earlier planner left unsaved, if there is one.
    void offerRecovery();
    void showHelp(const QString& anchor = {});
    void showSettings();
    // Quits unless the user keeps unsaved changes.
    void quit();
    // Puts the server addresses now in the preferences to use: routing and search at the next
    // request, tiles by loading the map again.
    void applyServerSettings();
    // A later start's request: "open" with files, "activate", "status" or "ping".
    QString handleRequest(const QStringList& request);

private:
    void onWindowClosed();
    // The guide or the settings are open.
    bool otherWindowOpen() const;

    QSettings& m_settings;
    // Held by the planner; kept here to point it at another server.
    routing::GraphHopperEngine* m_engine = nullptr;
    QString m_tilesBase;
    QNetworkAccessManager m_session;
    std::unique_ptr<app::FavoritesStore> m_favorites;
    std::unique_ptr<app::UserPOIStore> m_userPOIs;
    std::unique_ptr<app::PlannerViewModel> m_planner;
    std::unique_ptr<app::PlanRecovery> m_recovery;
    std::unique_ptr<map::MapBridge> m_bridge;
    std::unique_ptr<map::MapColorStore> m_colors;
    std::unique_ptr<app::ToastCenter> m_toasts;
    std::unique_ptr<app::DeviceWatcher> m_devices;
    std::unique_ptr<LocationProvider> m_location;
    std::unique_ptr<app::PhotonClient> m_photon;
    std::unique_ptr<app::RoutingServerStatus> m_serverStatus;
    std::unique_ptr<Services> m_services;
    std::unique_ptr<MainWindow> m_main;
    QPointer<HelpWindow> m_help;
    QPointer<SettingsWindow> m_settingsWindow;
    QAction* m_showMain;
    QAction* m_showHelp;
    QAction* m_showSettings;
    QAction* m_quit;
};

} // namespace zuvo::ui
