// Special functions and root finders of the statistical tables.
#include "modules/tables/distributions.h"
#include "modules/tables/tails.h"

#include <boost/math/policies/policy.hpp>
#include <boost/math/special_functions/beta.hpp>
#include <boost/math/special_functions/gamma.hpp>

#include <cfloat>
#include <cmath>
#include <utility>

namespace tarvik::tables {

namespace {

// Errors of the special functions never throw: the callers keep the
// arguments inside the domains, and a stray NaN prints as a wrong line
// rather than ending the program.
using Policy = boost::math::policies::policy<
    boost::math::policies::domain_error<boost::math::policies::errno_on_error>,
    boost::math::policies::pole_error<boost::math::policies::errno_on_error>,
    boost::math::policies::overflow_error<boost::math::policies::errno_on_error>,
    boost::math::policies::evaluation_error<boost::math::policies::errno_on_error>>;

GuardHandler& Handler() {
    static GuardHandler handler;
    return handler;
}

// ln sqrt(2 pi)
constexpr long double kLnSqrt2Pi = 0.918938533204672741780329736405617639861L;

// B_2i / (2i (2i - 1)), i = 1 ... 20: the Stirling series of ln Γ.
constexpr long double kStirling[20] = {
    1.0L / 12.0L,
    -1.0L / 360.0L,
    1.0L / 1260.0L,
    -1.0L / 1680.0L,
    1.0L / 1188.0L,
    -691.0L / 360360.0L,
    1.0L / 156.0L,
    -3617.0L / 122400.0L,
    43867.0L / 244188.0L,
    -174611.0L / 125400.0L,
    77683.0L / 5796.0L,
    -236364091.0L / 1506960.0L,
    657931.0L / 300.0L,
    -3392780147.0L / 93960.0L,
    1723168255201.0L / 2492028.0L,
    -7709321041217.0L / 505920.0L,
    151628697551.0L / 396.0L,
    -26315271553053477373.0L / 2418179400.0L,
    154210205991661.0L / 444.0L,
    -261082718496449122051.0L / 21106800.0L,
};

} // namespace

GuardHandler SetGuardHandler(GuardHandler handler) {
    GuardHandler old = std::move(Handler());
    Handler() = std::move(handler);
    return old;
}

namespace detail {

void Guard(const char* message) {
    if (Handler()) Handler()(message);
}

void Fail(const char* message) {
    throw PreconditionFailure(message);
}

long double LnGammaL(long double x) {
    if (x <= 0) Guard("Fatal error");
    // Raise the argument to at least 7 by the recurrence Γ(x + 1) = x Γ(x).
    long double y = x;
    long double product = 1;
    while (y < 7) {
        product *= y;
        y += 1;
    }
    long double sum = (y - 0.5L) * std::log(y) - y + kLnSqrt2Pi;
    const long double y2 = y * y;
    long double power = y;
    for (long double c : kStirling) {
        const long double next = sum + c / power;
        if (next == sum) break;
        sum = next;
        power *= y2;
    }
    return sum - std::log(std::fabs(product));
}

Tails IncompleteGamma(long double a, long double y) {
    Tails t;
    if (!(y > 0)) return {0, 1};
    if (std::isinf(y)) return {1, 0};
    // Compute the smaller tail directly; the other follows without loss.
    if (y < a) {
        t.lower = boost::math::gamma_p(a, y, Policy());
        t.upper = 1 - t.lower;
    } else {
        t.upper = boost::math::gamma_q(a, y, Policy());
        t.lower = 1 - t.upper;
    }
    return t;
}

Tails IncompleteBeta(long double a, long double b, long double x, long double y) {
    if (!(x > 0)) return {0, 1};
    if (!(y > 0)) return {1, 0};
    Tails t;
    // The smaller tail lies on the side of x away from the mean a / (a + b).
    const bool lowerSmaller = x * (a + b) < a;
    if (x <= 0.5L) {
        if (lowerSmaller) {
            t.lower = boost::math::ibeta(a, b, x, Policy());
            t.upper = 1 - t.lower;
        } else {
            t.upper = boost::math::ibetac(a, b, x, Policy());
            t.lower = 1 - t.upper;
        }
    } else {
        // I_x(a, b) = 1 - I_y(b, a), with y exact.
        if (lowerSmaller) {
            t.lower = boost::math::ibetac(b, a, y, Policy());
            t.upper = 1 - t.lower;
        } else {
            t.upper = boost::math::ibeta(b, a, y, Policy());
            t.lower = 1 - t.upper;
        }
    }
    return t;
}

} // namespace detail

double LnGamma(double x) {
    return static_cast<double>(detail::LnGammaL(x));
}

double BETAI(double x, double a, double b) {
    if (x < 0 || x > 1 || std::isnan(x)) detail::Fail("error in routine BETAI");
    return static_cast<double>(detail::IncompleteBeta(a, b, x, 1.0L - x).lower);
}

double GammaScaledCdf(double sigma, double alpha, double x) {
    if (x <= 0) return 0;
    if (alpha <= 0) detail::Guard("Fatal error: alpha < 0");
    if (sigma <= 0) detail::Guard("Fatal error: ,Sigma < 0");
    if (alpha <= 0 || sigma <= 0) return 0;
    return static_cast<double>(detail::IncompleteGamma(alpha, static_cast<long double>(x) / sigma).lower);
}

long double RTBIS(const RealFunction& f, long double x1, long double x2, long double xacc) {
    // The step may go down to the smallest numbers of the extended range, so
    // that roots far below 1 are still found to full relative accuracy.
    constexpr int kMaxHalvings = 17000;
    constexpr long double kRelative = 1e-15L;
    const long double f1 = f(x1);
    const long double f2 = f(x2);
    if (!(f1 * f2 < 0)) detail::Fail("pause in RTBIS\nRoot must be bracketed for bisection.");
    long double start = f1 < 0 ? x1 : x2;
    long double step = f1 < 0 ? x2 - x1 : x1 - x2;
    for (int j = 0; j < kMaxHalvings; ++j) {
        step *= 0.5L;
        const long double mid = start + step;
        const long double fm = f(mid);
        if (fm <= 0) start = mid;
        if (std::fabs(step) < xacc + kRelative * std::fabs(start) || fm == 0) return start;
    }
    detail::Fail("pause in RTBIS - too many bisections");
}

long double ZeroIn(const RealFunction& f, long double x0, long double tol) {
    // A value of f this small ends the search at once. The percentiles pass an f
    // relative to the probability asked for, so this is a relative accuracy
    // of the probability, fine enough to print 8 digits of any percentile.
    constexpr long double kSmall = 1e-17L;
    constexpr long double kEps = 5e-16L; // relative part of the x tolerance
    constexpr int kMaxSteps = 3000;

    // 1. The start value itself.
    const long double d0 = f(x0);
    if (std::fabs(d0) < kSmall) return x0;

    // 2. Bracketing: steps of doubling length away from x0 until f changes sign.
    long double h = d0 > 0 ? -0.5L : 0.5L;
    long double a = x0, fa = d0;
    long double b = 0, fb = 0;
    bool bracketed = false;
    for (int i = 0; i < kMaxSteps; ++i) {
        b = a + h;
        fb = f(b);
        if (std::fabs(fb) < kSmall) return b;
        if ((fb > 0) == (d0 > 0)) {
            h *= 2;
            a = b;
            fa = fb;
            if (std::isinf(b)) return b;
        } else {
            bracketed = true;
            break;
        }
    }
    if (!bracketed) return b;

    // 3. Dekker-Brent refinement on [a, b].
    long double c = a, fc = fa;
    long double d = b - a, e = d;
    for (int i = 0; i < kMaxSteps; ++i) {
        if ((fb > 0) == (fc > 0)) {
            c = a;
            fc = fa;
            d = e = b - a;
        }
        if (std::fabs(fc) < std::fabs(fb)) {
            a = b;
            b = c;
            c = a;
            fa = fb;
            fb = fc;
            fc = fa;
        }
        const long double tol1 = 2 * kEps * std::fabs(b) + 0.5L * tol + LDBL_MIN;
        const long double m = 0.5L * (c - b);
        if (std::fabs(m) <= tol1 || fb == 0) return b;
        if (std::fabs(e) >= tol1 && std::fabs(fa) > std::fabs(fb)) {
            long double p, q;
            const long double s = fb / fa;
            if (a == c) {
                // Secant step.
                p = 2 * m * s;
                q = 1 - s;
            } else {
                // Inverse quadratic interpolation.
                const long double qq = fa / fc;
                const long double r = fb / fc;
                p = s * (2 * m * qq * (qq - r) - (b - a) * (r - 1));
                q = (qq - 1) * (r - 1) * (s - 1);
            }
            if (p > 0)
                q = -q;
            else
                p = -p;
            const long double previous = e;
            e = d;
            if (2 * p < 3 * m * q - std::fabs(tol1 * q) && p < std::fabs(0.5L * previous * q)) {
                d = p / q;
            } else {
                d = m;
                e = d;
            }
        } else {
            d = m;
            e = d;
        }
        a = b;
        fa = fb;
        b += std::fabs(d) > tol1 ? d : (m > 0 ? tol1 : -tol1);
        fb = f(b);
    }
    return b;
}

} // namespace tarvik::tables
