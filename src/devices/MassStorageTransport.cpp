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
#include <QSet>
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

// Every folder (or, with `kind` QDir::Files, file) below `root` that
// `relative` ("Garmin/Activities") names when each name is compared in any
// letter case, the exact spelling first.
QStringList matchingPaths(const QString& root, const QString& relative,
                          QDir::Filters kind = QDir::Dirs)
{
    QStringList found{root};
    const QStringList names = relative.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString& name = names[i];
        QStringList next;
        for (const QString& dir : found) {
            const QStringList entries = QDir(dir).entryList(
                (i + 1 == names.size() ? kind : QDir::Dirs) | QDir::NoDotAndDotDot, QDir::Name);
            if (entries.contains(name))
                next << dir + QLatin1Char('/') + name;
            for (const QString& entry : entries) {
                if (entry != name && entry.compare(name, Qt::CaseInsensitive) == 0)
                    next << dir + QLatin1Char('/') + entry;
            }
        }
        found = std::move(next);
    }
    return found;
}

std::optional<QString> firstPath(const QString& root, const QString& relative,
                                 QDir::Filters kind = QDir::Dirs)
{
    const QStringList paths = matchingPaths(root, relative, kind);
    if (paths.isEmpty())
        return std::nullopt;
    return paths.front();
}

// Where `relative` is below `root`: the device's own spelling of each folder
// that exists, the name as given from the first one that does not.
QString pathFor(const QString& root, const QString& relative)
{
    QString path = root;
    const QStringList names = relative.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < names.size(); ++i) {
        const std::optional<QString> existing = firstPath(path, names[i]);
        if (!existing)
            return path + QLatin1Char('/') + names.mid(i).join(QLatin1Char('/'));
        path = *existing;
    }
    return path;
}

// The visible files of `dirs` whose lower-cased extension is one of
// `extensions`, each file once however many of the folders reach it; nothing
// from a folder that cannot be listed.
std::vector<DeviceActivity> listFiles(const QStringList& dirs,
                                      std::initializer_list<QLatin1String> extensions)
{
    std::vector<DeviceActivity> files;
    QSet<QString> seen;
    for (const QString& dir : dirs) {
        const QFileInfoList entries =
            QDir(dir).entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
        for (const QFileInfo& entry : entries) {
            const QString extension = entry.suffix().toLower();
            if (std::find(extensions.begin(), extensions.end(), extension) == extensions.end())
                continue;
            if (const QString canonical = entry.canonicalFilePath(); !canonical.isEmpty()) {
                if (seen.contains(canonical))
                    continue;
                seen.insert(canonical);
            }
            DeviceActivity activity{
                .id = entry.absoluteFilePath(), .name = entry.fileName(), .size = entry.size()};
            if (const QDateTime modified = entry.lastModified(); modified.isValid())
                activity.date = modified.toUTC();
            files.push_back(std::move(activity));
        }
    }
    return files;
}

// The files in `dirs` named `baseName` with one of `extensions` (lower case),
// both compared in any letter case.
QStringList filesNamed(const QStringList& dirs, const QString& baseName,
                       std::initializer_list<QLatin1String> extensions)
{
    QStringList found;
    for (const QString& dir : dirs) {
        const QFileInfoList entries =
            QDir(dir).entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
        for (const QFileInfo& entry : entries) {
            const QString extension = entry.suffix().toLower();
            if (entry.completeBaseName().compare(baseName, Qt::CaseInsensitive) == 0 &&
                std::find(extensions.begin(), extensions.end(), extension) != extensions.end())
                found << entry.absoluteFilePath();
        }
    }
    return found;
}

// Takes off the files an earlier course of the same name left beside the one
// just written at `written` (another extension, another letter case, the
// device's own copy among its courses).
void removeEarlier(const QStringList& earlier, const QString& written)
{
    for (const QString& path : earlier) {
        if (sameFile(path, written) || !QFileInfo::exists(path))
            continue;
        if (!QFile::remove(path))
            throw FileSystemError{.path = path,
                                  .message = QStringLiteral("cannot remove the earlier course")};
    }
}

// The folders of a volume's layout that hold rides, in every letter case found.
QStringList rideDirectories(const QString& volume, DeviceLayout layout)
{
    QStringList dirs;
    for (const QString& folder : rideFolders(layout))
        dirs << matchingPaths(volume, folder);
    return dirs;
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
        if (const auto garmin = firstPath(root, QStringLiteral("Garmin"))) {
            devices.push_back(
                {.name = deviceName(*garmin).value_or(volume.fileName()),
                 .volumeURL = fileURL(root),
                 .importFolderURL = fileURL(pathFor(*garmin, QStringLiteral("NewFiles"))),
                 .layout = DeviceLayout::garmin});
        } else if (const auto planTrip = firstPath(root, QStringLiteral("PlanTrip"))) {
            devices.push_back({.name = volume.fileName(),
                               .volumeURL = fileURL(root),
                               .importFolderURL = fileURL(*planTrip),
                               .layout = DeviceLayout::bryton});
        }
    }
    return devices;
}

std::optional<QString> MassStorageTransport::deviceName(const QString& garminDir)
{
    const auto path = firstPath(garminDir, QStringLiteral("GarminDevice.xml"), QDir::Files);
    QFile file(path.value_or(QString()));
    if (!path || !file.open(QIODevice::ReadOnly))
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

QStringList MassStorageTransport::sameNamedCourses(const QString& named,
                                                   const GarminDevice& on) const
{
    const std::optional<QString> volume = localDirectory(on.volumeURL);
    if (!volume)
        return {};
    if (on.layout == DeviceLayout::bryton) {
        return filesNamed({pathFor(*volume, QStringLiteral("PlanTrip"))}, named,
                          {QLatin1String("fit")}) +
               filesNamed({pathFor(*volume, QStringLiteral("Tracks"))}, named,
                          {QLatin1String("track")});
    }
    QStringList folders = matchingPaths(*volume, QStringLiteral("Garmin/Courses"));
    if (const auto newFiles = localDirectory(on.importFolderURL))
        folders.prepend(*newFiles);
    return filesNamed(folders, QFileInfo(named).completeBaseName(),
                      {QLatin1String("gpx"), QLatin1String("fit")});
}

std::optional<QString> MassStorageTransport::existingCourse(const QString& named,
                                                            const GarminDevice& on) const
{
    const QStringList files = sameNamedCourses(named, on);
    if (files.isEmpty())
        return std::nullopt;
    return files.front();
}

void MassStorageTransport::writeCourse(const QByteArray& data, const QString& named,
                                       const GarminDevice& to, OnExisting existing) const
{
    if (to.layout == DeviceLayout::bryton)
        throw DeviceError::notImplemented();
    const std::optional<QString> folder = localDirectory(to.importFolderURL);
    if (!folder || !QDir().mkpath(*folder))
        throw DeviceError::importFolderMissing(to.importFolderURL);
    const QStringList earlier = sameNamedCourses(named, to);
    if (!earlier.isEmpty() && existing == OnExisting::refuse)
        throw DeviceError::alreadyExists(earlier.front());

    // The course is written under a hidden name and shown under its own only
    // once it reads back whole, so the device never imports half a course,
    // and a course it replaces stays until then.
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
    removeEarlier(earlier, final);
}

void MassStorageTransport::writeTour(const std::vector<model::Coordinate>& coordinates,
                                     const QString& name, const GarminDevice& to,
                                     OnExisting existing) const
{
    if (to.layout != DeviceLayout::bryton)
        throw DeviceError::notImplemented();
    const QString volume = requireLocalDirectory(to.volumeURL);
    const QString planTrip = pathFor(volume, QStringLiteral("PlanTrip"));
    const QString tracks = pathFor(volume, QStringLiteral("Tracks"));

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
    const QStringList earlierFit = filesNamed({planTrip}, name, {QLatin1String("fit")});
    const QStringList earlierTrack = filesNamed({tracks}, name, {QLatin1String("track")});
    if (existing == OnExisting::refuse && !(earlierFit + earlierTrack).isEmpty())
        throw DeviceError::alreadyExists((earlierFit + earlierTrack).front());

    makeDirectory(planTrip);
    makeDirectory(tracks);
    const formats::BrytonTour tour{.name = name, .points = coordinates};
    using Writer = formats::BrytonTourWriter;
    const QString base = tracks + QLatin1Char('/') + name;
    writeAtomically(fit, Writer::fitData(tour));
    writeAtomically(base + QLatin1String(".tinfo"), Writer::tinfoData(tour));
    writeAtomically(base + QLatin1String(".smy"), Writer::smyData(tour));
    makeDirectory(base);
    // Each file of a tour it replaces is replaced in one step.
    writeAtomically(track, Writer::trackData(tour));
    removeEarlier(earlierFit, fit);
    removeEarlier(earlierTrack, track);
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
    const QStringList dirs = rideDirectories(*volume, on.layout);
    return on.layout == DeviceLayout::bryton ? brytonTracks(dirs) : activityFiles(dirs);
}

std::vector<DeviceActivity> MassStorageTransport::listCourses(const GarminDevice& on) const
{
    const std::optional<QString> volume = localDirectory(on.volumeURL);
    if (!volume || on.layout == DeviceLayout::bryton)
        return {};
    return activityFiles(matchingPaths(*volume, QStringLiteral("Garmin/Courses")));
}

std::vector<DeviceActivity> MassStorageTransport::activityFiles(const QStringList& dirs)
{
    std::vector<DeviceActivity> files =
        listFiles(dirs, {QLatin1String("fit"), QLatin1String("gpx")});
    sortNewestFirst(files);
    return files;
}

std::vector<DeviceActivity> MassStorageTransport::brytonTracks(const QStringList& dirs)
{
    std::vector<DeviceActivity> tracks;
    for (DeviceActivity& file : listFiles(dirs, {QLatin1String("track")})) {
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
