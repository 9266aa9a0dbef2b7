#pragma once

#include "map/MapBridge.h"
#include "ui/MapSchemeHandler.h"

#include <QLabel>
#include <QPointer>
#include <QWebChannel>
#include <QWidget>

#include <vector>

class QWebEnginePage;
class QWebEngineProfile;
class QWebEngineView;

namespace zuvo::ui {

// The map panel: the map page in a web view, served through the private scheme and joined to
// the bridge (commands run as scripts, events arrive over the web channel), with native controls
// laid over it. When the page cannot start (no WebGL, say) it shows why instead of a blank area.
class MapView : public QWidget {
    Q_OBJECT

public:
    struct Start {
        QString mapFolder;
        // Read again each time the page asks for its style.
        std::function<QString()> tilesBase;
        QString customGlyph;
    };

    MapView(map::MapBridge& bridge, Start start, QWidget* parent = nullptr);
    ~MapView() override;

    QWebEngineView* webView() const { return m_view; }
    // The start URL: style, terrain archive on the tile server, its encoding and the POI symbol.
    static QUrl startURL(const QString& tilesBase, const QString& customGlyph);

    // Keeps `overlay` over the map at that edge or corner, `margin` points in; at the top, below
    // `below` while that one shows.
    void addOverlay(QWidget* overlay, Qt::Alignment alignment, int margin = 12,
                    QWidget* below = nullptr);
    // Loads the page again, with the tile address as it is now.
    void reload();
    // A line over the map saying why it shows nothing.
    void showFailure(const QString& text);
    bool hasFailed() const { return m_failure->isVisible(); }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeOverlays();

    Start m_start;

    struct Overlay {
        QPointer<QWidget> widget;
        Qt::Alignment alignment;
        int margin;
        QPointer<QWidget> below;
    };

    MapSchemeHandler m_handler;
    QWebEngineProfile* m_profile;
    QWebEnginePage* m_page;
    QWebEngineView* m_view;
    QWebChannel m_channel;
    QLabel* m_failure;
    std::vector<Overlay> m_overlays;
};

} // namespace zuvo::ui
