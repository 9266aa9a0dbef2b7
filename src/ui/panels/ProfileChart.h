#pragma once

#include "app/planner/PanelRules.h"
#include "model/Coordinate.h"

#include <QChartView>

#include <vector>

namespace zuvo::map {
class MapBridge;
}

namespace zuvo::ui {

// One chart of the drawer: distance in kilometres against a value. The route's profile is an
// area coloured by grade with its climbs shaded; a ride's metric is a line. The pointer over the
// chart moves the ride marker on the map along `line`.
class ProfileChart : public QChartView {
    Q_OBJECT

public:
    ProfileChart(map::MapBridge* bridge, QWidget* parent = nullptr);

    void showRoute(const model::GradeProfile& profile, std::vector<model::Coordinate> line);
    void showMetric(const std::vector<model::TrackMetricSeries::Point>& points,
                    model::TrackMetricSeries::Metric metric, std::vector<model::Coordinate> line);
    void clear();

    // The distance under a view position, clamped at the start; absent off the plot.
    std::optional<double> kilometresAt(const QPointF& position) const;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    map::MapBridge* m_bridge;
    std::vector<model::Coordinate> m_line;
    bool m_markerShown = false;
};

} // namespace zuvo::ui
