#include "routing/RoutePlanner.h"

#include "model/Polyline.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zuvo::routing {

using model::Anchor;
using model::Coordinate;
using model::CostingProfile;
using model::RouteLeg;

RoutePlanner::RoutePlanner(std::unique_ptr<Engine> engine, CostingProfile costing)
    : m_engine(std::move(engine))
    , m_costing(std::move(costing))
{
}

model::Route RoutePlanner::currentRoute() const
{
    return {
        .anchors = m_anchors, .legs = m_legs, .roundTrip = m_roundTrip, .closingLeg = m_closingLeg};
}

std::optional<InsertionPoint> RoutePlanner::nearestInsertionPoint(const Coordinate& point) const
{
    if (m_anchors.size() < 2)
        return std::nullopt;
    double best = std::numeric_limits<double>::infinity();
    std::size_t bestIndex = 0;
    for (std::size_t i = 0; i + 1 < m_anchors.size(); ++i) {
        std::vector<Coordinate> line;
        if (i < m_legs.size() && m_legs[i])
            line = m_legs[i]->coordinates();
        if (line.empty())
            line = {m_anchors[i].routingPosition(), m_anchors[i + 1].routingPosition()};
        const double d = model::distanceMeters(point, line);
        if (d < best) {
            best = d;
            bestIndex = i;
        }
    }
    if (m_closingLeg) {
        const auto closing = m_closingLeg->coordinates();
        if (!closing.empty() && model::distanceMeters(point, closing) < best)
            return InsertionPoint::closing();
    }
    return InsertionPoint::leg(bestIndex);
}

std::optional<std::size_t> RoutePlanner::indexOf(const QUuid& id) const
{
    const auto it = std::find_if(m_anchors.begin(), m_anchors.end(),
                                 [&](const Anchor& a) { return a.id == id; });
    if (it == m_anchors.end())
        return std::nullopt;
    return static_cast<std::size_t>(it - m_anchors.begin());
}

std::optional<RoutePlanner::ClosingLegKey> RoutePlanner::currentClosingLegKey() const
{
    if (!m_roundTrip || m_anchors.size() < 2)
        return std::nullopt;
    return ClosingLegKey{m_anchors.front().routingPosition(), m_anchors.back().routingPosition(),
                         m_costing};
}

void RoutePlanner::dropInvalidClosingLeg()
{
    if (!m_roundTrip || m_anchors.size() < 2) {
        m_closingLeg.reset();
        m_closingLegKey.reset();
    }
}

QCoro::Task<> RoutePlanner::recomputeLeg(QUuid fromID, std::stop_token cancel)
{
    const auto index = indexOf(fromID);
    if (!index || *index + 1 >= m_anchors.size())
        co_return;
    const Anchor from = m_anchors[*index];
    const Anchor to = m_anchors[*index + 1];
    const CostingProfile costing = m_costing;

    auto segments = co_await m_engine->route(from, to, costing, cancel);

    // Another operation may have run meanwhile; keep the leg only where it
    // still joins the same two positions under the same profile.
    const auto now = indexOf(fromID);
    if (!now || *now + 1 >= m_anchors.size() || costing != m_costing)
        co_return;
    const Anchor& currentFrom = m_anchors[*now];
    const Anchor& currentTo = m_anchors[*now + 1];
    if (currentTo.id != to.id || currentFrom.routingPosition() != from.routingPosition() ||
        currentTo.routingPosition() != to.routingPosition())
        co_return;
    m_legs[*now] = RouteLeg{std::move(segments)};
}

QCoro::Task<> RoutePlanner::recomputeLegs(std::vector<QUuid> fromIDs, std::stop_token cancel)
{
    std::optional<Failure> legError;
    for (const auto& id : fromIDs) {
        try {
            co_await recomputeLeg(id, cancel);
        } catch (const Failure& failure) {
            if (failure.isCancellation())
                throw;
            legError = failure;
        }
    }
    co_await finish(std::move(legError), cancel);
}

QCoro::Task<> RoutePlanner::recomputeAllLegs(std::stop_token cancel)
{
    m_legs.assign(m_anchors.empty() ? 0 : m_anchors.size() - 1, std::nullopt);
    std::vector<QUuid> starts;
    for (std::size_t i = 0; i < m_legs.size(); ++i)
        starts.push_back(m_anchors[i].id);
    co_await recomputeLegs(std::move(starts), cancel);
}

QCoro::Task<> RoutePlanner::refreshClosingLeg(std::stop_token cancel)
{
    const auto key = currentClosingLegKey();
    if (!key) {
        dropInvalidClosingLeg();
        co_return;
    }
    if (m_closingLegKey == key)
        co_return;

    const Anchor last = m_anchors.back();
    const Anchor first = m_anchors.front();
    std::optional<Failure> error;
    try {
        auto segments = co_await m_engine->route(last, first, key->costing, cancel);
        if (currentClosingLegKey() == key) {
            m_closingLeg = RouteLeg{std::move(segments)};
            m_closingLegKey = key;
        }
    } catch (const Failure& failure) {
        error = failure;
    }
    if (!error)
        co_return;
    // A failed refresh clears the cache so that the next one tries again,
    // unless an interleaved refresh has already stored the leg for now.
    if (m_closingLegKey != currentClosingLegKey()) {
        m_closingLeg.reset();
        m_closingLegKey.reset();
    }
    throw *error;
}

QCoro::Task<> RoutePlanner::finish(std::optional<Failure> legError, std::stop_token cancel)
{
    std::optional<Failure> closingError;
    try {
        co_await refreshClosingLeg(cancel);
    } catch (const Failure& failure) {
        closingError = failure;
    }
    // A cancelled operation reports its cancellation, not an error met before it.
    if (closingError && closingError->isCancellation())
        throw *closingError;
    Failure::throwIfCancelled(cancel);
    if (legError)
        throw *legError;
    if (closingError)
        throw *closingError;
}

QCoro::Task<Anchor> RoutePlanner::addAnchor(Coordinate at, Anchor::Kind kind,
                                            std::stop_token cancel)
{
    auto snap = co_await m_engine->locate(at, m_costing, cancel);
    Anchor anchor(kind, at, std::move(snap));
    m_anchors.push_back(anchor);
    std::vector<QUuid> legStarts;
    if (m_anchors.size() > 1) {
        m_legs.emplace_back();
        legStarts.push_back(m_anchors[m_anchors.size() - 2].id);
    }
    co_await recomputeLegs(std::move(legStarts), cancel);
    co_return anchor;
}

QCoro::Task<Anchor> RoutePlanner::insertAnchor(Coordinate at, Anchor::Kind kind, int position,
                                               std::stop_token cancel)
{
    const auto requested = static_cast<std::size_t>(std::max(position, 0));
    auto snap = co_await m_engine->locate(at, m_costing, cancel);
    Failure::throwIfCancelled(cancel);

    const std::size_t n = m_anchors.size();
    const std::size_t t = std::min(requested, n);
    Anchor anchor(kind, at, std::move(snap));
    m_anchors.insert(m_anchors.begin() + static_cast<std::ptrdiff_t>(t), anchor);

    std::vector<QUuid> legStarts;
    if (n > 0) {
        if (t == 0) {
            m_legs.insert(m_legs.begin(), std::nullopt);
            legStarts.push_back(m_anchors[0].id);
        } else if (t == n) {
            m_legs.emplace_back();
            legStarts.push_back(m_anchors[n - 1].id);
        } else {
            m_legs[t - 1].reset();
            m_legs.insert(m_legs.begin() + static_cast<std::ptrdiff_t>(t), std::nullopt);
            legStarts.push_back(m_anchors[t - 1].id);
            legStarts.push_back(m_anchors[t].id);
        }
    }
    co_await recomputeLegs(std::move(legStarts), cancel);
    co_return anchor;
}

QCoro::Task<> RoutePlanner::moveAnchor(QUuid id, Coordinate to, std::stop_token cancel)
{
    const auto index = indexOf(id);
    if (!index)
        co_return;
    m_anchors[*index].click = to;

    auto snap = co_await m_engine->locate(to, m_costing, cancel);

    // The anchor may have been removed or moved again while we waited.
    const auto i = indexOf(id);
    if (!i || m_anchors[*i].click != to)
        co_return;
    m_anchors[*i].snap = std::move(snap);

    std::vector<QUuid> legStarts;
    if (*i > 0)
        legStarts.push_back(m_anchors[*i - 1].id);
    if (*i + 1 < m_anchors.size())
        legStarts.push_back(id);
    co_await recomputeLegs(std::move(legStarts), cancel);
}

QCoro::Task<> RoutePlanner::removeAnchor(QUuid id, std::stop_token cancel)
{
    const auto index = indexOf(id);
    if (!index)
        co_return;
    const std::size_t i = *index;
    const bool wasLast = i + 1 == m_anchors.size();
    m_anchors.erase(m_anchors.begin() + static_cast<std::ptrdiff_t>(i));

    std::vector<QUuid> legStarts;
    if (!m_legs.empty()) {
        if (i == 0) {
            m_legs.erase(m_legs.begin());
        } else if (wasLast) {
            m_legs.pop_back();
        } else {
            // Leg i − 1 keeps its old geometry until the new one arrives.
            m_legs.erase(m_legs.begin() + static_cast<std::ptrdiff_t>(i));
            legStarts.push_back(m_anchors[i - 1].id);
        }
    }
    dropInvalidClosingLeg();
    co_await recomputeLegs(std::move(legStarts), cancel);
}

void RoutePlanner::convertAnchor(QUuid id)
{
    if (const auto index = indexOf(id)) {
        auto& kind = m_anchors[*index].kind;
        kind = kind == Anchor::Kind::via ? Anchor::Kind::shaping : Anchor::Kind::via;
    }
}

QCoro::Task<> RoutePlanner::reorderAnchor(QUuid id, std::size_t toIndex, std::stop_token cancel)
{
    const auto index = indexOf(id);
    if (!index || *index == toIndex)
        co_return;
    Anchor anchor = m_anchors[*index];
    m_anchors.erase(m_anchors.begin() + static_cast<std::ptrdiff_t>(*index));
    const std::size_t t = std::min(toIndex, m_anchors.size());
    m_anchors.insert(m_anchors.begin() + static_cast<std::ptrdiff_t>(t), std::move(anchor));
    co_await recomputeAllLegs(cancel);
}

QCoro::Task<> RoutePlanner::moveAnchorToFront(QUuid id, std::stop_token cancel)
{
    co_await reorderAnchor(id, 0, cancel);
}

QCoro::Task<> RoutePlanner::moveAnchorToBack(QUuid id, std::stop_token cancel)
{
    if (m_anchors.empty())
        co_return;
    co_await reorderAnchor(id, m_anchors.size() - 1, cancel);
}

QCoro::Task<> RoutePlanner::reverse(std::stop_token cancel)
{
    std::reverse(m_anchors.begin(), m_anchors.end());
    co_await recomputeAllLegs(cancel);
}

QCoro::Task<> RoutePlanner::setRoundTrip(bool enabled, std::stop_token cancel)
{
    m_roundTrip = enabled;
    co_await refreshClosingLeg(cancel);
}

QCoro::Task<> RoutePlanner::setCosting(CostingProfile profile, std::stop_token cancel)
{
    m_costing = profile;
    std::vector<std::pair<QUuid, Coordinate>> clicks;
    for (const auto& anchor : m_anchors)
        clicks.emplace_back(anchor.id, anchor.click);
    for (const auto& [id, click] : clicks) {
        auto snap = co_await m_engine->locate(click, profile, cancel);
        if (const auto i = indexOf(id); i && m_anchors[*i].click == click)
            m_anchors[*i].snap = std::move(snap);
    }

    std::vector<QUuid> legStarts;
    for (std::size_t i = 0; i + 1 < m_anchors.size(); ++i)
        legStarts.push_back(m_anchors[i].id);
    co_await recomputeLegs(std::move(legStarts), cancel);
}

QCoro::Task<> RoutePlanner::restore(std::vector<Anchor> anchors, CostingProfile costing,
                                    std::optional<bool> roundTrip, std::stop_token cancel)
{
    for (auto& anchor : anchors) {
        if (!anchor.snap)
            anchor.snap = co_await m_engine->locate(anchor.click, costing, cancel);
    }
    m_costing = std::move(costing);
    m_anchors = std::move(anchors);
    if (roundTrip)
        m_roundTrip = *roundTrip;
    dropInvalidClosingLeg();
    co_await recomputeAllLegs(cancel);
}

std::size_t RoutePlanner::keepSavedLegs(const model::Route& saved)
{
    const auto sameAnchor = [&](std::size_t mine, std::size_t theirs) {
        return theirs < saved.anchors.size() && saved.anchors[theirs].id == m_anchors[mine].id;
    };
    std::size_t filled = 0;
    for (std::size_t i = 0; i < m_legs.size(); ++i) {
        if (m_legs[i] || i >= saved.legs.size() || !saved.legs[i] || !sameAnchor(i, i) ||
            !sameAnchor(i + 1, i + 1))
            continue;
        m_legs[i] = saved.legs[i];
        ++filled;
    }
    const std::size_t last = m_anchors.size() - 1;
    if (m_roundTrip && m_anchors.size() >= 2 && !m_closingLeg && saved.closingLeg &&
        saved.anchors.size() == m_anchors.size() && sameAnchor(0, 0) && sameAnchor(last, last)) {
        m_closingLeg = saved.closingLeg;
        m_closingLegKey = currentClosingLegKey();
        ++filled;
    }
    return filled;
}

QCoro::Task<std::vector<model::RouteSegment>>
RoutePlanner::suggestedLoop(Coordinate start, double distance, std::optional<double> heading,
                            int seed, CostingProfile costing, std::stop_token cancel)
{
    co_return co_await m_engine->roundTrip(start, distance, heading, seed, std::move(costing),
                                           cancel);
}

std::vector<Anchor> loopAnchors(std::span<const model::RouteSegment> loop, double spacing)
{
    std::vector<Coordinate> points;
    std::vector<Coordinate> waypoints;
    for (const auto& segment : loop) {
        model::appendJoined(points, segment.coordinates);
        for (const auto& cue : segment.cues) {
            if (cue.sign == model::Cue::Sign::viaReached)
                waypoints.push_back(cue.position);
        }
    }
    if (points.empty())
        return {};
    const auto snapped = [](Anchor::Kind kind, const Coordinate& at) {
        return Anchor(kind, at, Anchor::Snap{at, std::nullopt});
    };
    std::vector<Anchor> anchors{snapped(Anchor::Kind::via, points.front())};
    if (waypoints.empty()) {
        std::vector<double> along{0.0};
        for (std::size_t i = 1; i < points.size(); ++i)
            along.push_back(along.back() + points[i - 1].distance(points[i]));
        const auto count =
            std::max<std::size_t>(3, std::size_t(std::lround(along.back() / spacing)));
        for (std::size_t k = 1; k <= count; ++k) {
            const double at = along.back() * double(k) / double(count + 1);
            const auto next = std::lower_bound(along.begin(), along.end(), at);
            waypoints.push_back(points[std::size_t(
                std::min(next - along.begin(), std::ptrdiff_t(points.size()) - 1))]);
        }
    }
    for (const auto& waypoint : waypoints)
        anchors.push_back(snapped(Anchor::Kind::shaping, waypoint));
    return anchors;
}

QCoro::Task<std::vector<Coordinate>> RoutePlanner::matchedTrack(std::vector<Coordinate> coordinates,
                                                                CostingProfile costing,
                                                                std::stop_token cancel)
{
    const auto segments = co_await m_engine->mapMatch(std::move(coordinates), costing, cancel);
    std::vector<Coordinate> joined;
    for (const auto& segment : segments)
        model::appendJoined(joined, segment.coordinates);
    co_return joined;
}

} // namespace zuvo::routing
