// Timing of the Markov chain analyses on dense chains of 100 states.
// The progress sink counts its calls and measures the longest stretch of
// computation between two of them (how long a "Stop" could wait).
#include "modules/markov/markovanalysis.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>

namespace {

using namespace tarvik::markov;
using Clock = std::chrono::steady_clock;

Chain DenseChain(ChainType type, int n, double rowRate) {
    std::mt19937 rng(42);
    std::uniform_real_distribution<double> u(0.01, 1);
    Chain c;
    c.type = type;
    c.n = n;
    c.p.assign(static_cast<std::size_t>(n) * n, 0.0);
    c.cost.assign(static_cast<std::size_t>(n), 1.0);
    if (type == ChainType::Continuous) c.transitionCost.assign(static_cast<std::size_t>(n), 0.5);
    for (int i = 0; i < n; ++i) {
        double sum = 0;
        for (int j = 0; j < n; ++j)
            if (type == ChainType::Discrete || i != j)
                sum += c.p[static_cast<std::size_t>(i) * n + j] = u(rng);
        for (int j = 0; j < n; ++j) c.p[static_cast<std::size_t>(i) * n + j] *= rowRate / sum;
    }
    return c;
}

class GapProgress : public MarkovProgress {
public:
    void yield() override {
        const auto now = Clock::now();
        maxGap = std::max(maxGap, std::chrono::duration<double>(now - last).count());
        last = now;
        ++yields;
    }
    void begin() override { last = Clock::now(); }
    Clock::time_point last = Clock::now();
    double maxGap = 0;
    long yields = 0;
};

AnalysisParams Params(Analysis a, double t) {
    AnalysisParams p;
    p.analysis = a;
    p.times = {t};
    p.endStates = {1, 2, 3, 4};
    p.stateA = 50;
    return p;
}

void Run(benchmark::State& state, const Chain& chain, const AnalysisParams& params) {
    double maxGap = 0;
    long yields = 0;
    for (auto _ : state) {
        GapProgress progress;
        Report r = RunAnalysis(chain, params, progress);
        benchmark::DoNotOptimize(r.lines.data());
        maxGap = std::max(maxGap, progress.maxGap);
        yields = progress.yields;
    }
    state.counters["max_ms_between_yields"] = maxGap * 1000;
    state.counters["yields"] = static_cast<double>(yields);
}

void BM_DiscreteStructure(benchmark::State& s) {
    Run(s, DenseChain(ChainType::Discrete, 100, 1), Params(Analysis::Structure, 1));
}
void BM_DiscreteSteadyState(benchmark::State& s) {
    Run(s, DenseChain(ChainType::Discrete, 100, 1), Params(Analysis::SteadyState, 1));
}
void BM_DiscreteTransient5000(benchmark::State& s) {
    Run(s, DenseChain(ChainType::Discrete, 100, 1), Params(Analysis::Transient, 5000));
}
void BM_DiscreteFirstPassage5000(benchmark::State& s) {
    Run(s, DenseChain(ChainType::Discrete, 100, 1), Params(Analysis::FirstPassage, 5000));
}
void BM_ContinuousStructure(benchmark::State& s) {
    Run(s, DenseChain(ChainType::Continuous, 100, 20), Params(Analysis::Structure, 1));
}
void BM_ContinuousSteadyState(benchmark::State& s) {
    Run(s, DenseChain(ChainType::Continuous, 100, 20), Params(Analysis::SteadyState, 1));
}
// nu = 20.0001 and t = 5000: nu t is about 100000.
void BM_ContinuousTransientNuT100000(benchmark::State& s) {
    Run(s, DenseChain(ChainType::Continuous, 100, 20), Params(Analysis::Transient, 5000));
}
void BM_ContinuousFirstPassageNuT100000(benchmark::State& s) {
    Run(s, DenseChain(ChainType::Continuous, 100, 20), Params(Analysis::FirstPassage, 5000));
}

BENCHMARK(BM_DiscreteStructure)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DiscreteSteadyState)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DiscreteTransient5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DiscreteFirstPassage5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ContinuousStructure)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ContinuousSteadyState)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ContinuousTransientNuT100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ContinuousFirstPassageNuT100000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
