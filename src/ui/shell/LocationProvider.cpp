#include "ui/shell/LocationProvider.h"

#include <QGeoPositionInfoSource>

namespace zuvo::ui {

LocationProvider::LocationProvider(QObject* parent)
    : QObject(parent)
{
}

void LocationProvider::requestOnce(Fix onFix)
{
    if (!m_source) {
        m_source = QGeoPositionInfoSource::createDefaultSource(this);
        if (!m_source)
            return;
        connect(m_source, &QGeoPositionInfoSource::positionUpdated, this,
                [this](const QGeoPositionInfo& info) {
                    // Only the first fix counts; the callback is cleared before it runs.
                    auto onFix = std::exchange(m_onFix, nullptr);
                    if (onFix && info.isValid())
                        onFix(info.coordinate().latitude(), info.coordinate().longitude());
                });
    }
    m_onFix = std::move(onFix);
    m_source->requestUpdate(30'000);
}

} // namespace zuvo::ui
