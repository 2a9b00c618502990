#include "modules/queue/dg1.h"
#include "modules/queue/gmc.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tarvik::queue {
namespace {

TEST(DG1, PureErlangOneIsTheDM1Queue) {
    for (double rho : {0.3, 0.5, 0.9}) {
        const DG1Phase s = SolveDG1Phase(1, rho, 1);
        const DMcResult d = SolveDMc(1, rho);
        const double sigma = d.r.sigma;
        EXPECT_NEAR(s.beta, sigma, 1e-10);
        EXPECT_NEAR(s.m.pwait, sigma, 1e-10);
        EXPECT_NEAR(s.m.ewq, sigma / (1 - sigma), 1e-9);
        EXPECT_LT(s.m.accuracy, 1e-9);
        for (double t : {0.5, 3.0, 12.0, 40.0, 300.0}) {
            const double exact = sigma * std::exp(-(1 - sigma) * t);
            EXPECT_NEAR(s.Wait(t), exact, 1e-8 * exact) << rho << " " << t;
        }
        for (double p : {1 - sigma / 2, 0.999999}) {
            const auto q = s.Percentile(p);
            ASSERT_TRUE(q);
            EXPECT_NEAR(*q, std::log(sigma / (1 - p)) / (1 - sigma), 1e-6) << rho << " " << p;
        }
        EXPECT_NEAR(DG1PureStdLq(s), d.r.stdlq, 1e-8);
        for (int n : {0, 1, 4}) {
            EXPECT_NEAR(s.TimeEq(n), d.TimeEq(n), 1e-10);
            EXPECT_NEAR(s.CustEq(n), d.CustEq(n), 1e-10);
        }
    }
    // No cut-off where the value is small but defined.
    const DG1Phase s = SolveDG1Phase(1, 0.3, 1);
    EXPECT_NEAR(s.Wait(12) / 4.103e-07, 1, 1e-3);
    EXPECT_NEAR(*s.Percentile(0.999999), 11.0711, 1e-4);
    EXPECT_GT(s.Wait(60), 0);
}

TEST(DG1, PureErlangTwoMatchesTheCoxianInSeries) {
    for (double rho : {0.5, 0.8}) {
        const DG1Phase e = SolveDG1Phase(0.5, rho, 2);
        const DG1Coxian c = SolveDG1Coxian(0.5, rho, ServiceFit::CoxBalanced);
        EXPECT_NEAR(e.m.pwait, c.m.pwait, 1e-7);
        EXPECT_NEAR(e.m.ewq, c.m.ewq, 1e-6);
        EXPECT_NEAR(e.m.stdwq, c.m.stdwq, 1e-6);
        EXPECT_NEAR(DG1PureStdLq(e), c.m.stdlq, 1e-6);
        for (double t : {0.2, 1.0, 5.0, 20.0})
            EXPECT_NEAR(e.Wait(t), c.wait(t), 1e-7 * (1 + 1e3 * c.wait(t))) << t;
    }
    const DG1Phase e = SolveDG1Phase(0.5, 0.8, 2);
    EXPECT_NEAR(e.m.pwait, 0.547623, 1e-6);
    EXPECT_NEAR(e.m.ewq, 0.756831, 1e-6);
}

// The chain of the phases found by an arrival, truncated far out without any
// tail and solved densely.
std::vector<double> LongChain(const ErlangMix& f, double rho, int n) {
    const double x = f.mu / rho;
    const auto P = [&](int i) { return i < 0 ? 0.0 : std::exp(-x + i * std::log(x) - std::lgamma(i + 1.0)); };
    std::vector<std::vector<double>> a(static_cast<std::size_t>(n) + 1,
                                       std::vector<double>(static_cast<std::size_t>(n) + 2, 0.0));
    for (int r = 1; r <= n; ++r) {
        for (int i = 0; i <= n; ++i)
            a[static_cast<std::size_t>(r)][static_cast<std::size_t>(i)] =
                f.q * P(i + f.k - 1 - r) + (1 - f.q) * P(i + f.k - r);
        a[static_cast<std::size_t>(r)][static_cast<std::size_t>(r)] -= 1;
    }
    for (int i = 0; i <= n + 1; ++i) a[0][static_cast<std::size_t>(i)] = 1;
    for (int col = 0; col <= n; ++col) {
        std::size_t piv = static_cast<std::size_t>(col);
        for (std::size_t r = piv + 1; r <= static_cast<std::size_t>(n); ++r)
            if (std::fabs(a[r][static_cast<std::size_t>(col)]) >
                std::fabs(a[piv][static_cast<std::size_t>(col)]))
                piv = r;
        std::swap(a[static_cast<std::size_t>(col)], a[piv]);
        for (std::size_t r = 0; r <= static_cast<std::size_t>(n); ++r) {
            if (r == static_cast<std::size_t>(col)) continue;
            const double m = a[r][static_cast<std::size_t>(col)] /
                             a[static_cast<std::size_t>(col)][static_cast<std::size_t>(col)];
            if (m == 0) continue;
            for (std::size_t k = static_cast<std::size_t>(col); k <= static_cast<std::size_t>(n) + 1; ++k)
                a[r][k] -= m * a[static_cast<std::size_t>(col)][k];
        }
    }
    std::vector<double> pi(static_cast<std::size_t>(n) + 1);
    for (std::size_t i = 0; i <= static_cast<std::size_t>(n); ++i)
        pi[i] = a[i][static_cast<std::size_t>(n) + 1] / a[i][i];
    return pi;
}

TEST(DG1, ErlangMixtureAgreesWithALongChainWithoutTail) {
    for (auto [cs2, rho] : {std::pair{0.3, 0.7}, {0.3, 0.9}, {0.15, 0.6}, {0.7, 0.5}}) {
        const DG1Phase s = SolveDG1Phase(cs2, rho, 0);
        const std::vector<double> pi = LongChain(s.fit, rho, 300);
        for (int i : {0, 1, 2, 5, 10, 30, 50})
            EXPECT_NEAR(s.found.P(i), pi[static_cast<std::size_t>(i)], 1e-9) << cs2 << " " << rho << " " << i;
        double mean = 0;
        for (std::size_t i = 1; i < pi.size(); ++i) mean += static_cast<double>(i) * pi[i];
        EXPECT_NEAR(s.m.ewq, mean / s.fit.mu, 1e-8);
        EXPECT_LT(s.m.accuracy, 1e-8);
    }
}

TEST(DG1, PureErlangTimeAverageBeyondTheTable) {
    // Many phases per customer against a short table of phase probabilities.
    const DG1Phase s = SolveDG1Phase(1.0 / 80, 0.95, 80);
    double mass = 0, lq = 0;
    for (int n = 0; n < 40; ++n) mass += s.TimeEq(n);
    for (int m = 1; m < 40; ++m) lq += s.TimeGt(m);
    EXPECT_NEAR(mass, 1, 1e-10);
    EXPECT_NEAR(lq, s.m.elq, 1e-9); // Little's law from the waiting time
    EXPECT_NEAR(s.TimeEq(2), 0.0652399, 1e-7);
    EXPECT_NEAR(DG1PureStdLq(s), 0.2471, 1e-4);
    double cust = 0;
    for (int n = 0; n < 40; ++n) cust += s.CustEq(n);
    EXPECT_NEAR(cust, 1, 1e-10);
    for (int n : {0, 1, 3}) EXPECT_NEAR(s.TimeGt(n) - s.TimeGt(n + 1), s.TimeEq(n + 1), 1e-14);
    // Light loads keep every result finite.
    const DG1Phase light = SolveDG1Phase(1.0 / 20, 0.05, 20);
    EXPECT_TRUE(std::isfinite(DG1PureStdLq(light)));
}

TEST(DG1, CoxianRootsAtLightLoads) {
    // At CS2 = 0.5 both fits are two phases of rate 2, the pure Erlang k = 2;
    // at light loads the first root lies a hair below mu2.
    for (double rho : {0.15, 0.3}) {
        const DG1Phase e = SolveDG1Phase(0.5, rho, 2);
        for (ServiceFit kind : {ServiceFit::CoxGamma, ServiceFit::CoxBalanced}) {
            const DG1Coxian c = SolveDG1Coxian(0.5, rho, kind);
            EXPECT_NEAR(c.m.pwait / e.m.pwait, 1, 1e-4) << rho;
            EXPECT_NEAR(c.m.ewq / e.m.ewq, 1, 1e-4) << rho;
        }
    }
    const DG1Coxian tiny = SolveDG1Coxian(0.5, 0.02, ServiceFit::CoxGamma);
    EXPECT_GE(tiny.m.pwait, 0);
    EXPECT_TRUE(std::isfinite(tiny.m.stdwq));
    EXPECT_LT(tiny.m.pwait, 1e-15);
}

TEST(DG1, CoxianPercentileBeyondTheFirstBracket) {
    const DG1Coxian s = SolveDG1Coxian(80, 0.1, ServiceFit::CoxBalanced);
    const auto q = CoxianPercentile(s.wait, s.m.pwait, 80, 0.1, 0.999999);
    ASSERT_TRUE(q);
    EXPECT_GT(*q, 828.93);
    EXPECT_NEAR(s.wait(*q), 1e-6, 1e-12);
}

std::vector<std::string> Texts(const RunResult& r) {
    std::vector<std::string> t;
    for (const auto& l : r.report.lines) t.push_back(l.text);
    return t;
}

RunResult RunDG1Page(const std::string& service, const std::string& cs2, const std::string& rho,
                     const std::string& output = "standard", ListTexts list = {}) {
    PageInput in;
    in.fields = {{"cs2", cs2}, {"rho", rho}};
    in.choices = {{"service", service}, {"output", output}};
    in.tvalues = in.pvalues = in.nvalues = list;
    return RunPage(Page::DG1, in);
}

TEST(DG1, PageInputsAndReport) {
    const struct {
        const char *service, *cs2, *rho, *message;
    } cases[] = {
        {"erlang", "", "0.5", "cs2 incorrect"},           {"pure-erlang", "2.5", "0.5", "cs2 incorrect"},
        {"erlang", "0.5", "", "Rho incorrect"},           {"pure-erlang", "101", "0.5", "CS2 out of bounds"},
        {"pure-erlang", "0", "0.5", "CS2 out of bounds"}, {"cox-gamma", "0.3", "0.5", "CS2 out of bounds"},
        {"erlang", "0.5", "0.9901", "Rho out of bounds"},
    };
    for (const auto& c : cases) {
        const RunResult r = RunDG1Page(c.service, c.cs2, c.rho);
        EXPECT_EQ(r.inputError, c.message) << c.service << " " << c.cs2;
        EXPECT_TRUE(r.report.lines.empty());
    }
    EXPECT_TRUE(RunDG1Page("pure-erlang", "100", "0.5").inputError.empty());
    const std::vector<std::string> refused = {"Rho too small for reliable results.", ""};
    EXPECT_EQ(Texts(RunDG1Page("erlang", "0.5", "0.04")), refused);
    EXPECT_NE(Texts(RunDG1Page("erlang", "0.5", "0.05")), refused);
    EXPECT_EQ(Texts(RunDG1Page("cox-gamma", "3", "0.009")), refused);
    // Five result lines for the mixture, six for pure Erlang and Coxian-2.
    const std::vector<std::string> mix = Texts(RunDG1Page("erlang", "0.5", "0.5"));
    ASSERT_EQ(mix.size(), 9u);
    EXPECT_EQ(mix[0], "D/G/1 queue (Erlangian services)");
    EXPECT_EQ(mix[6], "         Std(Wq) = 0.3116");
    EXPECT_EQ(Texts(RunDG1Page("pure-erlang", "2", "0.5")).size(), 10u);
    EXPECT_EQ(Texts(RunDG1Page("cox-gamma", "2", "0.5")).size(), 10u);
    const std::vector<std::string> t = Texts(RunDG1Page("pure-erlang", "2", "0.8", "time-states", {"1"}));
    EXPECT_EQ(t[9], "   n  P{L(time)=n}  P{L(time)>n)");
    const std::vector<std::string> c = Texts(RunDG1Page("pure-erlang", "2", "0.8", "customer-states", {"1"}));
    EXPECT_EQ(c[9], "   n  P{L(cust)=n}  P{L(cust)>n)");
    // Below pi_0 undefined, at pi_0 zero.
    const DG1Phase s = SolveDG1Phase(0.5, 0.8, 2);
    const double pi0 = s.found.P(0);
    EXPECT_FALSE(s.Percentile(pi0 - 0.01));
    EXPECT_EQ(*s.Percentile(pi0), 0);
    const RunResult g = RunDG1Page("cox-balanced", "2", "0.7", "graphs");
    ASSERT_TRUE(g.graphWindow);
    EXPECT_EQ(g.graphWindow->design, GraphDesign::DG1);
    EXPECT_EQ(g.graphWindow->title, "Logarithmic Graph of the D/G/1 queue");
    EXPECT_EQ(g.graphWindow->service, "Coxian-2 services (balanced).");
    ASSERT_EQ(g.graphWindow->graphs.size(), 1u);
    EXPECT_LE(g.graphWindow->graphs[0].points.back().second, 0.001 * (1 + 1e-6));
}

} // namespace
} // namespace tarvik::queue
