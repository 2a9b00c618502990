// Figures of the finite-capacity, machine-repair and transient M/M/1 pages,
// each a whole page run as the window makes it (every waiting place kept).
#include "modules/queue/queuemodel.h"

#include <benchmark/benchmark.h>

namespace {

using namespace tarvik::queue;

void RunOnce(benchmark::State& state, Page page, const PageInput& in) {
    for (auto _ : state) {
        RunResult r = RunPage(page, in);
        benchmark::DoNotOptimize(r.report.lines.data());
        if (!r.inputError.empty()) state.SkipWithError(r.inputError.c_str());
    }
}

void BM_DMcNGraphs(benchmark::State& state) {
    PageInput in;
    in.fields = {{"c", "500"}, {"rho", "5"}, {"n", "500"}};
    in.choices = {{"type", "dmcn"}, {"output", "graphs"}};
    RunOnce(state, Page::FinCap, in);
}
BENCHMARK(BM_DMcNGraphs)->Unit(benchmark::kMillisecond);

void BM_MDcN(benchmark::State& state) {
    PageInput in;
    in.fields = {{"c", "500"}, {"rho", "0.99"}, {"n", "1000"}};
    in.choices = {{"type", "mdcn"}, {"output", "graphs"}};
    RunOnce(state, Page::FinCap, in);
}
BENCHMARK(BM_MDcN)->Unit(benchmark::kMillisecond);

void BM_MMcNLargest(benchmark::State& state) {
    PageInput in;
    in.fields = {{"c", "2500"}, {"rho", "0.99"}, {"n", "1000"}};
    in.choices = {{"type", "mmcn"}, {"output", "graphs"}};
    RunOnce(state, Page::FinCap, in);
}
BENCHMARK(BM_MMcNLargest)->Unit(benchmark::kMillisecond);

void BM_MachineRepairDeterministic(benchmark::State& state) {
    PageInput in;
    in.fields = {{"c", "250"}, {"m", "1000"}, {"nu", "0.01"}};
    in.choices = {{"service", "det"}, {"output", "graphs"}, {"graph", "wait"}};
    RunOnce(state, Page::FinSrc, in);
}
BENCHMARK(BM_MachineRepairDeterministic)->Unit(benchmark::kMillisecond);

void BM_TransientGraph(benchmark::State& state) {
    PageInput in;
    in.fields = {{"rho", "0.9"}, {"i", "50"}, {"j", "10"}, {"t", "1000"}};
    in.choices = {{"output", "std-graph"}};
    RunOnce(state, Page::MM1, in);
}
BENCHMARK(BM_TransientGraph)->Unit(benchmark::kMillisecond);

void BM_MMcNGraphPage(benchmark::State& state) {
    PageInput in;
    in.fields = {{"lambda", "50"}, {"es", "1"}, {"t", "0.1"}, {"c", "60"}, {"from", "0"}, {"to", "100"}};
    in.choices = {{"vary", "N"}, {"y", "wait"}};
    RunOnce(state, Page::MMCN, in);
}
BENCHMARK(BM_MMcNGraphPage)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
