#include "FitFileBuilder.h"
#include "PlannerFixture.h"
#include "formats/BrytonTourWriter.h"
#include "formats/GPXWriter.h"
#include "formats/RouteDocumentCoder.h"

#include <QFile>
#include <QJsonArray>

using namespace zuvo;
using namespace zuvo::test;
using Ints = std::vector<int>;

namespace {

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::vector<model::TrackSample> ride(int points)
{
    std::vector<model::TrackSample> samples;
    for (int i = 0; i < points; ++i)
        samples.push_back(
            {.coordinate = {50.9 + 0.001 * i, 6.9 + 0.0005 * i, 60.0 + i},
             .timestamp = QDateTime(QDate(2024, 5, 1), QTime(7, 30), Qt::UTC).addSecs(10 * i),
             .heartRate = 120 + i});
    return samples;
}

// What a document keeps of each anchor: the kind and the positions, not the id.
std::vector<std::tuple<Anchor::Kind, Coordinate, std::optional<Coordinate>>>
positions(const std::vector<Anchor>& anchors)
{
    std::vector<std::tuple<Anchor::Kind, Coordinate, std::optional<Coordinate>>> all;
    for (const auto& a : anchors) {
        std::optional<Coordinate> snap;
        if (a.snap)
            snap = Coordinate{a.snap->coordinate.latitude, a.snap->coordinate.longitude};
        all.emplace_back(a.kind, a.click, snap);
    }
    return all;
}

} // namespace

TEST_F(PlannerViewModelTest, DocumentSaveNamesItAndWritesInPlace)
{
    build(1);
    const QString path = home.filePath("Sonntag.gpx");
    EXPECT_FALSE(vm->saveDocument(path)) << "one anchor is nothing to save";
    EXPECT_FALSE(QFile::exists(path));

    tap(at(1));
    settle();
    ASSERT_TRUE(vm->saveDocument(path));
    EXPECT_EQ(vm->documentName(), "Sonntag");
    EXPECT_EQ(vm->documentURL(), QUrl::fromLocalFile(path));
    EXPECT_FALSE(vm->isDirty());
    ASSERT_TRUE(toasts.current());
    EXPECT_EQ(toasts.current()->message, "Saved 'Sonntag'");
    const auto saved = formats::RouteDocumentCoder::decode(readFile(path));
    ASSERT_TRUE(saved);
    EXPECT_EQ(positions(saved->anchors), positions(vm->route().anchors));

    vm->rename("Sonntagsrunde");
    EXPECT_TRUE(vm->isDirty()) << "a new name is a change to save";
    tap(at(2));
    settle();
    ASSERT_TRUE(vm->saveDocument(vm->documentURL()->toLocalFile()));
    EXPECT_EQ(formats::RouteDocumentCoder::decode(readFile(path))->name, "Sonntagsrunde");
    EXPECT_EQ(formats::RouteDocumentCoder::decode(readFile(path))->anchors.size(), 3u);

    // A write that fails keeps the document as it was, dirty, and says why.
    tap(at(3));
    settle();
    EXPECT_FALSE(vm->saveDocument(home.filePath("missing/folder/x.gpx")));
    EXPECT_TRUE(vm->errorMessage()->startsWith("Save failed: "));
    EXPECT_TRUE(vm->isDirty());
    EXPECT_EQ(vm->documentName(), "Sonntag");
}

TEST_F(PlannerViewModelTest, DocumentOpenRestoresThePlanAndRefusesForeignFiles)
{
    build(2);
    const QString path = home.filePath("Runde.gpx");
    ASSERT_TRUE(vm->saveDocument(path));
    const auto saved = vm->route().anchors;

    vm->newDocument();
    settle();
    EXPECT_TRUE(vm->route().anchors.empty());
    EXPECT_EQ(vm->documentName(), "Untitled");
    EXPECT_FALSE(vm->isDirty());
    EXPECT_FALSE(vm->canUndo());

    const QString foreign = home.filePath("track.gpx");
    writeFile(foreign, formats::GPXWriter{"other"}.write(ride(5), "track"));
    tap(at(4));
    settle();
    ASSERT_FALSE(runTask(vm->openDocument(foreign)).error);
    EXPECT_EQ(vm->errorMessage(),
              "track.gpx is not a zuvo route — use File ▸ Import GPX for third-party files.");
    EXPECT_EQ(clicks(), (Ints{4})) << "the route is untouched";
    ASSERT_FALSE(runTask(vm->openDocument(home.filePath("gone.gpx"))).error);
    EXPECT_EQ(vm->errorMessage(), "Could not read gone.gpx");

    ASSERT_FALSE(runTask(vm->openDocument(path)).error);
    EXPECT_EQ(positions(vm->route().anchors), positions(saved));
    EXPECT_EQ(vm->documentName(), "Runde");
    EXPECT_EQ(vm->documentURL(), QUrl::fromLocalFile(path));
    EXPECT_FALSE(vm->isDirty());
    EXPECT_FALSE(vm->errorMessage());
    EXPECT_FALSE(vm->canUndo());
}

TEST_F(PlannerViewModelTest, DocumentThatCannotBeRoutedLeavesTheOpenDocument)
{
    build(2);
    const QString mine = home.filePath("Mine.gpx");
    ASSERT_TRUE(vm->saveDocument(mine));
    tap(at(2));
    settle();
    vm->setCostingKind(model::CostingKind::gravel);
    settle();

    // A plan whose anchors were never located, on a server that cannot locate them.
    model::Route unrouted{
        .anchors = {Anchor(Anchor::Kind::via, at(7)), Anchor(Anchor::Kind::via, at(8))}};
    const QString other = home.filePath("Other.gpx");
    writeFile(other, formats::RouteDocumentCoder::encode(
                         unrouted, {model::CostingKind::mtb, {{"avoid_climbs", 0.8}}}, "Other"));
    script->failure = [](const ScriptedEngine::Request& r, std::size_t) -> std::optional<Failure> {
        if (r.op == Op::locate)
            return Failure(RoutingError::notSnappable(r.from));
        return std::nullopt;
    };
    const auto sliders = vm->sliderValues();
    ASSERT_FALSE(runTask(vm->openDocument(other)).error);
    settle();
    EXPECT_EQ(vm->documentName(), "Mine");
    EXPECT_EQ(vm->documentURL(), QUrl::fromLocalFile(mine));
    EXPECT_EQ(vm->costingKind(), model::CostingKind::gravel);
    EXPECT_EQ(vm->sliderValues(), sliders);
    EXPECT_TRUE(vm->isDirty());
    EXPECT_TRUE(vm->canUndo()) << "the history of the open document stays";
    EXPECT_EQ(vm->errorMessage(), "notSnappable(latitude: 48.07, longitude: 11.005)");
    EXPECT_EQ(clicks(), (Ints{0, 1, 2}));

    // Saving now writes this route to its own file, never into the other one.
    ASSERT_TRUE(vm->saveDocument(vm->documentURL()->toLocalFile()));
    EXPECT_EQ(positions(formats::RouteDocumentCoder::decode(readFile(other))->anchors),
              positions(unrouted.anchors));

    // Anchors that are taken but whose legs fail make the file the document; opening it changed
    // nothing, so nothing asks to be saved.
    script->failure = [](const ScriptedEngine::Request& r, std::size_t) -> std::optional<Failure> {
        if (r.op == Op::route)
            return Failure(RoutingError::noRouteFound());
        return std::nullopt;
    };
    ASSERT_FALSE(runTask(vm->openDocument(other)).error);
    settle();
    EXPECT_EQ(vm->documentName(), "Other");
    EXPECT_EQ(vm->documentURL(), QUrl::fromLocalFile(other));
    EXPECT_FALSE(vm->isDirty());
    EXPECT_EQ(vm->errorMessage(), "noRouteFound");
    EXPECT_EQ(clicks(), (Ints{7, 8}));
}

TEST_F(PlannerViewModelTest, TrackToggleShowsHidesAndKeepsItsColour)
{
    const QString path = home.filePath("2024-05-01-07-30-00.gpx");
    writeFile(path, formats::GPXWriter{"device"}.write(ride(30), "ride"));

    ASSERT_FALSE(runTask(vm->toggleTrack(path)).error);
    ASSERT_EQ(vm->shownTracks().size(), 1u);
    const auto track = vm->shownTracks().front();
    EXPECT_EQ(track.id, path);
    EXPECT_EQ(track.name, "2024-05-01-07-30-00");
    EXPECT_EQ(track.date, QDateTime(QDate(2024, 5, 1), QTime(7, 30)));
    EXPECT_EQ(track.samples.size(), 30u);
    EXPECT_EQ(track.samples[3].heartRate, 123);
    EXPECT_EQ(page->names().mid(page->names().size() - 2),
              (QStringList{"setImportedTracks", "fit"}));
    const auto sent = page->last("setImportedTracks").value("tracks").toArray();
    EXPECT_EQ(sent[0].toObject().value("colorIndex").toInt(), track.colorIndex);
    EXPECT_EQ(sent[0].toObject().value("coordinates").toArray().size(), 30);
    EXPECT_EQ(page->last("fit").value("bounds").toArray(),
              (QJsonArray{6.9, 50.9, 6.9 + 0.0005 * 29, 50.9 + 0.001 * 29}));

    ASSERT_FALSE(runTask(vm->toggleTrack(path)).error);
    EXPECT_TRUE(vm->shownTracks().empty());
    EXPECT_TRUE(page->last("setImportedTracks").value("tracks").toArray().isEmpty());

    // Two toggles while the file is being read show it once, with the same colour as before. The
    // ride is long enough that reading it outlasts the second toggle.
    writeFile(path, formats::GPXWriter{"device"}.write(ride(20'000), "ride"));
    auto first = vm->toggleTrack(path);
    ASSERT_FALSE(vm->isTrackShown(path)) << "still being read";
    auto second = vm->toggleTrack(path);
    runTask(std::move(first));
    runTask(std::move(second));
    ASSERT_EQ(vm->shownTracks().size(), 1u);
    EXPECT_EQ(vm->shownTracks().front().colorIndex, track.colorIndex);

    ASSERT_FALSE(runTask(vm->toggleTrack(home.filePath("gone.gpx"))).error);
    EXPECT_EQ(vm->errorMessage(), "Could not read gone.gpx: No such file or directory");
    const QString empty = home.filePath("pois.gpx");
    writeFile(empty, R"(<gpx><wpt lat="50" lon="7"><name>Bar</name></wpt></gpx>)");
    ASSERT_FALSE(runTask(vm->toggleTrack(empty)).error);
    EXPECT_EQ(vm->errorMessage(), "No track in pois.gpx");
    EXPECT_EQ(vm->shownTracks().size(), 1u);
}

TEST_F(PlannerViewModelTest, RideFilesOfEveryFormatShowAsTracksOrSayWhyNot)
{
    FitFileBuilder fit;
    fit.define(0, 20, {{253, 4}, {0, 4}, {1, 4}});
    for (std::uint32_t i = 0; i < 5; ++i)
        fit.data(0, {1000 + 60 * i, FitFileBuilder::semicircles(50.9 + 0.001 * i),
                     FitFileBuilder::semicircles(6.9)});
    const QByteArray whole = fit.build();
    const QString ride = home.filePath("ride.fit");
    writeFile(ride, whole);
    // Cut short by a device that lost power.
    const QString damaged = home.filePath("2024-05-01-07-30-00.FIT");
    writeFile(damaged, whole.left(whole.size() - 2));
    const QString tour = home.filePath("Tour.track");
    writeFile(tour, formats::BrytonTourWriter::trackData(
                        {.name = "Tour", .points = {{50.9, 6.9, 60.0}, {50.91, 6.9, 61.0}}}));
    const QString junk = home.filePath("junk.fit");
    writeFile(junk, "not a ride");

    ASSERT_FALSE(runTask(vm->openFile(ride)).error);
    ASSERT_EQ(vm->shownTracks().size(), 1u);
    EXPECT_EQ(vm->shownTracks()[0].id, "ride.fit#0");
    EXPECT_EQ(vm->shownTracks()[0].samples.size(), 5u);
    EXPECT_EQ(vm->shownTracks()[0].notice, "");
    EXPECT_FALSE(vm->errorMessage());

    ASSERT_FALSE(runTask(vm->showRideFile(damaged)).error);
    ASSERT_EQ(vm->shownTracks().size(), 2u);
    EXPECT_EQ(vm->shownTracks()[1].date, QDateTime(QDate(2024, 5, 1), QTime(7, 30)));
    EXPECT_EQ(vm->shownTracks()[1].notice, "Recovered 5 points; the file is damaged after 0:04:00");
    ASSERT_FALSE(runTask(vm->toggleTrack(damaged)).error);
    EXPECT_EQ(vm->shownTracks().back().notice, vm->shownTracks()[1].notice);

    ASSERT_FALSE(runTask(vm->openFile(tour)).error);
    EXPECT_EQ(vm->shownTracks().back().coordinates.size(), 2u);
    EXPECT_EQ(vm->shownTracks().back().name, "Tour.track");

    ASSERT_FALSE(runTask(vm->openFile(junk)).error);
    EXPECT_EQ(vm->errorMessage(), "Could not read junk.fit: not a FIT file");
    ASSERT_FALSE(runTask(vm->showRideFile(home.filePath("gone.track"))).error);
    EXPECT_EQ(vm->errorMessage(), "Could not read gone.track: No such file or directory");
    EXPECT_EQ(vm->shownTracks().size(), 4u);
}

TEST_F(PlannerViewModelTest, TrackSetIsResentOnlyWhenItChanged)
{
    build(1);
    formats::ImportedGPX imported;
    imported.tracks.push_back(ride(2000));
    vm->applyImported(imported, "big.gpx");
    EXPECT_EQ(page->count("setImportedTracks"), 1);

    tap(at(1));
    settle();
    vm->setTool(Tool::select);
    vm->handle(MapEvent{MapEvent::AnchorSelect{vm->route().anchors[0].id}});
    EXPECT_EQ(page->count("setImportedTracks"), 1) << "edits leave the tracks alone";
    EXPECT_GE(page->count("setRoute"), 1);
    EXPECT_TRUE(
        page->last("setAnchors").value("anchors").toArray()[0].toObject()["selected"].toBool());

    vm->handle(MapEvent{MapEvent::Ready{}});
    EXPECT_EQ(page->count("setImportedTracks"), 2) << "a new page gets everything";
    EXPECT_EQ(page->last("setImportedTracks").value("tracks").toArray()[0].toObject()["id"],
              "big.gpx#0");
}

TEST_F(PlannerViewModelTest, TrackImportConvertsToARoute)
{
    formats::ImportedGPX routesOnly;
    EXPECT_FALSE(vm->isDirty());
    vm->applyImported(routesOnly, "nothing.gpx");
    EXPECT_EQ(vm->errorMessage(), "No track in nothing.gpx");
    EXPECT_TRUE(vm->shownTracks().empty());

    routesOnly.routes.push_back({at(0), at(3)});
    routesOnly.routes.push_back({at(4), at(5), at(6)});
    vm->applyImported(routesOnly, "2023-08-14_Tour.gpx");
    ASSERT_EQ(vm->shownTracks().size(), 2u);
    EXPECT_EQ(vm->shownTracks()[1].id, "2023-08-14_Tour.gpx#1");
    EXPECT_EQ(vm->shownTracks()[1].date, QDateTime(QDate(2023, 8, 14), QTime(0, 0)));
    EXPECT_EQ(vm->shownTracks()[1].coordinates, (std::vector{at(4), at(5), at(6)}));

    // The same file again: a second copy of each track, shown and converted on its own.
    vm->applyImported(routesOnly, "2023-08-14_Tour.gpx");
    ASSERT_EQ(vm->shownTracks().size(), 4u);
    EXPECT_EQ(vm->shownTracks()[3].id, "2023-08-14_Tour.gpx#1.2");

    build(2);
    vm->setRoundTrip(true);
    ASSERT_TRUE(vm->saveDocument(home.filePath("Plan.gpx")));
    ASSERT_TRUE(vm->canUndo());
    settle();
    script->requests.clear();
    auto conversion = vm->convertImportToRoute();
    ASSERT_TRUE(conversion);
    settle();
    EXPECT_EQ(conversion->outcome(), app::MutationOutcome::completed);
    ASSERT_EQ(script->count(Op::mapMatch), 1u);
    EXPECT_EQ(script->requests.front().from, at(4));
    EXPECT_EQ(clicks(), (Ints{4, 5, 6}));
    EXPECT_EQ(vm->route().anchors[1].kind, Anchor::Kind::shaping);
    EXPECT_FALSE(vm->canUndo());
    // A new plan: named after the track, no file, no round trip, changes to save.
    EXPECT_EQ(vm->documentName(), "2023-08-14_Tour");
    EXPECT_FALSE(vm->documentURL());
    EXPECT_FALSE(vm->route().roundTrip);
    EXPECT_TRUE(vm->isDirty());
    QCoreApplication::processEvents();
    ASSERT_EQ(vm->shownTracks().size(), 3u) << "the converted copy is no longer shown";
    EXPECT_EQ(vm->shownTracks()[1].id, "2023-08-14_Tour.gpx#1");
}

TEST(Track, conversionAnchorsHoldTheRouteToTheLine)
{
    std::vector<Coordinate> zigzag;
    for (int i = 0; i < 102; ++i)
        zigzag.push_back({50.0 + (i % 2) * 0.002, 7.0 + 0.001 * i, 100.0 + i});
    const auto anchors = PlannerViewModel::conversionAnchors(zigzag);
    ASSERT_EQ(anchors.size(), 27u) << "2 via points and 25 shaping points (every 4th)";
    EXPECT_EQ(anchors.front().kind, Anchor::Kind::via);
    EXPECT_EQ(anchors.front().click, zigzag.front());
    EXPECT_EQ(anchors[1].click, zigzag[1]);
    EXPECT_EQ(anchors[2].click, zigzag[5]);
    EXPECT_EQ(anchors[1].kind, Anchor::Kind::shaping);
    EXPECT_EQ(anchors.back().click, zigzag.back());
    EXPECT_FALSE(anchors[1].snap);

    const auto two = PlannerViewModel::conversionAnchors({zigzag[0], zigzag[1]});
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[1].kind, Anchor::Kind::via);
}

TEST_F(PlannerViewModelTest, ToastsShowOneAtATimeForThreeSeconds)
{
    EXPECT_FALSE(toasts.current());
    toasts.show("Imported 2 rides", QString("Ready in the library"));
    toasts.show("Saved 'A'");
    toasts.show("Saved 'A'");
    ASSERT_TRUE(toasts.current());
    EXPECT_EQ(toasts.current()->message, "Imported 2 rides");
    EXPECT_EQ(toasts.current()->detail, "Ready in the library");
    EXPECT_EQ(clock->delay, std::chrono::seconds(3));

    ManualTimer::fire(*clock);
    const auto second = *toasts.current();
    EXPECT_EQ(second.message, "Saved 'A'");
    ManualTimer::fire(*clock);
    ASSERT_TRUE(toasts.current());
    EXPECT_EQ(toasts.current()->message, "Saved 'A'");
    EXPECT_NE(toasts.current()->id, second.id) << "the same text twice is two toasts";
    ManualTimer::fire(*clock);
    EXPECT_FALSE(toasts.current());
    EXPECT_FALSE(clock->pending);
}
