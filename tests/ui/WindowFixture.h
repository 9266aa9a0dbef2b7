#pragma once

// The main window built by the application shell as tramu builds it, in a temporary home, with
// the planner on a loopback GraphHopper and the page's commands recorded.
#include "FakeGraphHopper.h"
#include "RecordingPage.h"
#include "app/planner/PlannerViewModel.h"
#include "map/MapBridge.h"
#include "ui/MapScheme.h"
#include "ui/map/MapView.h"
#include "ui/map/SearchField.h"
#include "ui/shell/AppShell.h"
#include "ui/shell/SingleInstance.h"
#include "ui/window/DocumentCommands.h"
#include "ui/window/ErrorBanner.h"
#include "ui/window/HelpWindow.h"
#include "ui/window/MainWindow.h"
#include "ui/window/SettingsWindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QWebEngineView>

#include <gtest/gtest.h>

namespace zuvo::test {

using ui::DocumentCommands;

// The temporary home of the whole test program, set up before the application object.
extern QTemporaryDir* home;

// Keeps what the widget shows in the build tree's artifacts/, for a person to look at.
inline void keepScreenshot(QWidget& widget, const QString& name)
{
    const QString folder = QStringLiteral(TRAMU_ARTIFACT_DIR);
    QDir().mkpath(folder);
    EXPECT_TRUE(widget.grab().save(QDir(folder).filePath(name)));
}

class MainWindowTest : public ::testing::Test {
protected:
    test::FakeGraphHopper graphHopper;
    QSettings settings{QDir(home->path()).filePath("settings.ini"), QSettings::IniFormat};
    std::unique_ptr<ui::AppShell> shell;
    test::RecordingPage page;
    QStringList asked;
    DocumentCommands::Answer answer = DocumentCommands::Answer::cancel;
    QString chosenFile;
    std::optional<DocumentCommands::Purpose> chosenFor;

    void SetUp() override
    {
        settings.clear();
        settings.setValue("server.routing", graphHopper.baseURL().toString());
        settings.setValue("server.tiles", "http://127.0.0.1:9");
        shell = std::make_unique<ui::AppShell>(settings, TRAMU_MAP_FOLDER,
                                               QDir(home->path()).filePath("media"));
        services().bridge.setPage(&page);
        auto& documents = window().documents();
        documents.setAsk([this](const QString& question) {
            asked.append(question);
            return answer;
        });
        documents.setChooseFile(
            [this](DocumentCommands::Purpose purpose, const QString&, const QString&) {
                chosenFor = purpose;
                return chosenFile;
            });
        shell->showMainWindow();
    }

    ui::Services& services() { return shell->services(); }
    app::PlannerViewModel& planner() { return services().planner; }
    ui::MainWindow& window() { return shell->mainWindow(); }

    QAction* action(const QString& text)
    {
        for (QAction* a : window().findChildren<QAction*>() + window().actions()) {
            if (a->text() == text)
                return a;
        }
        ADD_FAILURE() << "no action " << text.toStdString();
        return nullptr;
    }

    void plan(int anchors)
    {
        for (int i = 0; i < anchors; ++i) {
            planner().addViaAt(11.0 + 0.01 * double(planner().route().anchors.size()), 48.0);
            ASSERT_TRUE(QTest::qWaitFor([&] { return !planner().isRouting(); }, 10000));
        }
    }
};

} // namespace zuvo::test
