#pragma once

#include "devices/DeviceTransport.h"
#include "devices/FileSystem.h"

#include <QString>

#include <memory>
#include <optional>

namespace zuvo::devices {

// Bike computers that mount as a USB volume: Garmin volumes (a Garmin
// folder) and Bryton volumes (a PlanTrip folder). Only plain file operations
// on the mounted volume; the folder layout is all that is device-specific.
// Folder names are matched in any letter case, the exact spelling first.
class MassStorageTransport : public DeviceTransport {
public:
    // `volumesDirectory` holds one subdirectory per mounted volume. `files`
    // does the course write and its read-back.
    explicit MassStorageTransport(QString volumesDirectory,
                                  std::shared_ptr<const FileSystem> files = nullptr);

    // Where the desktop mounts removable media for this user: /media/<user>,
    // else /run/media/<user> when only that exists.
    static QString defaultVolumesDirectory();

    const QString& volumesDirectory() const { return m_volumesDirectory; }

    std::vector<GarminDevice> scanVolumes() const override;
    std::optional<QString> existingCourse(const QString& named,
                                          const GarminDevice& on) const override;
    void writeCourse(const QByteArray& data, const QString& named, const GarminDevice& to,
                     OnExisting existing) const override;
    std::vector<DeviceActivity> listActivities(const GarminDevice& on) const override;
    void downloadActivity(const DeviceActivity& activity, const GarminDevice& from,
                          const QString& to) const override;
    std::vector<DeviceActivity> listCourses(const GarminDevice& on) const override;
    void writeTour(const std::vector<model::Coordinate>& coordinates, const QString& name,
                   const GarminDevice& to, OnExisting existing) const override;

private:
    // The files of courses (Garmin, in NewFiles and Courses) or tours
    // (Bryton) that a course written as `named` would take the place of.
    QStringList sameNamedCourses(const QString& named, const GarminDevice& on) const;
    // The Description text of GarminDevice.xml in `garminDir`, if any.
    static std::optional<QString> deviceName(const QString& garminDir);
    // The rides or courses in `dirs`, each file once, newest first.
    static std::vector<DeviceActivity> activityFiles(const QStringList& dirs);
    static std::vector<DeviceActivity> brytonTracks(const QStringList& dirs);
    // Removes the "._" companion files macOS leaves beside every file it
    // writes; never fails.
    static void sweepAppleDouble(const QString& dir);

    QString m_volumesDirectory;
    std::shared_ptr<const FileSystem> m_files;
};

} // namespace zuvo::devices
