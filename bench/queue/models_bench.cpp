// The heaviest runs of the two-moment and renewal pages: M/D/c with c = 500
// and rho = 0.99 (the order-745 system) for every output, D/M/c with c = 500,
// D/G/1 with CS2 = 0.01 and twelve t-values up to 75000, G/M/c with 1000
// servers, and M/G/1 with CS2 = 0.01 at rho = 0.99.
#include "modules/queue/queuemodel.h"

#include <benchmark/benchmark.h>

namespace {

using namespace tarvik::queue;

const ListTexts kT = {"0.01", "0.1", "0.5", "1", "2", "5", "10", "100", "1000", "10000", "50000", "75000"};
const ListTexts kP = {"0.1", "0.5", "0.9", "0.99", "0.999", "0.9999", "0.99999", "0.999999"};
const ListTexts kN = {"0", "1", "10", "100", "499", "500", "501", "744", "745", "1000", "1250"};

void Run(benchmark::State& state, Page page, PageInput in) {
    in.tvalues = kT;
    in.pvalues = kP;
    in.nvalues = kN;
    for (auto _ : state) {
        RunResult r = RunPage(page, in);
        benchmark::DoNotOptimize(r.report.lines.data());
    }
    state.SetLabel(in.Choice("output"));
}

const char* const kOutputs[] = {"standard", "wait", "percentiles", "states", "graphs"};

void BM_MDc500(benchmark::State& state) {
    Run(state, Page::MDC,
        {{{"c", "500"}, {"rho", "0.99"}}, {{"output", kOutputs[state.range(0)]}}, {}, {}, {}});
}
BENCHMARK(BM_MDc500)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

void BM_DMc500(benchmark::State& state) {
    static const char* const outputs[] = {"standard", "time-states", "customer-states", "graphs"};
    Run(state, Page::DMC,
        {{{"c", "500"}, {"rho", "0.99"}},
         {{"output", outputs[state.range(0)]}, {"graph", "time-states"}},
         {},
         {},
         {}});
}
BENCHMARK(BM_DMc500)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void BM_DG1Erlang(benchmark::State& state) {
    static const char* const outputs[] = {"wait", "percentiles", "graphs"};
    Run(state, Page::DG1,
        {{{"cs2", "0.01"}, {"rho", "0.99"}},
         {{"service", "erlang"}, {"output", outputs[state.range(0)]}},
         {},
         {},
         {}});
}
BENCHMARK(BM_DG1Erlang)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void BM_DG1PureErlang100(benchmark::State& state) {
    static const char* const outputs[] = {"standard", "time-states"};
    Run(state, Page::DG1,
        {{{"cs2", "100"}, {"rho", "0.99"}},
         {{"service", "pure-erlang"}, {"output", outputs[state.range(0)]}},
         {},
         {},
         {}});
}
BENCHMARK(BM_DG1PureErlang100)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

void BM_GMc1000(benchmark::State& state) {
    static const char* const arrivals[] = {"det", "erlang", "cox-gamma"};
    static const char* const ca2[] = {"0", "0.01", "2"};
    const auto k = static_cast<std::size_t>(state.range(0));
    Run(state, Page::GMC,
        {{{"c", "1000"}, {"rho", "0.999"}, {"ca2", ca2[k]}},
         {{"arrivals", arrivals[k]}, {"output", "percentiles"}},
         {},
         {},
         {}});
}
BENCHMARK(BM_GMc1000)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void BM_MG1Erlang(benchmark::State& state) {
    Run(state, Page::MG1,
        {{{"cs2", "0.01"}, {"rho", "0.99"}},
         {{"service", "erlang"}, {"output", kOutputs[state.range(0)]}},
         {},
         {},
         {}});
}
BENCHMARK(BM_MG1Erlang)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

} // namespace
