#include "map/MapColorStore.h"

#include "RecordingPage.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zuvo;
using map::MapColorStore;
namespace Hex = map::MapColorHex;

namespace {

class MapColorTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QSettings settings{dir.filePath("prefs.ini"), QSettings::IniFormat};
    map::MapBridge bridge;
    test::RecordingPage page;

    void SetUp() override { bridge.setPage(&page); }

    std::unique_ptr<MapColorStore> store(const QString& style = TRAMU_STYLE_JSON)
    {
        auto colors = std::make_unique<MapColorStore>(settings, style);
        colors->setBridge(&bridge);
        return colors;
    }
};

} // namespace

TEST(MapColor, hexTextsAreSixDigitsAfterAHash)
{
    EXPECT_EQ(Hex::normalized(" #1a2b3c "), "#1A2B3C");
    EXPECT_EQ(Hex::rgb("#1A2B3C"), (Hex::Rgb{0x1A, 0x2B, 0x3C}));
    for (const char* bad : {"#abc", "1A2B3C", "#1A2B3G", "#+1A2B3", "#0x1A2B", "#1A2B3C4"})
        EXPECT_FALSE(Hex::rgb(bad)) << bad;
}

TEST_F(MapColorTest, MapColorDefaultsComeFromThePagesStyle)
{
    const auto colors = store();
    EXPECT_EQ(colors->hex("background"), "#DDE6EB") << "the first layer of the component";
    EXPECT_EQ(colors->hex("water"), "#A9CCE3");
    EXPECT_EQ(colors->hex("roads-labels"), "#6E6552");
    EXPECT_EQ(colors->hex("route-flat"), "#FF7A18");
    EXPECT_EQ(colors->hex("no-such-part"), "#000000");
    for (const auto& component : map::MapColorComponent::all())
        EXPECT_TRUE(colors->defaults().contains(component.id)) << component.id.toStdString();

    // A zoom expression gives the colour of its last stop, spelt as the style spells it.
    const QString style = dir.filePath("style.json");
    QFile file(style);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"layers":[{"id":"water","type":"fill","paint":{"fill-color":
        ["interpolate",["linear"],["zoom"],5,"#aaaaaa",12,"#a0c8f0"]}},
        {"id":"background","paint":{"background-color":7}}]})");
    file.close();
    const auto parsed = MapColorStore::parseDefaults(style);
    EXPECT_EQ(parsed.at("water"), "#a0c8f0");
    EXPECT_FALSE(parsed.contains("background"));
    EXPECT_EQ(MapColorStore::parseDefaults(dir.filePath("missing.json")),
              (std::map<QString, QString>{{"route-flat", "#FF7A18"}}));
}

TEST_F(MapColorTest, MapColorOverridesPersistAndResetToThePagesOwn)
{
    auto colors = store();
    colors->reset("water");
    EXPECT_TRUE(page.scripts.isEmpty()) << "nothing to reset, nothing sent";

    colors->set("#112233", "water");
    colors->set("#445566", "zuvo-cycle-line");
    colors->set("#778899", "background");
    EXPECT_EQ(page.last("setMapColors"), QJsonObject({{"background", "#778899"}}));
    EXPECT_EQ(colors->hex("water"), "#112233");

    // Resetting a component lets the page restore every one of its layers to its own colour:
    // "earth" must not take the colour of "background".
    colors->reset("background");
    EXPECT_EQ(page.last("setMapColors"), QJsonObject({{"background", "__reset__"}}));
    EXPECT_EQ(colors->hex("background"), "#DDE6EB");

    colors = store();
    EXPECT_EQ(colors->hex("water"), "#112233") << "overrides survive a restart";
    page.scripts.clear();
    colors->pushAll();
    EXPECT_EQ(page.last("setMapColors"),
              QJsonObject({{"water", "#112233"}, {"zuvo-cycle-line", "#445566"}}));

    colors->resetAll();
    EXPECT_EQ(page.last("setMapColors"),
              QJsonObject({{"water", "__reset__"}, {"zuvo-cycle-line", "__reset__"}}));
    EXPECT_TRUE(colors->overrides().empty());
    const qsizetype sent = page.scripts.size();
    colors->resetAll();
    colors->pushAll();
    EXPECT_EQ(page.scripts.size(), sent);
    EXPECT_TRUE(store()->overrides().empty());
}
