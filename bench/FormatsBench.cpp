// The file formats on a synthetic 200,000-second ride: FIT import (about
// 6 MB), GPX import (about 75 MB with time, elevation and Garmin
// extensions), ride GPX writing, and a FIT course of a 50,000-point route. Bytes per second are
// those of the file read or written.
#include "SyntheticRide.h"
#include "formats/FITCourseWriter.h"
#include "formats/FITImporter.h"
#include "formats/GPXImporter.h"
#include "formats/GPXWriter.h"

#include <benchmark/benchmark.h>

namespace {

using namespace zuvo;

constexpr std::size_t rideLength = 200'000;

const std::vector<model::TrackSample>& ride()
{
    static const auto samples = bench::syntheticRide(rideLength);
    return samples;
}

const formats::GPXWriter rideWriter{.creator = QStringLiteral("zuvo (Garmin)")};

void fitImport200k(benchmark::State& state)
{
    const QByteArray file = bench::syntheticFit(ride());
    for (auto _ : state) {
        auto result = formats::FITImporter::read(file);
        if (!result || result->tracks.at(0).size() != rideLength)
            state.SkipWithError("the synthetic FIT file did not read back");
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * file.size());
    state.counters["fileMB"] = double(file.size()) / 1e6;
}
BENCHMARK(fitImport200k)->Unit(benchmark::kMillisecond);

void gpxImport200k(benchmark::State& state)
{
    const QByteArray file = rideWriter.write(ride(), QStringLiteral("Synthetic"));
    for (auto _ : state) {
        auto result = formats::GPXImporter::read(file);
        if (!result || result->tracks.at(0).size() != rideLength)
            state.SkipWithError("the synthetic GPX file did not read back");
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * file.size());
    state.counters["fileMB"] = double(file.size()) / 1e6;
}
BENCHMARK(gpxImport200k)->Unit(benchmark::kMillisecond);

void rideWrite200k(benchmark::State& state)
{
    qsizetype size = 0;
    for (auto _ : state) {
        const QByteArray file = rideWriter.write(ride(), QStringLiteral("Synthetic"));
        size = file.size();
        benchmark::DoNotOptimize(file.constData());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * size);
}
BENCHMARK(rideWrite200k)->Unit(benchmark::kMillisecond);

// A FIT course of a 50,000-point planned route (the ride's first 50,000
// points in ten legs): the goal is under 20 ms.
void fitCourseWrite50k(benchmark::State& state)
{
    model::Route route;
    const std::size_t legLength = 5'000;
    for (std::size_t start = 0; start < 50'000; start += legLength) {
        model::RouteSegment segment;
        for (std::size_t i = start; i <= std::min(start + legLength, rideLength - 1); ++i)
            segment.coordinates.push_back(ride()[i].coordinate);
        route.anchors.emplace_back(model::Anchor::Kind::via, segment.coordinates.front());
        route.legs.push_back(model::RouteLeg{{segment}});
    }
    route.anchors.emplace_back(model::Anchor::Kind::via, ride()[50'000].coordinate);
    const formats::FITCourseWriter writer{.created = QDateTime::currentDateTimeUtc()};
    qsizetype size = 0;
    for (auto _ : state) {
        const QByteArray file = writer.write(route, model::CostingKind::road, "Synthetic");
        size = file.size();
        benchmark::DoNotOptimize(file.constData());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * size);
    state.counters["points"] = double(route.coordinates().size());
}
BENCHMARK(fitCourseWrite50k)->Unit(benchmark::kMillisecond);

} // namespace
