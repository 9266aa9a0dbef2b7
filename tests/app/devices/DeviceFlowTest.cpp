// The device import and send sheets' controllers on mass-storage volumes in a temporary folder
// and on MTP devices simulated by the libmtp double.
#include "FakeLibMTP.h"
#include "FitFileBuilder.h"
#include "PlannerFixture.h"
#include "app/devices/DeviceImportController.h"
#include "app/devices/DeviceSendController.h"
#include "devices/MTPTransport.h"
#include "devices/MassStorageTransport.h"
#include "formats/GPXImporter.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

using namespace zuvo;
using namespace zuvo::test;
using app::DeviceImportController;
using app::DeviceSendController;
namespace fake = zuvo::test::fakemtp;

namespace {

QByteArray rideGPX(double latitude)
{
    return QStringLiteral("<gpx creator=\"Edge\"><trk><trkseg>"
                          "<trkpt lat=\"%1\" lon=\"11\"><time>2024-05-01T07:30:00Z</time></trkpt>"
                          "<trkpt lat=\"%2\" lon=\"11\"><time>2024-05-01T07:31:00Z</time></trkpt>"
                          "</trkseg></trk></gpx>")
        .arg(latitude)
        .arg(latitude + 0.01)
        .toUtf8();
}

class DeviceFlowTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString volumes = dir.filePath("media");
    QString routes = dir.filePath("zuvo Routes");
    std::shared_ptr<ManualTimer::State> clock = std::make_shared<ManualTimer::State>();
    app::ToastCenter toasts{std::make_unique<ManualTimer>(clock)};
    fake::State& world = fake::state();
    app::DeviceFlows::Transports transports{
        std::make_shared<devices::MassStorageTransport>(volumes),
        std::make_shared<devices::MTPTransport>()};

    // Downloads go to the temporary folder; a private one keeps other tests' downloads out of
    // the check that ours are removed.
    QTemporaryDir scratch;
    QByteArray savedTemp = qgetenv("TMPDIR");

    void SetUp() override
    {
        world = {};
        qputenv("TMPDIR", scratch.path().toUtf8());
    }
    void TearDown() override
    {
        if (savedTemp.isEmpty())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", savedTemp);
    }

    void make(const QString& relative, const QByteArray& content, int day = 1)
    {
        const QString path = QDir(volumes).filePath(relative);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.flush();
        file.setFileTime(QDateTime(QDate(2024, 5, day), QTime(7, 0)),
                         QFileDevice::FileModificationTime);
    }

    void edge(const QString& volume, const QString& name)
    {
        make(volume + "/Garmin/GarminDevice.xml",
             "<Device><Model><Description>" + name.toUtf8() + "</Description></Model></Device>");
    }

    static fake::Device mtpEdge()
    {
        return {.serial = "A1",
                .friendlyName = "Edge 840",
                .storages = {0x10001},
                .objects = {{.id = 1, .folder = true, .name = "Garmin"},
                            {.id = 2, .parent = 1, .folder = true, .name = "NewFiles"},
                            {.id = 3, .parent = 1, .folder = true, .name = "Activities"},
                            {.id = 4, .parent = 3, .name = "ride.gpx", .content = rideGPX(47)}}};
    }

    QStringList routeFiles() const
    {
        return QDir(routes).entryList({"*.gpx"}, QDir::Files, QDir::Name);
    }

    // Every file below the volumes folder with its bytes, and the MTP device's objects.
    std::pair<std::map<QString, QByteArray>, std::vector<fake::Object>> snapshot() const
    {
        std::map<QString, QByteArray> files;
        QDirIterator it(volumes, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            files[path] = read(path);
        }
        std::vector<fake::Object> objects;
        for (const auto& device : world.devices)
            objects.insert(objects.end(), device.objects.begin(), device.objects.end());
        return {files, objects};
    }

    static QByteArray read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

} // namespace

TEST_F(DeviceFlowTest, DeviceImportKeepsWhatWorksAndNamesWhatFailed)
{
    edge("EDGE", "Edge 840");
    make("EDGE/Garmin/Activities/first.gpx", rideGPX(48), 3);
    make("EDGE/Garmin/Activities/second.fit", "not a FIT file", 2);
    make("EDGE/Garmin/Activities/third.gpx", rideGPX(49), 1);
    ASSERT_TRUE(QDir().mkpath(routes));
    QFile(QDir(routes).filePath("third.gpx")).open(QIODevice::WriteOnly);
    QFile(QDir(routes).filePath("third 2.gpx")).open(QIODevice::WriteOnly);

    DeviceImportController sheet(transports, routes, toasts);
    std::vector<QString> applied;
    int saved = 0;
    bool closed = false;
    QObject::connect(
        &sheet, &DeviceImportController::imported,
        [&](const formats::ImportedGPX&, const QString& name) { applied.push_back(name); });
    QObject::connect(&sheet, &DeviceImportController::saved, [&] { ++saved; });
    QObject::connect(&sheet, &DeviceImportController::finished, [&] { closed = true; });
    QStringList progress;
    QObject::connect(&sheet, &DeviceImportController::changed, [&] {
        if (sheet.progressText() && progress.value(progress.size() - 1) != *sheet.progressText())
            progress.append(*sheet.progressText());
    });

    ASSERT_FALSE(runTask(sheet.scan()).error);
    ASSERT_EQ(sheet.devices().size(), 1u);
    EXPECT_EQ(app::DeviceFlows::importLabel(sheet.devices()[0]), "Edge 840");
    ASSERT_EQ(sheet.activities().size(), 3u);
    EXPECT_EQ(sheet.selectedIDs().size(), 1u) << "the newest ride is chosen";
    EXPECT_EQ(sheet.importTitle(), "Import");
    sheet.selectAll();
    EXPECT_EQ(sheet.importTitle(), "Import 3");

    ASSERT_FALSE(runTask(sheet.importSelected()).error);
    EXPECT_EQ(progress, (QStringList{"Importing 1/3…", "Importing 2/3…", "Importing 3/3…"}));
    EXPECT_EQ(routeFiles(), (QStringList{"first.gpx", "third 2.gpx", "third 3.gpx", "third.gpx"}));
    EXPECT_EQ(sheet.error(), "Failed: second.fit (not a FIT file)");
    EXPECT_EQ(applied, std::vector<QString>{"third.gpx"}) << "the last ride is shown";
    EXPECT_EQ(saved, 1);
    EXPECT_FALSE(closed) << "the sheet stays open to show what failed";
    EXPECT_FALSE(sheet.isBusy());
    EXPECT_FALSE(toasts.current());
    // A ride from a mass-storage Garmin carries the Garmin creator, so the library badges it.
    EXPECT_TRUE(read(QDir(routes).filePath("first.gpx")).contains("creator=\"zuvo (Garmin)\""));
    EXPECT_TRUE(QDir(scratch.path()).entryList({"zuvo-import-*"}).isEmpty())
        << "downloads are removed";

    sheet.setSelected(sheet.activities()[0].id, true);
    for (const auto& id : sheet.selectedIDs())
        sheet.setSelected(id, id == sheet.activities()[0].id);
    ASSERT_FALSE(runTask(sheet.importSelected()).error);
    EXPECT_TRUE(closed);
    EXPECT_EQ(toasts.current()->message, "Imported 1 ride");
    EXPECT_TRUE(routeFiles().contains("first 2.gpx"));
}

TEST_F(DeviceFlowTest, DeviceImportOverMTPAndWithoutDevices)
{
    DeviceImportController none(transports, routes, toasts);
    ASSERT_FALSE(runTask(none.scan()).error);
    EXPECT_TRUE(none.devices().empty());
    EXPECT_FALSE(none.selectedDevice());
    ASSERT_FALSE(runTask(none.importSelected()).error);
    EXPECT_FALSE(none.isBusy());

    world.devices = {mtpEdge()};
    world.devices[0].objects.push_back(
        {.id = 5, .parent = 3, .name = "later.gpx", .content = rideGPX(46), .modified = 1});
    DeviceImportController sheet(transports, routes, toasts, QString("edge 840"));
    ASSERT_FALSE(runTask(sheet.scan()).error);
    ASSERT_TRUE(sheet.selectedDevice());
    EXPECT_EQ(app::DeviceFlows::importLabel(*sheet.selectedDevice()), "Edge 840 (MTP)");
    sheet.selectAll();
    ASSERT_FALSE(runTask(sheet.importSelected()).error);
    EXPECT_EQ(toasts.current()->message, "Imported 2 rides");
    EXPECT_EQ(routeFiles(), (QStringList{"later.gpx", "ride.gpx"}));
    const auto ride = formats::GPXImporter::read(read(QDir(routes).filePath("ride.gpx")));
    ASSERT_TRUE(ride);
    EXPECT_EQ(ride->tracks.at(0).size(), 2u);

    // A device whose listing fails says why.
    world.devices[0].storageFails = true;
    ASSERT_FALSE(runTask(sheet.selectDevice(*sheet.selectedDevice())).error);
    EXPECT_EQ(sheet.error(), "Could not work with Edge 840 over MTP: device has no storage list. "
                             "Connect the device via USB, close other MTP apps (OpenMTP, Garmin "
                             "Express), then Rescan.");
    EXPECT_EQ(world.openHandles, 0);
}

TEST_F(DeviceFlowTest, DeviceSendNamesFilesTheVolumeAccepts)
{
    edge("EDGE", "Edge 840");
    make("RIDER/PlanTrip/.keep", "");
    world.devices = {mtpEdge()};
    std::optional<app::CoursePayload> course = app::CoursePayload{
        "<gpx>course</gpx>", {{48.0, 11.0, 500.0}, {48.01, 11.0, 510.0}, {48.02, 11.01, 505.0}}};
    std::optional<QString> problem;
    const auto makeCourse = [&](const QString&) -> model::Result<app::CoursePayload, QString> {
        if (problem)
            return *problem;
        return *course;
    };
    DeviceSendController sheet(transports, makeCourse, "Runde: Süd/Nord.", toasts);
    auto answer = DeviceSendController::Existing::replace;
    sheet.setAskReplace(
        [&](QString) -> QCoro::Task<DeviceSendController::Existing> { co_return answer; });
    bool closed = false;
    QObject::connect(&sheet, &DeviceSendController::finished, [&] { closed = true; });

    ASSERT_FALSE(runTask(sheet.scan()).error);
    ASSERT_EQ(sheet.devices().size(), 3u);
    EXPECT_EQ(app::DeviceFlows::sendLabel(sheet.devices()[0]), "Edge 840 — EDGE")
        << "mass storage first";
    EXPECT_EQ(app::DeviceFlows::sendLabel(sheet.devices()[2]), "Edge 840 (MTP)");

    ASSERT_FALSE(runTask(sheet.send()).error);
    EXPECT_TRUE(closed);
    EXPECT_EQ(read(QDir(volumes).filePath("EDGE/Garmin/NewFiles/Runde-Süd-Nord.gpx")),
              "<gpx>course</gpx>");
    EXPECT_EQ(toasts.current()->message, "Sent 'Runde: Süd/Nord.' to Edge 840");
    EXPECT_EQ(toasts.current()->detail, "Eject, then restart the device.");

    // The same course as FIT with points ahead, under the same name, in its place.
    course->fit = "FIT bytes";
    sheet.setFormat(DeviceSendController::CourseFormat::fit);
    ASSERT_FALSE(runTask(sheet.send()).error);
    EXPECT_EQ(read(QDir(volumes).filePath("EDGE/Garmin/NewFiles/Runde-Süd-Nord.fit")), "FIT bytes");
    EXPECT_EQ(QDir(QDir(volumes).filePath("EDGE/Garmin/NewFiles")).entryList(QDir::Files),
              QStringList{"Runde-Süd-Nord.fit"});
    ManualTimer::fire(*clock);
    EXPECT_EQ(toasts.current()->detail,
              "FIT course with turn cues and points ahead. Eject, then restart the device.");

    // A Bryton takes a tour whatever the format says.
    sheet.selectDevice(sheet.devices()[1]);
    ASSERT_FALSE(runTask(sheet.send()).error);
    EXPECT_TRUE(QFile::exists(QDir(volumes).filePath("RIDER/PlanTrip/Runde SüdNord.fit")));
    EXPECT_TRUE(QFile::exists(QDir(volumes).filePath("RIDER/Tracks/Runde SüdNord.track")));

    sheet.setFormat(DeviceSendController::CourseFormat::gpx);
    sheet.selectDevice(sheet.devices()[2]);
    ASSERT_FALSE(runTask(sheet.send()).error);
    ManualTimer::fire(*clock);
    ManualTimer::fire(*clock);
    EXPECT_EQ(toasts.current()->detail, "Disconnect USB — the device imports on disconnect.");

    sheet.setCourseName("...");
    for (const auto& device : sheet.devices()) {
        sheet.selectDevice(device);
        ASSERT_FALSE(runTask(sheet.send()).error);
        EXPECT_TRUE(sheet.failed());
        EXPECT_EQ(sheet.result(), "\"...\" has no valid characters for a device filename.");
    }

    // A route with a leg the server could not route is refused, and every device keeps its
    // courses byte for byte.
    model::Route unrouted{.anchors = {Anchor(Anchor::Kind::via, {48.0, 11.0}),
                                      Anchor(Anchor::Kind::via, {48.01, 11.0}),
                                      Anchor(Anchor::Kind::via, {48.02, 11.0})}};
    unrouted.legs = {model::RouteLeg{{{.coordinates = {{48.0, 11.0}, {48.01, 11.0}}}}},
                     std::nullopt};
    problem = DeviceSendController::courseProblem(unrouted);
    ASSERT_TRUE(problem);
    EXPECT_TRUE(problem->startsWith("Leg 2 of the route has no geometry"))
        << problem->toStdString();
    const auto snapshot = [&] {
        std::map<QString, QByteArray> files;
        QDirIterator it(volumes, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            files[path] = read(path);
        }
        return std::pair(files, world.devices[0].objects.size());
    };
    const auto before = snapshot();
    sheet.setCourseName("Runde: Süd/Nord.");
    for (const auto& device : sheet.devices()) {
        sheet.selectDevice(device);
        ASSERT_FALSE(runTask(sheet.send()).error);
        EXPECT_TRUE(sheet.failed());
        EXPECT_EQ(sheet.result(), problem);
    }
    EXPECT_EQ(snapshot(), before);
    unrouted.roundTrip = true;
    unrouted.legs[1] = unrouted.legs[0];
    EXPECT_TRUE(DeviceSendController::courseProblem(unrouted)->startsWith("The leg back"));
    EXPECT_EQ(DeviceSendController::courseProblem({.anchors = {unrouted.anchors[0]}}),
              "Plan a route with at least two points first.");
    problem.reset();

    // A write the device refuses stays in the sheet, marked as failed.
    course = app::CoursePayload{"<gpx/>", {}};
    world.devices[0].sendFails = true;
    ASSERT_FALSE(runTask(sheet.send()).error);
    EXPECT_TRUE(sheet.failed());
    EXPECT_EQ(sheet.result(), "Could not work with Edge 840 over MTP: send failed for "
                              "Runde-Süd-Nord.gpx. " +
                                  app::DeviceFlows::noDeviceHint());
    EXPECT_FALSE(sheet.isBusy());
}

namespace {

// A ride of `points` records a minute apart; `cut` leaves it as a device that lost power does.
QByteArray fitRide(int points, bool cut = false)
{
    FitFileBuilder fit;
    fit.define(0, 20, {{253, 4}, {0, 4}, {1, 4}});
    for (int i = 0; i < points; ++i)
        fit.data(0,
                 {std::uint64_t(1'000'000 + 60 * i), FitFileBuilder::semicircles(47.0 + 0.001 * i),
                  FitFileBuilder::semicircles(8.0)});
    const QByteArray file = fit.build();
    return cut ? file.left(file.size() - 2) : file;
}

} // namespace

TEST_F(DeviceFlowTest, DeviceImportFindsWatchRidesAndKnowsWhatIsInTheLibrary)
{
    make("FENIX/GARMIN/ACTIVITY/2024-05-01-07-30-00.fit", fitRide(4), 1);
    make("FENIX/GARMIN/ACTIVITY/2024-05-02-08-00-00.FIT", fitRide(6, true), 2);
    make("EMPTY/Garmin/Activities/notes.txt", "no ride");

    DeviceImportController sheet(transports, routes, toasts, QString("FENIX"));
    std::vector<QString> notices;
    bool closed = false;
    QObject::connect(&sheet, &DeviceImportController::imported,
                     [&](const formats::ImportedGPX&, const QString&, const QString& notice) {
                         notices.push_back(notice);
                     });
    QObject::connect(&sheet, &DeviceImportController::finished, [&] { closed = true; });
    ASSERT_FALSE(runTask(sheet.scan()).error);
    ASSERT_EQ(sheet.activities().size(), 2u);
    EXPECT_EQ(sheet.emptyText(), std::nullopt);
    const QString damaged = sheet.activities()[0].id;
    EXPECT_EQ(sheet.selectedIDs(), QSet<QString>{damaged});

    // The damaged ride is kept up to its damage, and the sheet stays open to say so.
    ASSERT_FALSE(runTask(sheet.importSelected()).error);
    const QString recovered = "Recovered 6 points; the file is damaged after 0:05:00";
    EXPECT_EQ(sheet.notice(), "2024-05-02-08-00-00.FIT: " + recovered);
    EXPECT_EQ(notices, std::vector<QString>{recovered});
    EXPECT_FALSE(sheet.error());
    EXPECT_FALSE(closed);
    EXPECT_EQ(toasts.current()->message, "Imported 1 ride");
    EXPECT_TRUE(sheet.isImported(damaged));
    EXPECT_TRUE(sheet.selectedIDs().isEmpty());

    // Listed again, under a new name in the library: known as imported and left unticked.
    ASSERT_TRUE(QFile::rename(QDir(routes).filePath("2024-05-02-08-00-00.gpx"),
                              QDir(routes).filePath("Evening ride.gpx")));
    DeviceImportController again(transports, routes, toasts, QString("FENIX"));
    ASSERT_FALSE(runTask(again.scan()).error);
    EXPECT_TRUE(again.isImported(damaged));
    EXPECT_FALSE(again.isImported(again.activities()[1].id));
    EXPECT_TRUE(again.selectedIDs().isEmpty());
    again.selectAll();
    EXPECT_EQ(again.selectedIDs(), QSet<QString>{again.activities()[1].id});
    // Ticked by hand, it is imported again.
    again.setSelected(damaged, true);
    ASSERT_FALSE(runTask(again.importSelected()).error);
    EXPECT_EQ(routeFiles(), (QStringList{"2024-05-01-07-30-00.gpx", "2024-05-02-08-00-00.gpx",
                                         "Evening ride.gpx"}));

    // The same ride on another device is another ride.
    make("OTHER/Garmin/Activity/2024-05-01-07-30-00.fit", fitRide(4), 1);
    DeviceImportController other(transports, routes, toasts, QString("OTHER"));
    ASSERT_FALSE(runTask(other.scan()).error);
    EXPECT_FALSE(other.isImported(other.activities().at(0).id));

    // A device without rides says where it looked.
    ASSERT_FALSE(runTask(other.selectDevice(other.devices()[0])).error);
    ASSERT_EQ(other.selectedDevice()->name, "EMPTY");
    EXPECT_EQ(other.emptyText(), "No rides on EMPTY in Garmin/Activities or Garmin/Activity.");
}

TEST_F(DeviceFlowTest, DeviceSendNeverReplacesACourseSilently)
{
    edge("EDGE", "Edge 830");
    make("EDGE/Garmin/NewFiles/Kandel-Runde.gpx", "the course already there");
    make("RIDER420/PlanTrip/.keep", "");
    world.devices = {mtpEdge()};
    world.devices[0].objects.push_back(
        {.id = 9, .parent = 2, .name = "Kandel-Runde.gpx", .content = "on the MTP device"});

    QStringList made;
    const auto makeCourse = [&](const QString& name) -> model::Result<app::CoursePayload, QString> {
        made.append(name);
        return app::CoursePayload{"<gpx>" + name.toUtf8() + "</gpx>",
                                  {{48.0, 8.0, 300.0}, {48.01, 8.0, 310.0}}};
    };
    DeviceSendController sheet(transports, makeCourse, "Kandel Runde", toasts);
    QStringList questions;
    auto answer = DeviceSendController::Existing::cancel;
    sheet.setAskReplace([&](QString question) -> QCoro::Task<DeviceSendController::Existing> {
        questions.append(question);
        co_return answer;
    });
    ASSERT_FALSE(runTask(sheet.scan()).error);
    ASSERT_EQ(sheet.devices().size(), 3u);
    EXPECT_EQ(app::DeviceFlows::sendLabel(sheet.devices()[1]), "RIDER420");
    EXPECT_TRUE(DeviceSendController::formats(sheet.devices()[1]).empty());
    EXPECT_EQ(DeviceSendController::formats(sheet.devices()[0]).size(), 2u);

    // Cancel: every device byte for byte as it was.
    const auto before = snapshot();
    for (const auto& device : {sheet.devices()[0], sheet.devices()[2]}) {
        sheet.selectDevice(device);
        ASSERT_FALSE(runTask(sheet.send()).error);
        EXPECT_FALSE(sheet.failed());
        EXPECT_FALSE(sheet.result());
        EXPECT_FALSE(sheet.isBusy());
    }
    EXPECT_EQ(questions, (QStringList{"A course named 'Kandel Runde' is already on Edge 830. "
                                      "Replace it?",
                                      "A course named 'Kandel Runde' is already on Edge 840. "
                                      "Replace it?"}));
    EXPECT_EQ(snapshot(), before);
    EXPECT_FALSE(toasts.current());

    // Keep both: the next free name, for the course inside the file too.
    const QString newFiles = QDir(volumes).filePath("EDGE/Garmin/NewFiles/");
    make("EDGE/Garmin/Courses/Kandel-Runde-2.fit", "imported earlier");
    sheet.selectDevice(sheet.devices()[0]);
    answer = DeviceSendController::Existing::keepBoth;
    ASSERT_FALSE(runTask(sheet.send()).error);
    EXPECT_EQ(read(newFiles + "Kandel-Runde-3.gpx"), "<gpx>Kandel Runde 3</gpx>");
    EXPECT_EQ(made.last(), "Kandel Runde 3");
    EXPECT_EQ(toasts.current()->message, "Sent 'Kandel Runde 3' to Edge 830");
    EXPECT_EQ(read(newFiles + "Kandel-Runde.gpx"), "the course already there");

    // Replace: the new course in the old one's place.
    answer = DeviceSendController::Existing::replace;
    ASSERT_FALSE(runTask(sheet.send()).error);
    EXPECT_EQ(read(newFiles + "Kandel-Runde.gpx"), "<gpx>Kandel Runde</gpx>");
    EXPECT_EQ(QDir(newFiles).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"Kandel-Runde-3.gpx", "Kandel-Runde.gpx"}));

    // A Bryton asks as well, and a second tour keeps the first.
    sheet.selectDevice(sheet.devices()[1]);
    ASSERT_FALSE(runTask(sheet.send()).error);
    ASSERT_TRUE(QFile::exists(QDir(volumes).filePath("RIDER420/Tracks/Kandel Runde.track")));
    answer = DeviceSendController::Existing::keepBoth;
    ASSERT_FALSE(runTask(sheet.send()).error);
    EXPECT_EQ(questions.last(),
              "A course named 'Kandel Runde' is already on RIDER420. Replace it?");
    EXPECT_TRUE(QFile::exists(QDir(volumes).filePath("RIDER420/Tracks/Kandel Runde 2.track")));
    EXPECT_FALSE(sheet.failed());
}
