// The main window built by the application shell as tramu builds it, in a temporary home, with
// the planner on a loopback GraphHopper and the page's commands recorded. The web view runs
// offscreen, where the page has no WebGL: the window must say so.
#include "WindowFixture.h"
#include "app/planner/ToastCenter.h"
#include "app/settings/RoutingServerStatus.h"
#include "ui/map/EmptyStateCard.h"
#include "ui/sheets/LoopSheet.h"
#include "ui/shell/Translations.h"
#include "ui/window/ServerBanner.h"
#include "ui/window/ToastView.h"

#include <QComboBox>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSlider>
#include <QStandardItemModel>

using namespace zuvo;
using namespace zuvo::test;

QTemporaryDir* zuvo::test::home = nullptr;

TEST_F(MainWindowTest, StatusLineErrorBannerAndMenus)
{
    EXPECT_EQ(window().statusText(), "Choose the Via tool and click the map to start a route.");
    EXPECT_FALSE(action("Save")->isEnabled());
    EXPECT_FALSE(action("Save As…")->isEnabled());
    EXPECT_FALSE(action("Undo")->isEnabled());
    EXPECT_EQ(action("Undo")->shortcut(), QKeySequence("Ctrl+Z"));
    EXPECT_EQ(action("Redo")->shortcut(), QKeySequence("Ctrl+Shift+Z"));
    EXPECT_EQ(action("Import GPX…")->shortcut(), QKeySequence("Ctrl+Shift+I"));
    EXPECT_FALSE(action("Suggest Loops…")->isEnabled()) << "no start yet";
    EXPECT_EQ(action("Suggest Loops…")->shortcut(), QKeySequence("Ctrl+L"));
    EXPECT_EQ(action("Main Window")->shortcut(), QKeySequence("Ctrl+0"));
    // The empty map says what a click does with the tool chosen.
    auto* card = window().findChild<ui::EmptyStateCard*>();
    ASSERT_TRUE(card);
    EXPECT_EQ(card->title(), "Choose Via, then click the map");
    planner().setTool(app::PlannerViewModel::Tool::via);
    EXPECT_EQ(card->title(), "Click the map to start a route");
    EXPECT_EQ(window().statusText(), "Click the map to start a route.") << "the status line too";
    EXPECT_TRUE(card->isVisibleTo(&window()));
    planner().setSearchResults({app::PhotonPlace{.id = "N/1", .label = "Ulm"}});
    EXPECT_FALSE(card->isVisibleTo(&window())) << "a found place is never covered";
    planner().setSearchResults({});

    plan(1);
    EXPECT_FALSE(action("Save")->isEnabled()) << "one anchor is no route";
    ASSERT_TRUE(action("Suggest Loops…")->isEnabled()) << "from the plan's start";
    action("Suggest Loops…")->trigger();
    auto* loops = window().findChild<ui::LoopSheet*>();
    ASSERT_TRUE(loops);
    loops->reject();
    plan(1);
    EXPECT_TRUE(action("Save")->isEnabled());
    EXPECT_TRUE(action("Undo")->isEnabled());
    EXPECT_FALSE(action("Redo")->isEnabled());
    EXPECT_TRUE(window().statusText().endsWith(" m · 2 anchors"))
        << window().statusText().toStdString();
    EXPECT_EQ(graphHopper.routes(), 1) << graphHopper.requests.size() << " requests, error "
                                       << planner().errorMessage().value_or("none").toStdString();

    auto* banner = window().findChild<ui::ErrorBanner*>();
    ASSERT_TRUE(banner);
    EXPECT_FALSE(banner->isVisible());
    planner().setErrorMessage(
        QString("Could not reach the routing server at x: Connection refused"));
    EXPECT_TRUE(banner->isVisible());
    EXPECT_EQ(banner->text(), "Could not reach the routing server at x: Connection refused");
    banner->findChild<QPushButton*>("dismissError")->click();
    EXPECT_FALSE(planner().errorMessage());
    EXPECT_FALSE(banner->isVisible());
}

TEST_F(MainWindowTest, TheTitleNamesThePlanAndToastsShowTheirWholeText)
{
    EXPECT_EQ(window().windowTitle(), "Untitled — Tramu");
    plan(2);
    EXPECT_EQ(window().windowTitle(), "Untitled* — Tramu");
    chosenFile = QDir(home->path()).filePath("Kandel Runde.gpx");
    action("Save")->trigger();
    EXPECT_EQ(window().windowTitle(), "Kandel Runde — Tramu");

    auto* toast = window().findChild<ui::ToastView*>("toast");
    ASSERT_TRUE(toast);
    ASSERT_TRUE(toast->isVisible());
    EXPECT_EQ(toast->message(), "Saved 'Kandel Runde'");
    QFont bold = toast->font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    EXPECT_GE(toast->width(), metrics.horizontalAdvance(toast->message()) + 20);
    EXPECT_GE(toast->height(), metrics.height() + 20);
    QImage painted = toast->grab().toImage();
    int lit = 0;
    for (int x = 0; x < painted.width(); ++x)
        lit += qGray(painted.pixel(x, painted.height() / 2)) > 160;
    EXPECT_GT(lit, toast->message().size()) << "the text is painted across the box";
    // Framed routes keep clear of the strip the toast stands in.
    const int strip = int(page.last("setViewInsets")["bottom"].toDouble());
    EXPECT_LE(toast->parentWidget()->height() - toast->geometry().top(), strip);
    keepScreenshot(window(), "window-toast.png");

    // A long message wraps inside the box instead of running out of it.
    services().toasts.show(QString("Imported 12 rides from Edge 830; 3 were in the library "
                                   "already and were left out, 1 could not be read"),
                           QString("Ready in the library"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return toast->message().startsWith("Imported"); }, 5000));
    EXPECT_LE(toast->width(), ui::ToastView::maxTextWidth + 40);
    EXPECT_GE(toast->height(), 3 * metrics.height());
    keepScreenshot(window(), "window-long-toast.png");
}

TEST_F(MainWindowTest, UnsavedChangesAreNeverLostSilently)
{
    plan(2);
    auto& documents = window().documents();
    action("New Route")->trigger();
    EXPECT_EQ(asked, QStringList{"Save changes to 'Untitled'?"});
    EXPECT_EQ(planner().route().anchors.size(), 2u) << "Cancel keeps everything";
    action("Open…")->trigger();
    EXPECT_EQ(asked.size(), 2);

    // Save, but the save dialog is cancelled: nothing happens either.
    answer = DocumentCommands::Answer::save;
    chosenFile.clear();
    action("New Route")->trigger();
    EXPECT_EQ(planner().route().anchors.size(), 2u);
    EXPECT_FALSE(window().close()) << "closing the last window asks too";
    EXPECT_TRUE(window().isVisible());

    // Save into a folder that does not exist: the write fails, the plan stays.
    chosenFile = QDir(home->path()).filePath("missing/folder/x.gpx");
    action("New Route")->trigger();
    EXPECT_EQ(planner().route().anchors.size(), 2u);
    EXPECT_TRUE(planner().errorMessage()->startsWith("Save failed: "));

    chosenFile = QDir(home->path()).filePath("Kept.gpx");
    action("New Route")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return planner().route().anchors.empty(); }, 5000));
    EXPECT_TRUE(QFile::exists(chosenFile));
    EXPECT_FALSE(documents.settleUnsavedChanges() == false) << "a new route has nothing to lose";

    plan(2);
    answer = DocumentCommands::Answer::discard;
    const int before = asked.size();
    action("New Route")->trigger();
    EXPECT_EQ(asked.size(), before + 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return planner().route().anchors.empty(); }, 5000));
}

TEST_F(MainWindowTest, TheLibraryShowsWhatIsSavedIntoTheRoutesFolder)
{
    plan(2);
    ASSERT_TRUE(
        planner().saveDocument(QDir(services().routesFolder).filePath("2024-05-01_Runde.gpx")));
    auto* tree = window().findChild<QTreeWidget*>();
    ASSERT_TRUE(tree);
    const auto shown = [tree](const QString& name) {
        return !tree->findItems(name, Qt::MatchRecursive | Qt::MatchExactly).isEmpty();
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown("2024-05-01_Runde"); }, 10000));
    EXPECT_TRUE(shown("May 2024"));
    EXPECT_TRUE(shown("Recent"));
    EXPECT_TRUE(shown("Starred places appear here."));
}

TEST_F(MainWindowTest, LocationFixFramesOnlyAnEmptyMap)
{
    window().onLocationFix(48.1, 11.5);
    ASSERT_EQ(page.count("fit"), 1);
    EXPECT_EQ(page.last("fit").value("bounds").toArray().first().toDouble(), 11.5 - 0.02);
    EXPECT_EQ(page.last("fit").value("animated"), false);

    plan(2);
    page.scripts.clear();
    window().onLocationFix(50.0, 7.0);
    EXPECT_EQ(page.count("fit"), 0) << "a route keeps its view";
}

TEST_F(MainWindowTest, ToolKeysWorkOnTheMapButNotInTextFields)
{
    auto& map = window().mapView();
    QApplication::setActiveWindow(&window());
    map.setFocus();
    QTest::keyClick(&map, Qt::Key_V);
    EXPECT_EQ(planner().tool(), app::PlannerViewModel::Tool::via);
    QTest::keyClick(&map, Qt::Key_P);
    EXPECT_EQ(planner().tool(), app::PlannerViewModel::Tool::shaping);
    QTest::keyClick(&map, Qt::Key_Escape);
    EXPECT_EQ(planner().tool(), app::PlannerViewModel::Tool::select);

    auto* search = window().findChild<ui::SearchField*>();
    ASSERT_TRUE(search);
    search->setFocus();
    QTest::keyClick(search, Qt::Key_V);
    EXPECT_EQ(search->text(), "v");
    EXPECT_EQ(planner().tool(), app::PlannerViewModel::Tool::select);
}

TEST_F(MainWindowTest, ASecondStartHandsItsFileOver)
{
    plan(2);
    const QString path = QDir(home->path()).filePath("Handed.gpx");
    ASSERT_TRUE(planner().saveDocument(path));
    planner().newDocument();
    ASSERT_TRUE(QTest::qWaitFor([&] { return planner().route().anchors.empty(); }, 5000));

    const QString name = QStringLiteral("tramu-test-%1").arg(QCoreApplication::applicationPid());
    ui::SingleInstance running(name);
    ASSERT_TRUE(running.claim());
    EXPECT_FALSE(ui::SingleInstance(name).claim()) << "one planner per user";
    ASSERT_TRUE(running.listen([this](const QStringList& r) { return shell->handleRequest(r); }));
    // The second start runs in another process; here a thread stands in for it.
    std::optional<QString> reply;
    std::thread second([&] { reply = ui::SingleInstance::ask(name, {"open", path}); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return planner().documentName() == "Handed"; }, 10000));
    second.join();
    EXPECT_EQ(reply, "ok");
    EXPECT_EQ(planner().route().anchors.size(), 2u);
    EXPECT_FALSE(ui::SingleInstance::ask(name + "-nobody", {"status"}, 300));
}

TEST_F(MainWindowTest, AMapWithoutWebGLSaysWhy)
{
    auto* failure = window().mapView().findChild<QLabel*>("mapFailure");
    ASSERT_TRUE(failure);
    ASSERT_TRUE(QTest::qWaitFor([&] { return failure->isVisible(); }, 60000));
    EXPECT_TRUE(failure->text().contains("WebGL")) << failure->text().toStdString();
}

TEST_F(MainWindowTest, AppliedSettingsAreUsedAtOnce)
{
    plan(1);
    test::FakeGraphHopper other;
    shell->showSettings();
    ui::SettingsWindow* form = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        form = form ? form : qobject_cast<ui::SettingsWindow*>(top);
    ASSERT_TRUE(form);
    auto* routing = form->findChild<QLineEdit*>("serverRouting");
    routing->setText(other.baseURL().toString());
    EXPECT_EQ(graphHopper.locates(), 1) << "nothing changes before Apply";
    ASSERT_TRUE(form->apply());
    plan(1);
    EXPECT_EQ(graphHopper.locates() + graphHopper.routes(), 1);
    EXPECT_EQ(other.routes(), 1) << "the next leg goes to the new server";
    EXPECT_EQ(other.infos(), 1) << "and the new server is asked what it covers";
    form->close();
}

namespace {

// What the window says in its menus, toolbar, panels and sheets' places, without the '&' of
// shortcuts.
QStringList textsOf(const ui::MainWindow& window)
{
    QStringList texts;
    const auto add = [&texts](QString text) {
        text.remove(QLatin1Char('&'));
        if (!text.trimmed().isEmpty())
            texts.append(text);
    };
    for (const QAction* action : window.findChildren<QAction*>()) {
        add(action->text());
        add(action->toolTip());
    }
    for (const QMenu* menu : window.menuBar()->findChildren<QMenu*>())
        add(menu->title());
    for (const QLabel* label : window.findChildren<QLabel*>())
        add(label->text());
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>())
        add(button->text());
    for (const QComboBox* box : window.findChildren<QComboBox*>()) {
        for (int i = 0; i < box->count(); ++i)
            add(box->itemText(i));
    }
    for (const QLineEdit* field : window.findChildren<QLineEdit*>()) {
        add(field->text());
        add(field->placeholderText());
    }
    add(window.windowTitle());
    texts.removeDuplicates();
    return texts;
}

} // namespace

TEST_F(MainWindowTest, OneLanguageAtATime)
{
    plan(2);
    const QStringList english = textsOf(window());
    EXPECT_TRUE(english.contains("Map Colours"));
    EXPECT_TRUE(english.contains("Guide"));
    keepScreenshot(window(), "window-english.png");

    ui::Translations::install(*qApp, QLocale(QLocale::German, QLocale::Germany));
    QStringList german;
    {
        ui::AppShell germanShell(settings, TRAMU_MAP_FOLDER, QDir(home->path()).filePath("media"));
        german = textsOf(germanShell.mainWindow());
        germanShell.showMainWindow();
        keepScreenshot(germanShell.mainWindow(), "window-german.png");
    }
    ui::Translations::install(*qApp, QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_TRUE(german.contains("Farbauswahl"));
    EXPECT_TRUE(german.contains("Anleitung"));
    EXPECT_TRUE(german.contains("Seitenleiste"));

    // What reads the same in both windows is a word both languages share, a name or a figure.
    const QStringList shared{
        "Via",    "Gravel", "MTB",   "Name", "Details", "Details…",           "Route",
        "Format", "Symbol", "Tramu", "km",   "m",       "Routing (optional)", "USB (MTP)",
        "Cafés",  "Parks",  "…",     "↺",    "#RRGGBB"};
    const QRegularExpression figure(
        QStringLiteral("^[0-9.,:%· ]*(km|m|min|h)?[0-9.,:%· ]*$|^#[0-9A-F]{6}$"));
    QStringList both;
    for (const QString& text : english) {
        if (german.contains(text) && !shared.contains(text) && !figure.match(text).hasMatch())
            both.append(text);
    }
    EXPECT_TRUE(both.isEmpty()) << "not translated: " << both.join(" | ").toStdString();
}

TEST_F(MainWindowTest, AServerWithoutAProfileOrBeyondItsAreaIsNeverAsked)
{
    graphHopper.info = R"({"version":"11.0","elevation":false,"bbox":[10.9,47.9,11.2,48.2],)"
                       R"("profiles":[{"name":"road_bike"},{"name":"mtb"},{"name":"motorcycle"}]})";
    services().serverStatus.check(graphHopper.baseURL());
    ASSERT_TRUE(QTest::qWaitFor([&] { return services().serverStatus.info().has_value(); }, 5000));
    auto* picker = window().findChild<QComboBox*>("profilePicker");
    auto* kinds = qobject_cast<QStandardItemModel*>(picker->model());
    const int gravel = picker->findData(int(model::CostingKind::gravel));
    EXPECT_FALSE(kinds->item(gravel)->isEnabled()) << "Gravel cannot be chosen";
    EXPECT_TRUE(kinds->item(picker->findData(int(model::CostingKind::mtb)))->isEnabled());
    EXPECT_FALSE(picker->itemData(gravel, Qt::ToolTipRole).toString().isEmpty());
    auto* banner = window().findChild<ui::ServerBanner*>();
    ASSERT_TRUE(banner);
    EXPECT_TRUE(banner->isVisibleTo(&window()));
    EXPECT_TRUE(banner->text().contains("no profile 'gravel_bike'"));
    EXPECT_TRUE(banner->text().contains("no elevation data"));
    EXPECT_FALSE(window().findChild<QSlider*>("slider-avoid_climbs")->isEnabled());

    const int asked = int(graphHopper.requests.size());
    planner().addViaAt(13.40, 52.52);
    EXPECT_EQ(int(graphHopper.requests.size()), asked) << "Berlin is outside: nothing is sent";
    EXPECT_EQ(window().findChild<ui::ErrorBanner*>()->text(),
              "This point is outside the area the routing server covers");
    keepScreenshot(window(), "window-server-area.png");
}

TEST_F(MainWindowTest, HelpAndSettingsWindows)
{
    ui::HelpWindow help;
    EXPECT_EQ(help.windowTitle(), "Guide");
    const QString guide = help.browser()->toPlainText();
    EXPECT_TRUE(guide.contains("Tramu — User Guide"));
    EXPECT_TRUE(help.browser()->toHtml().contains("help-trackdetails"));
    ui::Translations::install(*qApp, QLocale(QLocale::German, QLocale::Germany));
    {
        ui::HelpWindow anleitung;
        EXPECT_EQ(anleitung.windowTitle(), "Anleitung");
        const QString text = anleitung.browser()->toPlainText();
        EXPECT_TRUE(text.contains("Tramu — Bedienungsanleitung"));
        for (const char* section :
             {"Erste Schritte", "Die Werkzeugleiste", "Route planen & bearbeiten", "Rundtour",
              "Höhenprofil & Messwerte", "Aufgezeichnete Fahrten", "Seitenleiste", "Inspektor",
              "Geräte: Garmin & Bryton", "POIs & eigene Punkte", "Kartenfarben", "Karte bedienen"})
            EXPECT_TRUE(text.contains(QString::fromUtf8(section))) << section;
    }
    ui::Translations::install(*qApp, QLocale(QLocale::English, QLocale::UnitedStates));

    ui::SettingsWindow form(settings);
    auto* routing = form.findChild<QLineEdit*>("serverRouting");
    routing->clear();
    QTest::keyClicks(routing, "gh.local:8989");
    EXPECT_EQ(form.problems(), "Routing: write a server address with scheme and host, like "
                               "http://gh.local:8989.")
        << "not a server address, and it says so before it is used";
    EXPECT_FALSE(form.apply());
    EXPECT_EQ(settings.value("server.routing").toString(), graphHopper.baseURL().toString());
    form.resetToDefault();
    EXPECT_TRUE(form.problems().isEmpty());
    ASSERT_TRUE(form.apply());
    EXPECT_EQ(settings.value("server.routing").toString(), "");
    EXPECT_EQ(settings.value("server.base").toString(), "http://127.0.0.1");

    // Escape, even from a field, and Ctrl+W close them as they close a dialog.
    for (auto [secondary, target, key, modifiers] :
         {std::tuple<QWidget*, QWidget*, Qt::Key, Qt::KeyboardModifiers>{
              &form, routing, Qt::Key_Escape, {}},
          {&help, help.browser(), Qt::Key_W, Qt::ControlModifier}}) {
        secondary->show();
        QApplication::setActiveWindow(secondary);
        target->setFocus();
        QTest::keyClick(target, key, modifiers);
        EXPECT_FALSE(secondary->isVisible()) << qPrintable(secondary->windowTitle());
    }

    // Closing the main window while the guide is open keeps the planner; Ctrl+0 brings it back.
    shell->showHelp();
    EXPECT_TRUE(window().close());
    EXPECT_FALSE(window().isVisible());
    action("Main Window")->trigger();
    EXPECT_TRUE(window().isVisible());
}

int main(int argc, char** argv)
{
    QTemporaryDir temporary;
    home = &temporary;
    for (const char* variable : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"})
        qputenv(variable, temporary.path().toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    zuvo::ui::registerMapScheme();
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
