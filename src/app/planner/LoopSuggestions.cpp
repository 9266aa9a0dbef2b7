#include "app/planner/LoopSuggestions.h"

#include "app/planner/PanelRules.h"
#include "app/planner/PlannerViewModel.h"
#include "map/MapBridge.h"
#include "model/GradeProfile.h"
#include "model/Polyline.h"
#include "routing/Failure.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace zuvo::app {

namespace {

struct Texts {
    Q_DECLARE_TR_FUNCTIONS(LoopSuggestions)
};

// A loop within a tenth of the asked length is as asked; GraphHopper's are often 20–40 % off.
constexpr double closeEnough = 0.1;

LoopSuggestions::Loop loopOf(int seed, std::vector<model::RouteSegment> segments)
{
    LoopSuggestions::Loop loop{.seed = seed, .segments = std::move(segments)};
    for (const auto& segment : loop.segments)
        model::appendJoined(loop.coordinates, segment.coordinates);
    const auto profile = model::GradeProfile::compute(loop.coordinates, 7, 6.0, 150.0);
    loop.ascent = model::RouteStats::ascentMeters(profile);
    model::Route route;
    route.legs.push_back(model::RouteLeg{loop.segments});
    loop.distance = route.distance();
    loop.surface = model::RouteStats::surfaceShares(route);
    return loop;
}

} // namespace

LoopSuggestions::LoopSuggestions(PlannerViewModel& planner, LonLat start, QObject* parent)
    : QObject(parent)
    , m_planner(&planner)
    , m_start(start)
{
    setKm(m_km);
    // A shorter limit after a change of profile holds the length asked to it.
    connect(&planner, &PlannerViewModel::costingKindChanged, this, [this] { setKm(m_km); });
    // Where the loops start and end, before there are any.
    if (planner.bridge())
        planner.bridge()->setCrosshair(start.longitude, start.latitude, true);
}

LoopSuggestions::~LoopSuggestions()
{
    for (auto& stop : m_stops)
        stop.request_stop();
    if (m_planner && m_planner->bridge()) {
        m_planner->bridge()->setLoopSuggestions({}, -1);
        m_planner->bridge()->setCrosshair(m_start.longitude, m_start.latitude, false);
    }
}

double LoopSuggestions::maxKm(model::CostingKind kind)
{
    return kind == model::CostingKind::motorcycle ? 600.0 : 300.0;
}

QString LoopSuggestions::directionName(std::optional<int> direction)
{
    static const char* const names[] = {
        QT_TRANSLATE_NOOP("LoopSuggestions", "North"),
        QT_TRANSLATE_NOOP("LoopSuggestions", "North-east"),
        QT_TRANSLATE_NOOP("LoopSuggestions", "East"),
        QT_TRANSLATE_NOOP("LoopSuggestions", "South-east"),
        QT_TRANSLATE_NOOP("LoopSuggestions", "South"),
        QT_TRANSLATE_NOOP("LoopSuggestions", "South-west"),
        QT_TRANSLATE_NOOP("LoopSuggestions", "West"),
        QT_TRANSLATE_NOOP("LoopSuggestions", "North-west"),
    };
    if (!direction || *direction < 0 || *direction > 7)
        return Texts::tr("Any direction");
    return Texts::tr(names[*direction]);
}

QString LoopSuggestions::color(int slot)
{
    // Apart from the route's orange and from each other, on light and dark maps.
    static const QString colors[count] = {QStringLiteral("#1E88E5"), QStringLiteral("#8E24AA"),
                                          QStringLiteral("#00897B")};
    return colors[std::clamp(slot, 0, count - 1)];
}

double LoopSuggestions::kmLimit() const
{
    return m_planner ? maxKm(m_planner->costingKind()) : maxKm({});
}

QString LoopSuggestions::profileName() const
{
    return m_planner ? model::pickerLabel(m_planner->costingKind()) : QString();
}

void LoopSuggestions::setKm(double km)
{
    m_km = std::clamp(std::isfinite(km) ? km : defaultKm, minKm, kmLimit());
    emit changed();
}

void LoopSuggestions::setDirection(std::optional<int> direction)
{
    m_direction = direction && *direction >= 0 && *direction < 8 ? direction : std::nullopt;
    emit changed();
}

void LoopSuggestions::suggest()
{
    if (!m_planner)
        return;
    m_askedKm = m_km;
    m_highlighted = -1;
    const std::optional<double> heading =
        m_direction ? std::optional(*m_direction * 45.0) : std::nullopt;
    for (int slot = 0; slot < count; ++slot) {
        m_stops[std::size_t(slot)].request_stop();
        m_stops[std::size_t(slot)] = std::stop_source();
        m_slots[std::size_t(slot)] = Slot{.pending = true};
    }
    draw(false);
    emit changed();
    for (int slot = 0; slot < count; ++slot)
        fetch(slot, m_nextSeed++, m_km * 1000.0, heading, m_stops[std::size_t(slot)].get_token());
}

QCoro::Task<> LoopSuggestions::fetch(int slot, int seed, double distance,
                                     std::optional<double> heading, std::stop_token stop)
{
    QPointer self(this);
    std::optional<std::vector<model::RouteSegment>> segments;
    std::optional<QString> error;
    try {
        segments = co_await m_planner->suggestedLoop({m_start.latitude, m_start.longitude},
                                                     distance, heading, seed, stop);
    } catch (const routing::Failure& failure) {
        error = failure.displayText();
    } catch (...) {
        error = Texts::tr("The routing server's answer could not be read.");
    }
    // A cancelled request's slot was already told, or holds a newer request by now.
    if (!self || stop.stop_requested())
        co_return;
    Slot& shown = m_slots[std::size_t(slot)];
    shown.pending = false;
    if (segments && !segments->empty()) {
        shown.loop = loopOf(seed, std::move(*segments));
        if (shown.loop->coordinates.size() < 2) {
            shown.loop.reset();
            error = Texts::tr("The routing server found no loop from here.");
        }
    }
    shown.error = error;
    draw(!isBusy());
    emit changed();
}

void LoopSuggestions::cancel(int slot)
{
    if (slot < 0 || slot >= count || !m_slots[std::size_t(slot)].pending)
        return;
    m_stops[std::size_t(slot)].request_stop();
    m_slots[std::size_t(slot)] = Slot{.error = Texts::tr("Cancelled")};
    draw(!isBusy());
    emit changed();
}

void LoopSuggestions::cancel()
{
    for (int slot = 0; slot < count; ++slot)
        cancel(slot);
}

bool LoopSuggestions::isBusy() const
{
    return std::any_of(m_slots.begin(), m_slots.end(), [](const Slot& s) { return s.pending; });
}

QString LoopSuggestions::slotText(int slot) const
{
    if (slot < 0 || slot >= count)
        return {};
    const Slot& shown = m_slots[std::size_t(slot)];
    if (shown.pending)
        return Texts::tr("Looking for a loop…");
    if (shown.error)
        return *shown.error;
    if (!shown.loop)
        return {};
    return Texts::tr("%1 km · %2 m ascent · %3")
        .arg(shown.loop->distance / 1000.0, 0, 'f', 1)
        .arg(std::lround(shown.loop->ascent))
        .arg(PanelRules::surfaceLegend(shown.loop->surface));
}

QString LoopSuggestions::offText(int slot) const
{
    if (slot < 0 || slot >= count || !m_slots[std::size_t(slot)].loop)
        return {};
    const double ratio = m_slots[std::size_t(slot)].loop->distance / (m_askedKm * 1000.0) - 1.0;
    if (std::abs(ratio) <= closeEnough)
        return {};
    const long percent = std::lround(std::abs(ratio) * 100.0);
    return ratio > 0 ? Texts::tr("%1% longer than asked").arg(percent)
                     : Texts::tr("%1% shorter than asked").arg(percent);
}

void LoopSuggestions::setHighlighted(int slot)
{
    const int valid = slot >= 0 && slot < count && m_slots[std::size_t(slot)].loop ? slot : -1;
    if (valid == m_highlighted)
        return;
    m_highlighted = valid;
    draw(false);
    emit changed();
}

MutationHandle LoopSuggestions::use(int slot)
{
    if (!m_planner || slot < 0 || slot >= count || !m_slots[std::size_t(slot)].loop)
        return nullptr;
    const Loop& loop = *m_slots[std::size_t(slot)].loop;
    return m_planner->useLoop(loop.segments,
                              Texts::tr("Loop %1 km").arg(std::lround(loop.distance / 1000.0)));
}

void LoopSuggestions::draw(bool frame)
{
    if (!m_planner || !m_planner->bridge())
        return;
    std::vector<map::MapBridge::LoopLine> lines;
    int highlighted = -1;
    std::optional<map::Bounds> box;
    for (int slot = 0; slot < count; ++slot) {
        const auto& loop = m_slots[std::size_t(slot)].loop;
        if (!loop)
            continue;
        if (slot == m_highlighted)
            highlighted = int(lines.size());
        lines.push_back({loop->coordinates, color(slot)});
        if (const auto one = map::Bounds::enclosing(loop->coordinates))
            box = box ? box->united(*one) : *one;
    }
    m_planner->bridge()->setLoopSuggestions(lines, highlighted);
    if (frame && box)
        m_planner->frame(*box);
}

} // namespace zuvo::app
