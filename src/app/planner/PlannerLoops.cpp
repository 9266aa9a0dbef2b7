// Loops the routing server suggests, and one of them made the plan.
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

MutationHandle PlannerViewModel::useLoop(const std::vector<model::RouteSegment>& loop,
                                         const QString& name)
{
    formats::RouteDocument suggestion{.name = name,
                                      .anchors = routing::loopAnchors(loop),
                                      .costing = {m_costingKind, m_sliderValues},
                                      .roundTrip = true};
    if (suggestion.anchors.size() < 2)
        return nullptr;
    for (const auto& segment : loop)
        model::appendJoined(suggestion.trackCoordinates, segment.coordinates);
    ++m_documentGeneration;
    m_documentBeforeOpen.reset();
    setSelectedAnchorID(std::nullopt);
    auto mutation =
        mutateUndoable([anchors = suggestion.anchors, costing = suggestion.costing,
                        saved = formats::savedRoute(suggestion)](
                           RoutePlanner& planner, std::stop_token stop) -> QCoro::Task<> {
            std::exception_ptr error;
            try {
                co_await planner.restore(anchors, costing, true, stop);
            } catch (const routing::Failure& failure) {
                if (failure.isCancellation())
                    throw;
                error = std::current_exception();
            }
            // What could not be routed again is shown as it was suggested.
            if (planner.anchors() == anchors && planner.keepSavedLegs(saved) > 0)
                error = nullptr;
            if (error)
                std::rethrow_exception(error);
        });
    setDocumentName(name);
    setDocumentURL(std::nullopt);
    setDirty(true);
    return mutation;
}

} // namespace zuvo::app
