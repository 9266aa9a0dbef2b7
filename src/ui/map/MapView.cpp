#include "ui/map/MapView.h"

#include "map/PageSink.h"
#include "ui/MapScheme.h"

#include <QEvent>
#include <QResizeEvent>
#include <QUrlQuery>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <algorithm>

namespace zuvo::ui {

namespace {

// The bridge's commands, evaluated in the page.
class WebPageSink final : public map::PageSink {
public:
    WebPageSink(QWebEnginePage* page)
        : map::PageSink(page)
        , m_page(page)
    {
    }

    void runScript(const QString& script) override { m_page->runJavaScript(script); }

private:
    QWebEnginePage* m_page;
};

} // namespace

MapView::MapView(map::MapBridge& bridge, Start start, QWidget* parent)
    : QWidget(parent)
    , m_start(start)
    , m_handler(start.mapFolder,
                [tilesBase = start.tilesBase] {
                    return map::StyleSubstitution{.tilesBase = tilesBase()};
                })
    , m_profile(new QWebEngineProfile(this))
    , m_page(new QWebEnginePage(m_profile, this))
    , m_view(new QWebEngineView(this))
    , m_failure(new QLabel(this))
{
    m_profile->installUrlSchemeHandler(mapSchemeName, &m_handler);
    m_page->setBackgroundColor(QColor(0x1e, 0x1f, 0x22));
    m_channel.registerObject(QStringLiteral("zuvo"), &bridge);
    m_page->setWebChannel(&m_channel);
    m_view->setPage(m_page);
    m_view->setContextMenuPolicy(Qt::NoContextMenu);
    bridge.setPage(new WebPageSink(m_page));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);

    m_failure->setObjectName(QStringLiteral("mapFailure"));
    m_failure->setWordWrap(true);
    m_failure->setAlignment(Qt::AlignCenter);
    m_failure->setStyleSheet(QStringLiteral(
        "QLabel { background: #2b2d31; color: #e8e8e8; padding: 24px; font-size: 15px; }"));
    m_failure->hide();

    connect(m_page, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        if (!ok)
            showFailure(tr("The map page could not be loaded. The application's Map folder may "
                           "be missing; reinstalling Tramu brings it back."));
    });
    connect(m_page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int) {
                if (status != QWebEnginePage::NormalTerminationStatus)
                    showFailure(tr("The map stopped working (its renderer ended). Restart Tramu "
                                   "to bring it back; your route is still here."));
            });
    m_page->load(startURL(start.tilesBase(), start.customGlyph));
}

MapView::~MapView()
{
    // The page must go before the profile that holds its scheme handler.
    delete m_view;
    delete m_page;
}

void MapView::reload()
{
    m_failure->hide();
    m_page->load(startURL(m_start.tilesBase(), m_start.customGlyph));
}

QUrl MapView::startURL(const QString& tilesBase, const QString& customGlyph)
{
    QUrl url;
    url.setScheme(QString::fromLatin1(mapSchemeName));
    url.setHost(QStringLiteral("map"));
    url.setPath(QStringLiteral("/map.html"));
    QUrlQuery query;
    const auto encoded = [](const QString& value) {
        return QString::fromLatin1(QUrl::toPercentEncoding(value));
    };
    query.addQueryItem(QStringLiteral("style"), QStringLiteral("style.json"));
    query.addQueryItem(QStringLiteral("terrain"),
                       encoded(tilesBase + QStringLiteral("/pmtiles/terrain-germany.pmtiles")));
    query.addQueryItem(QStringLiteral("terrainEncoding"), QStringLiteral("terrarium"));
    query.addQueryItem(QStringLiteral("customGlyph"), encoded(customGlyph));
    url.setQuery(query);
    return url;
}

void MapView::addOverlay(QWidget* overlay, Qt::Alignment alignment, int margin, QWidget* below)
{
    overlay->setParent(this);
    m_overlays.push_back({overlay, alignment, margin, below});
    overlay->installEventFilter(this);
    overlay->raise();
    placeOverlays();
}

void MapView::showFailure(const QString& text)
{
    m_failure->setText(text);
    m_failure->setGeometry(rect());
    m_failure->show();
    m_failure->raise();
}

void MapView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_failure->setGeometry(rect());
    placeOverlays();
}

bool MapView::event(QEvent* event)
{
    // An overlay whose size hint changed asks its parent for a new layout.
    if (event->type() == QEvent::LayoutRequest)
        placeOverlays();
    return QWidget::event(event);
}

bool MapView::eventFilter(QObject* watched, QEvent* event)
{
    // Overlays that change size or show up are placed again.
    if (event->type() == QEvent::Resize || event->type() == QEvent::Show ||
        event->type() == QEvent::LayoutRequest) {
        for (const auto& overlay : m_overlays) {
            if (overlay.widget == watched)
                placeOverlays();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MapView::placeOverlays()
{
    for (const auto& overlay : m_overlays) {
        QWidget* w = overlay.widget;
        if (!w)
            continue;
        const int room = width() - 2 * overlay.margin;
        QSize size = w->sizeHint().expandedTo(w->minimumSize());
        // A banner (justified) spans the map, as tall as its wrapped lines need at that width;
        // anything else keeps its own size within it.
        if (overlay.alignment & Qt::AlignJustify) {
            size.setWidth(room);
            if (w->hasHeightForWidth())
                size.setHeight(std::max(size.height(), w->heightForWidth(room)));
        }
        size = size.boundedTo(QSize(room, height() - 2 * overlay.margin));
        int x = (width() - size.width()) / 2;
        int y = (height() - size.height()) / 2;
        if (overlay.alignment & Qt::AlignLeft)
            x = overlay.margin;
        if (overlay.alignment & Qt::AlignRight)
            x = width() - size.width() - overlay.margin;
        if (overlay.alignment & Qt::AlignTop) {
            y = overlay.margin;
            if (overlay.below && overlay.below->isVisible() && overlay.below->height() > 0)
                y = overlay.below->geometry().bottom() + 8;
        }
        if (overlay.alignment & Qt::AlignBottom)
            y = height() - size.height() - overlay.margin;
        w->setGeometry(QRect(QPoint(x, y), size));
        w->raise();
    }
    if (m_failure->isVisible())
        m_failure->raise();
}

} // namespace zuvo::ui
