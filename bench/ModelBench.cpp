// Model algorithms on a synthetic 200,000-point ride. Each case reports the
// heap allocations it makes per run, which must stay a handful, never one
// per point.
#include "model/GradeProfile.h"
#include "model/Polyline.h"

#include <atomic>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdlib>
#include <new>
#include <vector>

namespace {

std::atomic<long> allocations{0};

} // namespace

void* operator new(std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace {

using zuvo::model::Coordinate;

// A wandering ride of about 2.5 m between points through rolling hills.
std::vector<Coordinate> syntheticRide(std::size_t count)
{
    std::vector<Coordinate> ride;
    ride.reserve(count);
    double lat = 48.0;
    double lon = 11.0;
    for (std::size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i);
        lat += 0.00002 * std::cos(t / 900.0);
        lon += 0.00003 * std::sin(t / 1300.0) + 0.00001;
        ride.push_back({lat, lon, 500.0 + 120.0 * std::sin(t / 4000.0) + 3.0 * std::sin(t / 7.0)});
    }
    return ride;
}

template <typename Body>
void measure(benchmark::State& state, Body body)
{
    long before = allocations.load();
    for (auto _ : state)
        body();
    state.counters["allocs"] = benchmark::Counter(static_cast<double>(allocations.load() - before),
                                                  benchmark::Counter::kAvgIterations);
}

void simplify200k(benchmark::State& state)
{
    const auto ride = syntheticRide(200'000);
    measure(state, [&] { benchmark::DoNotOptimize(zuvo::model::simplified(ride, 30.0)); });
}
BENCHMARK(simplify200k)->Unit(benchmark::kMillisecond);

void gradeProfile200k(benchmark::State& state)
{
    const auto ride = syntheticRide(200'000);
    measure(state, [&] {
        benchmark::DoNotOptimize(zuvo::model::GradeProfile::compute(ride, 7, 6.0, 150.0));
    });
}
BENCHMARK(gradeProfile200k)->Unit(benchmark::kMillisecond);

void distanceToPolyline10k(benchmark::State& state)
{
    const auto line = syntheticRide(10'000);
    const Coordinate probe{48.05, 11.1};
    measure(state, [&] { benchmark::DoNotOptimize(zuvo::model::distanceMeters(probe, line)); });
}
BENCHMARK(distanceToPolyline10k)->Unit(benchmark::kMicrosecond);

} // namespace
