// MTPSession and MTPTransport exactly as built, running against the libmtp
// double of FakeLibMTP.cpp instead of libmtp.
#include "devices/MTPTransport.h"

#include "DeviceTesting.h"
#include "FakeLibMTP.h"
#include "devices/MTPSession.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <thread>

using namespace zuvo::devices;
namespace fake = zuvo::test::fakemtp;
using zuvo::test::thrown;

namespace {

constexpr std::uint32_t storageID = 0x10001;
constexpr std::uint32_t garminFolder = 1;
constexpr std::uint32_t newFilesFolder = 2;
constexpr std::uint32_t activitiesFolder = 3;

std::time_t at(const char* isoUTC)
{
    return QDateTime::fromString(QString::fromLatin1(isoUTC), Qt::ISODate).toSecsSinceEpoch();
}

// A Garmin with Garmin/NewFiles and Garmin/Activities on its one storage.
fake::Device edge(std::string serial)
{
    return {
        .serial = std::move(serial),
        .friendlyName = "Edge 840",
        .storages = {
            {.id = storageID,
             .objects = {
                 {.id = garminFolder, .folder = true, .name = "Garmin"},
                 {.id = newFilesFolder, .parent = garminFolder, .folder = true, .name = "NewFiles"},
                 {.id = activitiesFolder,
                  .parent = garminFolder,
                  .folder = true,
                  .name = "Activities"},
             }}}};
}

GarminDevice deviceWithSerial(const QString& serial)
{
    const QString url = *MTPTransport::placeholderURL(serial);
    return {.name = QStringLiteral("Edge 840"), .volumeURL = url, .importFolderURL = url};
}

class MTP : public testing::Test {
protected:
    void SetUp() override { fake::reset(); }

    // Whatever a test did, libmtp was called on the MTP thread only, and
    // every device handle and file record it handed out was given back.
    void TearDown() override
    {
        EXPECT_EQ(fake::callsOffTheMTPThread(), 0);
        EXPECT_EQ(fake::state().openHandles, 0);
        EXPECT_EQ(fake::state().liveFileRecords, 0);
    }

    fake::State& world = fake::state();
    const MTPTransport transport;
};

} // namespace

TEST_F(MTP, detectNamesDevicesAndCountsThoseThatFailToOpen)
{
    EXPECT_TRUE(MTPSession::detect().empty());

    world.devices = {{}, {.opens = false}, {}};
    EXPECT_EQ(MTPSession::detect(), (std::vector<MTPDeviceInfo>{{"unknown-0", "MTP device"},
                                                                {"unknown-2", "MTP device"}}));

    world.devices = {{.friendlyName = "", .modelName = "Edge 530"},
                     {.serial = "", .friendlyName = "Mein Edge", .modelName = "Edge 1040"}};
    EXPECT_EQ(MTPSession::detect(),
              (std::vector<MTPDeviceInfo>{{"unknown-0", "Edge 530"}, {"unknown-1", "Mein Edge"}}));

    world.detectError = 1;
    EXPECT_EQ(thrown<DeviceError>([] { MTPSession::detect(); }),
              DeviceError::mtp("device detection failed (libmtp error 1)"));
    world.devices.clear();
    EXPECT_TRUE(MTPSession::detect().empty());

    EXPECT_EQ(fake::initCalls(), 1);
}

TEST_F(MTP, resolvesFolderPathsOnTheFirstStorage)
{
    fake::Device device = edge("A1");
    // A file named like the folder, listed first, and a folder differing in
    // case only.
    device.storages[0].objects.insert(
        device.storages[0].objects.begin(),
        {{.id = 90, .name = "Garmin"}, {.id = 91, .folder = true, .name = "garmin"}});
    device.storages.push_back({.id = 0x20001});
    world.devices = {device};

    MTPSession::withDevice(QStringLiteral("A1"), [](MTPSession::Device* handle) {
        EXPECT_EQ(MTPSession::folder({}, handle), (MTPSession::Folder{fake::root, storageID}));
        EXPECT_EQ(
            MTPSession::folder({QStringLiteral("Garmin"), QStringLiteral("NewFiles")}, handle),
            (MTPSession::Folder{newFilesFolder, storageID}));
        EXPECT_EQ(
            thrown<DeviceError>([&] {
                MTPSession::folder({QStringLiteral("Garmin"), QStringLiteral("Courses")}, handle);
            }),
            DeviceError::mtp("folder Garmin/Courses not found on device"));
        EXPECT_TRUE(MTPSession::files(newFilesFolder, storageID, handle).empty());
    });

    world.devices[0].storageFails = true;
    EXPECT_EQ(thrown<DeviceError>([] {
                  MTPSession::withDevice(QStringLiteral("A1"), [](MTPSession::Device* handle) {
                      MTPSession::folder({}, handle);
                  });
              }),
              DeviceError::mtp("device has no storage list"));
    world.devices[0] = {.serial = "A1"};
    EXPECT_EQ(thrown<DeviceError>([] {
                  MTPSession::withDevice(QStringLiteral("A1"), [](MTPSession::Device* handle) {
                      MTPSession::folder({}, handle);
                  });
              }),
              DeviceError::mtp("device has no storage list"));
}

TEST_F(MTP, findsDevicesBySerialForEachPieceOfWork)
{
    EXPECT_EQ(thrown<DeviceError>([] { MTPSession::withDevice("A1", [](auto*) {}); }),
              DeviceError::mtp("device no longer connected"));

    world.devices = {edge("A1"), edge(""), edge("B2")};
    world.devices[1].storages[0].objects.push_back(
        {.id = 77, .parent = activitiesFolder, .name = "ride.fit", .content = "ride"});
    EXPECT_EQ(thrown<DeviceError>([] { MTPSession::withDevice("C3", [](auto*) {}); }),
              DeviceError::mtp("device C3 not found — reconnect and rescan"));

    // The body's result and its failure come back to the caller.
    EXPECT_EQ(
        MTPSession::withDevice(QStringLiteral("B2"),
                               [](MTPSession::Device* handle) {
                                   return MTPSession::folder({QStringLiteral("Garmin")}, handle).id;
                               }),
        garminFolder);
    EXPECT_EQ(thrown<DeviceError>([] {
                  MTPSession::withDevice("B2", [](auto*) { throw DeviceError::notImplemented(); });
              }),
              DeviceError::notImplemented());

    // A device without a serial is reached by the name detection gave it.
    const std::vector<GarminDevice> devices = transport.scanVolumes();
    ASSERT_EQ(devices.size(), 3u);
    EXPECT_EQ(devices[1].volumeURL, QStringLiteral("mtp://unknown-1"));
    EXPECT_EQ(transport.listActivities(devices[1]).size(), 1u);
}

TEST_F(MTP, deviceURLsGiveTheSerialBack)
{
    EXPECT_EQ(MTPTransport::placeholderURL(QStringLiteral("0000ABCD")),
              QStringLiteral("mtp://0000ABCD"));
    EXPECT_EQ(MTPTransport::serial(QStringLiteral("mtp://0000ABCD")), QStringLiteral("0000ABCD"));
    EXPECT_EQ(MTPTransport::placeholderURL(QString()), std::nullopt);
    EXPECT_EQ(MTPTransport::serial(QStringLiteral("file:///media/ana/EDGE")), std::nullopt);
    EXPECT_EQ(MTPTransport::serial(QStringLiteral("mtp://")), std::nullopt);

    // Whatever characters a serial holds, the device it names is found again.
    const std::string odd = "Ab 1/2%3~ä";
    world.devices = {edge(odd)};
    world.devices[0].storages[0].objects.push_back({.id = 40,
                                                    .parent = activitiesFolder,
                                                    .name = "a.fit",
                                                    .modified = at("2024-05-01T08:00:00Z")});
    const std::vector<GarminDevice> devices = transport.scanVolumes();
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices[0], (GarminDevice{.name = "Edge 840",
                                        .volumeURL = "mtp://Ab%201%2F2%253~%C3%A4",
                                        .importFolderURL = "mtp://Ab%201%2F2%253~%C3%A4"}));
    EXPECT_EQ(MTPTransport::serial(devices[0].volumeURL), QString::fromStdString(odd));
    EXPECT_EQ(transport.listActivities(devices[0]).size(), 1u);
}

TEST_F(MTP, listsRidesAndCoursesNewestFirst)
{
    world.devices = {edge("0000ABCD")};
    auto& objects = world.devices[0].storages[0].objects;
    objects.push_back({.id = 10,
                       .parent = activitiesFolder,
                       .name = "2024-05-01-07-30-00.FIT",
                       .content = "fit",
                       .modified = at("2024-05-01T07:30:00Z")});
    objects.push_back({.id = 11, .parent = activitiesFolder, .name = "notes.txt"});
    objects.push_back({.id = 12, .parent = activitiesFolder, .name = "undated.fit"});
    objects.push_back({.id = 13,
                       .parent = activitiesFolder,
                       .name = "route.gpx",
                       .content = "gpx!",
                       .modified = at("2024-05-02T07:30:00Z")});
    objects.push_back({.id = 14, .parent = activitiesFolder, .folder = true, .name = "old.fit"});
    objects.push_back({.id = 15, .parent = activitiesFolder, .content = "?"});

    const GarminDevice device = deviceWithSerial(QStringLiteral("0000ABCD"));
    EXPECT_EQ(transport.listActivities(device),
              (std::vector<DeviceActivity>{
                  {"mtp:13", "route.gpx", QDateTime(QDate(2024, 5, 2), QTime(7, 30), Qt::UTC), 4},
                  {"mtp:10", "2024-05-01-07-30-00.FIT",
                   QDateTime(QDate(2024, 5, 1), QTime(7, 30), Qt::UTC), 3},
                  {"mtp:12", "undated.fit", std::nullopt, 0},
              }));
    MTPSession::withDevice(QStringLiteral("0000ABCD"), [](MTPSession::Device* handle) {
        const auto files = MTPSession::files(activitiesFolder, storageID, handle);
        ASSERT_EQ(files.size(), 5u);
        EXPECT_EQ(files[4], (MTPSession::FileEntry{15, "?", 1, std::nullopt}));
    });

    EXPECT_EQ(thrown<DeviceError>([&] { transport.listCourses(device); }),
              DeviceError::mtp("folder Garmin/Courses not found on device"));
    objects.push_back({.id = 20, .parent = garminFolder, .folder = true, .name = "Courses"});
    EXPECT_TRUE(transport.listCourses(device).empty());

    const GarminDevice volume{.name = "Edge 840", .volumeURL = "file:///media/ana/EDGE"};
    EXPECT_EQ(thrown<DeviceError>([&] { transport.listActivities(volume); }),
              DeviceError::mtp("not an MTP device URL: file:///media/ana/EDGE"));
}

TEST_F(MTP, downloadsObjectsByActivityID)
{
    world.devices = {edge("0000ABCD")};
    world.devices[0].storages[0].objects.push_back(
        {.id = 10, .parent = activitiesFolder, .name = "a.fit", .content = "the ride"});
    const GarminDevice device = deviceWithSerial(QStringLiteral("0000ABCD"));
    QTemporaryDir local;
    const QString destination = local.filePath(QStringLiteral("a.fit"));
    {
        QFile old(destination);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("an older, longer download");
    }

    transport.downloadActivity({.id = "mtp:10"}, device, destination);
    QFile file(destination);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("the ride"));

    for (const char* id : {"mtp:", "mtp:abc", "mtp:4294967296", "4711", "mtp:-1", "mtp:1 "}) {
        EXPECT_EQ(thrown<DeviceError>(
                      [&] { transport.downloadActivity({.id = id}, device, destination); }),
                  DeviceError::mtp(QStringLiteral("not an MTP activity id: ") + id));
    }
    // The largest id is well-formed and goes to the device, which has no such object.
    EXPECT_EQ(thrown<DeviceError>([&] {
                  transport.downloadActivity({.id = "mtp:4294967295"}, device, destination);
              }),
              DeviceError::mtp("download failed for object 4294967295"));
    EXPECT_EQ(world.devices[0].errorStackDumps, 1);
    EXPECT_EQ(world.devices[0].errorStackClears, 1);
}

TEST_F(MTP, writesCoursesIntoNewFilesAndChecksTheSize)
{
    world.devices = {edge("0000ABCD")};
    fake::Device& edge840 = world.devices[0];
    const GarminDevice device = deviceWithSerial(QStringLiteral("0000ABCD"));
    const QByteArray course = "<gpx/>";

    transport.writeCourse(course, QStringLiteral("Alpen.gpx"), device);
    const fake::Object* sent = fake::find(edge840, newFilesFolder, "Alpen.gpx");
    ASSERT_NE(sent, nullptr);
    EXPECT_EQ(sent->content, course);
    EXPECT_EQ(edge840.filetypeOfLastSend, 44);
    ASSERT_EQ(world.uploadedFrom.size(), 1u);
    EXPECT_TRUE(world.uploadSourceExisted);
    EXPECT_FALSE(QFile::exists(QFile::decodeName(world.uploadedFrom[0].c_str())));

    edge840.sizeAfterSend = 5;
    EXPECT_EQ(thrown<DeviceError>([&] { transport.writeCourse(course, "B.gpx", device); }),
              DeviceError::verificationFailed("size mismatch for B.gpx: sent 6, device has 5"));
    edge840.sizeAfterSend.reset();

    edge840.noMetadataAfterSend = true;
    EXPECT_EQ(thrown<DeviceError>([&] { transport.writeCourse(course, "C.gpx", device); }),
              DeviceError::verificationFailed("no metadata for C.gpx after send"));
    edge840.noMetadataAfterSend = false;

    edge840.sendFails = true;
    EXPECT_EQ(thrown<DeviceError>([&] { transport.writeCourse(course, "D.gpx", device); }),
              DeviceError::mtp("send failed for D.gpx"));
    EXPECT_EQ(edge840.errorStackDumps, 1);
    EXPECT_EQ(edge840.errorStackClears, 1);
    EXPECT_EQ(fake::find(edge840, newFilesFolder, "D.gpx"), nullptr);
    ASSERT_EQ(world.uploadedFrom.size(), 4u);
    EXPECT_FALSE(QFile::exists(QFile::decodeName(world.uploadedFrom[3].c_str())));
    edge840.sendFails = false;

    // Without NewFiles nothing is created, not even the folder.
    std::erase_if(edge840.storages[0].objects,
                  [](const fake::Object& object) { return object.id != garminFolder; });
    EXPECT_EQ(thrown<DeviceError>([&] { transport.writeCourse(course, "E.gpx", device); }),
              DeviceError::mtp("folder Garmin/NewFiles not found on device"));
    EXPECT_EQ(edge840.storages[0].objects.size(), 1u);

    EXPECT_EQ(thrown<DeviceError>([&] {
                  transport.writeCourse(course, "F.gpx", {.volumeURL = "file:///media/x"});
              }),
              DeviceError::mtp("device file:///media/x has no recoverable serial"));
    EXPECT_EQ(thrown<DeviceError>([&] {
                  transport.writeTour({{48.1, 11.5}}, "Tour", device);
              }),
              DeviceError::notImplemented());
}

TEST_F(MTP, callersOnManyThreadsShareTheOneMTPThread)
{
    world.devices = {edge("0000ABCD")};
    const GarminDevice device = deviceWithSerial(QStringLiteral("0000ABCD"));
    const int before = fake::calls();
    std::vector<std::jthread> callers;
    std::atomic<int> listed = 0;
    for (int i = 0; i < 4; ++i) {
        callers.emplace_back([&] {
            for (int round = 0; round < 10; ++round) {
                listed += int(transport.scanVolumes().size());
                transport.listActivities(device);
            }
        });
    }
    callers.clear();
    EXPECT_EQ(listed, 40);
    EXPECT_GT(fake::calls(), before);
    // TearDown checks that none of those calls ran off the MTP thread.
}
