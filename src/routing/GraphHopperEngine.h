#pragma once

#include "routing/Engine.h"

#include <QUrl>

#include <chrono>

class QJsonDocument;
class QNetworkAccessManager;

namespace zuvo::routing {

// The engine in use: a GraphHopper server's HTTP API. Snaps clicks, routes
// legs with surface and road-class details, and map-matches tracks, shaping
// each route request by the profile's preference sliders. Holds only its
// configuration; any number of requests may be in flight.
class GraphHopperEngine final : public Engine {
public:
    static constexpr std::chrono::milliseconds defaultTimeout{60'000};

    GraphHopperEngine(QUrl baseURL, QNetworkAccessManager& session,
                      std::chrono::milliseconds timeout = defaultTimeout);

    const QUrl& baseURL() const { return m_baseURL; }
    // The server the next request goes to; requests in flight finish where they went.
    void setBaseURL(QUrl baseURL) { m_baseURL = std::move(baseURL); }

    QCoro::Task<model::Anchor::Snap> locate(model::Coordinate coordinate,
                                            model::CostingProfile costing,
                                            std::stop_token cancel = {}) override;
    QCoro::Task<std::vector<model::RouteSegment>> route(model::Anchor from, model::Anchor to,
                                                        model::CostingProfile costing,
                                                        std::stop_token cancel = {}) override;
    // Reads the elevations the coordinates already carry; no request.
    QCoro::Task<std::vector<double>> elevation(std::vector<model::Coordinate> along,
                                               std::stop_token cancel = {}) override;
    QCoro::Task<std::vector<model::RouteSegment>>
    mapMatch(std::vector<model::Coordinate> coordinates, model::CostingProfile costing,
             std::stop_token cancel = {}) override;

private:
    // POSTs `body` and checks the answer: an HTTP error becomes
    // engineUnavailable with the server's message (or "<context> → HTTP
    // <status>"), a 2xx body must be JSON.
    QCoro::Task<QJsonDocument> post(QUrl url, QByteArray contentType, QByteArray body,
                                    QString context, std::stop_token cancel);

    QUrl m_baseURL;
    QNetworkAccessManager* m_session;
    std::chrono::milliseconds m_timeout;
};

} // namespace zuvo::routing
