// Timing of the travelling-salesman computations: the exact search on seeded
// placements of the map (nodes per second at 20, 30 and 40 cities, and the
// spread of solution times over twenty 30-city placements), and a
// construction with 2-OPT on 50 cities.
#include "common/random.h"
#include "modules/tsp/tspbb.h"
#include "modules/tsp/tspcities.h"
#include "modules/tsp/tsptour.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

using namespace tarvik::tsp;

Cities Placement(int n, std::uint32_t seed) {
    tarvik::RandSeed = seed;
    return PlaceRandomCities(n);
}

// Stops after a number of steps, so that a hard placement still gives a rate.
class NodeCap : public SearchProgress {
public:
    explicit NodeCap(std::uint64_t cap) : cap_(cap) {}
    void yield() override { ++steps_; }
    bool stopRequested() const override { return steps_ >= cap_; }

private:
    std::uint64_t cap_;
    std::uint64_t steps_ = 0;
};

void BM_ExactNodesPerSecond(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::uint64_t nodes = 0;
    double seconds = 0;
    std::uint32_t seed = 1;
    for (auto _ : state) {
        const Cities cities = Placement(n, seed++);
        DistanceTable d(cities);
        NodeCap cap(2'000'000);
        const std::clock_t t0 = std::clock();
        const ExactResult r = BranchAndBound(cities, d, kInf, cap);
        seconds += static_cast<double>(std::clock() - t0) / CLOCKS_PER_SEC;
        nodes += r.nodes;
        benchmark::DoNotOptimize(r.best);
    }
    // Processor time: the machine may be shared.
    state.counters["nodes_per_cpu_s"] = static_cast<double>(nodes) / seconds;
}
BENCHMARK(BM_ExactNodesPerSecond)->Arg(20)->Arg(30)->Arg(40)->Iterations(10)->Unit(benchmark::kMillisecond);

void BM_ConstructionAndTwoOpt50(benchmark::State& state) {
    const Cities cities = Placement(50, 5);
    DistanceTable d(cities);
    for (auto _ : state) {
        Tour t = state.range(0) ? GreatestAngleTour(cities, d) : ClosestNeighbourTour(d, 1);
        const TwoOptResult r = TwoOpt(t, d);
        benchmark::DoNotOptimize(r.after);
    }
}
BENCHMARK(BM_ConstructionAndTwoOpt50)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Twenty seeded 30-city placements solved to the end: median, 90th percentile
// and the number within one second, in processor time.
void SpreadOf30CitySearches() {
    std::vector<double> times;
    std::uint64_t most = 0;
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        const Cities cities = Placement(30, seed * 1000);
        DistanceTable d(cities);
        SearchProgress progress;
        const std::clock_t t0 = std::clock();
        const ExactResult r = BranchAndBound(cities, d, kInf, progress);
        times.push_back(static_cast<double>(std::clock() - t0) / CLOCKS_PER_SEC);
        most = std::max(most, r.nodes);
    }
    std::vector<double> sorted = times;
    std::sort(sorted.begin(), sorted.end());
    const auto within = std::count_if(times.begin(), times.end(), [](double t) { return t <= 1.0; });
    std::printf(
        "30 cities, 20 placements (processor time): median %.3f s, 90th percentile %.3f s, max %.3f s, "
        "%ld of 20 within 1 s, most nodes %llu\n",
        sorted[9], sorted[17], sorted.back(), static_cast<long>(within),
        static_cast<unsigned long long>(most));
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    SpreadOf30CitySearches();
    return 0;
}
