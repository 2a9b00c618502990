// Normal, chi-square, Student-t, Fisher-F and gamma (expectation 1)
// distributions: probabilities, percentiles and densities.
#include "modules/tables/distributions.h"
#include "modules/tables/tails.h"

#include <boost/math/special_functions/erf.hpp>

#include <cmath>

namespace tarvik::tables {

using detail::Tails;

namespace {

constexpr long double kSqrt2 = 1.414213562373095048801688724209698079L;
constexpr long double kSqrtHalf = 0.707106781186547524400844362104849039L;
constexpr long double kPi = 3.141592653589793238462643383279502884L;

// The function whose root is the percentile of p: the difference between
// the tail of the distribution and the tail asked for, relative to the
// latter, on whichever side p is the smaller tail. It increases with x and
// keeps its relative accuracy even for p near 0 or 1.
template <class TailFunction> RealFunction PercentileEquation(TailFunction tails, double p) {
    const long double target = p;
    const long double complement = 1.0L - static_cast<long double>(p);
    if (p <= 0.5) return [=](long double x) { return (tails(x).lower - target) / target; };
    return [=](long double x) { return (complement - tails(x).upper) / complement; };
}

// The x tolerance of the percentile searches: the relative accuracy built
// into the root finders (far finer than the 8 digits printed) does the work.
constexpr long double kPercentileTolerance = 0;

} // namespace

namespace detail {

Tails NormalTails(long double x) {
    const long double z = x * kSqrtHalf;
    if (z > 5.5L) return {1, 0};
    if (z < -5.5L) return {0, 1};
    return {0.5L * boost::math::erfc(-z), 0.5L * boost::math::erfc(z)};
}

long double NormalQuantileL(double p) {
    if (p < 1e-12) return -kInfinite;
    if (1 - p < 1e-12) return kInfinite;
    // sqrt(2) erfinv(2p - 1), written through erfc so that neither tail loses digits.
    if (p < 0.5) return -kSqrt2 * boost::math::erfc_inv(2.0L * p);
    return kSqrt2 * boost::math::erfc_inv(2.0L * (1.0L - static_cast<long double>(p)));
}

Tails ChiSquareTails(double v, double x) {
    if (v <= 0) Guard("Fatal error: Df < 0");
    if (!(x > 0) || !(v > 0)) return {0, 1};
    // The lower tail is taken as 0 in the far left, where it lies below what
    // a table prints (1e-12). The bands are quick tests; the bound
    // P(a, f) <= f^a e^-f / Γ(a + 1) / (1 - f / (a + 1)) confirms each.
    const bool band = (v >= 100 && x <= v - 6 * std::sqrt(2 * v)) || (v >= 75 && v < 100 && x <= 10) ||
                      (v >= 30 && v < 75 && x <= 3) || (v >= 20 && v < 30 && x <= 0.5) ||
                      (v >= 10 && v < 20 && x <= 0.1);
    const long double a = 0.5L * v;
    const long double f = 0.5L * x;
    if (band && f < a + 1) {
        const long double lnBound = a * std::log(f) - f - LnGammaL(a + 1) - std::log1p(-f / (a + 1));
        if (lnBound < std::log(1e-13L)) return {0, 1};
    }
    Tails t = IncompleteGamma(a, f);
    if (t.lower < 0) t.lower = 0;
    if (t.lower > 1) t.lower = 1;
    return t;
}

long double ChiSquareQuantileL(double v, double p) {
    if (p <= 5e-10) return -kInfinite;
    if (p >= 0.999999999999) return kInfinite;
    const long double z = NormalQuantileL(p);
    const long double x0 = z * std::sqrt(2.0L * v) + std::fabs(z) + v;
    auto tails = [v](long double x) { return ChiSquareTails(v, static_cast<double>(x)); };
    return ZeroIn(PercentileEquation(tails, p), x0, kPercentileTolerance);
}

Tails StudentTails(double v, double x) {
    // b = I_{v / (v + x^2)}(v / 2, 1 / 2) / 2 is the tail beyond |x|.
    const long double t = static_cast<long double>(x) * x;
    const Tails beta = IncompleteBeta(0.5L * v, 0.5L, v / (v + t), t / (v + t));
    const long double b = 0.5L * beta.lower;
    const long double rest = 0.5L + 0.5L * beta.upper; // 1 - b
    if (x >= 0) return {rest, b};
    return {b, rest};
}

long double StudentQuantileL(double v, double p) {
    if (p <= 1e-12 || (p <= 5e-10 && v == 2) || (p <= 5e-9 && v == 1)) return -kInfinite;
    if (p >= 0.999999999999) return kInfinite;
    // Cornish-Fisher start.
    const long double z = NormalQuantileL(p);
    const long double z2 = z * z;
    const long double x0 = z + z * (z2 + 1) / (4 * v) + z * (5 * z2 * z2 + 16 * z2 + 3) / (96.0L * v * v);
    auto tails = [v](long double x) { return StudentTails(v, static_cast<double>(x)); };
    return ZeroIn(PercentileEquation(tails, p), x0, kPercentileTolerance);
}

Tails FisherTails(double v, double w, double x) {
    if (!(x > 0)) return {0, 1};
    // 1 - I_{w / (w + v x)}(w / 2, v / 2) = I_{v x / (w + v x)}(v / 2, w / 2).
    const long double vx = static_cast<long double>(v) * x;
    return IncompleteBeta(0.5L * v, 0.5L * w, vx / (w + vx), w / (w + vx));
}

long double FisherQuantileL(double v, double w, double p) {
    if (p <= 1e-12) return -kInfinite;
    if (p >= 0.999999999999) return kInfinite;
    long double x0 = 0.5L;
    if (p > 0.5) {
        if (w < 5) {
            x0 = 1;
        } else {
            const long double z = NormalQuantileL(p);
            const long double wl = w;
            x0 = wl / (wl - 2) +
                 z * std::sqrt(2 * wl * wl * (v + wl - 2) / (v * (wl - 2) * (wl - 2) * (wl - 4)));
        }
    }
    auto tails = [v, w](long double x) { return FisherTails(v, w, static_cast<double>(x)); };
    return ZeroIn(PercentileEquation(tails, p), x0, kPercentileTolerance);
}

Tails GammaTails(double s, double x) {
    if (!(x > 0)) return {0, 1};
    const long double alpha = 1.0L / (static_cast<long double>(s) * s);
    return IncompleteGamma(alpha, alpha * x);
}

} // namespace detail

double NormalCdf(double x) {
    return static_cast<double>(detail::NormalTails(x).lower);
}

double NormalQuantile(double p) {
    return static_cast<double>(detail::NormalQuantileL(p));
}

double NormalDensity(double sigma, double mu, double x) {
    if (sigma <= 0) detail::Guard("Fatal error: Sigma < 0");
    const long double u = (static_cast<long double>(x) - mu) / sigma;
    return static_cast<double>(std::exp(-0.5L * u * u) / (sigma * std::sqrt(2 * kPi)));
}

double ChiSquareCdf(double v, double x) {
    return static_cast<double>(detail::ChiSquareTails(v, x).lower);
}

double ChiSquareQuantile(double v, double p) {
    return static_cast<double>(detail::ChiSquareQuantileL(v, p));
}

double ChiSquareDensity(double v, double x) {
    if (x <= 1e-12) return 0;
    const long double h = 0.5L * v;
    return static_cast<double>(std::exp(h * std::log(0.5L) + (h - 1) * std::log(static_cast<long double>(x)) -
                                        0.5L * x - detail::LnGammaL(h)));
}

double StudentCdf(double v, double x) {
    return static_cast<double>(detail::StudentTails(v, x).lower);
}

double StudentQuantile(double v, double p) {
    return static_cast<double>(detail::StudentQuantileL(v, p));
}

double StudentDensity(double v, double x) {
    const long double vl = v;
    return static_cast<double>(std::exp(detail::LnGammaL(0.5L * (vl + 1)) - detail::LnGammaL(0.5L * vl) -
                                        std::log(std::sqrt(vl * kPi)) -
                                        0.5L * (vl + 1) * std::log1p(static_cast<long double>(x) * x / vl)));
}

double FisherCdf(double v, double w, double x) {
    return static_cast<double>(detail::FisherTails(v, w, x).lower);
}

double FisherQuantile(double v, double w, double p) {
    return static_cast<double>(detail::FisherQuantileL(v, w, p));
}

double FisherDensity(double v, double w, double x) {
    if (x <= 1e-8) return 0;
    const long double vl = v, wl = w, xl = x;
    return static_cast<double>(std::exp(0.5L * (vl - 2) * std::log(xl) + detail::LnGammaL(0.5L * (vl + wl)) -
                                        detail::LnGammaL(0.5L * vl) - detail::LnGammaL(0.5L * wl) +
                                        0.5L * vl * (std::log(vl) - std::log(wl)) -
                                        0.5L * (vl + wl) * std::log1p(xl * vl / wl)));
}

GammaProbabilities GammaCdf(double s, double x) {
    const Tails t = detail::GammaTails(s, x);
    return {static_cast<double>(t.lower), static_cast<double>(t.upper)};
}

long double GammaQuantile(double s, double p) {
    if (p < 1e-9) return -kInfinite;
    if (p > 0.999999999) return kInfinite;
    const long double alpha = 1.0L / (static_cast<long double>(s) * s);
    long double upper = s <= 0.2 ? alpha * (10 * s + 1) : 75.0L;
    const long double lower = s <= 0.1 ? alpha * (1 - 8 * s) : 0.0L;
    auto tails = [alpha](long double y) { return detail::IncompleteGamma(alpha, y); };
    const RealFunction f = PercentileEquation(tails, p);
    if (lower == 0) {
        // For a small shape the percentile can lie hundreds of decades below 1;
        // halving down to it from 75 would take thousands of steps. Since
        // P(alpha, y) >= y^alpha e^-y / Γ(alpha + 1), the root lies below
        // c e^(0.002 / alpha) with c = (p Γ(alpha + 1))^(1 / alpha) when that is
        // below 0.002: start the bisection from there.
        const long double c =
            std::exp((std::log(static_cast<long double>(p)) + detail::LnGammaL(alpha + 1)) / alpha);
        const long double bound = c * std::exp(0.002L / alpha);
        if (bound < 0.002L && bound > 0 && f(bound) > 0) upper = bound;
    }
    const long double y = RTBIS(f, lower, upper, kPercentileTolerance);
    long double x = y / alpha;
    if (x > kInfinite) x = kInfinite;
    if (x < -kInfinite) x = -kInfinite;
    return x;
}

double GammaDensity(double s, double x) {
    if (x < 1e-10) return 0;
    const long double alpha = 1.0L / (static_cast<long double>(s) * s);
    return static_cast<double>(std::exp(alpha * std::log(alpha) +
                                        (alpha - 1) * std::log(static_cast<long double>(x)) - alpha * x -
                                        detail::LnGammaL(alpha)));
}

} // namespace tarvik::tables
