#include "PlannerFixture.h"

#include <QJsonArray>

using namespace zuvo;
using namespace zuvo::test;
using Ints = std::vector<int>;

TEST_F(PlannerViewModelTest, MutationTapsFollowTheTool)
{
    tap(at(0));
    EXPECT_EQ(vm->lastMapFocus(), (app::LonLat{at(0).longitude, at(0).latitude}));
    EXPECT_FALSE(vm->isDirty()) << "the select tool only records the place";
    EXPECT_FALSE(vm->isRouting());
    EXPECT_TRUE(script->requests.empty());

    vm->setTool(Tool::via);
    EXPECT_EQ(page->last("setTool").value("tool"), "via");
    tap(at(0));
    settle();
    tap(at(1));
    settle();
    vm->setTool(Tool::shaping);
    tap(at(2));
    settle();

    const auto& route = vm->route();
    EXPECT_EQ(clicks(), (Ints{0, 1, 2}));
    EXPECT_EQ(route.anchors[1].kind, Anchor::Kind::via);
    EXPECT_EQ(route.anchors[2].kind, Anchor::Kind::shaping);
    EXPECT_TRUE(route.legs[0] && route.legs[1]);
    EXPECT_TRUE(vm->gradeProfile());
    EXPECT_TRUE(vm->isDirty());
    EXPECT_EQ(vm->history().undoStack().size(), 3u);

    const QJsonArray sent = page->last("setRoute").value("coordinates").toArray();
    ASSERT_EQ(sent.size(), 3);
    const auto snapped = ScriptedEngine::snapOf(at(2)).coordinate;
    // Positions travel to the centimetre.
    EXPECT_NEAR(sent[2].toArray()[0].toDouble(), snapped.longitude, 1e-7);
    EXPECT_NEAR(sent[2].toArray()[1].toDouble(), snapped.latitude, 1e-7);
    const QJsonArray anchors = page->last("setAnchors").value("anchors").toArray();
    ASSERT_EQ(anchors.size(), 3);
    EXPECT_EQ(anchors[2].toObject().value("role"), "end");
    EXPECT_EQ(anchors[2].toObject().value("kind"), "shaping");
}

TEST_F(PlannerViewModelTest, MutationBurstOfTapsRunsTheFirstAndTheLast)
{
    build(1);
    script->hold = true;
    tap(at(1));
    script->release(0);
    QCoreApplication::processEvents();
    ASSERT_EQ(script->requests.size(), 2u) << "the first tap is routing its leg";

    tap(at(2));
    tap(at(3));
    EXPECT_TRUE(vm->isRouting());
    script->hold = false;
    settle();

    EXPECT_EQ(clicks(), (Ints{0, 1, 3})) << "the second tap never ran";
    for (const auto& request : script->requests)
        EXPECT_NE(request.from, at(2));
    EXPECT_FALSE(vm->errorMessage()) << "a cancellation is never shown";
    EXPECT_FALSE(vm->isRouting());
}

TEST_F(PlannerViewModelTest, MutationErrorsComeOnlyFromTheNewestEdit)
{
    build(1);
    script->failure = [](const ScriptedEngine::Request& r, std::size_t) -> std::optional<Failure> {
        if (r.op == Op::route)
            return Failure(RoutingError::engineUnavailable("Routing server unavailable"));
        return std::nullopt;
    };
    tap(at(1));
    settle();
    EXPECT_EQ(vm->errorMessage(), "Routing server unavailable");
    EXPECT_EQ(vm->route().anchors.size(), 2u) << "the route shows what the planner holds";

    // A failure of an edit that a newer one has superseded stays silent, and the busy flag
    // stays on until the newest edit ends.
    script->failure = nullptr;
    vm->setErrorMessage(std::nullopt);
    auto gate = std::make_shared<Gate>();
    auto first = vm->mutate([gate](auto&, std::stop_token) -> QCoro::Task<> {
        co_await gate->wait();
        throw Failure(RoutingError::noRouteFound());
    });
    auto secondGate = std::make_shared<Gate>();
    auto second = vm->mutate(
        [secondGate](auto&, std::stop_token) -> QCoro::Task<> { co_await secondGate->wait(); });
    gate->open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return first->outcome().has_value(); }, 5000));
    EXPECT_EQ(first->outcome(), app::MutationOutcome::cancelled);
    EXPECT_TRUE(vm->isRouting());
    EXPECT_FALSE(vm->errorMessage());
    secondGate->open();
    settle();
    EXPECT_EQ(second->outcome(), app::MutationOutcome::completed);

    // The next successful edit clears a shown error.
    vm->setErrorMessage(QString("old"));
    tap(at(2));
    settle();
    EXPECT_FALSE(vm->errorMessage());
}

TEST_F(PlannerViewModelTest, MutationDragGestureIsOneUndoStep)
{
    const auto anchors = build(2);
    const QUuid moved = anchors[1].id;
    auto drag = [&](int to) {
        vm->handle(MapEvent{MapEvent::AnchorDrag{moved, at(to).longitude, at(to).latitude}});
    };

    script->hold = true;
    drag(5);
    drag(6);
    drag(7);
    script->hold = false;
    settle();
    EXPECT_EQ(clicks(), (Ints{0, 7})) << "the newest move is applied";
    for (const auto& request : script->requests)
        EXPECT_NE(request.from, at(6)) << "a move superseded before it started never runs";
    EXPECT_EQ(vm->history().undoStack().size(), 3u);

    vm->handle(MapEvent{MapEvent::DragEnd{}});
    drag(8);
    settle();
    EXPECT_EQ(vm->history().undoStack().size(), 4u) << "a new gesture, a new step";

    vm->undo();
    settle();
    EXPECT_EQ(clicks(), (Ints{0, 7}));
    vm->undo();
    settle();
    EXPECT_EQ(clicks(), (Ints{0, 1})) << "back to before the whole first gesture";
}

TEST_F(PlannerViewModelTest, MutationOnTheRouteInsertsWhereTheRoutePasses)
{
    build(2);
    vm->undo();
    settle();
    ASSERT_TRUE(vm->canRedo());
    const auto undoBefore = vm->history().undoStack();

    // One anchor has no legs: there is no insertion point.
    page->scripts.clear();
    tap(at(5), true);
    vm->handle(MapEvent{MapEvent::RouteDragStart{at(5).longitude, at(5).latitude}});
    settle();
    EXPECT_EQ(clicks(), (Ints{0}));
    EXPECT_TRUE(vm->isDirty());
    EXPECT_EQ(vm->history().undoStack(), undoBefore);
    EXPECT_FALSE(vm->canRedo()) << "any edit empties the redo history";
    EXPECT_EQ(page->count("beginSyntheticDrag"), 0);

    tap(at(1));
    settle();
    tap(at(2));
    settle();
    const auto onLeg0 = between(at(0), at(1));
    vm->handle(MapEvent{MapEvent::RouteDragStart{onLeg0.longitude, onLeg0.latitude}});
    settle();
    const auto& inserted = vm->route().anchors[1];
    EXPECT_EQ(inserted.click, onLeg0);
    EXPECT_EQ(inserted.kind, Anchor::Kind::shaping);
    EXPECT_EQ(page->last("beginSyntheticDrag").value("id"),
              inserted.id.toString(QUuid::WithoutBraces).toUpper());

    vm->setTool(Tool::via);
    tap(between(at(1), at(2)), true);
    settle();
    EXPECT_EQ(vm->route().anchors.size(), 5u);
    EXPECT_EQ(vm->route().anchors[3].click, between(at(1), at(2)));

    // A tap on the closing leg of a round trip goes after the last anchor.
    vm->setRoundTrip(true);
    settle();
    ASSERT_TRUE(vm->route().closingLeg);
    const auto onClosing = between(at(2), at(0));
    tap({onClosing.latitude, onClosing.longitude - 0.004}, true);
    settle();
    EXPECT_EQ(vm->route().anchors.back().click.latitude, onClosing.latitude);
}

TEST_F(PlannerViewModelTest, MutationReadyResendsTheWholeState)
{
    build(2);
    vm->setCycleNetworksVisible(true);
    page->scripts.clear();
    vm->handle(MapEvent{MapEvent::Ready{}});
    EXPECT_EQ(page->names(), (QStringList{"setTool", "setOverlay", "setOverlay", "setTerrain3D",
                                          "setCustomPOIGlyph", "setRoute", "setAnchors",
                                          "setImportedTracks", "setPOIs"}));
    const auto commands = page->commands();
    EXPECT_EQ(commands[0].payload.value("tool"), "via");
    EXPECT_EQ(commands[1].payload.value("ids").toArray(),
              (QJsonArray{"zuvo-cycle-casing", "zuvo-cycle-line", "zuvo-cycle-ref"}));
    EXPECT_TRUE(commands[1].payload.value("visible").toBool());
    EXPECT_EQ(commands[2].payload.value("ids").toArray(), QJsonArray{"zuvo-hillshade"});
    EXPECT_FALSE(commands[2].payload.value("visible").toBool());
    EXPECT_EQ(commands[4].payload.value("glyph"), QString::fromUcs4(U"\U0001F37A"));

    vm->handle(MapEvent{MapEvent::ViewChanged{13.5, 48.1}});
    EXPECT_EQ(vm->mapZoom(), 13.5);
    EXPECT_EQ(vm->mapLatitude(), 48.1);
}

TEST_F(PlannerViewModelTest, MutationCostingKindAndGradientMode)
{
    build(2);
    vm->setSliderValues({{"avoid_hills", 0.9}});
    vm->setCostingKind(model::CostingKind::gravel);
    settle();
    EXPECT_EQ(vm->sliderValues(), model::defaultPreferenceValues(model::CostingKind::gravel));
    ASSERT_EQ(script->count(Op::locate), 2u) << "every anchor is located again";
    EXPECT_EQ(script->requests.front().costing.kind, model::CostingKind::gravel);
    EXPECT_EQ(script->requests.front().costing.values, vm->sliderValues());

    script->requests.clear();
    vm->setSliderValues({{"avoid_hills", 0.9}});
    vm->costingKindStorageOnly(model::CostingKind::mtb);
    EXPECT_EQ(vm->costingKind(), model::CostingKind::mtb);
    EXPECT_EQ(vm->sliderValues(), (std::map<QString, double>{{"avoid_hills", 0.9}}));
    EXPECT_TRUE(script->requests.empty());

    page->scripts.clear();
    vm->setGradientMode(true);
    EXPECT_EQ(page->names(), (QStringList{"setGradientMode", "setRoute"}));
    const auto route = page->last("setRoute");
    EXPECT_EQ(route.value("grades").toArray().size(),
              qsizetype(vm->gradeProfile()->samples.size()));
    EXPECT_EQ(route.value("progress").toArray().last().toDouble(), 1.0);

    // Fewer than two route points: no profile, so no grades either.
    vm->newDocument();
    settle();
    tap(at(0));
    settle();
    EXPECT_FALSE(vm->gradeProfile());
    EXPECT_FALSE(page->last("setRoute").contains("grades"));
}

TEST_F(PlannerViewModelTest, UndoAndRedoRestoreAnchorLists)
{
    vm->undo();
    vm->redo();
    EXPECT_EQ(vm->mutationGeneration(), 0u) << "an empty history submits nothing";

    build(3);
    vm->undo();
    settle();
    EXPECT_EQ(clicks(), (Ints{0, 1}));
    EXPECT_EQ(vm->history().undoStack().size(), 2u);
    EXPECT_EQ(vm->history().redoStack().size(), 1u);
    vm->redo();
    settle();
    EXPECT_EQ(clicks(), (Ints{0, 1, 2}));
    EXPECT_EQ(vm->history().undoStack().size(), 3u);
    EXPECT_TRUE(vm->history().redoStack().empty());
    EXPECT_TRUE(vm->route().legs[1]) << "legs are routed again";

    vm->undo();
    settle();
    vm->convertAnchor(QUuid::createUuid());
    settle();
    EXPECT_FALSE(vm->canRedo()) << "an edit that changed nothing still ends the redo history";
    EXPECT_EQ(vm->history().undoStack().size(), 2u);

    vm->removeAnchor(vm->route().anchors[0].id);
    settle();
    EXPECT_EQ(clicks(), (Ints{1}));
    vm->undo();
    settle();
    EXPECT_EQ(clicks(), (Ints{0, 1}));
}
