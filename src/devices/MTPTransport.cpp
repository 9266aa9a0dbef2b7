#include "devices/MTPTransport.h"

#include "devices/DeviceError.h"
#include "devices/MTPSession.h"

#include <QFileInfo>
#include <QSet>
#include <QUrl>

#include <limits>

namespace zuvo::devices {

namespace {

const QString scheme = QStringLiteral("mtp://");
const QString activityPrefix = QStringLiteral("mtp:");

QString listedSerial(const GarminDevice& device)
{
    if (auto serial = MTPTransport::serial(device.volumeURL))
        return *std::move(serial);
    throw DeviceError::mtp(QStringLiteral("not an MTP device URL: ") + device.volumeURL);
}

// The object id of an "mtp:<decimal>" activity id, if it fits in 32 bits.
std::optional<quint32> objectID(const QString& activityID)
{
    if (!activityID.startsWith(activityPrefix))
        return std::nullopt;
    const QStringView digits = QStringView(activityID).mid(activityPrefix.size());
    if (digits.isEmpty())
        return std::nullopt;
    quint64 value = 0;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + quint64(c.unicode() - '0');
        if (value > std::numeric_limits<quint32>::max())
            return std::nullopt;
    }
    return quint32(value);
}

// The rides or courses in every folder at one of `paths`, each object once.
std::vector<DeviceActivity> listFolders(const GarminDevice& device, const QStringList& paths,
                                        bool missingIsEmpty)
{
    const std::vector<MTPSession::FileEntry> entries =
        MTPSession::withDevice(listedSerial(device), [&](MTPSession::Device* handle) {
            std::vector<MTPSession::FileEntry> all;
            for (const QString& path : paths) {
                const QStringList names = path.split(QLatin1Char('/'));
                const auto found = missingIsEmpty ? MTPSession::folders(names, handle)
                                                  : std::vector{MTPSession::folder(names, handle)};
                for (const MTPSession::Folder& folder : found) {
                    const auto files = MTPSession::files(folder.id, folder.storage, handle);
                    all.insert(all.end(), files.begin(), files.end());
                }
            }
            return all;
        });
    std::vector<DeviceActivity> activities;
    QSet<quint32> seen;
    for (const MTPSession::FileEntry& entry : entries) {
        const QString lower = entry.name.toLower();
        if (!lower.endsWith(QLatin1String(".fit")) && !lower.endsWith(QLatin1String(".gpx")))
            continue;
        if (seen.contains(entry.id))
            continue;
        seen.insert(entry.id);
        activities.push_back({.id = activityPrefix + QString::number(entry.id),
                              .name = entry.name,
                              .date = entry.modified,
                              .size = qint64(entry.size)});
    }
    sortNewestFirst(activities);
    return activities;
}

struct CourseObject {
    quint32 id = 0;
    QString path; // "Garmin/NewFiles/Alpen.gpx"
};

// The course files (GPX or FIT) named like `named` without its extension, in
// any letter case, waiting in NewFiles or imported into Courses.
std::vector<CourseObject> sameNamedCourses(const QString& named, MTPSession::Device* device)
{
    const QString baseName = QFileInfo(named).completeBaseName();
    std::vector<CourseObject> found;
    for (const QString& path :
         {QStringLiteral("Garmin/NewFiles"), QStringLiteral("Garmin/Courses")}) {
        for (const MTPSession::Folder& folder : MTPSession::folders(path.split('/'), device)) {
            for (const MTPSession::FileEntry& entry :
                 MTPSession::files(folder.id, folder.storage, device)) {
                const QFileInfo name(entry.name);
                const QString extension = name.suffix().toLower();
                if (name.completeBaseName().compare(baseName, Qt::CaseInsensitive) == 0 &&
                    (extension == u"gpx" || extension == u"fit"))
                    found.push_back({entry.id, path + QLatin1Char('/') + entry.name});
            }
        }
    }
    return found;
}

} // namespace

std::optional<QString> MTPTransport::placeholderURL(const QString& serial)
{
    // The unreserved characters of a URL stay as they are, so an ordinary
    // serial reads the same in the URL; anything else, "%" included, is
    // encoded, so decoding gives the serial back exactly.
    const QByteArray encoded = QUrl::toPercentEncoding(serial);
    if (encoded.isEmpty())
        return std::nullopt;
    return scheme + QString::fromLatin1(encoded);
}

std::optional<QString> MTPTransport::serial(const QString& from)
{
    if (!from.startsWith(scheme, Qt::CaseInsensitive))
        return std::nullopt;
    const QStringView rest = QStringView(from).mid(scheme.size());
    qsizetype end = 0;
    while (end < rest.size() && rest[end] != QLatin1Char('/') && rest[end] != QLatin1Char('?') &&
           rest[end] != QLatin1Char('#'))
        ++end;
    if (end == 0)
        return std::nullopt;
    return QString::fromUtf8(QByteArray::fromPercentEncoding(rest.first(end).toUtf8()));
}

std::optional<GarminDevice> MTPTransport::device(const MTPDeviceInfo& info)
{
    const std::optional<QString> url = placeholderURL(info.serial);
    if (!url)
        return std::nullopt;
    return GarminDevice{.name = info.name,
                        .volumeURL = *url,
                        .importFolderURL = *url,
                        .layout = DeviceLayout::garmin};
}

std::vector<GarminDevice> MTPTransport::scanVolumes() const
{
    std::vector<GarminDevice> devices;
    for (const MTPDeviceInfo& info : MTPSession::detect()) {
        if (auto found = device(info))
            devices.push_back(*std::move(found));
    }
    return devices;
}

std::optional<QString> MTPTransport::existingCourse(const QString& named,
                                                    const GarminDevice& on) const
{
    const std::vector<CourseObject> found =
        MTPSession::withDevice(listedSerial(on), [&](MTPSession::Device* device) {
            return sameNamedCourses(named, device);
        });
    if (found.empty())
        return std::nullopt;
    return found.front().path;
}

void MTPTransport::writeCourse(const QByteArray& data, const QString& named, const GarminDevice& to,
                               OnExisting existing) const
{
    const std::optional<QString> serial = MTPTransport::serial(to.volumeURL);
    if (!serial)
        throw DeviceError::mtp(QStringLiteral("device ") + to.volumeURL +
                               QStringLiteral(" has no recoverable serial"));
    // NewFiles is never created here: a device without it is not one that
    // imports courses from there.
    MTPSession::withDevice(*serial, [&](MTPSession::Device* device) {
        const MTPSession::Folder folder =
            MTPSession::folder({QStringLiteral("Garmin"), QStringLiteral("NewFiles")}, device);
        const std::vector<CourseObject> earlier = sameNamedCourses(named, device);
        if (!earlier.empty() && existing == OnExisting::refuse)
            throw DeviceError::alreadyExists(earlier.front().path);
        const quint64 deviceSize = MTPSession::send(data, named, folder.id, folder.storage, device);
        if (deviceSize != quint64(data.size()))
            throw DeviceError::verificationFailed(
                QStringLiteral("size mismatch for %1: sent %2, device has %3")
                    .arg(named, QString::number(data.size()), QString::number(deviceSize)));
        // The earlier course goes only once the new one is on the device whole.
        for (const CourseObject& course : earlier)
            MTPSession::remove(course.id, device);
    });
}

std::vector<DeviceActivity> MTPTransport::listActivities(const GarminDevice& on) const
{
    // A device without any of the folders has no rides.
    return listFolders(on, rideFolders(DeviceLayout::garmin), true);
}

std::vector<DeviceActivity> MTPTransport::listCourses(const GarminDevice& on) const
{
    return listFolders(on, {QStringLiteral("Garmin/Courses")}, false);
}

void MTPTransport::downloadActivity(const DeviceActivity& activity, const GarminDevice& from,
                                    const QString& to) const
{
    const std::optional<quint32> id = objectID(activity.id);
    if (!id)
        throw DeviceError::mtp(QStringLiteral("not an MTP activity id: ") + activity.id);
    MTPSession::withDevice(listedSerial(from), [&](MTPSession::Device* device) {
        MTPSession::download(*id, to, device);
    });
}

void MTPTransport::writeTour(const std::vector<model::Coordinate>&, const QString&,
                             const GarminDevice&, OnExisting) const
{
    throw DeviceError::notImplemented();
}

} // namespace zuvo::devices
