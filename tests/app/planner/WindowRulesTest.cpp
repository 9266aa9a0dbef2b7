#include "PlannerFixture.h"
#include "app/planner/ContextMenuModel.h"
#include "app/planner/PanelRules.h"
#include "app/planner/PlannerTexts.h"

using namespace zuvo;
using namespace zuvo::test;
using app::ContextMenuItem;
using map::ContextTarget;
using Action = ContextMenuItem::Action;

namespace {

std::optional<ContextMenuItem> item(const std::vector<ContextMenuItem>& items, Action action)
{
    for (const auto& i : items) {
        if (i.action == action)
            return i;
    }
    return std::nullopt;
}

MapEvent::ContextMenu clickOn(ContextTarget target, const Coordinate& at)
{
    return {std::move(target), at.longitude, at.latitude, 100, 100};
}

} // namespace

TEST_F(PlannerViewModelTest, ContextMenuEnablingFollowsTheRoute)
{
    build(1);
    const auto onMap = app::contextMenuItems({ContextTarget::Map{}}, *vm);
    ASSERT_EQ(onMap.size(), 6u);
    EXPECT_EQ(onMap[0].title, "Details…");
    EXPECT_EQ(onMap[5].title, "Loop from here…");
    EXPECT_EQ(app::perform(Action::loopFromHere, {ContextTarget::Map{}, 7.8, 48.0, 10, 10}, *vm),
              app::ContextMenuFollowUp::loopSuggestions);
    EXPECT_FALSE(item(onMap, Action::toggleRoundTrip)->enabled) << "one anchor";
    EXPECT_FALSE(item(onMap, Action::reverseRoute)->enabled);
    EXPECT_TRUE(item(onMap, Action::addShapingHere)->enabled);

    tap(at(1));
    settle();
    vm->setRoundTrip(true);
    settle();
    const auto routed = app::contextMenuItems({ContextTarget::Route{}}, *vm);
    EXPECT_TRUE(item(routed, Action::reverseRoute)->enabled);
    EXPECT_TRUE(item(routed, Action::toggleRoundTrip)->checked);

    const auto unknownPOI = app::contextMenuItems({ContextTarget::POI{"n1"}}, *vm);
    EXPECT_FALSE(item(unknownPOI, Action::saveFavorite)->enabled);
    EXPECT_TRUE(item(unknownPOI, Action::addViaHere)->enabled);

    // Round trip is a change like any other: one undo step.
    const auto steps = vm->history().undoStack().size();
    app::perform(Action::toggleRoundTrip, clickOn({ContextTarget::Map{}}, at(5)), *vm);
    settle();
    EXPECT_FALSE(vm->route().roundTrip);
    EXPECT_EQ(vm->history().undoStack().size(), steps + 1);
    app::perform(Action::addShapingHere, clickOn({ContextTarget::Map{}}, at(5)), *vm);
    settle();
    EXPECT_EQ(vm->route().anchors.back().kind, Anchor::Kind::shaping);
    EXPECT_EQ(vm->route().anchors.back().click, at(5));
}

TEST_F(PlannerViewModelTest, ContextMenuDeletesTheClickedAnchorWhateverIsSelected)
{
    const auto anchors = build(3);
    vm->handle(MapEvent{MapEvent::AnchorSelect{anchors[2].id}});
    const auto onFirst = clickOn({ContextTarget::Anchor{anchors[0].id}}, at(0));
    EXPECT_EQ(app::contextMenuItems(onFirst.target, *vm).size(), 5u);
    app::perform(Action::deleteAnchor, onFirst, *vm);
    settle();
    ASSERT_EQ(vm->route().anchors.size(), 2u);
    EXPECT_EQ(vm->route().anchors[0].id, anchors[1].id);
    EXPECT_EQ(vm->route().anchors[1].id, anchors[2].id);
    EXPECT_FALSE(vm->selectedAnchorID());

    EXPECT_EQ(app::perform(Action::anchorDetails,
                           clickOn({ContextTarget::Anchor{anchors[2].id}}, at(2)), *vm),
              app::ContextMenuFollowUp::anchorDetails);
    EXPECT_EQ(vm->selectedAnchorID(), anchors[2].id);
    app::perform(Action::setStart, clickOn({ContextTarget::Anchor{anchors[2].id}}, at(2)), *vm);
    settle();
    EXPECT_EQ(vm->route().anchors[0].id, anchors[2].id);
}

TEST(Status, textsOfTheWindow)
{
    using namespace app::PlannerTexts;
    EXPECT_EQ(statusText({}, std::nullopt, false),
              "Choose the Via tool and click the map to start a route.");
    EXPECT_EQ(statusText({}, std::nullopt, true), "Click the map to start a route.");
    model::Route route{
        .anchors = {Anchor(Anchor::Kind::via, {48, 11}), Anchor(Anchor::Kind::via, {48.1, 11})},
        .legs = {model::RouteLeg{{{.coordinates = {}, .distance = 12'345}}}}};
    EXPECT_EQ(statusText(route, std::nullopt, false), "12.3 km · 0 m · 2 anchors");
    route.anchors.pop_back();
    EXPECT_EQ(statusText(route, std::nullopt, false), "12.3 km · 0 m · 1 anchor");
    EXPECT_EQ(windowTitle("Kandel Runde", true), "Kandel Runde* — Tramu");
    EXPECT_EQ(windowTitle("Untitled", false), "Untitled — Tramu");
    EXPECT_EQ(poiImportToast(1), "Imported 1 POI");
    EXPECT_EQ(poiImportToast(12), "Imported 12 POIs");
    EXPECT_EQ(unsavedChangesQuestion("Untitled"), "Save changes to 'Untitled'?");
}

TEST(Panels, inspectorFigures)
{
    using namespace app::PanelRules;
    EXPECT_EQ(surfaceLegend({1.0, 0.0, 0.0}), "100% paved");
    EXPECT_EQ(surfaceLegend({0.6, 0.2, 0.2}), "60% paved · 20% unpaved · 20% unknown");
    EXPECT_EQ(surfaceLegend({0.998, 0.002, 0.0}), "100% paved") << "0.2 % rounds to nothing";
    EXPECT_EQ(surfaceLegend({}), "No surface data");

    const auto leg = [](double meters) {
        return model::RouteLeg{{{.coordinates = {}, .distance = meters}}};
    };
    model::Route route{.anchors = {Anchor(Anchor::Kind::via, {48, 11}),
                                   Anchor(Anchor::Kind::via, {48.1, 11}),
                                   Anchor(Anchor::Kind::shaping, {48.2, 11}),
                                   Anchor(Anchor::Kind::via, {48.3, 11})},
                       .legs = {leg(1200), std::nullopt, leg(800)}};
    EXPECT_EQ(cumulativeAnchorKilometres(route), (std::vector<double>{0, 1.2, 1.2, 2.0}));
    EXPECT_EQ(cumulativeAnchorKilometres({}), std::vector<double>{0});

    model::Route fifty{.legs = {leg(50'000)}};
    const auto figures = summary(fifty, std::nullopt, model::CostingKind::gravel);
    EXPECT_EQ(figures.distance, "50.0 km");
    EXPECT_EQ(figures.estimated, "2:30 h");
}

TEST(Panels, drawerSegmentsAndClimbs)
{
    using namespace app::PanelRules;
    using Metric = model::TrackMetricSeries::Metric;
    model::GradeProfile profile{.samples = {{0, 100, 0, 0}, {1000, 160, 6, 1}}};
    profile.climbs = {{.id = {},
                       .startDistance = 0,
                       .endDistance = 2000,
                       .gain = 160,
                       .averageGrade = 8,
                       .maxGrade = 11},
                      {.id = {},
                       .startDistance = 5000,
                       .endDistance = 5400,
                       .gain = 20,
                       .averageGrade = 5,
                       .maxGrade = 6}};
    const auto rows = climbRows(profile);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text(), "Cat 3 · 2.0 km · 160 m · 8.0 %");
    EXPECT_EQ(rows[1].text(), "Climb · 0.4 km · 20 m · 5.0 %");
    EXPECT_EQ(climbCount(profile), "2 climbs");

    model::ShownTrack ride{.id = "r",
                           .name = "r",
                           .date = {},
                           .coordinates = {},
                           .samples = {{.coordinate = {48, 11}, .heartRate = 130},
                                       {.coordinate = {48.01, 11}, .heartRate = 140}}};
    const model::ShownTrack empty{.id = "e", .name = "e", .date = {}};
    const std::vector tracks{ride, empty};
    const auto* track = drawerTrack(tracks);
    ASSERT_EQ(track, &tracks[0]) << "the newest track with samples";
    const auto available = availableSegments(profile, track);
    ASSERT_EQ(available.size(), 2u);
    EXPECT_EQ(available[1].label(), "Heart rate");
    EXPECT_EQ(chosenSegment(std::nullopt, profile, track), Segment{Metric::heartRate})
        << "a shown ride wins over the route";
    EXPECT_EQ(chosenSegment(Segment{Segment::Route{}}, profile, track), Segment{Segment::Route{}});
    EXPECT_EQ(chosenSegment(Segment{Metric::speed}, profile, nullptr), Segment{Segment::Route{}});
    EXPECT_FALSE(chosenSegment(std::nullopt, std::nullopt, nullptr));
    EXPECT_EQ(Segment::fromKey(Segment{Metric::temperature}.key()), Segment{Metric::temperature});
}

TEST(Panels, axisTicksAtRoundSteps)
{
    using app::PanelRules::AxisTicks;
    using app::PanelRules::axisTicks;
    EXPECT_EQ(axisTicks(0, 10.0), (AxisTicks{0, 2, 0}));
    EXPECT_EQ(axisTicks(0, 15.3), (AxisTicks{0, 5, 0}));
    EXPECT_EQ(axisTicks(14.5, 21.5), (AxisTicks{16, 2, 0})) << "temperature";
    EXPECT_EQ(axisTicks(0, 6.2), (AxisTicks{0, 2, 0}));
    EXPECT_EQ(axisTicks(0, 1.1), (AxisTicks{0, 0.25, 2}));
    EXPECT_EQ(axisTicks(0, 9.0), (AxisTicks{0, 2, 0}));
    EXPECT_EQ(axisTicks(0, 12.0), (AxisTicks{0, 2.5, 1}));
    EXPECT_EQ(axisTicks(183, 297), (AxisTicks{200, 25, 0}));
    EXPECT_EQ(axisTicks(0, 480), (AxisTicks{0, 100, 0}));
    EXPECT_EQ(axisTicks(-12.5, 3.1), (AxisTicks{-10, 5, 0}));
    EXPECT_EQ(axisTicks(5, 5), (AxisTicks{5, 1, 0})) << "no range, no division by zero";
    // Every range: at most five intervals, each label a round value shown exactly.
    for (double high = 0.3; high < 2000; high *= 1.37) {
        const auto ticks = axisTicks(0, high);
        EXPECT_LE(high / ticks.step, 5.0 + 1e-9) << high;
        EXPECT_GT(high / ticks.step, 1.0) << high;
        const double scaled = ticks.step * std::pow(10.0, ticks.decimals);
        EXPECT_NEAR(scaled, std::round(scaled), 1e-6) << high;
    }
}
