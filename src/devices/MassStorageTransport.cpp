#include "devices/MassStorageTransport.h"

#include "devices/DeviceError.h"
#include "devices/FileReplacement.h"
#include "devices/FileSystemError.h"
#include "devices/LocalFileSystem.h"
#include "formats/BrytonTourWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zuvo::devices {

namespace {

// The local directory behind a device URL; absent for anything that is not a
// file URL (an MTP device), so that an empty path never turns into "/".
std::optional<QString> localDirectory(const QString& url)
{
    const QString path = QUrl(url).toLocalFile();
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

QString requireLocalDirectory(const QString& url)
{
    if (auto path = localDirectory(url))
        return *std::move(path);
    throw FileSystemError{.path = url, .message = QStringLiteral("not a local volume")};
}

QString fileURL(const QString& path)
{
    return QUrl::fromLocalFile(path).toString();
}

void makeDirectory(const QString& path)
{
    if (!QDir().mkpath(path))
        throw FileSystemError{.path = path, .message = QStringLiteral("cannot create directory")};
}

void writeAtomically(const QString& path, const QByteArray& data)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
        throw FileSystemError{.path = path, .message = file.errorString()};
}

// rename(2) replaces an existing course in one step, so there is no moment
// when neither the old nor the new course is on the volume.
void moveReplacing(const QString& from, const QString& to)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        throw FileSystemError{.path = to, .message = QString::fromLocal8Bit(std::strerror(errno))};
}

// Whether both paths name one file, however they are written (relative,
// through links). A destination that does not exist is no file.
bool sameFile(const QString& a, const QString& b)
{
    struct stat first {};
    struct stat second {};
    return ::stat(QFile::encodeName(a).constData(), &first) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// The visible files of `dir` whose lower-cased extension is one of
// `extensions`, in name order; nothing when the folder cannot be listed.
std::vector<DeviceActivity> listFiles(const QString& dir,
                                      std::initializer_list<QLatin1String> extensions)
{
    std::vector<DeviceActivity> files;
    const QFileInfoList entries =
        QDir(dir).entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries) {
        const QString extension = entry.suffix().toLower();
        if (std::find(extensions.begin(), extensions.end(), extension) == extensions.end())
            continue;
        DeviceActivity activity{
            .id = entry.absoluteFilePath(), .name = entry.fileName(), .size = entry.size()};
        if (const QDateTime modified = entry.lastModified(); modified.isValid())
            activity.date = modified.toUTC();
        files.push_back(std::move(activity));
    }
    return files;
}

} // namespace

MassStorageTransport::MassStorageTransport(QString volumesDirectory,
                                           std::shared_ptr<const FileSystem> files)
    : m_volumesDirectory(std::move(volumesDirectory))
    , m_files(files ? std::move(files) : std::make_shared<LocalFileSystem>())
{
}

QString MassStorageTransport::defaultVolumesDirectory()
{
    QString user;
    if (const passwd* entry = getpwuid(geteuid()))
        user = QFile::decodeName(entry->pw_name);
    if (user.isEmpty())
        user = qEnvironmentVariable("USER");
    const QString media = QStringLiteral("/media/") + user;
    const QString runMedia = QStringLiteral("/run/media/") + user;
    if (!QFileInfo(media).isDir() && QFileInfo(runMedia).isDir())
        return runMedia;
    return media;
}

std::vector<GarminDevice> MassStorageTransport::scanVolumes() const
{
    std::vector<GarminDevice> devices;
    const QFileInfoList volumes =
        QDir(m_volumesDirectory).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& volume : volumes) {
        const QString root = volume.absoluteFilePath();
        const QString garmin = root + QLatin1String("/Garmin");
        const QString planTrip = root + QLatin1String("/PlanTrip");
        if (QFileInfo(garmin).isDir()) {
            devices.push_back({.name = deviceName(garmin).value_or(volume.fileName()),
                               .volumeURL = fileURL(root),
                               .importFolderURL = fileURL(garmin + QLatin1String("/NewFiles")),
                               .layout = DeviceLayout::garmin});
        } else if (QFileInfo(planTrip).isDir()) {
            devices.push_back({.name = volume.fileName(),
                               .volumeURL = fileURL(root),
                               .importFolderURL = fileURL(planTrip),
                               .layout = DeviceLayout::bryton});
        }
    }
    return devices;
}

std::optional<QString> MassStorageTransport::deviceName(const QString& garminDir)
{
    QFile file(garminDir + QLatin1String("/GarminDevice.xml"));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // A plain text search, not an XML parse: the first Description element
    // names the device, whatever element holds it.
    const QString text = QString::fromUtf8(file.readAll());
    static const QString open = QStringLiteral("<Description>");
    static const QString close = QStringLiteral("</Description>");
    const qsizetype start = text.indexOf(open);
    if (start < 0)
        return std::nullopt;
    const qsizetype end = text.indexOf(close, start + open.size());
    if (end < 0)
        return std::nullopt;
    const QString name = text.mid(start + open.size(), end - start - open.size()).trimmed();
    if (name.isEmpty())
        return std::nullopt;
    return name;
}

void MassStorageTransport::writeCourse(const QByteArray& data, const QString& named,
                                       const GarminDevice& to) const
{
    if (to.layout == DeviceLayout::bryton)
        throw DeviceError::notImplemented();
    const std::optional<QString> folder = localDirectory(to.importFolderURL);
    if (!folder || !QDir().mkpath(*folder))
        throw DeviceError::importFolderMissing(to.importFolderURL);

    // The course is written under a hidden name and shown under its own only
    // once it reads back whole, so the device never imports half a course.
    const QString temp = *folder + QLatin1String("/.") + named + QLatin1String(".zuvotmp");
    const QString final = *folder + QLatin1Char('/') + named;
    try {
        m_files->write(temp, data);
        if (m_files->read(temp) != data)
            throw DeviceError::verificationFailed(QStringLiteral("content mismatch writing ") +
                                                  named);
        moveReplacing(temp, final);
    } catch (...) {
        // Whatever failed, no hidden partial file stays on the device.
        QFile::remove(temp);
        throw;
    }
}

void MassStorageTransport::writeTour(const std::vector<model::Coordinate>& coordinates,
                                     const QString& name, const GarminDevice& to) const
{
    if (to.layout != DeviceLayout::bryton)
        throw DeviceError::notImplemented();
    const QString volume = requireLocalDirectory(to.volumeURL);
    const QString planTrip = volume + QLatin1String("/PlanTrip");
    const QString tracks = volume + QLatin1String("/Tracks");

    // Every way out, a failure included, leaves both folders without "._"
    // files, which the device would take for broken tours.
    struct Sweep {
        const QString& planTrip;
        const QString& tracks;
        ~Sweep()
        {
            sweepAppleDouble(planTrip);
            sweepAppleDouble(tracks);
        }
    } sweep{planTrip, tracks};

    const QString fit = planTrip + QLatin1Char('/') + name + QLatin1String(".fit");
    const QString track = tracks + QLatin1Char('/') + name + QLatin1String(".track");
    if (QFileInfo::exists(fit) || QFileInfo::exists(track))
        throw DeviceError::verificationFailed(QStringLiteral("tour '") + name +
                                              QStringLiteral("' already exists on the device"));

    makeDirectory(planTrip);
    makeDirectory(tracks);
    const formats::BrytonTour tour{.name = name, .points = coordinates};
    using Writer = formats::BrytonTourWriter;
    const QString base = tracks + QLatin1Char('/') + name;
    writeAtomically(fit, Writer::fitData(tour));
    writeAtomically(base + QLatin1String(".tinfo"), Writer::tinfoData(tour));
    writeAtomically(base + QLatin1String(".smy"), Writer::smyData(tour));
    makeDirectory(base);
    writeAtomically(track, Writer::trackData(tour));
}

void MassStorageTransport::sweepAppleDouble(const QString& dir)
{
    const QByteArray path = QFile::encodeName(dir);
    DIR* directory = opendir(path.constData());
    if (!directory)
        return;
    std::vector<QByteArray> taken;
    while (const dirent* entry = readdir(directory)) {
        if (std::strncmp(entry->d_name, "._", 2) != 0)
            continue;
        const QByteArray file = path + '/' + entry->d_name;
        if (entry->d_type == DT_REG) {
            taken.push_back(file);
        } else if (entry->d_type == DT_UNKNOWN) {
            struct stat status {};
            if (lstat(file.constData(), &status) == 0 && S_ISREG(status.st_mode))
                taken.push_back(file);
        }
    }
    closedir(directory);
    for (const QByteArray& file : taken)
        unlink(file.constData());
}

std::vector<DeviceActivity> MassStorageTransport::listActivities(const GarminDevice& on) const
{
    const std::optional<QString> volume = localDirectory(on.volumeURL);
    if (!volume)
        return {};
    if (on.layout == DeviceLayout::bryton)
        return brytonTracks(*volume + QLatin1String("/Tracks"));
    return activityFiles(*volume + QLatin1String("/Garmin/Activities"));
}

std::vector<DeviceActivity> MassStorageTransport::listCourses(const GarminDevice& on) const
{
    const std::optional<QString> volume = localDirectory(on.volumeURL);
    if (!volume || on.layout == DeviceLayout::bryton)
        return {};
    return activityFiles(*volume + QLatin1String("/Garmin/Courses"));
}

std::vector<DeviceActivity> MassStorageTransport::activityFiles(const QString& dir)
{
    std::vector<DeviceActivity> files =
        listFiles(dir, {QLatin1String("fit"), QLatin1String("gpx")});
    sortNewestFirst(files);
    return files;
}

std::vector<DeviceActivity> MassStorageTransport::brytonTracks(const QString& dir)
{
    std::vector<DeviceActivity> tracks;
    for (DeviceActivity& file : listFiles(dir, {QLatin1String("track")})) {
        // Duplicates and sort files the device keeps beside its rides, and
        // tracks it has not written yet, are no rides.
        const QString base = QFileInfo(file.name).completeBaseName();
        if (base.startsWith(QLatin1String("dupli")) || base.startsWith(QLatin1String("sort")) ||
            file.size < 1)
            continue;
        tracks.push_back(std::move(file));
    }
    sortNewestFirst(tracks);
    return tracks;
}

void MassStorageTransport::downloadActivity(const DeviceActivity& activity, const GarminDevice&,
                                            const QString& to) const
{
    // Copying a file onto itself would first empty it: the ride on the
    // device would be gone.
    if (sameFile(activity.id, to))
        throw FileSystemError{.path = to,
                              .message = QStringLiteral("cannot download a file onto itself")};
    QFile source(activity.id);
    if (!source.open(QIODevice::ReadOnly))
        throw FileSystemError{.path = activity.id, .message = source.errorString()};
    FileReplacement copy(to);
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    qint64 read = 0;
    while ((read = source.read(buffer.data(), buffer.size())) > 0)
        copy.write(QByteArrayView(buffer.constData(), read));
    if (read < 0)
        throw FileSystemError{.path = activity.id, .message = source.errorString()};
    copy.commit();
}

} // namespace zuvo::devices
