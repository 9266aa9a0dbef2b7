#include "app/devices/DeviceImportController.h"

#include "app/devices/ImportedRides.h"
#include "app/planner/RideFile.h"
#include "app/planner/ToastCenter.h"
#include "formats/GPXWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QSaveFile>
#include <QUuid>
#include <QtConcurrent/QtConcurrentRun>

#include <qcoro/qcorofuture.h>

namespace zuvo::app {

namespace {

struct Texts {
    Q_DECLARE_TR_FUNCTIONS(DeviceImport)
};

} // namespace

using devices::DeviceActivity;
using devices::GarminDevice;

namespace {

struct Listing {
    std::vector<DeviceActivity> activities;
    std::vector<DeviceActivity> courses;
    QSet<QString> imported;
    std::optional<QString> error;
};

Listing list(const DeviceFlows::Transports& transports, const GarminDevice& device,
             const QString& routesFolder)
{
    Listing listing;
    const auto& transport = *transports.forDevice(device);
    try {
        listing.activities = transport.listActivities(device);
    } catch (...) {
        listing.error = DeviceFlows::describe(std::current_exception(), device.name);
        return listing;
    }
    try {
        listing.courses = transport.listCourses(device);
    } catch (...) {
        // Devices without a course folder simply have no courses.
    }
    const std::vector<ImportedRides::Key> library = ImportedRides::inLibrary(routesFolder);
    for (const auto* entries : {&listing.activities, &listing.courses}) {
        for (const DeviceActivity& entry : *entries) {
            const auto start = ImportedRides::rideStart(entry);
            const ImportedRides::Key key{device.name, start.value_or(QDateTime())};
            if (start && std::find(library.begin(), library.end(), key) != library.end())
                listing.imported.insert(entry.id);
        }
    }
    return listing;
}

// A device's file name as a local one: a name from a device never leaves its folder.
QString localName(const QString& name)
{
    QString local = name;
    local.replace(QLatin1Char('/'), QLatin1Char('_'));
    local.replace(QLatin1Char('\\'), QLatin1Char('_'));
    return local;
}

struct Entry {
    std::optional<formats::ImportedGPX> parsed;
    QString error;
    // What the rider must know about the ride, when it was recovered from a damaged file.
    QString notice = {};
};

// Copies one entry off the device and writes it as a ride into the routes folder. Blocks.
Entry importEntry(const DeviceFlows::Transports& transports, const GarminDevice& device,
                  const DeviceActivity& entry, const QString& routesFolder)
{
    const QString temp = QDir(QDir::tempPath())
                             .filePath(QStringLiteral("zuvo-import-") +
                                       QUuid::createUuid().toString(QUuid::WithoutBraces) +
                                       QLatin1Char('-') + localName(entry.name));
    struct Removal {
        QString path;
        ~Removal() { QFile::remove(path); }
    } removal{temp};

    try {
        transports.forDevice(device)->downloadActivity(entry, device, temp);
        QFile file(temp);
        if (!file.open(QIODevice::ReadOnly))
            return {std::nullopt, file.errorString()};
        // A ride cut short by a crash is kept up to the damage, and says so.
        auto ride = readRide(entry.name, file.readAll(), RideRead::recovering);
        if (!ride)
            return {std::nullopt, rideErrorText(ride.error())};
        const formats::ImportedGPX& parsed = ride->imported;
        std::vector<model::TrackSample> samples;
        if (!parsed.tracks.empty()) {
            samples = parsed.tracks.front();
        } else if (!parsed.routes.empty()) {
            for (const auto& c : parsed.routes.front())
                samples.push_back({.coordinate = c});
        } else {
            return {std::nullopt, Texts::tr("no track or route")};
        }

        QString baseName = localName(QFileInfo(entry.name).completeBaseName());
        if (baseName.isEmpty())
            baseName = QStringLiteral("Ride");
        // The badge in the library tells a Garmin ride from a Bryton one by this creator.
        const QString creator = device.layout == devices::DeviceLayout::garmin
                                    ? QStringLiteral("zuvo (Garmin)")
                                    : QStringLiteral("zuvo (Bryton)");
        // The device and the start let the next listing know the ride is in the library.
        const formats::RideOrigin origin{.device = device.name,
                                         .start = ImportedRides::rideStart(entry)};
        const QByteArray written = formats::GPXWriter{creator}.write(samples, baseName, origin);
        QDir().mkpath(routesFolder);
        QSaveFile out(DeviceImportController::uniqueRoutePath(routesFolder, baseName));
        if (!out.open(QIODevice::WriteOnly) || out.write(written) != written.size() ||
            !out.commit())
            return {std::nullopt, out.errorString()};
        return {ride->imported, {}, recoveryNotice(*ride)};
    } catch (...) {
        return {std::nullopt, DeviceFlows::describe(std::current_exception(), device.name)};
    }
}

} // namespace

DeviceImportController::DeviceImportController(DeviceFlows::Transports transports,
                                               QString routesFolder, ToastCenter& toasts,
                                               std::optional<QString> preselectDeviceName,
                                               QObject* parent)
    : QObject(parent)
    , m_transports(std::move(transports))
    , m_routesFolder(std::move(routesFolder))
    , m_toasts(toasts)
    , m_preselect(std::move(preselectDeviceName))
{
}

const std::vector<DeviceActivity>& DeviceImportController::visibleItems() const
{
    return m_source == Source::activities ? m_activities : m_courses;
}

QString DeviceImportController::importTitle() const
{
    if (m_selectedIDs.size() < 2)
        return Texts::tr("Import");
    return Texts::tr("Import %1").arg(m_selectedIDs.size());
}

void DeviceImportController::setBusy(bool busy)
{
    m_busy = busy;
    emit changed();
}

QCoro::Task<> DeviceImportController::scan()
{
    QPointer self(this);
    m_error.reset();
    setBusy(true);
    auto found = co_await QtConcurrent::run(DeviceFlows::scan, m_transports);
    if (!self)
        co_return;
    m_devices = std::move(found);
    m_selected = DeviceFlows::preselect(m_devices, m_preselect);
    setBusy(false);
    if (m_devices.empty()) {
        m_activities.clear();
        m_courses.clear();
        m_selectedIDs.clear();
        emit changed();
        co_return;
    }
    co_await loadActivities();
}

QCoro::Task<> DeviceImportController::selectDevice(GarminDevice device)
{
    m_selected = std::move(device);
    co_await loadActivities();
}

QCoro::Task<> DeviceImportController::loadActivities()
{
    if (!m_selected)
        co_return;
    QPointer self(this);
    m_error.reset();
    setBusy(true);
    Listing listing = co_await QtConcurrent::run(list, m_transports, *m_selected, m_routesFolder);
    if (!self)
        co_return;
    if (listing.error) {
        m_error = listing.error;
        setBusy(false);
        co_return;
    }
    m_activities = std::move(listing.activities);
    m_courses = std::move(listing.courses);
    m_importedIDs = std::move(listing.imported);
    if (m_courses.empty())
        m_source = Source::activities;
    m_selectedIDs.clear();
    // The newest ride, unless it is in the library already.
    if (!visibleItems().empty() && !isImported(visibleItems().front().id))
        m_selectedIDs.insert(visibleItems().front().id);
    setBusy(false);
}

void DeviceImportController::setSource(Source source)
{
    m_source = source;
    m_selectedIDs.clear();
    emit changed();
}

void DeviceImportController::setSelected(const QString& id, bool selected)
{
    if (selected)
        m_selectedIDs.insert(id);
    else
        m_selectedIDs.remove(id);
    emit changed();
}

void DeviceImportController::selectAll()
{
    // What is in the library already is imported again only when ticked one by one.
    for (const auto& item : visibleItems()) {
        if (!isImported(item.id))
            m_selectedIDs.insert(item.id);
    }
    emit changed();
}

std::optional<QString> DeviceImportController::emptyText() const
{
    if (m_busy || m_error || !m_selected || !visibleItems().empty())
        return std::nullopt;
    if (m_source == Source::courses)
        return Texts::tr("No courses on %1.").arg(m_selected->name);
    return DeviceFlows::noRidesText(*m_selected);
}

void DeviceImportController::cancel()
{
    if (m_importStop)
        m_importStop->request_stop();
}

QCoro::Task<> DeviceImportController::importSelected()
{
    if (!m_selected || m_selectedIDs.isEmpty())
        co_return;
    QPointer self(this);
    std::vector<DeviceActivity> picked;
    for (const auto& item : visibleItems()) {
        if (m_selectedIDs.contains(item.id))
            picked.push_back(item);
    }
    const GarminDevice device = *m_selected;
    auto stop = std::make_shared<std::stop_source>();
    m_importStop = stop;
    m_error.reset();
    m_notice.reset();
    m_progress.reset();
    setBusy(true);

    const std::size_t n = picked.size();
    QStringList failed;
    QStringList notices;
    struct Last {
        formats::ImportedGPX ride;
        QString name;
        QString notice;
    };
    std::optional<Last> last;
    for (std::size_t i = 0; i < n; ++i) {
        m_progress = Texts::tr("Importing %1/%2…").arg(i + 1).arg(n);
        emit changed();
        Entry entry = co_await QtConcurrent::run(importEntry, m_transports, device, picked[i],
                                                 m_routesFolder);
        if (!self)
            co_return;
        const QString& name = picked[i].name;
        if (entry.parsed) {
            last = Last{std::move(*entry.parsed), name, entry.notice};
            m_importedIDs.insert(picked[i].id);
            m_selectedIDs.remove(picked[i].id);
            if (!entry.notice.isEmpty())
                notices.append(name + QStringLiteral(": ") + entry.notice);
        } else {
            failed.append(name + QStringLiteral(" (") + entry.error + QStringLiteral(")"));
        }
        if (stop->stop_requested()) {
            m_progress.reset();
            setBusy(false);
            co_return;
        }
    }

    m_progress.reset();
    if (last) {
        emit imported(last->ride, last->name, last->notice);
        emit saved();
    }
    if (!notices.isEmpty())
        m_notice = notices.join(QLatin1Char('\n'));
    if (!failed.isEmpty()) {
        m_error = Texts::tr("Failed: %1").arg(failed.join(QStringLiteral(", ")));
        setBusy(false);
        co_return;
    }
    setBusy(false);
    m_toasts.show(n == 1 ? Texts::tr("Imported 1 ride") : Texts::tr("Imported %1 rides").arg(n));
    // A recovered ride keeps the sheet open until the rider has read what it says.
    if (!m_notice)
        emit finished();
}

QString DeviceImportController::uniqueRoutePath(const QString& folder, const QString& baseName)
{
    const QDir dir(folder);
    QString candidate = dir.filePath(baseName + QStringLiteral(".gpx"));
    for (int k = 2; QFileInfo::exists(candidate); ++k)
        candidate = dir.filePath(baseName + QLatin1Char(' ') + QString::number(k) + ".gpx");
    return candidate;
}

} // namespace zuvo::app
