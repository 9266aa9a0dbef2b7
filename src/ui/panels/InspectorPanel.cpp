#include "ui/panels/InspectorPanel.h"

#include "app/planner/CueList.h"
#include "app/planner/PanelRules.h"
#include "app/planner/PlannerViewModel.h"
#include "app/settings/RoutingServerStatus.h"
#include "model/RouteStats.h"
#include "ui/Heading.h"
#include "ui/panels/CueListView.h"

#include <QCoreApplication>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QSlider>
#include <QVBoxLayout>

namespace zuvo::ui {

using app::PlannerViewModel;

// The proportional bar of paved, unpaved and unknown surface.
class SurfaceBar : public QWidget {
public:
    using QWidget::QWidget;

    void setShares(const model::RouteStats::SurfaceShares& shares)
    {
        m_shares = shares;
        update();
    }
    QSize sizeHint() const override { return {200, 10}; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath clip;
        clip.addRoundedRect(rect(), 4, 4);
        painter.setClipPath(clip);
        painter.fillRect(rect(), QColor(0x44, 0x46, 0x4a));
        double x = 0;
        const std::pair<double, QColor> parts[] = {{m_shares.paved, QColor(0x7a, 0x8c, 0x9e)},
                                                   {m_shares.unpaved, QColor(0xc2, 0x9a, 0x5b)},
                                                   {m_shares.unknown, QColor(0x6b, 0x6b, 0x6b)}};
        for (const auto& [share, color] : parts) {
            const double w = share * width();
            painter.fillRect(QRectF(x, 0, w, height()), color);
            x += w;
        }
    }

private:
    model::RouteStats::SurfaceShares m_shares;
};

InspectorPanel::InspectorPanel(PlannerViewModel& planner, app::RoutingServerStatus& server,
                               QWidget* parent)
    : QWidget(parent)
    , m_planner(planner)
    , m_server(server)
    , m_name(new QLineEdit(this))
    , m_distance(new QLabel(this))
    , m_ascent(new QLabel(this))
    , m_descent(new QLabel(this))
    , m_time(new QLabel(this))
    , m_surface(new SurfaceBar(this))
    , m_legend(new QLabel(this))
    , m_sliders(new QVBoxLayout)
    , m_anchors(new QListWidget(this))
    , m_pois(new QListWidget(this))
{
    setObjectName(QStringLiteral("inspectorPanel"));
    setMinimumWidth(260);
    m_name->setObjectName(QStringLiteral("routeName"));
    m_distance->setObjectName(QStringLiteral("distance"));
    m_legend->setObjectName(QStringLiteral("surfaceLegend"));
    m_anchors->setObjectName(QStringLiteral("anchorList"));
    m_anchors->setContextMenuPolicy(Qt::CustomContextMenu);
    m_pois->setObjectName(QStringLiteral("poiList"));
    m_surface->setFixedHeight(10);

    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->addWidget(heading(tr("Name"), content));
    layout->addWidget(m_name);
    layout->addWidget(heading(tr("Stats"), content));
    auto* stats = new QFormLayout;
    stats->addRow(tr("Distance"), m_distance);
    stats->addRow(tr("Ascent"), m_ascent);
    stats->addRow(tr("Descent"), m_descent);
    stats->addRow(tr("Est. time"), m_time);
    layout->addLayout(stats);
    layout->addWidget(heading(tr("Surface"), content));
    layout->addWidget(m_surface);
    layout->addWidget(m_legend);
    layout->addWidget(heading(tr("Preferences"), content));
    layout->addLayout(m_sliders);
    layout->addWidget(heading(tr("Anchors"), content));
    layout->addWidget(m_anchors, 1);
    layout->addWidget(heading(tr("Turn cues"), content));
    layout->addWidget(new CueListView(*new app::CueListModel(planner, this), content), 2);
    layout->addWidget(heading(tr("Nearby POIs"), content));
    layout->addWidget(m_pois, 1);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    // The panel is as wide as its column: its rows wrap or shrink, they never scroll sideways.
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);

    // A run of slider moves reroutes once, a moment after the last.
    m_debounce.setSingleShot(true);
    m_debounce.setInterval(sliderDelay);
    connect(&m_debounce, &QTimer::timeout, &planner, &PlannerViewModel::applySliders);

    connect(m_name, &QLineEdit::editingFinished, this, [this] {
        const QString name = m_name->text().trimmed();
        if (!name.isEmpty())
            m_planner.rename(name);
        else
            m_name->setText(m_planner.documentName());
    });
    connect(&planner, &PlannerViewModel::documentChanged, this, [this] {
        if (!m_name->hasFocus())
            m_name->setText(m_planner.documentName());
    });
    connect(&planner, &PlannerViewModel::routeChanged, this, &InspectorPanel::showRoute);
    connect(&planner, &PlannerViewModel::selectedAnchorIDChanged, this, &InspectorPanel::showRoute);
    connect(&planner, &PlannerViewModel::costingKindChanged, this, &InspectorPanel::buildSliders);
    connect(&server, &app::RoutingServerStatus::changed, this, &InspectorPanel::buildSliders);
    connect(&planner, &PlannerViewModel::sliderValuesChanged, this, [this] {
        if (!m_debounce.isActive())
            buildSliders();
    });
    connect(&planner, &PlannerViewModel::poisChanged, this, [this] {
        m_pois->clear();
        for (const auto& poi : m_planner.pois())
            m_pois->addItem(poi.name.isEmpty() ? poi.category : poi.name);
        if (m_planner.pois().empty())
            m_pois->addItem(tr("No POIs nearby."));
    });
    connect(m_anchors, &QListWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QListWidgetItem* item = m_anchors->itemAt(at);
        if (!item || item->data(Qt::UserRole).isNull())
            return;
        const QUuid id = item->data(Qt::UserRole).toUuid();
        QMenu menu(this);
        connect(menu.addAction(tr("Details")), &QAction::triggered, this,
                [this, id] { emit anchorDetailsRequested(id); });
        connect(menu.addAction(tr("Convert to Via/Shaping point")), &QAction::triggered, this,
                [this, id] { m_planner.convertAnchor(id); });
        connect(menu.addAction(tr("Delete")), &QAction::triggered, this,
                [this, id] { m_planner.removeAnchor(id); });
        menu.exec(m_anchors->viewport()->mapToGlobal(at));
    });
    connect(m_anchors, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (!item->data(Qt::UserRole).isNull()) {
            m_planner.setSelectedAnchorID(item->data(Qt::UserRole).toUuid());
            m_planner.pushAnchors();
        }
    });
    m_name->setText(planner.documentName());
    buildSliders();
    showRoute();
    emit planner.poisChanged();
}

void InspectorPanel::showRoute()
{
    const auto& route = m_planner.route();
    const auto figures =
        app::PanelRules::summary(route, m_planner.gradeProfile(), m_planner.costingKind());
    m_distance->setText(figures.distance);
    m_ascent->setText(figures.ascent);
    m_descent->setText(figures.descent);
    m_time->setText(figures.estimated);
    const auto shares = model::RouteStats::surfaceShares(route);
    m_surface->setShares(shares);
    m_legend->setText(app::PanelRules::surfaceLegend(shares));

    m_anchors->clear();
    const auto distances = app::PanelRules::cumulativeAnchorKilometres(route);
    for (std::size_t i = 0; i < route.anchors.size(); ++i) {
        const auto& anchor = route.anchors[i];
        const auto& at = anchor.routingPosition();
        const QString symbol =
            anchor.kind == model::Anchor::Kind::via ? QStringLiteral("📍") : QStringLiteral("◆");
        auto* item =
            new QListWidgetItem(QStringLiteral("%1 %2   %3   km %4")
                                    .arg(symbol)
                                    .arg(i + 1)
                                    .arg(QString::asprintf("%.4f, %.4f", at.latitude, at.longitude))
                                    .arg(QString::asprintf("%.1f", distances[i])),
                                m_anchors);
        item->setData(Qt::UserRole, anchor.id);
        item->setSelected(m_planner.selectedAnchorID() == anchor.id);
    }
    if (route.anchors.empty())
        m_anchors->addItem(tr("No anchors yet."));
}

void InspectorPanel::buildSliders()
{
    while (QLayoutItem* item = m_sliders->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    const auto preferences = model::preferences(m_planner.costingKind());
    if (preferences.empty()) {
        m_sliders->addWidget(new QLabel(tr("No preferences for this profile."), this));
        return;
    }
    for (const auto& preference : preferences) {
        auto* label = new QLabel(
            QCoreApplication::translate("CostingPreference", preference.label.toUtf8().constData()),
            this);
        auto* slider = new QSlider(Qt::Horizontal, this);
        slider->setObjectName(QStringLiteral("slider-") + preference.key);
        slider->setRange(0, 100);
        const auto& values = m_planner.sliderValues();
        const auto it = values.find(preference.key);
        slider->setValue(
            int(std::lround((it != values.end() ? it->second : preference.defaultValue) * 100)));
        connect(slider, &QSlider::valueChanged, this, [this, key = preference.key](int value) {
            auto values = m_planner.sliderValues();
            values[key] = value / 100.0;
            m_debounce.start();
            m_planner.setSliderValues(values);
        });
        // Without heights the server cannot tell a climb from the flat.
        if (preference.key == u"avoid_climbs" && !m_server.hasElevation()) {
            for (QWidget* w : {static_cast<QWidget*>(label), static_cast<QWidget*>(slider)}) {
                w->setEnabled(false);
                w->setToolTip(tr("The routing server has no elevation data."));
            }
        }
        m_sliders->addWidget(label);
        m_sliders->addWidget(slider);
    }
}

} // namespace zuvo::ui
