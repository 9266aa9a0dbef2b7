#include "app/planner/PlannerViewModel.h"

#include "app/planner/ToastCenter.h"
#include "app/settings/RoutingServerStatus.h"
#include "model/CostingProfile.h"
#include "routing/GraphHopperEngine.h"

#include <QSettings>
#include <QTimer>

namespace zuvo::app {

using model::Anchor;
using model::Coordinate;
using model::CostingProfile;
using routing::InsertionPoint;
using routing::RoutePlanner;

namespace {

template <typename... Fs>
struct Overloaded : Fs... {
    using Fs::operator()...;
};

// Adds an anchor where the route passes `at`: inserted into the leg it lies on, or appended
// after the last anchor when it lies on the closing leg. Absent when the planner has no leg
// there.
QCoro::Task<std::optional<Anchor>> insertOnRoute(RoutePlanner& planner, Coordinate at,
                                                 Anchor::Kind kind, std::stop_token stop)
{
    const auto point = planner.nearestInsertionPoint(at);
    if (!point)
        co_return std::nullopt;
    if (const auto* leg = std::get_if<InsertionPoint::Leg>(&point->value)) {
        const int position = static_cast<int>(leg->index) + 1;
        co_return co_await planner.insertAnchor(at, kind, position, stop);
    }
    co_return co_await planner.addAnchor(at, kind, stop);
}

// Sends "beginSyntheticDrag" once the route drag's shaping point exists, so that the page carries
// on the gesture as a drag of that point.
QCoro::Task<> beginSyntheticDrag(QPointer<PlannerViewModel> self, MutationHandle mutation,
                                 std::shared_ptr<std::optional<QUuid>> inserted)
{
    const MutationOutcome outcome = co_await mutation->finished();
    if (outcome != MutationOutcome::completed || !*inserted || !self || !self->bridge())
        co_return;
    self->bridge()->send(QStringLiteral("beginSyntheticDrag"),
                         {{QStringLiteral("id"), map::MapBridge::uuidText(**inserted)}});
}

} // namespace

QString PlannerViewModel::toolName(Tool tool)
{
    switch (tool) {
    case Tool::select:
        return QStringLiteral("select");
    case Tool::via:
        return QStringLiteral("via");
    case Tool::shaping:
        return QStringLiteral("shaping");
    }
    return {};
}

PlannerViewModel::PlannerViewModel(std::unique_ptr<routing::Engine> engine,
                                   FavoritesStore& favorites, UserPOIStore& userPOIs,
                                   QSettings& settings, QObject* parent)
    : QObject(parent)
    , m_planner(std::make_shared<RoutePlanner>(
          std::move(engine),
          CostingProfile{model::CostingKind::road,
                         model::defaultPreferenceValues(model::CostingKind::road)}))
    , m_favorites(favorites)
    , m_userPOIs(userPOIs)
    , m_settings(settings)
    , m_sliderValues(model::defaultPreferenceValues(model::CostingKind::road))
{
    readLayerSettings();
    connect(&m_favorites, &FavoritesStore::placesChanged, this, &PlannerViewModel::requestPOIs);
}

PlannerViewModel::~PlannerViewModel() = default;

void PlannerViewModel::setBridge(map::MapBridge* bridge)
{
    m_bridge = bridge;
    m_tracksSentVersion.reset();
}

void PlannerViewModel::setToastCenter(ToastCenter* toasts)
{
    m_toasts = toasts;
}

void PlannerViewModel::setServerStatus(RoutingServerStatus* status)
{
    m_serverStatus = status;
}

bool PlannerViewModel::outsideServerArea(const Coordinate& at)
{
    const auto area = m_serverStatus ? m_serverStatus->area() : std::nullopt;
    if (!area || area->contains(at))
        return false;
    setErrorMessage(routing::GraphHopperEngine::outsideAreaText());
    showServerArea(true);
    return true;
}

void PlannerViewModel::revealServerArea()
{
    const auto area = m_serverStatus ? m_serverStatus->area() : std::nullopt;
    if (!area)
        return;
    frame({area->west, area->south, area->east, area->north});
    showServerArea(true);
}

void PlannerViewModel::showServerArea(bool visible, bool forMoment)
{
    const auto area = m_serverStatus ? m_serverStatus->area() : std::nullopt;
    if (!area || !m_bridge)
        return;
    m_bridge->showServerArea({area->west, area->south, area->east, area->north}, visible);
    if (!visible || !forMoment)
        return;
    // A later showing keeps the outline for its own while.
    const int shown = ++m_serverAreaShown;
    QTimer::singleShot(serverAreaMoment, this, [this, shown] {
        if (shown == m_serverAreaShown)
            showServerArea(false);
    });
}

// --- The pipeline

MutationHandle PlannerViewModel::mutate(Body body)
{
    setDirty(true);
    MutationHandle prev = m_mutationTask;
    if (prev)
        prev->requestStop();
    const quint64 generation = ++m_mutationGeneration;
    setIsRouting(true);
    auto mutation = std::make_shared<Mutation>();
    m_mutationTask = mutation;
    run(QPointer(this), m_planner, std::move(prev), mutation, std::move(body), generation);
    return mutation;
}

QCoro::Task<> PlannerViewModel::run(QPointer<PlannerViewModel> self,
                                    std::shared_ptr<RoutePlanner> planner, MutationHandle prev,
                                    MutationHandle mutation, Body body, quint64 generation)
{
    if (prev)
        co_await prev->finished();
    prev.reset();

    MutationOutcome outcome = MutationOutcome::cancelled;
    QString failure;
    if (!mutation->stopRequested()) {
        try {
            co_await body(*planner, mutation->stopToken());
            if (!mutation->stopRequested())
                outcome = MutationOutcome::completed;
        } catch (const routing::Failure& error) {
            if (!error.isCancellation() && !mutation->stopRequested()) {
                outcome = MutationOutcome::failed;
                failure = error.displayText();
            }
        } catch (const std::exception& error) {
            if (!mutation->stopRequested()) {
                outcome = MutationOutcome::failed;
                failure = QString::fromUtf8(error.what());
            }
        }
    }

    if (self) {
        if (outcome == MutationOutcome::completed) {
            self->refresh(true);
        } else if (outcome == MutationOutcome::failed) {
            self->refresh(false);
            self->setErrorMessage(failure);
        }
        if (self->m_mutationGeneration == generation)
            self->setIsRouting(false);
    }
    mutation->finish(outcome);
}

MutationHandle PlannerViewModel::mutateUndoable(Body body,
                                                std::optional<UndoHistory::Document> document)
{
    m_history.endCoalescing();
    QPointer self(this);
    return mutate([self, body = std::move(body), document = std::move(document)](
                      RoutePlanner& planner, std::stop_token stop) -> QCoro::Task<> {
        const UndoHistory::Snapshot before = planState(planner);
        UndoHistory::Snapshot step = before;
        step.document = document;
        const int token = self ? self->pushUndoSnapshot(std::move(step)) : 0;
        std::exception_ptr error;
        try {
            co_await body(planner, stop);
        } catch (...) {
            error = std::current_exception();
        }
        const bool changed = planState(planner) != before;
        if (self)
            self->discardUndoSnapshotIfNoop(token, changed);
        if (error)
            std::rethrow_exception(error);
    });
}

void PlannerViewModel::refresh(bool clearError)
{
    setRoute(m_planner->currentRoute());
    if (m_serverStatus)
        m_serverStatus->noticeRoute(m_route);
    // The found place served to start there; its marker would stand over the route.
    if (m_searchSelection && !m_route.anchors.empty())
        clearSearchSelection();
    if (clearError && m_errorMessage)
        setErrorMessage(std::nullopt);
    pushAll();
    requestPOIs();
}

void PlannerViewModel::setRoute(model::Route route)
{
    m_route = std::move(route);
    m_routeCoordinates = m_route.coordinates();
    m_poiLine.reset();
    if (m_routeCoordinates.size() < 2)
        m_gradeProfile.reset();
    else
        m_gradeProfile = model::GradeProfile::compute(m_routeCoordinates, 7, 6.0, 150.0);
    emit routeChanged();
}

// --- Fields

void PlannerViewModel::setIsRouting(bool routing)
{
    if (m_isRouting == routing)
        return;
    m_isRouting = routing;
    emit isRoutingChanged();
}

void PlannerViewModel::setErrorMessage(const std::optional<QString>& message)
{
    if (m_errorMessage == message)
        return;
    m_errorMessage = message;
    emit errorMessageChanged();
}

void PlannerViewModel::setSelectedAnchorID(const std::optional<QUuid>& id)
{
    if (m_selectedAnchorID == id)
        return;
    m_selectedAnchorID = id;
    emit selectedAnchorIDChanged();
}

void PlannerViewModel::setTool(Tool tool)
{
    if (m_tool != tool) {
        m_tool = tool;
        emit toolChanged();
    }
    if (m_bridge)
        m_bridge->send(QStringLiteral("setTool"), {{QStringLiteral("tool"), toolName(tool)}});
}

void PlannerViewModel::setGradientMode(bool enabled)
{
    if (m_gradientMode != enabled) {
        m_gradientMode = enabled;
        emit gradientModeChanged();
    }
    if (m_bridge)
        m_bridge->send(QStringLiteral("setGradientMode"), {{QStringLiteral("enabled"), enabled}});
    pushRoute();
}

void PlannerViewModel::setCostingKind(model::CostingKind kind)
{
    if (m_costingKind != kind) {
        m_costingKind = kind;
        emit costingKindChanged();
    }
    if (m_suppressCostingDidSet)
        return;
    setSliderValues(model::defaultPreferenceValues(kind));
    applySliders();
}

void PlannerViewModel::costingKindStorageOnly(model::CostingKind kind)
{
    m_suppressCostingDidSet = true;
    setCostingKind(kind);
    m_suppressCostingDidSet = false;
}

void PlannerViewModel::setSliderValues(const std::map<QString, double>& values)
{
    if (m_sliderValues == values)
        return;
    m_sliderValues = values;
    emit sliderValuesChanged();
}

// --- Edits

void PlannerViewModel::addViaAt(double lon, double lat)
{
    const Coordinate at{lat, lon};
    if (outsideServerArea(at))
        return;
    mutateUndoable([at](RoutePlanner& planner, std::stop_token stop) -> QCoro::Task<> {
        co_await planner.addAnchor(at, Anchor::Kind::via, stop);
    });
}

void PlannerViewModel::addShapingAt(double lon, double lat)
{
    const Coordinate at{lat, lon};
    if (outsideServerArea(at))
        return;
    mutateUndoable([at](RoutePlanner& planner, std::stop_token stop) -> QCoro::Task<> {
        co_await planner.addAnchor(at, Anchor::Kind::shaping, stop);
    });
}

void PlannerViewModel::makeStart(const QUuid& id)
{
    mutateUndoable([id](RoutePlanner& planner, std::stop_token stop) -> QCoro::Task<> {
        co_await planner.moveAnchorToFront(id, stop);
    });
}

void PlannerViewModel::makeEnd(const QUuid& id)
{
    mutateUndoable([id](RoutePlanner& planner, std::stop_token stop) -> QCoro::Task<> {
        co_await planner.moveAnchorToBack(id, stop);
    });
}

void PlannerViewModel::convertAnchor(const QUuid& id)
{
    mutateUndoable([id](RoutePlanner& planner, std::stop_token) -> QCoro::Task<> {
        planner.convertAnchor(id);
        co_return;
    });
}

void PlannerViewModel::reverseRoute()
{
    mutateUndoable([](RoutePlanner& planner, std::stop_token stop) -> QCoro::Task<> {
        co_await planner.reverse(stop);
    });
}

void PlannerViewModel::removeSelectedAnchor()
{
    if (m_selectedAnchorID)
        removeAnchor(*m_selectedAnchorID);
}

void PlannerViewModel::removeAnchor(QUuid id)
{
    if (m_selectedAnchorID == id)
        setSelectedAnchorID(std::nullopt);
    mutateUndoable([id](RoutePlanner& planner, std::stop_token stop) -> QCoro::Task<> {
        co_await planner.removeAnchor(id, stop);
    });
}

void PlannerViewModel::setRoundTrip(bool on)
{
    mutateUndoable([on](RoutePlanner& planner, std::stop_token stop) -> QCoro::Task<> {
        co_await planner.setRoundTrip(on, stop);
    });
}

void PlannerViewModel::applySliders()
{
    const CostingProfile profile{m_costingKind, m_sliderValues};
    mutateUndoable([profile](RoutePlanner& planner, std::stop_token stop) -> QCoro::Task<> {
        co_await planner.setCosting(profile, stop);
    });
}

// --- Map events

void PlannerViewModel::handle(const map::MapEvent& event)
{
    using E = map::MapEvent;
    std::visit(Overloaded{
                   [&](const E::Tap& e) { tap(e); },
                   [&](const E::AnchorSelect& e) {
                       setSelectedAnchorID(e.id);
                       pushAnchors();
                   },
                   [&](const E::AnchorDrag& e) { anchorDrag(e); },
                   [&](const E::DragEnd&) { m_history.endDrag(); },
                   [&](const E::RouteDragStart& e) { routeDragStart(e); },
                   [&](const E::Log&) {},
                   [&](const E::POIsResult& e) { poisResult(e.items); },
                   [&](const E::POISelect& e) { selectPOI(e.id); },
                   [&](const E::ContextMenu&) {},
                   [&](const E::ViewChanged& e) { viewChanged(e); },
                   [&](const E::Ready&) { ready(); },
               },
               event.value);
}

void PlannerViewModel::tap(const map::MapEvent::Tap& tap)
{
    m_lastMapFocus = LonLat{tap.lng, tap.lat};
    emit lastMapFocusChanged();
    if (m_tool == Tool::select)
        return;
    const Anchor::Kind kind = m_tool == Tool::via ? Anchor::Kind::via : Anchor::Kind::shaping;
    const Coordinate at{tap.lat, tap.lng};
    if (outsideServerArea(at))
        return;
    if (tap.onRoute) {
        mutateUndoable([at, kind](RoutePlanner& planner, std::stop_token stop) -> QCoro::Task<> {
            co_await insertOnRoute(planner, at, kind, stop);
        });
    } else {
        mutateUndoable([at, kind](RoutePlanner& planner, std::stop_token stop) -> QCoro::Task<> {
            co_await planner.addAnchor(at, kind, stop);
        });
    }
}

void PlannerViewModel::anchorDrag(const map::MapEvent::AnchorDrag& drag)
{
    m_history.beginDrag();
    QPointer self(this);
    const QUuid id = drag.id;
    const Coordinate to{drag.lat, drag.lng};
    mutate([self, id, to](RoutePlanner& planner, std::stop_token stop) -> QCoro::Task<> {
        // The gesture's first move to run keeps the anchors as they were before it.
        if (self && self->m_history.takeDragPush())
            self->pushUndoSnapshot(planState(planner));
        co_await planner.moveAnchor(id, to, stop);
    });
}

void PlannerViewModel::routeDragStart(const map::MapEvent::RouteDragStart& start)
{
    auto inserted = std::make_shared<std::optional<QUuid>>();
    const Coordinate at{start.lat, start.lng};
    auto mutation = mutateUndoable(
        [inserted, at](RoutePlanner& planner, std::stop_token stop) -> QCoro::Task<> {
            const auto anchor = co_await insertOnRoute(planner, at, Anchor::Kind::shaping, stop);
            if (anchor)
                *inserted = anchor->id;
        });
    beginSyntheticDrag(QPointer(this), std::move(mutation), std::move(inserted));
}

void PlannerViewModel::viewChanged(const map::MapEvent::ViewChanged& view)
{
    if (m_mapZoom == view.zoom && m_mapLatitude == view.lat)
        return;
    m_mapZoom = view.zoom;
    m_mapLatitude = view.lat;
    emit mapViewChanged();
}

void PlannerViewModel::ready()
{
    if (!m_bridge)
        return;
    m_bridge->send(QStringLiteral("setTool"), {{QStringLiteral("tool"), toolName(m_tool)}});
    sendOverlay(cycleLayerIDs(), m_cycleNetworksVisible);
    sendOverlay(hillshadeLayerIDs(), m_hillshadeVisible);
    m_bridge->send(QStringLiteral("setTerrain3D"), {{QStringLiteral("enabled"), m_terrain3D}});
    m_bridge->send(QStringLiteral("setCustomPOIGlyph"),
                   {{QStringLiteral("glyph"), m_userPOIs.glyph()}});
    // A page that reports ready starts empty, whatever was sent before.
    m_tracksSentVersion.reset();
    pushAll();
    requestPOIs();
    m_pageReady = true;
    if (const auto box = std::exchange(m_frameBeforeReady, std::nullopt))
        m_bridge->fit(*box, false);
}

// --- Pushes

void PlannerViewModel::pushRoute()
{
    if (!m_bridge)
        return;
    if (m_gradientMode && m_gradeProfile) {
        std::vector<double> grades;
        std::vector<double> progress;
        grades.reserve(m_gradeProfile->samples.size());
        progress.reserve(m_gradeProfile->samples.size());
        for (const auto& sample : m_gradeProfile->samples) {
            grades.push_back(sample.grade);
            progress.push_back(sample.progress);
        }
        m_bridge->setRoute(m_routeCoordinates, std::span<const double>(grades),
                           std::span<const double>(progress));
    } else {
        m_bridge->setRoute(m_routeCoordinates);
    }
}

void PlannerViewModel::pushAnchors()
{
    if (m_bridge)
        m_bridge->setAnchors(m_route.anchors, m_selectedAnchorID, m_route.roundTrip);
}

void PlannerViewModel::pushAll()
{
    pushRoute();
    pushAnchors();
    sendTracks();
}

} // namespace zuvo::app
