#pragma once

#include <QFrame>

class QToolButton;

namespace zuvo::app {
class PlannerViewModel;
}

namespace zuvo::ui {

// Four toggles over the map: cycle networks, hillshade, 3D terrain, and the points of interest
// with their categories and the POI import.
class LayersPill : public QFrame {
    Q_OBJECT

public:
    explicit LayersPill(app::PlannerViewModel& planner, QWidget* parent = nullptr);

signals:
    void importPOIsRequested();

private:
    void showPOIPopover();

    app::PlannerViewModel& m_planner;
    QToolButton* m_pois;
};

} // namespace zuvo::ui
