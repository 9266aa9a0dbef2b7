#include "DeviceTesting.h"
#include "devices/CourseFileNames.h"
#include "devices/DeviceActivity.h"
#include "devices/GarminDevice.h"

#include <QSet>

#include <gtest/gtest.h>
#include <unordered_set>

using namespace zuvo::devices;

TEST(GarminDevice, isIdentifiedByAllFourFields)
{
    const GarminDevice volume{.name = "Edge 840",
                              .volumeURL = "file:///media/ana/EDGE",
                              .importFolderURL = "file:///media/ana/EDGE/Garmin/NewFiles"};
    GarminDevice asBryton = volume;
    asBryton.layout = DeviceLayout::bryton;
    const GarminDevice overMTP{
        .name = "Edge 840", .volumeURL = "mtp://0000ABCD", .importFolderURL = "mtp://0000ABCD"};

    EXPECT_NE(volume, asBryton);
    EXPECT_NE(volume, overMTP);
    EXPECT_EQ(QSet<GarminDevice>({volume, asBryton, overMTP, GarminDevice(volume)}).size(), 3);
    EXPECT_EQ(std::unordered_set<GarminDevice>({volume, asBryton, overMTP, volume}).size(), 3u);
    EXPECT_EQ(qHash(volume, 7), qHash(GarminDevice(volume), 7));
}

TEST(DeviceError, rendersAsCaseNameAndPayload)
{
    EXPECT_EQ(DeviceError::mtp("device no longer connected").description(),
              QStringLiteral("mtp(\"device no longer connected\")"));
    EXPECT_EQ(
        DeviceError::verificationFailed("content mismatch writing 100% Alpen.gpx").description(),
        QStringLiteral("verificationFailed(\"content mismatch writing 100% Alpen.gpx\")"));
    EXPECT_EQ(
        DeviceError::importFolderMissing("file:///media/ana/EDGE/Garmin/NewFiles").description(),
        QStringLiteral("importFolderMissing(file:///media/ana/EDGE/Garmin/NewFiles)"));
    EXPECT_EQ(DeviceError::notImplemented().description(), QStringLiteral("notImplemented"));
}

TEST(DeviceActivity, sortsNewestFirstWithUndatedEntriesLast)
{
    const auto on = [](int day) { return QDateTime(QDate(2024, 5, day), QTime(0, 0), Qt::UTC); };
    std::vector<DeviceActivity> list{{"a", "a", on(2)},        {"b", "b", std::nullopt},
                                     {"c", "c", on(1)},        {"d", "d", on(2)},
                                     {"e", "e", std::nullopt}, {"f", "f", on(3)}};
    sortNewestFirst(list);
    QStringList order;
    for (const DeviceActivity& entry : list)
        order << entry.id;
    EXPECT_EQ(order, (QStringList{"f", "a", "d", "c", "b", "e"}));
}

TEST(CourseFileNames, cleanCourseNamesForEachMake)
{
    EXPECT_EQ(garminCourseFileName("Runde: Süd/Nord."), QStringLiteral("Runde:-Süd-Nord..gpx"));
    EXPECT_EQ(stripFATInvalidCharacters("Runde: Süd/Nord."), QStringLiteral("Runde SüdNord"));
    EXPECT_EQ(stripFATInvalidCharacters(" <a|b>?*\"\\ . . "), QStringLiteral(" ab"));
    EXPECT_EQ(stripFATInvalidCharacters("..."), QString());
}
