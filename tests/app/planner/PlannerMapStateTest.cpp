#include "PlannerFixture.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace zuvo;
using namespace zuvo::test;
using map::POIItem;

namespace {

QJsonDocument readJson(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll())
                                          : QJsonDocument();
}

QStringList ids(const std::vector<POIItem>& pois)
{
    QStringList all;
    for (const auto& poi : pois)
        all.append(poi.id);
    return all;
}

// A point `meters` east of the route's first anchor, which lies on a north–south line.
POIItem poiEastOf(const Coordinate& c, double meters, QString id, QString category = "cafe")
{
    const double degrees = meters / (111'320.0 * std::cos(c.latitude * M_PI / 180.0));
    return {std::move(id), c.longitude + degrees, c.latitude, std::move(category), ""};
}

} // namespace

TEST_F(PlannerViewModelTest, FavoriteStoreSurvivesDamageAndWritesWhole)
{
    const QString path = home.filePath("fav/favorites.json");
    writeFile(home.filePath("fav-damaged.json"), R"({"not": "a list"})");
    app::FavoritesStore damaged(home.filePath("fav-damaged.json"));
    EXPECT_TRUE(damaged.places().empty());
    damaged.add({.name = "Hütte", .latitude = 47.5, .longitude = 11.1});
    EXPECT_EQ(readJson(home.filePath("fav-damaged.json")).array().size(), 1)
        << "the next write replaces the damaged file";

    app::FavoritesStore store(path);
    const app::FavoritePlace cafe{.name = "Café", .latitude = 50.94, .longitude = 6.96};
    store.add(cafe);
    store.add({.name = "Brücke", .latitude = 50.1, .longitude = 6.1});
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("\n    {\n        \"id\": ")) << "pretty-printed, keys sorted";
    EXPECT_LT(text.indexOf("\"latitude\""), text.indexOf("\"longitude\""));

    app::FavoritesStore reread(path);
    ASSERT_EQ(reread.places().size(), 2u);
    EXPECT_EQ(reread.places()[0], cafe);
    reread.remove(cafe.id);
    EXPECT_EQ(app::FavoritesStore(path).places().size(), 1u);

    // One broken entry does not cost the others.
    writeFile(path, R"([{"id":"x","name":1},{"id":"6F1C2B9E-0D3A-4C55-9A8E-2B7D4E1F0A11",
                       "name":"Ok","latitude":1,"longitude":2}])");
    EXPECT_EQ(app::FavoritesStore(path).places().size(), 1u);
}

TEST_F(PlannerViewModelTest, UserPOIStoreReadsBothFormsAndRefusesMissingKeys)
{
    const QString path = home.filePath("pois/custom-pois.json");
    writeFile(home.filePath("bare.json"),
              R"([{"name":"Biergarten","latitude":48.1,"longitude":11.5},
                 {"name":"no position"}])");
    app::UserPOIStore bare(home.filePath("bare.json"));
    ASSERT_EQ(bare.waypoints().size(), 1u);
    EXPECT_EQ(bare.waypoints()[0].name, "Biergarten");
    EXPECT_EQ(bare.glyph(), QString::fromUcs4(U"\U0001F37A"));

    EXPECT_FALSE(formats::GPXWaypoints::fromJson(QJsonObject{{"name", "a"}, {"latitude", 1}}));
    EXPECT_FALSE(formats::GPXWaypoints::fromJson(
        QJsonObject{{"name", "a"}, {"latitude", "1"}, {"longitude", 2}}));

    app::UserPOIStore store(path);
    EXPECT_TRUE(store.waypoints().empty());
    store.setWaypoints({{"Quelle", 47.0, 11.0}});
    store.setGlyph("⛲");
    ASSERT_TRUE(store.save());
    const QJsonObject saved = readJson(path).object();
    EXPECT_EQ(saved.keys(), (QStringList{"glyph", "waypoints"}));
    app::UserPOIStore reread(path);
    EXPECT_EQ(reread.glyph(), "⛲");
    EXPECT_EQ(reread.waypoints(), store.waypoints());
}

TEST_F(PlannerViewModelTest, FavoritePOIsLayersAndCategories)
{
    EXPECT_EQ(vm->poiCategories(), (std::set<QString>{"custom"}));
    build(2);
    EXPECT_EQ(page->count("queryPOIs"), 0) << "a fresh installation queries nothing";

    vm->setHillshadeVisible(true);
    vm->setTerrain3D(true);
    EXPECT_EQ(page->last("setOverlay").value("ids").toArray(), QJsonArray{"zuvo-hillshade"});
    EXPECT_EQ(page->last("setTerrain3D").value("enabled"), true);
    vm->setPOICategories({"cafe", "custom"});
    const QJsonObject query = page->last("queryPOIs");
    EXPECT_EQ(query.value("categories").toArray(), QJsonArray{"cafe"});
    const Coordinate a = vm->routeCoordinates().front();
    const Coordinate b = vm->routeCoordinates().back();
    EXPECT_EQ(query.value("bbox").toArray(),
              (QJsonArray{std::min(a.longitude, b.longitude) - 0.01, a.latitude - 0.01,
                          std::max(a.longitude, b.longitude) + 0.01, b.latitude + 0.01}));

    // A later start reads the layers back; unknown categories are dropped.
    settings.setValue("layers.poiCategories", QStringList{"cafe", "pubs"});
    PlannerViewModel again(std::make_unique<ScriptedEngine>(script), favorites, userPOIs, settings);
    EXPECT_EQ(again.poiCategories(), (std::set<QString>{"cafe"}));
    EXPECT_TRUE(again.hillshadeVisible());
    EXPECT_TRUE(again.terrain3D());
    EXPECT_FALSE(again.cycleNetworksVisible());
}

TEST_F(PlannerViewModelTest, FavoritePOIsAlongTheRoute)
{
    favorites.add({.name = "Home", .latitude = 30.0, .longitude = 30.0});
    userPOIs.setWaypoints({{"near", at(0).latitude, at(0).longitude + 0.005},
                           {"far", at(0).latitude, at(0).longitude + 0.5}});
    vm->setPOICategories({"cafe", "custom"});
    build(3);

    const Coordinate start = vm->routeCoordinates().front();
    vm->handle(MapEvent{MapEvent::POIsResult{
        {poiEastOf(start, 1200, "far-cafe"), poiEastOf(start, 900, "near-cafe")}}});
    const QString home = vm->pois()[1].id;
    EXPECT_EQ(ids(vm->pois()), (QStringList{"near-cafe", home, "custom-0"}));
    EXPECT_TRUE(home.startsWith("fav-"));
    EXPECT_EQ(vm->pois()[1].category, "favorite");
    EXPECT_EQ(page->last("setPOIs").value("pois").toArray().size(), 3);

    // Switching every category off closes an OSM POI's popover, but not a favourite's.
    vm->handle(MapEvent{MapEvent::POISelect{"near-cafe"}});
    ASSERT_TRUE(vm->selectedPOI());
    vm->setPOICategories({});
    EXPECT_FALSE(vm->selectedPOI());
    EXPECT_EQ(ids(vm->pois()), QStringList{home}) << "imported POIs need their category";
    vm->handle(MapEvent{MapEvent::POISelect{home}});
    vm->setPOICategories({"custom"});
    ASSERT_TRUE(vm->selectedPOI());
    EXPECT_EQ(vm->selectedPOI()->id, home);
    EXPECT_EQ(ids(vm->pois()), (QStringList{home, "custom-0"}));
}

TEST_F(PlannerViewModelTest, FavoriteFromASelectedPlace)
{
    vm->favoriteSelectedPlace();
    EXPECT_TRUE(favorites.places().empty()) << "nothing selected, nothing saved";

    vm->setPOICategories({"drinking_water"});
    build(2);
    vm->handle(MapEvent{MapEvent::POIsResult{{{"w1", 11.0, 48.0, "drinking_water", ""}}}});
    vm->handle(MapEvent{MapEvent::POISelect{"w1"}});
    vm->favoriteSelectedPlace();
    vm->favoriteSelectedPlace();
    ASSERT_EQ(favorites.places().size(), 1u) << "the same place twice is kept once";
    EXPECT_EQ(favorites.places()[0].name, "Drinking Water @ 48.0000, 11.0000");
    vm->favoriteSelectedPlace(QString("Brunnen"));
    EXPECT_EQ(favorites.places().size(), 2u);

    // A search result: framed closely when it is on a street, wider when not.
    const app::PhotonPlace street{"W/1", "Marienplatz, München", 11.5755, 48.1374,
                                  QString("Marienplatz")};
    vm->setSearchQuery("Marienplatz");
    vm->selectSearchResult(street);
    EXPECT_EQ(page->last("fit").value("bounds").toArray(),
              (QJsonArray{11.5755 - 0.006, 48.1374 - 0.006, 11.5755 + 0.006, 48.1374 + 0.006}));
    EXPECT_EQ(page->last("setCrosshair").value("visible"), true);
    EXPECT_EQ(page->last("highlightStreet").value("name"), "Marienplatz");
    EXPECT_EQ(vm->searchQuery(), "");
    EXPECT_EQ(vm->searchSelection()->id, "search-W/1");
    vm->selectSearchResult({"N/2", "Dorf", 11.0, 48.0, std::nullopt});
    EXPECT_EQ(page->last("fit").value("bounds").toArray()[0].toDouble(), 11.0 - 0.02);
    EXPECT_EQ(page->last("highlightStreet").value("name"), "");

    vm->handle(MapEvent{MapEvent::POISelect{"nothing"}});
    vm->favoriteSelectedPlace();
    EXPECT_EQ(favorites.places().back().name, "Dorf") << "the search selection is the target";
}

TEST_F(PlannerViewModelTest, UserPOIImportFromWaypoints)
{
    const QString file = home.filePath("biergarten.gpx");
    writeFile(file, R"(<gpx><wpt lat="48.0" lon="11.001"><name>Keller</name></wpt></gpx>)");
    EXPECT_FALSE(vm->parseCustomPOIs(home.filePath("missing.gpx")));
    EXPECT_EQ(vm->errorMessage(), "Could not read missing.gpx");
    writeFile(home.filePath("empty.gpx"), "<gpx/>");
    EXPECT_FALSE(vm->parseCustomPOIs(home.filePath("empty.gpx")));
    EXPECT_EQ(vm->errorMessage(), "No waypoints in empty.gpx");

    vm->setPOICategories({});
    build(2);
    const auto waypoints = vm->parseCustomPOIs(file);
    ASSERT_TRUE(waypoints);
    vm->commitCustomPOIs(*waypoints, "🍷");
    EXPECT_TRUE(vm->poiCategories().contains("custom"));
    EXPECT_EQ(settings.value("layers.poiCategories").toStringList(), QStringList{"custom"});
    EXPECT_EQ(ids(vm->pois()), QStringList{"custom-0"});
    EXPECT_EQ(page->last("setCustomPOIGlyph").value("glyph"), "🍷");
    EXPECT_EQ(app::UserPOIStore(userPOIs.filePath()).glyph(), "🍷");
}
