// The computation alone: pi with 400000 darts, the birthday problem with
// 100000 runs of 75 persons, the roulette distributions with 100000 runs of
// 100 bets.
#include "modules/montecarlo/birthday.h"
#include "modules/montecarlo/mcshared.h"
#include "modules/montecarlo/pi.h"
#include "modules/montecarlo/roulettesystems.h"

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

} // namespace

BENCHMARK_MAIN();
