#include "app/planner/PlannerViewModel.h"
#include "model/Polyline.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QSettings>

#include <algorithm>
#include <cmath>

// The map side of the planner: layers, points of interest along the route and the place picked
// from the search.
namespace zuvo::app {

using map::POIItem;

namespace {

const QString cycleKey = QStringLiteral("layers.cycle");
const QString hillshadeKey = QStringLiteral("layers.hillshade");
const QString terrainKey = QStringLiteral("layers.terrain3d");
const QString categoriesKey = QStringLiteral("layers.poiCategories");
const QString customCategory = QStringLiteral("custom");
const QString favoriteCategory = QStringLiteral("favorite");

// POIs this far from the route, or closer, are shown along it.
constexpr double poiReachMeters = 1000.0;

QStringList listOf(const std::set<QString>& set)
{
    return QStringList(set.begin(), set.end());
}

// "drinking_water" → "Drinking Water".
QString capitalisedWords(QString text)
{
    text.replace(QLatin1Char('_'), QLatin1Char(' '));
    bool startOfWord = true;
    for (QChar& c : text) {
        if (startOfWord)
            c = c.toUpper();
        startOfWord = c.isSpace();
    }
    return text;
}

} // namespace

const std::vector<PlannerViewModel::POICategory>& PlannerViewModel::allPOICategories()
{
    static const std::vector<POICategory> categories{
        {QStringLiteral("drinking_water"), QT_TRANSLATE_NOOP("POICategory", "Water")},
        {QStringLiteral("cafe"), QT_TRANSLATE_NOOP("POICategory", "Cafés")},
        {QStringLiteral("bakery"), QT_TRANSLATE_NOOP("POICategory", "Bakeries")},
        {QStringLiteral("bicycle"), QT_TRANSLATE_NOOP("POICategory", "Bike shops")},
        {QStringLiteral("supermarket"), QT_TRANSLATE_NOOP("POICategory", "Supermarkets")},
        {customCategory, QT_TRANSLATE_NOOP("POICategory", "Imported")},
    };
    return categories;
}

const QStringList& PlannerViewModel::cycleLayerIDs()
{
    static const QStringList ids{QStringLiteral("zuvo-cycle-casing"),
                                 QStringLiteral("zuvo-cycle-line"),
                                 QStringLiteral("zuvo-cycle-ref")};
    return ids;
}

const QStringList& PlannerViewModel::hillshadeLayerIDs()
{
    static const QStringList ids{QStringLiteral("zuvo-hillshade")};
    return ids;
}

void PlannerViewModel::readLayerSettings()
{
    m_cycleNetworksVisible = m_settings.value(cycleKey, false).toBool();
    m_hillshadeVisible = m_settings.value(hillshadeKey, false).toBool();
    m_terrain3D = m_settings.value(terrainKey, false).toBool();
    if (!m_settings.contains(categoriesKey)) {
        m_poiCategories = {customCategory};
        return;
    }
    const auto& known = allPOICategories();
    for (const QString& key : m_settings.value(categoriesKey).toStringList()) {
        if (std::any_of(known.begin(), known.end(),
                        [&](const POICategory& c) { return c.key == key; }))
            m_poiCategories.insert(key);
    }
}

void PlannerViewModel::writeSetting(const QString& key, const QVariant& value)
{
    m_settings.setValue(key, value);
}

void PlannerViewModel::sendOverlay(const QStringList& ids, bool visible)
{
    if (m_bridge)
        m_bridge->send(QStringLiteral("setOverlay"),
                       {{QStringLiteral("ids"), QJsonArray::fromStringList(ids)},
                        {QStringLiteral("visible"), visible}});
}

void PlannerViewModel::setCycleNetworksVisible(bool visible)
{
    m_cycleNetworksVisible = visible;
    writeSetting(cycleKey, visible);
    emit layersChanged();
    sendOverlay(cycleLayerIDs(), visible);
}

void PlannerViewModel::setHillshadeVisible(bool visible)
{
    m_hillshadeVisible = visible;
    writeSetting(hillshadeKey, visible);
    emit layersChanged();
    sendOverlay(hillshadeLayerIDs(), visible);
}

void PlannerViewModel::setTerrain3D(bool enabled)
{
    m_terrain3D = enabled;
    writeSetting(terrainKey, enabled);
    emit layersChanged();
    if (m_bridge)
        m_bridge->send(QStringLiteral("setTerrain3D"), {{QStringLiteral("enabled"), enabled}});
}

void PlannerViewModel::setPOICategories(const std::set<QString>& categories)
{
    m_poiCategories = categories;
    writeSetting(categoriesKey, listOf(categories));
    emit poiCategoriesChanged();
    requestPOIs();
}

void PlannerViewModel::setSelectedPOI(const std::optional<POIItem>& poi)
{
    if (m_selectedPOI == poi)
        return;
    m_selectedPOI = poi;
    emit selectedPOIChanged();
}

void PlannerViewModel::setSearchQuery(const QString& query)
{
    if (m_searchQuery == query)
        return;
    m_searchQuery = query;
    emit searchChanged();
}

void PlannerViewModel::setSearchResults(std::vector<PhotonPlace> results)
{
    if (m_searchResults == results)
        return;
    m_searchResults = std::move(results);
    emit searchChanged();
}

void PlannerViewModel::setPOIs(std::vector<POIItem> pois)
{
    m_pois = std::move(pois);
    emit poisChanged();
}

void PlannerViewModel::sendPOIs()
{
    if (!m_bridge)
        return;
    std::optional<QString> selected;
    if (m_selectedPOI)
        selected = m_selectedPOI->id;
    m_bridge->setPOIs(m_pois, selected);
}

std::vector<POIItem> PlannerViewModel::favoritePOIs() const
{
    std::vector<POIItem> items;
    for (const auto& place : m_favorites.places()) {
        items.push_back({QStringLiteral("fav-") + map::MapBridge::uuidText(place.id),
                         place.longitude, place.latitude, favoriteCategory, place.name});
    }
    return items;
}

const std::vector<model::Coordinate>& PlannerViewModel::poiLine() const
{
    if (!m_poiLine)
        m_poiLine = model::simplified(m_routeCoordinates, 100.0);
    return *m_poiLine;
}

std::vector<POIItem> PlannerViewModel::customPOIs() const
{
    if (!m_poiCategories.contains(customCategory) || m_routeCoordinates.size() < 2)
        return {};
    const auto& line = poiLine();
    std::vector<POIItem> items;
    const auto& waypoints = m_userPOIs.waypoints();
    for (std::size_t i = 0; i < waypoints.size(); ++i) {
        const auto& w = waypoints[i];
        if (model::distanceMeters({w.latitude, w.longitude}, line) <= poiReachMeters)
            items.push_back({QStringLiteral("custom-") + QString::number(i), w.longitude,
                             w.latitude, customCategory, w.name});
    }
    return items;
}

void PlannerViewModel::requestPOIs()
{
    std::set<QString> queried = m_poiCategories;
    queried.erase(customCategory);
    // Only the page knows the map's POIs; a query without categories would come back empty, so
    // the list is rebuilt at once instead.
    if (!queried.empty() && m_routeCoordinates.size() >= 2) {
        if (m_bridge) {
            const map::Bounds box = map::Bounds::enclosing(m_routeCoordinates)->expanded(0.01);
            m_bridge->send(
                QStringLiteral("queryPOIs"),
                {{QStringLiteral("bbox"), map::MapBridge::bounds(box)},
                 {QStringLiteral("categories"), QJsonArray::fromStringList(listOf(queried))}});
        }
        return;
    }
    auto pois = favoritePOIs();
    const auto custom = customPOIs();
    pois.insert(pois.end(), custom.begin(), custom.end());
    setPOIs(std::move(pois));
    if (m_selectedPOI && m_selectedPOI->category != favoriteCategory &&
        m_selectedPOI->category != customCategory)
        setSelectedPOI(std::nullopt);
    if (m_bridge)
        m_bridge->setPOIs(m_pois, std::nullopt);
}

void PlannerViewModel::poisResult(const std::vector<POIItem>& items)
{
    const auto& line = poiLine();
    std::vector<POIItem> pois;
    for (const auto& item : items) {
        if (model::distanceMeters({item.latitude, item.longitude}, line) <= poiReachMeters)
            pois.push_back(item);
    }
    const auto favorites = favoritePOIs();
    const auto custom = customPOIs();
    pois.insert(pois.end(), favorites.begin(), favorites.end());
    pois.insert(pois.end(), custom.begin(), custom.end());
    setPOIs(std::move(pois));
    if (m_selectedPOI && std::none_of(m_pois.begin(), m_pois.end(),
                                      [&](const POIItem& p) { return p.id == m_selectedPOI->id; }))
        setSelectedPOI(std::nullopt);
    sendPOIs();
}

void PlannerViewModel::selectPOI(const QString& id)
{
    const auto it =
        std::find_if(m_pois.begin(), m_pois.end(), [&](const POIItem& p) { return p.id == id; });
    setSelectedPOI(it == m_pois.end() ? std::nullopt : std::optional<POIItem>(*it));
}

void PlannerViewModel::frame(const map::Bounds& bounds)
{
    if (!m_pageReady)
        m_frameBeforeReady = bounds;
    if (m_bridge)
        m_bridge->fit(bounds, m_pageReady);
}

void PlannerViewModel::frameRoute()
{
    auto box = map::Bounds::enclosing(m_routeCoordinates);
    if (!box) {
        std::vector<model::Coordinate> anchors;
        for (const auto& anchor : m_route.anchors)
            anchors.push_back(anchor.routingPosition());
        box = map::Bounds::enclosing(anchors);
    }
    if (box)
        frame(*box);
}

void PlannerViewModel::selectSearchResult(const PhotonPlace& place)
{
    m_lastMapFocus = LonLat{place.longitude, place.latitude};
    emit lastMapFocusChanged();
    m_searchSelection = POIItem{QStringLiteral("search-") + place.id, place.longitude,
                                place.latitude, QStringLiteral("search"), place.label};
    emit searchChanged();
    if (m_bridge) {
        const double d = place.street ? 0.006 : 0.02;
        m_bridge->fit(
            {place.longitude - d, place.latitude - d, place.longitude + d, place.latitude + d},
            true);
        m_bridge->setCrosshair(place.longitude, place.latitude, true);
        m_bridge->highlightStreet(place.street.value_or(QString()));
    }
    setSearchResults({});
    setSearchQuery(QString());
}

void PlannerViewModel::clearSearchSelection()
{
    if (m_bridge) {
        const auto& at = m_searchSelection;
        m_bridge->setCrosshair(at ? at->longitude : 0.0, at ? at->latitude : 0.0, false);
        m_bridge->highlightStreet(QString());
    }
    if (!m_searchSelection)
        return;
    m_searchSelection.reset();
    emit searchChanged();
}

void PlannerViewModel::favoriteSelectedPlace(const std::optional<QString>& name)
{
    const auto& target = m_selectedPOI ? m_selectedPOI : m_searchSelection;
    if (!target)
        return;
    QString favoriteName;
    if (name)
        favoriteName = *name;
    else if (!target->name.isEmpty())
        favoriteName = target->name;
    else
        favoriteName = capitalisedWords(target->category) +
                       QString::asprintf(" @ %.4f, %.4f", target->latitude, target->longitude);
    const auto& places = m_favorites.places();
    const bool known = std::any_of(places.begin(), places.end(), [&](const FavoritePlace& p) {
        return p.name == favoriteName && std::abs(p.latitude - target->latitude) < 0.0001 &&
               std::abs(p.longitude - target->longitude) < 0.0001;
    });
    if (known)
        return;
    // The store's change signal asks for the POIs again.
    m_favorites.add(FavoritePlace{
        .name = favoriteName, .latitude = target->latitude, .longitude = target->longitude});
}

std::optional<std::vector<formats::GPXWaypoints::Waypoint>>
PlannerViewModel::parseCustomPOIs(const QString& path)
{
    const QString fileName = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setErrorMessage(tr("Could not read %1").arg(fileName));
        return std::nullopt;
    }
    auto waypoints = formats::GPXWaypoints::parse(file.readAll());
    if (waypoints.empty()) {
        setErrorMessage(tr("No waypoints in %1").arg(fileName));
        return std::nullopt;
    }
    return waypoints;
}

void PlannerViewModel::commitCustomPOIs(std::vector<formats::GPXWaypoints::Waypoint> waypoints,
                                        const QString& glyph)
{
    m_userPOIs.setWaypoints(std::move(waypoints));
    m_userPOIs.setGlyph(glyph);
    m_userPOIs.save();
    m_poiCategories.insert(customCategory);
    writeSetting(categoriesKey, listOf(m_poiCategories));
    emit poiCategoriesChanged();
    requestPOIs();
    if (m_bridge)
        m_bridge->send(QStringLiteral("setCustomPOIGlyph"), {{QStringLiteral("glyph"), glyph}});
}

} // namespace zuvo::app
