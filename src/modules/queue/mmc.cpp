#include "modules/queue/mmc.h"

#include "common/numformat.h"
#include "modules/queue/phasetools.h"

#include <algorithm>
#include <cmath>

namespace tarvik::queue {

bool MMCRhoTooSmall(int c, double rho) {
    double bound;
    if (c <= 25)
        bound = Power(10, -9 / Power(c, 0.75));
    else if (c <= 50)
        bound = 0.15;
    else if (c <= 100)
        bound = 0.3;
    else if (c <= 250)
        bound = 0.45;
    else if (c <= 500)
        bound = 0.6;
    else
        bound = 0.7;
    // "At or below": a bound computed as 1e-9 may come out a rounding below it.
    return rho <= bound * (1 + 1e-12);
}

MMCResults SolveMMC(int c, double rho) {
    MMCResults r;
    const double a = c * rho;
    // Pwait from the sum of c!/((c-j)! a^j), every term in logarithms.
    std::vector<double> lnfact(static_cast<std::size_t>(c) + 1, 0.0);
    for (int i = 1; i <= c; ++i)
        lnfact[static_cast<std::size_t>(i)] = lnfact[static_cast<std::size_t>(i - 1)] + std::log(i);
    const double lna = std::log(a);
    double g = 0;
    for (int j = 1; j <= c; ++j)
        g += SafeExp(lnfact[static_cast<std::size_t>(c)] - lnfact[static_cast<std::size_t>(c - j)] - j * lna);
    r.pwaitAlt = 1 / (1 + (1 - rho) * g);

    // The series a^k / k! up to c - 1, rescaled whenever the sum grows large.
    double term = 1, sum = 1;
    for (int i = 1; i <= c - 1; ++i) {
        term = term * a / i;
        sum += term;
        if (sum > 1e5) {
            term /= sum;
            if (term < 1e-17) term = 0;
            sum = 1;
        }
    }
    r.p = term / (term * rho / (1 - rho) + sum);
    r.pwait = r.p * rho / (1 - rho);
    r.pbusy = r.pwait;
    r.elq = rho / (1 - rho) * r.pwait;
    r.ewq = r.pwait / ((1 - rho) * c);
    const double ewq2 = 2 * r.pwait / (((1 - rho) * c) * ((1 - rho) * c));
    r.stdwq = std::sqrt(std::max(0.0, ewq2 - r.ewq * r.ewq));
    const double elq2 = a * a * ewq2 + r.elq;
    r.stdlq = std::sqrt(std::max(0.0, elq2 - r.elq * r.elq));

    // State probabilities below c, downwards from p(c-1), then cumulative.
    r.f.assign(static_cast<std::size_t>(c), 0.0);
    std::vector<double>& f = r.f;
    f[static_cast<std::size_t>(c - 1)] = r.p;
    bool zero = false;
    for (int i = c - 2; i >= 0; --i) {
        const double next = f[static_cast<std::size_t>(i + 1)];
        const double ratio = (i + 1) / a;
        if (zero || (next <= 1e-18 && ratio < 1)) {
            zero = true;
            f[static_cast<std::size_t>(i)] = 0;
        } else {
            f[static_cast<std::size_t>(i)] = next * ratio;
        }
    }
    for (int i = 1; i <= c - 1; ++i) f[static_cast<std::size_t>(i)] += f[static_cast<std::size_t>(i - 1)];

    // Accuracy: the two Pwait evaluations, and busy servers against the load.
    const double d1 = std::fabs(r.pwait - r.pwaitAlt);
    double busy = 0;
    for (int i = 1; i <= c - 1; ++i)
        busy += i * (f[static_cast<std::size_t>(i)] - f[static_cast<std::size_t>(i - 1)]);
    busy += c * (1 - f[static_cast<std::size_t>(c - 1)]);
    const double d2 = std::fabs(std::fabs(busy) - a);
    r.accuracy = d1 + d2;
    return r;
}

double MMCProbability(const MMCResults& r, int c, double rho, int n) {
    const auto& f = r.f;
    if (n == 0) return f[0];
    if (n <= c - 1) return std::fabs(f[static_cast<std::size_t>(n)] - f[static_cast<std::size_t>(n - 1)]);
    return Power(rho, n - c + 1) * r.p;
}

double MMCTail(const MMCResults& r, int c, double rho, int n) {
    if (n <= c - 1) return 1 - r.f[static_cast<std::size_t>(n)];
    return r.p * Power(rho, n - c + 2) / (1 - rho);
}

void RunMMC(const PageInput& input, RunResult& result) {
    const auto read = ReadServersAndLoad(input, result, 2500, 0.9990000001);
    if (!read) return;
    const int cc = read->c;
    const double rho = read->rho;
    const std::string output = ChosenOutput(input);
    const ValueList list = ReadOutputList(input, output, 2500, 5000, result);

    Report& log = result.report;
    if (MMCRhoTooSmall(cc, rho)) {
        MessageLine(log, "Rho too small for reliable results.");
        return;
    }

    const MMCResults r = SolveMMC(cc, rho);
    ModelHeader(log, "M/M/c queue", Format("Parameters: c=%d  rho=%.6g", cc, rho));
    StandardResults(log, r.pwait, r.pbusy, r.ewq, r.elq, r.stdwq, r.stdlq);

    const double decay = (1 - rho) * cc;
    WaitOutputTable(
        log, output, list.values, [&](double t) { return ExponentialWait(r.pwait, decay, t); },
        [&](double p) { return ExponentialWaitPercentile(r.pwait, decay, p); });
    if (output == "states")
        StateTable(
            log, list.values, "P{L=n}", "P{L>n}", [&](int n) { return MMCProbability(r, cc, rho, n); },
            [&](int n) { return MMCTail(r, cc, rho, n); });
    AccuracyLine(log, r.accuracy);

    if (output != "graphs") return;
    if (r.pwait < 1e-6) {
        MessageLine(log, "Pdelay too small for graphs");
        return;
    }
    GraphWindowData window;
    window.design = GraphDesign::MG1;
    window.title = "Logarithmic Graphs of the M/M/c queue";
    window.label1 = Format("c = %4d", cc);
    window.label2 = Format("rho = %.4g", rho);
    const double busy = 1 - r.f[0];
    const double tailEnd = std::log(0.001 * busy * (1 - rho) / r.p) / std::log(rho) + cc - 2;
    window.graphs = {
        WaitGraph(ExponentialWaitGraph(decay)),
        StateGraph(SampledStateGraph(cc, busy, tailEnd, [&](int n) { return MMCTail(r, cc, rho, n); }))};
    result.graphWindow = window;
}

} // namespace tarvik::queue
