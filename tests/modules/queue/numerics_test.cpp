#include "modules/queue/numerics.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <random>

namespace tarvik::queue {
namespace {

// A plain dense solve in long double with full pivoting: the oracle.
std::vector<long double> DenseSolve(std::vector<std::vector<long double>> a, std::vector<long double> b) {
    const std::size_t n = b.size();
    std::vector<std::size_t> col(n);
    for (std::size_t i = 0; i < n; ++i) col[i] = i;
    for (std::size_t k = 0; k < n; ++k) {
        std::size_t pr = k, pc = k;
        for (std::size_t i = k; i < n; ++i)
            for (std::size_t j = k; j < n; ++j)
                if (std::fabs(a[i][j]) > std::fabs(a[pr][pc])) pr = i, pc = j;
        std::swap(a[k], a[pr]);
        std::swap(b[k], b[pr]);
        for (auto& row : a) std::swap(row[k], row[pc]);
        std::swap(col[k], col[pc]);
        for (std::size_t i = k + 1; i < n; ++i) {
            const long double m = a[i][k] / a[k][k];
            for (std::size_t j = k; j < n; ++j) a[i][j] -= m * a[k][j];
            b[i] -= m * b[k];
        }
    }
    std::vector<long double> y(n), x(n);
    for (std::size_t i = n; i-- > 0;) {
        long double s = b[i];
        for (std::size_t j = i + 1; j < n; ++j) s -= a[i][j] * y[j];
        y[i] = s / a[i][i];
    }
    for (std::size_t i = 0; i < n; ++i) x[col[i]] = y[i];
    return x;
}

void CompareWithDense(int n, bool hessenberg, unsigned seed) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> u(-1, 1);
    DenseMatrix a(n);
    std::vector<std::vector<long double>> ref(static_cast<std::size_t>(n),
                                              std::vector<long double>(static_cast<std::size_t>(n)));
    std::vector<double> r(static_cast<std::size_t>(n));
    std::vector<long double> rr(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            if (hessenberg && j < i - 1) continue;
            const double v = u(gen) + (i == j ? 2.0 : 0.0);
            a(i, j) = v;
            ref[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] = v;
        }
        r[static_cast<std::size_t>(i)] = u(gen);
        rr[static_cast<std::size_t>(i)] = r[static_cast<std::size_t>(i)];
    }
    const auto expected = DenseSolve(ref, rr);
    std::vector<double> x;
    if (hessenberg)
        ASSERT_TRUE(SolveHessenberg(a, r, x));
    else
        x = LUDECO(a, r);
    for (int i = 0; i < n; ++i)
        EXPECT_NEAR(x[static_cast<std::size_t>(i)],
                    static_cast<double>(expected[static_cast<std::size_t>(i)]), 1e-9)
            << "n=" << n << " i=" << i;
}

TEST(LUDECO, AgreesWithADenseSolveOnRandomSystems) {
    for (int n : {1, 2, 5, 17, 60, 151}) CompareWithDense(n, false, 11u + static_cast<unsigned>(n));
}

TEST(LUDECO, NeedsPivotingAndRefusesSingularMatrices) {
    DenseMatrix a(2);
    a(0, 0) = 0;
    a(0, 1) = 1;
    a(1, 0) = 1;
    a(1, 1) = 1;
    const auto x = LUDECO(a, {2, 3});
    EXPECT_NEAR(x[0], 1, 1e-15);
    EXPECT_NEAR(x[1], 2, 1e-15);
    DenseMatrix s(3);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) s(i, j) = i + j; // rank 2
    try {
        LUDECO(s, {1, 2, 3});
        FAIL() << "singular matrix accepted";
    } catch (const Breakdown& b) {
        ASSERT_EQ(b.lines.size(), 1u);
        EXPECT_EQ(b.lines[0], "Er is iets mis in LUDECO");
    }
}

TEST(Householder, AgreesWithADenseSolveOnRandomHessenbergSystems) {
    for (int n : {1, 2, 6, 40, 200}) CompareWithDense(n, true, 5u + static_cast<unsigned>(n));
}

TEST(Householder, DetectsSingularMatrices) {
    DenseMatrix a(3);
    // Second row a multiple of the first.
    a(0, 0) = 1, a(0, 1) = 2, a(0, 2) = 3;
    a(1, 0) = 2, a(1, 1) = 4, a(1, 2) = 6;
    a(2, 1) = 1, a(2, 2) = 1;
    std::vector<double> x;
    EXPECT_FALSE(SolveHessenberg(a, {1, 1, 1}, x));
    DenseMatrix z(1);
    EXPECT_FALSE(SolveHessenberg(z, {1}, x));
}

TEST(GaussLegendre, IntegratesKnownIntegrals) {
    const auto rule = GaussLegendre(24, 0, std::numbers::pi, 1e-14);
    double s = 0;
    for (std::size_t i = 0; i < rule.x.size(); ++i) s += rule.w[i] * std::sin(rule.x[i]);
    EXPECT_NEAR(s, 2, 1e-13);
    // Exact for polynomials up to degree 2n - 1.
    const auto r32 = GaussLegendre(32, 0, 1, 3e-11);
    for (int k : {0, 1, 7, 40, 63}) {
        double p = 0;
        for (std::size_t i = 0; i < r32.x.size(); ++i) p += r32.w[i] * std::pow(r32.x[i], k);
        EXPECT_NEAR(p, 1.0 / (k + 1), 1e-13) << k;
    }
    const auto big = GaussLegendre(275, 0, std::numbers::pi, 1e-14);
    double e = 0;
    for (std::size_t i = 0; i < big.x.size(); ++i) e += big.w[i] * std::exp(-big.x[i]);
    EXPECT_NEAR(e, 1 - std::exp(-std::numbers::pi), 1e-13);
    for (std::size_t i = 1; i < big.x.size(); ++i) EXPECT_LT(big.x[i - 1], big.x[i]);
}

TEST(RootFinders, FindKnownRoots) {
    auto f = [](double x) { return std::cos(x) - x; };
    // Relative precision 6e-8 in this use.
    EXPECT_NEAR(Zbrent(RootUse::CoxianBrent, f, 0, 1, 1e-12), 0.7390851332151607, 1e-7);
    EXPECT_NEAR(Zbrent(RootUse::DG1Brent, f, 0, 1, 0), 0.7390851332151607, 1e-9);
    auto g = [](double x) { return x * x - 2; };
    EXPECT_NEAR(Rtbis(RootUse::DG1Bisection, g, 0, 2, 1e-12), std::sqrt(2.0), 1e-11);
    // Started from the end where the function is negative, whichever it is.
    auto h = [](double x) { return 2 - x * x; };
    EXPECT_NEAR(Rtbis(RootUse::ErlangBisection, h, 0, 2, 1e-12), std::sqrt(2.0), 1e-11);
}

TEST(RootFinders, BracketFailuresAndCapsBreakDown) {
    auto pos = [](double x) { return 1 + x * x; };
    try {
        Zbrent(RootUse::ErlangBrent, pos, 0, 1, 1e-10);
        FAIL();
    } catch (const Breakdown& b) {
        EXPECT_EQ(b.lines, (std::vector<std::string>{"pause in ZBRENT", "Root must be bracketed."}));
        EXPECT_FALSE(b.box);
    }
    try {
        Rtbis(RootUse::GMcBisection, pos, 0, 1, 1e-18);
        FAIL();
    } catch (const Breakdown& b) {
        EXPECT_TRUE(b.box);
        EXPECT_EQ(b.lines.front(), "Error : No correct interval for bisection !");
    }
    // An end within 1e-18 of zero is returned at once.
    EXPECT_EQ(Rtbis(
                  RootUse::GMcBisection, [](double x) { return x - 1; }, 1, 2, 1e-18),
              1);
    // The cap of the D/M/c use leaves the current value standing.
    bool hit = false;
    auto step = [](double x) { return x < 0.3 ? -1.0 : 1.0; }; // never exactly zero
    const double x = Rtbis(RootUse::DMcBisection, step, 0, 1, 0, &hit);
    EXPECT_TRUE(hit);
    EXPECT_NEAR(x, 0.3, 1e-15);
    EXPECT_THROW(Rtbis(RootUse::MDcBisection, step, 0, 1, 0), Breakdown);
    for (RootUse use : {RootUse::DG1Bisection, RootUse::MDcBisection}) { // one sign at both ends
        try {
            Rtbis(use, pos, 1e-14, 1, 1e-14);
            FAIL();
        } catch (const Breakdown& b) {
            EXPECT_EQ(b.lines, std::vector<std::string>{"Fout in bisectie "});
        }
    }
}

} // namespace
} // namespace tarvik::queue
