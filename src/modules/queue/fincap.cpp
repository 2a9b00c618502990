#include "modules/queue/fincap.h"

#include "common/numformat.h"
#include "modules/queue/lngamma.h"
#include "modules/queue/numerics.h"
#include "modules/queue/uniformresidual.h"

#include <algorithm>
#include <cmath>

namespace tarvik::queue {
namespace {

std::size_t At(int i) {
    return static_cast<std::size_t>(i);
}

FinCapSolution NewSolution(FinCapType type, int c, double rho, int n) {
    FinCapSolution s;
    s.type = type;
    s.c = c;
    s.n = n;
    s.rho = rho;
    return s;
}

} // namespace

bool FinCapRhoTooSmall(FinCapType type, int c, double rho) {
    double bound;
    if (type == FinCapType::DMCN) {
        bound = c <= 5 ? 0.01 : c <= 10 ? 0.05 : c <= 25 ? 0.1 : c <= 50 ? 0.15 : c <= 100 ? 0.2 : 0.3;
    } else {
        bound = c <= 5 ? std::pow(10.0, c - 10) : c <= 10 ? 1e-4 : c <= 25 ? 0.001 : c <= 50 ? 0.01 : 0.1;
    }
    return !(rho > bound);
}

std::vector<double> PoissonCdfTerms(double a, int count) {
    std::vector<double> cdf(static_cast<std::size_t>(std::max(count, 0)), 0.0);
    if (count <= 0) return cdf;
    cdf[0] = SafeExp(-a);
    double logs = 0;
    for (int i = 1; i < count; ++i) {
        if (cdf[At(i - 1)] > 0.999999999) {
            cdf[At(i)] = cdf[At(i - 1)];
            continue;
        }
        logs += std::log(a / i);
        cdf[At(i)] = cdf[At(i - 1)] + SafeExp(-a + logs);
    }
    return cdf;
}

FinCapSolution SolveMMCN(int c, double rho, int n) {
    FinCapSolution s = NewSolution(FinCapType::MMCN, c, rho, n);
    const int last = c + n;
    std::vector<long double> x(At(last) + 1);
    x[0] = 1;
    for (int j = 1; j <= last; ++j)
        x[At(j)] = j < c ? x[At(j - 1)] * c * static_cast<long double>(rho) / j : x[At(j - 1)] * rho;
    s.p = Normalised(x);
    s.timeAverage = s.p;
    const std::vector<double>& p = s.p;

    // Busy servers against the carried load, and the number of busy-period
    // completions against the arrivals that find all servers busy.
    double busy = 0, allBusy = 0;
    for (int j = 1; j < c; ++j) busy += j * p[At(j)];
    for (int j = c; j <= last; ++j) allBusy += p[At(j)];
    busy += c * allBusy;
    const double carried = c * rho * (1 - p[At(last)]);
    double g = 1 / (c * (1 + rho)), weighted = 0;
    for (int k = 0; k <= n; ++k) {
        weighted += g * p[At(c - 1 + k)];
        if (k < n) g = (c * g + 1) / (c * (1 + rho));
    }
    weighted += g * p[At(last)];
    s.accuracy = std::fabs(busy - carried) + std::fabs(allBusy - c * rho * weighted);
    return s;
}

FinCapSolution SolveMDCN(int c, double rho, int n) {
    FinCapSolution s = NewSolution(FinCapType::MDCN, c, rho, n);
    const int last = c + n;
    const double a = c * rho;

    // H(m) = P{Poisson(rho) > m} / (rho c).
    const int m = rho <= 1    ? 14
                  : rho <= 5  ? 27
                  : rho <= 10 ? 39
                  : rho <= 25 ? 68
                              : static_cast<int>(std::lround(rho + 9 * std::sqrt(rho)));
    // The tails are summed from far above, so that small ones keep their digits.
    std::vector<double> h(At(m) + 1);
    {
        const int top = m + 60 + static_cast<int>(10 * rho);
        std::vector<double> pmf(At(top) + 1);
        pmf[0] = std::exp(-rho);
        for (int k = 1; k <= top; ++k) pmf[At(k)] = pmf[At(k - 1)] * rho / k;
        double tail = 0;
        for (int k = top; k > m; --k) tail += pmf[At(k)];
        for (int k = m; k >= 0; --k) {
            h[At(k)] = tail / (rho * c);
            tail += pmf[At(k)];
        }
    }
    // G(a) = integral over [0, 1] of (1-x)^(c-1) e^(-c rho x) (c rho x)^a / a!.
    const int gCount = std::min(n, 50);
    std::vector<double> gInt(At(gCount), 0.0);
    const QuadratureRule rule = GaussLegendre(32, 0, 1, 3e-11);
    for (int k = 0; k < gCount; ++k) {
        double sum = 0;
        for (std::size_t q = 0; q < rule.x.size(); ++q) {
            const double x = rule.x[q];
            const double lg = (c - 1) * std::log(1 - x) - a * x + k * std::log(a * x) - LnFactorial(k);
            if (lg >= -250) sum += rule.w[q] * std::exp(lg);
        }
        gInt[At(k)] = sum;
    }

    std::vector<long double> x(At(last) + 1, 0.0L);
    x[0] = 1;
    for (int j = 1; j < c; ++j) x[At(j)] = x[At(j - 1)] * static_cast<long double>(a) / j;
    const long double denominator = 1 - static_cast<long double>(a) * h[0];
    long double queued = 0;
    for (int i = c; i < last; ++i) {
        long double sum = 0;
        for (int j = std::max(i - m, c); j < i; ++j) sum += x[At(j)] * h[At(i - j)];
        const long double gi = i - c < gCount ? gInt[At(i - c)] : 0.0;
        x[At(i)] = (gi * a * x[At(c - 1)] + a * sum) / denominator;
        queued += x[At(i)];
    }
    // The last state from the balance of the whole: its weight is what the
    // recursion leaves; rounding may leave a tiny negative remainder.
    x[At(last)] = std::fabs(static_cast<long double>(rho) * x[At(c - 1)] -
                            (1 - static_cast<long double>(rho)) * queued);
    s.p = Normalised(x);
    s.timeAverage = s.p;
    const std::vector<double>& p = s.p;
    double busy = 0;
    for (int j = 1; j <= c; ++j) busy += j * p[At(j)];
    for (int k = c + 1; k <= last; ++k) busy += c * p[At(k)];
    s.accuracy = std::fabs(busy - a * (1 - p[At(last)]));
    s.residual = std::make_shared<const UniformResidual>(c);
    return s;
}

FinCapSolution SolveDMCN(int c, double rho, int n) {
    FinCapSolution s = NewSolution(FinCapType::DMCN, c, rho, n);
    const int last = c + n;
    const double d = 1 / (c * rho);
    const double ed = std::exp(-d);

    // I(m, k) = integral over [0, D] of (c x)^k / k! (e^-x - e^-D)^m dx, for
    // m = 0..c and k = 0..last - m: exact for m = 0; for m >= 1 the top one by
    // quadrature and the others downwards by parts.
    std::vector<std::vector<double>> integral(At(c) + 1);
    integral[0].assign(At(last) + 1, 0.0);
    integral[0][0] = d;
    for (int k = 1; k <= last; ++k) integral[0][At(k)] = integral[0][At(k - 1)] / ((k + 1) * rho);
    const QuadratureRule rule = GaussLegendre(32, 0, d, 3e-11);
    for (int mm = 1; mm <= c; ++mm) {
        std::vector<double>& row = integral[At(mm)];
        const int top = last - mm;
        row.assign(At(top) + 1, 0.0);
        double sum = 0;
        const double lnFact = LnFactorial(top);
        for (std::size_t q = 0; q < rule.x.size(); ++q) {
            const double x = rule.x[q];
            const double diff = std::exp(-x) - ed;
            if (diff <= 0) continue;
            const double lg = top * std::log(c * x) - lnFact + mm * std::log(diff);
            if (lg >= -250) sum += rule.w[q] * std::exp(lg);
        }
        row[At(top)] = sum;
        const std::vector<double>& below = integral[At(mm - 1)];
        for (int k = top - 1; k >= 0; --k)
            row[At(k)] = static_cast<double>(mm) / c * (ed * below[At(k + 1)] + row[At(k + 1)]);
    }

    // Transition probabilities from j found to i found, j = 0..last - 1.
    const double mu = 1 / rho; // mean service completions between two arrivals
    std::vector<double> poisson(At(last) + 2, 0.0);
    for (int k = 0; k <= last + 1; ++k) {
        const double lg = -mu + k * std::log(mu) - LnFactorial(k);
        poisson[At(k)] = lg < -250 ? 0 : std::exp(lg);
    }
    const double lnSurvive = -d, lnDie = std::log1p(-ed);
    std::vector<double> toFew(At(c), 0.0); // c C(c, i) e^(-i D)
    for (int i = 0; i < c; ++i) toFew[At(i)] = c * std::exp(LnBinomial(c, i) - i * d);
    auto transition = [&](int j, int i) -> double {
        if (i > j + 1) return 0;
        if (j < c) {
            const double lg = LnBinomial(j + 1, i) + i * lnSurvive + (j + 1 - i) * lnDie;
            return lg < -700 ? 0 : std::exp(lg);
        }
        if (i < c) {
            const double v = integral[At(c - i)][At(j - c)];
            if (v <= 0) return 0;
            return toFew[At(i)] * v;
        }
        return poisson[At(j + 1 - i)];
    };

    // pi_i - sum_j pi_j P(j -> i) = 0 for i = 1..last, the normalisation first:
    // an upper Hessenberg system.
    const int size = last + 1;
    DenseMatrix matrix(size);
    std::vector<double> rhs(At(size), 0.0);
    for (int j = 0; j < size; ++j) matrix(0, j) = 1;
    rhs[0] = 1;
    for (int j = 0; j < last; ++j)
        for (int i = 1; i <= std::min(j + 1, last); ++i) {
            const double pr = transition(j, i);
            matrix(i, j) -= pr;
            if (j == last - 1) matrix(i, last) -= pr; // a loss leaves the state as it was
        }
    for (int i = 1; i <= last; ++i) matrix(i, i) += 1;
    std::vector<double> pi;
    if (!SolveHessenberg(matrix, rhs, pi))
        throw Breakdown({"householder matrix is singulier"}, true, "Fatal Error");
    for (double& v : pi) v = std::fabs(v);
    s.p = pi;

    // Time average: up-crossings by admitted arrivals against completions.
    std::vector<double>& t = s.timeAverage;
    t.assign(At(size), 0.0);
    double rest = 0;
    for (int i = 1; i <= last; ++i) {
        t[At(i)] = i <= c ? c * rho * pi[At(i - 1)] / i : rho * pi[At(i - 1)];
        rest += t[At(i)];
    }
    t[0] = std::fabs(1 - rest);

    // (a) busy servers seen over an interarrival time, by the numbers found;
    // (b) busy servers against the carried load on the time average.
    std::vector<double> f(At(n) + 2, 0.0);
    double cdf = 0;
    for (int k = 0; k <= n + 1; ++k) {
        cdf += poisson[At(k)];
        f[At(k)] = std::min(cdf, 1.0);
    }
    auto weight = [&](int k) { return (k + 1.0) / c * (1 - f[At(k + 1)]) + f[At(k)] / (c * rho); };
    double found = (pi[At(last - 1)] + pi[At(last)]) * weight(n);
    for (int k = 0; k < n; ++k) found += weight(k) * pi[At(c - 1 + k)];
    double busyFound = 0;
    for (int j = c - 1; j < last; ++j) busyFound += pi[At(j)];
    const double termA = std::fabs(rho * c * found - rho * busyFound);
    double busy = 0;
    for (int i = 1; i < c; ++i) busy += i * t[At(i)];
    for (int i = c; i <= last; ++i) busy += c * t[At(i)];
    const double termB = std::fabs(busy - c * rho * (1 - pi[At(last)]));
    s.accuracy = termA + termB;
    return s;
}

FinCapSolution SolveFinCap(FinCapType type, int c, double rho, int n) {
    switch (type) {
    case FinCapType::MDCN:
        return SolveMDCN(c, rho, n);
    case FinCapType::DMCN:
        return SolveDMCN(c, rho, n);
    case FinCapType::MMCN:
        break;
    }
    return SolveMMCN(c, rho, n);
}

FinCapMeasures FinCapResults(const FinCapSolution& s) {
    FinCapMeasures r;
    const std::vector<double>& p = s.p;
    const int c = s.c, last = s.Last();
    const double rho = s.rho;
    const double admitted = 1 - p[At(last)];
    r.prej = p[At(last)];
    double waiting = 0, busy = 0;
    for (int j = c; j < last; ++j) waiting += p[At(j)];
    r.pwait = admitted > 0 ? waiting / admitted : 0;
    if (s.type == FinCapType::DMCN) {
        for (int j = c; j <= last; ++j) busy += p[At(j - 1)];
        busy *= rho;
    } else {
        for (int j = c; j <= last; ++j) busy += p[At(j)];
    }
    r.pbusy = busy;
    r.utilization = admitted * rho;

    double factorial2 = 0;
    for (int j = c; j <= last; ++j) {
        const double w = s.type == FinCapType::DMCN ? rho * p[At(j - 1)] : p[At(j)];
        factorial2 += (j - c) * (j - c - 1.0) * w;
    }
    double ewq2 = 0;
    if (s.type == FinCapType::MDCN) {
        double elq = 0;
        for (int j = c; j <= last; ++j) elq += (j - c) * p[At(j)];
        r.elq = elq;
        r.ewq = admitted > 0 ? elq / (c * rho * admitted) : 0;
        // The spread comes from the residual-time model alone: its mean, not
        // the one by Little's law, goes with its second moment, or the two
        // approximations can cancel to a spread of 0.
        if (admitted > 0) {
            const double mean = s.residual->WaitFirstMoment(p, last - 1) / admitted;
            ewq2 = s.residual->WaitSecondMoment(p, last - 1) / admitted - mean * mean + r.ewq * r.ewq;
        }
    } else {
        double ewq = 0;
        for (int j = c; j < last; ++j) {
            ewq += (j - c + 1.0) * p[At(j)];
            ewq2 += (j - c + 1.0) * (j - c + 2.0) * p[At(j)];
        }
        r.ewq = admitted > 0 ? ewq / (admitted * c) : 0;
        ewq2 = admitted > 0 ? ewq2 / (static_cast<double>(c) * c * admitted) : 0;
        r.elq = c * rho * admitted * r.ewq;
    }
    const double varWq = ewq2 - r.ewq * r.ewq;
    r.stdwq = varWq < 1e-12 ? 0 : std::sqrt(varWq);
    r.stdlq = std::sqrt(std::fabs(factorial2 + r.elq - r.elq * r.elq));
    return r;
}

double FinCapWaitTail(const FinCapSolution& s, double t) {
    const std::vector<double>& p = s.p;
    const int c = s.c, last = s.Last();
    const double admitted = 1 - p[At(last)];
    if (admitted <= 0) return 0;
    if (s.type == FinCapType::MDCN) {
        return s.residual->WaitTail(p, last - 1, t) / admitted;
    }
    const std::vector<double> cdf = PoissonCdfTerms(c * t, s.n);
    double sum = 0;
    for (int i = 0; i < s.n; ++i) sum += p[At(c + i)] * cdf[At(i)];
    return sum / admitted;
}

} // namespace tarvik::queue

namespace tarvik::queue {
namespace {

constexpr double kZeroPlotted = 1e-6;

// A graph of the two-graph window: every point but the last, zeros raised to
// 1e-6 so that the logarithmic axis can show them.
GraphPoints WithoutLast(GraphPoints points) {
    if (!points.empty()) points.pop_back();
    for (auto& pt : points)
        if (pt.second == 0) pt.second = kZeroPlotted;
    return points;
}

std::string TypeName(FinCapType type) {
    return type == FinCapType::MMCN ? "M/M/c/c+N" : type == FinCapType::MDCN ? "M/D/c/c+N" : "D/M/c/c+N";
}

} // namespace

void RunFinCap(const PageInput& input, RunResult& result) {
    const std::string typeWord = input.Choice("type");
    const FinCapType type = typeWord == "mdcn"   ? FinCapType::MDCN
                            : typeWord == "dmcn" ? FinCapType::DMCN
                                                 : FinCapType::MMCN;
    const auto read =
        ReadServersAndLoad(input, result, type == FinCapType::MMCN ? 2500 : 500, 5 * (1 + 1e-12), "rho");
    if (!read) return;
    const double rho = read->rho;
    const bool dmcn = type == FinCapType::DMCN;
    const auto nValue = ReadIntegerField(input, result, "n", 0, dmcn ? 500 : 1000, "n incorrect",
                                         dmcn ? "0 <= N <= 500 required" : "N out of range");
    if (!nValue) return;
    const int servers = read->c, room = *nValue;
    Report& log = result.report;
    ModelHeader(log, TypeName(type) + " queue",
                Format("Parameters: c=%d  rho=%.6g  N=%d", servers, rho, room));

    std::string output = input.Choice("output").empty() ? "standard" : input.Choice("output");
    // One state table for the time-average models, two kinds for D/M/c/c+N.
    if (type != FinCapType::DMCN && (output == "time-states" || output == "customer-states"))
        output = "states";
    if (type == FinCapType::DMCN && output == "states") output = "time-states";
    ValueList list;
    if (output == "wait") {
        list = ReadValueList(input.tvalues, ValueKind::Real, 1000);
        result.tvalues = list.Texts();
    } else if (output == "states" || output == "time-states" || output == "customer-states") {
        list = ReadValueList(input.nvalues, ValueKind::Integer, servers + room);
        result.nvalues = list.Texts();
    } else if (output == "graphs") {
        result.graphWindowCreated = true;
    }

    if (FinCapRhoTooSmall(type, servers, rho)) {
        MessageLine(log, "Rho is too small");
        return;
    }
    const FinCapSolution s = SolveFinCap(type, servers, rho, room);
    const FinCapMeasures m = FinCapResults(s);
    const std::string label = type == FinCapType::MDCN ? "Approximations:" : "Results :      ";
    log.AddResultLine(Format("%s Prej        = %s", label.c_str(), FormatProbabilityTrimmed(m.prej).c_str()));
    log.AddResultLine("                Pwait       = " + FormatProbabilityTrimmed(m.pwait));
    log.AddResultLine("                Pbusy       = " + FormatProbabilityTrimmed(m.pbusy));
    log.AddResultLine(Format("                E(Wq)       = %.5g", std::fabs(m.ewq)));
    log.AddResultLine(Format("                E(Lq)       = %.5g", std::fabs(m.elq)));
    log.AddResultLine(Format("                Std(Wq)     = %.4g", std::fabs(m.stdwq)));
    log.AddResultLine(Format("                Std(Lq)     = %.4g", std::fabs(m.stdlq)));
    log.AddResultLine(Format("                Utilization = %.4g", std::fabs(m.utilization)));

    if (output == "wait") {
        std::vector<double> tail;
        for (double t : list.values) tail.push_back(FinCapWaitTail(s, t));
        WaitingTimeTable(log, list.values, tail);
    } else if (output == "states" || output == "time-states" || output == "customer-states") {
        const FullDistribution dist(output == "time-states" ? s.timeAverage : s.p);
        const auto eq = [&](int n) { return dist.Eq(n); };
        const auto gt = [&](int n) { return dist.Gt(n); };
        if (output == "states")
            StateTable(log, list.values, "P{L=n}", "P{L>n}", eq, gt);
        else if (output == "time-states")
            TimeStateTable(log, list.values, "P{L(time)=n}", "P{L(time)>n}", eq, gt);
        else
            TimeStateTable(log, list.values, "P{L(cust)=n}", "P{L(cust)>n}", eq, gt);
    }
    AccuracyLine(log, std::fabs(s.accuracy));

    if (output != "graphs") return;
    if (m.pwait < 1e-6) {
        MessageLine(log, "Pwait is too small for meaningful graphs");
        return;
    }
    GraphWindowData window;
    window.design = GraphDesign::MG1;
    window.title = "Logarithmic Graphs of the " + TypeName(type) + " queue";
    window.label1 = Format("c = %d", servers);
    window.label2 = Format("rho = %.4g", rho);
    window.service = Format("n = %d", room);
    window.graphs = {WaitGraph(WithoutLast(
                         WaitingTimeGraphPoints([&](double t) { return FinCapWaitTail(s, t); }, m.pwait))),
                     StateGraph(WithoutLast(FullDistribution(s.p).ConditionalTailGraph()))};
    result.graphWindow = window;
}

void RunMMCNGraph(const PageInput& input, RunResult& result) {
    // Each field: not a number, then outside its range (a real with a margin of 1e-12).
    auto real = [&](const char* field, double lo, double hi, const char* bad, const char* range,
                    double& out) {
        const auto v = ReadRealField(input, result, field, lo * (1 - 1e-12), hi * (1 + 1e-12), bad, range);
        if (v) out = *v;
        return v.has_value();
    };
    auto integer = [&](const char* field, int lo, int hi, const char* bad, const char* range, int& out) {
        const auto v = ReadIntegerField(input, result, field, lo, hi, bad, range);
        if (v) out = *v;
        return v.has_value();
    };
    double lambda = 0, es = 0, t = 0;
    if (!real("lambda", 0.01, 1000, "lambda incorrect", "lambda out of range", lambda)) return;
    if (!real("es", 0.01, 1000, "ES incorrect", "ES out of range", es)) return;
    const bool varyN = input.Choice("vary") == "N";
    int fixed = 0, from = 0, to = 0;
    if (!varyN) {
        if (!integer("n", 0, 100, "N incorrect", "N out of range", fixed)) return;
        if (!integer("from", 1, 100, "Lower bound on c incorrect", "Lower bound on c out of range", from))
            return;
        if (!integer("to", 1, 100, "Upper bound on c incorrect", "Upper bound on c out of range", to)) return;
    } else {
        if (!integer("c", 1, 100, "c incorrect", "c out of range", fixed)) return;
        if (!integer("from", 0, 100, "Lower bound on N incorrect", "Lower bound on N out of range", from))
            return;
        if (!integer("to", 0, 100, "Upper bound on N incorrect", "Upper bound on N out of range", to)) return;
    }
    if (to < from) {
        result.inputError = "Upper bound should be greater than lower bound";
        return;
    }
    const bool waitY = input.Choice("y") == "wait";
    if (waitY && !real("t", 0, 2500, "t incorrect", "t out of range", t)) return;

    result.graphWindowCreated = true;
    GraphData graph;
    graph.graphTitle = waitY ? Format("P{Wq>%g}", t) : std::string("Prej");
    graph.xTitle = varyN ? "Capacity N" : "Servers c";
    graph.logY = false;
    graph.yMin = 0;
    graph.yMax = 1;
    graph.markersBelow = 26; // markers up to 25 points
    for (int v = from; v <= to; ++v) {
        const int c = varyN ? fixed : v, n = varyN ? v : fixed;
        const double x = lambda * es / c;
        double y = 0;
        if (!FinCapRhoTooSmall(FinCapType::MMCN, c, x)) {
            const FinCapSolution s = SolveMMCN(c, x, n);
            y = waitY ? FinCapWaitTail(s, t / es) : s.p[static_cast<std::size_t>(c + n)];
        }
        graph.points.emplace_back(v, y);
    }
    GraphWindowData window;
    window.design = GraphDesign::GMC;
    window.title = "Graph of the M/M/c/c+N queue";
    window.label1 = Format("lambda = %.4g", lambda);
    window.label2 = Format("ES = %.4g", es);
    window.label3 = varyN ? Format("c = %d", fixed) : Format("N = %d", fixed);
    window.graphs = {graph};
    result.graphWindow = window;
}

} // namespace tarvik::queue
