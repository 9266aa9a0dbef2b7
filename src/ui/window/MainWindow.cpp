#include "ui/window/MainWindow.h"

#include "app/devices/DeviceImportController.h"
#include "app/devices/DeviceSendController.h"
#include "app/library/RouteLibrary.h"
#include "app/places/PlaceSearchController.h"
#include "app/planner/ContextMenuModel.h"
#include "app/planner/LoopSuggestions.h"
#include "app/planner/PlannerTexts.h"
#include "app/planner/PlannerViewModel.h"
#include "app/planner/ToastCenter.h"
#include "app/settings/RoutingServerStatus.h"
#include "formats/FITCourseWriter.h"
#include "map/MapBridge.h"
#include "map/MapColorStore.h"
#include "ui/map/ColorPanel.h"
#include "ui/map/EmptyStateCard.h"
#include "ui/map/LayersPill.h"
#include "ui/map/MapView.h"
#include "ui/map/ScaleBarView.h"
#include "ui/map/SearchField.h"
#include "ui/panels/ElevationDrawer.h"
#include "ui/panels/InspectorPanel.h"
#include "ui/panels/SidebarPanel.h"
#include "ui/sheets/DetailsSheet.h"
#include "ui/sheets/DeviceImportSheet.h"
#include "ui/sheets/DeviceSendSheet.h"
#include "ui/sheets/FavoritePrompt.h"
#include "ui/sheets/LoopSheet.h"
#include "ui/shell/LocationProvider.h"
#include "ui/window/DocumentCommands.h"
#include "ui/window/ErrorBanner.h"
#include "ui/window/ServerBanner.h"
#include "ui/window/ToastView.h"
#include "ui/window/TrackBanner.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QSettings>
#include <QShortcut>
#include <QSplitter>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QWebEngineView>

namespace zuvo::ui {

using app::PlannerViewModel;
using Tool = PlannerViewModel::Tool;

namespace {

// Where the map starts looking when nothing better is known: the page's own first view.
constexpr double startLongitude = 6.96;
constexpr double startLatitude = 50.94;

} // namespace

MainWindow::MainWindow(Services& services, QWidget* parent)
    : QMainWindow(parent)
    , m_services(services)
    , m_documents(
          new DocumentCommands(services.planner, services.toasts, services.routesFolder, this))
    , m_search(std::make_unique<app::PlaceSearchController>(services.photon, services.planner))
    , m_library(std::make_unique<app::RouteLibrary>(services.routesFolder, services.planner))
{
    setWindowTitle(app::PlannerTexts::windowTitle(services.planner.documentName(), false));
    setObjectName(QStringLiteral("mainWindow"));
    setAcceptDrops(true);
    resize(1280, 860);
    buildActions();
    buildMap();
    buildMenus();
    buildToolBar();
    bindPlanner();
    restoreLayout();
    m_library->refresh();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMap()
{
    auto& planner = m_services.planner;
    m_map = new MapView(m_services.bridge, {.mapFolder = m_services.mapFolder,
                                            .tilesBase = m_services.tilesBase,
                                            .customGlyph = planner.userPOIs().glyph()});
    auto* sidebar = new SidebarPanel(*m_library, planner.favorites(), m_services.devices, this);
    auto* inspector = new InspectorPanel(planner, m_services.serverStatus, this);
    auto* drawer = new ElevationDrawer(planner, m_services.settings, this);
    m_sidebar = sidebar;
    m_inspector = inspector;
    m_drawer = drawer;
    connect(sidebar, &SidebarPanel::openFile, m_documents, &DocumentCommands::openPath);
    connect(sidebar, &SidebarPanel::importFromDevice, this,
            [this](const QString& name) { openDeviceImport(name); });
    connect(sidebar, &SidebarPanel::sendToDevice, this,
            [this](const QString& name) { openDeviceSend(name); });
    connect(sidebar, &SidebarPanel::showFavorite, this, [this](double latitude, double longitude) {
        m_services.bridge.fit(
            {longitude - 0.006, latitude - 0.006, longitude + 0.006, latitude + 0.006}, true);
    });
    connect(inspector, &InspectorPanel::anchorDetailsRequested, this,
            &MainWindow::openAnchorDetails);
    connect(drawer, &ElevationDrawer::hideRequested, this,
            [this] { m_showDrawer->setChecked(false); });

    m_center = new QSplitter(Qt::Vertical);
    m_center->addWidget(m_map);
    m_center->addWidget(m_drawer);
    m_center->setStretchFactor(0, 1);
    m_columns = new QSplitter(Qt::Horizontal);
    m_columns->addWidget(m_sidebar);
    m_columns->addWidget(m_center);
    m_columns->addWidget(m_inspector);
    m_columns->setStretchFactor(1, 1);
    for (auto* splitter : {m_center, m_columns})
        splitter->setChildrenCollapsible(false);
    setCentralWidget(m_columns);

    auto* banners = new QWidget;
    m_banners = banners;
    auto* bannerLayout = new QVBoxLayout(banners);
    bannerLayout->setContentsMargins(0, 0, 0, 0);
    bannerLayout->addWidget(new ErrorBanner(planner, banners));
    bannerLayout->addWidget(new ServerBanner(m_services.serverStatus, banners));
    auto* trackBanner = new TrackBanner(planner, banners);
    connect(trackBanner, &TrackBanner::detailsRequested, this, &MainWindow::openTrackDetails);
    connect(trackBanner, &TrackBanner::convertRequested, m_documents,
            &DocumentCommands::convertTrack);
    bannerLayout->addWidget(trackBanner);
    // Notices stack in one column over the map, so they never cover each other.
    m_tileNotice = new QLabel;
    m_tileNotice->setObjectName(QStringLiteral("tileNotice"));
    m_tileNotice->setWordWrap(true);
    m_tileNotice->setStyleSheet(QStringLiteral(
        "QLabel { background: rgba(30, 31, 34, 225); color: #e0e0e0; border-radius: 6px; "
        "padding: 6px 10px; }"));
    m_tileNotice->hide();
    bannerLayout->addWidget(m_tileNotice);
    m_map->addOverlay(banners, Qt::AlignTop | Qt::AlignJustify);
    m_map->addOverlay(new SearchResultsList(*m_search, planner), Qt::AlignTop | Qt::AlignLeft, 12,
                      banners);
    auto* layers = new LayersPill(planner);
    m_layersPill = layers;
    connect(layers, &LayersPill::importPOIsRequested, m_documents, &DocumentCommands::importPOIs);
    m_map->addOverlay(layers, Qt::AlignTop | Qt::AlignRight, 12, banners);
    m_scaleBar = new ScaleBarView;
    m_map->addOverlay(m_scaleBar, Qt::AlignBottom | Qt::AlignLeft);
    m_emptyState = new EmptyStateCard;
    m_map->addOverlay(m_emptyState, Qt::AlignCenter);
    m_colorPanel = new ColorPanel(m_services.colors);
    m_colorPanel->hide();
    m_map->addOverlay(m_colorPanel, Qt::AlignRight | Qt::AlignVCenter, 56);
    for (QWidget* covering : {m_banners, static_cast<QWidget*>(m_colorPanel)})
        covering->installEventFilter(this);
    // Above the scale bar's row, and above every other overlay.
    m_toast = new ToastView(m_services.toasts);
    m_map->addOverlay(m_toast, Qt::AlignBottom | Qt::AlignHCenter, toastOffset);

    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("statusText"));
    statusBar()->addWidget(m_status, 1);
    // An edit that waits for the routing server: a save now would not hold it yet.
    m_routing = new QWidget;
    m_routing->setObjectName(QStringLiteral("routingIndicator"));
    auto* routingLayout = new QHBoxLayout(m_routing);
    routingLayout->setContentsMargins(0, 0, 8, 0);
    auto* busy = new QProgressBar;
    busy->setRange(0, 0);
    busy->setFixedSize(80, 10);
    busy->setTextVisible(false);
    routingLayout->addWidget(new QLabel(tr("Routing…")));
    routingLayout->addWidget(busy);
    m_routing->hide();
    statusBar()->addPermanentWidget(m_routing);

    connect(&m_services.bridge, &map::MapBridge::eventReceived, this, &MainWindow::onMapEvent);

    // Tool keys, for the map only: a text field keeps its letters.
    const auto key = [this](QKeySequence sequence, auto action) {
        auto* shortcut =
            new QShortcut(sequence, m_map, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    key(Qt::Key_Escape, [&planner] {
        planner.setTool(Tool::select);
        planner.clearSearchSelection();
    });
    key(Qt::Key_V, [&planner] { planner.setTool(Tool::via); });
    key(Qt::Key_P, [&planner] { planner.setTool(Tool::shaping); });
    key(Qt::Key_Delete, [&planner] { planner.removeSelectedAnchor(); });
}

void MainWindow::bindPlanner()
{
    auto& planner = m_services.planner;
    const auto status = [this, &planner] {
        m_status->setText(app::PlannerTexts::statusText(planner.route(), planner.gradeProfile(),
                                                        planner.tool() != Tool::select));
    };
    const auto route = [this, &planner, status] {
        status();
        updateEmptyState();
        const bool savable = planner.route().anchors.size() >= 2;
        m_save->setEnabled(savable);
        m_saveAs->setEnabled(savable);
        m_exportCourse->setEnabled(savable);
        m_exportCueSheet->setEnabled(savable);
        m_roundTrip->setChecked(planner.route().roundTrip);
    };
    connect(&planner, &PlannerViewModel::routeChanged, this, route);
    route();
    connect(&planner, &PlannerViewModel::isRoutingChanged, this,
            [this, &planner] { m_routing->setVisible(planner.isRouting()); });
    connect(&planner, &PlannerViewModel::documentChanged, this, [this, &planner] {
        setWindowTitle(app::PlannerTexts::windowTitle(planner.documentName(), planner.isDirty()));
    });
    const auto history = [this, &planner] {
        m_undo->setEnabled(planner.canUndo());
        m_redo->setEnabled(planner.canRedo());
    };
    connect(&planner, &PlannerViewModel::historyChanged, this, history);
    history();
    const auto tool = [this, &planner, status] {
        for (auto* a : m_tools->actions())
            a->setChecked(static_cast<Tool>(a->data().toInt()) == planner.tool());
        status();
        updateEmptyState();
    };
    connect(&planner, &PlannerViewModel::searchChanged, this, &MainWindow::updateEmptyState);
    connect(&planner, &PlannerViewModel::shownTracksChanged, this, &MainWindow::updateEmptyState);
    connect(m_search.get(), &app::PlaceSearchController::messageChanged, this,
            &MainWindow::updateEmptyState);
    connect(&planner, &PlannerViewModel::toolChanged, this, tool);
    tool();
    const auto profile = [this, &planner] {
        m_profile->setCurrentIndex(m_profile->findData(int(planner.costingKind())));
    };
    // A kind whose profile the server lacks cannot be chosen: nothing would route.
    connect(&m_services.serverStatus, &app::RoutingServerStatus::changed, this, [this] {
        auto* kinds = qobject_cast<QStandardItemModel*>(m_profile->model());
        for (int i = 0; i < m_profile->count(); ++i) {
            const auto kind = static_cast<model::CostingKind>(m_profile->itemData(i).toInt());
            const bool served = m_services.serverStatus.hasProfile(kind);
            kinds->item(i)->setEnabled(served);
            m_profile->setItemData(i,
                                   served ? QVariant()
                                          : QVariant(tr("The routing server has no profile '%1'.")
                                                         .arg(model::graphHopperProfile(kind))),
                                   Qt::ToolTipRole);
        }
    });
    connect(&planner, &PlannerViewModel::costingKindChanged, this, profile);
    profile();
    const auto view = [this, &planner] {
        m_scaleBar->setView(planner.mapZoom(), planner.mapLatitude());
    };
    connect(&planner, &PlannerViewModel::mapViewChanged, this, view);
    view();

    connect(m_showSidebar, &QAction::toggled, m_sidebar, &QWidget::setVisible);
    connect(m_showInspector, &QAction::toggled, m_inspector, &QWidget::setVisible);
    connect(m_showDrawer, &QAction::toggled, m_drawer, &QWidget::setVisible);
    connect(m_showColors, &QAction::toggled, m_colorPanel, &QWidget::setVisible);
}

QString MainWindow::statusText() const
{
    return m_status->text();
}

void MainWindow::onMapEvent(const map::MapEvent& event)
{
    using E = map::MapEvent;
    if (const auto* menu = std::get_if<E::ContextMenu>(&event.value)) {
        showContextMenu(*menu);
        return;
    }
    auto& planner = m_services.planner;
    planner.handle(event);
    if (const auto* log = std::get_if<E::Log>(&event.value))
        onPageLog(log->message);
    if (std::holds_alternative<E::Ready>(event.value)) {
        m_sentInsets.reset();
        sendViewInsets();
        m_services.colors.pushAll();
        QPointer self(this);
        m_services.location.requestOnce([self](double latitude, double longitude) {
            if (self)
                self->onLocationFix(latitude, longitude);
        });
    }
}

void MainWindow::onLocationFix(double latitude, double longitude)
{
    m_located = std::pair{longitude, latitude};
    auto& planner = m_services.planner;
    // A fix never moves a map that already shows a route or a track.
    if (!planner.route().anchors.empty() || !planner.shownTracks().empty())
        return;
    if (m_tilesMissing) {
        frameWorld();
        return;
    }
    m_services.bridge.fit({longitude - 0.02, latitude - 0.02, longitude + 0.02, latitude + 0.02},
                          false);
}

void MainWindow::showContextMenu(const map::MapEvent::ContextMenu& at)
{
    auto& planner = m_services.planner;
    QMenu menu(this);
    for (const auto& item : app::contextMenuItems(at.target, planner)) {
        QAction* a = menu.addAction(item.title);
        a->setEnabled(item.enabled);
        a->setCheckable(item.action == app::ContextMenuItem::Action::toggleRoundTrip);
        a->setChecked(item.checked);
        connect(a, &QAction::triggered, this, [this, &planner, action = item.action, at] {
            switch (app::perform(action, at, planner)) {
            case app::ContextMenuFollowUp::routeDetails:
                openRouteDetails();
                break;
            case app::ContextMenuFollowUp::anchorDetails:
                if (const auto* anchor = std::get_if<map::ContextTarget::Anchor>(&at.target.value))
                    openAnchorDetails(anchor->id);
                break;
            case app::ContextMenuFollowUp::poiPopover:
                showPOI();
                break;
            case app::ContextMenuFollowUp::favoritePrompt:
                openFavoritePrompt();
                break;
            case app::ContextMenuFollowUp::loopSuggestions:
                openLoopSheet({at.lng, at.lat});
                break;
            case app::ContextMenuFollowUp::none:
                break;
            }
        });
    }
    menu.exec(m_map->webView()->mapToGlobal(QPoint(int(at.x), int(at.y))));
}

void MainWindow::openLoopSheet(const app::LonLat& start)
{
    auto& planner = m_services.planner;
    auto* loops = new app::LoopSuggestions(planner, start);
    auto* sheet = new LoopSheet(
        *loops, [this] { return m_documents->settleUnsavedChanges(); }, this);
    loops->setParent(sheet);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    connect(sheet, &QDialog::finished, this, &MainWindow::updateEmptyState);
    m_loopSheet = sheet;
    sheet->open();
    updateEmptyState();
    // Over the inspector, not the map the loops are drawn on.
    sheet->move(mapToGlobal(rect().topRight()).x() - sheet->width() - 12,
                m_map->mapToGlobal(QPoint(0, 0)).y() + 12);
}

void MainWindow::showPOI()
{
    const auto& poi = m_services.planner.selectedPOI();
    if (!poi)
        return;
    QMenu popover(this);
    popover.addSection(poi->name.isEmpty() ? poi->category : poi->name);
    popover.addAction(QString::asprintf("%.5f, %.5f", poi->latitude, poi->longitude))
        ->setEnabled(false);
    connect(popover.addAction(tr("Save as favorite")), &QAction::triggered, this,
            &MainWindow::openFavoritePrompt);
    connect(popover.addAction(tr("Add via here")), &QAction::triggered, this,
            [this, at = *poi] { m_services.planner.addViaAt(at.longitude, at.latitude); });
    popover.exec(QCursor::pos());
}

void MainWindow::openRouteDetails()
{
    DetailsSheet::route(m_services.planner, this)->open();
}

void MainWindow::openAnchorDetails(const QUuid& id)
{
    DetailsSheet::anchor(m_services.planner, id, this)->open();
}

void MainWindow::openTrackDetails(const QString& id)
{
    auto* sheet = DetailsSheet::track(m_services.planner, id, this);
    connect(sheet, &DetailsSheet::helpRequested, this, &MainWindow::helpRequested);
    sheet->open();
}

void MainWindow::openFavoritePrompt()
{
    auto& planner = m_services.planner;
    const auto& target = planner.selectedPOI() ? planner.selectedPOI() : planner.searchSelection();
    if (!target)
        return;
    auto* prompt = new FavoritePrompt(target->name, this);
    prompt->setAttribute(Qt::WA_DeleteOnClose);
    connect(prompt, &QDialog::accepted, this, [&planner, prompt] {
        const QString name = prompt->name();
        planner.favoriteSelectedPlace(name.isEmpty() ? std::nullopt : std::optional(name));
    });
    prompt->open();
}

void MainWindow::openDeviceImport(const std::optional<QString>& deviceName)
{
    auto& planner = m_services.planner;
    auto* controller = new app::DeviceImportController(
        m_services.transports, m_services.routesFolder, m_services.toasts, deviceName);
    auto* sheet = new DeviceImportSheet(*controller, this);
    controller->setParent(sheet);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    connect(controller, &app::DeviceImportController::imported, &planner,
            &app::PlannerViewModel::applyImported);
    // The library looks at the folder again once the sheet is gone.
    connect(sheet, &QDialog::finished, &planner,
            &app::PlannerViewModel::bumpRoutesFolderGeneration);
    sheet->open();
    controller->scan();
}

void MainWindow::openDeviceSend(const std::optional<QString>& deviceName)
{
    auto& planner = m_services.planner;
    using Controller = app::DeviceSendController;
    auto makeCourse =
        [&planner](const QString& name) -> model::Result<app::CoursePayload, QString> {
        if (const auto problem = Controller::courseProblem(planner.route()))
            return *problem;
        const formats::FITCourseWriter fit{.created = QDateTime::currentDateTimeUtc()};
        return app::CoursePayload{*planner.currentGPX(name), planner.routeCoordinates(),
                                  fit.write(planner.route(), planner.costingKind(), name)};
    };
    auto* controller = new Controller(m_services.transports, makeCourse, planner.documentName(),
                                      m_services.toasts, deviceName);
    const auto problem = Controller::courseProblem(planner.route());
    auto* sheet = new DeviceSendSheet(*controller, problem, this);
    controller->setParent(sheet);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->open();
    if (!problem)
        controller->scan();
}

void MainWindow::onPageLog(const QString& message)
{
    static const QString couldNotStart = QStringLiteral("the map could not start: ");
    if (message.startsWith(couldNotStart)) {
        m_map->showFailure(
            tr("The map could not start: %1.\n\nTramu's map needs WebGL (OpenGL graphics). Check "
               "that a graphics driver is installed; on a remote desktop, try a local session. "
               "Planning, files and devices work without the map.")
                .arg(message.mid(couldNotStart.size())));
        m_emptyState->hide();
        return;
    }
    // The page logs every map error once; tiles that cannot be fetched mean no tile server.
    if (!message.startsWith(QStringLiteral("map: ")) || m_tilesMissing)
        return;
    m_tilesMissing = true;
    m_tileNotice->setText(tr("No map tiles from %1 — showing country outlines. Start the tile "
                             "server or set its address in Settings.")
                              .arg(m_services.tilesBase()));
    m_tileNotice->show();
    auto& planner = m_services.planner;
    if (planner.route().anchors.empty() && planner.shownTracks().empty())
        frameWorld();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize || event->type() == QEvent::Show ||
        event->type() == QEvent::Hide)
        sendViewInsets();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::sendViewInsets()
{
    // The banners span the map's top with the layer buttons below them; the colour panel stands
    // at its right; toasts come and go in a strip along the bottom.
    const int banners = m_banners->isVisible() && m_banners->height() > 0 ? m_banners->height() : 0;
    const int top = banners + m_layersPill->height();
    const int right = m_colorPanel->isVisible() ? m_colorPanel->width() + 56 : 0;
    const int bottom = toastOffset + m_toast->usualHeight();
    if (m_sentInsets == std::tuple{top, right, bottom})
        return;
    m_sentInsets = std::tuple{top, right, bottom};
    m_services.bridge.setViewInsets(top, right, bottom, 0);
}

void MainWindow::reloadMap()
{
    m_tilesMissing = false;
    m_tileNotice->hide();
    m_map->reload();
}

void MainWindow::updateEmptyState()
{
    const auto& planner = m_services.planner;
    // Found places and what the search says sit where the card would.
    const bool searching =
        !planner.searchResults().empty() || planner.searchSelection() || m_search->message();
    // So do suggested loops and shown rides.
    const bool loops = m_loopSheet && m_loopSheet->isVisible();
    m_emptyState->setVisible(planner.route().anchors.empty() && !m_map->hasFailed() && !searching &&
                             !loops && planner.shownTracks().empty());
    const auto texts = app::PlannerTexts::emptyState(planner.tool() != Tool::select,
                                                     planner.tool() == Tool::shaping);
    m_emptyState->setTexts(texts.title, texts.hint);
}

void MainWindow::frameWorld()
{
    // Country outlines help at the scale of a few countries, not at city zoom.
    const auto [longitude, latitude] = m_located.value_or(std::pair{startLongitude, startLatitude});
    m_services.bridge.fit({longitude - 12, latitude - 6, longitude + 12, latitude + 6}, false);
}

void MainWindow::restoreLayout()
{
    auto& settings = m_services.settings;
    restoreGeometry(settings.value(QStringLiteral("window/geometry")).toByteArray());
    m_columns->restoreState(settings.value(QStringLiteral("window/columns")).toByteArray());
    m_center->restoreState(settings.value(QStringLiteral("window/center")).toByteArray());
    const auto shown = [&settings](const char* key, bool fallback) {
        return settings.value(QLatin1String(key), fallback).toBool();
    };
    m_showSidebar->setChecked(shown("window/sidebarShown", true));
    m_showInspector->setChecked(shown("window/inspectorShown", true));
    m_showDrawer->setChecked(shown("window/drawerShown", true));
    m_sidebar->setVisible(m_showSidebar->isChecked());
    m_inspector->setVisible(m_showInspector->isChecked());
    m_drawer->setVisible(m_showDrawer->isChecked());
}

void MainWindow::saveLayout()
{
    auto& settings = m_services.settings;
    settings.setValue(QStringLiteral("window/geometry"), saveGeometry());
    settings.setValue(QStringLiteral("window/columns"), m_columns->saveState());
    settings.setValue(QStringLiteral("window/center"), m_center->saveState());
    settings.setValue(QStringLiteral("window/sidebarShown"), m_showSidebar->isChecked());
    settings.setValue(QStringLiteral("window/inspectorShown"), m_showInspector->isChecked());
    settings.setValue(QStringLiteral("window/drawerShown"), m_showDrawer->isChecked());
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    saveLayout();
    if (canClose && !canClose()) {
        event->ignore();
        return;
    }
    event->accept();
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // The map has the keys at first, so that V and P pick tools rather than type a name.
    if (!std::exchange(m_shownOnce, true))
        m_map->webView()->setFocus();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            m_documents->importTrack(url.toLocalFile());
    }
    event->acceptProposedAction();
}

} // namespace zuvo::ui
