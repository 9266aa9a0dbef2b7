#include "DeviceTesting.h"
#include "devices/CourseFileNames.h"
#include "devices/GarminDevice.h"

#include <QSet>

#include <unordered_set>

using namespace zuvo::devices;

TEST(DeviceModel, devicesDifferInAnyFieldAndErrorsRenderAsCaseAndPayload)
{
    const GarminDevice volume{.name = "Edge 840", .volumeURL = "file:///media/ana/EDGE"};
    GarminDevice asBryton = volume;
    asBryton.layout = DeviceLayout::bryton;
    const GarminDevice overMTP{.name = "Edge 840", .volumeURL = "mtp://0000ABCD"};
    EXPECT_EQ(QSet<GarminDevice>({volume, asBryton, overMTP, GarminDevice(volume)}).size(), 3);
    EXPECT_EQ(std::unordered_set<GarminDevice>({volume, asBryton, overMTP, volume}).size(), 3u);

    EXPECT_EQ(DeviceError::mtp("device no longer connected").description(),
              "mtp(\"device no longer connected\")");
    EXPECT_EQ(DeviceError::verificationFailed("100% of A.gpx").description(),
              "verificationFailed(\"100% of A.gpx\")");
    EXPECT_EQ(DeviceError::importFolderMissing("file:///m/E/Garmin/NewFiles").description(),
              "importFolderMissing(file:///m/E/Garmin/NewFiles)");
    EXPECT_EQ(DeviceError::notImplemented().description(), "notImplemented");
}

TEST(DeviceModel, activitiesSortNewestFirstWithUndatedOnesLast)
{
    using zuvo::test::day;
    std::vector<DeviceActivity> list{{"a", "", day(2)}, {"b"}, {"c", "", day(1)},
                                     {"d", "", day(2)}, {"e"}, {"f", "", day(3)}};
    sortNewestFirst(list);
    QStringList order;
    for (const DeviceActivity& entry : list)
        order << entry.id;
    EXPECT_EQ(order, (QStringList{"f", "a", "d", "c", "b", "e"}));
}

TEST(DeviceModel, courseNamesBecomeFileNamesForEachMake)
{
    EXPECT_EQ(garminCourseFileName("Runde: Süd/Nord."), "Runde-Süd-Nord.gpx");
    EXPECT_EQ(garminCourseFileName("Was? *Wo*"), "Was-Wo.gpx");
    for (const char* nothing : {"", "...", " . ", "?:*"})
        EXPECT_EQ(garminCourseFileName(nothing), std::nullopt) << nothing;
    EXPECT_EQ(stripFATInvalidCharacters("Runde: Süd/Nord."), "Runde SüdNord");
    EXPECT_EQ(stripFATInvalidCharacters(" <a|b>?*\"\\ . . "), " ab");
    EXPECT_EQ(stripFATInvalidCharacters("..."), "");
}
