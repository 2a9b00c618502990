#include "modules/queue/mdc.h"

#include "common/numformat.h"
#include "modules/queue/mmc.h"
#include "modules/queue/numerics.h"
#include "modules/queue/phasetools.h"

#include <algorithm>
#include <cmath>

namespace tarvik::queue {

bool MDcRhoTooSmall(int c, double rho) {
    const double bound = c <= 5    ? std::pow(10.0, c - 10)
                         : c <= 10 ? 1e-4
                         : c <= 25 ? 0.001
                         : c <= 50 ? 0.01
                                   : 0.1;
    return rho <= bound * (1 + 1e-12);
}

int MDcTruncation(int c, double rho) {
    return std::max(c + 1,
                    static_cast<int>(std::trunc(10 * rho * std::sqrt(c) + (1 + rho) * c / 2.0 + 25)) + 1);
}

MDcResult SolveMDc(int c, double rho) {
    MDcResult s;
    s.c = c;
    s.rho = rho;
    const double lambda = c * rho;
    const int n = MDcTruncation(c, rho);
    // Poisson probabilities of the arrivals in one service time.
    std::vector<double> pois(751);
    {
        const double ll = std::log(lambda);
        double lp = -lambda;
        for (int i = 0; i <= 750; ++i) {
            if (i > 0) lp += ll - std::log(i);
            pois[static_cast<std::size_t>(i)] = SafeExp(lp);
        }
    }
    const auto P = [&](int i) { return i < 0 || i > 750 ? 0.0 : pois[static_cast<std::size_t>(i)]; };
    s.beta = Rtbis(
        RootUse::MDcBisection, [&](double x) { return x * std::log(x) + (1 - x) * rho; }, 1e-14, rho, 1e-14);
    const double beta = s.beta;

    DenseMatrix a(n + 1);
    for (int r = 1; r <= n; ++r) {
        double* row = a.row(r);
        for (int j = 0; j < n; ++j) row[j] = P(r - std::max(j - c, 0));
        row[r] -= 1;
    }
    // Column N: the states from N on, lumped with their geometric weights.
    double sCol = 0;
    for (int r = 0; r <= n; ++r) {
        if (r < n - c)
            sCol = 0;
        else if (r == n - c)
            sCol = P(0);
        else
            sCol = beta * sCol + P(r + c - n);
        if (r >= 1) a(r, n) += sCol;
    }
    std::vector<double> rhs(static_cast<std::size_t>(n) + 1, 0.0);
    for (int j = 0; j < n; ++j) a(0, j) = 1;
    a(0, n) = 1 / (1 - beta);
    rhs[0] = 1;
    s.pi = LUDECO(a, rhs);
    s.f = s.pi;
    for (int i = 1; i <= n; ++i) s.f[static_cast<std::size_t>(i)] += s.f[static_cast<std::size_t>(i - 1)];
    s.dist = GeometricTailDist(s.pi, beta);
    const auto& pi = s.pi;
    const double piN = pi.back();

    s.pwait = 1 - s.f[static_cast<std::size_t>(c - 1)];
    double sum = 0;
    for (int j = 0; j <= c - 1; ++j)
        sum += (static_cast<double>(c) * (c - 1) - static_cast<double>(j) * (j - 1)) *
               pi[static_cast<std::size_t>(j)];
    s.elq = (lambda * lambda - static_cast<double>(c) * (c - 1) + sum) / (2 * c * (1 - rho));
    s.ewq = s.elq / lambda;
    const double bb = beta / (1 - beta);
    double x = 0;
    for (int j = c + 2; j <= n; ++j)
        x += static_cast<double>(j - c) * (j - c - 1) * pi[static_cast<std::size_t>(j)];
    x += piN *
         (static_cast<double>(n - c + 1) * (n - c) * bb + (2.0 * (n - c) + 2) * bb * bb + 2 * bb * bb * bb);
    s.stdwq = std::sqrt(std::fabs(x / (lambda * lambda) - s.ewq * s.ewq));
    s.stdlq = std::sqrt(std::fabs(x + s.elq - s.elq * s.elq));

    double elq2 = 0;
    for (int j = c; j <= n - 1; ++j) elq2 += (j - c) * pi[static_cast<std::size_t>(j)];
    elq2 += piN * (beta / ((1 - beta) * (1 - beta)) + (n - c) / (1 - beta));
    double busy = c * (1 - s.f[static_cast<std::size_t>(c - 1)]);
    for (int i = 1; i <= c - 1; ++i)
        busy += i * (s.f[static_cast<std::size_t>(i)] - s.f[static_cast<std::size_t>(i - 1)]);
    s.accuracy = std::max(std::fabs(elq2 - s.elq), std::fabs(std::fabs(busy) - lambda));

    s.mmcPwait = SolveMMC(c, rho).pwait;
    s.delta = lambda * (1 - beta) / beta;
    double g = 0;
    for (int j = 0; j <= c - 1; ++j) g += (beta - Power(beta, c - j + 1)) * pi[static_cast<std::size_t>(j)];
    s.gamma = g / ((1 - beta) * c * (rho - beta));
    return s;
}

double MDcResult::Wait(double t) const {
    if (t >= 250.0 / c) return gamma * SafeExp(-delta * t);
    // Exact: a customer arriving at t waits when more than (k+1)c - 1 - j were
    // present at the epoch k - 1 before, with j arrivals in the u = k - t
    // before the epoch k. Written as tails so that small values keep their
    // precision: the sum over j < kc of P(j) P{L > (k+1)c - 1 - j} plus
    // P(at least kc arrivals).
    const double lambda = c * rho;
    const long long k = static_cast<long long>(std::trunc(t)) + 1;
    const double lu = lambda * (k - t);
    double w = std::exp(-lu), sum = 0;
    for (long long j = 0; j <= k * c - 1; ++j) {
        if (j > 0) w *= lu / static_cast<double>(j);
        sum += dist.Tail((k + 1) * c - j - 1) * w;
    }
    return sum + std::exp(LnPoissonUpperTail(lu, k * c));
}

std::optional<double> MDcResult::Percentile(double p) const {
    if (p < 1 - pwait - 1e-12) return std::nullopt;
    if (p <= 1 - pwait + 1e-12) return 0.0;
    const double pw = pwait;
    const bool asymptote = (pw >= 0.5 && pw <= 0.7 && p >= 0.999) || (pw >= 0.7 && pw <= 0.8 && p >= 0.97) ||
                           (pw >= 0.8 && pw <= 0.9 && p >= 0.88) || (pw >= 0.9 && pw <= 0.95 && p >= 0.57) ||
                           (pw >= 0.95 && p >= 0.34);
    if (asymptote) return ExponentialTailPoint(gamma, delta, p);
    const double x2 = ExponentialTailPoint(mmcPwait, (1 - rho) * c, p);
    return PercentileRoot(
        RootUse::MDcBrent, [this](double t) { return Wait(t); }, 1 - p, 0, x2, 1e-9);
}

double MDcResult::Eq(int n) const {
    const int nn = N();
    if (n == 0) return pi[0];
    if (n <= nn - 1) return std::fabs(f[static_cast<std::size_t>(n)] - f[static_cast<std::size_t>(n - 1)]);
    return std::fabs(Power(beta, n - nn) * pi.back());
}

double MDcResult::Gt(int n) const {
    const int nn = N();
    if (n <= nn - 1) return std::fabs(1 - f[static_cast<std::size_t>(n)]);
    return std::fabs(Power(beta, n - nn + 1) * pi.back() / (1 - beta));
}

void RunMDC(const PageInput& input, RunResult& result) {
    const auto read = ReadServersAndLoad(input, result, 500, 0.9900000001);
    if (!read) return;
    const int cc = read->c;
    const double rho = read->rho;
    const std::string output = ChosenOutput(input);
    const ValueList list = ReadOutputList(input, output, 2500, 1250, result);
    Report& log = result.report;
    if (MDcRhoTooSmall(cc, rho)) {
        MessageLine(log, "Rho too small for meaningful results");
        return;
    }
    const MDcResult s = SolveMDc(cc, rho);
    ModelHeader(log, "M/D/c queue", Format("Parameters: c=%d  rho=%.6g", cc, rho));
    StandardResults(log, s.pwait, s.pwait, s.ewq, s.elq, s.stdwq, s.stdlq);
    WaitOutputTable(
        log, output, list.values, [&](double t) { return s.Wait(t); },
        [&](double p) { return s.Percentile(p); });
    if (output == "states")
        StateTable(
            log, list.values, "P{L=n}", "P{L>n}", [&](int n) { return s.Eq(n); },
            [&](int n) { return s.Gt(n); });
    AccuracyLine(log, s.accuracy);
    if (output != "graphs") return;
    if (s.pwait < 1e-6) {
        MessageLine(log, "Pdelay too small for graphs");
        return;
    }
    GraphWindowData window;
    window.design = GraphDesign::MG1;
    window.title = "Logarithmic Graphs of the M/D/c queue";
    window.label1 = Format("c = %4d", cc);
    window.label2 = Format("rho = %.4g", rho);
    const double tmax = s.Percentile(1 - 0.001 * s.pwait).value_or(0);
    const double busy = 1 - s.f[0];
    const int n = s.N();
    const double tailEnd = std::log(0.001 * busy * (1 - s.beta) / s.pi.back()) / std::log(s.beta) + n - 1;
    window.graphs = {WaitGraph(WaitingGraphTo([&](double t) { return s.Wait(t); }, s.pwait, tmax)),
                     StateGraph(SampledStateGraph(cc, busy, tailEnd, [&](int k) { return s.Gt(k); }))};
    result.graphWindow = window;
}

} // namespace tarvik::queue
