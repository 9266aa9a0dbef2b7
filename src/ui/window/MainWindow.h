#pragma once

#include "map/MapEvent.h"
#include "ui/shell/Services.h"

#include <QMainWindow>
#include <QPointer>

#include <optional>
#include <tuple>

class QAction;
class QActionGroup;
class QComboBox;
class QLabel;
class QSplitter;

namespace zuvo::app {
struct LonLat;
class PlaceSearchController;
class RouteLibrary;
} // namespace zuvo::app

namespace zuvo::ui {

class ColorPanel;
class DocumentCommands;
class EmptyStateCard;
class LoopSheet;
class MapView;
class ScaleBarView;
class ToastView;

// The planner's window: the map with its controls, the toolbar, menus and status line, and the
// panels beside the map. It composes widgets and routes the map's events; every rule lives in
// the planner.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    MainWindow(Services& services, QWidget* parent = nullptr);
    ~MainWindow() override;

    DocumentCommands& documents() { return *m_documents; }
    MapView& mapView() { return *m_map; }
    // Loads the map page again (a new tile address); the plan is drawn anew once it is ready.
    void reloadMap();
    QString statusText() const;
    // Window-wide commands the shell owns (other windows, quitting), placed in this menu bar.
    void addShellActions(QAction* mainWindow, QAction* help, QAction* settings, QAction* quit);

    // The one position fix asked for when the map is ready: it frames the map there unless a
    // route or a track is shown already.
    void onLocationFix(double latitude, double longitude);

    // The sheets, each on its own over the window; the device sheets preselect a device by name.
    void openRouteDetails();
    void openAnchorDetails(const QUuid& id);
    void openTrackDetails(const QString& id);
    void openFavoritePrompt();
    void openLoopSheet(const app::LonLat& start);
    void openDeviceImport(const std::optional<QString>& deviceName);
    void openDeviceSend(const std::optional<QString>& deviceName);
    app::RouteLibrary& library() { return *m_library; }

    // Asked before the window closes while no other window stays open.
    std::function<bool()> canClose;

signals:
    void helpRequested(const QString& anchor);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildActions();
    void buildMenus();
    void buildToolBar();
    void buildMap();
    void bindPlanner();
    void onMapEvent(const map::MapEvent& event);
    void showContextMenu(const map::MapEvent::ContextMenu& menu);
    void showPOI();
    void onPageLog(const QString& message);
    void frameWorld();
    void updateEmptyState();
    // Tells the page which strips of the map the window's notices cover.
    void sendViewInsets();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void restoreLayout();
    void saveLayout();

    Services& m_services;
    DocumentCommands* m_documents;
    std::unique_ptr<app::PlaceSearchController> m_search;
    std::unique_ptr<app::RouteLibrary> m_library;
    MapView* m_map = nullptr;
    QPointer<LoopSheet> m_loopSheet;
    QSplitter* m_columns = nullptr;
    QSplitter* m_center = nullptr;
    QWidget* m_sidebar = nullptr;
    QWidget* m_banners = nullptr;
    QWidget* m_layersPill = nullptr;
    // Toasts stand this far above the map's bottom edge, clear of the scale bar.
    static constexpr int toastOffset = 46;
    ToastView* m_toast = nullptr;
    QWidget* m_inspector = nullptr;
    QWidget* m_drawer = nullptr;
    ColorPanel* m_colorPanel = nullptr;
    ScaleBarView* m_scaleBar = nullptr;
    EmptyStateCard* m_emptyState = nullptr;
    QLabel* m_tileNotice = nullptr;
    QLabel* m_status = nullptr;
    QWidget* m_routing = nullptr;
    QMenu* m_fileMenu = nullptr;
    QMenu* m_windowMenu = nullptr;

    QAction* m_new = nullptr;
    QAction* m_open = nullptr;
    QAction* m_importGPX = nullptr;
    QAction* m_importPOIs = nullptr;
    QAction* m_save = nullptr;
    QAction* m_saveAs = nullptr;
    QAction* m_exportCourse = nullptr;
    QAction* m_exportCueSheet = nullptr;
    QAction* m_suggestLoops = nullptr;
    QAction* m_undo = nullptr;
    QAction* m_redo = nullptr;
    QAction* m_roundTrip = nullptr;
    QAction* m_showSidebar = nullptr;
    QAction* m_showInspector = nullptr;
    QAction* m_showDrawer = nullptr;
    QAction* m_showColors = nullptr;
    QAction* m_deviceImport = nullptr;
    QAction* m_deviceSend = nullptr;
    QActionGroup* m_tools = nullptr;
    QComboBox* m_profile = nullptr;

    bool m_shownOnce = false;
    std::optional<std::tuple<int, int, int>> m_sentInsets; // top, right, bottom
    bool m_tilesMissing = false;
    std::optional<std::pair<double, double>> m_located; // longitude, latitude
};

} // namespace zuvo::ui
