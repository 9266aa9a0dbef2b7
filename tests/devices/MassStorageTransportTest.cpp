// The mass-storage transport on volume trees built in temporary folders.
#include "devices/MassStorageTransport.h"

#include "DeviceTesting.h"
#include "devices/LocalFileSystem.h"
#include "formats/BrytonTourWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

using namespace zuvo::devices;
using zuvo::test::thrown;

namespace {

const QByteArray course = "<gpx creator=\"zuvo\"/>";

class MassStorage : public testing::Test {
protected:
    QString path(const QString& relative) const { return m_volumes.filePath(relative); }

    void make(const QString& relative, const QByteArray& content = {},
              const std::optional<QDateTime>& modified = std::nullopt) const
    {
        const QString file = path(relative);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(file).absolutePath()));
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(content);
        // Written first, so that closing the file cannot move the time again.
        out.flush();
        if (modified)
            out.setFileTime(*modified, QFileDevice::FileModificationTime);
    }

    void makeDirectory(const QString& relative) const
    {
        ASSERT_TRUE(QDir().mkpath(path(relative)));
    }

    QByteArray read(const QString& relative) const
    {
        QFile file(path(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QStringList entries(const QString& relative) const
    {
        return QDir(path(relative))
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                       QDir::Name);
    }

    GarminDevice garmin(const QString& volume) const
    {
        return {.name = volume,
                .volumeURL = QUrl::fromLocalFile(path(volume)).toString(),
                .importFolderURL =
                    QUrl::fromLocalFile(path(volume + "/Garmin/NewFiles")).toString(),
                .layout = DeviceLayout::garmin};
    }

    GarminDevice bryton(const QString& volume) const
    {
        return {.name = volume,
                .volumeURL = QUrl::fromLocalFile(path(volume)).toString(),
                .importFolderURL = QUrl::fromLocalFile(path(volume + "/PlanTrip")).toString(),
                .layout = DeviceLayout::bryton};
    }

    QTemporaryDir m_volumes;
    const MassStorageTransport transport{m_volumes.path()};
};

// Hands back other bytes than were written, or fails half-way, like a
// failing card.
class FailingFileSystem : public LocalFileSystem {
public:
    enum class Fault { changedReadBack, writeFailsHalfWay, readFails };

    explicit FailingFileSystem(Fault fault)
        : m_fault(fault)
    {
    }

    void write(const QString& path, const QByteArray& data) const override
    {
        if (m_fault != Fault::writeFailsHalfWay)
            return LocalFileSystem::write(path, data);
        LocalFileSystem::write(path, data.left(data.size() / 2));
        throw FileSystemError{.path = path, .message = "No space left on device"};
    }

    QByteArray read(const QString& path) const override
    {
        if (m_fault == Fault::readFails)
            throw FileSystemError{.path = path, .message = "Input/output error"};
        QByteArray data = LocalFileSystem::read(path);
        if (m_fault == Fault::changedReadBack && !data.isEmpty())
            data[0] = char(data[0] ^ 0x20);
        return data;
    }

private:
    Fault m_fault;
};

QDateTime day(int month, int day)
{
    return QDateTime(QDate(2024, month, day), QTime(8, 0), Qt::UTC);
}

} // namespace

TEST_F(MassStorage, recognisesGarminAndBrytonVolumes)
{
    makeDirectory("BOTH/Garmin");
    makeDirectory("BOTH/PlanTrip");
    make("EDGE/Garmin/GarminDevice.xml",
         "<Device><Model><Description>  Edge 840\n</Description></Model>"
         "<Extensions><Description>Other</Description></Extensions></Device>");
    make("BLANK/Garmin/GarminDevice.xml", "<Description>   </Description>");
    make("UNCLOSED/Garmin/GarminDevice.xml", "<Description>Edge");
    make("FILE/Garmin");
    makeDirectory("RIDER 420/PlanTrip");
    makeDirectory(".hidden/Garmin");
    makeDirectory("stick/DCIM");

    const std::vector<GarminDevice> devices = transport.scanVolumes();
    ASSERT_EQ(devices.size(), 5u);
    EXPECT_EQ(devices[0].name, QStringLiteral("BLANK"));
    EXPECT_EQ(devices[1], garmin("BOTH"));
    EXPECT_EQ(devices[2].name, QStringLiteral("Edge 840"));
    EXPECT_EQ(devices[2].importFolderURL, garmin("EDGE").importFolderURL);
    EXPECT_EQ(devices[3], bryton("RIDER 420"));
    EXPECT_EQ(QUrl(devices[3].volumeURL).toLocalFile(), path("RIDER 420"));
    EXPECT_EQ(devices[4].name, QStringLiteral("UNCLOSED"));

    EXPECT_TRUE(MassStorageTransport(path("absent")).scanVolumes().empty());
}

TEST_F(MassStorage, writesCoursesUnderTheirNameOnlyWhenComplete)
{
    transport.writeCourse(course, "Alpen.gpx", garmin("EDGE"));
    EXPECT_EQ(entries("EDGE/Garmin/NewFiles"), QStringList{"Alpen.gpx"});
    EXPECT_EQ(read("EDGE/Garmin/NewFiles/Alpen.gpx"), course);

    transport.writeCourse("<gpx/>", "Alpen.gpx", garmin("EDGE"));
    EXPECT_EQ(entries("EDGE/Garmin/NewFiles"), QStringList{"Alpen.gpx"});
    EXPECT_EQ(read("EDGE/Garmin/NewFiles/Alpen.gpx"), QByteArray("<gpx/>"));

    EXPECT_EQ(thrown<DeviceError>([&] { transport.writeCourse(course, "A.gpx", bryton("RIDER")); }),
              DeviceError::notImplemented());

    make("FULL/Garmin/NewFiles");
    EXPECT_EQ(thrown<DeviceError>([&] { transport.writeCourse(course, "A.gpx", garmin("FULL")); }),
              DeviceError::importFolderMissing(garmin("FULL").importFolderURL));
}

TEST_F(MassStorage, aFailedCourseWriteLeavesNoTemporaryFile)
{
    make("EDGE/Garmin/NewFiles/Alpen.gpx", "the old course");
    const auto on = [&](FailingFileSystem::Fault fault) {
        return MassStorageTransport(m_volumes.path(), std::make_shared<FailingFileSystem>(fault));
    };

    EXPECT_EQ(thrown<DeviceError>([&] {
                  on(FailingFileSystem::Fault::changedReadBack)
                      .writeCourse(course, "Alpen.gpx", garmin("EDGE"));
              }),
              DeviceError::verificationFailed("content mismatch writing Alpen.gpx"));
    EXPECT_EQ(entries("EDGE/Garmin/NewFiles"), QStringList{"Alpen.gpx"});
    EXPECT_EQ(read("EDGE/Garmin/NewFiles/Alpen.gpx"), QByteArray("the old course"));

    const QString temp = path("EDGE/Garmin/NewFiles/.Alpen.gpx.zuvotmp");
    EXPECT_EQ(thrown<FileSystemError>([&] {
                  on(FailingFileSystem::Fault::writeFailsHalfWay)
                      .writeCourse(course, "Alpen.gpx", garmin("EDGE"));
              }),
              (FileSystemError{temp, "No space left on device"}));
    EXPECT_EQ(entries("EDGE/Garmin/NewFiles"), QStringList{"Alpen.gpx"});

    EXPECT_EQ(thrown<FileSystemError>([&] {
                  on(FailingFileSystem::Fault::readFails)
                      .writeCourse(course, "Alpen.gpx", garmin("EDGE"));
              }),
              (FileSystemError{temp, "Input/output error"}));
    EXPECT_EQ(entries("EDGE/Garmin/NewFiles"), QStringList{"Alpen.gpx"});

    // A folder in the course's place: the move fails, the temp file goes.
    makeDirectory("EDGE/Garmin/NewFiles/Taken.gpx/inside");
    EXPECT_TRUE(thrown<FileSystemError>(
        [&] { transport.writeCourse(course, "Taken.gpx", garmin("EDGE")); }));
    EXPECT_EQ(entries("EDGE/Garmin/NewFiles"), (QStringList{"Alpen.gpx", "Taken.gpx"}));
}

TEST_F(MassStorage, listsRidesAndCoursesNewestFirst)
{
    make("EDGE/Garmin/Activities/a.FIT", "fit", day(5, 1));
    make("EDGE/Garmin/Activities/b.gpx", "gpx!", day(5, 2));
    make("EDGE/Garmin/Activities/c.tcx", "tcx", day(5, 3));
    make("EDGE/Garmin/Activities/.d.fit", "hidden", day(5, 4));
    makeDirectory("EDGE/Garmin/Activities/e.fit");
    make("EDGE/Garmin/Courses/Alpen.gpx", "course", day(4, 1));

    const QString activities = path("EDGE/Garmin/Activities/");
    EXPECT_EQ(transport.listActivities(garmin("EDGE")),
              (std::vector<DeviceActivity>{{activities + "b.gpx", "b.gpx", day(5, 2), 4},
                                           {activities + "a.FIT", "a.FIT", day(5, 1), 3}}));
    const auto courses = transport.listCourses(garmin("EDGE"));
    ASSERT_EQ(courses.size(), 1u);
    EXPECT_EQ(courses[0].name, QStringLiteral("Alpen.gpx"));
    EXPECT_TRUE(transport.listActivities(garmin("NONE")).empty());

    make("RIDER/Tracks/ride.TRACK", QByteArray(10, 'x'), day(5, 1));
    make("RIDER/Tracks/later.track", QByteArray(32, 'x'), day(5, 2));
    make("RIDER/Tracks/empty.track", {}, day(5, 3));
    make("RIDER/Tracks/duplicate_1.track", QByteArray(10, 'x'), day(5, 3));
    make("RIDER/Tracks/sort.track", QByteArray(10, 'x'), day(5, 3));
    make("RIDER/Tracks/Sortie.track", QByteArray(10, 'x'), day(4, 1));
    make("RIDER/Tracks/ride.smy", QByteArray(68, 'x'), day(5, 3));
    make("RIDER/PlanTrip/Tour.fit", "tour");
    QStringList names;
    for (const DeviceActivity& track : transport.listActivities(bryton("RIDER")))
        names << track.name;
    EXPECT_EQ(names, (QStringList{"later.track", "ride.TRACK", "Sortie.track"}));
    EXPECT_TRUE(transport.listCourses(bryton("RIDER")).empty());
}

TEST_F(MassStorage, writesBrytonToursAndSweepsAppleDoubleFiles)
{
    makeDirectory("RIDER/PlanTrip/._folder");
    make("RIDER/PlanTrip/._Old.fit", "apple");
    make("RIDER/PlanTrip/Old.fit", "tour");
    make("RIDER/Tracks/._Old.track", "apple");
    ASSERT_TRUE(QFile::link(path("RIDER/PlanTrip/Old.fit"), path("RIDER/Tracks/._link")));

    const std::vector<zuvo::model::Coordinate> points{{48.1, 11.5, 520.0}, {48.2, 11.6}};
    transport.writeTour(points, "Runde", bryton("RIDER"));
    const zuvo::formats::BrytonTour tour{.name = "Runde", .points = points};
    using Writer = zuvo::formats::BrytonTourWriter;
    EXPECT_EQ(read("RIDER/PlanTrip/Runde.fit"), Writer::fitData(tour));
    EXPECT_EQ(read("RIDER/Tracks/Runde.tinfo"), QByteArray());
    EXPECT_EQ(read("RIDER/Tracks/Runde.smy"), Writer::smyData(tour));
    EXPECT_EQ(read("RIDER/Tracks/Runde.track"), Writer::trackData(tour));
    EXPECT_TRUE(entries("RIDER/Tracks/Runde").isEmpty());
    EXPECT_TRUE(QFileInfo(path("RIDER/Tracks/Runde")).isDir());
    EXPECT_EQ(entries("RIDER/PlanTrip"), (QStringList{"._folder", "Old.fit", "Runde.fit"}));
    EXPECT_EQ(entries("RIDER/Tracks"),
              (QStringList{"._link", "Runde", "Runde.smy", "Runde.tinfo", "Runde.track"}));

    // A tour whose track is already there: nothing is written, but the "._"
    // files the mount left are swept all the same.
    make("RIDER/Tracks/Alpen.track", "existing");
    make("RIDER/PlanTrip/._Alpen.fit", "apple");
    make("RIDER/Tracks/._Alpen.track", "apple");
    EXPECT_EQ(thrown<DeviceError>([&] { transport.writeTour(points, "Alpen", bryton("RIDER")); }),
              DeviceError::verificationFailed("tour 'Alpen' already exists on the device"));
    EXPECT_EQ(entries("RIDER/PlanTrip"), (QStringList{"._folder", "Old.fit", "Runde.fit"}));
    EXPECT_FALSE(entries("RIDER/Tracks").contains("._Alpen.track"));
    EXPECT_EQ(read("RIDER/Tracks/Alpen.track"), QByteArray("existing"));

    EXPECT_EQ(thrown<DeviceError>([&] { transport.writeTour(points, "X", garmin("EDGE")); }),
              DeviceError::notImplemented());
}

TEST_F(MassStorage, downloadsReplacingTheDestination)
{
    make("EDGE/Garmin/Activities/a.fit", "the ride");
    make("local/a.fit", "an older and longer download");
    const auto rides = transport.listActivities(garmin("EDGE"));
    ASSERT_EQ(rides.size(), 1u);

    transport.downloadActivity(rides[0], garmin("EDGE"), path("local/a.fit"));
    EXPECT_EQ(read("local/a.fit"), QByteArray("the ride"));

    ASSERT_TRUE(QFile::remove(path("EDGE/Garmin/Activities/a.fit")));
    const auto error = thrown<FileSystemError>(
        [&] { transport.downloadActivity(rides[0], garmin("EDGE"), path("local/b.fit")); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->path, rides[0].id);
    EXPECT_FALSE(QFile::exists(path("local/b.fit")));
}
