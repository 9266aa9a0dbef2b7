#pragma once

#include "routing/Engine.h"

#include <QUrl>

namespace zuvo::routing {

// Reserved for a Valhalla server; refuses every operation without a request.
class ValhallaEngine final : public Engine {
public:
    explicit ValhallaEngine(QUrl baseURL)
        : m_baseURL(std::move(baseURL))
    {
    }

    const QUrl& baseURL() const { return m_baseURL; }

    QCoro::Task<model::Anchor::Snap> locate(model::Coordinate coordinate,
                                            model::CostingProfile costing,
                                            std::stop_token cancel = {}) override;
    QCoro::Task<std::vector<model::RouteSegment>> route(model::Anchor from, model::Anchor to,
                                                        model::CostingProfile costing,
                                                        std::stop_token cancel = {}) override;
    QCoro::Task<std::vector<model::RouteSegment>>
    roundTrip(model::Coordinate start, double distance, std::optional<double> heading, int seed,
              model::CostingProfile costing, std::stop_token cancel = {}) override;
    QCoro::Task<std::vector<double>> elevation(std::vector<model::Coordinate> along,
                                               std::stop_token cancel = {}) override;
    QCoro::Task<std::vector<model::RouteSegment>>
    mapMatch(std::vector<model::Coordinate> coordinates, model::CostingProfile costing,
             std::stop_token cancel = {}) override;

private:
    QUrl m_baseURL;
};

} // namespace zuvo::routing
