#include "model/Cue.h"

#include "model/Route.h"

#include <array>
#include <utility>

namespace zuvo::model {

namespace {

using Sign = Cue::Sign;

constexpr std::array<std::pair<Sign, const char*>, 18> names{{
    {Sign::unknown, "unknown"},
    {Sign::uTurn, "u_turn"},
    {Sign::uTurnLeft, "u_turn_left"},
    {Sign::keepLeft, "keep_left"},
    {Sign::leaveRoundabout, "leave_roundabout"},
    {Sign::sharpLeft, "sharp_left"},
    {Sign::left, "left"},
    {Sign::slightLeft, "slight_left"},
    {Sign::straight, "continue"},
    {Sign::slightRight, "slight_right"},
    {Sign::right, "right"},
    {Sign::sharpRight, "sharp_right"},
    {Sign::finish, "finish"},
    {Sign::viaReached, "via"},
    {Sign::roundabout, "roundabout"},
    {Sign::keepRight, "keep_right"},
    {Sign::uTurnRight, "u_turn_right"},
    {Sign::ferry, "ferry"},
}};

} // namespace

std::optional<Cue::Sign> Cue::signFromNumber(int number)
{
    for (const auto& [sign, name] : names) {
        if (static_cast<int>(sign) == number)
            return sign;
    }
    return std::nullopt;
}

QString Cue::signName(Sign sign)
{
    for (const auto& [candidate, name] : names) {
        if (candidate == sign)
            return QString::fromLatin1(name);
    }
    return QStringLiteral("unknown");
}

QString Cue::place() const
{
    if (!streetName.isEmpty())
        return streetName;
    if (!streetRef.isEmpty())
        return streetRef;
    return text;
}

std::vector<Cue> routeCues(const Route& route)
{
    std::vector<Cue> cues;
    std::vector<const RouteLeg*> legs;
    for (const auto& leg : route.legs)
        legs.push_back(leg ? &*leg : nullptr);
    if (route.closingLeg)
        legs.push_back(&*route.closingLeg);

    int via = 0;
    double offset = 0.0;
    for (std::size_t l = 0; l < legs.size(); ++l) {
        // The anchor this leg starts at: the start, or one between.
        const Anchor& from = route.anchors.at(l % route.anchors.size());
        if (from.kind == Anchor::Kind::via) {
            ++via;
            if (l > 0) {
                cues.push_back({.sign = Sign::viaReached,
                                .position = from.routingPosition(),
                                .distance = offset,
                                .viaNumber = via});
            }
        }
        if (!legs[l])
            continue;
        const bool lastLeg = l + 1 == legs.size();
        double segmentStart = offset;
        for (const auto& segment : legs[l]->segments) {
            for (Cue cue : segment.cues) {
                if (cue.sign == Sign::finish && !lastLeg)
                    continue;
                cue.distance += segmentStart;
                cues.push_back(std::move(cue));
            }
            segmentStart += segment.distance;
        }
        offset += legs[l]->distance();
    }
    return cues;
}

} // namespace zuvo::model
