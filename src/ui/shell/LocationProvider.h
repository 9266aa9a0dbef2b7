#pragma once

#include <QObject>

#include <functional>

class QGeoPositionInfoSource;

namespace zuvo::ui {

// One position fix for the first view of the map. Where the system has no position source the
// request does nothing, and so does a failed one.
class LocationProvider : public QObject {
    Q_OBJECT

public:
    using Fix = std::function<void(double latitude, double longitude)>;

    explicit LocationProvider(QObject* parent = nullptr);

    void requestOnce(Fix onFix);

private:
    QGeoPositionInfoSource* m_source = nullptr;
    Fix m_onFix;
};

} // namespace zuvo::ui
