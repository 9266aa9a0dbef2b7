#include "ui/panels/ProfileChart.h"

#include "app/planner/PanelRules.h"
#include "map/MapBridge.h"
#include "model/GradeScale.h"
#include "model/RouteStats.h"

#include <QAreaSeries>
#include <QLineSeries>
#include <QValueAxis>

namespace zuvo::ui {

namespace {

QColor qColor(const model::GradeScale::Color& c)
{
    return QColor(c.red, c.green, c.blue);
}

QChart* darkChart()
{
    auto* chart = new QChart;
    chart->setBackgroundBrush(QColor(0x1e, 0x1f, 0x22));
    chart->setPlotAreaBackgroundVisible(false);
    chart->legend()->hide();
    chart->setMargins(QMargins(4, 4, 4, 4));
    return chart;
}

QValueAxis* axis(const QString& title, double low, double high)
{
    auto* a = new QValueAxis;
    a->setRange(low, high);
    a->setTitleText(title);
    a->setLabelsColor(QColor(0xc8, 0xc8, 0xc8));
    a->setTitleBrush(QColor(0xc8, 0xc8, 0xc8));
    a->setGridLineColor(QColor(0x3a, 0x3c, 0x40));
    // Labels at round values, never rounded figures of uneven steps.
    const auto ticks = app::PanelRules::axisTicks(low, high);
    a->setTickType(QValueAxis::TicksDynamic);
    a->setTickAnchor(ticks.first);
    a->setTickInterval(ticks.step);
    a->setLabelFormat(QStringLiteral("%.") + QString::number(ticks.decimals) + QStringLiteral("f"));
    return a;
}

QString unitOf(model::TrackMetricSeries::Metric metric)
{
    using M = model::TrackMetricSeries::Metric;
    switch (metric) {
    case M::elevation:
        return QStringLiteral("m");
    case M::speed:
        return QStringLiteral("km/h");
    case M::heartRate:
        return QStringLiteral("bpm");
    case M::temperature:
        return QStringLiteral("°C");
    }
    return {};
}

} // namespace

ProfileChart::ProfileChart(map::MapBridge* bridge, QWidget* parent)
    : QChartView(parent)
    , m_bridge(bridge)
{
    setObjectName(QStringLiteral("profileChart"));
    setRenderHint(QPainter::Antialiasing);
    setMouseTracking(true);
    setMinimumHeight(140);
    clear();
}

void ProfileChart::clear()
{
    setChart(darkChart());
    m_line.clear();
}

void ProfileChart::showRoute(const model::GradeProfile& profile,
                             std::vector<model::Coordinate> line)
{
    m_line = std::move(line);
    auto* chart = darkChart();
    auto* upper = new QLineSeries;
    auto* lower = new QLineSeries;
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (const auto& sample : profile.samples) {
        low = std::min(low, sample.elevation);
        high = std::max(high, sample.elevation);
    }
    const double floor = low - std::max(10.0, (high - low) * 0.1);
    const double ceiling = high + std::max(10.0, (high - low) * 0.1);
    for (const auto& sample : profile.samples) {
        upper->append(sample.distance / 1000.0, sample.elevation);
        lower->append(sample.distance / 1000.0, floor);
    }
    auto* area = new QAreaSeries(upper, lower);
    // Grade colours along the distance: each sample's grade at its share of the length.
    QLinearGradient gradient(QPointF(0, 0), QPointF(1, 0));
    gradient.setCoordinateMode(QGradient::ObjectBoundingMode);
    const std::size_t step = std::max<std::size_t>(1, profile.samples.size() / 400);
    for (std::size_t i = 0; i < profile.samples.size(); i += step)
        gradient.setColorAt(profile.samples[i].progress,
                            qColor(model::GradeScale::color(profile.samples[i].grade)));
    area->setBrush(gradient);
    area->setPen(QPen(QColor(0xf0, 0xf0, 0xf0), 1.2));
    chart->addSeries(area);

    const double total = profile.samples.empty() ? 1.0 : profile.samples.back().distance / 1000.0;
    auto* x = axis(tr("km"), 0, total);
    auto* y = axis(tr("m"), floor, ceiling);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    area->attachAxis(x);
    area->attachAxis(y);
    // The climbs as light bands over the profile.
    for (const auto& climb : profile.climbs) {
        auto* top = new QLineSeries;
        auto* bottom = new QLineSeries;
        top->append(
            {{climb.startDistance / 1000.0, ceiling}, {climb.endDistance / 1000.0, ceiling}});
        bottom->append(
            {{climb.startDistance / 1000.0, floor}, {climb.endDistance / 1000.0, floor}});
        auto* band = new QAreaSeries(top, bottom);
        band->setBrush(QColor(255, 255, 255, 38));
        band->setPen(Qt::NoPen);
        chart->addSeries(band);
        band->attachAxis(x);
        band->attachAxis(y);
    }
    setChart(chart);
}

void ProfileChart::showMetric(const std::vector<model::TrackMetricSeries::Point>& points,
                              model::TrackMetricSeries::Metric metric,
                              std::vector<model::Coordinate> line)
{
    m_line = std::move(line);
    auto* chart = darkChart();
    auto* series = new QLineSeries;
    for (const auto& point : points)
        series->append(point.distanceKm, point.value);
    series->setPen(QPen(QColor(0x4f, 0xa3, 0xe0), 1.6));
    chart->addSeries(series);
    const auto [low, high] = model::TrackMetricSeries::yDomain(points, 0.08);
    auto* x = axis(tr("km"), 0, points.empty() ? 1.0 : points.back().distanceKm);
    auto* y = axis(unitOf(metric), low, high);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);
    setChart(chart);
}

std::optional<double> ProfileChart::kilometresAt(const QPointF& position) const
{
    if (chart()->series().isEmpty() || !chart()->plotArea().contains(position))
        return std::nullopt;
    return std::max(0.0, chart()->mapToValue(position, chart()->series().first()).x());
}

void ProfileChart::mouseMoveEvent(QMouseEvent* event)
{
    QChartView::mouseMoveEvent(event);
    const auto km = kilometresAt(event->position());
    if (!km || !m_bridge)
        return;
    if (const auto at = model::RouteStats::coordinate(*km * 1000.0, m_line)) {
        m_bridge->setRideMarker(at->longitude, at->latitude, true);
        m_markerShown = true;
    }
}

void ProfileChart::leaveEvent(QEvent* event)
{
    QChartView::leaveEvent(event);
    if (m_markerShown && m_bridge)
        m_bridge->setRideMarker(0, 0, false);
    m_markerShown = false;
}

} // namespace zuvo::ui
