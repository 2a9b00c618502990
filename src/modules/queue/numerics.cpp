#include "modules/queue/numerics.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tarvik::queue {
namespace {

bool SameSign(double a, double b) {
    return (a > 0 && b > 0) || (a < 0 && b < 0);
}

// Sum of x[k] * y[k] for k in [from, to), five terms at a time.
double Dot(const double* x, const double* y, int from, int to) {
    double s0 = 0, s1 = 0, s2 = 0, s3 = 0, s4 = 0;
    int k = from;
    for (; k + 5 <= to; k += 5) {
        s0 += x[k] * y[k];
        s1 += x[k + 1] * y[k + 1];
        s2 += x[k + 2] * y[k + 2];
        s3 += x[k + 3] * y[k + 3];
        s4 += x[k + 4] * y[k + 4];
    }
    for (; k < to; ++k) s0 += x[k] * y[k];
    return (s0 + s1) + (s2 + s3) + s4;
}

} // namespace

const RootUseParams& Params(RootUse use) {
    static const std::vector<std::string> zbrentPause = {"pause in routine ZBRENT",
                                                         "maximum number of iterations exceeded"};
    static const std::vector<std::string> rtbisBracket = {"pause in RTBIS",
                                                          "Root must be bracketed for bisection."};
    static const std::vector<std::string> rtbisCap = {"pause in RTBIS - too many bisections"};
    static const RootUseParams table[] = {
        // CoxianBrent
        {100, 6e-8, -1, -1, {"pause in routine ZBRENT", "root must be bracketed"}, zbrentPause, false, {}},
        // CoxianBisection
        {30000, 0, 0, -1, rtbisBracket, rtbisCap, false, {}},
        // ErlangBrent
        {10000, 6e-8, -1, -1, {"pause in ZBRENT", "Root must be bracketed."}, zbrentPause, false, {}},
        // ErlangBisection
        {0, 0, 0, -1, rtbisBracket, rtbisCap, false, {}},
        // ErlangBisectionFixed
        {10000,
         0,
         0,
         -1,
         {"Error : No correct interval for bisection !"},
         {"Error : Too many bisections"},
         false,
         {}},
        // DG1Brent
        {10000,
         2e-12,
         5e-10,
         -1,
         {"pause in routine ZBRENT", "root must be bracketed"},
         zbrentPause,
         false,
         {}},
        // DG1Bisection
        {10000, 0, 0, -1, rtbisBracket, rtbisCap, false, {"Fout in bisectie "}},
        // MDcBrent
        {10000,
         2e-12,
         5e-8,
         -1,
         {"interval voor Brent moet gesplitst worden"},
         {"max. aantaal iteraties overschreden !"},
         false,
         {}},
        // MDcBisection
        {10000,
         0,
         0,
         -1,
         {"Interval voor bisectie moet gesplitst worden ! "},
         {"te veel bisectieiteraties"},
         false,
         {"Fout in bisectie "}},
        // DMcBisection
        {10000, 0, 0, -1, rtbisBracket, {"pause in bisectie - te veel iteraties "}, false, {}},
        // GMcBisection
        {1000,
         0,
         0,
         1e-18,
         {"Error : No correct interval for bisection !"},
         {"Error : Too many bisections"},
         true,
         {}},
    };
    return table[static_cast<int>(use)];
}

double Zbrent(RootUse use, const RealFunction& f, double x1, double x2, double tol) {
    const RootUseParams& p = Params(use);
    double a = x1, b = x2, c = x2, d = 0, e = 0;
    double fa = f(a), fb = f(b);
    if (SameSign(fa, fb)) throw Breakdown(p.bracketFailure, p.box);
    double fc = fb;
    for (int iter = 0; iter < p.cap; ++iter) {
        if (SameSign(fb, fc)) {
            c = a;
            fc = fa;
            e = d = b - a;
        }
        if (std::fabs(fc) < std::fabs(fb)) {
            a = b;
            b = c;
            c = a;
            fa = fb;
            fb = fc;
            fc = fa;
        }
        const double tol1 = p.relTerm * std::fabs(b) + (p.absTerm < 0 ? 0.5 * tol : p.absTerm);
        const double xm = 0.5 * (c - b);
        if (std::fabs(xm) <= tol1 || fb == 0) return b;
        if (std::fabs(e) >= tol1 && std::fabs(fa) > std::fabs(fb)) {
            const double s = fb / fa;
            double pp, q;
            if (a == c) {
                pp = 2 * xm * s;
                q = 1 - s;
            } else {
                const double qa = fa / fc, r = fb / fc;
                pp = s * (2 * xm * qa * (qa - r) - (b - a) * (r - 1));
                q = (qa - 1) * (r - 1) * (s - 1);
            }
            if (pp > 0) q = -q;
            pp = std::fabs(pp);
            const double min1 = 3 * xm * q - std::fabs(tol1 * q);
            const double min2 = std::fabs(e * q);
            if (2 * pp < std::min(min1, min2)) {
                e = d;
                d = pp / q;
            } else {
                d = xm;
                e = d;
            }
        } else {
            d = xm;
            e = d;
        }
        a = b;
        fa = fb;
        b += std::fabs(d) > tol1 ? d : (xm >= 0 ? tol1 : -tol1);
        fb = f(b);
    }
    throw Breakdown(p.capReached, p.box);
}

double Rtbis(RootUse use, const RealFunction& f, double lo, double hi, double tol, bool* capHit) {
    const RootUseParams& p = Params(use);
    const double flo = f(lo), fhi = f(hi);
    if (p.endTolerance >= 0) {
        if (std::fabs(flo) <= p.endTolerance) return lo;
        if (std::fabs(fhi) <= p.endTolerance) return hi;
    } else {
        if (flo == 0) return lo;
        if (fhi == 0) return hi;
    }
    if (!p.sameSign.empty() && flo * fhi > 0) throw Breakdown(p.sameSign, p.box);
    if (SameSign(flo, fhi)) throw Breakdown(p.bracketFailure, p.box);
    double start = flo < 0 ? lo : hi;
    double dx = flo < 0 ? hi - lo : lo - hi;
    // Without a cap the halving still ends: dx underflows long before this.
    const int cap = p.cap > 0 ? p.cap : 5000;
    for (int i = 0; i < cap; ++i) {
        dx *= 0.5;
        const double x = start + dx;
        const double fx = f(x);
        if (fx < 0) start = x;
        if (std::fabs(dx) < tol || fx == 0) return start;
    }
    if (p.cap == 0) return start;
    if (capHit) {
        *capHit = true;
        return start;
    }
    throw Breakdown(p.capReached, p.box);
}

std::vector<double> Normalised(const std::vector<long double>& x) {
    long double sum = 0;
    for (long double v : x) sum += v;
    std::vector<double> p(x.size());
    for (std::size_t i = 0; i < x.size(); ++i) p[i] = static_cast<double>(x[i] / sum);
    return p;
}

QuadratureRule GaussLegendre(int n, double a, double b, double eps) {
    QuadratureRule rule;
    if (n <= 0) return rule;
    rule.x.assign(static_cast<std::size_t>(n), 0.0);
    rule.w.assign(static_cast<std::size_t>(n), 0.0);
    const double xm = 0.5 * (a + b), xl = 0.5 * (b - a);
    // P_n(z) by the recurrence into p1; returns P_n'(z).
    const auto derivative = [n](double z, double& p1) {
        double p2 = 0;
        p1 = 1;
        for (int j = 1; j <= n; ++j) {
            const double p3 = p2;
            p2 = p1;
            p1 = ((2.0 * j - 1) * z * p2 - (j - 1.0) * p3) / j;
        }
        return n * (z * p1 - p2) / (z * z - 1);
    };
    for (int i = 1; i <= (n + 1) / 2; ++i) {
        double z = std::cos(std::numbers::pi * (i - 0.25) / (n + 0.5));
        double p1 = 0, pp = 0;
        for (int iter = 0; iter < 100; ++iter) {
            pp = derivative(z, p1);
            const double z1 = z;
            z = z1 - p1 / pp;
            if (std::fabs(z - z1) <= eps) break;
        }
        pp = derivative(z, p1); // at the final z
        const std::size_t lo = static_cast<std::size_t>(i - 1), hi = static_cast<std::size_t>(n - i);
        rule.x[lo] = xm - xl * z;
        rule.x[hi] = xm + xl * z;
        rule.w[lo] = rule.w[hi] = 2 * xl / ((1 - z * z) * pp * pp);
    }
    return rule;
}

std::vector<double> LUDECO(DenseMatrix& a, std::vector<double> r) {
    const int n = a.size();
    std::vector<double> scale(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double* row = a.row(i);
        scale[static_cast<std::size_t>(i)] = std::sqrt(Dot(row, row, 0, n));
        if (!(scale[static_cast<std::size_t>(i)] > 0)) throw Breakdown({"Er is iets mis in LUDECO"});
    }
    for (int j = 0; j < n; ++j) {
        int pivot = j;
        double best = -1;
        for (int i = j; i < n; ++i) {
            const double v = std::fabs(a(i, j)) / scale[static_cast<std::size_t>(i)];
            if (v > best) {
                best = v;
                pivot = i;
            }
        }
        if (!(best >= 1e-12)) throw Breakdown({"Er is iets mis in LUDECO"});
        if (pivot != j) {
            std::swap_ranges(a.row(j), a.row(j) + n, a.row(pivot));
            std::swap(scale[static_cast<std::size_t>(j)], scale[static_cast<std::size_t>(pivot)]);
            std::swap(r[static_cast<std::size_t>(j)], r[static_cast<std::size_t>(pivot)]);
        }
        const double* pj = a.row(j);
        const double diag = pj[j];
        for (int i = j + 1; i < n; ++i) {
            double* pi = a.row(i);
            if (pi[j] == 0) continue;
            const double m = pi[j] / diag;
            pi[j] = m;
            for (int k = j + 1; k < n; ++k) pi[k] -= m * pj[k];
        }
    }
    std::vector<double> y(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        y[static_cast<std::size_t>(i)] = r[static_cast<std::size_t>(i)] - Dot(a.row(i), y.data(), 0, i);
    std::vector<double> x(static_cast<std::size_t>(n));
    for (int i = n - 1; i >= 0; --i)
        x[static_cast<std::size_t>(i)] =
            (y[static_cast<std::size_t>(i)] - Dot(a.row(i), x.data(), i + 1, n)) / a(i, i);
    return x;
}

bool SolveHessenberg(DenseMatrix& a, std::vector<double> r, std::vector<double>& x) {
    const int n = a.size();
    x.assign(static_cast<std::size_t>(n), 0.0);
    if (n == 0) return true;
    double big = 0;
    for (int i = 0; i < n; ++i)
        for (int j = std::max(0, i - 1); j < n; ++j) big = std::max(big, std::fabs(a(i, j)));
    for (int j = 0; j + 1 < n; ++j) {
        const double av = a(j, j), bv = a(j + 1, j);
        const double s2 = av * av + bv * bv;
        const double limit = big * 1e-15 * j;
        if (limit * limit >= s2 || s2 == 0) return false;
        const double rv = av >= 0 ? -std::sqrt(s2) : std::sqrt(s2);
        const double u = av - rv;
        const double h = 1 / (av * rv - s2);
        const double m = h * (u * r[static_cast<std::size_t>(j)] + bv * r[static_cast<std::size_t>(j + 1)]);
        r[static_cast<std::size_t>(j)] += u * m;
        r[static_cast<std::size_t>(j + 1)] += bv * m;
        double* rj = a.row(j);
        double* rj1 = a.row(j + 1);
        for (int k = j + 1; k < n; ++k) {
            const double mk = h * (u * rj[k] + bv * rj1[k]);
            rj[k] += u * mk;
            rj1[k] += bv * mk;
        }
        rj[j] = rv;
        rj1[j] = 0;
    }
    if ((n - 1) * 1e-15 * big >= std::fabs(a(n - 1, n - 1))) return false;
    for (int i = n - 1; i >= 0; --i) {
        double s = r[static_cast<std::size_t>(i)];
        const double* row = a.row(i);
        for (int k = i + 1; k < n; ++k) s -= row[k] * x[static_cast<std::size_t>(k)];
        x[static_cast<std::size_t>(i)] = s / row[i];
    }
    return true;
}

} // namespace tarvik::queue
