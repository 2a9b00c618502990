// Poisson, binomial and hypergeometric distributions.
#include "modules/tables/distributions.h"
#include "modules/tables/tails.h"

#include <algorithm>
#include <cmath>

namespace tarvik::tables {

using detail::Tails;

namespace {

// C(n, k) as the product of (n - i) / (i + 1) over i < min(k, n - k).
long double BinomialCoefficient(long long n, long long k) {
    const long long m = std::min(k, n - k);
    long double c = 1;
    for (long long i = 0; i < m; ++i)
        c = c * static_cast<long double>(n - i) / static_cast<long double>(i + 1);
    return c;
}

// A term that no longer changes a sum in extended precision ends it.
bool Negligible(long double sum, long double term) {
    return sum + term == sum;
}

} // namespace

namespace detail {

// ---------------------------------------------------------------- Poisson

long double PoissonPmfL(long double lambda, long long k) {
    if (lambda < 0) Fail("Lambda < 0 in PoissonPmf");
    if (k < 0) return 0;
    if (lambda == 0) return k == 0 ? 1 : 0;
    // P(X = k) < 1e-18 here.
    if (lambda <= 100 && k > 200) return 0;
    const long double kl = static_cast<long double>(k);
    return std::exp(kl * std::log(lambda) - lambda - LnGammaL(kl + 1));
}

Tails PoissonTails(double lambda, long long k) {
    if (lambda < 0) Fail("Lambda < 0 in PoissonPmf");
    if (k < 0) return {0, 1};
    if (lambda == 0) return {1, 0};
    // P(X > k) < 1e-18 here.
    if (lambda <= 100 && k > 200) return {1, 0};
    if (lambda > 1000) {
        // P(X <= k) = Q(k + 1, lambda).
        const Tails g = IncompleteGamma(static_cast<long double>(k) + 1, lambda);
        return {g.upper, g.lower};
    }
    const long double lam = lambda;
    const long long m = static_cast<long long>(std::floor(lambda)) + 1;
    Tails t;
    if (k < m) {
        // Below the mean: the lower tail summed downwards from P(k).
        long double term = PoissonPmfL(lam, k);
        long double sum = term;
        for (long long j = k; j >= 1; --j) {
            term = term * static_cast<long double>(j) / lam;
            if (Negligible(sum, term)) break;
            sum += term;
        }
        t.lower = std::min(sum, 1.0L);
        t.upper = 1 - t.lower;
    } else {
        // Above the mean: the upper tail summed upwards from P(k + 1).
        long double term = PoissonPmfL(lam, k + 1);
        long double sum = term;
        for (long long j = k + 2;; ++j) {
            term = term * lam / static_cast<long double>(j);
            if (Negligible(sum, term)) break;
            sum += term;
        }
        t.upper = std::min(sum, 1.0L);
        t.lower = 1 - t.upper;
    }
    return t;
}

// ---------------------------------------------------------------- binomial

long double BinomialPmfL(long long n, long double p, long long k) {
    if (k < 0 || k > n) return 0;
    if (p == 0 || n == 0) return k == 0 ? 1 : 0;
    if (p == 1) return k == n ? 1 : 0;
    if (n < 46)
        return BinomialCoefficient(n, k) * std::pow(p, static_cast<long double>(k)) *
               std::pow(1 - p, static_cast<long double>(n - k));
    const long double nl = static_cast<long double>(n), kl = static_cast<long double>(k);
    return std::exp(LnGammaL(nl + 1) - LnGammaL(kl + 1) - LnGammaL(nl - kl + 1) + kl * std::log(p) +
                    (nl - kl) * std::log1p(-p));
}

namespace {

// P(X <= k) for X ~ B(n, p), k <= n / 2, summed downwards from P(X = k).
// Returns a negative value when P(X = k) lies below the extended range.
long double BinomialLowerSum(long long n, long double p, long long k) {
    long double term = BinomialPmfL(n, p, k);
    if (term == 0) return -1;
    const long double ratio = (1 - p) / p;
    long double sum = term;
    for (long long j = k; j >= 1; --j) {
        term = term * ratio * static_cast<long double>(j) / static_cast<long double>(n - j + 1);
        if (Negligible(sum, term)) break;
        sum += term;
    }
    return sum;
}

// P(X > k), summed upwards from P(X = k + 1); negative when that term lies
// below the extended range. Used where P(X > k) < 1/2, so the terms fall.
long double BinomialUpperSum(long long n, long double p, long long k) {
    long double term = BinomialPmfL(n, p, k + 1);
    if (term == 0) return -1;
    const long double ratio = p / (1 - p);
    long double sum = term;
    for (long long j = k + 1; j < n; ++j) {
        term = term * ratio * static_cast<long double>(n - j) / static_cast<long double>(j + 1);
        if (Negligible(sum, term)) break;
        sum += term;
    }
    return sum;
}

Tails BinomialBeta(long long n, long double p, long long k) {
    // P(X <= k) = 1 - I_p(k + 1, n - k).
    const Tails beta =
        IncompleteBeta(static_cast<long double>(k) + 1, static_cast<long double>(n - k), p, 1 - p);
    return {beta.upper, beta.lower};
}

// Both tails from the sum S = P(X <= k): when S is the larger one, the other
// tail is summed directly rather than taken as 1 - S, which would keep only
// the digits of S that lie beyond its closeness to 1.
Tails BinomialSumTails(long long n, long double p, long long k, long double s) {
    const long double lower = std::min(s, 1.0L);
    if (lower <= 0.5L) return {lower, 1 - lower};
    const long double upper = BinomialUpperSum(n, p, k);
    if (upper < 0) return {lower, 1 - lower};
    return {1 - upper, upper};
}

} // namespace

Tails BinomialTails(long long n, double p, long long k) {
    if (n < 0) Fail("n should be >= 0");
    if (!(p >= 0 && p <= 1)) Fail("p should be in [0,1]");
    if (k < 0) return {0, 1};
    if (k >= n || p == 0) return {1, 0};
    if (p == 1) return {0, 1};
    if (n > 1000) return BinomialBeta(n, p, k);
    if (2 * k <= n) {
        const long double s = BinomialLowerSum(n, p, k);
        if (s < 0) return BinomialBeta(n, p, k);
        return BinomialSumTails(n, p, k, s);
    }
    // The complement: n - k - 1 or fewer successes with probability 1 - p.
    const long double q = 1.0L - p;
    const long double s = BinomialLowerSum(n, q, n - k - 1);
    if (s < 0) return BinomialBeta(n, p, k);
    const Tails c = BinomialSumTails(n, q, n - k - 1, s);
    return {c.upper, c.lower};
}

// ---------------------------------------------------------------- hypergeometric

long double HypergeometricPmfL(long long x, long long n, long long R, long long N) {
    if (n < 0 || n > N || R < 0 || R > N) Fail("Illegal argument in HypergeometricPmf");
    if (n == N && x == R) return 1;
    if (x < std::max(0LL, n + R - N) || x > std::min(n, R)) return 0;
    if (N <= 45)
        return BinomialCoefficient(n, x) * BinomialCoefficient(N - n, R - x) / BinomialCoefficient(N, R);
    auto lg = [](long long a) { return LnGammaL(static_cast<long double>(a) + 1); };
    return std::exp(lg(R) + lg(N - R) + lg(n) + lg(N - n) - lg(x) - lg(R - x) - lg(n - x) -
                    lg(N - R - n + x) - lg(N));
}

Tails HypergeometricTails(long long x, long long n, long long R, long long N) {
    if (n < 0 || n > N || R < 0 || R > N) Fail("Illegal argument in RHYPCDF");
    const long long lo = std::max(0LL, n + R - N);
    const long long hi = std::min(n, R);
    if (x < lo) return {0, 1};
    if (x >= hi) return {1, 0};
    const long long mode = static_cast<long long>(
        std::floor((static_cast<long double>(n) + 1) * (static_cast<long double>(R) + 1) / (N + 2.0L)));
    const long long rest = N - n - R; // white balls left undrawn when no red one is drawn
    Tails t;
    if (x < mode) {
        // The lower tail, downwards from P(x).
        long double term = HypergeometricPmfL(x, n, R, N);
        long double sum = term;
        for (long long j = x; j > lo; --j) {
            term = term * static_cast<long double>(j) * static_cast<long double>(rest + j) /
                   (static_cast<long double>(n - j + 1) * static_cast<long double>(R - j + 1));
            if (Negligible(sum, term)) break;
            sum += term;
        }
        t.lower = std::min(sum, 1.0L);
        t.upper = 1 - t.lower;
    } else {
        // The upper tail, upwards from P(x + 1).
        long double term = HypergeometricPmfL(x + 1, n, R, N);
        long double sum = term;
        for (long long j = x + 1; j < hi; ++j) {
            term = term * static_cast<long double>(n - j) * static_cast<long double>(R - j) /
                   (static_cast<long double>(j + 1) * static_cast<long double>(rest + j + 1));
            if (Negligible(sum, term)) break;
            sum += term;
        }
        t.upper = std::min(sum, 1.0L);
        t.lower = 1 - t.upper;
    }
    return t;
}

} // namespace detail

double PoissonPmf(double lambda, long long k) {
    return static_cast<double>(detail::PoissonPmfL(lambda, k));
}

double PoissonCdf(double lambda, long long k) {
    return static_cast<double>(detail::PoissonTails(lambda, k).lower);
}

double rbinpro(long long n, double p, double x) {
    if (n < 0) detail::Fail("n<0 in rbinpro");
    if (!(p >= 0 && p <= 1)) detail::Fail("p not in [0,1] in rbinpro");
    if (x < 0) return 0;
    const double k = std::floor(x);
    if (k > static_cast<double>(n)) return 0;
    return static_cast<double>(detail::BinomialPmfL(n, p, static_cast<long long>(k)));
}

double BinomialCdf(long long n, double p, long long k) {
    return static_cast<double>(detail::BinomialTails(n, p, k).lower);
}

double HypergeometricPmf(long long x, long long n, long long R, long long N) {
    return static_cast<double>(detail::HypergeometricPmfL(x, n, R, N));
}

double RHYPCDF(long long x, long long n, long long R, long long N) {
    return static_cast<double>(detail::HypergeometricTails(x, n, R, N).lower);
}

double HypergeometricCdf(long long x, long long n, long long R, long long N) {
    if (x >= 0 && x <= 10) {
        long double sum = 0;
        for (long long j = 0; j <= x; ++j) sum += detail::HypergeometricPmfL(j, n, R, N);
        return static_cast<double>(std::min(sum, 1.0L));
    }
    const long double c =
        detail::HypergeometricTails(x - 1, n, R, N).lower + detail::HypergeometricPmfL(x, n, R, N);
    return static_cast<double>(std::min(c, 1.0L));
}

} // namespace tarvik::tables
