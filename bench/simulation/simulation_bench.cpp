// The bare kernels (no live graph) over a simulation length of 1,000,000
// minutes: at the start values of each experiment and at rates near 100 per
// minute. The counter "events/s" is the figure that matters.
#include "common/random.h"
#include "modules/simulation/simkernels.h"

#include <benchmark/benchmark.h>

namespace {

using namespace tarvik::simulation;

constexpr double kLength = 1000000;

template <class Run> void Measure(benchmark::State& state, Run run) {
    std::uint64_t events = 0;
    for (auto _ : state) {
        tarvik::RandSeed = 12345;
        tarvik::Progress progress;
        const Outcome o = run(progress);
        benchmark::DoNotOptimize(o.station[0].totalSojourn);
        events += o.events;
    }
    state.counters["events/s"] = benchmark::Counter(static_cast<double>(events), benchmark::Counter::kIsRate);
    state.counters["events"] = static_cast<double>(events) / static_cast<double>(state.iterations());
}

void Single(benchmark::State& s) {
    Measure(s, [](tarvik::Progress& p) { return RunSingle({.length = kLength}, p); });
}
void SingleFast(benchmark::State& s) {
    Measure(
        s, [](tarvik::Progress& p) { return RunSingle({.lambda = 97.9, .mu = 99.9, .length = kLength}, p); });
}
void CompareMD1(benchmark::State& s) {
    Measure(s, [](tarvik::Progress& p) {
        return RunCompare({.deterministicService = true, .length = kLength}, p);
    });
}
void CompareMD1Fast(benchmark::State& s) {
    Measure(s, [](tarvik::Progress& p) {
        return RunCompare({.deterministicService = true, .lambda = 97.9, .mu = 99.9, .length = kLength}, p);
    });
}
void CompareDM1(benchmark::State& s) {
    Measure(s, [](tarvik::Progress& p) {
        return RunCompare({.deterministicService = false, .length = kLength}, p);
    });
}
void CompareDM1Fast(benchmark::State& s) {
    Measure(s, [](tarvik::Progress& p) {
        return RunCompare({.deterministicService = false, .lambda = 97.9, .mu = 99.9, .length = kLength}, p);
    });
}
void VaryingLoad(benchmark::State& s) {
    Measure(s, [](tarvik::Progress& p) { return RunVaryingLoad({.length = kLength}, p); });
}
void Pooling(benchmark::State& s) {
    Measure(s, [](tarvik::Progress& p) { return RunPooling({.length = kLength}, p); });
}
void PoolingFast(benchmark::State& s) {
    Measure(s, [](tarvik::Progress& p) {
        return RunPooling({.lambda1 = 97.9, .lambda2 = 97.9, .mu1 = 99.9, .mu2 = 99.9, .length = kLength}, p);
    });
}
void Tandem(benchmark::State& s) {
    Measure(s, [](tarvik::Progress& p) { return RunTandem({.length = kLength}, p); });
}
void TandemFast(benchmark::State& s) {
    Measure(s, [](tarvik::Progress& p) {
        return RunTandem({.lambda = 97.9, .mu1 = 99.9, .mu2 = 99.9, .length = kLength}, p);
    });
}
void Priority(benchmark::State& s) {
    Measure(s, [](tarvik::Progress& p) { return RunPriority({.length = kLength}, p); });
}
void PriorityFast(benchmark::State& s) {
    Measure(s, [](tarvik::Progress& p) {
        return RunPriority({.lambda1 = 48.9, .lambda2 = 48.9, .mu1 = 99.9, .mu2 = 99.9, .length = kLength},
                           p);
    });
}

} // namespace

BENCHMARK(Single)->Unit(benchmark::kMillisecond);
BENCHMARK(SingleFast)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(CompareMD1)->Unit(benchmark::kMillisecond);
BENCHMARK(CompareMD1Fast)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(CompareDM1)->Unit(benchmark::kMillisecond);
BENCHMARK(CompareDM1Fast)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(VaryingLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(Pooling)->Unit(benchmark::kMillisecond);
BENCHMARK(PoolingFast)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(Tandem)->Unit(benchmark::kMillisecond);
BENCHMARK(TandemFast)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(Priority)->Unit(benchmark::kMillisecond);
BENCHMARK(PriorityFast)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
