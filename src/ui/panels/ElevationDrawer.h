#pragma once

#include "app/planner/PanelRules.h"

#include <QWidget>

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QSettings;
class QStackedWidget;

namespace zuvo::app {
class PlannerViewModel;
}

namespace zuvo::ui {

class ProfileChart;

// The elevation drawer: the route's profile coloured by grade with its climbs, or a metric of the
// newest shown ride; hovering the chart marks the place on the map.
class ElevationDrawer : public QWidget {
    Q_OBJECT

public:
    ElevationDrawer(app::PlannerViewModel& planner, QSettings& settings, QWidget* parent = nullptr);

    std::optional<app::PanelRules::Segment> segment() const;
    ProfileChart* chart() const { return m_chart; }

signals:
    void hideRequested();

private:
    void refresh();
    void chooseSegment(int index);
    void frameClimb(int row);

    app::PlannerViewModel& m_planner;
    QSettings& m_settings;
    QLabel* m_title;
    QLabel* m_climbCount;
    QCheckBox* m_gradient;
    QComboBox* m_segments;
    QStackedWidget* m_pages;
    ProfileChart* m_chart;
    QListWidget* m_climbs;
    std::optional<app::PanelRules::Segment> m_explicit;
    std::vector<app::PanelRules::Segment> m_available;
    // The ride and metric charted now: a route edit leaves a ride's chart as it is.
    QString m_chartedMetric;
    // The track the drawer last charted: a new one starts on its own first metric.
    QString m_trackID;
};

} // namespace zuvo::ui
