#include "modules/queue/finsrc.h"

#include "common/numformat.h"
#include "modules/queue/fincap.h"
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

// The time-average probabilities with constant repair times: each state
// above s - 1 from the states below it, through the probability A_n that a
// repair started in state s - 1 ends in state n and the coefficient rows b_n.
std::vector<double> MachineRepairDeterministic(int s, int m, double nu) {
    const QuadratureRule rule = GaussLegendre(32, 0, 1, 3e-11);
    const std::size_t nodes = rule.x.size();
    std::vector<long double> v(nodes), r(nodes);
    for (std::size_t k = 0; k < nodes; ++k) {
        const long double lk = (s - 1) * std::log1p(-rule.x[k]) - rule.x[k] * nu * (m - s);
        v[k] = lk < -5000 ? 0.0L : rule.w[k] * std::exp(lk);
        r[k] = std::expm1(static_cast<long double>(nu) * rule.x[k]);
    }
    std::vector<long double> a(At(m) + 1, 0.0L);
    long double f = 1;
    for (int n = s; n <= m; ++n) {
        if (n > s && a[At(n - 1)] < 1e-100L) {
            a[At(n)] = 0;
            continue;
        }
        long double sum = 0;
        for (long double vk : v) sum += vk;
        a[At(n)] = f * sum;
        for (std::size_t k = 0; k < nodes; ++k) v[k] *= r[k];
        f = f * (m - n) / (n - s + 1);
    }

    // Under heavy load the weights outgrow even extended precision; every
    // state then carries the same small factor, which normalising removes.
    long double scale = 1;
    const double g = std::exp(-nu * (m - s) / s);
    if (m >= 900 && g < 1e-9)
        scale = 1e-2250L;
    else if (m >= 750 && m < 900 && g < 1e-12)
        scale = 1e-1750L;
    else if (m >= 500 && m < 750 && g < 1e-14)
        scale = 1e-1000L;

    std::vector<long double> p(At(m) + 1, 0.0L);
    p[0] = scale;
    const double lnNu = std::log(nu), lnFactM = LnFactorial(m);
    for (int i = 1; i < s; ++i)
        p[At(i)] =
            scale *
            std::exp(static_cast<long double>(i * lnNu + lnFactM - LnFactorial(i) - LnFactorial(m - i)));

    std::vector<long double> b(At(m) + 1, 0.0L);
    const long double mnu = nu;
    for (int n = s; n <= m; ++n) {
        if (n < m) {
            const long double e = std::exp(-static_cast<long double>(m - n) * mnu / s);
            b[At(n)] = (1 - e) / ((m - n) * mnu);
            long double y = e / ((m - n) * mnu);
            const long double rr = -std::expm1(-mnu / s);
            long double ff = m - n + 1;
            for (int j = n - 1; j >= s; --j) {
                if (b[At(j)] < 1e-15L) {
                    b[At(j)] = 0;
                    continue;
                }
                y *= rr;
                b[At(j)] = static_cast<long double>(m - n + 1) / (m - n) * b[At(j)] - ff * y;
                ff = ff * (m - j + 1) / (n - j + 1);
            }
        } else {
            b[At(m)] = 1.0L / s;
            for (int j = m - 1; j >= s; --j)
                b[At(j)] =
                    std::fabs(b[At(j + 1)]) < 1e-15L ? 0.0L : ((m - j) * b[At(j + 1)] - b[At(j)]) / (m - j);
        }
        long double sum = (m - s + 1) * mnu * a[At(n)] * p[At(s - 1)];
        for (int j = s; j < n; ++j) sum += (m - j) * mnu * b[At(j)] * p[At(j)];
        p[At(n)] = sum / (1 - (m - n) * mnu * b[At(n)]);
    }
    return Normalised(p);
}

} // namespace

std::vector<double> MachineRepairExponential(int s, int m, double nu) {
    std::vector<long double> x(At(m) + 1);
    x[0] = 1;
    for (int i = 1; i <= m; ++i)
        x[At(i)] = x[At(i - 1)] * (m - i + 1) * static_cast<long double>(nu) / std::min(i, s);
    return Normalised(x);
}

FinSrcSolution SolveFinSrc(bool deterministic, int c, int m, double nu) {
    FinSrcSolution r;
    r.deterministic = deterministic;
    r.c = c;
    r.m = m;
    r.s = std::min(c, m);
    r.nu = nu;
    const int s = r.s;

    std::vector<double> p = MachineRepairExponential(s, m, nu);
    if (deterministic) {
        // Practically every failure finds all repairmen busy: the
        // approximation breaks down, the limiting values stand instead.
        double all = 0, busy = 0;
        for (int i = 0; i <= m; ++i) {
            all += (m - i) * p[At(i)];
            if (i >= s) busy += (m - i) * p[At(i)];
        }
        r.overloaded = all > 0 && std::fabs(1 - busy / all) < 1e-10;
        if (!r.overloaded) p = MachineRepairDeterministic(s, m, nu);
    }

    if (r.overloaded) {
        r.pwait = 1;
        r.pbusy = 1;
        r.throughput = c;
        r.utilization = 1;
        r.elq = m - c * (1 + nu) / nu;
        r.ewq = r.elq / c;
        r.lambda = c;
        r.accuracy = 0;
    } else {
        double load = 0, waiting = 0, busy = 0, throughput = 0, elq = 0;
        for (int i = 0; i <= m; ++i) {
            load += (m - i) * p[At(i)];
            if (i >= s && i < m) waiting += (m - i) * p[At(i)];
            if (i >= c) busy += p[At(i)];
            throughput += std::min(i, s) * p[At(i)];
            if (i > s) elq += (i - s) * p[At(i)];
        }
        r.lambda = nu * load;
        r.pwait = load > 0 ? waiting / load : 0;
        r.pbusy = c > m ? 0 : busy;
        r.utilization = r.lambda / c;
        r.throughput = throughput;
        r.elq = elq;
        r.ewq = r.lambda > 0 ? elq / r.lambda : 0;
        r.accuracy = throughput - r.lambda;
    }
    double factorial2 = 0;
    for (int i = s; i <= m; ++i) factorial2 += (i - s) * (i - s - 1.0) * p[At(i)];
    const double varLq = factorial2 + r.elq - r.elq * r.elq;
    r.stdlq = varLq >= 1e-12 ? std::sqrt(varLq) : 0;
    for (double& v : p)
        if (v <= 1e-15) v = 0;
    double weight = 0;
    for (int i = 0; i <= m; ++i) weight += (m - i) * p[At(i)];
    r.q.assign(p.size(), 0.0);
    for (int i = 0; i <= m; ++i) r.q[At(i)] = weight > 0 ? (m - i) * p[At(i)] / weight : 0;
    r.p = std::move(p);

    double ewq2 = 0;
    if (!deterministic) {
        for (int i = s; i < m; ++i)
            ewq2 += (i - s + 1.0) * (i - s + 2.0) / (static_cast<double>(s) * s) * r.q[At(i)];
    } else if (!r.overloaded) {
        // Mean and second moment from the residual-time model together (see
        // the M/D/c/c+N queue): the spread is not left to cancel against the
        // mean by Little's law.
        const UniformResidual residual(s);
        const double mean = residual.WaitFirstMoment(r.q, m - 1);
        ewq2 = residual.WaitSecondMoment(r.q, m - 1) - mean * mean + r.ewq * r.ewq;
    }
    const double varWq = ewq2 - r.ewq * r.ewq;
    r.stdwq = varWq >= 1e-12 ? std::sqrt(varWq) : 0;
    return r;
}

double FinSrcWaitTail(const FinSrcSolution& r, double t) {
    const int s = r.s, m = r.m;
    if (!r.deterministic) {
        if (t <= 1e-10) return r.pwait;
        const std::vector<double> cdf = PoissonCdfTerms(s * t, m - s);
        double sum = 0;
        for (int k = 0; k < m - s; ++k) sum += r.q[At(s + k)] * cdf[At(k)];
        return sum;
    }
    return UniformResidual(s).WaitTail(r.q, m - 1, t);
}

namespace {

constexpr double kLowest = 0.001;

} // namespace

void RunFinSrc(const PageInput& input, RunResult& result) {
    const bool det = input.Choice("service") == "det";
    const auto c = ReadIntegerField(input, result, "c", 1, det ? 250 : 500, "c incorrect", "c out of range");
    if (!c) return;
    const auto m = ReadIntegerField(input, result, "m", 1, 1000, "M incorrect", "M out of range");
    if (!m) return;
    const auto nuValue = ReadRealField(input, result, "nu", 0.00001 * (1 - 1e-12), 100 * (1 + 1e-12),
                                       "nu incorrect", "nu out of range");
    if (!nuValue) return;
    const double nu = *nuValue;
    const std::string output = input.Choice("output").empty() ? "standard" : input.Choice("output");
    const std::string graph = input.Choice("graph").empty() ? "wait" : input.Choice("graph");
    ValueList list;
    if (output == "wait") {
        list = ReadValueList(input.tvalues, ValueKind::Real, 1000);
        result.tvalues = list.Texts();
    } else if (output == "time-states" || output == "customer-states") {
        list = ReadValueList(input.nvalues, ValueKind::Integer, *m);
        result.nvalues = list.Texts();
    }

    const FinSrcSolution r = SolveFinSrc(det, *c, *m, nu);
    Report& log = result.report;
    ModelHeader(log,
                std::string("Finite-source queue") +
                    (det ? " (deterministic services)" : " (exponential services)"),
                Format("Parameters: c=%d  M=%d  nu=%.5g", r.s, r.m, nu));
    log.AddResultLine(std::string(det ? "Approximations: " : "Results:        ") +
                      "Pwait       = " + FormatProbabilityTrimmed(r.pwait));
    log.AddResultLine("                Pbusy       = " + FormatProbabilityTrimmed(r.pbusy));
    log.AddResultLine(Format("                E(Wq)       = %.5g", std::fabs(r.ewq)));
    log.AddResultLine(Format("                E(Lq)       = %.5g", std::fabs(r.elq)));
    if (!r.overloaded) {
        log.AddResultLine(Format("                Std(Wq)     = %.4g", std::fabs(r.stdwq)));
        log.AddResultLine(Format("                Std(Lq)     = %.4g", std::fabs(r.stdlq)));
    }
    log.AddResultLine(Format("                Utilization = %.4g", std::fabs(r.utilization)));
    log.AddResultLine(Format("                Throughput  = %.4g", std::fabs(r.throughput)));

    // What a table or graph would show, for the overload message.
    std::string kind;
    if (output == "wait" || (output == "graphs" && graph == "wait"))
        kind = "waiting time probabilities";
    else if (output == "time-states" || (output == "graphs" && graph == "time-states"))
        kind = "time average state probabilities";
    else if (output == "customer-states" || (output == "graphs" && graph == "customer-states"))
        kind = "customer average state probabilities";
    if (r.overloaded && output != "standard") {
        log.AddResultLine("The " + kind + " cannot be computed ");
        log.AddResultLine("accurately enough for this extremely overloaded system.");
    } else if (output == "wait") {
        std::vector<double> tail;
        for (double t : list.values) tail.push_back(FinSrcWaitTail(r, t));
        WaitingTimeTable(log, list.values, tail);
    } else if (output == "time-states" || output == "customer-states") {
        const FullDistribution dist(output == "time-states" ? r.p : r.q);
        const auto eq = [&](int n) { return dist.Eq(n); };
        const auto gt = [&](int n) { return dist.Gt(n); };
        if (output == "time-states")
            TimeStateTable(log, list.values, "P{L(time)=n}", "P{L(time)>n}", eq, gt);
        else
            TimeStateTable(log, list.values, "P{L(cust)=n}", "P{L(cust)>n}", eq, gt);
    }
    AccuracyLine(log, std::fabs(r.accuracy));

    if (output != "graphs" || r.overloaded) return;
    GraphData g;
    g.yTitle = "Probability";
    g.markersBelow = 26; // markers while fewer than 25 points follow the first
    if (graph == "wait") {
        if (r.pwait < 1e-6) {
            MessageLine(log, "Pdelay too small for graphs.");
            return;
        }
        g.graphTitle = "P{Wq > t | Wq > 0}";
        g.xTitle = "Time t";
        g.points = WaitingTimeGraphPoints([&](double t) { return FinSrcWaitTail(r, t); }, r.pwait);
    } else {
        const std::vector<double>& dist = graph == "time-states" ? r.p : r.q;
        const double occupied = 1 - dist[0];
        if (!(occupied > 1e-15)) {
            // Nothing but the empty state: there is no conditional tail to draw.
            MessageLine(log, "P{L > 0} too small for graphs.");
            return;
        }
        g.graphTitle =
            graph == "time-states" ? "P{ L(time) > n | L(time) > 0}" : "P{ L(cust) > n | L(cust) > 0}";
        g.xTitle = "State n";
        g.points = FullDistribution(dist).ConditionalTailGraph();
    }
    for (auto& pt : g.points) pt.second = std::max(pt.second, kLowest);
    result.graphWindowCreated = true;
    GraphWindowData window;
    window.design = GraphDesign::GMC;
    window.title = "Logarithmic graph of the machine repair queue";
    window.label1 = Format("c = %d", r.s);
    window.label2 = Format("M = %d", r.m);
    window.label3 = Format("nu = %.4g", nu);
    window.service = det ? "Deterministic services" : "Exponential services";
    window.graphs = {g};
    result.graphWindow = window;
}

} // namespace tarvik::queue
