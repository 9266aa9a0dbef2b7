// The real tramu binary in a real X server (xvfb-exec), driven like a user with xdotool: the map
// page loads through the private scheme, two clicks with the Via tool plan a route on a loopback
// GraphHopper, the route is saved through the save dialog and opened again, and a screenshot of
// the window is kept for a person to look at.
#include "FakeGraphHopper.h"
#include "formats/RouteDocumentCoder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using zuvo::test::FakeGraphHopper;

class EndToEnd : public ::testing::Test {
protected:
    QTemporaryDir home;
    FakeGraphHopper graphHopper;
    QProcess app;
    QString window;

    QProcessEnvironment environment() const
    {
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", home.path());
        env.insert("TMPDIR", home.filePath("tmp"));
        env.insert("XDG_RUNTIME_DIR", home.filePath("run"));
        env.insert("XDG_CONFIG_HOME", home.filePath(".config"));
        env.insert("XDG_DATA_HOME", home.filePath(".local/share"));
        return env;
    }

    static QString run(const QString& program, const QStringList& arguments,
                       const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
    {
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(program, arguments);
        process.waitForFinished(20000);
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    }

    QString xdotool(const QStringList& arguments) const
    {
        return run(QStringLiteral("xdotool"), arguments);
    }

    QString status() const { return run(TRAMU_APP, {"--status"}, environment()); }

    void SetUp() override
    {
        for (const char* folder : {"tmp", "run", ".config/tramu"})
            ASSERT_TRUE(QDir(home.path()).mkpath(folder));
        QFile::setPermissions(home.filePath("run"), QFileDevice::ReadOwner |
                                                        QFileDevice::WriteOwner |
                                                        QFileDevice::ExeOwner);
        {
            QSettings settings(home.filePath(".config/tramu/tramu.conf"), QSettings::IniFormat);
            settings.setValue("server.routing", graphHopper.baseURL().toString());
            settings.setValue("server.tiles", "http://127.0.0.1:9");
        }
        app.setProcessEnvironment(environment());
        app.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        app.start(TRAMU_APP, {});
        ASSERT_TRUE(app.waitForStarted(10000));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                window =
                    xdotool({"search", "--onlyvisible", "--name", "^Tramu$"}).section('\n', 0, 0);
                return !window.isEmpty() || app.state() == QProcess::NotRunning;
            },
            30000));
        ASSERT_EQ(app.state(), QProcess::Running)
            << "tramu quit before its window showed, exit code " << app.exitCode() << " on display "
            << qPrintable(qEnvironmentVariable("DISPLAY")) << ", which the test itself "
            << (xdotool({"getdisplaygeometry"}).isEmpty() ? "cannot reach" : "reaches");
        ASSERT_FALSE(window.isEmpty()) << "no window";
    }

    void TearDown() override
    {
        if (HasFailure())
            screenshot("tramu-failure.png");
        app.kill();
        app.waitForFinished(5000);
    }

    // The window's place on the screen.
    QRect geometry() const
    {
        QRect rect;
        for (const QString& line : xdotool({"getwindowgeometry", "--shell", window}).split('\n')) {
            const auto value = line.section('=', 1).toInt();
            if (line.startsWith("X="))
                rect.moveLeft(value);
            else if (line.startsWith("Y="))
                rect.moveTop(value);
            else if (line.startsWith("WIDTH="))
                rect.setWidth(value);
            else if (line.startsWith("HEIGHT="))
                rect.setHeight(value);
        }
        return rect;
    }

    static void screenshot(const QString& name)
    {
        const QString artifacts = QStringLiteral(TRAMU_ARTIFACT_DIR);
        QDir().mkpath(artifacts);
        run("sh", {"-c", "xwd -root -silent | convert xwd:- '" + artifacts + "/" + name + "'"});
    }

    void click(const QPoint& at)
    {
        xdotool({"mousemove", QString::number(at.x()), QString::number(at.y())});
        QTest::qWait(150);
        xdotool({"click", "1"});
    }

    void keys(const QString& sequence)
    {
        xdotool({"windowfocus", "--sync", window});
        xdotool({"key", "--clearmodifiers", sequence});
    }
};

} // namespace

TEST_F(EndToEnd, PlansSavesAndOpensARouteWithRealClicks)
{
    const QRect frame = geometry();
    ASSERT_GT(frame.width(), 600);
    const QPoint centre = frame.center();
    const QPoint first = centre + QPoint(-120, 40);
    const QPoint second = centre + QPoint(140, -30);

    // The page reports ready some seconds after the window shows; until then a click does
    // nothing, so the first click is repeated until the planner asks the server about it.
    // A click on the map gives it the keys; V then picks the Via tool.
    click(centre);
    keys("v");
    const bool located = QTest::qWaitFor(
        [&] {
            click(first);
            return QTest::qWaitFor([&] { return graphHopper.locates() > 0; }, 5000);
        },
        60000);
    ASSERT_TRUE(located) << "the first click never reached the planner";
    ASSERT_TRUE(QTest::qWaitFor([&] { return status().endsWith("1 anchors"); }, 10000))
        << status().toStdString();
    click(second);
    ASSERT_TRUE(QTest::qWaitFor([&] { return status().endsWith("2 anchors"); }, 15000))
        << status().toStdString();
    EXPECT_EQ(graphHopper.routes(), 1);
    EXPECT_TRUE(status().contains(QRegularExpression("^[0-9.]+ km · [1-4][0-9] m · 2 anchors$")))
        << status().toStdString();

    QTest::qWait(1500);
    screenshot("tramu-window.png");
    EXPECT_TRUE(QFile::exists(QStringLiteral(TRAMU_ARTIFACT_DIR "/tramu-window.png")));

    // Save As: the dialog starts in the routes folder; a name and Return save there.
    keys("ctrl+shift+s");
    QTest::qWait(1500);
    xdotool({"type", "--delay", "40", "Sonntag.gpx"});
    xdotool({"key", "Return"});
    const QString saved = home.filePath("Documents/zuvo Routes/Sonntag.gpx");
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(saved); }, 10000));
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const auto document = zuvo::formats::RouteDocumentCoder::decode(file.readAll());
    ASSERT_TRUE(document);
    EXPECT_EQ(document->anchors.size(), 2u);

    // A new route, then the file handed over by a second start: it opens as a route again.
    keys("ctrl+n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return status().startsWith("Choose the Via tool"); }, 5000));
    const int routed = graphHopper.routes();
    run(TRAMU_APP, {saved}, environment());
    ASSERT_TRUE(QTest::qWaitFor([&] { return status().endsWith("2 anchors"); }, 15000))
        << status().toStdString();
    EXPECT_GT(graphHopper.routes(), routed);
}
