// tramu: the route planner's window. A second start hands its files to the running planner.
#include "devices/MassStorageTransport.h"
#include "ui/MapScheme.h"
#include "ui/shell/AppShell.h"
#include "ui/shell/DarkPalette.h"
#include "ui/shell/SingleInstance.h"
#include "ui/shell/Translations.h"
#include "ui/window/DocumentCommands.h"
#include "ui/window/MainWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTextStream>

#include <unistd.h>

namespace {

// The Map folder beside the executable: share/tramu/Map in the install and the build tree.
QString mapFolder()
{
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(QStringLiteral("../share/tramu/Map"));
}

} // namespace

int main(int argc, char** argv)
{
    using namespace zuvo::ui;
    // The web engine refuses to run its sandbox as root; and the map draws with WebGL, which a
    // software renderer offers only past the GPU blocklist.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--ignore-gpu-blocklist");
    registerMapScheme();

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tramu"));
    QApplication::setOrganizationName(QStringLiteral("tramu"));
    QApplication::setApplicationVersion(QStringLiteral(TRAMU_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("tramu"));
    Translations::install(application);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Route planner for cyclists and motorcyclists"));
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption status(QStringLiteral("status"),
                              QStringLiteral("Print the running planner's status line and exit."));
    parser.addOption(status);
    parser.addPositionalArgument(QStringLiteral("files"),
                                 QStringLiteral("GPX, FIT or Bryton track files: a route "
                                                "opens, a ride or track is shown."),
                                 QStringLiteral("[FILE…]"));
    parser.process(application);

    QStringList files;
    for (const QString& file : parser.positionalArguments())
        files.append(QFileInfo(file).absoluteFilePath());
    const QString instance = SingleInstance::defaultName();
    if (parser.isSet(status)) {
        const auto answer = SingleInstance::ask(instance, {QStringLiteral("status")});
        if (!answer) {
            QTextStream(stderr) << "tramu: no planner is running\n";
            return 1;
        }
        QTextStream(stdout) << *answer << '\n';
        return 0;
    }
    const QStringList request = files.isEmpty() ? QStringList{QStringLiteral("activate")}
                                                : QStringList{QStringLiteral("open")} + files;
    SingleInstance single(instance);
    if (!single.claim()) {
        // A planner runs (perhaps still starting up): it takes the files, never a second one.
        if (SingleInstance::askPatiently(instance, request, 20000))
            return 0;
        QTextStream(stderr) << "tramu: a planner is already running but does not answer; "
                               "try again in a moment\n";
        return 1;
    }

    applyDarkAppearance(application);
    QSettings settings;
    AppShell shell(settings, mapFolder(),
                   zuvo::devices::MassStorageTransport::defaultVolumesDirectory());
    if (!single.listen(
            [&shell](const QStringList& request) { return shell.handleRequest(request); }))
        QTextStream(stderr) << "tramu: files opened from elsewhere cannot reach this planner\n";
    shell.showMainWindow();
    shell.offerRecovery();
    shell.mainWindow().documents().openLater(files);
    return application.exec();
}
