// The mass-storage transport on volume trees in a temporary folder.
#include "devices/MassStorageTransport.h"

#include "DeviceTesting.h"
#include "FileSizeLimit.h"
#include "devices/LocalFileSystem.h"
#include "formats/BrytonTourWriter.h"

#include <QDir>
#include <QTemporaryDir>
#include <QUrl>

#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

using namespace zuvo::devices;
using zuvo::test::day;
using zuvo::test::thrown;

namespace {

class MassStorage : public testing::Test, protected zuvo::test::VolumeTree {
protected:
    GarminDevice device(const QString& volume, DeviceLayout layout = DeviceLayout::garmin) const
    {
        const QString folder = layout == DeviceLayout::garmin ? "/Garmin/NewFiles" : "/PlanTrip";
        return {.name = volume,
                .volumeURL = url(volume),
                .importFolderURL = url(volume + folder),
                .layout = layout};
    }

    const MassStorageTransport transport{root()};
};

// A card that hands back other bytes than were written, or fails half-way.
class FailingFileSystem : public LocalFileSystem {
public:
    enum class Fault { changedReadBack, writeFailsHalfWay, readFails };

    explicit FailingFileSystem(Fault fault)
        : m_fault(fault)
    {
    }

    void write(const QString& path, const QByteArray& data) const override
    {
        LocalFileSystem::write(path, m_fault == Fault::writeFailsHalfWay ? data.left(3) : data);
        if (m_fault == Fault::writeFailsHalfWay)
            throw FileSystemError{path, "No space left on device"};
    }

    QByteArray read(const QString& path) const override
    {
        if (m_fault == Fault::readFails)
            throw FileSystemError{path, "Input/output error"};
        return LocalFileSystem::read(path).replace("gpx", "GPX");
    }

private:
    Fault m_fault;
};

} // namespace

TEST_F(MassStorage, recognisesGarminAndBrytonVolumes)
{
    make("BOTH/Garmin/x");
    make("BOTH/PlanTrip/x");
    make("EDGE/Garmin/GarminDevice.xml", "<Device><Model><Description>  Edge 840\n</Description>"
                                         "</Model><Description>Other</Description></Device>");
    make("BLANK/Garmin/GarminDevice.xml", "<Description>   </Description>");
    make("FILE/Garmin");
    make("RIDER 420/PlanTrip/x");
    make(".hidden/Garmin/x");
    make("stick/DCIM/x");
    // A watch writes its folders in capitals; a course goes where its NewFiles is.
    make("FENIX/GARMIN/GARMINDEVICE.XML", "<Description>fenix 7</Description>");
    make("FENIX/GARMIN/NEWFILES/x");
    make("FR255/GARMIN/ACTIVITY/x");

    EXPECT_EQ(transport.scanVolumes(),
              (std::vector<GarminDevice>{device("BLANK"),
                                         device("BOTH"),
                                         {"Edge 840", url("EDGE"), url("EDGE/Garmin/NewFiles")},
                                         {"fenix 7", url("FENIX"), url("FENIX/GARMIN/NEWFILES")},
                                         {"FR255", url("FR255"), url("FR255/GARMIN/NewFiles")},
                                         device("RIDER 420", DeviceLayout::bryton)}));
    EXPECT_TRUE(MassStorageTransport(path("absent")).scanVolumes().empty());
}

TEST_F(MassStorage, writesCoursesUnderTheirNameOnlyWhenComplete)
{
    transport.writeCourse("<gpx/>", "Alpen.gpx", device("EDGE"), OnExisting::refuse);
    EXPECT_EQ(entries("EDGE/Garmin/NewFiles"), QStringList{"Alpen.gpx"});
    transport.writeCourse("<gpx>2</gpx>", "Alpen.gpx", device("EDGE"), OnExisting::replace);
    EXPECT_EQ(entries("EDGE/Garmin/NewFiles"), QStringList{"Alpen.gpx"});
    EXPECT_EQ(read("EDGE/Garmin/NewFiles/Alpen.gpx"), QByteArray("<gpx>2</gpx>"));

    EXPECT_EQ(thrown<DeviceError>([&] {
                  transport.writeCourse("<gpx/>", "A.gpx", device("R", DeviceLayout::bryton),
                                        OnExisting::refuse);
              }),
              DeviceError::notImplemented());
    make("FULL/Garmin/NewFiles");
    EXPECT_EQ(thrown<DeviceError>([&] {
                  transport.writeCourse("<gpx/>", "A.gpx", device("FULL"), OnExisting::refuse);
              }),
              DeviceError::importFolderMissing(url("FULL/Garmin/NewFiles")));
}

TEST_F(MassStorage, aCourseOfTheSameNameIsReplacedOnlyWhenAsked)
{
    // The same course waiting as FIT, and imported by the device in another letter case.
    make("EDGE/Garmin/NewFiles/Alpen.fit", "waiting");
    make("EDGE/Garmin/Courses/ALPEN.FIT", "imported");
    make("EDGE/Garmin/Courses/Alpen Tour.fit", "another course");
    const QString waiting = path("EDGE/Garmin/NewFiles/Alpen.fit");
    EXPECT_EQ(transport.existingCourse("Alpen.gpx", device("EDGE")), waiting);
    EXPECT_EQ(transport.existingCourse("alpen.fit", device("EDGE")), waiting);
    EXPECT_EQ(transport.existingCourse("Alpen-Tour.gpx", device("EDGE")), std::nullopt);

    EXPECT_EQ(thrown<DeviceError>([&] {
                  transport.writeCourse("<gpx/>", "Alpen.gpx", device("EDGE"), OnExisting::refuse);
              }),
              DeviceError::alreadyExists(waiting));
    EXPECT_EQ(entries("EDGE/Garmin/NewFiles"), QStringList{"Alpen.fit"});
    EXPECT_EQ(read("EDGE/Garmin/Courses/ALPEN.FIT"), QByteArray("imported"));

    transport.writeCourse("<gpx/>", "Alpen.gpx", device("EDGE"), OnExisting::replace);
    EXPECT_EQ(entries("EDGE/Garmin/NewFiles"), QStringList{"Alpen.gpx"});
    EXPECT_EQ(entries("EDGE/Garmin/Courses"), QStringList{"Alpen Tour.fit"});

    // Nothing of the old course goes before the new one is whole.
    const auto failing =
        std::make_shared<FailingFileSystem>(FailingFileSystem::Fault::writeFailsHalfWay);
    EXPECT_TRUE(thrown<FileSystemError>([&] {
        MassStorageTransport(root(), failing)
            .writeCourse("<gpx>new</gpx>", "Alpen.fit", device("EDGE"), OnExisting::replace);
    }));
    EXPECT_EQ(read("EDGE/Garmin/NewFiles/Alpen.gpx"), QByteArray("<gpx/>"));
}

TEST_F(MassStorage, aFailedCourseWriteLeavesNoTemporaryFile)
{
    make("EDGE/Garmin/NewFiles/Alpen.gpx", "the old course");
    const auto write = [&](FailingFileSystem::Fault fault) {
        return [=, this] {
            MassStorageTransport(root(), std::make_shared<FailingFileSystem>(fault))
                .writeCourse("<gpx/>", "Alpen.gpx", device("EDGE"), OnExisting::replace);
        };
    };
    const QString temp = path("EDGE/Garmin/NewFiles/.Alpen.gpx.zuvotmp");
    using Fault = FailingFileSystem::Fault;

    EXPECT_EQ(thrown<DeviceError>(write(Fault::changedReadBack)),
              DeviceError::verificationFailed("content mismatch writing Alpen.gpx"));
    EXPECT_EQ(entries("EDGE/Garmin/NewFiles"), QStringList{"Alpen.gpx"});
    EXPECT_EQ(read("EDGE/Garmin/NewFiles/Alpen.gpx"), QByteArray("the old course"));
    EXPECT_EQ(thrown<FileSystemError>(write(Fault::writeFailsHalfWay)),
              (FileSystemError{temp, "No space left on device"}));
    EXPECT_EQ(entries("EDGE/Garmin/NewFiles"), QStringList{"Alpen.gpx"});
    EXPECT_EQ(thrown<FileSystemError>(write(Fault::readFails)),
              (FileSystemError{temp, "Input/output error"}));
    EXPECT_EQ(entries("EDGE/Garmin/NewFiles"), QStringList{"Alpen.gpx"});

    // A folder where the course should go: the move fails, the temp file goes.
    make("EDGE/Garmin/NewFiles/Taken.gpx/x");
    EXPECT_TRUE(thrown<FileSystemError>(
        [&] { transport.writeCourse("<gpx/>", "Taken.gpx", device("EDGE"), OnExisting::refuse); }));
    EXPECT_EQ(entries("EDGE/Garmin/NewFiles"), (QStringList{"Alpen.gpx", "Taken.gpx"}));
}

TEST_F(MassStorage, listsRidesNewestFirstAndDownloadsThem)
{
    make("EDGE/Garmin/Activities/a.FIT", "fit", day(1));
    make("EDGE/Garmin/Activities/b.gpx", "gpx!", day(2));
    make("EDGE/Garmin/Activities/c.tcx", "tcx", day(3));
    make("EDGE/Garmin/Activities/.d.fit", "hidden", day(4));
    make("EDGE/Garmin/Courses/Alpen.gpx", "course");
    const QString rides = path("EDGE/Garmin/Activities/");
    const auto listed = transport.listActivities(device("EDGE"));
    EXPECT_EQ(listed, (std::vector<DeviceActivity>{{rides + "b.gpx", "b.gpx", day(2), 4},
                                                   {rides + "a.FIT", "a.FIT", day(1), 3}}));
    EXPECT_EQ(transport.listCourses(device("EDGE")).size(), 1u);
    EXPECT_TRUE(transport.listActivities(device("NONE")).empty());

    // Watches keep rides in Activity, in any letter case; a folder reached twice lists once.
    make("WATCH/Garmin/Activity/w1.fit", "1", day(5));
    make("WATCH/GARMIN/ACTIVITY/w2.FIT", "2", day(6));
    make("WATCH/Garmin/Activities/w3.fit", "3", day(7));
    make("WATCH/GARMIN/COURSES/c.fit", "c");
    ASSERT_TRUE(QFile::link(path("WATCH/Garmin/Activity"), path("WATCH/Garmin/activity")));
    QStringList watchRides;
    for (const DeviceActivity& ride : transport.listActivities(device("WATCH")))
        watchRides << ride.id.mid(path("WATCH/").size());
    EXPECT_EQ(watchRides, (QStringList{"Garmin/Activities/w3.fit", "GARMIN/ACTIVITY/w2.FIT",
                                       "Garmin/Activity/w1.fit"}));
    EXPECT_EQ(transport.listCourses(device("WATCH")).size(), 1u);

    make("local/b.gpx", "an older and longer download");
    transport.downloadActivity(listed[0], device("EDGE"), path("local/b.gpx"));
    EXPECT_EQ(read("local/b.gpx"), QByteArray("gpx!"));
    const auto missing = thrown<FileSystemError>([&] {
        transport.downloadActivity({.id = rides + "z.fit"}, device("EDGE"), path("local/z"));
    });
    EXPECT_EQ(missing.value_or(FileSystemError{}).path, rides + "z.fit");

    make("RIDER/Tracks/ride.TRACK", QByteArray(10, 'x'), day(1));
    make("RIDER/Tracks/later.track", QByteArray(32, 'x'), day(2));
    make("RIDER/Tracks/empty.track", {}, day(3));
    make("RIDER/Tracks/duplicate_1.track", "x", day(3));
    make("RIDER/Tracks/sort.track", "x", day(3));
    make("RIDER/Tracks/Sortie.track", "x");
    make("RIDER/Tracks/ride.smy", "x", day(3));
    make("RIDER/PlanTrip/Tour.fit", "tour");
    QStringList names;
    for (const DeviceActivity& track :
         transport.listActivities(device("RIDER", DeviceLayout::bryton)))
        names << track.name;
    EXPECT_EQ(names, (QStringList{"Sortie.track", "later.track", "ride.TRACK"}));
    EXPECT_TRUE(transport.listCourses(device("RIDER", DeviceLayout::bryton)).empty());
}

TEST_F(MassStorage, aDownloadNeverCostsTheRideOrAnEarlierCopy)
{
    const QByteArray ride(64 * 1024, 'r');
    make("EDGE/Garmin/Activities/ride.fit", ride, day(1));
    const DeviceActivity listed = transport.listActivities(device("EDGE")).at(0);
    ASSERT_TRUE(QFile::link(listed.id, path("link.fit")));

    // Onto the ride itself, however the destination is written: refused
    // before anything is written.
    for (const QString& to :
         {listed.id, path("EDGE/Garmin/../Garmin/Activities/ride.fit"), path("link.fit")}) {
        EXPECT_EQ(thrown<FileSystemError>(
                      [&] { transport.downloadActivity(listed, device("EDGE"), to); }),
                  (FileSystemError{to, "cannot download a file onto itself"}));
    }
    EXPECT_EQ(read("EDGE/Garmin/Activities/ride.fit"), ride);
    EXPECT_EQ(entries("EDGE/Garmin/Activities"), QStringList{"ride.fit"});

    // A copy that fails part-way leaves an earlier copy as it was, with the
    // system's reason; nothing else stays behind.
    make("local/ride.fit", "earlier copy");
    {
        const zuvo::test::FileSizeLimit limit(16 * 1024);
        EXPECT_EQ(thrown<FileSystemError>([&] {
                      transport.downloadActivity(listed, device("EDGE"), path("local/ride.fit"));
                  }),
                  (FileSystemError{path("local/ride.fit"), std::strerror(EFBIG)}));
    }
    EXPECT_EQ(read("local/ride.fit"), QByteArray("earlier copy"));
    EXPECT_EQ(entries("local"), QStringList{"ride.fit"});
}

TEST_F(MassStorage, writesBrytonToursAndSweepsAppleDoubleFiles)
{
    const GarminDevice rider = device("RIDER", DeviceLayout::bryton);
    make("RIDER/PlanTrip/._folder/x");
    make("RIDER/PlanTrip/._Old.fit", "apple");
    make("RIDER/Tracks/._Old.track", "apple");
    ASSERT_TRUE(QFile::link(path("RIDER/Tracks/._Old.track"), path("RIDER/PlanTrip/._link")));

    const std::vector<zuvo::model::Coordinate> points{{48.1, 11.5, 520.0}, {48.2, 11.6}};
    transport.writeTour(points, "Runde", rider, OnExisting::refuse);
    const zuvo::formats::BrytonTour tour{.name = "Runde", .points = points};
    using Writer = zuvo::formats::BrytonTourWriter;
    EXPECT_EQ(read("RIDER/PlanTrip/Runde.fit"), Writer::fitData(tour));
    EXPECT_EQ(read("RIDER/Tracks/Runde.smy"), Writer::smyData(tour));
    EXPECT_EQ(read("RIDER/Tracks/Runde.track"), Writer::trackData(tour));
    EXPECT_EQ(entries("RIDER/PlanTrip"), (QStringList{"._folder", "._link", "Runde.fit"}));
    EXPECT_EQ(entries("RIDER/Tracks"),
              (QStringList{"Runde", "Runde.smy", "Runde.tinfo", "Runde.track"}));
    EXPECT_TRUE(entries("RIDER/Tracks/Runde").isEmpty());

    // An existing track stops the tour before anything is written, but the
    // "._" files are swept all the same.
    make("RIDER/Tracks/Alpen.track", "existing");
    make("RIDER/PlanTrip/._Alpen.fit", "apple");
    make("RIDER/Tracks/._Alpen.track", "apple");
    EXPECT_EQ(transport.existingCourse("alpen", rider), path("RIDER/Tracks/Alpen.track"));
    EXPECT_EQ(thrown<DeviceError>(
                  [&] { transport.writeTour(points, "Alpen", rider, OnExisting::refuse); }),
              DeviceError::alreadyExists(path("RIDER/Tracks/Alpen.track")));
    EXPECT_EQ(entries("RIDER/PlanTrip"), (QStringList{"._folder", "._link", "Runde.fit"}));
    EXPECT_FALSE(entries("RIDER/Tracks").contains("._Alpen.track"));
    EXPECT_EQ(read("RIDER/Tracks/Alpen.track"), QByteArray("existing"));

    // Replaced, the tour is whole again under its name.
    transport.writeTour(points, "Alpen", rider, OnExisting::replace);
    const zuvo::formats::BrytonTour alpen{.name = "Alpen", .points = points};
    EXPECT_EQ(read("RIDER/Tracks/Alpen.track"), Writer::trackData(alpen));
    EXPECT_EQ(read("RIDER/PlanTrip/Alpen.fit"), Writer::fitData(alpen));

    EXPECT_EQ(thrown<DeviceError>(
                  [&] { transport.writeTour(points, "X", device("EDGE"), OnExisting::refuse); }),
              DeviceError::notImplemented());
}
