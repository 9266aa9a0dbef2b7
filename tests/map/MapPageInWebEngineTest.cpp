#include "map/MapEvent.h"
#include "ui/MapScheme.h"
#include "ui/MapSchemeHandler.h"

#include <QApplication>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QVariantMap>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <gtest/gtest.h>

using namespace zuvo;

namespace {

// Stands in for the application's end of the page's events: the QWebChannel object "zuvo".
class EventSink : public QObject {
    Q_OBJECT

public:
    QList<QVariantMap> events;

    bool has(const QString& name) const
    {
        return std::any_of(events.begin(), events.end(),
                           [&](const QVariantMap& event) { return event["event"] == name; });
    }

public slots:
    void postMessage(const QVariantMap& event) { events.append(event); }
};

// Shows the page's console in the test output, so that a failure says what the page saw.
class ConsolePage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message, int line,
                                  const QString& source) override
    {
        qWarning().noquote() << source << line << message;
    }
};

// The map page in the real web engine (Chromium 102), served through the private scheme.
class MapPageInWebEngine : public testing::Test {
protected:
    void SetUp() override
    {
        m_profile.installUrlSchemeHandler(ui::mapSchemeName, &m_handler);
        m_channel.registerObject("zuvo", &m_sink);
        m_page.setWebChannel(&m_channel);
        m_view.setPage(&m_page);
        m_view.resize(900, 650);
        m_view.show();
        m_page.load(
            QUrl("zuvomap://map/map.html?style=style.json&terrain=http%3A%2F%2F127.0.0.1%3A9"
                 "%2Fpmtiles%2Fterrain-germany.pmtiles&terrainEncoding=terrarium&customGlyph="
                 "%F0%9F%8D%BA"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return m_sink.has("ready"); }, 60000))
            << "the page never posted ready";
    }

    QVariant evaluate(const QString& script)
    {
        QVariant result;
        bool done = false;
        m_page.runJavaScript(script, [&](const QVariant& value) {
            result = value;
            done = true;
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 10000));
        return result;
    }

    void send(const QString& command, const QVariantMap& payload)
    {
        const QVariantMap message{{"command", command}, {"payload", payload}};
        const QByteArray json = QJsonDocument::fromVariant(message).toJson(QJsonDocument::Compact);
        evaluate("window.zuvo && window.zuvo.receive(" + QString::fromUtf8(json) + ")");
    }

    EventSink m_sink;
    map::StyleSubstitution m_substitution{.tilesBase = "http://127.0.0.1:9"};
    ui::MapSchemeHandler m_handler{TRAMU_MAP_FOLDER, [this] { return m_substitution; }};
    QWebEngineProfile m_profile;
    ConsolePage m_page{&m_profile};
    QWebChannel m_channel;
    QWebEngineView m_view;
};

TEST_F(MapPageInWebEngine, RunsThePageAndItsCommands)
{
    EXPECT_EQ(evaluate("window.zuvo.map.getStyle().sources.protomaps.url").toString(),
              "pmtiles://http://127.0.0.1:9/pmtiles/basemap.pmtiles");
    EXPECT_TRUE(
        evaluate(
            "window.zuvo.map.getCanvas().getContext('webgl2') instanceof WebGL2RenderingContext")
            .toBool());

    const QVariantList route{QVariantList{6.9, 50.93}, QVariantList{6.95, 50.96},
                             QVariantList{7.0, 50.94}};
    send("setGradientMode", {{"enabled", true}});
    send("setRoute", {{"coordinates", route},
                      {"grades", QVariantList{0.0, 9.0, -6.0}},
                      {"progress", QVariantList{0.0, 0.5, 1.0}}});
    send("fit", {{"bounds", QVariantList{6.88, 50.92, 7.02, 50.97}}, {"animated", false}});
    const QVariantList gradient =
        evaluate("window.zuvo.map.getPaintProperty('zuvo-route-line', 'line-gradient')").toList();
    ASSERT_EQ(gradient.size(), 9);
    EXPECT_EQ(gradient[5].toDouble(), 0.5);

    // The world background arrives through the scheme with XMLHttpRequest.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return evaluate("!!window.zuvo.map.getLayer('zuvo-world-land')").toBool(); }, 20000));

    // Real clicks on the view: the page answers with tap and context menu events.
    QWidget* input = m_view.focusProxy() ? m_view.focusProxy() : &m_view;
    QTest::mouseClick(input, Qt::LeftButton, {}, QPoint(300, 300));
    QTest::mouseClick(input, Qt::RightButton, {}, QPoint(500, 200));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return m_sink.has("tap") && m_sink.has("contextMenu"); }, 10000));

    QTest::qWait(1500);
    const QString artifacts = QStringLiteral(TRAMU_ARTIFACT_DIR);
    QDir().mkpath(artifacts);
    EXPECT_TRUE(m_view.grab().save(artifacts + "/map-webengine.png"));
    // Every event the page posted decodes on the application's side.
    for (const QVariantMap& event : m_sink.events) {
        EXPECT_TRUE(map::MapEvent::parse(QJsonObject::fromVariantMap(event)))
            << QJsonDocument::fromVariant(event).toJson().toStdString();
    }
    // The tile server is unreachable on purpose; nothing else may go wrong.
    for (const QVariantMap& event : m_sink.events) {
        if (event["event"] == "log") {
            EXPECT_TRUE(event["message"].toString().startsWith("map: "))
                << event["message"].toString().toStdString();
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    // The web engine's sandbox refuses to run as root, and WebGL needs the GPU blocklist ignored
    // on the software renderer of the X server the test runs under.
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--ignore-gpu-blocklist");
    ui::registerMapScheme();
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

#include "MapPageInWebEngineTest.moc"
