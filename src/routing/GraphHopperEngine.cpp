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

GraphHopperEngine::GraphHopperEngine(QUrl baseURL, QNetworkAccessManager& session,
                                     std::chrono::milliseconds timeout)
    : m_baseURL(std::move(baseURL))
    , m_session(&session)
    , m_timeout(timeout)
{
}

QCoro::Task<QJsonDocument> GraphHopperEngine::post(QUrl url, QByteArray contentType,
                                                   QByteArray body, QString context,
                                                   std::stop_token cancel)
{
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, contentType);
    const QByteArray method = QByteArrayLiteral("POST");
    std::optional<HttpAnswer> reply;
    try {
        reply = co_await exchange(*m_session, request, method, std::move(body), cancel, m_timeout);
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
    const HttpAnswer& answer = *reply;
    if (!answer.status)
        throw Failure(RoutingError::malformedResponse());
    if (*answer.status < 200 || *answer.status > 299) {
        const QJsonValue message = QJsonDocument::fromJson(answer.body).object().value(u"message");
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
    const QString context = QStringLiteral("route");
    QUrl url = appendingPathComponent(m_baseURL, context);
    QByteArray body =
        QJsonDocument(gh::routeBody(from.routingPosition(), to.routingPosition(), costing))
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
