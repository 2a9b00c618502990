#include "modules/queue/gmc.h"

#include "common/numformat.h"
#include "modules/queue/numerics.h"
#include "modules/queue/phasetools.h"
#include "modules/queue/servicefit.h"

#include <algorithm>
#include <cmath>

namespace tarvik::queue {
namespace {

std::vector<double> LnFactorials(int n) {
    std::vector<double> lf(static_cast<std::size_t>(n) + 1, 0.0);
    for (int i = 1; i <= n; ++i)
        lf[static_cast<std::size_t>(i)] = lf[static_cast<std::size_t>(i - 1)] + std::log(i);
    return lf;
}

// The root of f in [lo, hi] with f < 0 below the root. A root below lo (f
// already positive there) is a fixed point x = map(x) so small that the
// iteration from 0 settles on it at once.
double RootFromBelow(RootUse use, const RealFunction& f, double lo, double hi, double tol,
                     const RealFunction& map) {
    if (f(lo) > 0 && f(hi) > 0) {
        double x = 0;
        for (int i = 0; i < 50; ++i) x = map(x);
        return std::min(x, lo);
    }
    return Rtbis(use, f, lo, hi, tol);
}

} // namespace

double RenewalMc::Wait(double t) const {
    return ExponentialWait(pwait, (1 - sigma) * c, t);
}

std::optional<double> RenewalMc::Percentile(double p) const {
    return ExponentialWaitPercentile(pwait, (1 - sigma) * c, p);
}

void FinishRenewal(RenewalMc& r) {
    const double s = r.sigma, c = r.c;
    r.pbusy = r.x * r.rho / (1 - s);
    r.ewq = r.pwait / ((1 - s) * c);
    r.elq = c * r.rho * r.ewq;
    const double ewq2 = 2 * r.pwait / (((1 - s) * c) * ((1 - s) * c));
    const double elqf = 2 * r.rho * r.x * s * s / ((1 - s) * (1 - s) * (1 - s));
    r.stdwq = std::sqrt(std::fabs(ewq2 - r.ewq * r.ewq));
    r.stdlq = std::sqrt(std::fabs(elqf + r.elq - r.elq * r.elq));
}

bool GMcRhoTooSmall(ArrivalKind kind, double ca2, int c, double rho) {
    double bound;
    if (kind == ArrivalKind::Deterministic) {
        bound = c <= 10    ? 0.03 * std::sqrt(1.5 * c)
                : c <= 100 ? 0.05 * std::sqrt(1.5 * c)
                : c <= 130 ? 0.61
                : c <= 180 ? 0.66
                : c <= 500 ? 0.7
                           : 0.75;
    } else if (kind == ArrivalKind::Erlang) {
        static const struct {
            int upTo;
            double b[3];
        } rows[] = {{1, {0.01, 1e-5, 1e-9}},   {2, {0.02, 0.0004, 1e-5}}, {3, {0.06, 0.01, 0.001}},
                    {4, {0.09, 0.04, 0.001}},  {10, {0.12, 0.05, 0.01}},  {15, {0.23, 0.14, 0.08}},
                    {20, {0.3, 0.2, 0.1}},     {25, {0.35, 0.25, 0.15}},  {50, {0.39, 0.3, 0.2}},
                    {100, {0.51, 0.44, 0.35}}, {150, {0.62, 0.55, 0.5}},  {200, {0.65, 0.6, 0.55}},
                    {500, {0.7, 0.7, 0.7}},    {1000, {0.75, 0.75, 0.75}}};
        const int col = ca2 <= 0.1 ? 0 : ca2 <= 0.5 ? 1 : 2;
        bound = 0.75;
        for (const auto& row : rows)
            if (c <= row.upTo) {
                bound = row.b[col];
                break;
            }
    } else {
        bound = c == 1     ? (ca2 <= 0.95 ? 1e-6 : 1e-7)
                : c <= 10  ? 1e-4
                : c <= 50  ? 0.001
                : c <= 100 ? 0.01
                : c <= 200 ? 0.1
                : c <= 500 ? 0.25
                           : 0.4;
    }
    return rho <= bound;
}

GMcResult SolveGMc(ArrivalKind kind, double ca2, int c, double rho) {
    GMcResult res;
    RenewalMc& r = res.r;
    r.c = c;
    r.rho = rho;
    const double cr = c * rho;
    if (kind == ArrivalKind::Deterministic || kind == ArrivalKind::Erlang) {
        std::function<double(double)> lst; // A*(s), the transform of the interarrival time
        std::function<double(double)> limit;
        if (kind == ArrivalKind::Deterministic) {
            lst = [&](double s) { return std::exp(-s / cr); };
            r.sigma = RootFromBelow(
                RootUse::GMcBisection, [&](double x) { return rho * std::log(x) + 1 - x; }, 1e-18, rho, 1e-18,
                [&](double x) { return lst((1 - x) * c); });
            limit = [&](double) { return 1 - r.sigma / rho; };
        } else {
            const ErlangMix fit = FitErlangMix(ca2, 1e-10);
            const int k = fit.k;
            const double q = fit.q, rate = (k - q) * cr;
            lst = [=](double s) { return std::pow(rate / (rate + s), k) * (1 + s * q / rate); };
            r.sigma = RootFromBelow(
                RootUse::GMcBisection,
                [&](double x) {
                    return std::log(x) + k * std::log((1 - x) * c + rate) - k * std::log(rate) -
                           std::log(1 + (1 - x) * c * q / rate);
                },
                1e-18, 0.9999999, 1e-18, [&](double x) { return lst((1 - x) * c); });
            limit = [&, k, q, rate](double) {
                const double s = r.sigma, oc = (1 - s) * c;
                return 1 -
                       c * s * (oc * q * (k - 1) + (k - q) * rate) / ((oc + rate) * (rate + c * q * (1 - s)));
            };
        }
        // The sum over the states below c of the classical formula for renewal input.
        const std::vector<double> lf = LnFactorials(std::min(c, 1000));
        const double s = r.sigma;
        double sum = 0, lsum = 0;
        for (int j = 1; j <= c; ++j) {
            const double bj = lst(j);
            lsum += std::log(bj / (1 - bj));
            const double lnC = lf[static_cast<std::size_t>(c)] - lf[static_cast<std::size_t>(j)] -
                               lf[static_cast<std::size_t>(c - j)];
            const double den = (1 - s) * c - j;
            const double ratio = std::fabs(den) <= 1e-12 ? limit(j) : ((1 - bj) * c - j) / den;
            sum += SafeExp(-std::log(1 - bj) - lsum + lnC) * ratio;
        }
        r.pwait = 1 / (1 + (1 - s) * sum);
        r.x = r.pwait * (1 - s) / s;
        FinishRenewal(r);
        return res;
    }

    // Coxian-2 interarrival density w1 mu1 e^(-mu1 t) + w2 mu2 e^(-mu2 t).
    if (std::fabs(ca2 - 0.5) <= 1e-9) ca2 = 0.50000001;
    if (std::fabs(ca2 - 1) <= 1e-10) ca2 = 1.000000001;
    double mu1, mu2, w1, w2;
    if (kind == ArrivalKind::CoxGamma) {
        mu1 = (1 + std::sqrt((ca2 - 0.5) / (ca2 + 1))) * 2 * cr;
        mu2 = 4 * cr - mu1;
        w1 = (mu2 / cr - 1) * mu1 / (mu2 - mu1);
        w2 = 1 - w1;
    } else if (ca2 > 1) {
        const double h = (std::sqrt((ca2 - 1) / (ca2 + 1)) + 1) / 2;
        w1 = h;
        w2 = 1 - h;
        mu1 = 2 * h * cr;
        mu2 = 2 * (1 - h) * cr;
    } else {
        mu2 = 2 * cr / (std::sqrt(2 * ca2 - 1) + 1);
        mu1 = cr * mu2 / (mu2 - cr);
        w2 = mu1 / (mu1 - mu2);
        w1 = 1 - w2;
    }
    const double sigma = Rtbis(
        RootUse::GMcBisection,
        [&](double x) {
            const double oc = (1 - x) * c;
            return std::log(w1 * mu1 * (oc + mu2) + w2 * mu2 * (mu1 + oc)) - std::log(oc + mu2) -
                   std::log(x) - std::log(oc + mu1);
        },
        1e-12, 0.9999999, 1e-18);
    r.sigma = sigma;
    double u0 = w1, v0 = w2;
    if (std::fabs(ca2 - 1) >= 1e-9) {
        const double eta = Rtbis(
            RootUse::GMcBisection,
            [&](double x) {
                return x * x * mu1 + mu2 - x * (mu1 + mu2) -
                       x * x * c / (mu2 + x * c) * (x * mu1 - (mu1 * w1 + mu2 * w2));
            },
            1e-12, 0.999999999999, 1e-18);
        const double e1 = mu2 / eta;
        const double g = w1 * mu1 / (mu1 - e1) + w2 * mu2 / (mu2 - e1);
        const double e2 = -(w1 * mu1 + w2 * mu2) / g + mu1 + mu2 - e1;
        const double y1 = (mu2 - mu1) * w2 / (mu2 - e2);
        const double y2 = (mu1 - mu2) * w1 / (mu1 - e2);
        const double y3 = (w1 * y1 + w2 * y2) / g;
        u0 = (y2 - y3) / (y2 - y1);
        v0 = (y1 - y3) / (y1 - y2);
    }
    double u = u0, v = v0, hh = 0, kk = 0, m1 = u0, m2 = v0;
    for (int n = c - 1; n >= 0; --n) {
        const double e = cr / (mu1 * mu2 + (w1 * mu1 + w2 * mu2) * n);
        const double f = ((n * w1 + mu2) * u + n * w1 * v) * e;
        const double a = e * (v * (n * w2 + mu1) + n * u * w2);
        hh += f;
        kk += a;
        u = n * f / cr;
        v = n * a / cr;
        m1 += u;
        m2 += v;
    }
    const double t = hh + kk + rho / (1 - rho) * (mu2 * u0 + mu1 * v0) / (mu1 * w2 + w1 * mu2);
    r.pwait = 1 - (m1 + m2) / t;
    r.x = (1 - sigma) * r.pwait / sigma;
    FinishRenewal(r);
    res.accuracy = std::fabs((1 - (hh + kk) / t) - rho * r.x / (1 - sigma));
    return res;
}

bool DMcRhoTooSmall(int c, double rho) {
    const double bound = c <= 10    ? 0.015 * std::sqrt(1.5 * c)
                         : c <= 100 ? 0.025 * std::sqrt(1.5 * c)
                         : c <= 130 ? 0.5
                         : c <= 180 ? 0.55
                                    : 0.6;
    return rho <= bound;
}

double DMcResult::TimeEq(int n) const {
    const int c = r.c;
    if (n == 0) return timeF[0];
    if (n <= c - 1)
        return std::fabs(timeF[static_cast<std::size_t>(n)] - timeF[static_cast<std::size_t>(n - 1)]);
    return Power(r.sigma, n - c) * r.rho * r.x;
}

double DMcResult::TimeGt(int n) const {
    const int c = r.c;
    if (n <= c - 1) return timeTail[static_cast<std::size_t>(n)];
    return Power(r.sigma, n - c + 1) * r.rho * r.x / (1 - r.sigma);
}

double DMcResult::CustEq(int n) const {
    const int c = r.c;
    if (n == 0) return custF[0];
    if (n <= c - 1)
        return std::fabs(custF[static_cast<std::size_t>(n)] - custF[static_cast<std::size_t>(n - 1)]);
    return Power(r.sigma, n - c + 1) * r.x;
}

double DMcResult::CustGt(int n) const {
    const int c = r.c;
    if (n <= c - 1) return custTail[static_cast<std::size_t>(n)];
    return Power(r.sigma, n - c + 2) * r.x / (1 - r.sigma);
}

DMcResult SolveDMc(int c, double rho) {
    DMcResult res;
    RenewalMc& r = res.r;
    r.c = c;
    r.rho = rho;
    const double dd = 1 / (c * rho);
    const auto g = [&](double x) { return rho * std::log(x) + 1 - x; };
    if (g(1e-14) >= 0) {
        // The root lies below the interval: sigma = e^(-(1 - sigma)/rho) is then
        // so small that the iteration from 0 settles at once.
        double x = 0;
        for (int i = 0; i < 50; ++i) x = std::exp(-(1 - x) / rho);
        r.sigma = std::min(x, 1e-14);
    } else {
        r.sigma = Rtbis(RootUse::DMcBisection, g, 1e-14, rho, 1e-14);
    }
    const double s = r.sigma;
    const std::vector<double> lf = LnFactorials(c + 1);
    const double ed = std::exp(-dd), led = -dd, l1ed = std::log1p(-ed);
    const auto lnC = [&](int n, int k) {
        return lf[static_cast<std::size_t>(n)] - lf[static_cast<std::size_t>(k)] -
               lf[static_cast<std::size_t>(n - k)];
    };
    // From i found (i + 1 in service, i < c) to j found at the next arrival.
    const auto bij = [&](int i, int j) {
        if (j > i + 1 || j < 0) return 0.0;
        return std::exp(lnC(i + 1, j) + j * led + (i + 1 - j) * l1ed);
    };

    // I(a) = integral over [0, D] of (e^-x - e^-D)^a e^(c sigma x).
    std::vector<double> ia(static_cast<std::size_t>(c) + 1, 0.0);
    const QuadratureRule rule = GaussLegendre(24, 0, dd, 1e-12);
    const double cs = c * s;
    const int a0 = std::min(c, static_cast<int>(std::trunc(cs)));
    for (int a = std::max(a0, 0); a <= c; ++a) {
        double sum = 0;
        for (std::size_t i = 0; i < rule.x.size(); ++i) {
            const double base = std::exp(-rule.x[i]) - ed;
            sum += rule.w[i] * (base > 0 ? std::exp(a * std::log(base) + cs * rule.x[i])
                                         : (a == 0 ? std::exp(cs * rule.x[i]) : 0));
        }
        ia[static_cast<std::size_t>(a)] = sum;
        if (a > 0 && cs > 0 &&
            SafeLn(sum) + lnC(c, c - a) + std::log(cs) - (c - a) * dd <= -12 * std::log(10.0))
            break;
    }
    for (int a = a0; a >= 1; --a)
        ia[static_cast<std::size_t>(a - 1)] =
            (std::exp(a * l1ed) + (cs - a) * ia[static_cast<std::size_t>(a)]) / (a * ed);
    // From c - 1 and the states above it, weighted with their geometric tail.
    std::vector<double> rr(static_cast<std::size_t>(c), 0.0);
    for (int j = 0; j < c; ++j) {
        double v = bij(c - 1, j);
        if (cs > 0) v += cs * std::exp(lnC(c, j) + j * led) * ia[static_cast<std::size_t>(c - j)];
        rr[static_cast<std::size_t>(j)] = v;
    }

    res.y.assign(static_cast<std::size_t>(std::max(c - 1, 0)), 0.0);
    if (c == 2) {
        res.y[0] = rr[0] / (1 - bij(0, 0));
    } else if (c > 2) {
        const int n = c - 1;
        DenseMatrix m(n);
        std::vector<double> rhs(static_cast<std::size_t>(n));
        for (int j = 0; j < n; ++j) {
            for (int i = std::max(j - 1, 0); i < n; ++i) m(j, i) = bij(i, j);
            m(j, j) -= 1;
            rhs[static_cast<std::size_t>(j)] = -rr[static_cast<std::size_t>(j)];
        }
        if (!SolveHessenberg(m, rhs, res.y)) throw Breakdown({"householder matrix is singulier"}, true);
    }
    double ysum = 0;
    for (double y : res.y) ysum += y;
    r.x = 1 / (1 / (1 - s) + ysum);
    r.pwait = r.x * s / (1 - s);
    FinishRenewal(r);
    if (c >= 2)
        res.balanceCheck = std::fabs(res.y[static_cast<std::size_t>(c - 2)] -
                                     (1 - rr[static_cast<std::size_t>(c - 1)]) / bij(c - 2, c - 1));

    // Time average below c.
    std::vector<double> p(static_cast<std::size_t>(c), 0.0);
    double tail = 0;
    for (int n = 1; n <= c - 1; ++n) {
        const double yn = n - 1 <= c - 2 ? res.y[static_cast<std::size_t>(n - 1)] : 1;
        p[static_cast<std::size_t>(n)] = c * rho / n * r.x * yn;
        tail += p[static_cast<std::size_t>(n)];
    }
    p[0] = std::fabs(1 - tail - rho * r.x / (1 - s));
    res.timeF = p;
    for (int n = 1; n < c; ++n)
        res.timeF[static_cast<std::size_t>(n)] += res.timeF[static_cast<std::size_t>(n - 1)];
    double busy = 0;
    for (int n = 1; n <= c - 1; ++n) busy += n * p[static_cast<std::size_t>(n)];
    busy += c * (1 - res.timeF[static_cast<std::size_t>(c - 1)]);
    res.timeCheck = busy - c * rho;
    // Customer average below c.
    res.custF.assign(static_cast<std::size_t>(c), 0.0);
    for (int j = 0; j < c; ++j)
        res.custF[static_cast<std::size_t>(j)] =
            (j <= c - 2 ? r.x * res.y[static_cast<std::size_t>(j)] : r.x) +
            (j > 0 ? res.custF[static_cast<std::size_t>(j - 1)] : 0);
    // Tails from the top, exact however small they are.
    res.timeTail.assign(static_cast<std::size_t>(c), 0.0);
    res.custTail.assign(static_cast<std::size_t>(c), 0.0);
    res.timeTail[static_cast<std::size_t>(c - 1)] = rho * r.x / (1 - s);
    res.custTail[static_cast<std::size_t>(c - 1)] = r.x * s / (1 - s);
    for (int n = c - 2; n >= 0; --n) {
        res.timeTail[static_cast<std::size_t>(n)] =
            res.timeTail[static_cast<std::size_t>(n + 1)] + p[static_cast<std::size_t>(n + 1)];
        res.custTail[static_cast<std::size_t>(n)] =
            res.custTail[static_cast<std::size_t>(n + 1)] +
            r.x * (n + 1 <= c - 2 ? res.y[static_cast<std::size_t>(n + 1)] : 1);
    }
    return res;
}

namespace {

struct RenewalOutput {
    std::string output;
    ValueList list;
};

// Reads the list of the chosen output (t up to 2500, p, n up to 1250).
bool ReadRenewalLists(const PageInput& input, RunResult& result, RenewalOutput& o) {
    o.output = ChosenOutput(input);
    o.list = ReadOutputList(input, o.output, 2500, 1250, result, {"time-states", "customer-states"});
    return true;
}

void WaitTables(Report& log, const RenewalMc& r, const RenewalOutput& o) {
    WaitOutputTable(
        log, o.output, o.list.values, [&](double t) { return r.Wait(t); },
        [&](double p) { return r.Percentile(p); });
}

} // namespace

void RunGMC(const PageInput& input, RunResult& result) {
    const std::string arrivals = input.Choice("arrivals").empty() ? "det" : input.Choice("arrivals");
    const ArrivalKind kind = arrivals == "erlang"         ? ArrivalKind::Erlang
                             : arrivals == "cox-gamma"    ? ArrivalKind::CoxGamma
                             : arrivals == "cox-balanced" ? ArrivalKind::CoxBalanced
                                                          : ArrivalKind::Deterministic;
    double ca2 = 0;
    if (kind != ArrivalKind::Deterministic) {
        const auto v = RealField(input, result, "ca2", "CA2 incorrect");
        if (!v) return;
        ca2 = *v;
    }
    const auto c = IntegerField(input, result, "c", "c incorrect");
    if (!c) return;
    const auto rhov = RealField(input, result, "rho", "rho incorrect");
    if (!rhov) return;
    const bool coxian = kind == ArrivalKind::CoxGamma || kind == ArrivalKind::CoxBalanced;
    if (OutOfRange(result,
                   (kind == ArrivalKind::Erlang && (ca2 < 0.01 || ca2 > 1)) ||
                       (coxian && (ca2 < 0.5 || ca2 > 100)),
                   "CA2 out of range"))
        return;
    if (OutOfRange(result, *c < 1 || *c > 1000, "c out of range")) return;
    const double rho = *rhov;
    if (OutOfRange(result, rho < 1e-10 || rho > 0.9990000001, "rho out of range")) return;
    const int cc = *c;
    RenewalOutput o;
    ReadRenewalLists(input, result, o);
    Report& log = result.report;
    if (GMcRhoTooSmall(kind, ca2, cc, rho)) {
        MessageLine(log, "Rho is too small for reliable results");
        return;
    }
    const GMcResult g = SolveGMc(kind, ca2, cc, rho);
    const RenewalMc& r = g.r;
    static const char* const suffix[] = {" (Deterministic arrivals)", " (Erlangian arrivals)",
                                         " (Coxian-2 arrivals, gamma)", " (Coxian-2 arrivals, balanced)"};
    static const char* const label[] = {"Deterministic arrivals", "Erlangian arrivals",
                                        "Coxian-2 arrivals, gamma", "Coxian-2 arrivals, balanced"};
    const int ki = static_cast<int>(kind);
    ModelHeader(log, std::string("G/M/c queue") + suffix[ki],
                Format("Parameters: c=%d  rho=%.6g  CA2=%.5g", cc, rho, ca2));
    StandardResults(log, r.pwait, r.pbusy, r.ewq, r.elq, r.stdwq, r.stdlq);
    WaitTables(log, r, o);
    if (g.accuracy)
        AccuracyLine(log, *g.accuracy);
    else
        MessageLine(log, "Accuracy Check = 0.00000000");
    if (o.output != "graphs") return;
    if (r.pwait < 1e-6) {
        MessageLine(log, "Pdelay is too small for meaningful graphs");
        return;
    }
    GraphWindowData window;
    window.design = GraphDesign::GMC;
    window.title = "Logarithmic Graph of the G/M/c queue";
    window.label1 = Format("CA2 = %.4g", ca2);
    window.label2 = Format("rho = %.4g", rho);
    window.label3 = Format("c = %d", cc);
    window.service = label[ki];
    window.graphs = {WaitGraph(ExponentialWaitGraph((1 - r.sigma) * cc))};
    result.graphWindow = window;
}

void RunDMC(const PageInput& input, RunResult& result) {
    const auto read = ReadServersAndLoad(input, result, 500, 0.9990000001);
    if (!read) return;
    const int cc = read->c;
    const double rho = read->rho;
    RenewalOutput o;
    ReadRenewalLists(input, result, o);
    Report& log = result.report;
    if (DMcRhoTooSmall(cc, rho)) {
        MessageLine(log, "Rho is too small for reliable results");
        return;
    }
    const DMcResult d = SolveDMc(cc, rho);
    const RenewalMc& r = d.r;
    ModelHeader(log, "D/M/c queue", Format("Parameters: c=%d  rho=%.6g", cc, rho));
    StandardResults(log, r.pwait, r.pbusy, r.ewq, r.elq, r.stdwq, r.stdlq);
    WaitTables(log, r, o);
    const bool timeTable = o.output == "time-states";
    if (timeTable)
        TimeStateTable(
            log, o.list.values, "P{L(time)=n}", "P{L(time)>n}", [&](int n) { return d.TimeEq(n); },
            [&](int n) { return d.TimeGt(n); });
    else if (o.output == "customer-states")
        TimeStateTable(
            log, o.list.values, "P{L(cust)=n}", "P{L(cust)>n}", [&](int n) { return d.CustEq(n); },
            [&](int n) { return d.CustGt(n); });
    if (cc == 1)
        MessageLine(log, "Accuracy Check = 0.00000000");
    else if (r.rho * r.x < 5e-6 && r.x * r.sigma < 5e-7)
        MessageLine(log, Format("Accuracy Check = %8g", timeTable ? std::fabs(d.timeCheck) : 0.0));
    else
        AccuracyLine(log, std::fabs(d.balanceCheck + (timeTable ? d.timeCheck : 0)));
    if (o.output != "graphs") return;
    const std::string kind = input.Choice("graph").empty() ? "wait" : input.Choice("graph");
    GraphWindowData window;
    window.design = GraphDesign::DG1;
    window.title = "Logarithmic Graphs of the D/M/c queue";
    window.label1 = Format("c = %4d", cc);
    window.label2 = Format("rho = %.4g", rho);
    GraphData g{.graphTitle = "", .xTitle = "State n", .yTitle = "Probability", .points = {}};
    const double lnRho = std::log(rho);
    if (kind == "wait") {
        if (r.pwait < 1e-6) {
            MessageLine(log, "Pdelay too small for meaningful graphs");
            return;
        }
        g.graphTitle = "P(Wq>t | Wq>0)";
        g.xTitle = "Time t";
        g.points = ExponentialWaitGraph((1 - r.sigma) * cc);
    } else if (kind == "time-states") {
        g.graphTitle = "P(L(time)>n | L(time)>0)";
        const double busy = d.TimeGt(0);
        // The divisor is ln rho, the utilisation, in both state graphs.
        const double m = std::log(0.001 * busy * (1 - r.sigma) / (rho * r.x)) / lnRho + cc - 1;
        g.points = SampledStateGraph(cc, busy, m, [&](int n) { return d.TimeGt(n); });
    } else {
        g.graphTitle = "P(L(cust)>n | L(cust)>0)";
        const double busy = d.CustGt(0);
        const double m = std::log(0.001 * busy * (1 - r.sigma) / r.x) / lnRho + cc - 2;
        g.points = SampledStateGraph(cc, busy, m, [&](int n) { return d.CustGt(n); });
    }
    window.graphs = {g};
    result.graphWindow = window;
}

} // namespace tarvik::queue
