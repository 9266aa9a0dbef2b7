#pragma once

#include <QFrame>

class QLabel;

namespace zuvo::app {
class RoutingServerStatus;
}

namespace zuvo::ui {

// Over the map while the routing server is not what the planner needs: a profile it lacks, no
// elevation, flat heights, another GraphHopper version. Dismissed, it stays away until the
// server's status changes.
class ServerBanner : public QFrame {
    Q_OBJECT

public:
    explicit ServerBanner(app::RoutingServerStatus& status, QWidget* parent = nullptr);

    QString text() const;

private:
    QLabel* m_text;
    QString m_dismissed;
};

} // namespace zuvo::ui
