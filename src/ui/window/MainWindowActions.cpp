#include "app/planner/LoopSuggestions.h"
#include "app/planner/PlannerViewModel.h"
#include "model/CostingKind.h"
#include "ui/map/SearchField.h"
#include "ui/window/DocumentCommands.h"
#include "ui/window/MainWindow.h"

#include <QActionGroup>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace zuvo::ui {

// The window's commands: its actions, and the menu bar and toolbar that offer them.

using app::PlannerViewModel;
using Tool = PlannerViewModel::Tool;

void MainWindow::buildActions()
{
    auto& planner = m_services.planner;
    const auto action = [this](const QString& text, const QKeySequence& shortcut = {}) {
        auto* a = new QAction(text, this);
        a->setShortcut(shortcut);
        return a;
    };
    m_new = action(tr("New Route"), QKeySequence::New);
    m_open = action(tr("Open…"), QKeySequence::Open);
    m_importGPX = action(tr("Import GPX…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I));
    m_importPOIs = action(tr("Import POI GPX…"));
    m_save = action(tr("Save"), QKeySequence::Save);
    m_saveAs = action(tr("Save As…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    m_exportCourse = action(tr("Export TCX Course…"));
    m_exportCueSheet = action(tr("Export Cue Sheet…"), QKeySequence(Qt::CTRL | Qt::Key_P));
    m_exportCueSheet->setToolTip(tr("A cue sheet to print (PDF) or for a spreadsheet (CSV)"));
    m_suggestLoops = action(tr("Suggest Loops…"), QKeySequence(Qt::CTRL | Qt::Key_L));
    m_suggestLoops->setToolTip(
        tr("Round trips from the plan's start, or from where you last clicked or searched"));
    m_undo = action(tr("Undo"), QKeySequence::Undo);
    m_undo->setToolTip(tr("Undo route edit"));
    m_redo = action(tr("Redo"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    m_redo->setToolTip(tr("Redo route edit"));
    m_roundTrip = action(tr("Round Trip"));
    m_roundTrip->setToolTip(tr("Round trip: route returns to start"));
    m_roundTrip->setCheckable(true);
    m_showSidebar = action(tr("Sidebar"));
    m_showInspector = action(tr("Inspector"));
    m_showDrawer = action(tr("Elevation"));
    m_showDrawer->setToolTip(tr("Show/hide elevation panel"));
    m_showColors = action(tr("Map Colours"));
    m_showColors->setToolTip(tr("Recolour the map"));
    for (auto* toggle : {m_showSidebar, m_showInspector, m_showDrawer, m_showColors})
        toggle->setCheckable(true);
    m_deviceImport = action(tr("Import from Device…"));
    m_deviceImport->setIconText(tr("Import Ride"));
    m_deviceImport->setToolTip(tr("Import rides or courses from a bike computer"));
    m_deviceSend = action(tr("Send to Device…"));
    m_deviceSend->setIconText(tr("Send to Device"));
    connect(m_deviceImport, &QAction::triggered, this, [this] { openDeviceImport(std::nullopt); });
    connect(m_deviceSend, &QAction::triggered, this, [this] { openDeviceSend(std::nullopt); });

    m_tools = new QActionGroup(this);
    for (const auto& [tool, label] :
         {std::pair{Tool::select, tr("Select")}, std::pair{Tool::via, tr("Via")},
          std::pair{Tool::shaping, tr("Shaping")}}) {
        auto* a = m_tools->addAction(label);
        a->setCheckable(true);
        a->setData(int(tool));
        a->setToolTip(tr("Select / add via stop / add shaping point"));
        a->setObjectName(QStringLiteral("tool-") + PlannerViewModel::toolName(tool));
    }

    connect(m_new, &QAction::triggered, m_documents, &DocumentCommands::newRoute);
    connect(m_open, &QAction::triggered, m_documents, &DocumentCommands::open);
    connect(m_importGPX, &QAction::triggered, m_documents, &DocumentCommands::importGPX);
    connect(m_importPOIs, &QAction::triggered, m_documents, &DocumentCommands::importPOIs);
    connect(m_save, &QAction::triggered, m_documents, &DocumentCommands::save);
    connect(m_saveAs, &QAction::triggered, m_documents, &DocumentCommands::saveAs);
    connect(m_exportCourse, &QAction::triggered, m_documents, &DocumentCommands::exportCourse);
    connect(m_exportCueSheet, &QAction::triggered, m_documents, &DocumentCommands::exportCueSheet);
    connect(m_suggestLoops, &QAction::triggered, this, [this] {
        if (const auto start = app::loopStart(m_services.planner))
            openLoopSheet(*start);
    });
    const auto loopable = [this, &planner] {
        m_suggestLoops->setEnabled(app::loopStart(planner).has_value());
    };
    connect(&planner, &app::PlannerViewModel::routeChanged, this, loopable);
    connect(&planner, &app::PlannerViewModel::lastMapFocusChanged, this, loopable);
    loopable();
    connect(m_undo, &QAction::triggered, &planner, &PlannerViewModel::undo);
    connect(m_redo, &QAction::triggered, &planner, &PlannerViewModel::redo);
    connect(m_roundTrip, &QAction::triggered, this,
            [&planner] { planner.setRoundTrip(!planner.route().roundTrip); });
    connect(m_tools, &QActionGroup::triggered, this,
            [&planner](QAction* a) { planner.setTool(static_cast<Tool>(a->data().toInt())); });
}

void MainWindow::buildMenus()
{
    m_fileMenu = menuBar()->addMenu(tr("&File"));
    m_fileMenu->addActions({m_new, m_open, m_importGPX, m_importPOIs});
    m_fileMenu->addSeparator();
    m_fileMenu->addActions({m_save, m_saveAs});
    m_fileMenu->addActions({m_exportCourse, m_exportCueSheet});
    m_fileMenu->addSeparator();
    m_fileMenu->addActions({m_deviceImport, m_deviceSend});
    auto* edit = menuBar()->addMenu(tr("&Edit"));
    edit->addActions({m_undo, m_redo});
    edit->addSeparator();
    edit->addAction(m_suggestLoops);
    auto* view = menuBar()->addMenu(tr("&View"));
    view->addActions({m_showSidebar, m_showInspector, m_showDrawer, m_showColors});
    view->addSeparator();
    view->addActions(m_tools->actions());
    m_windowMenu = menuBar()->addMenu(tr("&Window"));
}

void MainWindow::addShellActions(QAction* mainWindow, QAction* help, QAction* settings,
                                 QAction* quit)
{
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(settings);
    m_fileMenu->addAction(quit);
    m_windowMenu->addAction(mainWindow);
    m_windowMenu->addAction(help);
    addAction(mainWindow);
    if (auto* bar = findChild<QToolBar*>(QStringLiteral("mainToolBar")))
        bar->addAction(help);
}

void MainWindow::buildToolBar()
{
    auto& planner = m_services.planner;
    auto* bar = addToolBar(tr("Tools"));
    bar->setObjectName(QStringLiteral("mainToolBar"));
    bar->setMovable(false);
    bar->addActions({m_showSidebar, m_showInspector, m_showDrawer, m_showColors});
    bar->addSeparator();
    bar->addActions({m_undo, m_redo, m_roundTrip});
    bar->addSeparator();
    bar->addActions(m_tools->actions());
    m_profile = new QComboBox(bar);
    m_profile->setObjectName(QStringLiteral("profilePicker"));
    m_profile->setToolTip(tr("Profile"));
    for (const auto kind : model::allCostingKinds)
        m_profile->addItem(model::pickerLabel(kind), int(kind));
    bar->addWidget(m_profile);
    bar->addSeparator();
    bar->addActions({m_deviceImport, m_deviceSend});
    connect(m_profile, &QComboBox::activated, this, [this, &planner](int index) {
        planner.setCostingKind(static_cast<model::CostingKind>(m_profile->itemData(index).toInt()));
    });
    bar->addSeparator();
    bar->addWidget(new SearchField(*m_search, planner, bar));
}

} // namespace zuvo::ui
