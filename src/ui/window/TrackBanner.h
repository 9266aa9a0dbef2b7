#pragma once

#include <QFrame>

class QLabel;

namespace zuvo::app {
class PlannerViewModel;
}

namespace zuvo::ui {

// Over the map while a track is shown: turn the newest one into a route, see its details, or
// take it off the map.
class TrackBanner : public QFrame {
    Q_OBJECT

public:
    explicit TrackBanner(app::PlannerViewModel& planner, QWidget* parent = nullptr);

    // "Track shown: ride.fit", with what the rider must know about the file after a dash.
    QString text() const;

signals:
    void detailsRequested(const QString& trackID);
    void convertRequested();

private:
    QLabel* m_text;
};

} // namespace zuvo::ui
