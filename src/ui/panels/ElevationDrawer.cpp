#include "ui/panels/ElevationDrawer.h"

#include "app/planner/PlannerViewModel.h"
#include "map/MapBridge.h"
#include "ui/Heading.h"
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
    , m_title(heading(tr("Elevation"), this))
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
    m_climbCount->setObjectName(QStringLiteral("climbCount"));
    m_gradient->setToolTip(
        tr("Colours the route line by grade. Orange stays reserved for the route otherwise."));
    m_segments->setObjectName(QStringLiteral("segmentPicker"));
    m_segments->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* hide = new QPushButton(tr("Hide elevation panel"), this);
    m_climbs->setObjectName(QStringLiteral("climbList"));
    m_climbs->setMaximumWidth(280);

    auto* header = new QHBoxLayout;
    header->addWidget(m_title);
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
    return app::PanelRules::chosenSegment(m_explicit, m_available, m_planner.gradeProfile());
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
    if (track && track->id != m_trackID) {
        m_trackID = track->id;
        m_explicit.reset();
    }
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
    m_title->setText(shown ? shown->title() : tr("Elevation"));
    m_climbCount->setText(app::PanelRules::climbCount(profile));
    m_climbCount->setVisible(!shown || shown->isRoute());
    m_climbs->clear();
    for (const auto& row : app::PanelRules::climbRows(profile))
        m_climbs->addItem(row.text());
    m_climbs->setVisible(m_climbs->count() > 0 && shown && shown->isRoute());

    if (!shown) {
        m_chart->clear();
        m_chartedMetric.clear();
        m_pages->setCurrentIndex(0);
        return;
    }
    m_pages->setCurrentIndex(1);
    if (shown->isRoute()) {
        m_chart->showRoute(*profile, m_planner.routeCoordinates());
        m_chartedMetric.clear();
        return;
    }
    const QString charted = track->id + QLatin1Char('|') + shown->key();
    if (charted == m_chartedMetric)
        return;
    m_chartedMetric = charted;
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
    // The profile has one sample per route point, in order of distance: the climb is the run of
    // points between its start and its end.
    const auto& samples = profile->samples;
    const auto byDistance = [](const model::GradeProfile::Sample& s, double d) {
        return s.distance < d;
    };
    const auto first =
        std::lower_bound(samples.begin(), samples.end(), climb.startDistance, byDistance) -
        samples.begin();
    const auto last = std::upper_bound(samples.begin(), samples.end(), climb.endDistance,
                                       [](double d, const model::GradeProfile::Sample& s) {
                                           return d < s.distance;
                                       }) -
                      samples.begin();
    const auto end = std::min<std::ptrdiff_t>(last, std::ptrdiff_t(line.size()));
    if (first >= end)
        return;
    const std::span<const model::Coordinate> run(line.data() + first, std::size_t(end - first));
    m_planner.bridge()->fit(*map::Bounds::enclosing(run), true);
}

} // namespace zuvo::ui
