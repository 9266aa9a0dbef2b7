// The real tramu binary in a real X server (xvfb-exec), driven like a user with xdotool: the map
// page loads through the private scheme, two clicks with the Via tool plan a route on a loopback
// GraphHopper, the route is saved through the save dialog and opened again, and a screenshot of
// the window is kept for a person to look at.
#include "FakeGraphHopper.h"
#include "formats/RouteDocumentCoder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
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
        env.insert("XDG_STATE_HOME", home.filePath(".local/state"));
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
        for (const char* folder : {"tmp", "run", ".config/tramu", "Documents/zuvo Routes"})
            ASSERT_TRUE(QDir(home.path()).mkpath(folder));
        QFile::setPermissions(home.filePath("run"), QFileDevice::ReadOwner |
                                                        QFileDevice::WriteOwner |
                                                        QFileDevice::ExeOwner);
        QSettings settings(home.filePath(".config/tramu/tramu.conf"), QSettings::IniFormat);
        settings.setValue("server.routing", graphHopper.baseURL().toString());
        settings.setValue("server.tiles", "http://127.0.0.1:9");
    }

    // The visible windows whose name ends in "Tramu": the planner's, and a question it asks.
    QStringList windows() const
    {
        return xdotool({"search", "--onlyvisible", "--name", "Tramu$"})
            .split('\n', Qt::SkipEmptyParts);
    }

    // Starts the planner and waits for its window (the largest one of that name: a question it
    // asks at start carries the same name).
    void start(const QStringList& arguments = {})
    {
        app.setProcessEnvironment(environment());
        app.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        app.start(TRAMU_APP, arguments);
        ASSERT_TRUE(app.waitForStarted(10000));
        window.clear();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                int largest = 0;
                for (const QString& id : windows()) {
                    const int area = geometry(id).width() * geometry(id).height();
                    if (area > largest) {
                        largest = area;
                        window = id;
                    }
                }
                return largest > 300 * 300 || app.state() == QProcess::NotRunning;
            },
            30000));
        ASSERT_EQ(app.state(), QProcess::Running)
            << "tramu quit before its window showed, exit code " << app.exitCode() << " on display "
            << qPrintable(qEnvironmentVariable("DISPLAY")) << ", which the test itself "
            << (xdotool({"getdisplaygeometry"}).isEmpty() ? "cannot reach" : "reaches");
        ASSERT_FALSE(window.isEmpty()) << "no window";
    }

    // A second start handing over its arguments: its exit code and how long it took.
    std::pair<int, qint64> secondStart(const QStringList& arguments) const
    {
        QElapsedTimer clock;
        clock.start();
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(TRAMU_APP, arguments);
        if (!process.waitForFinished(30000))
            return {-1, clock.elapsed()};
        return {process.exitCode(), clock.elapsed()};
    }

    // Answers the question the planner shows with a key.
    void answer(const QString& key)
    {
        QString question;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                for (const QString& id : windows()) {
                    if (id != window)
                        question = id;
                }
                return !question.isEmpty();
            },
            10000))
            << "no question";
        xdotool({"windowfocus", "--sync", question});
        xdotool({"key", "--clearmodifiers", key});
        ASSERT_TRUE(QTest::qWaitFor([&] { return !windows().contains(question); }, 10000));
    }

    // Via points placed by clicks until the status counts `anchors` of them.
    void placeVia(const QList<QPoint>& points, int anchors)
    {
        const QPoint centre = geometry(window).center();
        click(centre);
        keys("v");
        const int before = graphHopper.locates();
        const bool located = QTest::qWaitFor(
            [&] {
                click(points.front());
                return QTest::qWaitFor([&] { return graphHopper.locates() > before; }, 5000);
            },
            60000);
        ASSERT_TRUE(located) << "the first click never reached the planner";
        for (const QPoint& at : points.mid(1))
            click(at);
        const QString count = QString::number(anchors) + " anchors";
        ASSERT_TRUE(QTest::qWaitFor([&] { return status().endsWith(count); }, 15000))
            << status().toStdString();
    }

    void TearDown() override
    {
        if (HasFailure())
            screenshot("tramu-failure.png");
        app.kill();
        app.waitForFinished(5000);
    }

    // A window's place on the screen.
    QRect geometry(const QString& id) const
    {
        QRect rect;
        for (const QString& line : xdotool({"getwindowgeometry", "--shell", id}).split('\n')) {
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
    start();
    const QRect frame = geometry(window);
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
    ASSERT_TRUE(QTest::qWaitFor([&] { return status().endsWith("1 anchor"); }, 10000))
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
    ASSERT_TRUE(QTest::qWaitFor([&] { return status().endsWith("start a route."); }, 5000));
    const int routed = graphHopper.routes();
    run(TRAMU_APP, {saved}, environment());
    ASSERT_TRUE(QTest::qWaitFor([&] { return status().endsWith("2 anchors"); }, 15000))
        << status().toStdString();
    EXPECT_GT(graphHopper.routes(), routed);
}

namespace {

// A saved plan between two points, its leg a straight line of twenty points.
QByteArray planDocument(const QString& name, zuvo::model::Coordinate from,
                        zuvo::model::Coordinate to)
{
    using namespace zuvo::model;
    std::vector<Coordinate> line;
    for (int i = 0; i < 20; ++i) {
        const double t = i / 19.0;
        line.push_back({from.latitude + (to.latitude - from.latitude) * t,
                        from.longitude + (to.longitude - from.longitude) * t, 200.0});
    }
    Route route{.anchors = {Anchor(Anchor::Kind::via, from, Anchor::Snap{from, std::nullopt}),
                            Anchor(Anchor::Kind::via, to, Anchor::Snap{to, std::nullopt})}};
    route.legs = {RouteLeg{{{.coordinates = line, .distance = from.distance(to)}}}};
    return zuvo::formats::RouteDocumentCoder::encode(route, {CostingKind::road, {}}, name);
}

// Where the screen shows the route's orange line within `area`.
QRect routeOnScreen(const QImage& shot, const QRect& area)
{
    QRect found;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            if (std::abs(c.red() - 255) < 30 && std::abs(c.green() - 122) < 35 &&
                std::abs(c.blue() - 24) < 45)
                found |= QRect(x, y, 1, 1);
        }
    }
    return found;
}

} // namespace

TEST_F(EndToEnd, AFileFromOutsideWaitsForTheQuestionAndNothingIsLost)
{
    const QString folder = home.filePath("Documents/zuvo Routes/");
    const QString kandel = folder + "Kandel.gpx";
    const QString other = folder + "Other.gpx";
    for (const auto& [path, from, to] : {std::tuple{kandel, zuvo::model::Coordinate{48.06, 7.95},
                                                    zuvo::model::Coordinate{48.10, 8.02}},
                                         std::tuple{other, zuvo::model::Coordinate{48.20, 7.90},
                                                    zuvo::model::Coordinate{48.25, 7.99}}}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(planDocument(QFileInfo(path).completeBaseName(), from, to));
    }

    // Opened at start, the way the desktop entry opens a file: drawn, and the map moved onto it.
    start({kandel});
    ASSERT_TRUE(QTest::qWaitFor([&] { return status().endsWith("2 anchors"); }, 15000))
        << status().toStdString();
    const QRect frame = geometry(window);
    const QRect mapArea(frame.left() + frame.width() / 5, frame.top() + 60, frame.width() * 3 / 5,
                        frame.height() / 2);
    QRect drawn;
    const QString shotPath = QStringLiteral(TRAMU_ARTIFACT_DIR "/tramu-opened-at-start.png");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            screenshot("tramu-opened-at-start.png");
            drawn = routeOnScreen(QImage(shotPath), mapArea);
            return drawn.width() > mapArea.width() / 3;
        },
        60000))
        << "the route covers " << drawn.width() << " of " << mapArea.width() << " pixels";

    // Unsaved changes, then a file from a file manager: the second start ends at once and the
    // planner asks; Cancel keeps everything as it was.
    placeVia({frame.center() + QPoint(-60, 90)}, 3);
    const auto [code, took] = secondStart({other});
    EXPECT_EQ(code, 0);
    EXPECT_LT(took, 5000) << "the planner answers before the question is answered";
    answer("Escape");
    EXPECT_EQ(app.state(), QProcess::Running);
    EXPECT_TRUE(status().endsWith("3 anchors")) << status().toStdString();
    EXPECT_EQ(windows(), QStringList{window}) << "never a second planner";

    // Again, and Save: the plan is saved in place, then the other file opens.
    EXPECT_EQ(secondStart({other}).first, 0);
    answer("Return");
    ASSERT_TRUE(QTest::qWaitFor([&] { return status().endsWith("2 anchors"); }, 15000))
        << status().toStdString();
    QFile saved(kandel);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(zuvo::formats::RouteDocumentCoder::decode(saved.readAll())->anchors.size(), 3u);
    QTest::qWait(500);
    EXPECT_EQ(app.state(), QProcess::Running);
    screenshot("tramu-other-opened.png");
}

TEST_F(EndToEnd, APlannerThatWasKilledOffersItsUnsavedRouteBack)
{
    start();
    const QPoint centre = geometry(window).center();
    placeVia({centre + QPoint(-120, 40), centre + QPoint(140, -30)}, 2);
    QTest::qWait(1000);
    app.kill(); // SIGKILL: nothing runs on the way out
    ASSERT_TRUE(app.waitForFinished(5000));

    start();
    answer("Return"); // Restore
    ASSERT_TRUE(QTest::qWaitFor([&] { return status().endsWith("2 anchors"); }, 15000))
        << status().toStdString();
    screenshot("tramu-restored.png");
    // Still unsaved: quitting asks.
    keys("ctrl+q");
    answer("Escape");
    EXPECT_EQ(app.state(), QProcess::Running);
}
