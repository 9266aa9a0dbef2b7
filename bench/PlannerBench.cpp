// The planner view model on big data: a refresh of a 100-anchor route with about 50,000 routed
// points (route snapshot, grade profile, and every push to the page serialised into its script),
// alone and while a 200,000-point ride is shown; and opening a 200,000-point ride GPX as a shown
// track, from the file to the "setImportedTracks" script; and the cue list following a change of
// a route with 500 turn cues.
#include "SyntheticRide.h"
#include "app/places/FavoritesStore.h"
#include "app/places/UserPOIStore.h"
#include "app/planner/CueList.h"
#include "app/planner/PlannerViewModel.h"
#include "formats/GPXWriter.h"
#include "map/MapBridge.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <cmath>

namespace {

using namespace zuvo;
using model::Anchor;
using model::Coordinate;

// Answers at once: every leg is a wavy line of 505 points with elevation.
class InstantEngine final : public routing::Engine {
public:
    QCoro::Task<Anchor::Snap> locate(Coordinate c, model::CostingProfile, std::stop_token) override
    {
        co_return Anchor::Snap{c, std::nullopt};
    }
    QCoro::Task<std::vector<model::RouteSegment>>
    route(Anchor from, Anchor to, model::CostingProfile, std::stop_token) override
    {
        const Coordinate a = from.routingPosition();
        const Coordinate b = to.routingPosition();
        std::vector<model::RouteSegment> segments;
        for (int s = 0; s < 5; ++s) {
            model::RouteSegment segment{.surface = s % 2 ? "asphalt" : "gravel"};
            for (int i = 0; i <= 101; ++i) {
                const double t = (s * 101 + i) / 505.0;
                segment.coordinates.push_back(
                    {a.latitude + (b.latitude - a.latitude) * t,
                     a.longitude + (b.longitude - a.longitude) * t + 0.0005 * std::sin(t * 40),
                     300 + 80 * std::sin(t * 9)});
            }
            segment.distance = 500;
            segment.cues = {{.sign = s % 2 ? model::Cue::Sign::left : model::Cue::Sign::right,
                             .position = segment.coordinates.front(),
                             .streetName = QStringLiteral("Straße %1").arg(s),
                             .text = QStringLiteral("Turn onto Straße %1").arg(s)}};
            segments.push_back(std::move(segment));
        }
        co_return segments;
    }
    QCoro::Task<std::vector<model::RouteSegment>> roundTrip(Coordinate, double,
                                                            std::optional<double>, int,
                                                            model::CostingProfile,
                                                            std::stop_token) override
    {
        co_return std::vector<model::RouteSegment>{};
    }
    QCoro::Task<std::vector<double>> elevation(std::vector<Coordinate>, std::stop_token) override
    {
        co_return std::vector<double>{};
    }
    QCoro::Task<std::vector<model::RouteSegment>>
    mapMatch(std::vector<Coordinate>, model::CostingProfile, std::stop_token) override
    {
        co_return std::vector<model::RouteSegment>{};
    }
};

// Takes the scripts and keeps their sizes, as the web view would take them.
class CountingPage final : public map::PageSink {
public:
    qsizetype bytes = 0;
    int setImportedTracks = 0;
    void runScript(const QString& script) override
    {
        bytes += script.size();
        if (QStringView(script).left(80).contains(QLatin1String("\"setImportedTracks\"")))
            ++setImportedTracks;
    }
};

struct Planner {
    QTemporaryDir home;
    QSettings settings{home.filePath("settings.ini"), QSettings::IniFormat};
    app::FavoritesStore favorites{home.filePath("favorites.json")};
    app::UserPOIStore userPOIs{home.filePath("custom-pois.json")};
    map::MapBridge bridge;
    CountingPage page;
    app::PlannerViewModel vm{std::make_unique<InstantEngine>(), favorites, userPOIs, settings};

    Planner()
    {
        bridge.setPage(&page);
        vm.setBridge(&bridge);
    }

    void planHundredAnchors()
    {
        for (int i = 0; i < 100; ++i)
            vm.addViaAt(11.0 + 0.01 * i, 48.0 + 0.004 * (i % 7));
    }
};

void refreshRoute(benchmark::State& state, bool withRide)
{
    Planner planner;
    planner.planHundredAnchors();
    if (withRide) {
        formats::ImportedGPX ride;
        ride.tracks.push_back(bench::syntheticRide(200'000));
        planner.vm.applyImported(ride, "ride.gpx");
    }
    const QUuid anchor = planner.vm.route().anchors[50].id;
    const int tracksBefore = planner.page.setImportedTracks;
    planner.page.bytes = 0;
    for (auto _ : state) {
        // A conversion needs no routing request: what it costs is the refresh.
        planner.vm.convertAnchor(anchor);
    }
    if (planner.page.setImportedTracks != tracksBefore)
        state.SkipWithError("a refresh sent the unchanged track set");
    state.counters["points"] = double(planner.vm.routeCoordinates().size());
    state.counters["scriptMB"] = double(planner.page.bytes) / 1e6 / double(state.iterations());
}

void refresh100AnchorRoute(benchmark::State& state)
{
    refreshRoute(state, false);
}
BENCHMARK(refresh100AnchorRoute)->Unit(benchmark::kMillisecond);

void refresh100AnchorRouteWithRideShown(benchmark::State& state)
{
    refreshRoute(state, true);
}
BENCHMARK(refresh100AnchorRouteWithRideShown)->Unit(benchmark::kMillisecond);

void showRideTrack200k(benchmark::State& state)
{
    Planner planner;
    const QString path = planner.home.filePath("2024-05-01-07-30-00.gpx");
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(
            formats::GPXWriter{"zuvo (Garmin)"}.write(bench::syntheticRide(200'000), "Synthetic"));
    }
    for (auto _ : state) {
        QEventLoop loop;
        auto shown = [&]() -> QCoro::Task<> {
            co_await planner.vm.toggleTrack(path);
            loop.quit();
        }();
        if (planner.vm.shownTracks().empty())
            loop.exec();
        state.PauseTiming();
        if (planner.vm.shownTracks().size() != 1)
            state.SkipWithError("the ride was not shown");
        planner.vm.removeShownTrack(path);
        state.ResumeTiming();
    }
}
BENCHMARK(showRideTrack200k)->Unit(benchmark::kMillisecond);

// What the cue list adds to a route change: all cues joined, instructions made, the list reset.
void cueListFollows500CueRoute(benchmark::State& state)
{
    Planner planner;
    planner.planHundredAnchors();
    app::CueListModel cues(planner.vm);
    for (auto _ : state)
        emit planner.vm.routeChanged();
    if (cues.rowCount() < 500)
        state.SkipWithError("fewer cues than planned");
    state.counters["cues"] = double(cues.rowCount());
}
BENCHMARK(cueListFollows500CueRoute)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
