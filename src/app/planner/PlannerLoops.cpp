// Loops the routing server suggests, and one of them made the plan.
#include "app/planner/LoopSuggestions.h"
#include "app/planner/PlannerViewModel.h"
#include "formats/SavedRoute.h"
#include "model/Polyline.h"
#include "routing/Failure.h"
#include "routing/RoutePlanner.h"

namespace zuvo::app {

using routing::RoutePlanner;

QCoro::Task<std::vector<model::RouteSegment>>
PlannerViewModel::suggestedLoop(model::Coordinate start, double distance,
                                std::optional<double> heading, int seed, std::stop_token cancel)
{
    const model::CostingProfile costing{m_costingKind, m_sliderValues};
    co_return co_await m_planner->suggestedLoop(start, distance, heading, seed, costing, cancel);
}

std::optional<LonLat> loopStart(const PlannerViewModel& planner)
{
    if (const auto& anchors = planner.route().anchors; !anchors.empty()) {
        const auto& at = anchors.front().routingPosition();
        return LonLat{at.longitude, at.latitude};
    }
    return planner.lastMapFocus();
}

QCoro::Task<> followLoop(RoutePlanner& planner, std::vector<model::RouteSegment> loop,
                         model::CostingProfile costing, std::stop_token stop)
{
    formats::RouteDocument suggestion{
        .name = {}, .anchors = routing::loopAnchors(loop), .costing = costing, .roundTrip = true};
    if (suggestion.anchors.size() < 2)
        throw routing::Failure(routing::RoutingError::malformedResponse());
    for (const auto& segment : loop)
        model::appendJoined(suggestion.trackCoordinates, segment.coordinates);
    std::exception_ptr error;
    try {
        co_await planner.restore(suggestion.anchors, costing, true, stop);
    } catch (const routing::Failure& failure) {
        if (failure.isCancellation())
            throw;
        error = std::current_exception();
    }
    // What could not be routed again is shown as it was suggested.
    if (planner.anchors() == suggestion.anchors &&
        planner.keepSavedLegs(formats::savedRoute(suggestion)) > 0)
        error = nullptr;
    if (error)
        std::rethrow_exception(error);
}

MutationHandle PlannerViewModel::useLoop(const std::vector<model::RouteSegment>& loop,
                                         const QString& name)
{
    if (routing::loopAnchors(loop).size() < 2)
        return nullptr;
    ++m_documentGeneration;
    m_documentBeforeOpen.reset();
    setSelectedAnchorID(std::nullopt);
    auto mutation = mutateUndoable(
        [loop, costing = model::CostingProfile{m_costingKind, m_sliderValues}](
            RoutePlanner& planner, std::stop_token stop) -> QCoro::Task<> {
            co_await followLoop(planner, loop, costing, stop);
        },
        UndoHistory::Document{m_documentName, m_documentURL});
    setDocumentName(name);
    setDocumentURL(std::nullopt);
    setDirty(true);
    return mutation;
}

} // namespace zuvo::app
