#include "modules/queue/finsrc.h"

#include "modules/queue/queuemodel.h"
#include "oracles.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tarvik::queue {
namespace {

using oracle::Matrix;

// Product form of the exponential machine-repair queue: weight of i failed
// machines M!/(M-i)! nu^i / (min(i,s)! s^(i-s)+).
std::vector<double> ProductForm(int s, int m, double nu) {
    std::vector<double> lw;
    for (int i = 0; i <= m; ++i) {
        double v = std::lgamma(m + 1.0) - std::lgamma(m - i + 1.0) + i * std::log(nu);
        v -= i <= s ? std::lgamma(i + 1.0) : std::lgamma(s + 1.0) + (i - s) * std::log(s);
        lw.push_back(v);
    }
    const double top = *std::max_element(lw.begin(), lw.end());
    double sum = 0;
    for (double v : lw) sum += std::exp(v - top);
    std::vector<double> p;
    for (double v : lw) p.push_back(std::exp(v - top) / sum);
    return p;
}

PageInput Input(const std::string& service, const std::string& c, const std::string& m, const std::string& nu,
                const std::string& output = "standard", const std::string& graph = "wait") {
    PageInput in;
    in.fields = {{"c", c}, {"m", m}, {"nu", nu}};
    in.choices = {{"service", service}, {"output", output}, {"graph", graph}};
    return in;
}

std::vector<std::string> Lines(const RunResult& r) {
    std::vector<std::string> out;
    for (const auto& l : r.report.lines) out.push_back(l.text);
    return out;
}

TEST(FinSrcExponential, MatchesTheProductForm) {
    for (auto [c, m, nu] : {std::tuple{1, 5, 0.3}, {3, 20, 0.2}, {4, 60, 1.5}, {2, 1000, 100.0}}) {
        const FinSrcSolution r = SolveFinSrc(false, c, m, nu);
        const std::vector<double> ref = ProductForm(std::min(c, m), m, nu);
        for (std::size_t i = 0; i < ref.size(); ++i)
            EXPECT_NEAR(r.p[i], ref[i] <= 1e-15 ? 0 : ref[i], 1e-12 + 1e-9 * ref[i]) << c << " " << i;
        // Repairs and failures balance.
        EXPECT_LT(std::fabs(r.accuracy), 1e-9);
        double load = 0, waiting = 0;
        for (int i = 0; i <= m; ++i) {
            load += (m - i) * ref[static_cast<std::size_t>(i)];
            if (i >= c && i < m) waiting += (m - i) * ref[static_cast<std::size_t>(i)];
        }
        EXPECT_NEAR(r.lambda, nu * load, 1e-9 * nu * load);
        EXPECT_NEAR(r.pwait, waiting / load, 1e-9);
        if (m <= 60) {
            const auto [m1, m2] =
                oracle::MomentsFromTail([&](double t) { return FinSrcWaitTail(r, t); }, 80, 8000);
            EXPECT_NEAR(m1, r.ewq, 1e-6);
            EXPECT_NEAR(std::sqrt(m2 - m1 * m1), r.stdwq, 1e-5);
        }
    }
}

TEST(FinSrcExponential, SmallSystems) {
    // c >= M: nobody waits; with c > M no moment has all repairmen busy.
    FinSrcSolution r = SolveFinSrc(false, 7, 5, 0.4);
    EXPECT_EQ(r.s, 5);
    EXPECT_EQ(r.pwait, 0);
    EXPECT_EQ(r.elq, 0);
    EXPECT_EQ(r.pbusy, 0);
    const RunResult run = RunPage(Page::FinSrc, Input("exp", "7", "5", "0.4"));
    EXPECT_EQ(Lines(run)[1], "Parameters: c=5  M=5  nu=0.4");
    // One machine, one repairman.
    r = SolveFinSrc(false, 1, 1, 0.25);
    EXPECT_NEAR(r.p[0], 1 / 1.25, 1e-15);
    EXPECT_NEAR(r.throughput, 0.25 / 1.25, 1e-15);
    EXPECT_NEAR(r.lambda, 0.25 / 1.25, 1e-15);
    EXPECT_EQ(r.pwait, 0);
}

// One repairman with constant repair times, by its chain at repair
// completions: during a repair each working machine fails with 1 - e^-nu.
struct SingleRepairman {
    std::vector<double> left; // what completions leave = what failures find
    double lambda;
};

SingleRepairman ExactSingleRepairman(int m, double nu) {
    const std::size_t n = static_cast<std::size_t>(m);
    Matrix p(n, std::vector<long double>(n, 0));
    const double f = 1 - std::exp(-nu);
    for (int k = 0; k < m; ++k) {
        const int working = k == 0 ? m - 1 : m - k, base = k == 0 ? 0 : k - 1;
        for (int a = 0; a <= working; ++a)
            p[static_cast<std::size_t>(k)][static_cast<std::size_t>(base + a)] +=
                std::exp(std::lgamma(working + 1.0) - std::lgamma(a + 1.0) - std::lgamma(working - a + 1.0)) *
                std::pow(f, a) * std::pow(1 - f, working - a);
    }
    SingleRepairman r;
    r.left = oracle::StationaryDiscrete(p);
    r.lambda = 1 / (1 + r.left[0] / (m * nu));
    return r;
}

TEST(FinSrcDeterministic, OneRepairmanIsExact) {
    for (auto [m, nu] : {std::pair{2, 0.5}, {5, 0.1}, {12, 0.05}, {30, 0.02}}) {
        const FinSrcSolution r = SolveFinSrc(true, 1, m, nu);
        const SingleRepairman ref = ExactSingleRepairman(m, nu);
        ASSERT_FALSE(r.overloaded);
        EXPECT_NEAR(r.pwait, 1 - ref.left[0], 1e-9) << m;
        EXPECT_NEAR(r.lambda, ref.lambda, 1e-9) << m;
        for (int i = 0; i < m; ++i)
            EXPECT_NEAR(r.q[static_cast<std::size_t>(i)], ref.left[static_cast<std::size_t>(i)], 1e-9);
        EXPECT_LT(std::fabs(r.accuracy), 1e-9);
    }
    EXPECT_NEAR(SolveFinSrc(true, 1, 2, 0.5).pwait, 1 - std::exp(-0.5), 1e-10);
    const FinSrcSolution r = SolveFinSrc(true, 1, 5, 0.1);
    EXPECT_NEAR(r.pwait, 0.37382, 5e-6);
    EXPECT_NEAR(r.lambda, 0.443979, 5e-7);
}

TEST(FinSrcDeterministic, ManyRepairmenStayConsistent) {
    for (auto [c, m, nu] : {std::tuple{3, 20, 0.1}, {10, 200, 0.04}, {250, 1000, 0.01}, {60, 600, 0.1}}) {
        const FinSrcSolution r = SolveFinSrc(true, c, m, nu);
        ASSERT_FALSE(r.overloaded) << c;
        double total = 0;
        for (double v : r.p) {
            EXPECT_GE(v, 0);
            total += v;
        }
        EXPECT_NEAR(total, 1, 1e-9);
        EXPECT_LT(std::fabs(r.accuracy), 1e-6) << c << " " << m;
        EXPECT_TRUE(std::isfinite(r.stdwq) && std::isfinite(r.stdlq));
        if (m <= 200) {
            // The spread of the wait against its own tail.
            const auto [m1, m2] =
                oracle::MomentsFromStepTail([&](double t) { return FinSrcWaitTail(r, t); }, m / c + 2, 2000);
            EXPECT_NEAR(r.stdwq, std::sqrt(m2 - m1 * m1), 1e-6) << c;
        }
    }
}

TEST(FinSrcDeterministic, WholeNumberTimesCountTheFullRounds) {
    const FinSrcSolution r = SolveFinSrc(true, 2, 12, 0.3);
    double expected = 0;
    for (int k = 6; k < 12; ++k) expected += r.q[static_cast<std::size_t>(k)];
    EXPECT_NEAR(FinSrcWaitTail(r, 2), expected, 1e-15);
    // Just after 2 the tail is continuous from the left side of the branch.
    EXPECT_NEAR(FinSrcWaitTail(r, 2 + 1e-7), expected, 1e-5);
    EXPECT_EQ(FinSrcWaitTail(r, 6), 0);
}

TEST(FinSrcPage, OverloadedDeterministicSystem) {
    const RunResult r = RunPage(Page::FinSrc, Input("det", "1", "20", "5", "wait"));
    EXPECT_EQ(
        Lines(r),
        (std::vector<std::string>{
            "Finite-source queue (deterministic services)", "Parameters: c=1  M=20  nu=5",
            "Approximations: Pwait       = 1.0000000", "                Pbusy       = 1.0000000",
            "                E(Wq)       = 18.8", "                E(Lq)       = 18.8",
            "                Utilization = 1", "                Throughput  = 1",
            "The waiting time probabilities cannot be computed ",
            "accurately enough for this extremely overloaded system.", "Accuracy Check =       0", ""}));
    const RunResult g = RunPage(Page::FinSrc, Input("det", "1", "20", "5", "graphs", "customer-states"));
    EXPECT_FALSE(g.graphWindow);
    EXPECT_EQ(Lines(g)[8], "The customer average state probabilities cannot be computed ");
}

TEST(FinSrcPage, RefusesBadInputAndWritesNothing) {
    auto error = [](const PageInput& in) {
        const RunResult r = RunPage(Page::FinSrc, in);
        EXPECT_TRUE(r.report.lines.empty());
        return r.inputError;
    };
    EXPECT_EQ(error(Input("exp", "", "5", "1")), "c incorrect");
    EXPECT_EQ(error(Input("exp", "501", "5", "1")), "c out of range");
    EXPECT_EQ(error(Input("det", "251", "5", "1")), "c out of range");
    EXPECT_EQ(error(Input("det", "250", "x", "1")), "M incorrect");
    EXPECT_EQ(error(Input("det", "250", "1001", "1")), "M out of range");
    EXPECT_EQ(error(Input("det", "250", "0", "1")), "M out of range");
    EXPECT_EQ(error(Input("exp", "2", "5", "..")), "nu incorrect");
    EXPECT_EQ(error(Input("exp", "2", "5", "0.000009")), "nu out of range");
    EXPECT_EQ(error(Input("exp", "2", "5", "100.01")), "nu out of range");
}

TEST(FinSrcPage, TablesAndGraphs) {
    PageInput in = Input("exp", "2", "6", "0.5", "customer-states");
    in.nvalues = {"7", "0", "6"};
    RunResult r = RunPage(Page::FinSrc, in);
    const FinSrcSolution s = SolveFinSrc(false, 2, 6, 0.5);
    std::vector<std::string> lines = Lines(r);
    ASSERT_EQ(lines.size(), 10u + 4u + 2u);
    EXPECT_EQ(lines[0], "Finite-source queue (exponential services)");
    EXPECT_EQ(lines[2].substr(0, 30), "Results:        Pwait       = ");
    EXPECT_EQ(lines[11], "   n  P{L(cust)=n}  P{L(cust)>n}");
    EXPECT_EQ(lines[12], "   0    " + FormatProbability(s.q[0]) + "    " + FormatProbability(1 - s.q[0]));
    EXPECT_EQ((*r.nvalues)[2], "7**");

    r = RunPage(Page::FinSrc, Input("exp", "2", "30", "0.2", "graphs", "time-states"));
    ASSERT_TRUE(r.graphWindow);
    const GraphWindowData& w = *r.graphWindow;
    EXPECT_EQ(w.title, "Logarithmic graph of the machine repair queue");
    EXPECT_EQ(w.label1, "c = 2");
    EXPECT_EQ(w.label2, "M = 30");
    EXPECT_EQ(w.label3, "nu = 0.2");
    EXPECT_EQ(w.service, "Exponential services");
    const GraphData& g = w.graphs[0];
    EXPECT_EQ(g.graphTitle, "P{ L(time) > n | L(time) > 0}");
    EXPECT_EQ(g.xTitle, "State n");
    EXPECT_EQ(g.points.front(), std::make_pair(0.0, 1.0));
    const FinSrcSolution s30 = SolveFinSrc(false, 2, 30, 0.2);
    EXPECT_NEAR(g.points[1].second, std::max(0.001, (1 - s30.p[0] - s30.p[1]) / (1 - s30.p[0])), 1e-15);
    for (const auto& pt : g.points) EXPECT_GE(pt.second, 0.001);

    // A waiting probability below 1e-6: no graph, a line after the accuracy check.
    r = RunPage(Page::FinSrc, Input("exp", "3", "4", "0.00001", "graphs"));
    EXPECT_FALSE(r.graphWindow);
    lines = Lines(r);
    EXPECT_EQ(lines[lines.size() - 2], "Pdelay too small for graphs.");
    EXPECT_EQ(lines[lines.size() - 4].substr(0, 16), "Accuracy Check =");
}

} // namespace
} // namespace tarvik::queue
