#include "modules/queue/fincap.h"

#include "modules/queue/queuemodel.h"
#include "oracles.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tarvik::queue {
namespace {

using oracle::Matrix;

// The birth-death generator of M/M/c/c+N with every place, solved densely.
std::vector<double> MMCNByBalance(int c, double rho, int n) {
    const std::size_t size = static_cast<std::size_t>(c + n) + 1;
    Matrix q(size, std::vector<long double>(size, 0));
    for (std::size_t k = 0; k < size; ++k) {
        if (k + 1 < size) q[k][k + 1] = c * static_cast<long double>(rho);
        if (k > 0) q[k][k - 1] = std::min<long double>(k, c);
        q[k][k] = -((k + 1 < size ? q[k][k + 1] : 0) + (k > 0 ? q[k][k - 1] : 0));
    }
    return oracle::StationaryContinuous(q);
}

double ErlangB(int c, double a) {
    double b = 1;
    for (int k = 1; k <= c; ++k) b = a * b / (k + a * b);
    return b;
}

PageInput FinCapInput(const std::string& type, const std::string& c, const std::string& rho,
                      const std::string& n, const std::string& output = "standard") {
    PageInput in;
    in.fields = {{"c", c}, {"rho", rho}, {"n", n}};
    in.choices = {{"type", type}, {"output", output}};
    return in;
}

TEST(FinCapMMCN, MatchesTheBalanceEquationsAndItsOwnWaitingTimes) {
    for (auto [c, rho, n] : {std::tuple{1, 0.5, 8}, {3, 0.9, 20}, {4, 2.5, 6}, {2, 5.0, 10}}) {
        const FinCapSolution s = SolveMMCN(c, rho, n);
        const std::vector<double> ref = MMCNByBalance(c, rho, n);
        ASSERT_EQ(s.p.size(), ref.size());
        for (std::size_t k = 0; k < ref.size(); ++k)
            EXPECT_NEAR(s.p[k], ref[k], 1e-13) << c << " " << rho << " " << k;
        const FinCapMeasures m = FinCapResults(s);
        const int last = c + n;
        EXPECT_NEAR(m.prej, ref[static_cast<std::size_t>(last)], 1e-13);
        double lq = 0, waiting = 0;
        for (int k = c; k <= last; ++k) lq += (k - c) * ref[static_cast<std::size_t>(k)];
        for (int k = c; k < last; ++k) waiting += ref[static_cast<std::size_t>(k)];
        EXPECT_NEAR(m.elq, lq, 1e-12);
        EXPECT_NEAR(m.pwait, waiting / (1 - m.prej), 1e-12);
        // Little: E(Lq) = admitted rate * E(Wq), and E(Wq), E(Wq^2) from the tail.
        EXPECT_NEAR(m.ewq * c * rho * (1 - m.prej), lq, 1e-12);
        EXPECT_NEAR(FinCapWaitTail(s, 0), m.pwait, 1e-12);
        const auto [m1, m2] =
            oracle::MomentsFromTail([&](double t) { return FinCapWaitTail(s, t); }, 60, 6000);
        EXPECT_NEAR(m1, m.ewq, 1e-7);
        EXPECT_NEAR(std::sqrt(m2 - m1 * m1), m.stdwq, 1e-6);
        EXPECT_LT(s.accuracy, 1e-12);
        EXPECT_NEAR(m.utilization, rho * (1 - m.prej), 1e-15);
    }
}

TEST(FinCapMMCN, NoWaitingRoomIsTheErlangLossModel) {
    for (auto [c, rho] : {std::pair{1, 0.3}, {5, 0.8}, {40, 1.7}}) {
        const FinCapMeasures m = FinCapResults(SolveMMCN(c, rho, 0));
        EXPECT_NEAR(m.prej, ErlangB(c, c * rho), 1e-13);
        EXPECT_EQ(m.pwait, 0);
        EXPECT_EQ(m.ewq, 0);
    }
}

TEST(FinCapMMCN, KeepsEveryWaitingPlace) {
    // A rejection needs all 1001 places full: (1 - rho) rho^1001 / (1 - rho^1002).
    const FinCapSolution s = SolveMMCN(1, 0.9, 1000);
    const double expected = std::exp(std::log(0.1) + 1001 * std::log(0.9)) / (1 - std::pow(0.9, 1002));
    EXPECT_NEAR(FinCapResults(s).prej / expected, 1, 1e-9);
    const RunResult r = RunPage(Page::FinCap, FinCapInput("mmcn", "1", "0.9", "1000"));
    ASSERT_GE(r.report.lines.size(), 3u);
    EXPECT_EQ(r.report.lines[2].text, "Results :       Prej        = 0");
    // The largest system still has its accuracy terms at rounding level.
    EXPECT_LT(SolveMMCN(2500, 5, 1000).accuracy, 1e-9);
    EXPECT_LT(SolveMMCN(2500, 0.99, 1000).accuracy, 1e-9);
}

// The exact M/D/1 queue with room for k customers in all, by its chain at
// departures: the time average follows from what departures leave behind.
std::vector<double> MD1K(double rho, int k) {
    const std::size_t n = static_cast<std::size_t>(k);
    Matrix p(n, std::vector<long double>(n, 0));
    for (std::size_t i = 0; i < n; ++i) {
        const int base = i == 0 ? 0 : static_cast<int>(i) - 1;
        long double rest = 1;
        for (int a = 0; base + a < k - 1; ++a) {
            const long double pr = oracle::PoissonPmf(rho, a);
            p[i][static_cast<std::size_t>(base + a)] += pr;
            rest -= pr;
        }
        p[i][n - 1] += rest;
    }
    const std::vector<double> d = oracle::StationaryDiscrete(p);
    std::vector<double> t(n + 1);
    for (std::size_t i = 0; i < n; ++i) t[i] = d[i] / (d[0] + rho);
    t[n] = 1 - 1 / (d[0] + rho);
    return t;
}

TEST(FinCapMDCN, OneServerIsTheExactMD1QueueWithFiniteRoom) {
    for (auto [rho, n] : {std::pair{0.5, 5}, {0.9, 12}, {2.0, 4}}) {
        const FinCapSolution s = SolveMDCN(1, rho, n);
        const std::vector<double> ref = MD1K(rho, n + 1);
        ASSERT_EQ(s.p.size(), ref.size());
        for (std::size_t k = 0; k < ref.size(); ++k) EXPECT_NEAR(s.p[k], ref[k], 1e-9) << rho << " " << k;
        EXPECT_LT(s.accuracy, 1e-9);
    }
    const FinCapSolution s = SolveMDCN(1, 0.5, 5);
    EXPECT_NEAR(s.p[0], 0.500309, 5e-7);
    EXPECT_NEAR(FinCapResults(s).prej, 0.000618, 5e-7);
}

TEST(FinCapMDCN, WaitingTimeMomentsAgreeWithItsTail) {
    for (auto [c, rho, n] : {std::tuple{1, 0.7, 10}, {3, 0.8, 14}, {5, 1.5, 9}, {500, 5.0, 1000}}) {
        const FinCapSolution s = SolveMDCN(c, rho, n);
        const FinCapMeasures m = FinCapResults(s);
        const int pieces = n / c + 2;
        const auto [m1, m2] = oracle::MomentsFromStepTail([&](double t) { return FinCapWaitTail(s, t); },
                                                          pieces, std::max(2000, 10 * c));
        // E(Wq) comes from Little's law, the spread from the residual times.
        EXPECT_NEAR(m1, m.ewq, 0.05 * m.ewq) << c;
        const double spread = std::sqrt(std::max(0.0, m2 - m1 * m1));
        EXPECT_NEAR(spread, m.stdwq, 1e-3 * spread + 1e-9) << c;
        EXPECT_NEAR(FinCapWaitTail(s, 0), m.pwait, 1e-12);
    }
    // c = 1, rho = 0.5, N = 1000: the last state is far below what a double holds.
    const RunResult r = RunPage(Page::FinCap, FinCapInput("mdcn", "1", "0.5", "1000"));
    EXPECT_EQ(r.report.lines[2].text, "Approximations: Prej        = 0");
}

// The D/M/c/c+N chain at arrivals, its transitions from the death process
// (rates min(n, c)) integrated over one interarrival time by Runge-Kutta.
std::vector<double> DMCNByDeathProcess(int c, double rho, int n) {
    const int last = c + n;
    const double d = 1 / (c * rho);
    const std::size_t size = static_cast<std::size_t>(last) + 1;
    Matrix p(size, std::vector<long double>(size, 0));
    const int steps = 400;
    const double h = d / steps;
    auto deriv = [&](const std::vector<double>& x) {
        std::vector<double> dx(x.size(), 0);
        for (std::size_t k = 0; k < x.size(); ++k) {
            const double out = std::min<double>(static_cast<double>(k), c) * x[k];
            dx[k] -= out;
            if (k > 0) dx[k - 1] += out;
        }
        return dx;
    };
    for (int j = 0; j < last; ++j) {
        std::vector<double> x(size, 0);
        x[static_cast<std::size_t>(j + 1)] = 1;
        for (int s = 0; s < steps; ++s) {
            auto k1 = deriv(x);
            std::vector<double> y(size);
            for (std::size_t k = 0; k < size; ++k) y[k] = x[k] + h / 2 * k1[k];
            auto k2 = deriv(y);
            for (std::size_t k = 0; k < size; ++k) y[k] = x[k] + h / 2 * k2[k];
            auto k3 = deriv(y);
            for (std::size_t k = 0; k < size; ++k) y[k] = x[k] + h * k3[k];
            auto k4 = deriv(y);
            for (std::size_t k = 0; k < size; ++k) x[k] += h / 6 * (k1[k] + 2 * k2[k] + 2 * k3[k] + k4[k]);
        }
        for (std::size_t k = 0; k < size; ++k) p[static_cast<std::size_t>(j)][k] = x[k];
    }
    p[size - 1] = p[size - 2]; // an arrival that finds the system full is lost
    return oracle::StationaryDiscrete(p);
}

TEST(FinCapDMCN, MatchesTheArrivalChainOfTheDeathProcess) {
    for (auto [c, rho, n] : {std::tuple{1, 0.45, 10}, {3, 0.8, 12}, {5, 3.0, 6}, {8, 0.6, 4}}) {
        const FinCapSolution s = SolveDMCN(c, rho, n);
        const std::vector<double> ref = DMCNByDeathProcess(c, rho, n);
        ASSERT_EQ(s.p.size(), ref.size());
        for (std::size_t k = 0; k < ref.size(); ++k) EXPECT_NEAR(s.p[k], ref[k], 1e-9) << c << " " << k;
        // Both accuracy terms vanish for the exact solution.
        EXPECT_LT(s.accuracy, 1e-12) << c;
        double total = 0;
        for (double v : s.timeAverage) total += v;
        EXPECT_NEAR(total, 1, 1e-12);
        const FinCapMeasures m = FinCapResults(s);
        const auto [m1, m2] =
            oracle::MomentsFromTail([&](double t) { return FinCapWaitTail(s, t); }, 60, 6000);
        EXPECT_NEAR(m1, m.ewq, 1e-7);
        EXPECT_NEAR(std::sqrt(m2 - m1 * m1), m.stdwq, 1e-6);
        // Time average: the mean number in service is the admitted load.
        double inService = 0;
        for (std::size_t k = 0; k < s.timeAverage.size(); ++k)
            inService += std::min<double>(static_cast<double>(k), c) * s.timeAverage[k];
        EXPECT_NEAR(inService, m.utilization * c, 1e-9);
    }
}

TEST(FinCapDMCN, KeepsEveryWaitingPlace) {
    const FinCapSolution s = SolveDMCN(1, 0.45, 200);
    EXPECT_LT(FinCapResults(s).prej, 1e-90);
    const FinCapSolution big = SolveDMCN(20, 0.99, 500);
    EXPECT_LT(big.accuracy, 1e-8);
}

TEST(FinCapPage, RefusesBadInputInOrder) {
    auto error = [](const PageInput& in) { return RunPage(Page::FinCap, in).inputError; };
    EXPECT_EQ(error(FinCapInput("mmcn", "", "0.5", "3")), "c incorrect");
    EXPECT_EQ(error(FinCapInput("mmcn", "2501", "0.5", "3")), "c out of range");
    EXPECT_EQ(error(FinCapInput("mdcn", "501", "0.5", "3")), "c out of range");
    EXPECT_EQ(error(FinCapInput("dmcn", "0", "x", "x")), "c out of range");
    EXPECT_EQ(error(FinCapInput("mmcn", "3", "0.5.", "3")), "rho incorrect");
    EXPECT_EQ(error(FinCapInput("mmcn", "3", "5.01", "3")), "rho out of range");
    EXPECT_EQ(error(FinCapInput("mmcn", "3", "0", "3")), "rho out of range");
    EXPECT_EQ(error(FinCapInput("mmcn", "3", "5", "")), "n incorrect");
    EXPECT_EQ(error(FinCapInput("mmcn", "3", "5", "1001")), "N out of range");
    EXPECT_EQ(error(FinCapInput("dmcn", "3", "5", "501")), "0 <= N <= 500 required");
    EXPECT_EQ(error(FinCapInput("mdcn", "3", "5", "1000")), "");
    // An error writes nothing.
    EXPECT_TRUE(RunPage(Page::FinCap, FinCapInput("dmcn", "3", "5", "501")).report.lines.empty());
}

TEST(FinCapPage, GuardEndsTheRunAfterTheHeader) {
    RunResult r = RunPage(Page::FinCap, FinCapInput("mmcn", "30", "0.005", "3", "graphs"));
    ASSERT_EQ(r.report.lines.size(), 4u);
    EXPECT_EQ(r.report.lines[0].text, "M/M/c/c+N queue");
    EXPECT_EQ(r.report.lines[1].text, "Parameters: c=30  rho=0.005  N=3");
    EXPECT_EQ(r.report.lines[2].text, "Rho is too small");
    EXPECT_TRUE(r.graphWindowCreated);
    EXPECT_FALSE(r.graphWindow);
    EXPECT_TRUE(FinCapRhoTooSmall(FinCapType::DMCN, 6, 0.05));
    EXPECT_FALSE(FinCapRhoTooSmall(FinCapType::DMCN, 6, 0.0501));
    EXPECT_TRUE(FinCapRhoTooSmall(FinCapType::MDCN, 3, 1e-7));
    EXPECT_FALSE(FinCapRhoTooSmall(FinCapType::MDCN, 3, 2e-7));
}

TEST(FinCapPage, WritesTheResultsBlockAndTables) {
    PageInput in = FinCapInput("mmcn", "1", "0.5", "2", "states");
    in.nvalues = {"0", "3", "9", "x"};
    const RunResult r = RunPage(Page::FinCap, in);
    ASSERT_TRUE(r.inputError.empty());
    std::vector<std::string> text;
    for (const auto& l : r.report.lines) text.push_back(l.text);
    // p = (8, 4, 2, 1) / 15.
    const std::vector<std::string> expected = {"M/M/c/c+N queue",
                                               "Parameters: c=1  rho=0.5  N=2",
                                               "Results :       Prej        = 0.0666667",
                                               "                Pwait       = 0.4285714",
                                               "                Pbusy       = 0.4666667",
                                               "                E(Wq)       = 0.57143",
                                               "                E(Lq)       = 0.26667",
                                               "                Std(Wq)     = 1.05",
                                               "                Std(Lq)     = 0.5735",
                                               "                Utilization = 0.4667",
                                               "",
                                               "   n      P{L=n}      P{L>n}",
                                               "   0   0.5333333   0.4666667",
                                               "   3   0.0666667           0",
                                               "Accuracy Check = " +
                                                   FormatAccuracy(SolveMMCN(1, 0.5, 2).accuracy),
                                               ""};
    EXPECT_EQ(text, expected);
    ASSERT_TRUE(r.nvalues);
    // 9 lies beyond c + N.
    EXPECT_EQ((*r.nvalues)[2], "9**");
}

TEST(FinCapPage, GraphsLeaveOutTheLastPointAndRaiseZeros) {
    const RunResult r = RunPage(Page::FinCap, FinCapInput("dmcn", "2", "0.9", "5", "graphs"));
    ASSERT_TRUE(r.graphWindow);
    const GraphWindowData& w = *r.graphWindow;
    EXPECT_EQ(w.title, "Logarithmic Graphs of the D/M/c/c+N queue");
    EXPECT_EQ(w.service, "n = 5");
    ASSERT_EQ(w.graphs.size(), 2u);
    const FinCapSolution s = SolveDMCN(2, 0.9, 5);
    const double pwait = FinCapResults(s).pwait;
    const GraphPoints full = WaitingTimeGraphPoints([&](double t) { return FinCapWaitTail(s, t); }, pwait);
    ASSERT_EQ(w.graphs[0].points.size() + 1, full.size());
    EXPECT_EQ(w.graphs[0].points.front(), std::make_pair(0.0, 1.0));
    // The state graph follows what arrivals find, and ends before its last point.
    const GraphPoints& states = w.graphs[1].points;
    ASSERT_GE(states.size(), 3u);
    EXPECT_EQ(states[0], std::make_pair(0.0, 1.0));
    EXPECT_NEAR(states[1].second, (1 - s.p[0] - s.p[1]) / (1 - s.p[0]), 1e-12);
    for (const auto& pt : states) EXPECT_GE(pt.second, 1e-6);
    // With a tiny Pwait the log says so and no graph is drawn.
    const RunResult none = RunPage(Page::FinCap, FinCapInput("mmcn", "10", "0.01", "3", "graphs"));
    EXPECT_FALSE(none.graphWindow);
    EXPECT_EQ(none.report.lines[none.report.lines.size() - 2].text,
              "Pwait is too small for meaningful graphs");
}

PageInput GraphInput(const std::string& vary, const std::string& fixed, const std::string& from,
                     const std::string& to, const std::string& y = "prej", const std::string& t = "") {
    PageInput in;
    in.fields = {{"lambda", "4"}, {"es", "0.5"}, {"t", t}, {"from", from}, {"to", to}};
    in.fields[vary == "c" ? "n" : "c"] = fixed;
    in.choices = {{"vary", vary}, {"y", y}};
    return in;
}

TEST(MMCNGraph, OnePointPerValueInAscendingOrder) {
    RunResult r = RunPage(Page::MMCN, GraphInput("c", "0", "5", "5"));
    ASSERT_TRUE(r.graphWindow);
    ASSERT_EQ(r.graphWindow->graphs[0].points.size(), 1u);
    EXPECT_NEAR(r.graphWindow->graphs[0].points[0].second, ErlangB(5, 2), 1e-13);
    EXPECT_TRUE(r.report.lines.empty());

    r = RunPage(Page::MMCN, GraphInput("N", "2", "0", "30", "wait", "0.25"));
    ASSERT_TRUE(r.graphWindow);
    const GraphWindowData& w = *r.graphWindow;
    EXPECT_EQ(w.title, "Graph of the M/M/c/c+N queue");
    EXPECT_EQ(w.label1, "lambda = 4");
    EXPECT_EQ(w.label2, "ES = 0.5");
    EXPECT_EQ(w.label3, "c = 2");
    EXPECT_EQ(w.graphs[0].graphTitle, "P{Wq>0.25}");
    EXPECT_EQ(w.graphs[0].xTitle, "Capacity N");
    EXPECT_FALSE(w.graphs[0].logY);
    EXPECT_EQ(w.graphs[0].yMin, 0);
    EXPECT_EQ(w.graphs[0].yMax, 1);
    ASSERT_EQ(w.graphs[0].points.size(), 31u);
    for (int k = 0; k <= 30; ++k) {
        EXPECT_EQ(w.graphs[0].points[static_cast<std::size_t>(k)].first, k);
        // Service rate 2 per server: the wait of one found behind i + 1
        // completions at rate 4, with rho = 1.
        const FinCapSolution s = SolveMMCN(2, 1.0, k);
        EXPECT_NEAR(w.graphs[0].points[static_cast<std::size_t>(k)].second, FinCapWaitTail(s, 0.5), 1e-13);
    }
    // The guard of each point: a tiny load gives 0.
    PageInput tiny = GraphInput("c", "3", "1", "30");
    tiny.fields["lambda"] = "0.01";
    tiny.fields["es"] = "0.01";
    r = RunPage(Page::MMCN, tiny);
    EXPECT_GT(r.graphWindow->graphs[0].points[0].second, 0);
    EXPECT_EQ(r.graphWindow->graphs[0].points[29].second, 0);
}

TEST(MMCNGraph, RefusesBadInput) {
    auto error = [](PageInput in) { return RunPage(Page::MMCN, in).inputError; };
    EXPECT_EQ(error(GraphInput("c", "0", "6", "5")), "Upper bound should be greater than lower bound");
    EXPECT_EQ(error(GraphInput("N", "3", "6", "5")), "Upper bound should be greater than lower bound");
    EXPECT_EQ(error(GraphInput("c", "101", "1", "5")), "N out of range");
    EXPECT_EQ(error(GraphInput("c", "", "1", "5")), "N incorrect");
    EXPECT_EQ(error(GraphInput("c", "1", "0", "5")), "Lower bound on c out of range");
    EXPECT_EQ(error(GraphInput("c", "1", "1", "")), "Upper bound on c incorrect");
    EXPECT_EQ(error(GraphInput("c", "1", "1", "101")), "Upper bound on c out of range");
    EXPECT_EQ(error(GraphInput("N", "0", "1", "5")), "c out of range");
    EXPECT_EQ(error(GraphInput("N", "2", "", "5")), "Lower bound on N incorrect");
    EXPECT_EQ(error(GraphInput("N", "2", "0", "101")), "Upper bound on N out of range");
    EXPECT_EQ(error(GraphInput("N", "2", "0", "5", "wait", "2501")), "t out of range");
    EXPECT_EQ(error(GraphInput("N", "2", "0", "5", "wait", ".")), "t incorrect");
    PageInput in = GraphInput("c", "1", "1", "5");
    in.fields["lambda"] = "1001";
    EXPECT_EQ(error(in), "lambda out of range");
    in.fields["lambda"] = "1";
    in.fields["es"] = "0.001";
    EXPECT_EQ(error(in), "ES out of range");
    in.fields["es"] = "";
    EXPECT_EQ(error(in), "ES incorrect");
}

} // namespace
} // namespace tarvik::queue
