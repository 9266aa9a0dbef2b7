#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QVBoxLayout;

namespace zuvo::app {
class PlannerViewModel;
class RoutingServerStatus;
} // namespace zuvo::app

namespace zuvo::ui {

class SurfaceBar;

// The inspector: the route's name, figures, surface mix, the profile's preference sliders, the
// anchors, the turn cues and the points of interest along the route.
class InspectorPanel : public QWidget {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds sliderDelay{350};

    InspectorPanel(app::PlannerViewModel& planner, app::RoutingServerStatus& server,
                   QWidget* parent = nullptr);

signals:
    void anchorDetailsRequested(const QUuid& id);

private:
    void showRoute();
    void buildSliders();

    app::PlannerViewModel& m_planner;
    app::RoutingServerStatus& m_server;
    QLineEdit* m_name;
    QLabel* m_distance;
    QLabel* m_ascent;
    QLabel* m_descent;
    QLabel* m_time;
    SurfaceBar* m_surface;
    QLabel* m_legend;
    QVBoxLayout* m_sliders;
    QListWidget* m_anchors;
    QListWidget* m_pois;
    QTimer m_debounce;
};

} // namespace zuvo::ui
