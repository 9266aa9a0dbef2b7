#include "ui/panels/ElevationDrawer.h"

#include "app/PlannerViewModel.h"
#include "map/MapBridge.h"
#include "ui/panels/ProfileChart.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <limits>

namespace zuvo::ui {

using app::PlannerViewModel;
using app::PanelRules::Segment;

namespace {

const QString segmentKey = QStringLiteral("drawer/segment");

} // namespace

ElevationDrawer::ElevationDrawer(PlannerViewModel& planner, QSettings& settings, QWidget* parent)
    : QWidget(parent)
    , m_planner(planner)
    , m_settings(settings)
    , m_climbCount(new QLabel(this))
    , m_gradient(new QCheckBox(tr("Colour by gradient"), this))
    , m_segments(new QComboBox(this))
    , m_pages(new QStackedWidget(this))
    , m_chart(new ProfileChart(planner.bridge(), this))
    , m_climbs(new QListWidget(this))
{
    setObjectName(QStringLiteral("elevationDrawer"));
    setMinimumHeight(200);
    m_explicit = Segment::fromKey(settings.value(segmentKey).toString());
    auto* title = new QLabel(tr("Elevation"), this);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    m_climbCount->setObjectName(QStringLiteral("climbCount"));
    m_gradient->setToolTip(
        tr("Colours the route line by grade. Orange stays reserved for the route otherwise."));
    m_segments->setObjectName(QStringLiteral("segmentPicker"));
    auto* hide = new QPushButton(tr("Hide elevation panel"), this);
    m_climbs->setObjectName(QStringLiteral("climbList"));
    m_climbs->setMaximumWidth(280);

    auto* header = new QHBoxLayout;
    header->addWidget(title);
    header->addWidget(m_climbCount);
    header->addStretch();
    header->addWidget(m_segments);
    header->addWidget(m_gradient);
    header->addWidget(hide);

    auto* empty = new QLabel(tr("Plan a route to see its profile."), this);
    empty->setAlignment(Qt::AlignCenter);
    auto* charts = new QWidget(this);
    auto* chartRow = new QHBoxLayout(charts);
    chartRow->setContentsMargins(0, 0, 0, 0);
    chartRow->addWidget(m_chart, 1);
    chartRow->addWidget(m_climbs);
    m_pages->addWidget(empty);
    m_pages->addWidget(charts);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->addLayout(header);
    layout->addWidget(m_pages, 1);

    connect(hide, &QPushButton::clicked, this, &ElevationDrawer::hideRequested);
    connect(m_gradient, &QCheckBox::toggled, this, [this](bool on) {
        if (on != m_planner.gradientMode())
            m_planner.setGradientMode(on);
    });
    connect(&planner, &PlannerViewModel::gradientModeChanged, this,
            [this] { m_gradient->setChecked(m_planner.gradientMode()); });
    connect(m_segments, &QComboBox::activated, this, &ElevationDrawer::chooseSegment);
    connect(m_climbs, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { frameClimb(m_climbs->row(item)); });
    connect(&planner, &PlannerViewModel::routeChanged, this, &ElevationDrawer::refresh);
    connect(&planner, &PlannerViewModel::shownTracksChanged, this, &ElevationDrawer::refresh);
    refresh();
}

std::optional<Segment> ElevationDrawer::segment() const
{
    return app::PanelRules::chosenSegment(m_explicit, m_planner.gradeProfile(),
                                          app::PanelRules::drawerTrack(m_planner.shownTracks()));
}

void ElevationDrawer::chooseSegment(int index)
{
    if (index < 0 || index >= int(m_available.size()))
        return;
    m_explicit = m_available[std::size_t(index)];
    m_settings.setValue(segmentKey, m_explicit->key());
    refresh();
}

void ElevationDrawer::refresh()
{
    const auto& profile = m_planner.gradeProfile();
    const auto* track = app::PanelRules::drawerTrack(m_planner.shownTracks());
    m_available = app::PanelRules::availableSegments(profile, track);
    const auto shown = segment();
    m_segments->clear();
    for (const auto& s : m_available)
        m_segments->addItem(s.label());
    if (shown) {
        const auto at = std::find(m_available.begin(), m_available.end(), *shown);
        m_segments->setCurrentIndex(int(at - m_available.begin()));
    }
    m_segments->setVisible(!m_available.empty());
    m_climbCount->setText(app::PanelRules::climbCount(profile));
    m_climbs->clear();
    for (const auto& row : app::PanelRules::climbRows(profile))
        m_climbs->addItem(row.text());
    m_climbs->setVisible(m_climbs->count() > 0 && shown && shown->isRoute());

    if (!shown) {
        m_chart->clear();
        m_pages->setCurrentIndex(0);
        return;
    }
    m_pages->setCurrentIndex(1);
    if (shown->isRoute()) {
        m_chart->showRoute(*profile, m_planner.routeCoordinates());
        return;
    }
    const auto metric = std::get<model::TrackMetricSeries::Metric>(shown->value);
    const auto series = model::TrackMetricSeries::series(track->samples, metric);
    m_chart->showMetric(model::TrackMetricSeries::downsample(*series, 600), metric,
                        track->coordinates);
}

void ElevationDrawer::frameClimb(int row)
{
    const auto& profile = m_planner.gradeProfile();
    if (!profile || row < 0 || row >= int(profile->climbs.size()) || !m_planner.bridge())
        return;
    const auto& climb = profile->climbs[std::size_t(row)];
    const auto& line = m_planner.routeCoordinates();
    double west = std::numeric_limits<double>::infinity();
    double south = west;
    double east = -west;
    double north = -west;
    // The profile has one sample per route point.
    for (std::size_t i = 0; i < profile->samples.size() && i < line.size(); ++i) {
        const double d = profile->samples[i].distance;
        if (d < climb.startDistance || d > climb.endDistance)
            continue;
        west = std::min(west, line[i].longitude);
        east = std::max(east, line[i].longitude);
        south = std::min(south, line[i].latitude);
        north = std::max(north, line[i].latitude);
    }
    if (west <= east)
        m_planner.bridge()->fit({west, south, east, north}, true);
}

} // namespace zuvo::ui
