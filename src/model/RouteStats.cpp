#include "model/RouteStats.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace zuvo::model::RouteStats {

namespace {

const std::array<QStringView, 4> pavedSurfaces{u"asphalt", u"paved", u"concrete", u"paving_stones"};
const std::array<QStringView, 7> unpavedSurfaces{u"gravel", u"dirt",      u"ground",     u"unpaved",
                                                 u"sand",   u"compacted", u"fine_gravel"};

bool contains(const auto& words, const QString& word)
{
    return std::find(words.begin(), words.end(), QStringView(word)) != words.end();
}

// Sum of the rises (sign +1) or falls (sign −1) between consecutive samples.
double climbed(const std::optional<GradeProfile>& profile, double sign)
{
    if (!profile)
        return 0.0;
    double total = 0.0;
    const auto& samples = profile->samples;
    for (std::size_t i = 1; i < samples.size(); ++i)
        total += std::max(sign * (samples[i].elevation - samples[i - 1].elevation), 0.0);
    return total;
}

} // namespace

SurfaceShares surfaceShares(const Route& route)
{
    double paved = 0.0;
    double unpaved = 0.0;
    double unknown = 0.0;
    auto add = [&](const RouteLeg& leg) {
        for (const auto& segment : leg.segments) {
            if (segment.surface && contains(pavedSurfaces, *segment.surface))
                paved += segment.distance;
            else if (segment.surface && contains(unpavedSurfaces, *segment.surface))
                unpaved += segment.distance;
            else
                unknown += segment.distance;
        }
    };
    for (const auto& leg : route.legs) {
        if (leg)
            add(*leg);
    }
    if (route.closingLeg)
        add(*route.closingLeg);
    const double total = paved + unpaved + unknown;
    if (!(total > 0.0))
        return {};
    return {paved / total, unpaved / total, unknown / total};
}

double ascentMeters(const std::optional<GradeProfile>& profile)
{
    return climbed(profile, 1.0);
}

double descentMeters(const std::optional<GradeProfile>& profile)
{
    return climbed(profile, -1.0);
}

QString formattedDuration(double seconds)
{
    const auto minutes = std::llround(seconds / 60.0);
    if (minutes > 59)
        return QString::asprintf("%lld:%02lld h", minutes / 60, minutes % 60);
    return QString::number(minutes) + QStringLiteral(" min");
}

double planningSpeed(CostingKind kind)
{
    switch (kind) {
    case CostingKind::road:
        return 25.0;
    case CostingKind::gravel:
        return 20.0;
    case CostingKind::mtb:
        return 16.0;
    case CostingKind::motorcycle:
        return 60.0;
    }
    return 25.0;
}

double estimatedSeconds(double distanceMeters, double ascentMeters, CostingKind kind)
{
    return distanceMeters / 1000.0 / planningSpeed(kind) * 3600.0 + ascentMeters / 100.0 * 60.0;
}

std::optional<Coordinate> coordinate(double distance, std::span<const Coordinate> along)
{
    if (along.empty())
        return std::nullopt;
    if (along.size() == 1 || distance <= 0.0)
        return along.front();
    double walked = 0.0;
    for (std::size_t i = 1; i < along.size(); ++i) {
        const Coordinate& a = along[i - 1];
        const Coordinate& b = along[i];
        const double step = a.distance(b);
        if (walked + step >= distance) {
            const double t = step > 0.0 ? (distance - walked) / step : 0.0;
            return Coordinate{a.latitude + (b.latitude - a.latitude) * t,
                              a.longitude + (b.longitude - a.longitude) * t};
        }
        walked += step;
    }
    return along.back();
}

} // namespace zuvo::model::RouteStats
