#pragma once

#include "routing/Engine.h"
#include "routing/GraphHopperInfo.h"

#include <QUrl>

#include <chrono>

class QJsonDocument;
class QNetworkAccessManager;
class QNetworkRequest;

namespace zuvo::routing {

struct HttpAnswer;

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

    // What the server is known to serve, from its /info. A request for a profile it lacks or a
    // point outside its area is refused without being sent; absent limits refuse nothing.
    struct Limits {
        std::optional<QStringList> profiles = {};
        std::optional<ServerArea> area = {};
    };
    void setLimits(Limits limits) { m_limits = std::move(limits); }
    // The language of the turn instructions' texts ("en", "de").
    void setLocale(QString locale) { m_locale = std::move(locale); }
    static QString outsideAreaText();
    static QString missingProfileText(const QUrl& server, const QString& profile);

    // GET /info. Fails like the other requests, or with malformedResponse for an answer that is
    // not GraphHopper's.
    QCoro::Task<GraphHopperInfo> info(std::stop_token cancel = {});

    QCoro::Task<model::Anchor::Snap> locate(model::Coordinate coordinate,
                                            model::CostingProfile costing,
                                            std::stop_token cancel = {}) override;
    QCoro::Task<std::vector<model::RouteSegment>> route(model::Anchor from, model::Anchor to,
                                                        model::CostingProfile costing,
                                                        std::stop_token cancel = {}) override;
    QCoro::Task<std::vector<model::RouteSegment>>
    roundTrip(model::Coordinate start, double distance, std::optional<double> heading, int seed,
              model::CostingProfile costing, std::stop_token cancel = {}) override;
    // Reads the elevations the coordinates already carry; no request.
    QCoro::Task<std::vector<double>> elevation(std::vector<model::Coordinate> along,
                                               std::stop_token cancel = {}) override;
    QCoro::Task<std::vector<model::RouteSegment>>
    mapMatch(std::vector<model::Coordinate> coordinates, model::CostingProfile costing,
             std::stop_token cancel = {}) override;

private:
    // One exchange with the server; when it cannot be reached, the error names its address.
    QCoro::Task<HttpAnswer> send(QNetworkRequest request, QByteArray method, QByteArray body,
                                 std::stop_token cancel);
    // POSTs `body` and checks the answer: an HTTP error becomes
    // engineUnavailable with the server's message (or "<context> → HTTP
    // <status>"), a 2xx body must be JSON.
    QCoro::Task<QJsonDocument> post(QUrl url, QByteArray contentType, QByteArray body,
                                    QString context, std::stop_token cancel);

    // Throws the refusal for a request the server cannot answer.
    void checkLimits(model::CostingKind kind,
                     std::initializer_list<model::Coordinate> points) const;

    QUrl m_baseURL;
    Limits m_limits;
    QString m_locale = QStringLiteral("en");
    QNetworkAccessManager* m_session;
    std::chrono::milliseconds m_timeout;
};

} // namespace zuvo::routing
