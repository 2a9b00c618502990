#include "modules/queue/dg1.h"

#include "common/numformat.h"
#include "modules/queue/numerics.h"

#include <algorithm>
#include <cmath>

namespace tarvik::queue {
namespace {

// ln of the Poisson probability of i events with mean x.
double LnPoisson(double x, long long i) {
    if (i < 0) return -1e300;
    if (x <= 0) return i == 0 ? 0 : -1e300;
    return -x + static_cast<double>(i) * std::log(x) - std::lgamma(static_cast<double>(i) + 1);
}

double PoissonP(double x, long long i) {
    const double l = LnPoisson(x, i);
    return l < -745 ? 0 : std::exp(l);
}

} // namespace

int DG1Truncation(double cs2, double rho) {
    static const int table[5][10] = {
        {5, 10, 10, 10, 10, 15, 15, 15, 15, 15}, {5, 5, 10, 10, 10, 15, 20, 20, 20, 20},
        {5, 5, 5, 10, 10, 20, 25, 25, 30, 30},   {5, 5, 5, 5, 20, 20, 30, 35, 45, 45},
        {5, 5, 5, 5, 5, 20, 30, 45, 50, 60},
    };
    const double eps = 1e-9;
    const int row = cs2 > 0.25 + eps   ? 0
                    : cs2 > 0.1 + eps  ? 1
                    : cs2 > 0.05 + eps ? 2
                    : cs2 > 0.02 + eps ? 3
                                       : 4;
    static const double edges[9] = {0.1, 0.2, 0.3, 0.4, 0.5, 0.7, 0.8, 0.9, 0.95};
    int col = 9;
    for (int i = 0; i < 9; ++i)
        if (rho <= edges[i] + eps) {
            col = i;
            break;
        }
    return table[row][col] + 25;
}

DG1Phase SolveDG1Phase(double cs2, double rho, int pureK) {
    DG1Phase s;
    s.cs2 = cs2;
    s.rho = rho;
    if (pureK > 0) {
        s.fit.k = pureK;
        s.fit.q = 0;
        s.fit.mu = pureK;
    } else {
        s.fit = FitErlangMix(cs2);
    }
    const int k = s.fit.k;
    const double q = s.fit.q, mu = s.fit.mu;
    const double x = mu / rho; // mean number of phases served between two arrivals
    const int n = DG1Truncation(cs2, rho);

    const auto h = [&](double z) { return std::log(q * z + 1 - q) - x * (1 - z) - k * std::log(z); };
    s.beta = h(2e-12) <= 0 ? 0 : Rtbis(RootUse::DG1Bisection, h, 2e-12, 0.999999999998, 1e-12);
    const double beta = s.beta;

    // From i phases found, the next arrival finds r >= 1.
    const auto T = [&](long long i, long long r) {
        return q * PoissonP(x, i + k - 1 - r) + (1 - q) * PoissonP(x, i + k - r);
    };
    DenseMatrix a(n + 1);
    for (int r = 1; r <= n; ++r) {
        double* row = a.row(r);
        for (int i = 0; i < n; ++i) row[i] = T(i, r);
        // The states from N on in column N with weights beta^(i - N).
        double sum = 0, w = 1;
        for (long long i = n; i <= n + 200000; ++i) {
            const double t = T(i, r);
            sum += w * t;
            w *= beta;
            // T(i, r) falls once i + k - r passes the mean x.
            if (w < 1e-300 || (static_cast<double>(i + k - r) > x + 1 && w * t < 1e-18 * sum)) break;
        }
        row[n] = sum;
        row[r] -= 1;
    }
    for (int i = 0; i < n; ++i) a(0, i) = 1;
    a(0, n) = 1 / (1 - beta);
    std::vector<double> rhs(static_cast<std::size_t>(n) + 1, 0.0);
    rhs[0] = 1;
    std::vector<double> pi = LUDECO(a, rhs);
    const double piN = pi.back();
    s.found = GeometricTailDist(pi, beta);

    WaitMoments& m = s.m;
    m.pwait = 1 - pi[0];
    double s1 = 0, s2 = 0;
    for (int i = 1; i <= n - 1; ++i) s1 += i * pi[static_cast<std::size_t>(i)];
    for (int j = 1; j <= n; ++j) s2 += static_cast<double>(j) * (j - 1) * pi[static_cast<std::size_t>(j)];
    const double ob = 1 - beta;
    m.ewq = (s1 + piN * (beta / (ob * ob) + n / ob)) / mu;
    m.elq = rho * m.ewq;
    const double ewq2 = (s2 + piN * (static_cast<double>(n) * n * beta / ob +
                                     n * beta * (1 + beta) / (ob * ob) + 2 * beta * beta / (ob * ob * ob))) /
                            (mu * mu) +
                        2 * m.ewq / mu;
    m.stdwq = std::sqrt(std::fabs(ewq2 - m.ewq * m.ewq));

    // Accuracy: the mean idle fraction of an interarrival time against 1 - rho.
    const auto idle = [&](long long mm) {
        const double g0 = std::exp(LnPoissonUpperTail(x, mm));
        const double g1 = std::exp(LnPoissonUpperTail(x, mm + 1));
        return g0 - static_cast<double>(mm) / x * g1;
    };
    double sum = 0;
    for (long long i = 0; i <= n + 100000; ++i) {
        const double p = s.found.P(i);
        if (i > n && p < 1e-15) break;
        sum += p * (q * idle(i + k - 1) + (1 - q) * idle(i + k));
    }
    m.accuracy = std::fabs(sum - (1 - rho));
    return s;
}

double DG1Phase::Wait(double t) const {
    if (t <= 1e-15) return m.pwait;
    return found.PoissonMixtureTail(fit.mu * t);
}

std::optional<double> DG1Phase::Percentile(double p) const {
    const double pi0 = found.p().front();
    if (p < pi0 - 1e-9) return std::nullopt;
    if (std::fabs(p - pi0) <= 1e-9) return 0.0;
    const double pw = 1 - pi0;
    const bool asymptote = (pw >= 0.9 && p >= 0.5) || (pw >= 0.8 && pw <= 0.9 && p >= 0.8) ||
                           (pw >= 0.7 && pw <= 0.8 && p >= 0.9) || (pw >= 0.6 && pw <= 0.7 && p >= 0.99) ||
                           (pw >= 0.5 && pw <= 0.6 && p >= 0.999);
    const double piN = found.p().back();
    const int n = found.N();
    // Without a tail the asymptote has nothing to stand on: search instead.
    if (asymptote && piN > 1e-17 && beta >= 1e-17)
        return (std::log(piN) - (n - 1) * std::log(beta) - std::log(1 - p) - std::log(1 - beta)) /
               ((1 - beta) * fit.mu);
    const double hi = (std::log(rho) - std::log(1 - p)) * 0.75 * cs2 / (1 - rho);
    return PercentileRoot(
        RootUse::DG1Brent, [this](double t) { return Wait(t); }, 1 - p, 0, hi, 1e-9);
}

double DG1Phase::PhasesTimeAbove(long long mm) const {
    // Phases at an arbitrary time: J >= 1 with probability (rho/K) sum of
    // pi_i over J-K <= i <= J-1. Summed over J > mm each pi_i counts
    // min(K, i + K - mm) times.
    if (mm < 0) return 1;
    const int kk = fit.k;
    double s = kk * found.Tail(mm - 1);
    for (long long i = std::max(0LL, mm - kk + 1); i <= mm - 1; ++i)
        s += static_cast<double>(i + kk - mm) * found.P(i);
    return rho / kk * s;
}

double DG1Phase::TimeEq(int n) const {
    if (n == 0) return 1 - rho;
    // Phases (n-1)K+1 .. nK: pi_i counts i - (n-2)K times for i below (n-1)K
    // and nK - i times from there on.
    const long long kk = fit.k, lo = static_cast<long long>(n - 1) * kk;
    double s = 0;
    for (long long i = std::max(0LL, lo - kk + 1); i < lo; ++i)
        s += static_cast<double>(i - (lo - kk)) * found.P(i);
    for (long long i = lo; i <= lo + kk - 1; ++i) s += static_cast<double>(lo + kk - i) * found.P(i);
    return rho / static_cast<double>(kk) * s;
}

double DG1Phase::TimeGt(int n) const {
    return PhasesTimeAbove(static_cast<long long>(n) * fit.k);
}

double DG1Phase::CustEq(int n) const {
    if (n == 0) return found.P(0);
    const long long kk = fit.k;
    double s = 0;
    for (long long i = (n - 1) * kk + 1; i <= n * kk; ++i) s += found.P(i);
    return s;
}

double DG1Phase::CustGt(int n) const {
    return found.Tail(static_cast<long long>(n) * fit.k);
}

double DG1PureStdLq(const DG1Phase& s) {
    // E(Lq^2) = sum over m >= 1 of (2m - 1) P{Lq >= m}, and Lq >= m when L > m.
    double elq2 = 0;
    for (int m = 1; m <= 10000000; ++m) {
        const double above = s.TimeGt(m);
        elq2 += (2.0 * m - 1) * above;
        if (above < 1e-300 || (m > 10 && (2.0 * m - 1) * above < 1e-18 * elq2)) break;
    }
    const double elq = s.m.elq;
    return std::sqrt(std::fabs(elq2 - elq * elq));
}

DG1Coxian SolveDG1Coxian(double cs2, double rho, ServiceFit kind) {
    DG1Coxian s;
    s.cs2 = cs2;
    s.rho = rho;
    s.fit = CoxianFit(kind, cs2);
    const double m1 = s.fit.mu1, m2 = s.fit.mu2, b = s.fit.b;
    s.wait = TwoExpFromEquation(
        [&](double x) {
            // Factored: near mu2 the exponential term is tiny for small rho and
            // decides the sign.
            return (x - m1) * (x - m2) - std::exp(-x / rho) * (m1 * m2 - x * (1 - b) * m1);
        },
        s.fit);
    const double a1 = s.wait.a1, a2 = s.wait.a2, A1 = s.wait.A1, A2 = s.wait.A2;
    WaitMoments& m = s.m;
    m.pwait = A1 + A2;
    m.ewq = 1 / a1 + 1 / a2 - (m1 + m2) / (m1 * m2);
    const double ewq2 = 2 * A1 / (a1 * a1) + 2 * A2 / (a2 * a2);
    m.stdwq = std::sqrt(std::fabs(ewq2 - m.ewq * m.ewq));
    m.elq = rho * m.ewq;
    const double g1 = std::exp(-a1 / rho), g2 = std::exp(-a2 / rho);
    m.stdlq = std::sqrt(
        std::fabs(std::fabs(2 * rho * (g1 * (A1 / a1) / (1 - g1) + g2 * (A2 / a2) / (1 - g2)) + m.elq) -
                  m.elq * m.elq));
    m.accuracy = 0;
    return s;
}

void RunDG1(const PageInput& input, RunResult& result) {
    const std::string service = input.Choice("service").empty() ? "erlang" : input.Choice("service");
    if (service != "erlang" && service != "pure-erlang" && service != "cox-gamma" &&
        service != "cox-balanced") {
        result.inputError = "Illegal Service Time";
        return;
    }
    const bool pure = service == "pure-erlang";
    const bool phase = pure || service == "erlang";
    double cs2 = 0;
    int pureK = 0;
    if (pure) {
        const auto k = IntegerField(input, result, "cs2", "cs2 incorrect");
        if (!k) return;
        pureK = *k;
    } else {
        const auto v = RealField(input, result, "cs2", "cs2 incorrect");
        if (!v) return;
        cs2 = *v;
    }
    const auto rhov = RealField(input, result, "rho", "Rho incorrect");
    if (!rhov) return;
    const bool cs2Outside = pure    ? pureK < 1 || pureK > 100
                            : phase ? cs2 < 0.01 || cs2 > 1
                                    : cs2 < 0.5 || cs2 > 100;
    if (OutOfRange(result, cs2Outside, "CS2 out of bounds")) return;
    if (pure) cs2 = 1.0 / pureK;
    const double rho = *rhov;
    if (OutOfRange(result, rho < 1e-10 || rho > 0.9900000001, "Rho out of bounds")) return;
    std::string output = ChosenOutput(input);
    // The state tables belong to pure Erlang services only.
    if (!pure && (output == "time-states" || output == "customer-states")) output = "standard";
    const ValueList list =
        ReadOutputList(input, output, 75000, 1250, result, {"time-states", "customer-states"});

    Report& log = result.report;
    const double coxBound = cs2 > 80 ? 0.0005 : cs2 > 10 ? 0.001 : cs2 > 6 ? 0.005 : cs2 > 2 ? 0.01 : 0.02;
    if (phase ? rho <= 0.0400000001 : rho < coxBound) {
        MessageLine(log, "Rho too small for reliable results.");
        return;
    }
    const ServiceFit kind = service == "cox-gamma" ? ServiceFit::CoxGamma : ServiceFit::CoxBalanced;
    std::optional<DG1Phase> ph;
    std::optional<DG1Coxian> cx;
    if (phase)
        ph = SolveDG1Phase(cs2, rho, pureK);
    else
        cx = SolveDG1Coxian(cs2, rho, kind);
    WaitMoments m = phase ? ph->m : cx->m;
    if (pure) m.stdlq = DG1PureStdLq(*ph);
    const FitWait wait = phase ? FitWait([&](double t) { return ph->Wait(t); },
                                         [&](double p) { return ph->Percentile(p); }, m.pwait)
                               : FitWait(cx->wait, m.pwait, cs2, rho);

    const char* suffix = phase                    ? " (Erlangian services)"
                         : service == "cox-gamma" ? " (Coxian-2 services, gamma)"
                                                  : " (Coxian-2 services, balanced)";
    ModelHeader(log, std::string("D/G/1 queue") + suffix, Format("Parameters: CS2=%.5g  rho=%.6g", cs2, rho));
    StandardResults(log, m.pwait, rho, m.ewq, m.elq, m.stdwq, m.stdlq);
    if (phase && !pure) log.lines.pop_back(); // no Std(Lq) for the Erlang mixture
    WaitOutputTable(
        log, output, list.values, [&](double t) { return wait.Wait(t); },
        [&](double p) { return wait.Percentile(p); });
    if (output == "time-states")
        TimeStateTable(
            log, list.values, "P{L(time)=n}", "P{L(time)>n)", [&](int n) { return ph->TimeEq(n); },
            [&](int n) { return ph->TimeGt(n); });
    else if (output == "customer-states")
        TimeStateTable(
            log, list.values, "P{L(cust)=n}", "P{L(cust)>n)", [&](int n) { return ph->CustEq(n); },
            [&](int n) { return ph->CustGt(n); });
    AccuracyLine(log, std::fabs(m.accuracy));

    if (output != "graphs") return;
    if (m.pwait < 1e-6) {
        MessageLine(log, "Pdelay is too small for meaningful graphs");
        return;
    }
    result.graphWindow = FitGraphWindow(GraphDesign::DG1, "Logarithmic Graph of the D/G/1 queue", cs2, rho,
                                        phase                    ? "Erlangian services."
                                        : service == "cox-gamma" ? "Coxian-2 services (gamma)."
                                                                 : "Coxian-2 services (balanced).",
                                        wait);
}

} // namespace tarvik::queue
