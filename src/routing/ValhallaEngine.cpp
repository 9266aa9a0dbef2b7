#include "routing/ValhallaEngine.h"

#include "routing/Failure.h"

namespace zuvo::routing {

namespace {

Failure unavailable()
{
    return RoutingError::engineUnavailable(QStringLiteral("Valhalla is not part of Milestone 1"));
}

} // namespace

QCoro::Task<model::Anchor::Snap> ValhallaEngine::locate(model::Coordinate, model::CostingProfile,
                                                        std::stop_token)
{
    throw unavailable();
    co_return {};
}

QCoro::Task<std::vector<model::RouteSegment>>
ValhallaEngine::route(model::Anchor, model::Anchor, model::CostingProfile, std::stop_token)
{
    throw unavailable();
    co_return {};
}

QCoro::Task<std::vector<model::RouteSegment>> ValhallaEngine::roundTrip(model::Coordinate, double,
                                                                        std::optional<double>, int,
                                                                        model::CostingProfile,
                                                                        std::stop_token)
{
    throw unavailable();
    co_return {};
}

QCoro::Task<std::vector<double>> ValhallaEngine::elevation(std::vector<model::Coordinate>,
                                                           std::stop_token)
{
    throw unavailable();
    co_return {};
}

QCoro::Task<std::vector<model::RouteSegment>>
ValhallaEngine::mapMatch(std::vector<model::Coordinate>, model::CostingProfile, std::stop_token)
{
    throw unavailable();
    co_return {};
}

} // namespace zuvo::routing
