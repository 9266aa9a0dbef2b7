#pragma once

#include "model/ClimbCategory.h"
#include "model/CostingKind.h"
#include "model/GradeProfile.h"
#include "model/Route.h"
#include "model/RouteStats.h"
#include "model/ShownTrack.h"
#include "model/TrackMetricSeries.h"

#include <QString>

#include <optional>
#include <variant>
#include <vector>

// What the inspector and the elevation drawer show, as rules over the planner's state.
namespace zuvo::app::PanelRules {

// "62% paved · 38% unpaved"; "No surface data" when no share rounds above zero.
QString surfaceLegend(const model::RouteStats::SurfaceShares& shares);

// Kilometres from the start to each anchor: 0, then each leg's distance added (a leg not yet
// routed adds nothing).
std::vector<double> cumulativeAnchorKilometres(const model::Route& route);

struct RouteSummary {
    QString distance;  // "12.3 km"
    QString ascent;    // "250 m"
    QString descent;   // "240 m"
    QString estimated; // "45 min", "2:05 h"
};
RouteSummary summary(const model::Route& route, const std::optional<model::GradeProfile>& profile,
                     model::CostingKind kind);

struct ClimbRow {
    std::optional<model::ClimbCategory> category;
    double startKm = 0.0;
    double endKm = 0.0;
    double gain = 0.0;         // metres
    double averageGrade = 0.0; // percent
    double maxGrade = 0.0;     // percent

    // "Cat 3 · 2.4 km · 180 m · 7.5 %"; uncategorised climbs are "Climb".
    QString text() const;
    bool operator==(const ClimbRow&) const = default;
};
std::vector<ClimbRow> climbRows(const std::optional<model::GradeProfile>& profile);
// "0 climbs", "1 climb", "3 climbs".
QString climbCount(const std::optional<model::GradeProfile>& profile);

// A chart axis's labelled ticks: at multiples of `step`, a round step (1, 2, 2.5 or 5 times a
// power of ten) that divides the range into at most `maxIntervals`, from `first`, the lowest
// multiple within the range; labels need `decimals` digits after the point.
struct AxisTicks {
    double first = 0.0;
    double step = 1.0;
    int decimals = 0;
    bool operator==(const AxisTicks&) const = default;
};
AxisTicks axisTicks(double low, double high, int maxIntervals = 5);

// What the drawer charts: the planned route, or one metric of a shown track.
struct Segment {
    struct Route {
        bool operator==(const Route&) const = default;
    };
    std::variant<Route, model::TrackMetricSeries::Metric> value;

    bool isRoute() const { return std::holds_alternative<Route>(value); }
    // "Route", "Elevation", "Speed", "Heart rate", "Temp".
    QString label() const;
    // What the drawer's header names while the segment is charted: "Elevation" for the route's
    // profile, else the metric in full ("Temperature").
    QString title() const;
    // "route", "elevation", … for keeping the choice between runs.
    QString key() const;
    static std::optional<Segment> fromKey(const QString& key);

    bool operator==(const Segment&) const = default;
};

// The most recently added shown track that has samples.
const model::ShownTrack* drawerTrack(const std::vector<model::ShownTrack>& tracks);
// The route when it has a profile, then each metric the drawer track carries, in order.
std::vector<Segment> availableSegments(const std::optional<model::GradeProfile>& profile,
                                       const model::ShownTrack* track);
// The user's choice while it is available; else the track's first metric; else the route when
// its profile has more than one sample.
std::optional<Segment> chosenSegment(const std::optional<Segment>& explicitChoice,
                                     const std::optional<model::GradeProfile>& profile,
                                     const model::ShownTrack* track);
// The same over segments found available already.
std::optional<Segment> chosenSegment(const std::optional<Segment>& explicitChoice,
                                     const std::vector<Segment>& available,
                                     const std::optional<model::GradeProfile>& profile);

} // namespace zuvo::app::PanelRules
