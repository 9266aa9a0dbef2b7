#pragma once

#include "app/LonLat.h"
#include "app/places/FavoritesStore.h"
#include "app/places/PhotonPlace.h"
#include "app/places/UserPOIStore.h"
#include "app/planner/Mutation.h"
#include "app/planner/UndoHistory.h"
#include "formats/GPXWaypoints.h"
#include "formats/ImportedGPX.h"
#include "formats/RouteDocument.h"
#include "map/MapBridge.h"
#include "map/MapEvent.h"
#include "model/CostingKind.h"
#include "model/GradeProfile.h"
#include "model/Route.h"
#include "model/ShownTrack.h"
#include "routing/Engine.h"
#include "routing/RoutePlanner.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QUuid>

#include <qcoro/qcorotask.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stop_token>
#include <vector>

class QSettings;

namespace zuvo::app {

class RoutingServerStatus;
class ToastCenter;

// The planner window's model: it owns the route planner, keeps the last route the planner
// produced, turns the map page's events and the window's commands into planner operations, and
// pushes every result to the map page and the panels. Everything runs on the UI thread.
//
// Edits run through one pipeline: each submission cancels the edit before it, waits for it to
// end, and only then runs (unless it was superseded meanwhile), so planner operations never
// overlap and run in submission order. Only the newest edit refreshes the route, reports an
// error, and clears isRouting. Undoable edits keep an undo snapshot of the anchors unless they
// changed nothing.
class PlannerViewModel : public QObject {
    Q_OBJECT

public:
    enum class Tool { select, via, shaping };
    static QString toolName(Tool tool);
    static constexpr std::chrono::milliseconds serverAreaMoment{4000};

    // A planner operation run by the pipeline; it receives the stop token of its edit.
    using Body = std::function<QCoro::Task<>(routing::RoutePlanner&, std::stop_token)>;

    struct POICategory {
        QString key;
        QString label;
    };
    static const std::vector<POICategory>& allPOICategories();
    static const QStringList& cycleLayerIDs();
    static const QStringList& hillshadeLayerIDs();

    // The layer settings and POI categories are read from `settings`, which also keeps them.
    PlannerViewModel(std::unique_ptr<routing::Engine> engine, FavoritesStore& favorites,
                     UserPOIStore& userPOIs, QSettings& settings, QObject* parent = nullptr);
    ~PlannerViewModel() override;

    // Both are held weakly; the window sets them once they exist.
    void setBridge(map::MapBridge* bridge);
    map::MapBridge* bridge() const { return m_bridge; }
    void setToastCenter(ToastCenter* toasts);
    // What is known of the routing server: a click outside its area is refused here, and every
    // route it computes is looked at for flat heights. Held weakly.
    void setServerStatus(RoutingServerStatus* status);
    // Outlines the server's area on the map for a few seconds (while `forMoment`) or until
    // hidden.
    void showServerArea(bool visible, bool forMoment = true);
    // The rider asked where the server routes: the map frames the area and outlines it.
    void revealServerArea();

    routing::RoutePlanner& planner() { return *m_planner; }

    // --- Route and editing
    const model::Route& route() const { return m_route; }
    // route().coordinates(), kept with the route.
    const std::vector<model::Coordinate>& routeCoordinates() const { return m_routeCoordinates; }
    const std::optional<model::GradeProfile>& gradeProfile() const { return m_gradeProfile; }
    bool isRouting() const { return m_isRouting; }
    const std::optional<QString>& errorMessage() const { return m_errorMessage; }
    void setErrorMessage(const std::optional<QString>& message);
    const std::optional<QUuid>& selectedAnchorID() const { return m_selectedAnchorID; }
    void setSelectedAnchorID(const std::optional<QUuid>& id);
    Tool tool() const { return m_tool; }
    void setTool(Tool tool);
    bool gradientMode() const { return m_gradientMode; }
    void setGradientMode(bool enabled);
    model::CostingKind costingKind() const { return m_costingKind; }
    // Resets the sliders to the kind's defaults and reroutes.
    void setCostingKind(model::CostingKind kind);
    // Changes the kind alone, keeping the slider values (a document brings its own).
    void costingKindStorageOnly(model::CostingKind kind);
    const std::map<QString, double>& sliderValues() const { return m_sliderValues; }
    void setSliderValues(const std::map<QString, double>& values);
    quint64 mutationGeneration() const { return m_mutationGeneration; }

    void handle(const map::MapEvent& event);
    void addViaAt(double lon, double lat);
    void addShapingAt(double lon, double lat);
    void makeStart(const QUuid& id);
    void makeEnd(const QUuid& id);
    void convertAnchor(const QUuid& id);
    void reverseRoute();
    void removeSelectedAnchor();
    // Removes that anchor, whichever is selected; the selection is cleared when it was this one.
    void removeAnchor(QUuid id);
    void setRoundTrip(bool on);
    void applySliders();
    MutationHandle mutate(Body body);
    // `document`: the plan's document before a step that makes the plan another document.
    MutationHandle mutateUndoable(Body body,
                                  std::optional<UndoHistory::Document> document = std::nullopt);

    void pushRoute();
    void pushAnchors();
    void pushAll();

    // --- Undo and the document
    bool canUndo() const { return m_history.canUndo(); }
    bool canRedo() const { return m_history.canRedo(); }
    const UndoHistory& history() const { return m_history; }
    int pushUndoSnapshot(UndoHistory::Snapshot before);
    void discardUndoSnapshotIfNoop(int token, bool changed);
    void undo();
    void redo();
    void clearUndoHistory();

    const QString& documentName() const { return m_documentName; }
    void setDocumentName(const QString& name);
    // The user renamed the document: a change the next save writes.
    void rename(const QString& name);
    const std::optional<QUrl>& documentURL() const { return m_documentURL; }
    bool isDirty() const { return m_isDirty; }
    int routesFolderGeneration() const { return m_routesFolderGeneration; }
    void bumpRoutesFolderGeneration();

    void newDocument();
    MutationHandle loadDocument(const formats::RouteDocument& document);
    void markSaved(const QUrl& url);
    // Absent while the route has fewer than two anchors.
    std::optional<QByteArray> makeDocumentData() const;
    std::optional<QByteArray> currentGPX(const QString& name) const;
    // Opens a route document; a file that is not one leaves everything as it was.
    QCoro::Task<> openDocument(QString path);
    // Takes back a plan a planner left unsaved: the document with its file path (if it had
    // one), marked as changed.
    QCoro::Task<> recoverDocument(formats::RouteDocument document, std::optional<QString> path);
    // Opens a route document, or shows any other GPX file as tracks. A document replaces the
    // plan only when `mayReplace` (if given) agrees; tracks only join the map.
    QCoro::Task<> openFile(QString path, std::function<bool()> mayReplace = {});
    // Writes the document atomically to `path` and names it after the file. False when there is
    // nothing to save (fewer than two anchors), and with the reason in errorMessage when the
    // write failed. The plan stays marked changed while an edit is still routing: the file holds
    // the route as shown, without that edit.
    bool saveDocument(const QString& path);

    // --- Loop suggestions
    // A loop from `start` of about `distance` metres with the current profile, leaving towards
    // `heading` (degrees from north) when given; the plan stays as it is.
    QCoro::Task<std::vector<model::RouteSegment>>
    suggestedLoop(model::Coordinate start, double distance, std::optional<double> heading, int seed,
                  std::stop_token cancel = {});
    // Makes `loop` the plan in one undoable step, a new plan called `name`: a round trip
    // through anchors on the loop, routed again; a leg the server cannot route keeps the loop's
    // own geometry.
    MutationHandle useLoop(const std::vector<model::RouteSegment>& loop, const QString& name);

    // --- Exports
    // Why the plan has no cue sheet (not routed yet, a motorcycle route, no cues); absent when
    // it has one.
    std::optional<QString> cueSheetProblem() const;
    // Writes `bytes` atomically to `path` and says so; false with the reason in errorMessage
    // when the write failed.
    bool writeExport(const QString& path, const QByteArray& bytes);
    // The plan as a TCX course, refused with the reason while a leg has no geometry.
    bool exportTCXCourse(const QString& path);
    // The plan's turn cues as comma-separated values.
    bool exportCueSheetCsv(const QString& path);

    // --- Shown tracks
    const std::vector<model::ShownTrack>& shownTracks() const { return m_shownTracks; }
    bool isTrackShown(const QString& id) const;
    // Shows the file's track, read off the UI thread, or hides it when shown.
    QCoro::Task<> toggleTrack(QString path);
    // Shows the tracks of a GPX, FIT or Bryton track file, read off the UI thread, as
    // applyImported does; a damaged FIT file shows what it holds up to the damage and says so.
    // A file that shows nothing says why in errorMessage.
    QCoro::Task<> showRideFile(QString path);
    // `notice` goes with every track shown: what the rider must know about the file.
    void applyImported(const formats::ImportedGPX& imported, const QString& sourceName,
                       const QString& notice = {});
    // Makes a new plan, named after the last shown track, whose route follows that track snapped
    // to the roads. It replaces the plan without asking: the window settles unsaved changes
    // first.
    MutationHandle convertImportToRoute();
    // A via anchor at each end and up to 25 shaping points in between that hold the planner to
    // the line.
    static std::vector<model::Anchor>
    conversionAnchors(const std::vector<model::Coordinate>& coordinates);
    // Moves the map onto the box; asked before the page is ready, the page gets it once it is.
    void frame(const map::Bounds& bounds);
    // Frames the route as it stands (its anchors while no leg is routed).
    void frameRoute();
    void removeShownTrack(const QString& id);

    // --- Map, layers and POIs
    const std::optional<LonLat>& lastMapFocus() const { return m_lastMapFocus; }
    double mapZoom() const { return m_mapZoom; }
    double mapLatitude() const { return m_mapLatitude; }
    bool cycleNetworksVisible() const { return m_cycleNetworksVisible; }
    void setCycleNetworksVisible(bool visible);
    bool hillshadeVisible() const { return m_hillshadeVisible; }
    void setHillshadeVisible(bool visible);
    bool terrain3D() const { return m_terrain3D; }
    void setTerrain3D(bool enabled);
    const std::set<QString>& poiCategories() const { return m_poiCategories; }
    void setPOICategories(const std::set<QString>& categories);
    const std::vector<map::POIItem>& pois() const { return m_pois; }
    const std::optional<map::POIItem>& selectedPOI() const { return m_selectedPOI; }
    void setSelectedPOI(const std::optional<map::POIItem>& poi);
    const std::optional<map::POIItem>& searchSelection() const { return m_searchSelection; }
    const QString& searchQuery() const { return m_searchQuery; }
    void setSearchQuery(const QString& query);
    const std::vector<PhotonPlace>& searchResults() const { return m_searchResults; }
    void setSearchResults(std::vector<PhotonPlace> results);
    FavoritesStore& favorites() { return m_favorites; }
    UserPOIStore& userPOIs() { return m_userPOIs; }

    void requestPOIs();
    std::vector<map::POIItem> customPOIs() const;
    void selectSearchResult(const PhotonPlace& place);
    // Takes the found place's marker and street highlight off the map.
    void clearSearchSelection();
    void favoriteSelectedPlace(const std::optional<QString>& name = std::nullopt);
    std::optional<std::vector<formats::GPXWaypoints::Waypoint>>
    parseCustomPOIs(const QString& path);
    void commitCustomPOIs(std::vector<formats::GPXWaypoints::Waypoint> waypoints,
                          const QString& glyph);

signals:
    void routeChanged();
    void isRoutingChanged();
    void errorMessageChanged();
    void selectedAnchorIDChanged();
    void toolChanged();
    void gradientModeChanged();
    void costingKindChanged();
    void sliderValuesChanged();
    void historyChanged();
    void documentChanged();
    void routesFolderGenerationChanged();
    void shownTracksChanged();
    void lastMapFocusChanged();
    void mapViewChanged();
    void layersChanged();
    void poiCategoriesChanged();
    void poisChanged();
    void selectedPOIChanged();
    void searchChanged();

private:
    void refresh(bool clearError);
    void setIsRouting(bool routing);
    void setDirty(bool dirty);
    void setDocumentURL(const std::optional<QUrl>& url);
    void setRoute(model::Route route);
    void tap(const map::MapEvent::Tap& tap);
    // True (and says why, showing the area) when the server does not cover `at`.
    bool outsideServerArea(const model::Coordinate& at);
    void anchorDrag(const map::MapEvent::AnchorDrag& drag);
    void routeDragStart(const map::MapEvent::RouteDragStart& start);
    void ready();
    void viewChanged(const map::MapEvent::ViewChanged& view);
    void poisResult(const std::vector<map::POIItem>& items);
    void selectPOI(const QString& id);
    void sendTracks();
    void sendOverlay(const QStringList& ids, bool visible);
    void sendPOIs();
    void setPOIs(std::vector<map::POIItem> pois);
    std::vector<map::POIItem> favoritePOIs() const;
    const std::vector<model::Coordinate>& poiLine() const;
    // What an undo step keeps of the planner's plan.
    static UndoHistory::Snapshot planState(const routing::RoutePlanner& planner);
    void restoreSnapshot(UndoHistory::Snapshot entry,
                         void (UndoHistory::*keepCurrent)(UndoHistory::Snapshot));
    void setShownTracks(std::vector<model::ShownTrack> tracks);
    // The tracks of a file already read, parsed off the UI thread.
    QCoro::Task<> showRide(QString fileName, QByteArray bytes);
    void appendShownTracks(std::vector<model::ShownTrack> tracks);
    void readLayerSettings();
    void writeSetting(const QString& key, const QVariant& value);
    struct LoadResult {
        bool adopted = false; // the planner holds the document's anchors
        std::size_t savedLegsKept = 0;
    };
    MutationHandle loadDocument(const formats::RouteDocument& document,
                                std::shared_ptr<LoadResult> result);
    // `recovered`: the document comes back from the recovery file, as unsaved changes to the
    // file at `path` (if any).
    QCoro::Task<> adoptDocument(formats::RouteDocument document, QString path,
                                bool recovered = false);
    QCoro::Task<> finishConversion(MutationHandle mutation, QString trackID, QString name);

    static QCoro::Task<> run(QPointer<PlannerViewModel> self,
                             std::shared_ptr<routing::RoutePlanner> planner, MutationHandle prev,
                             MutationHandle mutation, Body body, quint64 generation);

    std::shared_ptr<routing::RoutePlanner> m_planner;
    FavoritesStore& m_favorites;
    UserPOIStore& m_userPOIs;
    QSettings& m_settings;
    QPointer<map::MapBridge> m_bridge;
    QPointer<ToastCenter> m_toasts;
    QPointer<RoutingServerStatus> m_serverStatus;
    int m_serverAreaShown = 0;

    model::Route m_route;
    std::vector<model::Coordinate> m_routeCoordinates;
    std::optional<model::GradeProfile> m_gradeProfile;
    bool m_isRouting = false;
    std::optional<QString> m_errorMessage;
    std::optional<QUuid> m_selectedAnchorID;
    Tool m_tool = Tool::select;
    bool m_gradientMode = false;
    bool m_suppressCostingDidSet = false;
    model::CostingKind m_costingKind = model::CostingKind::road;
    std::map<QString, double> m_sliderValues;
    MutationHandle m_mutationTask;
    quint64 m_mutationGeneration = 0;
    UndoHistory m_history;

    QString m_documentName = tr("Untitled");
    std::optional<QUrl> m_documentURL;
    bool m_isDirty = false;
    int m_routesFolderGeneration = 0;
    // Counts the documents shown (new, open, conversion), so that an open that a later document
    // superseded leaves that document alone.
    quint64 m_documentGeneration = 0;
    struct DocumentState {
        QString name;
        std::optional<QUrl> url;
        model::CostingKind kind = model::CostingKind::road;
        std::map<QString, double> sliders;
        bool dirty = false;
        UndoHistory history;
    };
    // The document as it stood before the opens in flight; the newest of them puts it back
    // when the planner cannot take its file.
    std::optional<DocumentState> m_documentBeforeOpen;

    std::vector<model::ShownTrack> m_shownTracks;
    // The page already shows the track set of this version; the set is large, so a refresh that
    // did not change it does not send it again.
    quint64 m_tracksVersion = 0;
    std::optional<quint64> m_tracksSentVersion;

    std::optional<LonLat> m_lastMapFocus;
    bool m_pageReady = false;
    // The framing asked for before the page was ready: a page starts on its own view.
    std::optional<map::Bounds> m_frameBeforeReady;
    double m_mapZoom = 11.0;
    double m_mapLatitude = 50.94;
    bool m_cycleNetworksVisible = false;
    bool m_hillshadeVisible = false;
    bool m_terrain3D = false;
    std::set<QString> m_poiCategories;
    std::vector<map::POIItem> m_pois;
    // The route thinned to 100 m, which POIs must lie near; made when first needed.
    mutable std::optional<std::vector<model::Coordinate>> m_poiLine;
    std::optional<map::POIItem> m_selectedPOI;
    std::optional<map::POIItem> m_searchSelection;
    QString m_searchQuery;
    std::vector<PhotonPlace> m_searchResults;
};

} // namespace zuvo::app
