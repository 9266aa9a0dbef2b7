#include "app/planner/PanelRules.h"

#include <QCoreApplication>

#include <cmath>

namespace zuvo::app::PanelRules {

using model::TrackMetricSeries::Metric;

namespace {

struct Texts {
    Q_DECLARE_TR_FUNCTIONS(PanelRules)
};

} // namespace

QString surfaceLegend(const model::RouteStats::SurfaceShares& shares)
{
    QStringList parts;
    const std::pair<double, QString> all[] = {{shares.paved, Texts::tr("%1% paved")},
                                              {shares.unpaved, Texts::tr("%1% unpaved")},
                                              {shares.unknown, Texts::tr("%1% unknown")}};
    for (const auto& [share, text] : all) {
        const long percent = std::lround(share * 100.0);
        if (percent > 0)
            parts.append(text.arg(percent));
    }
    if (parts.isEmpty())
        return Texts::tr("No surface data");
    return parts.join(QStringLiteral(" · "));
}

std::vector<double> cumulativeAnchorKilometres(const model::Route& route)
{
    std::vector<double> distances{0.0};
    for (const auto& leg : route.legs)
        distances.push_back(distances.back() + (leg ? leg->distance() / 1000.0 : 0.0));
    distances.resize(std::max<std::size_t>(route.anchors.size(), 1));
    return distances;
}

RouteSummary summary(const model::Route& route, const std::optional<model::GradeProfile>& profile,
                     model::CostingKind kind)
{
    using namespace model::RouteStats;
    const double distance = route.distance();
    const double ascent = ascentMeters(profile);
    return {QString::asprintf("%.1f km", distance / 1000.0), QString::asprintf("%.0f m", ascent),
            QString::asprintf("%.0f m", descentMeters(profile)),
            formattedDuration(estimatedSeconds(distance, ascent, kind))};
}

QString ClimbRow::text() const
{
    return (category ? model::label(*category) : Texts::tr("Climb")) +
           QString::asprintf(" · %.1f km · %.0f m · %.1f %%", endKm - startKm, gain, averageGrade);
}

std::vector<ClimbRow> climbRows(const std::optional<model::GradeProfile>& profile)
{
    std::vector<ClimbRow> rows;
    if (!profile)
        return rows;
    for (const auto& climb : profile->climbs) {
        rows.push_back({model::climbCategory(climb), climb.startDistance / 1000.0,
                        climb.endDistance / 1000.0, climb.gain, climb.averageGrade,
                        climb.maxGrade});
    }
    return rows;
}

QString climbCount(const std::optional<model::GradeProfile>& profile)
{
    const std::size_t count = profile ? profile->climbs.size() : 0;
    return count == 1 ? Texts::tr("1 climb") : Texts::tr("%1 climbs").arg(count);
}

AxisTicks axisTicks(double low, double high, int maxIntervals)
{
    const double span = high - low;
    if (!(span > 0.0) || !std::isfinite(span) || maxIntervals < 1)
        return {low, 1.0, 0};
    const double rough = span / maxIntervals;
    const int exponent = int(std::floor(std::log10(rough)));
    const double power = std::pow(10.0, exponent);
    double step = 10.0 * power;
    int decimals = std::max(0, -exponent - 1);
    // The smallest round step that needs no more intervals than allowed.
    for (const double factor : {1.0, 2.0, 2.5, 5.0}) {
        if (factor * power >= rough * (1.0 - 1e-9)) {
            step = factor * power;
            decimals = std::max(0, (factor == 2.5 ? 1 : 0) - exponent);
            break;
        }
    }
    const double first = std::ceil(low / step - 1e-9) * step;
    return {first, step, decimals};
}

QString Segment::label() const
{
    if (isRoute())
        return Texts::tr("Route");
    switch (std::get<Metric>(value)) {
    case Metric::elevation:
        return Texts::tr("Elevation");
    case Metric::speed:
        return Texts::tr("Speed");
    case Metric::heartRate:
        return Texts::tr("Heart rate");
    case Metric::temperature:
        return Texts::tr("Temp");
    }
    return {};
}

QString Segment::title() const
{
    if (!isRoute() && std::get<Metric>(value) == Metric::temperature)
        return Texts::tr("Temperature");
    return isRoute() ? Texts::tr("Elevation") : label();
}

QString Segment::key() const
{
    return isRoute() ? QStringLiteral("route") : name(std::get<Metric>(value));
}

std::optional<Segment> Segment::fromKey(const QString& key)
{
    if (key == u"route")
        return Segment{Route{}};
    for (const Metric metric : model::TrackMetricSeries::allMetrics) {
        if (name(metric) == key)
            return Segment{metric};
    }
    return std::nullopt;
}

const model::ShownTrack* drawerTrack(const std::vector<model::ShownTrack>& tracks)
{
    for (auto it = tracks.rbegin(); it != tracks.rend(); ++it) {
        if (!it->samples.empty())
            return &*it;
    }
    return nullptr;
}

std::vector<Segment> availableSegments(const std::optional<model::GradeProfile>& profile,
                                       const model::ShownTrack* track)
{
    std::vector<Segment> segments;
    if (profile && !profile->samples.empty())
        segments.push_back({Segment::Route{}});
    if (track) {
        for (const Metric metric : model::TrackMetricSeries::allMetrics) {
            if (model::TrackMetricSeries::carries(track->samples, metric))
                segments.push_back({metric});
        }
    }
    return segments;
}

std::optional<Segment> chosenSegment(const std::optional<Segment>& explicitChoice,
                                     const std::optional<model::GradeProfile>& profile,
                                     const model::ShownTrack* track)
{
    return chosenSegment(explicitChoice, availableSegments(profile, track), profile);
}

std::optional<Segment> chosenSegment(const std::optional<Segment>& explicitChoice,
                                     const std::vector<Segment>& available,
                                     const std::optional<model::GradeProfile>& profile)
{
    if (explicitChoice &&
        std::find(available.begin(), available.end(), *explicitChoice) != available.end())
        return explicitChoice;
    for (const auto& segment : available) {
        if (!segment.isRoute())
            return segment;
    }
    if (profile && profile->samples.size() > 1)
        return Segment{Segment::Route{}};
    return std::nullopt;
}

} // namespace zuvo::app::PanelRules
