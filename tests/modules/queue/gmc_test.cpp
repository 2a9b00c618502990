#include "modules/queue/gmc.h"
#include "modules/queue/mmc.h"
#include "modules/queue/servicefit.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tarvik::queue {
namespace {

using Matrix = std::vector<std::vector<double>>;

Matrix Multiply(const Matrix& a, const Matrix& b) {
    const std::size_t n = a.size();
    Matrix c(n, std::vector<double>(n, 0.0));
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t k = 0; k < n; ++k)
            if (a[i][k] != 0)
                for (std::size_t j = 0; j < n; ++j) c[i][j] += a[i][k] * b[k][j];
    return c;
}

// The c servers alone empty the system: a pure death process on 0..m.
struct DeathChain {
    int c, m;
    double Rate(int n) const { return std::min(n, c); }
    // E[exp(Q X)] for X exponential with rate r: r (rI - Q)^-1, by forward substitution.
    Matrix ExpSojourn(double r) const {
        Matrix res(static_cast<std::size_t>(m) + 1,
                   std::vector<double>(static_cast<std::size_t>(m) + 1, 0.0));
        for (int i = 0; i <= m; ++i) {
            // Row i: from i customers, the chance to be at j after X.
            double carry = r / (r + Rate(i));
            res[static_cast<std::size_t>(i)][static_cast<std::size_t>(i)] = carry;
            for (int j = i - 1; j >= 0; --j) {
                carry *= Rate(j + 1) / (r + Rate(j));
                res[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] = carry;
            }
        }
        return res;
    }
    // exp(Q t) by uniformisation.
    Matrix Exp(double t) const {
        const std::size_t n = static_cast<std::size_t>(m) + 1;
        const double lam = c;
        Matrix p(n, std::vector<double>(n, 0.0)), term(n, std::vector<double>(n, 0.0)),
            sum(n, std::vector<double>(n, 0.0));
        for (int i = 0; i <= m; ++i) {
            p[static_cast<std::size_t>(i)][static_cast<std::size_t>(i)] = 1 - Rate(i) / lam;
            if (i > 0) p[static_cast<std::size_t>(i)][static_cast<std::size_t>(i - 1)] = Rate(i) / lam;
            term[static_cast<std::size_t>(i)][static_cast<std::size_t>(i)] = 1;
        }
        double w = std::exp(-lam * t);
        for (int k = 0; k < 400; ++k) {
            if (k > 0) {
                // p is lower bidiagonal: term * p in O(n^2).
                Matrix next(n, std::vector<double>(n, 0.0));
                for (std::size_t i = 0; i < n; ++i)
                    for (std::size_t j = 0; j < n; ++j)
                        next[i][j] = term[i][j] * p[j][j] + (j + 1 < n ? term[i][j + 1] * p[j + 1][j] : 0);
                term.swap(next);
                w *= lam * t / k;
            }
            for (std::size_t i = 0; i < n; ++i)
                for (std::size_t j = 0; j < n; ++j) sum[i][j] += w * term[i][j];
            if (k > lam * t && w < 1e-18) break;
        }
        return sum;
    }
};

// What an arrival finds, from the chain at arrival epochs solved densely:
// found i, then i + 1 present, then the kernel over one interarrival time.
std::vector<double> ArrivalEpochDistribution(const Matrix& kernel) {
    const int n = static_cast<int>(kernel.size()) - 1; // states 0..n
    // Equations pi_j = sum_i pi_i K(min(i+1, n), j); the first replaced by the norm.
    Matrix a(static_cast<std::size_t>(n) + 1, std::vector<double>(static_cast<std::size_t>(n) + 2, 0.0));
    for (int j = 0; j <= n; ++j) {
        for (int i = 0; i <= n; ++i)
            a[static_cast<std::size_t>(j)][static_cast<std::size_t>(i)] =
                kernel[static_cast<std::size_t>(std::min(i + 1, n))][static_cast<std::size_t>(j)];
        a[static_cast<std::size_t>(j)][static_cast<std::size_t>(j)] -= 1;
    }
    for (int i = 0; i <= n; ++i) a[0][static_cast<std::size_t>(i)] = 1;
    a[0][static_cast<std::size_t>(n) + 1] = 1;
    // Gauss-Jordan with partial pivoting.
    for (int col = 0; col <= n; ++col) {
        int piv = col;
        for (int r = col + 1; r <= n; ++r)
            if (std::fabs(a[static_cast<std::size_t>(r)][static_cast<std::size_t>(col)]) >
                std::fabs(a[static_cast<std::size_t>(piv)][static_cast<std::size_t>(col)]))
                piv = r;
        std::swap(a[static_cast<std::size_t>(col)], a[static_cast<std::size_t>(piv)]);
        for (int r = 0; r <= n; ++r) {
            if (r == col) continue;
            const double f = a[static_cast<std::size_t>(r)][static_cast<std::size_t>(col)] /
                             a[static_cast<std::size_t>(col)][static_cast<std::size_t>(col)];
            if (f == 0) continue;
            for (int k = col; k <= n + 1; ++k)
                a[static_cast<std::size_t>(r)][static_cast<std::size_t>(k)] -=
                    f * a[static_cast<std::size_t>(col)][static_cast<std::size_t>(k)];
        }
    }
    std::vector<double> pi(static_cast<std::size_t>(n) + 1);
    for (int i = 0; i <= n; ++i)
        pi[static_cast<std::size_t>(i)] = a[static_cast<std::size_t>(i)][static_cast<std::size_t>(n) + 1] /
                                          a[static_cast<std::size_t>(i)][static_cast<std::size_t>(i)];
    return pi;
}

double WaitFrom(const std::vector<double>& pi, int c) {
    double s = 0;
    for (std::size_t j = static_cast<std::size_t>(c); j < pi.size(); ++j) s += pi[j];
    return s;
}

constexpr int kStates = 160;

TEST(DMc, ArrivalEpochDistributionMatchesTheDenseChain) {
    for (int c : {1, 2, 3, 5})
        for (double rho : {0.5, 0.7, 0.9}) {
            const DMcResult d = SolveDMc(c, rho);
            const DeathChain chain{c, kStates};
            const std::vector<double> pi = ArrivalEpochDistribution(chain.Exp(1 / (c * rho)));
            EXPECT_NEAR(d.r.pwait, WaitFrom(pi, c), 1e-9) << c << " " << rho;
            EXPECT_NEAR(d.r.x, pi[static_cast<std::size_t>(c - 1)], 1e-9) << c << " " << rho;
            EXPECT_NEAR(d.r.sigma, pi[static_cast<std::size_t>(c + 1)] / pi[static_cast<std::size_t>(c)],
                        1e-8);
            for (int n = 0; n < c + 4; ++n)
                EXPECT_NEAR(d.CustEq(n), pi[static_cast<std::size_t>(n)], 1e-9)
                    << c << " " << rho << " " << n;
            // The time average: all mass, and c rho busy servers on average.
            double mass = 0, busy = 0;
            for (int n = 0; n < 400; ++n) {
                mass += d.TimeEq(n);
                busy += std::min(n, c) * d.TimeEq(n);
            }
            EXPECT_NEAR(mass, 1, 1e-9);
            EXPECT_NEAR(busy, c * rho, 1e-8);
            EXPECT_NEAR(d.TimeGt(c - 1), d.r.pbusy, 1e-9);
        }
    // A single server: P{L(time) = n} = rho (1 - sigma) sigma^(n-1).
    const DMcResult one = SolveDMc(1, 0.5);
    EXPECT_NEAR(one.r.pwait, 0.203188, 1e-6);
    for (int n : {1, 2, 6})
        EXPECT_NEAR(one.TimeEq(n), 0.5 * (1 - one.r.sigma) * std::pow(one.r.sigma, n - 1), 1e-12);
    // A root below the bisection's interval is still found.
    const DMcResult light = SolveDMc(1, 0.02);
    EXPECT_NEAR(light.r.sigma / std::exp(-1 / 0.02), 1, 1e-9);
    EXPECT_NEAR(light.r.pwait / light.r.sigma, 1, 1e-9);
    EXPECT_NEAR(light.r.pbusy, 0.02, 1e-15);
    const DMcResult two = SolveDMc(2, 0.7);
    EXPECT_NEAR(two.r.sigma, 0.466996, 1e-6);
    EXPECT_NEAR(two.r.x, 0.396280, 1e-6);
    EXPECT_NEAR(two.r.pwait, 0.347204, 1e-6);
    EXPECT_LT(two.balanceCheck, 1e-10);
}

TEST(DMc, ManyServers) {
    for (int c : {20, 120, 500}) {
        const double rho = c == 20 ? 0.6 : 0.95;
        const DMcResult d = SolveDMc(c, rho);
        EXPECT_GT(d.r.pwait, 0);
        EXPECT_LT(d.r.pwait, 1);
        EXPECT_LT(d.balanceCheck, 1e-6) << c;
        EXPECT_LT(std::fabs(d.timeCheck), 1e-6) << c;
        // Deterministic arrivals wait less than Poisson ones.
        EXPECT_LT(d.r.pwait, SolveMMC(c, rho).pwait);
        EXPECT_NEAR(d.r.pwait, SolveGMc(ArrivalKind::Deterministic, 0, c, rho).r.pwait,
                    1e-7 * (1 + d.r.pwait));
    }
}

TEST(GMc, EachArrivalKindMatchesTheDenseChain) {
    for (int c : {1, 2, 3})
        for (double rho : {0.6, 0.85}) {
            const DeathChain chain{c, kStates};
            const double lam = c * rho;
            // Erlang mixtures: E(k-1,k) with phase rate r.
            for (double ca2 : {0.5, 0.3, 0.25}) {
                const ErlangMix f = FitErlangMix(ca2, 1e-10);
                const Matrix r = chain.ExpSojourn(f.mu * lam);
                Matrix pk = r;
                for (int i = 1; i < f.k - 1; ++i) pk = Multiply(pk, r);
                Matrix kernel = f.k == 1 ? r : Multiply(pk, r);
                if (f.k > 1)
                    for (std::size_t i = 0; i < kernel.size(); ++i)
                        for (std::size_t j = 0; j < kernel.size(); ++j)
                            kernel[i][j] = f.q * pk[i][j] + (1 - f.q) * kernel[i][j];
                const std::vector<double> pi = ArrivalEpochDistribution(kernel);
                const GMcResult g = SolveGMc(ArrivalKind::Erlang, ca2, c, rho);
                EXPECT_NEAR(g.r.pwait, WaitFrom(pi, c), 1e-8) << c << " " << rho << " " << ca2;
                EXPECT_NEAR(g.r.x, pi[static_cast<std::size_t>(c - 1)], 1e-8)
                    << c << " " << rho << " " << ca2;
            }
            // Coxian-2 fits of the interarrival time (scaled to mean 1/lam).
            for (auto [kind, ca2] : {std::pair{ArrivalKind::CoxGamma, 2.0},
                                     {ArrivalKind::CoxBalanced, 4.0},
                                     {ArrivalKind::CoxBalanced, 0.7},
                                     {ArrivalKind::CoxGamma, 0.8}}) {
                // The chain's truncation would show with very bursty arrivals at the higher load.
                if (ca2 > 3 && rho > 0.7) continue;
                const Coxian2 f =
                    kind == ArrivalKind::CoxGamma ? FitCoxianGamma(ca2) : FitCoxianBalanced(ca2);
                const Matrix r1 = chain.ExpSojourn(f.mu1 * lam), r2 = chain.ExpSojourn(f.mu2 * lam);
                const Matrix both = Multiply(r1, r2);
                Matrix kernel = r1;
                for (std::size_t i = 0; i < kernel.size(); ++i)
                    for (std::size_t j = 0; j < kernel.size(); ++j)
                        kernel[i][j] = (1 - f.b) * r1[i][j] + f.b * both[i][j];
                const std::vector<double> pi = ArrivalEpochDistribution(kernel);
                const GMcResult g = SolveGMc(kind, ca2, c, rho);
                EXPECT_NEAR(g.r.pwait, WaitFrom(pi, c), 2e-7) << c << " " << rho << " " << ca2;
                ASSERT_TRUE(g.accuracy);
                EXPECT_LT(*g.accuracy, 1e-8);
            }
        }
}

TEST(GMc, SpecialCases) {
    // Poisson arrivals by every fit: the M/M/c queue.
    for (int c : {1, 2, 5, 20}) {
        const double rho = c == 20 ? 0.8 : 0.7;
        const double mmc = SolveMMC(c, rho).pwait;
        EXPECT_NEAR(SolveGMc(ArrivalKind::Erlang, 1, c, rho).r.pwait, mmc, 1e-9) << c;
        EXPECT_NEAR(SolveGMc(ArrivalKind::CoxGamma, 1, c, rho).r.pwait, mmc, 1e-7) << c;
        EXPECT_NEAR(SolveGMc(ArrivalKind::CoxBalanced, 1, c, rho).r.pwait, mmc, 1e-7) << c;
    }
    EXPECT_NEAR(SolveGMc(ArrivalKind::CoxGamma, 1, 2, 0.7).r.pwait, 0.576471, 1e-6);
    const GMcResult det = SolveGMc(ArrivalKind::Deterministic, 0, 2, 0.7);
    EXPECT_NEAR(det.r.sigma, 0.466996, 1e-6);
    EXPECT_NEAR(det.r.x, 0.396280, 1e-6);
    EXPECT_FALSE(det.accuracy);
    // A single server with nearly regular arrivals just above the guard: sigma
    // lies below the bisection's lower end and is still found.
    const GMcResult tiny = SolveGMc(ArrivalKind::Erlang, 0.01, 1, 0.015);
    const ErlangMix f = FitErlangMix(0.01, 1e-10);
    const double rate = f.mu * 0.015;
    const double astar = std::pow(rate / (rate + 1), f.k) * (1 + f.q / rate);
    EXPECT_NEAR(tiny.r.sigma / astar, 1, 1e-9);
    EXPECT_NEAR(tiny.r.pwait / astar, 1, 1e-6);
    EXPECT_NEAR(tiny.r.pbusy, 0.015, 1e-12);
    EXPECT_TRUE(GMcRhoTooSmall(ArrivalKind::Deterministic, 0, 1, 0.0367));
    EXPECT_FALSE(GMcRhoTooSmall(ArrivalKind::Deterministic, 0, 1, 0.0368));
}

std::vector<std::string> Texts(const RunResult& r) {
    std::vector<std::string> t;
    for (const auto& l : r.report.lines) t.push_back(l.text);
    return t;
}

TEST(GMc, PagesCheckTheirInputs) {
    const struct {
        Page page;
        const char *arrivals, *ca2, *c, *rho, *message;
    } cases[] = {
        {Page::GMC, "erlang", "", "2", "0.5", "CA2 incorrect"},
        {Page::GMC, "erlang", "0.5", "x", "0.5", "c incorrect"},
        {Page::GMC, "erlang", "0.5", "2", "", "rho incorrect"},
        {Page::GMC, "erlang", "1.5", "2", "0.5", "CA2 out of range"},
        {Page::GMC, "cox-gamma", "0.4", "2", "0.5", "CA2 out of range"},
        {Page::GMC, "det", "7", "1001", "0.5", "c out of range"},
        {Page::GMC, "det", "", "2", "0.9991", "rho out of range"},
        {Page::DMC, "", "", "", "0.5", "c incorrect"},
        {Page::DMC, "", "", "501", "0.5", "c out of range"},
        {Page::DMC, "", "", "5", "a", "Rho incorrect"},
        {Page::DMC, "", "", "5", "0.00000000001", "Rho out of range"},
    };
    for (const auto& c : cases) {
        PageInput in;
        in.fields = {{"c", c.c}, {"rho", c.rho}, {"ca2", c.ca2}};
        in.choices = {{"arrivals", c.arrivals}};
        const RunResult r = RunPage(c.page, in);
        EXPECT_EQ(r.inputError, c.message);
        EXPECT_TRUE(r.report.lines.empty());
    }
    PageInput in;
    in.fields = {{"c", "1"}, {"rho", "0.015"}, {"ca2", "0.01"}};
    in.choices = {{"arrivals", "erlang"}, {"output", "wait"}};
    in.tvalues = {"1"};
    const RunResult r = RunPage(Page::GMC, in);
    EXPECT_FALSE(r.breakdown);
    EXPECT_TRUE(r.breakdownBox.empty());
    const std::vector<std::string> lines = Texts(r);
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[0], "G/M/c queue (Erlangian arrivals)");
    EXPECT_EQ(lines[1], "Parameters: c=1  rho=0.015  CA2=0.01");
    EXPECT_EQ(lines[3], "         Pbusy   = 0.015");
    EXPECT_EQ(lines[10], "         1           0");
    EXPECT_EQ(lines[11], "Accuracy Check = 0.00000000");
    in.fields["rho"] = "0.01";
    EXPECT_EQ(Texts(RunPage(Page::GMC, in)),
              (std::vector<std::string>{"Rho is too small for reliable results", ""}));
}

TEST(DMc, PageReportAndGraphs) {
    PageInput in;
    in.fields = {{"c", "1"}, {"rho", "0.5"}};
    in.choices = {{"output", "customer-states"}};
    in.nvalues = {"0", "2"};
    std::vector<std::string> lines = Texts(RunPage(Page::DMC, in));
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[0], "D/M/c queue");
    EXPECT_EQ(lines[9], "   n  P{L(cust)=n}  P{L(cust)>n}");
    EXPECT_EQ(lines[12], "Accuracy Check = 0.00000000");
    in.fields["c"] = "3";
    in.choices = {{"output", "graphs"}, {"graph", "time-states"}};
    const RunResult g = RunPage(Page::DMC, in);
    ASSERT_TRUE(g.graphWindow);
    EXPECT_EQ(g.graphWindow->design, GraphDesign::DG1);
    EXPECT_EQ(g.graphWindow->title, "Logarithmic Graphs of the D/M/c queue");
    EXPECT_EQ(g.graphWindow->label1, "c =    3");
    ASSERT_EQ(g.graphWindow->graphs.size(), 1u);
    EXPECT_EQ(g.graphWindow->graphs[0].graphTitle, "P(L(time)>n | L(time)>0)");
    EXPECT_EQ(g.graphWindow->graphs[0].xTitle, "State n");
    EXPECT_LE(g.graphWindow->graphs[0].points.back().second, 0.001);
    in.choices["graph"] = "wait";
    const RunResult w = RunPage(Page::DMC, in);
    ASSERT_TRUE(w.graphWindow);
    EXPECT_EQ(w.graphWindow->graphs[0].graphTitle, "P(Wq>t | Wq>0)");
    EXPECT_EQ(w.graphWindow->graphs[0].xTitle, "Time t");
    in.fields = {{"c", "2"}, {"rho", "0.025"}};
    EXPECT_EQ(Texts(RunPage(Page::DMC, in)),
              (std::vector<std::string>{"Rho is too small for reliable results", ""}));
}

} // namespace
} // namespace tarvik::queue
