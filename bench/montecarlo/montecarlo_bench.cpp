// The computation alone: pi with 400000 darts, the birthday problem with
// 100000 runs of 75 persons, the roulette distributions with 100000 runs of
// 100 bets; Benford with a million draws, the newsboy with 100000 runs, Legio
// risk with 100000 runs of 20 years, the scratch lottery with a million weeks
// of a million tickets and the lotto with 5000 draws.
#include "modules/montecarlo/benford.h"
#include "modules/montecarlo/birthday.h"
#include "modules/montecarlo/legio.h"
#include "modules/montecarlo/lotto.h"
#include "modules/montecarlo/mcshared.h"
#include "modules/montecarlo/newsboy.h"
#include "modules/montecarlo/pi.h"
#include "modules/montecarlo/roulettesystems.h"
#include "modules/montecarlo/scratch.h"

#include <benchmark/benchmark.h>

namespace {

using namespace tarvik::montecarlo;

void BM_Pi400000(benchmark::State& state) {
    StartGenerators(1u);
    tarvik::Progress progress;
    for (auto _ : state) {
        const PiResult r = RunPi({.draws = 400000, .fast = true}, ChooseStream(), progress);
        benchmark::DoNotOptimize(r.hits);
    }
}
BENCHMARK(BM_Pi400000)->Unit(benchmark::kMillisecond);

void BM_Birthday75x100000(benchmark::State& state) {
    StartGenerators(1u);
    tarvik::Progress progress;
    for (auto _ : state) {
        const BirthdayResult r =
            RunBirthday({.persons = 75, .dayDifference = 0, .runs = 100000}, ChooseStream(), progress);
        benchmark::DoNotOptimize(r.successes);
    }
}
BENCHMARK(BM_Birthday75x100000)->Unit(benchmark::kMillisecond);

void BM_RouletteDistributions100000x100(benchmark::State& state) {
    StartGenerators(1u);
    tarvik::Progress progress;
    for (auto _ : state) {
        const RouletteDistResult r =
            RunRouletteDistributions({.start = 100, .bets = 100, .runs = 100000}, progress);
        benchmark::DoNotOptimize(r.completed);
    }
}
BENCHMARK(BM_RouletteDistributions100000x100)->Unit(benchmark::kMillisecond);

void BM_Benford1000000(benchmark::State& state) {
    StartGenerators(1u);
    tarvik::Progress progress;
    const BenfordParams params{.bounds = {100, 1000, 10000, 100000, 1000000, 10000000, 100000000,
                                          1000000000LL, 1000000000000LL, 1000000000000000LL},
                               .draws = 1000000};
    for (auto _ : state) {
        const BenfordResult r = RunBenford(params, ChooseStream(), progress);
        benchmark::DoNotOptimize(r.counts);
    }
}
BENCHMARK(BM_Benford1000000)->Unit(benchmark::kMillisecond);

void BM_Newsboy100000(benchmark::State& state) {
    StartGenerators(1u);
    NewsboyParams params;
    params.runs = 100000;
    params.distribution = NewsboyDistribution::Triangular;
    for (auto _ : state) {
        const NewsboyResult r = RunNewsboy(params);
        benchmark::DoNotOptimize(r.mean);
    }
}
BENCHMARK(BM_Newsboy100000)->Unit(benchmark::kMillisecond);

void BM_Legio100000x20(benchmark::State& state) {
    StartGenerators(1u);
    tarvik::Progress progress;
    const LegioParams params{
        .rate = 14, .term = 20, .withdrawal = 15098, .same = 0.5, .fluctuation = 0.1, .runs = 100000};
    for (auto _ : state) {
        const LegioResult r = RunLegio(params, progress);
        benchmark::DoNotOptimize(r.lasted);
    }
}
BENCHMARK(BM_Legio100000x20)->Unit(benchmark::kMillisecond);

void BM_Scratch1000000WeeksOf1000000Tickets(benchmark::State& state) {
    StartGenerators(1u);
    tarvik::Progress progress;
    for (auto _ : state) {
        const ScratchResult r = RunScratch(1000000, 1000000, progress);
        benchmark::DoNotOptimize(r.counts);
    }
}
BENCHMARK(BM_Scratch1000000WeeksOf1000000Tickets)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Lotto5000(benchmark::State& state) {
    StartGenerators(1u);
    tarvik::Progress progress;
    LottoState s;
    for (auto _ : state) {
        s.Reset(45, 6, 5000);
        RunLotto(s, 1, progress);
        benchmark::DoNotOptimize(s.walk);
    }
}
BENCHMARK(BM_Lotto5000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
