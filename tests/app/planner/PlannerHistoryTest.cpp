// Undo and redo over every kind of change, and edits that overlap saves, undos and opens: the
// orders in which a rider's work was lost before.
#include "PlannerFixture.h"
#include "formats/RouteDocumentCoder.h"

#include <QFile>

using namespace zuvo;
using namespace zuvo::test;
using Ints = std::vector<int>;
using model::CostingKind;

namespace {

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST_F(PlannerViewModelTest, UndoTakesBackTheLastChangeWhateverItWas)
{
    build(2);
    tap(at(2));
    settle();
    vm->setRoundTrip(true);
    settle();
    vm->setCostingKind(CostingKind::gravel);
    settle();
    const auto gravel = vm->sliderValues();
    vm->setSliderValues({{"avoid_hills", 0.9}});
    vm->applySliders();
    settle();
    ASSERT_EQ(vm->history().undoStack().size(), 6u) << "2 taps, 1 tap, round trip, kind, sliders";

    vm->undo();
    settle();
    EXPECT_EQ(vm->sliderValues(), gravel) << "the slider gesture first";
    EXPECT_EQ(script->requests.back().costing.values, gravel);
    vm->undo();
    settle();
    EXPECT_EQ(vm->costingKind(), CostingKind::road) << "then the kind, with its sliders";
    EXPECT_EQ(vm->sliderValues(), model::defaultPreferenceValues(CostingKind::road));
    EXPECT_TRUE(vm->route().roundTrip);
    EXPECT_EQ(clicks(), (Ints{0, 1, 2}));
    vm->undo();
    settle();
    EXPECT_FALSE(vm->route().roundTrip) << "then the round trip, not the point added before it";
    EXPECT_EQ(clicks(), (Ints{0, 1, 2}));
    vm->undo();
    settle();
    EXPECT_EQ(clicks(), (Ints{0, 1}));

    for (int i = 0; i < 4; ++i) {
        vm->redo();
        settle();
    }
    EXPECT_EQ(clicks(), (Ints{0, 1, 2}));
    EXPECT_TRUE(vm->route().roundTrip);
    EXPECT_TRUE(vm->route().closingLeg);
    EXPECT_EQ(vm->costingKind(), CostingKind::gravel);
    EXPECT_EQ(vm->sliderValues(), (std::map<QString, double>{{"avoid_hills", 0.9}}));
    EXPECT_FALSE(vm->canRedo());

    // A slider let go where it was taken changes nothing and leaves no step.
    vm->applySliders();
    settle();
    EXPECT_EQ(vm->history().undoStack().size(), 6u);
}

TEST_F(PlannerViewModelTest, UndoWhileAPointIsStillLocatedKeepsTheStepsBefore)
{
    build(2);
    script->hold = true;
    tap(at(2));
    script->hold = false;
    ASSERT_TRUE(vm->isRouting());
    // The undo takes the step of the add still in flight and stops it; the stopped add, which
    // changed nothing, must not take a step off as well.
    vm->undo();
    settle();
    EXPECT_EQ(clicks(), (Ints{0, 1}));
    vm->undo();
    settle();
    EXPECT_EQ(clicks(), (Ints{0})) << "the step before is still there";
    vm->redo();
    settle();
    EXPECT_EQ(clicks(), (Ints{0, 1}));
}

TEST_F(PlannerViewModelTest, SaveWhileAnEditRoutesKeepsThePlanChanged)
{
    build(2);
    const QString path = home.filePath("Runde.gpx");
    script->hold = true;
    tap(at(2));
    script->hold = false;
    ASSERT_TRUE(vm->saveDocument(path));
    EXPECT_EQ(formats::RouteDocumentCoder::decode(readFile(path))->anchors.size(), 2u)
        << "the file holds the route as shown";
    EXPECT_TRUE(vm->isDirty()) << "the point still routing is not saved yet";
    EXPECT_EQ(vm->documentName(), "Runde");
    script->release(script->requests.size() - 1);
    settle();
    EXPECT_EQ(clicks(), (Ints{0, 1, 2}));
    EXPECT_TRUE(vm->isDirty());
}

TEST_F(PlannerViewModelTest, AnOpenSupersededBeforeItStartsLeavesTheLaterDocumentAlone)
{
    const auto write = [&](const QString& name, std::vector<int> points, CostingKind kind,
                           std::map<QString, double> values) {
        build(0);
        model::Route plan;
        for (const int i : points)
            plan.anchors.emplace_back(Anchor::Kind::via, at(i), ScriptedEngine::snapOf(at(i)));
        plan.legs.resize(plan.anchors.size() - 1);
        const QString path = home.filePath(name + ".gpx");
        writeFile(path, formats::RouteDocumentCoder::encode(plan, {kind, values}, name));
        return path;
    };
    const QString a = write("A", {3, 4}, CostingKind::road, {});
    const QString b = write("B", {7, 8}, CostingKind::mtb, {{"avoid_climbs", 0.8}});
    build(2);
    vm->setCostingKind(CostingKind::gravel);
    settle();

    // A waits behind an edit in flight; B is opened before A has started.
    script->hold = true;
    tap(at(5));
    script->hold = false;
    vm->openDocument(a);
    vm->openDocument(b);
    settle();
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks(), (Ints{7, 8}));
    EXPECT_EQ(vm->documentName(), "B");
    EXPECT_EQ(vm->documentURL(), QUrl::fromLocalFile(b));
    EXPECT_EQ(vm->costingKind(), CostingKind::mtb);
    EXPECT_EQ(vm->sliderValues(), (std::map<QString, double>{{"avoid_climbs", 0.8}}));
    EXPECT_FALSE(vm->isDirty());
    EXPECT_FALSE(vm->canUndo()) << "the previous document's history is gone with it";

    // A save writes B's own profile into B.
    vm->rename("B2");
    ASSERT_TRUE(vm->saveDocument(b));
    EXPECT_EQ(formats::RouteDocumentCoder::decode(readFile(b))->costing.kind, CostingKind::mtb);
}

TEST_F(PlannerViewModelTest, APlanTheServerCannotRouteOpensAsSaved)
{
    build(3);
    vm->setRoundTrip(true);
    settle();
    const QString path = home.filePath("Tour.gpx");
    ASSERT_TRUE(vm->saveDocument(path));
    const auto shown = vm->route().coordinates();
    const QByteArray file = readFile(path);
    const auto track = formats::RouteDocumentCoder::decode(file)->trackCoordinates;
    ASSERT_EQ(track.size(), shown.size());
    vm->newDocument();
    settle();

    script->failure = [](const ScriptedEngine::Request& r, std::size_t) -> std::optional<Failure> {
        if (r.op == Op::route)
            return Failure(RoutingError::engineUnavailable("Bad Gateway"));
        return std::nullopt;
    };
    ASSERT_FALSE(runTask(vm->openDocument(path)).error);
    settle();
    EXPECT_EQ(vm->route().coordinates(), track) << "every leg shows the geometry it was saved with";
    EXPECT_TRUE(vm->route().closingLeg);
    EXPECT_FALSE(vm->isDirty()) << "opening changed nothing";
    EXPECT_TRUE(
        vm->errorMessage()->endsWith("Showing the route as saved; 3 legs are not re-routed."))
        << vm->errorMessage()->toStdString();

    // Saved again, the file keeps its whole track.
    ASSERT_TRUE(vm->saveDocument(path));
    EXPECT_EQ(formats::RouteDocumentCoder::decode(readFile(path))->trackCoordinates, track);
}
