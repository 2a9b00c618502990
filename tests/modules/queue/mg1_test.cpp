#include "modules/queue/mg1.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tarvik::queue {
namespace {

// Raw moments 1..3 of a fit, from the moments of its exponential phases.
struct Moments {
    double m1, m2, m3;
};

Moments OfErlangMix(const ErlangMix& f) {
    // Erlang(n, mu): E(S^j) = n (n+1) ... (n+j-1) / mu^j.
    const auto erl = [&](double n) {
        return Moments{n / f.mu, n * (n + 1) / (f.mu * f.mu), n * (n + 1) * (n + 2) / (f.mu * f.mu * f.mu)};
    };
    const Moments a = erl(f.k - 1), b = erl(f.k);
    return {f.q * a.m1 + (1 - f.q) * b.m1, f.q * a.m2 + (1 - f.q) * b.m2, f.q * a.m3 + (1 - f.q) * b.m3};
}

Moments OfCoxian(const Coxian2& f) {
    // Numerical integration of t^j against the density, written as the
    // convolution of the two phases (or a single phase).
    const double a = f.mu1, b = f.mu2;
    const auto density = [&](double t) {
        const double one = a * std::exp(-a * t);
        const double two = std::fabs(a - b) < 1e-9 ? a * a * t * std::exp(-a * t)
                                                   : a * b / (b - a) * (std::exp(-a * t) - std::exp(-b * t));
        return (1 - f.b) * one + f.b * two;
    };
    Moments m{0, 0, 0};
    const double tmax = 80 / std::min(a, b), h = tmax / 150000;
    for (int i = 0; i < 150000; ++i) {
        const double t = (i + 0.5) * h, d = density(t) * h;
        m.m1 += t * d;
        m.m2 += t * t * d;
        m.m3 += t * t * t * d;
    }
    return m;
}

TEST(ServiceFit, EveryFitHasMeanOneAndTheAskedVariation) {
    for (double cs2 : {0.01, 0.013, 0.05, 0.1, 0.25, 0.3, 0.5, 0.77, 0.999, 1.0}) {
        const ErlangMix f = FitErlangMix(cs2);
        const Moments m = OfErlangMix(f);
        EXPECT_NEAR(m.m1, 1, 1e-12) << cs2;
        EXPECT_NEAR(m.m2 - 1, cs2, 1e-10) << cs2;
        EXPECT_GE(f.q, -1e-12);
        EXPECT_LE(f.q, 1);
        EXPECT_NEAR(ThirdMoment(f), m.m3, 1e-9 * m.m3) << cs2;
    }
    for (double cs2 : {0.5, 0.6, 0.9, 1.0, 2.0, 10.5}) {
        for (const Coxian2& f : {FitCoxianGamma(cs2), FitCoxianBalanced(cs2)}) {
            const Moments m = OfCoxian(f);
            EXPECT_NEAR(m.m1, 1, 1e-5) << cs2;
            EXPECT_NEAR(m.m2 - 1, cs2, 1e-5 * (1 + cs2)) << cs2;
            EXPECT_NEAR(ThirdMoment(f), m.m3, 1e-5 * m.m3) << cs2;
            EXPECT_GE(f.b, 0);
            EXPECT_LE(f.b, 1 + 1e-12);
        }
    }
}

TEST(ServiceFit, SpecialPoints) {
    const ErlangMix exp1 = FitErlangMix(1);
    EXPECT_EQ(exp1.k, 1);
    EXPECT_EQ(exp1.q, 0);
    EXPECT_EQ(exp1.mu, 1);
    const ErlangMix e2 = FitErlangMix(0.5);
    EXPECT_EQ(e2.k, 2);
    EXPECT_EQ(e2.q, 0);
    EXPECT_EQ(e2.mu, 2);
    EXPECT_EQ(FitErlangMix(0.01).k, 100);
    const Coxian2 bal = FitCoxianBalanced(1);
    EXPECT_EQ(bal.mu1, 3);
    EXPECT_EQ(bal.mu2, 1);
    EXPECT_DOUBLE_EQ(bal.b, 2.0 / 3.0);
    // At 0.5 both Coxian fits are nudged off the point where their rates meet.
    const Coxian2 g = FitCoxianGamma(0.5);
    EXPECT_TRUE(std::isfinite(g.mu1) && std::isfinite(g.mu2) && std::isfinite(g.b));
    EXPECT_NE(g.mu1, g.mu2);
    const Coxian2 b = FitCoxianBalanced(0.5);
    EXPECT_NEAR(b.mu1, 2, 1e-6);
    EXPECT_NEAR(b.mu2, 2, 1e-6);
    EXPECT_EQ(b.b, 1);
    for (double x : {0.5, 1.0, 3.7, 20.0, 200.0, 1201.0})
        EXPECT_NEAR(LanczosLnGamma(x), std::lgamma(x), 1e-9 * (1 + std::fabs(std::lgamma(x))));
}

// Trapezoid sums of P{Wq > t} and 2t P{Wq > t}: E(Wq) and E(Wq^2).
std::pair<double, double> IntegratedMoments(const std::function<double(double)>& pwq, double tmax) {
    const int n = 20000;
    const double h = tmax / n;
    double m1 = 0, m2 = 0;
    for (int i = 0; i <= n; ++i) {
        const double t = i * h, w = (i == 0 || i == n) ? 0.5 : 1;
        const double p = pwq(t);
        m1 += w * p * h;
        m2 += w * 2 * t * p * h;
    }
    return {m1, m2};
}

TEST(MG1, ExponentialServiceIsTheMM1Queue) {
    for (double rho : {0.001, 0.3, 0.9, 0.99}) {
        const MG1Erlang s = SolveMG1Erlang(1, rho);
        EXPECT_NEAR(s.tau, rho, 1e-12);
        EXPECT_NEAR(s.m.pwait, rho, 1e-14);
        EXPECT_NEAR(s.m.ewq, rho / (1 - rho), 1e-12);
        EXPECT_LT(s.m.accuracy, 1e-9);
        // Both sides of t = 10, where the table moves to the exponential tail.
        for (double t : {0.0, 0.5, 3.0, 9.5, 9.999, 10.0, 30.0}) {
            const double exact = rho * std::exp(-(1 - rho) * t);
            EXPECT_NEAR(MG1ErlangWait(s, t), exact, 1e-9 * exact) << rho << " " << t;
        }
        for (double p : {1 - rho / 2, 0.999999}) {
            const auto q = MG1ErlangPercentile(s, p);
            ASSERT_TRUE(q);
            EXPECT_NEAR(*q, std::log(rho / (1 - p)) / (1 - rho), 1e-6 * (1 + *q)) << rho << " " << p;
        }
        EXPECT_FALSE(MG1ErlangPercentile(s, 1 - rho - 0.01)) << rho;
        const MG1States st = MG1ErlangStates(s);
        EXPECT_NEAR(st.ratio, rho, 1e-12);
        for (int n : {0, 1, 2, 10, 60})
            EXPECT_NEAR(st.Eq(n), (1 - rho) * std::pow(rho, n), 1e-12 * (1 + std::pow(rho, n))) << n;
    }
}

TEST(MG1, ErlangMixtureMomentsAgreeWithPollaczekKhinchineAndTakacs) {
    for (auto [cs2, rho] : {std::pair{0.5, 0.5}, {0.2, 0.8}, {0.07, 0.6}, {0.75, 0.3}}) {
        const MG1Erlang s = SolveMG1Erlang(cs2, rho);
        const Moments sm = OfErlangMix(s.fit);
        const double ewq = rho * sm.m2 / (2 * (1 - rho));
        const double ewq2 = 2 * ewq * ewq + rho * sm.m3 / (3 * (1 - rho));
        // The waiting-time distribution, integrated, gives the same moments.
        const auto [m1, m2] =
            IntegratedMoments([&](double t) { return MG1ErlangWait(s, t); }, 40 * (1 + ewq));
        EXPECT_NEAR(m1, ewq, 2e-4 * ewq) << cs2 << " " << rho;
        EXPECT_NEAR(m2, ewq2, 2e-4 * ewq2) << cs2 << " " << rho;
        EXPECT_NEAR(s.m.ewq, ewq, 1e-12);
        EXPECT_NEAR(s.m.stdwq, std::sqrt(ewq2 - ewq * ewq), 1e-9);
        EXPECT_LT(s.m.accuracy, 1e-9);
        // The number in system: its mean is E(Lq) + rho, and P{L > 0} = rho.
        const MG1States st = MG1ErlangStates(s);
        EXPECT_LT(std::fabs(st.accuracyTerm), 1e-6) << cs2 << " " << rho;
        EXPECT_NEAR(st.Gt(0), rho, 1e-12);
    }
    const MG1Erlang e2 = SolveMG1Erlang(0.5, 0.5);
    EXPECT_EQ(e2.fit.k, 2);
    EXPECT_NEAR(e2.tau, 0.640388, 1e-6);
    EXPECT_NEAR(e2.m.ewq, 0.75, 1e-14);
    EXPECT_NEAR(MG1ErlangWait(e2, 2), 0.131061, 1e-6);
    EXPECT_NEAR(MG1ErlangWait(e2, 10), 0.000416, 1e-6);
    EXPECT_NEAR(MG1ErlangWait(e2, 9.999) / MG1ErlangWait(e2, 10), 1, 2e-3);
}

TEST(MG1, ErlangTwoAgreesWithTheTwoPhaseCoxianInSeries) {
    // CS2 = 0.5: two phases of rate 2 by both methods.
    const MG1Erlang e = SolveMG1Erlang(0.5, 0.7);
    const MG1Coxian c = SolveMG1Coxian(0.5, 0.7, ServiceFit::CoxBalanced);
    EXPECT_NEAR(c.m.pwait, 0.7, 1e-9);
    for (double t : {0.1, 1.0, 4.0, 9.9, 12.0, 25.0})
        EXPECT_NEAR(MG1ErlangWait(e, t), c.wait(t), 2e-6 * c.wait(t)) << t;
    for (double p : {0.5, 0.9, 0.999})
        EXPECT_NEAR(*MG1ErlangPercentile(e, p), *CoxianPercentile(c.wait, c.m.pwait, 0.5, 0.7, p), 1e-5) << p;
    const auto cs = c.eq, ct = c.gt;
    const MG1States st = MG1ErlangStates(e);
    for (int n : {0, 1, 3, 8, 20}) EXPECT_NEAR(st.Eq(n), cs[static_cast<std::size_t>(n)], 1e-6) << n;
}

TEST(MG1, NoEarlyZeroBeforeTheTail) {
    // A tiny load: the table must fall steadily through t = 10.
    const MG1Erlang s = SolveMG1Erlang(1, 0.001);
    EXPECT_NEAR(MG1ErlangWait(s, 9.5), 7.557e-08, 1e-11);
    double last = 1;
    for (double t = 0.5; t <= 14; t += 0.5) {
        const double p = MG1ErlangWait(s, t);
        EXPECT_GT(p, 0) << t;
        EXPECT_LT(p, last) << t;
        last = p;
    }
    const MG1Erlang hard = SolveMG1Erlang(0.03, 0.002);
    double prev = 1;
    for (double t = 0.25; t <= 12; t += 0.25) {
        const double p = MG1ErlangWait(hard, t);
        EXPECT_LE(p, prev * (1 + 1e-9)) << t;
        prev = p;
    }
}

TEST(MG1, NearlyExponentialServiceAtHighLoad) {
    // The tail equation has its trivial root at 1 and the wanted one just above.
    const MG1Erlang s = SolveMG1Erlang(0.9999, 0.99);
    EXPECT_EQ(s.fit.k, 2);
    EXPECT_GT(s.tau, 0.98);
    EXPECT_LT(s.tau, 1);
    EXPECT_LT(s.m.accuracy, 1e-6);
    EXPECT_NEAR(MG1ErlangWait(s, 50), SolveMG1Erlang(1, 0.99).m.pwait * std::exp(-0.01 * 50), 1e-3);
}

TEST(MG1, CoxianFitsGiveTheTwoMomentResults) {
    for (ServiceFit kind : {ServiceFit::CoxGamma, ServiceFit::CoxBalanced})
        for (auto [cs2, rho] : {std::pair{2.0, 0.7}, {0.8, 0.4}, {10.5, 0.9}, {1.0, 0.5}}) {
            const MG1Coxian s = SolveMG1Coxian(cs2, rho, kind);
            const Moments sm = OfCoxian(s.fit);
            const double ewq = rho * sm.m2 / (2 * (1 - rho));
            const double ewq2 = 2 * ewq * ewq + rho * sm.m3 / (3 * (1 - rho));
            EXPECT_NEAR(s.m.pwait, rho, 1e-9);
            EXPECT_NEAR(s.m.ewq, ewq, 1e-5 * ewq);
            const auto [m1, m2] = IntegratedMoments(s.wait, 60 * (1 + ewq));
            EXPECT_NEAR(m1, ewq, 1e-4 * ewq);
            EXPECT_NEAR(m2, ewq2, 1e-4 * ewq2);
            // The state recursion: total mass 1, P{L > 0} = rho, mean E(Lq) + rho.
            double mass = 0, mean = 0;
            for (std::size_t n = 0; n < s.eq.size(); ++n) {
                mass += s.eq[n];
                mean += static_cast<double>(n) * s.eq[n];
            }
            EXPECT_NEAR(mass, 1, 1e-9);
            EXPECT_NEAR(s.gt[0], rho, 1e-9);
            EXPECT_NEAR(mean, s.m.elq + rho, 1e-6 * (1 + mean));
        }
    const MG1Coxian g = SolveMG1Coxian(2, 0.7, ServiceFit::CoxGamma);
    const MG1Coxian b = SolveMG1Coxian(2, 0.7, ServiceFit::CoxBalanced);
    EXPECT_NEAR(g.m.stdwq * g.m.stdwq + 3.5 * 3.5, 36.1667, 1e-4);
    EXPECT_NEAR(b.m.stdwq * b.m.stdwq + 3.5 * 3.5, 38.5, 1e-9);
}

TEST(MG1, CoxianPercentileFindsTheRootBeyondTheFirstBracket) {
    const MG1Coxian s = SolveMG1Coxian(10.5, 0.1, ServiceFit::CoxBalanced);
    const auto q = CoxianPercentile(s.wait, s.m.pwait, 10.5, 0.1, 0.999999);
    ASSERT_TRUE(q);
    EXPECT_NEAR(s.wait(*q), 1e-6, 1e-12);
    EXPECT_GT(*q, 117.69);
    EXPECT_FALSE(CoxianPercentile(s.wait, s.m.pwait, 10.5, 0.1, 0.85));
    // The graph's end for a tiny load also lies beyond that bracket.
    PageInput in;
    in.fields = {{"cs2", "5"}, {"rho", "0.000002"}};
    in.choices = {{"service", "cox-gamma"}, {"output", "graphs"}};
    const RunResult r = RunPage(Page::MG1, in);
    ASSERT_TRUE(r.graphWindow);
    const GraphPoints& pts = r.graphWindow->graphs[0].points;
    ASSERT_FALSE(pts.empty());
    EXPECT_LE(pts.back().second, 0.001 * (1 + 1e-6));
    EXPECT_GT(pts[pts.size() - 2].second, 0.001);
}

std::vector<std::string> Texts(const RunResult& r) {
    std::vector<std::string> t;
    for (const auto& l : r.report.lines) t.push_back(l.text);
    return t;
}

RunResult RunMG1Page(const std::string& service, const std::string& cs2, const std::string& rho,
                     const std::string& output = "standard", ListTexts list = {}) {
    PageInput in;
    in.fields = {{"cs2", cs2}, {"rho", rho}};
    in.choices = {{"service", service}, {"output", output}};
    in.tvalues = in.pvalues = in.nvalues = list;
    return RunPage(Page::MG1, in);
}

TEST(MG1, PageChecksItsInputsAndWritesNothingOnAnError) {
    const struct {
        const char *service, *cs2, *rho, *message;
    } cases[] = {
        {"erlang", "", "0.5", "cs2 incorrect"},
        {"erlang", "0.5", "x", "Rho incorrect"},
        {"erlang", "0.009", "0.5", "CS2 out of bounds"},
        {"erlang", "1.01", "0.5", "CS2 out of bounds"},
        {"cox-gamma", "0.49", "0.5", "CS2 out of bounds"},
        {"cox-balanced", "100.1", "0.5", "CS2 out of bounds"},
        {"erlang", "0.5", "0.995", "Rho out of bounds"},
        {"erlang", "0.5", "0", "Rho out of bounds"},
        {"bogus", "0.5", "0.5", "Illegal Service Time"},
    };
    for (const auto& c : cases) {
        const RunResult r = RunMG1Page(c.service, c.cs2, c.rho);
        EXPECT_EQ(r.inputError, c.message) << c.service << " " << c.cs2 << " " << c.rho;
        EXPECT_TRUE(r.report.lines.empty());
    }
    EXPECT_TRUE(RunMG1Page("erlang", "0.5", "0.99").inputError.empty());
    EXPECT_EQ(Texts(RunMG1Page("erlang", "0.5", "0.0000001")),
              (std::vector<std::string>{"Rho too small for reliable results.", ""}));
    EXPECT_EQ(Texts(RunMG1Page("cox-gamma", "2", "0.00000000001")),
              (std::vector<std::string>{"Rho too small for reliable results.", ""}));
}

TEST(MG1, PageReport) {
    const RunResult r = RunMG1Page("erlang", "0.5", "0.5", "percentiles", {"0.9", "0.2", "0.5"});
    const std::vector<std::string> lines = Texts(r);
    ASSERT_GE(lines.size(), 14u);
    EXPECT_EQ(lines[0], "M/G/1 queue (Erlangian services)");
    EXPECT_EQ(lines[1], "Parameters: CS2=0.5  rho=0.5");
    EXPECT_EQ(lines[9], "         p Percentile");
    EXPECT_EQ(lines[10], "  0.200000  undefined");
    EXPECT_EQ(r.pvalues->at(0), "0.2");
    EXPECT_EQ(Texts(RunMG1Page("cox-balanced", "2", "0.7"))[0], "M/G/1 queue (Coxian-2 services, balanced)");
    // Graphs with a tiny Pwait: the report and the notice, no window.
    const RunResult tiny = RunMG1Page("erlang", "1", "0.0000005", "graphs");
    EXPECT_TRUE(tiny.graphWindowCreated);
    EXPECT_FALSE(tiny.graphWindow);
    EXPECT_EQ(Texts(tiny)[Texts(tiny).size() - 2], "Pdelay too small for meaningful graphs");
    const RunResult g = RunMG1Page("erlang", "0.5", "0.8", "graphs");
    ASSERT_TRUE(g.graphWindow);
    EXPECT_EQ(g.graphWindow->title, "Logarithmic Graphs of the M/G/1 queue");
    EXPECT_EQ(g.graphWindow->label1, "CS2 = 0.5");
    EXPECT_EQ(g.graphWindow->service, "Erlangian services.");
    ASSERT_EQ(g.graphWindow->graphs.size(), 2u);
    for (const GraphData& d : g.graphWindow->graphs) {
        ASSERT_GE(d.points.size(), 10u);
        for (std::size_t i = 1; i < d.points.size(); ++i)
            EXPECT_LE(d.points[i].second, d.points[i - 1].second + 1e-12);
        EXPECT_LE(d.points.back().second, 0.001 * (1 + 1e-6));
    }
}

} // namespace
} // namespace tarvik::queue
