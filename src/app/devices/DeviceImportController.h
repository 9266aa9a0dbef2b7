#pragma once

#include "app/devices/DeviceFlows.h"
#include "devices/DeviceActivity.h"
#include "formats/ImportedGPX.h"

#include <QObject>
#include <QSet>

#include <qcoro/qcorotask.h>

#include <memory>
#include <optional>
#include <stop_token>
#include <vector>

namespace zuvo::app {

class ToastCenter;

// The import sheet's logic: lists a device's rides (or courses), marks those in the routes folder
// already, copies the chosen ones off it and writes each as a ride GPX into the routes folder
// under a free name. Device work runs on worker threads; every state change happens on the UI
// thread.
class DeviceImportController : public QObject {
    Q_OBJECT

public:
    enum class Source { activities, courses };

    DeviceImportController(DeviceFlows::Transports transports, QString routesFolder,
                           ToastCenter& toasts, std::optional<QString> preselectDeviceName = {},
                           QObject* parent = nullptr);

    const std::vector<devices::GarminDevice>& devices() const { return m_devices; }
    const std::optional<devices::GarminDevice>& selectedDevice() const { return m_selected; }
    Source source() const { return m_source; }
    const std::vector<devices::DeviceActivity>& activities() const { return m_activities; }
    const std::vector<devices::DeviceActivity>& courses() const { return m_courses; }
    const std::vector<devices::DeviceActivity>& visibleItems() const;
    const QSet<QString>& selectedIDs() const { return m_selectedIDs; }
    bool isBusy() const { return m_busy; }
    const std::optional<QString>& error() const { return m_error; }
    const std::optional<QString>& progressText() const { return m_progress; }
    // What the rider must know about rides just imported: one line per ride recovered from a
    // damaged file.
    const std::optional<QString>& notice() const { return m_notice; }
    // Entries whose ride is in the routes folder already (same device and start); they are not
    // chosen unless the rider ticks them.
    bool isImported(const QString& id) const { return m_importedIDs.contains(id); }
    // Why the list is empty, naming the folders searched; absent while it is not.
    std::optional<QString> emptyText() const;
    // "Import", or "Import 3" for several entries.
    QString importTitle() const;

    QCoro::Task<> scan();
    QCoro::Task<> selectDevice(devices::GarminDevice device);
    void setSource(Source source);
    void setSelected(const QString& id, bool selected);
    void selectAll();
    QCoro::Task<> importSelected();
    // Stops an import after the entry it is on; what was written stays.
    void cancel();

    // "Name.gpx", else "Name 2.gpx", "Name 3.gpx" … in `folder`.
    static QString uniqueRoutePath(const QString& folder, const QString& baseName);

signals:
    void changed();
    // The last ride imported, to show on the map, with what the rider must know about it.
    void imported(const zuvo::formats::ImportedGPX& ride, const QString& sourceName,
                  const QString& notice);
    // Ride files were written into the routes folder.
    void saved();
    // Everything imported: the sheet closes.
    void finished();

private:
    QCoro::Task<> loadActivities();
    void setBusy(bool busy);

    DeviceFlows::Transports m_transports;
    QString m_routesFolder;
    ToastCenter& m_toasts;
    std::optional<QString> m_preselect;
    std::vector<devices::GarminDevice> m_devices;
    std::optional<devices::GarminDevice> m_selected;
    Source m_source = Source::activities;
    std::vector<devices::DeviceActivity> m_activities;
    std::vector<devices::DeviceActivity> m_courses;
    QSet<QString> m_selectedIDs;
    QSet<QString> m_importedIDs;
    bool m_busy = false;
    std::optional<QString> m_error;
    std::optional<QString> m_notice;
    std::optional<QString> m_progress;
    std::shared_ptr<std::stop_source> m_importStop;
};

} // namespace zuvo::app
