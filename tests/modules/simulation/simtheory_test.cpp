// Theory against closed forms written another way (long double; the number
// present, the rest by Little's law; Erlang C from Erlang B; the conservation
// law), batch-means intervals against theory, batch figures against the report.
#include "common/random.h"
#include "modules/simulation/simintervals.h"
#include "modules/simulation/simreport.h"
#include "modules/simulation/simtheory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace tarvik::simulation {
namespace {

using LD = long double;

void ExpectTheory(const std::optional<double>& got, LD want, const std::string& what) {
    ASSERT_TRUE(got.has_value()) << what;
    EXPECT_NEAR(*got, static_cast<double>(want), 1e-12 * std::max<LD>(1, std::fabs(want))) << what;
}

// D/M/1: sigma = exp(-(1 - sigma)/rho) by fixed-point iteration from 0.
LD Sigma(LD rho) {
    LD s = 0;
    for (int i = 0; i < 200000; ++i) s = std::exp(-(1 - s) / rho);
    return s;
}

// M/M/c: the chance of waiting from Erlang B, B(k) = a B(k-1) / (k + a B(k-1)).
LD ErlangCFromB(int c, LD a) {
    LD b = 1;
    for (int k = 1; k <= c; ++k) b = a * b / (k + a * b);
    return c * b / (c - a * (1 - b));
}

TEST(Theory, QueueColumnsMatchTheMeanNumberPresentAndLittlesLaw) {
    struct Case {
        const char* what;
        TheoryTable table;
        int column;
        LD lambda, busy, delayed, inSystem;
    };
    const LD s98 = Sigma(0.98L), s5 = Sigma(0.5L);
    const LD c2 = ErlangCFromB(2, 1.6L);
    const Case cases[] = {
        {"M/M/1", SingleTheory({.lambda = 1, .mu = 1.25}), 0, 1, 0.8L, 0.8L, 0.8L / 0.2L},
        {"M/D/1", SingleTheory({.lambda = 0.9, .mu = 1, .detService = true}), 0, 0.9L, 0.9L, 0.9L,
         0.9L + 0.81L / (2 * 0.1L)},
        {"D/M/1", SingleTheory({.lambda = 0.98, .mu = 1, .detArrivals = true}), 0, 0.98L, 0.98L, s98,
         0.98L / (1 - s98)},
        {"D/D/1", SingleTheory({.lambda = 0.5, .mu = 2, .detArrivals = true, .detService = true}), 0, 0.5L,
         0.25L, 0, 0.25L},
        {"compare M/D/1", CompareTheory({.deterministicService = true}), 0, 1, 0.8L, 0.8L,
         0.8L + 0.64L / 0.4L},
        {"compare M/M/1", CompareTheory({.deterministicService = false}), 1, 1, 0.8L, 0.8L, 4},
        {"compare D/M/1", CompareTheory({.deterministicService = false, .lambda = 0.5, .mu = 1}), 0, 0.5L,
         0.5L, s5, 0.5L / (1 - s5)},
        {"load 1", VaryingLoadTheory({.rho1 = 0.95, .rho2 = 0.1}), 0, 0.95L, 0.95L, 0.95L, 19},
        {"load 2", VaryingLoadTheory({.rho1 = 0.95, .rho2 = 0.1}), 1, 0.1L, 0.1L, 0.1L, 0.1L / 0.9L},
        {"tandem after M/M/1 (Burke)", TandemTheory({.mu2 = 2, .detService2 = true}), 1, 1, 0.5L, 0.5L,
         0.5L + 0.25L / 1},
        {"tandem after D/D/1", TandemTheory({.mu1 = 2, .detArrivals = true, .detService1 = true}), 1, 1, 0.8L,
         Sigma(0.8L), 0.8L / (1 - Sigma(0.8L))},
        {"pooled M/M/2", PoolingTheory({.lambda1 = 0.7, .lambda2 = 0.9, .mu1 = 1, .mu2 = 1}), 1, 1.6L, 0.8L,
         c2, 1.6L + c2 * 0.8L / 0.2L},
        // Two M/D/1 queues at load 0.8: weighed by arrival rate, their averages obey Little's law.
        {"separate M/D/1 pair", PoolingTheory({.lambda1 = 0.5, .mu1 = 0.625, .detService = true}), 0, 1.5L,
         0.8L, 0.8L, 2 * (0.8L + 0.64L / 0.4L)},
    };
    for (const Case& c : cases) {
        const auto col = static_cast<std::size_t>(c.column);
        // Pooling has its two busy rows first; the other tables one.
        const std::size_t first = c.table.size() == 7 ? 1 : 0;
        const LD queue = c.inSystem - (first ? 2 * c.busy : c.busy);
        ExpectTheory(c.table[0][col], c.busy, c.what);
        ExpectTheory(c.table[first + 1][col], c.delayed, c.what);
        ExpectTheory(c.table[first + 2][col], c.inSystem, c.what);
        ExpectTheory(c.table[first + 3][col], queue, c.what);
        ExpectTheory(c.table[first + 4][col], c.inSystem / c.lambda, c.what);
        ExpectTheory(c.table[first + 5][col], queue / c.lambda, c.what);
    }
}

TEST(Theory, PriorityWaitsKeepTheConservationLawAndFifoIsPollaczekKhinchine) {
    const PrioritySettings s{.lambda1 = 0.8, .lambda2 = 0.5, .mu1 = 2, .mu2 = 1.5, .detService1 = true};
    const TheoryTable t = PriorityTheory(s);
    const LD r1 = 0.4L, r2 = 0.5L / 1.5L, rho = r1 + r2, lambda = 1.3L;
    // The mixed service time: E[S] and E[S^2] = Var + mean^2 per type.
    const LD es2 = (0.8L * (0 + 0.25L) + 0.5L * (2 / 2.25L)) / lambda;
    const LD fifo = lambda * es2 / (2 * (1 - rho));
    for (int row : {1, 2, 3}) ExpectTheory(t[static_cast<std::size_t>(row)][0], fifo, "FIFO wait");
    ExpectTheory(t[6][0], lambda * fifo + rho, "FIFO number present");
    // Kleinrock: rho1 Wq1 + rho2 Wq2 = rho Wq(FIFO); Wq1 from the residual work alone.
    const LD wq1 = lambda * es2 / 2 / (1 - r1);
    ExpectTheory(t[1][1], wq1, "type 1 wait");
    ExpectTheory(t[2][1], (rho * fifo - r1 * wq1) / r2, "type 2 wait");
    ExpectTheory(t[4][1], 0.8L * wq1, "type 1 queue");
    ExpectTheory(t[0][1], rho, "busy");
}

TEST(Theory, FiguresWithoutAClosedFormHaveNoneButTheBusyFraction) {
    // Pooled: two service rates, deterministic service; tandem behind M/D/1 and D/M/1.
    for (const TheoryTable& t : {PoolingTheory({.mu2 = 2}), PoolingTheory({.detService = true}),
                                 TandemTheory({.detService1 = true}), TandemTheory({.detArrivals = true})}) {
        ASSERT_TRUE(t[0][1].has_value());
        for (std::size_t r = t.size() - 5; r < t.size(); ++r) EXPECT_FALSE(t[r][1].has_value()) << r;
    }
    ExpectTheory(PoolingTheory({.mu2 = 2})[1][1], (1 / 1.25L + 0.5L) / 2, "each pooled server half the load");
}

TEST(BatchMeans, IntervalsCoverTheTheoryOfMM1InNinetyOfAHundredRuns) {
    const SingleSettings s{.lambda = 1, .mu = 1.25, .length = 40000};
    const TheoryTable theory = SingleTheory(s);
    std::array<int, 6> covered{};
    Progress p;
    for (std::uint32_t seed = 1; seed <= 100; ++seed) {
        RandSeed = seed * 7919u;
        const auto iv = BatchIntervals(RunSingle(s, p), SingleBatchFigures);
        ASSERT_EQ(iv.size(), 6u);
        for (std::size_t r = 0; r < 6; ++r)
            if (iv[r][0] && iv[r][0]->low <= *theory[r][0] && *theory[r][0] <= iv[r][0]->high) ++covered[r];
    }
    for (std::size_t r = 0; r < 6; ++r) EXPECT_GE(covered[r], 90) << SingleResults(s, nullptr).captions[r];
}

TEST(BatchMeans, BatchFiguresRepeatTheResultsFormulasAndTheLastMarkIsAtTheLength) {
    Progress p;
    RandSeed = 99;
    std::vector<std::tuple<Outcome, ResultsText, BatchFigures>> cases;
    auto add = [&](const auto& set, auto run, auto results, BatchFigures f) {
        const Outcome o = run(set, p);
        cases.emplace_back(o, results(set, &o), f);
    };
    add(SingleSettings{.length = 3000, .initial = 4}, RunSingle, SingleResults, SingleBatchFigures);
    add(CompareSettings{.length = 3000}, RunCompare, CompareResults, TwoQueueBatchFigures);
    add(PoolingSettings{.lambda1 = 0.3, .mu2 = 2, .length = 3000}, RunPooling, PoolingResults,
        PoolingBatchFigures);
    add(TandemSettings{.length = 3000}, RunTandem, TandemResults, TwoQueueBatchFigures);
    add(PrioritySettings{.lambda2 = 0.02, .length = 3000}, RunPriority, PriorityResults,
        PriorityBatchFigures);
    for (const auto& [o, results, figures] : cases) {
        SCOPED_TRACE(results.heading);
        // The whole run's totals as the results window reads them.
        RunTotals t{.serverArea = o.serverAreaL,
                    .typeCustomers = o.typeCustomers,
                    .pooledCustomers = o.pooledCustomers,
                    .types = o.types};
        for (std::size_t k = 0; k < 3; ++k) {
            const Station& s = o.station[k];
            t.station[k] = {s.queueAreaL, s.busyAreaL, s.customers, s.delayed, s.totalDelay, s.totalSojourn};
            EXPECT_EQ(o.batches.totals[kBatches].station[k].queueArea, s.queueAreaL);
            EXPECT_EQ(o.batches.totals[kBatches].station[k].busyArea, s.busyAreaL);
        }
        const FigureColumns whole = figures(t, 3000);
        for (std::size_t c = 0; c < whole.size(); ++c)
            for (std::size_t r = 0; r < whole[c].size(); ++r)
                EXPECT_EQ(FigureText(whole[c][r]), results.values[r][c]) << r << "," << c;
        EXPECT_EQ(o.batches.taken, kBatches + 1);
        EXPECT_EQ(o.batches.totals[kBatches].serverArea, o.serverAreaL);
        EXPECT_DOUBLE_EQ(o.batches.time(1) - o.batches.time(0), 2700.0 / kBatches);
    }
}

TEST(BatchMeans, AnIntervalIsTheMeanPlusMinusStudentTimesTheStandardErrorCutAtZero) {
    std::array<std::optional<double>, kBatches> v;
    for (int i = 0; i < kBatches; ++i) v[static_cast<std::size_t>(i)] = i % 2 ? 1.4 : 0.4; // s^2 = 5/19
    const double half = 2.093024054 * std::sqrt(5.0 / 19 / kBatches);
    EXPECT_NEAR(BatchMeansInterval(v)->low, 0.9 - half, 1e-9);
    EXPECT_NEAR(BatchMeansInterval(v)->high, 0.9 + half, 1e-9);
    v.fill(0.0);
    v[0] = 5; // mean 0.25, half width 0.52
    EXPECT_EQ(BatchMeansInterval(v)->low, 0);
    v[3].reset(); // a batch without customers
    EXPECT_FALSE(BatchMeansInterval(v));
}

} // namespace
} // namespace tarvik::simulation
