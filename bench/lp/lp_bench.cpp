// Speed of the LP engine: the pivot, a dense model solved with its report,
// reading the largest model text, and the netlib models beside glpsol.
#include "cli/solvecli.h"
#include "modules/lp/lprun.h"
#include "modules/lp/lpsimplex.h"
#include "modules/lp/matgen.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace lp = tarvik::lp;

namespace {

// A dense tableau of m rows and n columns (the right-hand side included) with
// entries in [1, 2): every pivot touches every row.
lp::LPModel DenseTableau(int m, int n) {
    lp::LPModel model;
    model.m = m;
    model.n = n - 1;
    model.stride = (static_cast<std::size_t>(n) + 7) / 8 * 8;
    model.tableau.assign(static_cast<std::size_t>(m + 1) * model.stride, 0);
    std::mt19937 gen(7);
    std::uniform_real_distribution<double> u(1, 2);
    for (int i = 0; i <= m; ++i)
        for (int j = 1; j <= n; ++j) model.at(i, j) = u(gen);
    model.basis.assign(m + 1, 1);
    return model;
}

void BM_Pivot(benchmark::State& state) {
    const int m = static_cast<int>(state.range(0)), n = static_cast<int>(state.range(1));
    lp::LPModel model = DenseTableau(m, n);
    std::vector<char> removed(m + 1, 0);
    std::mt19937 gen(11);
    for (auto _ : state) {
        int r = 1 + static_cast<int>(gen() % m), e = 1 + static_cast<int>(gen() % (n - 1));
        if (model.at(r, e) == 0) model.at(r, e) = 1;
        lp::Pivot(model, r, e, removed);
        // Keep the numbers in range so that the loop measures arithmetic, not denormals.
        state.PauseTiming();
        for (int i = 0; i <= m; ++i)
            for (int j = 1; j <= n; ++j) {
                lp::Real& v = model.at(i, j);
                if (v == 0 || std::fabs(v) > 1e6 || std::fabs(v) < 1e-6) v = 1.5;
            }
        state.ResumeTiming();
    }
    state.counters["pivots/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Pivot)->Args({200, 400})->Args({500, 1000})->Args({1000, 1000})->Unit(benchmark::kMillisecond);

// max sum c_j x_j subject to m dense rows a x <= b with positive data: x = 0 is feasible.
std::string DenseModel(int m, int n, unsigned seed) {
    std::mt19937 gen(seed);
    std::uniform_int_distribution<int> coef(1, 99), cost(1, 50);
    std::ostringstream text;
    text << "max";
    for (int j = 1; j <= n; ++j) text << (j > 1 ? " + " : " ") << cost(gen) << "x" << j;
    text << ";\r\n";
    for (int i = 1; i <= m; ++i) {
        for (int j = 1; j <= n; ++j) text << (j > 1 ? " + " : "") << coef(gen) << "x" << j;
        text << " <= " << 1000 + coef(gen) * 100 << ";\r\n";
    }
    return text.str();
}

void BM_DenseSolveWithReport(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    std::string text = DenseModel(size, size, 3);
    long iterations = 0;
    for (auto _ : state) {
        lp::LPProgress progress;
        lp::LPRunResult run = lp::RunLP(text, {}, progress);
        if (run.status != 0) state.SkipWithError("not optimal");
        iterations = run.iterations;
        benchmark::DoNotOptimize(run.output.data());
    }
    state.counters["simplex iterations"] = static_cast<double>(iterations);
}
BENCHMARK(BM_DenseSolveWithReport)->Arg(200)->Arg(500)->Unit(benchmark::kMillisecond)->Iterations(1);

// The largest admissible model: 500 dense rows over 500 variables, 1000 columns.
void BM_ReadLargestModel(benchmark::State& state) {
    std::string text = DenseModel(500, 500, 5);
    for (auto _ : state) {
        lp::ReadSink sink;
        lp::LPReadResult read = lp::ReadLPModel(text, sink);
        if (!read.success) state.SkipWithError(read.message.c_str());
        benchmark::DoNotOptimize(read.model.tableau.data());
    }
    state.counters["text MB"] = static_cast<double>(text.size()) / 1e6;
}
BENCHMARK(BM_ReadLargestModel)->Unit(benchmark::kMillisecond);

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Every netlib model through the command-line solver and through glpsol, each
// as its own process (so both totals hold a program start per model), and the
// solver's own time inside the process beside them (each the best of three
// rounds). The ratio is tarvik-solve's
// wall time over glpsol's, per model and in total.
void BM_NetlibTotal(benchmark::State& state) {
    const std::string dir = std::string(TARVIK_TEST_DATA) + "/netlib";
    if (!std::filesystem::exists(dir)) {
        state.SkipWithError("no netlib models");
        return;
    }
    std::vector<std::string> names;
    {
        std::ifstream optima(dir + "/optima.tsv");
        std::string line;
        while (std::getline(optima, line)) names.push_back(line.substr(0, line.find('\t')));
    }
    struct Time {
        std::string name;
        double seconds;
    };
    std::vector<Time> times;
    double ours = 0, inside = 0, glpk = 0;
    const bool haveGlpsol = std::system("glpsol --version > /dev/null 2>&1") == 0;
    const std::string solve = TARVIK_SOLVE;
    // Each figure is the best of a few rounds, the two programs taking turns:
    // on a machine shared with other work the best round is the steadiest.
    constexpr int kRounds = 3;
    for (auto _ : state) {
        for (const std::string& name : names) {
            const std::string model = dir + "/" + name;
            double mine = 1e30, solveOnly = 1e30, theirs = haveGlpsol ? 1e30 : 0;
            for (int round = 0; round < kRounds; ++round) {
                auto t0 = std::chrono::steady_clock::now();
                if (std::system((solve + " --brief " + model + ".tlp > /dev/null 2>&1").c_str()) != 0)
                    state.SkipWithError("tarvik-solve failed");
                mine = std::min(mine, Seconds(t0));
                t0 = std::chrono::steady_clock::now();
                std::ostringstream out, err;
                std::istringstream in;
                tarvik::cli::RunSolve({"--brief", model + ".tlp"}, in, out, err);
                solveOnly = std::min(solveOnly, Seconds(t0));
                if (haveGlpsol) {
                    t0 = std::chrono::steady_clock::now();
                    if (std::system(("glpsol --lp " + model + ".lp > /dev/null 2>&1").c_str()) != 0)
                        state.SkipWithError("glpsol failed");
                    theirs = std::min(theirs, Seconds(t0));
                }
            }
            ours += mine;
            inside += solveOnly;
            glpk += theirs;
            std::printf("  %-10s tarvik-solve %8.3f s (in process %8.3f s)   glpsol %8.3f s   ratio %5.2f\n",
                        name.c_str(), mine, solveOnly, theirs, theirs > 0 ? mine / theirs : 0.0);
            times.push_back({name, mine});
        }
    }
    std::printf(
        "  total: tarvik-solve %.3f s (in process %.3f s), glpsol %.3f s, ratio %.2f (in process %.2f)\n",
        ours, inside, glpk, glpk > 0 ? ours / glpk : 0.0, glpk > 0 ? inside / glpk : 0.0);
    // The five slowest models, with the simplex passes of the timed (reportless) run.
    lp::LPSettings brief;
    brief.report = false;
    std::sort(times.begin(), times.end(), [](const Time& a, const Time& b) { return a.seconds > b.seconds; });
    for (std::size_t k = 0; k < times.size() && k < 5; ++k) {
        std::ifstream file(dir + "/" + times[k].name + ".tlp", std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        lp::LPProgress progress;
        const lp::LPRunResult run = lp::RunLP(text.str(), brief, progress);
        std::printf("  slowest %zu: %-10s %8.3f s  %6ld pivots\n", k + 1, times[k].name.c_str(),
                    times[k].seconds, run.iterations);
    }
    state.counters["tarvik-solve s"] = ours;
    state.counters["in process s"] = inside;
    state.counters["glpsol s"] = glpk;
}
BENCHMARK(BM_NetlibTotal)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
