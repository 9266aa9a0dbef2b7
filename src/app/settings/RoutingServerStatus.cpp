#include "app/settings/RoutingServerStatus.h"

#include "routing/Failure.h"
#include "routing/GraphHopperEngine.h"

#include <QLocale>
#include <QPointer>

#include <algorithm>

namespace zuvo::app {

RoutingServerStatus::RoutingServerStatus(Fetch fetch, QObject* parent)
    : QObject(parent)
    , m_fetch(std::move(fetch))
{
}

QCoro::Task<> RoutingServerStatus::check(QUrl address)
{
    if (m_inFlight)
        m_inFlight->request_stop();
    auto stop = std::make_shared<std::stop_source>();
    m_inFlight = stop;
    QPointer self(this);
    m_address = address;
    m_info.reset();
    m_failure.reset();
    m_heightsFlat = false;
    emit changed();
    std::optional<routing::GraphHopperInfo> info;
    std::optional<QString> failure;
    try {
        info = co_await m_fetch(stop->get_token());
    } catch (const routing::Failure& error) {
        if (error.isCancellation())
            co_return;
        failure = error.displayText();
    }
    if (!self || stop->stop_requested())
        co_return;
    m_inFlight.reset();
    m_info = std::move(info);
    m_failure = std::move(failure);
    emit changed();
}

bool RoutingServerStatus::hasProfile(model::CostingKind kind) const
{
    return !m_info || m_info->profiles.contains(model::graphHopperProfile(kind));
}

bool RoutingServerStatus::hasElevation() const
{
    return !m_info || (m_info->elevation && !m_heightsFlat);
}

std::optional<routing::ServerArea> RoutingServerStatus::area() const
{
    return m_info ? m_info->area : std::nullopt;
}

QStringList RoutingServerStatus::notices() const
{
    QStringList lines;
    if (!m_info)
        return lines;
    for (const auto kind : model::allCostingKinds) {
        if (!hasProfile(kind))
            lines.append(routing::GraphHopperEngine::missingProfileText(
                m_address, model::graphHopperProfile(kind)));
    }
    if (!m_info->elevation)
        lines.append(tr("The routing server has no elevation data: ascent, climbs and the climb "
                        "preference are unavailable."));
    else if (m_heightsFlat)
        lines.append(tr("The routing server's heights are all 0 m: its elevation download "
                        "probably failed during import. See the README, Routing server."));
    if (!m_info->isVersion11())
        lines.append(tr("Tramu is made for GraphHopper 11; this routing server runs %1.")
                         .arg(m_info->version.isEmpty()
                                  ? tr("another version")
                                  : QStringLiteral("GraphHopper ") + m_info->version));
    return lines;
}

QString RoutingServerStatus::coverage() const
{
    if (m_failure)
        return *m_failure;
    if (!m_info)
        return tr("Asking the routing server at %1…").arg(m_address.toString());
    QStringList parts;
    if (const auto& area = m_info->area)
        parts.append(tr("Covers %1° to %2° N, %3° to %4° E.")
                         .arg(area->south, 0, 'f', 2)
                         .arg(area->north, 0, 'f', 2)
                         .arg(area->west, 0, 'f', 2)
                         .arg(area->east, 0, 'f', 2));
    if (const auto& date = m_info->dataDate)
        parts.append(
            tr("Map data of %1.").arg(QLocale().toString(date->date(), QLocale::LongFormat)));
    parts.append(tr("Profiles: %1.").arg(m_info->profiles.join(QStringLiteral(", "))));
    parts.append(m_info->elevation ? tr("With elevation.") : tr("Without elevation."));
    return tr("GraphHopper %1 at %2. ").arg(m_info->version, m_address.toString()) +
           parts.join(QLatin1Char(' '));
}

void RoutingServerStatus::noticeRoute(const model::Route& route)
{
    if (!m_info || !m_info->elevation || m_heightsFlat)
        return;
    const auto flat = [](const model::RouteLeg& leg) {
        if (leg.distance() <= 2000.0)
            return false;
        const auto points = leg.coordinates();
        return std::all_of(points.begin(), points.end(), [&](const model::Coordinate& c) {
            return c.elevation.value_or(0.0) == points.front().elevation.value_or(0.0);
        });
    };
    for (const auto& leg : route.legs) {
        if (leg && flat(*leg)) {
            m_heightsFlat = true;
            emit changed();
            return;
        }
    }
}

} // namespace zuvo::app
