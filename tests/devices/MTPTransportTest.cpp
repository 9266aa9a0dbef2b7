// MTPSession and MTPTransport exactly as built, linked with the libmtp double
// of FakeLibMTP.cpp instead of libmtp.
#include "devices/MTPTransport.h"

#include "DeviceTesting.h"
#include "FakeLibMTP.h"
#include "devices/MTPSession.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <gtest/gtest.h>
#include <thread>

using namespace zuvo::devices;
namespace fake = zuvo::test::fakemtp;
using zuvo::test::thrown;

namespace {

constexpr std::uint32_t storage = 0x10001;
enum : std::uint32_t { garminFolder = 1, newFiles, activities };

// A Garmin with Garmin/NewFiles and Garmin/Activities.
fake::Device edge(std::string serial)
{
    return {.serial = std::move(serial),
            .friendlyName = "Edge 840",
            .storages = {storage, 0x20001},
            .objects = {
                {.id = garminFolder, .folder = true, .name = "Garmin"},
                {.id = newFiles, .parent = garminFolder, .folder = true, .name = "NewFiles"},
                {.id = activities, .parent = garminFolder, .folder = true, .name = "Activities"}}};
}

fake::Object ride(std::uint32_t id, std::string name, std::time_t modified = 0)
{
    return {.id = id, .parent = activities, .name = name, .content = "ride", .modified = modified};
}

GarminDevice withSerial(const QString& serial)
{
    const QString url = *MTPTransport::placeholderURL(serial);
    return {.name = "Edge 840", .volumeURL = url, .importFolderURL = url};
}

class MTP : public testing::Test {
protected:
    void SetUp() override { world = {}; }

    // Whatever a test did, libmtp ran on the MTP thread only and got back
    // every device handle and file record it handed out.
    void TearDown() override
    {
        EXPECT_EQ(fake::callsOffTheMTPThread(), 0);
        EXPECT_EQ(world.openHandles, 0);
        EXPECT_EQ(world.liveFileRecords, 0);
    }

    fake::State& world = fake::state();
    const MTPTransport transport;
};

} // namespace

TEST_F(MTP, detectNamesDevicesAndCountsThoseThatFailToOpen)
{
    EXPECT_TRUE(MTPSession::detect().empty());

    world.devices = {{.friendlyName = "", .modelName = "Edge 530"}, {.opens = false}, {}};
    EXPECT_EQ(MTPSession::detect(),
              (std::vector<MTPDeviceInfo>{{"unknown-0", "Edge 530", {3, 0}},
                                          {"unknown-2", "MTP device", {3, 2}}}));

    world.detectError = 1;
    EXPECT_EQ(thrown<DeviceError>([] { MTPSession::detect(); }),
              DeviceError::mtp("device detection failed (libmtp error 1)"));
    world.devices.clear();
    EXPECT_TRUE(MTPSession::detect().empty());
    EXPECT_EQ(fake::initCalls(), 1);
}

TEST_F(MTP, resolvesFoldersOnTheFirstStorageExactSpellingFirst)
{
    world.devices = {edge("A1")};
    // A file named like the folder, listed first, and a folder differing in case.
    auto& objects = world.devices[0].objects;
    objects.insert(objects.begin(),
                   {{.id = 90, .name = "Garmin"}, {.id = 91, .folder = true, .name = "garmin"}});
    MTPSession::withDevice("A1", [](MTPSession::Device* handle) {
        EXPECT_EQ(MTPSession::folder({}, handle), (MTPSession::Folder{fake::root, storage}));
        EXPECT_EQ(MTPSession::folder({"Garmin", "NewFiles"}, handle),
                  (MTPSession::Folder{newFiles, storage}));
        EXPECT_EQ(thrown<DeviceError>([&] {
                      MTPSession::folder({"Garmin", "Courses"}, handle);
                  }),
                  DeviceError::mtp("folder Garmin/Courses not found on device"));
        EXPECT_TRUE(MTPSession::files(newFiles, storage, handle).empty());
        EXPECT_EQ(MTPSession::folders({"GARMIN"}, handle),
                  (std::vector<MTPSession::Folder>{{91, storage}, {garminFolder, storage}}));
    });
    // A watch spells its folders in capitals.
    world.devices = {{.serial = "W1",
                      .storages = {storage},
                      .objects = {{.id = 7, .folder = true, .name = "GARMIN"},
                                  {.id = 8, .parent = 7, .folder = true, .name = "NEWFILES"}}}};
    MTPSession::withDevice("W1", [](MTPSession::Device* handle) {
        EXPECT_EQ(MTPSession::folder({"Garmin", "NewFiles"}, handle),
                  (MTPSession::Folder{8, storage}));
        EXPECT_TRUE(MTPSession::folders({"Garmin", "Activity"}, handle).empty());
    });
    world.devices = {edge("A1")};

    const auto rootFolder = [] {
        MTPSession::withDevice("A1", [](auto* handle) { MTPSession::folder({}, handle); });
    };
    world.devices[0].storageFails = true;
    EXPECT_EQ(thrown<DeviceError>(rootFolder), DeviceError::mtp("device has no storage list"));
    world.devices[0] = {.serial = "A1"};
    EXPECT_EQ(thrown<DeviceError>(rootFolder), DeviceError::mtp("device has no storage list"));
}

TEST_F(MTP, findsTheDeviceBySerialForEachPieceOfWork)
{
    EXPECT_EQ(thrown<DeviceError>([] { MTPSession::withDevice("A1", [](auto*) {}); }),
              DeviceError::mtp("device no longer connected"));

    world.devices = {edge("A1"), edge(""), edge("0000ABCD")};
    world.devices[1].objects.push_back(ride(77, "ride.fit"));
    EXPECT_EQ(thrown<DeviceError>([] { MTPSession::withDevice("C3", [](auto*) {}); }),
              DeviceError::mtp("device C3 not found — reconnect and rescan"));
    EXPECT_EQ(MTPSession::withDevice("A1", [](auto*) { return 42; }), 42);

    const std::vector<GarminDevice> devices = transport.scanVolumes();
    ASSERT_EQ(devices.size(), 3u);
    EXPECT_EQ(devices[2], (GarminDevice{.name = "Edge 840",
                                        .volumeURL = "mtp://0000ABCD",
                                        .importFolderURL = "mtp://0000ABCD"}));
    EXPECT_EQ(MTPTransport::serial(devices[2].volumeURL), QStringLiteral("0000ABCD"));
    // A device without a serial is reached under the name detection gave it.
    EXPECT_EQ(devices[1].volumeURL, QStringLiteral("mtp://unknown-1"));
    EXPECT_EQ(transport.listActivities(devices[1]).size(), 1u);

    // Whatever a serial holds, the URL gives it back and the device is found.
    world.devices = {edge("Ab 1/2%3~ä")};
    world.devices[0].objects.push_back(ride(40, "a.fit"));
    const GarminDevice odd = transport.scanVolumes().at(0);
    EXPECT_EQ(odd.volumeURL, QStringLiteral("mtp://Ab%201%2F2%253~%C3%A4"));
    EXPECT_EQ(transport.listActivities(odd).size(), 1u);
    EXPECT_EQ(MTPTransport::placeholderURL(""), std::nullopt);
    EXPECT_EQ(MTPTransport::serial("mtp://"), std::nullopt);
}

TEST_F(MTP, listsRidesNewestFirstAndDownloadsThem)
{
    world.devices = {edge("A1")};
    auto& objects = world.devices[0].objects;
    objects.push_back(ride(10, "2024-05-01-07-30-00.FIT", 1714548600));
    objects.push_back(ride(11, "notes.txt", 1714635000));
    objects.push_back(ride(12, "undated.fit"));
    objects.push_back(ride(13, "route.gpx", 1714635000));
    objects.push_back({.id = 14, .parent = activities, .folder = true, .name = "old.fit"});
    const GarminDevice device = withSerial("A1");

    const auto utc = [](int day) { return QDateTime(QDate(2024, 5, day), QTime(7, 30), Qt::UTC); };
    EXPECT_EQ(transport.listActivities(device),
              (std::vector<DeviceActivity>{{"mtp:13", "route.gpx", utc(2), 4},
                                           {"mtp:10", "2024-05-01-07-30-00.FIT", utc(1), 4},
                                           {"mtp:12", "undated.fit", std::nullopt, 4}}));
    EXPECT_EQ(thrown<DeviceError>([&] { transport.listCourses(device); }),
              DeviceError::mtp("folder Garmin/Courses not found on device"));
    EXPECT_EQ(thrown<DeviceError>([&] { transport.listActivities({.volumeURL = "file:///m/E"}); }),
              DeviceError::mtp("not an MTP device URL: file:///m/E"));

    // A watch keeps its rides in GARMIN/ACTIVITY; a device without the folders has none.
    world.devices.push_back(
        {.serial = "W1",
         .storages = {storage},
         .objects = {{.id = 30, .folder = true, .name = "GARMIN"},
                     {.id = 31, .parent = 30, .folder = true, .name = "ACTIVITY"},
                     {.id = 32, .parent = 30, .folder = true, .name = "Activities"},
                     {.id = 33, .parent = 31, .name = "W1.FIT", .modified = 5},
                     {.id = 34, .parent = 32, .name = "W2.fit", .modified = 6}}});
    std::vector<QString> watchRides;
    for (const DeviceActivity& ride : transport.listActivities(withSerial("W1")))
        watchRides.push_back(ride.name);
    EXPECT_EQ(watchRides, (std::vector<QString>{"W2.fit", "W1.FIT"}));
    world.devices.push_back({.serial = "P1", .storages = {storage}});
    EXPECT_TRUE(transport.listActivities(withSerial("P1")).empty());

    QTemporaryDir local;
    const QString destination = local.filePath("a.fit");
    QFile file(destination);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("an older and longer download");
    file.close();
    transport.downloadActivity({.id = "mtp:10"}, device, destination);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("ride"));

    for (const char* id : {"mtp:", "mtp:abc", "mtp:4294967296", "4711", "mtp:-1"}) {
        EXPECT_EQ(thrown<DeviceError>([&] { transport.downloadActivity({.id = id}, device, "x"); }),
                  DeviceError::mtp(QStringLiteral("not an MTP activity id: ") + id));
    }
    // The largest id is well-formed; the device has no such object.
    EXPECT_EQ(thrown<DeviceError>([&] {
                  transport.downloadActivity({.id = "mtp:4294967295"}, device, destination);
              }),
              DeviceError::mtp("download failed for object 4294967295"));
    EXPECT_EQ(world.devices[0].errorStackDumps, 1);
    EXPECT_EQ(world.devices[0].errorStackClears, 1);
    // A transfer broken off half-way leaves the earlier download whole.
    file.close();
    world.devices[0].downloadFails = true;
    EXPECT_TRUE(thrown<DeviceError>(
        [&] { transport.downloadActivity({.id = "mtp:13"}, device, destination); }));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("ride"));
    EXPECT_EQ(QDir(local.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"a.fit"});
}

TEST_F(MTP, writesCoursesIntoNewFilesAndChecksTheSize)
{
    world.devices = {edge("A1")};
    fake::Device& device = world.devices[0];
    const auto write = [&](const char* name, OnExisting existing = OnExisting::refuse) {
        return thrown<DeviceError>(
            [&] { transport.writeCourse("<gpx/>", name, withSerial("A1"), existing); });
    };
    const auto uploadLeftNoFile = [&] {
        return !world.uploadedFrom.empty() &&
               !QFile::exists(QFile::decodeName(world.uploadedFrom.back().c_str()));
    };

    EXPECT_EQ(write("Alpen.gpx"), std::nullopt);
    EXPECT_TRUE(uploadLeftNoFile());
    ASSERT_EQ(device.objects.size(), 4u);
    EXPECT_EQ(device.objects[3].name, "Alpen.gpx");
    EXPECT_EQ(device.objects[3].parent, newFiles);
    EXPECT_EQ(device.objects[3].content, QByteArray("<gpx/>"));

    device.sizeAfterSend = 5;
    EXPECT_EQ(write("B.gpx"),
              DeviceError::verificationFailed("size mismatch for B.gpx: sent 6, device has 5"));
    device.noMetadataAfterSend = true;
    EXPECT_EQ(write("C.gpx"), DeviceError::verificationFailed("no metadata for C.gpx after send"));
    device.sendFails = true;
    EXPECT_EQ(write("D.gpx"), DeviceError::mtp("send failed for D.gpx"));
    EXPECT_TRUE(uploadLeftNoFile());
    EXPECT_EQ(device.errorStackDumps, 1);
    EXPECT_EQ(device.errorStackClears, 1);

    // Without NewFiles nothing is created, not even the folder.
    device = edge("A1");
    std::erase_if(device.objects, [](const auto& object) { return object.id == newFiles; });
    EXPECT_EQ(write("E.gpx"), DeviceError::mtp("folder Garmin/NewFiles not found on device"));
    EXPECT_EQ(device.objects.size(), 2u);

    EXPECT_EQ(thrown<DeviceError>([&] {
                  transport.writeCourse("x", "F.gpx", {.volumeURL = "a:b"}, OnExisting::refuse);
              }),
              DeviceError::mtp("device a:b has no recoverable serial"));
    EXPECT_EQ(thrown<DeviceError>(
                  [&] { transport.writeTour({}, "T", withSerial("A1"), OnExisting::replace); }),
              DeviceError::notImplemented());
}

TEST_F(MTP, aCourseOfTheSameNameIsReplacedOnlyWhenAsked)
{
    world.devices = {edge("A1")};
    fake::Device& device = world.devices[0];
    device.objects.push_back({.id = 4, .parent = garminFolder, .folder = true, .name = "Courses"});
    device.objects.push_back({.id = 40, .parent = newFiles, .name = "Alpen.gpx", .content = "old"});
    device.objects.push_back({.id = 41, .parent = 4, .name = "ALPEN.fit", .content = "imported"});
    const auto ids = [&] {
        std::vector<std::uint32_t> all;
        for (const auto& object : device.objects)
            all.push_back(object.id);
        return all;
    };
    const auto before = ids();
    EXPECT_EQ(transport.existingCourse("alpen.fit", withSerial("A1")), "Garmin/NewFiles/Alpen.gpx");
    EXPECT_EQ(transport.existingCourse("Alpen 2.gpx", withSerial("A1")), std::nullopt);
    EXPECT_EQ(thrown<DeviceError>([&] {
                  transport.writeCourse("new", "Alpen.gpx", withSerial("A1"), OnExisting::refuse);
              }),
              DeviceError::alreadyExists("Garmin/NewFiles/Alpen.gpx"));
    EXPECT_EQ(ids(), before);

    // The old course stays while the new one fails to arrive whole.
    device.sizeAfterSend = 1;
    EXPECT_TRUE(thrown<DeviceError>(
        [&] { transport.writeCourse("new", "Alpen.gpx", withSerial("A1"), OnExisting::replace); }));
    EXPECT_TRUE(std::ranges::count(ids(), 40u) == 1 && std::ranges::count(ids(), 41u) == 1);
    device.sizeAfterSend.reset();
    std::erase_if(device.objects, [&](const auto& object) { return object.content == "new"; });

    transport.writeCourse("new", "Alpen.gpx", withSerial("A1"), OnExisting::replace);
    ASSERT_EQ(device.objects.size(), before.size() - 1);
    EXPECT_EQ(device.objects.back().name, "Alpen.gpx");
    EXPECT_EQ(device.objects.back().content, QByteArray("new"));
    EXPECT_EQ(std::ranges::count(ids(), 40u) + std::ranges::count(ids(), 41u), 0);

    // A course that cannot be taken off says so; the new one is on the device.
    device.deleteFails = true;
    const std::uint32_t replaced = device.objects.back().id;
    EXPECT_EQ(thrown<DeviceError>([&] {
                  transport.writeCourse("newer", "Alpen.gpx", withSerial("A1"),
                                        OnExisting::replace);
              }),
              DeviceError::mtp(QStringLiteral("could not delete object %1").arg(replaced)));
    EXPECT_EQ(device.objects.back().content, QByteArray("newer"));
}

TEST_F(MTP, callersOnManyThreadsShareTheOneMTPThread)
{
    world.devices = {edge("A1")};
    const int before = fake::calls();
    std::atomic<int> listed = 0;
    {
        std::vector<std::jthread> callers;
        for (int i = 0; i < 4; ++i) {
            callers.emplace_back([&] {
                for (int round = 0; round < 10; ++round) {
                    listed += int(transport.scanVolumes().size());
                    transport.listActivities(withSerial("A1"));
                }
            });
        }
    }
    EXPECT_EQ(listed, 40);
    EXPECT_GT(fake::calls(), before);
}
