#include "routing/GraphHopperEngine.h"

#include "routing/Failure.h"
#include "routing/GraphHopperRequest.h"
#include "routing/GraphHopperResponse.h"
#include "routing/HttpExchange.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkRequest>

namespace zuvo::routing {

namespace gh = graphhopper;

namespace {

const QByteArray json = QByteArrayLiteral("application/json");

} // namespace

QString GraphHopperEngine::outsideAreaText()
{
    return QCoreApplication::translate("Routing",
                                       "This point is outside the area the routing server covers");
}

QString GraphHopperEngine::missingProfileText(const QUrl& server, const QString& profile)
{
    return QCoreApplication::translate("Routing",
                                       "The routing server at %1 has no profile '%2'; it is not "
                                       "set up with Tramu's configuration (deploy/graphhopper).")
        .arg(server.toString(), profile);
}

void GraphHopperEngine::checkLimits(model::CostingKind kind,
                                    std::initializer_list<model::Coordinate> points) const
{
    const QString profile = model::graphHopperProfile(kind);
    if (m_limits.profiles && !m_limits.profiles->contains(profile))
        throw Failure(RoutingError::engineUnavailable(missingProfileText(m_baseURL, profile)));
    if (m_limits.area) {
        for (const auto& point : points) {
            if (!m_limits.area->contains(point))
                throw Failure(RoutingError::engineUnavailable(outsideAreaText()));
        }
    }
}

QCoro::Task<GraphHopperInfo> GraphHopperEngine::info(std::stop_token cancel)
{
    const HttpAnswer reply =
        co_await send(QNetworkRequest(appendingPathComponent(m_baseURL, QStringLiteral("info"))),
                      QByteArrayLiteral("GET"), {}, cancel);
    if (!reply.status || *reply.status != 200)
        throw Failure(RoutingError::malformedResponse());
    auto parsed = GraphHopperInfo::parse(reply.body);
    if (!parsed)
        throw Failure(parsed.error());
    co_return std::move(parsed).value();
}

GraphHopperEngine::GraphHopperEngine(QUrl baseURL, QNetworkAccessManager& session,
                                     std::chrono::milliseconds timeout)
    : m_baseURL(std::move(baseURL))
    , m_session(&session)
    , m_timeout(timeout)
{
}

QCoro::Task<HttpAnswer> GraphHopperEngine::send(QNetworkRequest request, QByteArray method,
                                                QByteArray body, std::stop_token cancel)
{
    try {
        co_return co_await exchange(*m_session, request, method, std::move(body), cancel,
                                    m_timeout);
    } catch (const Failure& failure) {
        // "Connection refused" alone does not tell a new user which server to start.
        const auto* network = std::get_if<NetworkError>(&failure.reason());
        if (!network || failure.isCancellation())
            throw;
        throw Failure(NetworkError{
            network->code,
            QCoreApplication::translate("Routing", "Could not reach the routing server at %1: %2")
                .arg(m_baseURL.toString(), network->text)});
    }
}

QCoro::Task<QJsonDocument> GraphHopperEngine::post(QUrl url, QByteArray contentType,
                                                   QByteArray body, QString context,
                                                   std::stop_token cancel)
{
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, contentType);
    const HttpAnswer answer =
        co_await send(std::move(request), QByteArrayLiteral("POST"), std::move(body), cancel);
    if (!answer.status)
        throw Failure(RoutingError::malformedResponse());
    if (*answer.status < 200 || *answer.status > 299) {
        const QJsonValue message = QJsonDocument::fromJson(answer.body).object().value(u"message");
        // "Point 1 is out of bounds: …": the server's area ends before the point.
        if (message.toString().contains(QLatin1String("out of bounds")))
            throw Failure(RoutingError::engineUnavailable(outsideAreaText()));
        if (message.isString())
            throw Failure(RoutingError::engineUnavailable(message.toString()));
        throw Failure(RoutingError::engineUnavailable(
            QStringLiteral("%1 → HTTP %2").arg(context).arg(*answer.status)));
    }
    co_return gh::parseBody(answer.body);
}

QCoro::Task<model::Anchor::Snap> GraphHopperEngine::locate(model::Coordinate coordinate,
                                                           model::CostingProfile costing,
                                                           std::stop_token cancel)
{
    checkLimits(costing.kind, {coordinate});
    const QString context = QStringLiteral("route");
    QUrl url = appendingPathComponent(m_baseURL, context);
    QByteArray body =
        QJsonDocument(gh::locateBody(coordinate, costing)).toJson(QJsonDocument::Compact);
    const QJsonDocument answer =
        co_await post(std::move(url), json, std::move(body), context, cancel);
    co_return gh::parseSnap(answer, coordinate);
}

QCoro::Task<std::vector<model::RouteSegment>>
GraphHopperEngine::route(model::Anchor from, model::Anchor to, model::CostingProfile costing,
                         std::stop_token cancel)
{
    checkLimits(costing.kind, {from.routingPosition(), to.routingPosition()});
    const QString context = QStringLiteral("route");
    QUrl url = appendingPathComponent(m_baseURL, context);
    QByteArray body = QJsonDocument(gh::routeBody(from.routingPosition(), to.routingPosition(),
                                                  costing, m_locale))
                          .toJson(QJsonDocument::Compact);
    const QJsonDocument answer =
        co_await post(std::move(url), json, std::move(body), context, cancel);
    co_return gh::parseSegments(answer);
}

QCoro::Task<std::vector<model::RouteSegment>>
GraphHopperEngine::roundTrip(model::Coordinate start, double distance,
                             std::optional<double> heading, int seed, model::CostingProfile costing,
                             std::stop_token cancel)
{
    checkLimits(costing.kind, {start});
    const QString context = QStringLiteral("route");
    QUrl url = appendingPathComponent(m_baseURL, context);
    QByteArray body =
        QJsonDocument(gh::roundTripBody(start, distance, heading, seed, costing, m_locale))
            .toJson(QJsonDocument::Compact);
    const QJsonDocument answer =
        co_await post(std::move(url), json, std::move(body), context, cancel);
    co_return gh::parseSegments(answer);
}

QCoro::Task<std::vector<double>> GraphHopperEngine::elevation(std::vector<model::Coordinate> along,
                                                              std::stop_token)
{
    std::vector<double> elevations;
    for (const auto& c : along) {
        if (c.elevation)
            elevations.push_back(*c.elevation);
    }
    co_return elevations;
}

QCoro::Task<std::vector<model::RouteSegment>>
GraphHopperEngine::mapMatch(std::vector<model::Coordinate> coordinates,
                            model::CostingProfile costing, std::stop_token cancel)
{
    checkLimits(costing.kind, {});
    auto url = gh::matchURL(m_baseURL, costing.kind);
    if (!url)
        throw Failure(RoutingError::malformedResponse());
    const QString context = QStringLiteral("match");
    const QByteArray gpx = QByteArrayLiteral("application/gpx+xml");
    QByteArray body = gh::matchGPX(coordinates);
    const QJsonDocument answer =
        co_await post(std::move(*url), gpx, std::move(body), context, cancel);
    co_return gh::parseSegments(answer);
}

} // namespace zuvo::routing
