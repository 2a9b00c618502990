// Time to write one table of twelve lines, and to prepare one graph, for the
// heaviest parameters the tables admit.
#include "modules/tables/distributions.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

using namespace tarvik::tables;

namespace {

const std::vector<double> kPercentiles = {1e-8, 1e-6, 1e-4, 0.01, 0.1,    0.3,
                                          0.5,  0.7,  0.9,  0.99, 0.9999, 1 - 1e-8};

// Twelve x values from mu - 6 sigma to mu + 6 sigma (integers for the discrete tables).
std::vector<double> Spread(double mu, double sigma, bool integer) {
    std::vector<double> xs;
    for (int i = 0; i < 12; ++i) {
        double x = mu + (i - 5.5) * sigma * 12.0 / 11.0;
        if (integer) x = std::max(0.0, std::floor(x));
        xs.push_back(x);
    }
    return xs;
}

void ProbabilityTable(benchmark::State& state, Distribution d, Parameters params) {
    const GraphMoments m = Moments(d, params);
    const std::vector<double> xs = Spread(m.mu, m.sigma, IsDiscrete(d));
    for (auto _ : state)
        for (double x : xs) benchmark::DoNotOptimize(ProbabilityLine(d, params, x));
}

void PercentileTable(benchmark::State& state, Distribution d, Parameters params) {
    for (auto _ : state)
        for (double p : kPercentiles) benchmark::DoNotOptimize(PercentileLine(d, params, p));
}

void Graph(benchmark::State& state, Distribution d, Parameters params) {
    for (auto _ : state) benchmark::DoNotOptimize(PrepareGraph(d, params));
}

Parameters Binomial(long long n, double p) {
    Parameters q;
    q.n = n;
    q.p = p;
    return q;
}
Parameters Poisson(double lambda) {
    Parameters q;
    q.lambda = lambda;
    return q;
}
Parameters Hyper(long long r, long long w, long long n) {
    Parameters q;
    q.red = r;
    q.white = w;
    q.n = n;
    return q;
}
Parameters Df(double v, double w = 0) {
    Parameters q;
    q.v = v;
    q.w = w;
    return q;
}
Parameters Gamma(double s) {
    Parameters q;
    q.s = s;
    return q;
}

} // namespace

BENCHMARK_CAPTURE(ProbabilityTable, normal, Distribution::Normal, Parameters{})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ProbabilityTable, binomial_1e6, Distribution::Binomial, Binomial(1000000, 0.5))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ProbabilityTable, binomial_1000, Distribution::Binomial, Binomial(1000, 0.5))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ProbabilityTable, poisson_1e6, Distribution::Poisson, Poisson(1e6))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ProbabilityTable, poisson_1000, Distribution::Poisson, Poisson(1000))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ProbabilityTable, hyper_1e6, Distribution::Hypergeometric, Hyper(500000, 500000, 500000))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ProbabilityTable, hyper_skew, Distribution::Hypergeometric, Hyper(300000, 700000, 100000))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ProbabilityTable, chisquare_1e6, Distribution::ChiSquare, Df(1e6))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ProbabilityTable, student_1e6, Distribution::Student, Df(1e6))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ProbabilityTable, fisher_1e6, Distribution::Fisher, Df(1e6, 1e6))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ProbabilityTable, gamma_001, Distribution::Gamma, Gamma(0.01))
    ->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(PercentileTable, normal, Distribution::Normal, Parameters{})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PercentileTable, chisquare_1, Distribution::ChiSquare, Df(1))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PercentileTable, chisquare_1e6, Distribution::ChiSquare, Df(1e6))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PercentileTable, student_1, Distribution::Student, Df(1))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PercentileTable, student_1e6, Distribution::Student, Df(1e6))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PercentileTable, fisher_1_5, Distribution::Fisher, Df(1, 5))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PercentileTable, fisher_1e6, Distribution::Fisher, Df(1e6, 1e6))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PercentileTable, fisher_1e6_5, Distribution::Fisher, Df(1e6, 5))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PercentileTable, gamma_10, Distribution::Gamma, Gamma(10))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PercentileTable, gamma_001, Distribution::Gamma, Gamma(0.01))
    ->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(Graph, binomial, Distribution::Binomial, Binomial(100, 0.5))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Graph, poisson, Distribution::Poisson, Poisson(100))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Graph, hypergeometric, Distribution::Hypergeometric, Hyper(50, 50, 50))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Graph, chisquare, Distribution::ChiSquare, Df(100))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Graph, student, Distribution::Student, Df(100))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Graph, fisher, Distribution::Fisher, Df(100, 100))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Graph, gamma, Distribution::Gamma, Gamma(0.1))->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
