#include "modules/queue/mg1.h"

#include "common/numformat.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tarvik::queue {
namespace {

// Number of phase probabilities computed, by the fit's CS2 and rho.
int PhaseCount(double cs2, double rho) {
    static const int table[5][6] = {
        {75, 75, 75, 50, 35, 25},       {150, 150, 150, 100, 75, 30},     {300, 300, 200, 200, 125, 50},
        {650, 650, 500, 500, 300, 150}, {1150, 1000, 900, 750, 500, 250},
    };
    const int row = cs2 >= 0.2 ? 0 : cs2 >= 0.1 ? 1 : cs2 >= 0.05 ? 2 : cs2 >= 0.02 ? 3 : 4;
    const int col = rho > 0.95 ? 0 : rho > 0.8 ? 1 : rho >= 0.5 ? 2 : rho > 0.1 ? 3 : rho > 0.001 ? 4 : 5;
    int n = table[row][col];
    if (col == 2 && row <= 1 && !(rho > 0.5)) n = row == 0 ? 50 : 100;
    return n;
}

double LnChoose(double n, double k) {
    return std::lgamma(n + 1) - std::lgamma(k + 1) - std::lgamma(n - k + 1);
}

} // namespace

MG1Erlang SolveMG1Erlang(double cs2, double rho) {
    MG1Erlang s;
    s.cs2 = cs2;
    s.rho = rho;
    s.fit = FitErlangMix(cs2);
    const int k = s.fit.k;
    const double q = s.fit.q, mu = s.fit.mu;
    const int n = PhaseCount(cs2, rho);

    // Tail ratio: 1/x* with x* the root of the phase equation above 1.
    // Written in x - 1, which is exact near 1: there the function has its
    // trivial root and is only about (k - q)(1/rho - 1)(x - 1) above it.
    const auto tailEq = [&](double x) {
        const double d = x - 1;
        return std::log1p((mu + rho) * d / rho) - std::log1p((1 - q) * d) - k * std::log1p(d);
    };
    s.tau = 1 / Rtbis(RootUse::ErlangBisection, tailEq, 1.00000000000001, 1e7, 1e-15);

    // Phases present: down-crossings at rate mu balance up-crossings of arrivals.
    std::vector<double> pi(static_cast<std::size_t>(n) + 1, 0.0);
    pi[0] = 1 - rho;
    for (int i = 1; i <= n; ++i) {
        double sum = 0;
        for (int j = 1; j <= std::min(i, k); ++j)
            sum += (j < k ? 1 : 1 - q) * pi[static_cast<std::size_t>(i - j)];
        pi[static_cast<std::size_t>(i)] = rho / mu * sum;
    }
    const double piN = pi.back();
    const double tau = s.tau;
    s.phases = GeometricTailDist(pi, tau);

    WaitMoments& m = s.m;
    m.pwait = 1 - pi[0];
    m.ewq = rho / (1 - rho) * (1 + cs2) / 2;
    m.elq = rho * m.ewq;
    const double ewq2 = 2 * m.ewq * m.ewq + rho * ThirdMoment(s.fit) / (3 * (1 - rho));
    m.stdwq = std::sqrt(std::max(0.0, ewq2 - m.ewq * m.ewq));
    const double elq2 = rho * rho * ewq2 + m.elq;
    m.stdlq = std::sqrt(std::max(0.0, elq2 - m.elq * m.elq));

    double mean = 0;
    for (int i = 1; i <= n - 1; ++i) mean += i * pi[static_cast<std::size_t>(i)];
    mean += piN * (tau + (1 - tau) * n) / ((1 - tau) * (1 - tau));
    m.accuracy = std::fabs(mean / mu - m.ewq);
    return s;
}

double MG1ErlangWait(const MG1Erlang& s, double t) {
    if (t < 1e-15) return s.m.pwait;
    const GeometricTailDist& d = s.phases;
    const double mu = s.fit.mu, tau = s.tau;
    if (t >= 10) {
        // The exponential tail of the phase distribution.
        const double piN = d.p().back();
        const double e = SafeLn(piN) + (1 - d.N()) * std::log(tau) - (1 - tau) * mu * t - std::log(1 - tau);
        return e < -75 ? 0 : std::exp(e);
    }
    return d.PoissonMixtureTail(mu * t);
}

std::optional<double> MG1ErlangPercentile(const MG1Erlang& s, double p) {
    const double rho = s.rho;
    if (p < 1 - rho - 1e-9) return std::nullopt;
    const double pw = s.m.pwait;
    const bool asymptote = (pw >= 0.9 && p >= 0.5) || (pw >= 0.8 && pw < 0.9 && p >= 0.8) ||
                           (pw >= 0.7 && pw < 0.8 && p >= 0.9) || (pw >= 0.6 && pw < 0.7 && p >= 0.99) ||
                           (pw >= 0.5 && pw < 0.6 && p >= 0.999);
    const double tau = s.tau, mu = s.fit.mu;
    const int n = s.phases.N();
    if (asymptote)
        return (SafeLn(s.phases.p().back()) - std::log(1 - p) - std::log(1 - tau) - (n - 1) * std::log(tau)) /
               ((1 - tau) * mu);
    const double hi = (std::log(rho) - std::log(1 - p) + 1e-6) / (1 - rho);
    return PercentileRoot(
        RootUse::ErlangBrent, [&](double t) { return MG1ErlangWait(s, t); }, 1 - p, 1e-14, hi, 1e-9);
}

double MG1States::Eq(int n) const {
    const int mm = static_cast<int>(p.size()) - 1;
    if (n == 0) return p[0];
    if (n <= mm) return f[static_cast<std::size_t>(n)] - f[static_cast<std::size_t>(n - 1)];
    return Power(ratio, n - mm) * p.back();
}

double MG1States::Gt(int n) const {
    const int mm = static_cast<int>(p.size()) - 1;
    if (n <= mm) return 1 - f[static_cast<std::size_t>(n)];
    return Power(ratio, n - mm + 1) * p.back() / (1 - ratio);
}

MG1States MG1ErlangStates(const MG1Erlang& s) {
    MG1States st;
    const double rho = s.rho, mu = s.fit.mu, q = s.fit.q;
    const int k = s.fit.k;
    if (std::fabs(s.cs2 - 1) <= 1e-11) {
        st.ratio = rho;
    } else {
        const auto g = [&](double z) {
            return SafeLn((1 - q * z) * rho) - SafeLn(mu * z + rho) - k * SafeLn(1 - z);
        };
        double z;
        if (g(1e-10) > 0)
            z = 0;
        else if (g(0.9999999999) < 1e-16)
            z = 1;
        else
            z = Rtbis(RootUse::ErlangBisectionFixed, g, 1e-10, 0.9999999999, 1e-16);
        st.ratio = std::min(rho / (rho + mu * z), 1 - 1e-15);
    }
    const int mm = rho <= 1e-4  ? 3
                   : rho <= 0.1 ? 8
                   : rho <= 0.2 ? 15
                   : rho <= 0.5 ? 20
                   : rho <= 0.8 ? 25
                                : 30;
    // b_j: the expected number of arrivals during a service, by how many.
    std::vector<double> b(static_cast<std::size_t>(mm), 0.0);
    const double lr = std::log(rho), lm = std::log(mu), lrm = std::log(rho + mu);
    for (int j = 0; j < mm; ++j) {
        double sum = 0;
        for (int sIdx = 0; sIdx <= k - 2; ++sIdx)
            sum += std::exp(LnChoose(j + sIdx, j) + j * lr + sIdx * lm - (j + sIdx + 1) * lrm);
        sum += (1 - q) * std::exp(LnChoose(j + k - 1, j) + j * lr + (k - 1) * lm - (j + k) * lrm);
        b[static_cast<std::size_t>(j)] = sum;
    }
    std::vector<double> a(static_cast<std::size_t>(mm));
    for (int j = 0; j < mm; ++j)
        a[static_cast<std::size_t>(j)] = rho * b[static_cast<std::size_t>(j)] / (1 - rho * b[0]);
    st.p.assign(static_cast<std::size_t>(mm) + 1, 0.0);
    st.p[0] = 1 - rho;
    for (int i = 1; i <= mm; ++i) {
        double v = st.p[0] * a[static_cast<std::size_t>(i - 1)];
        for (int m = 1; m <= i - 1; ++m)
            v += st.p[static_cast<std::size_t>(m)] * a[static_cast<std::size_t>(i - m)];
        st.p[static_cast<std::size_t>(i)] = v;
    }
    st.f = st.p;
    for (int i = 1; i <= mm; ++i) st.f[static_cast<std::size_t>(i)] += st.f[static_cast<std::size_t>(i - 1)];
    const double r = st.ratio;
    double mean = 0;
    for (int i = 1; i <= mm - 1; ++i) mean += i * st.p[static_cast<std::size_t>(i)];
    mean += st.p.back() * (mm / (1 - r) + r / ((1 - r) * (1 - r)));
    st.accuracyTerm = mean - (s.m.elq + rho);
    return st;
}

double TwoExpWait::operator()(double t) const {
    return A1 * SafeExp(-a1 * t) + A2 * SafeExp(-a2 * t);
}

Coxian2 CoxianFit(ServiceFit kind, double cs2) {
    return kind == ServiceFit::CoxGamma ? FitCoxianGamma(cs2) : FitCoxianBalanced(cs2);
}

TwoExpWait TwoExpFromEquation(const std::function<double(double)>& equation, const Coxian2& f) {
    const double a1 = Rtbis(RootUse::CoxianBisection, equation, 1e-14, f.mu2, 1e-12);
    const double a2 = Rtbis(RootUse::CoxianBisection, equation, f.mu2, 2 * f.mu1, 1e-12);
    TwoExpWait w;
    w.a1 = a1;
    w.a2 = a2;
    const double m1 = f.mu1, m2 = f.mu2, den = m1 * m2 * (a1 - a2);
    w.A1 = (-a1 * a1 * a2 + a1 * a2 * (m1 + m2) - a2 * m1 * m2) / den;
    w.A2 = (a2 * a2 * a1 - a1 * a2 * (m1 + m2) + a1 * m1 * m2) / den;
    return w;
}

MG1Coxian SolveMG1Coxian(double cs2, double rho, ServiceFit kind) {
    MG1Coxian s;
    s.cs2 = cs2;
    s.rho = rho;
    s.fit = CoxianFit(kind, cs2);
    const double m1 = s.fit.mu1, m2 = s.fit.mu2, b = s.fit.b;
    s.wait = TwoExpFromEquation(
        [&](double x) {
            // The quadratic factored, so that its value near the rates keeps its precision.
            return (x + rho) * ((x - m1) * (x - m2)) - rho * (m1 * m2 - x * (1 - b) * m1);
        },
        s.fit);
    WaitMoments& m = s.m;
    m.pwait = s.wait.A1 + s.wait.A2;
    m.ewq = (cs2 + 1) / 2 * rho / (1 - rho);
    m.elq = rho * m.ewq;
    const double ewq2 = 2 * m.ewq * m.ewq + rho * ThirdMoment(s.fit) / (3 * (1 - rho));
    m.stdwq = std::sqrt(std::max(0.0, ewq2 - m.ewq * m.ewq));
    const double elq2 = rho * rho * ewq2 + m.elq;
    m.stdlq = std::sqrt(std::max(0.0, elq2 - m.elq * m.elq));
    m.accuracy = std::fabs(m.pwait - rho);

    // Number in system: u(n) with the server in phase 1 or idle, v(n) in phase 2.
    const double d = 1 / ((1 - b) * m1 + b * m1 * m2 / (m2 + rho));
    double u = 1 - rho, v = 0;
    s.eq.push_back(1 - rho);
    for (int n = 1; n <= 12000; ++n) {
        u = rho * d * (v * rho / (m2 + rho) + u);
        v = (rho * v + b * m1 * u) / (m2 + rho);
        s.eq.push_back(u + v);
        if (u + v < 1e-300) break;
    }
    // Tails summed from the top; beyond the last state the decay of its last step.
    const std::size_t last = s.eq.size() - 1;
    s.gt.assign(s.eq.size(), 0.0);
    const double r = last >= 1 && s.eq[last - 1] > 0 ? std::min(s.eq[last] / s.eq[last - 1], 1 - 1e-12) : 0;
    s.gt[last] = s.eq[last] * r / (1 - r);
    for (std::size_t n = last; n-- > 0;) s.gt[n] = s.gt[n + 1] + s.eq[n + 1];
    return s;
}

namespace {

// The t with w(t) = target, searched from a bracket that holds every target
// down to 1e-9 rho.
double CoxianWaitRoot(const TwoExpWait& w, double cs2, double rho, double target) {
    const double hi = (std::log(rho) + 9 * std::log(10.0)) * ((cs2 + 1) / 2) / (1 - rho);
    return PercentileRoot(RootUse::CoxianBrent, w, target, 0, hi, 1e-9);
}

} // namespace

std::optional<double> CoxianPercentile(const TwoExpWait& w, double pwait, double cs2, double rho, double p) {
    if (p < 1 - pwait - 1e-10) return std::nullopt;
    return CoxianWaitRoot(w, cs2, rho, 1 - p);
}

FitWait::FitWait(std::function<double(double)> wait, std::function<std::optional<double>(double)> percentile,
                 double pwait)
    : wait_(std::move(wait)), percentile_(std::move(percentile)), pwait_(pwait) {}

FitWait::FitWait(const TwoExpWait& coxian, double pwait, double cs2, double rho)
    : wait_(coxian), percentile_([=](double p) { return CoxianPercentile(coxian, pwait, cs2, rho, p); }),
      coxian_(coxian), pwait_(pwait), cs2_(cs2), rho_(rho) {}

double FitWait::GraphEnd() const {
    if (coxian_) return CoxianWaitRoot(*coxian_, cs2_, rho_, 0.001 * pwait_);
    return Percentile(1 - 0.001 * pwait_).value_or(0);
}

GraphWindowData FitGraphWindow(GraphDesign design, const std::string& title, double cs2, double rho,
                               const std::string& service, const FitWait& wait) {
    GraphWindowData window;
    window.design = design;
    window.title = title;
    window.label1 = Format("CS2 = %.4g", cs2);
    window.label2 = Format("rho = %.4g", rho);
    window.service = service;
    window.graphs = {
        WaitGraph(WaitingGraphTo([&](double t) { return wait.Wait(t); }, wait.Pwait(), wait.GraphEnd()))};
    return window;
}

void RunMG1(const PageInput& input, RunResult& result) {
    const std::string service = input.Choice("service").empty() ? "erlang" : input.Choice("service");
    ServiceFit kind;
    if (service == "erlang")
        kind = ServiceFit::Erlang;
    else if (service == "cox-gamma")
        kind = ServiceFit::CoxGamma;
    else if (service == "cox-balanced")
        kind = ServiceFit::CoxBalanced;
    else {
        result.inputError = "Illegal Service Time";
        return;
    }
    const auto cs2v = RealField(input, result, "cs2", "cs2 incorrect");
    if (!cs2v) return;
    const auto rhov = RealField(input, result, "rho", "Rho incorrect");
    if (!rhov) return;
    const double cs2 = *cs2v, rho = *rhov;
    const bool erlang = kind == ServiceFit::Erlang;
    if (OutOfRange(result, erlang ? (cs2 < 0.01 || cs2 > 1) : (cs2 < 0.5 || cs2 > 100), "CS2 out of bounds"))
        return;
    if (OutOfRange(result, rho < 1e-12 || rho > 0.990000000001, "Rho out of bounds")) return;
    const std::string output = ChosenOutput(input);
    const ValueList list = ReadOutputList(input, output, 75000, 2500, result);

    Report& log = result.report;
    if (erlang ? rho <= 1e-7 : rho < 5e-11) {
        MessageLine(log, "Rho too small for reliable results.");
        return;
    }
    static const char* const suffix[] = {" (Erlangian services)", " (Coxian-2 services, gamma)",
                                         " (Coxian-2 services, balanced)"};
    static const char* const label[] = {"Erlangian services.", "Coxian-2 services (gamma).",
                                        "Coxian-2 services (balanced)."};
    const int ki = static_cast<int>(kind);

    std::optional<MG1Erlang> er;
    std::optional<MG1Coxian> cx;
    if (erlang)
        er = SolveMG1Erlang(cs2, rho);
    else
        cx = SolveMG1Coxian(cs2, rho, kind);
    const WaitMoments& m = erlang ? er->m : cx->m;
    const FitWait wait = erlang ? FitWait([&](double t) { return MG1ErlangWait(*er, t); },
                                          [&](double p) { return MG1ErlangPercentile(*er, p); }, m.pwait)
                                : FitWait(cx->wait, m.pwait, cs2, rho);
    // The Coxian-2 state probabilities end where they become negligible.
    const auto coxianAt = [&](const std::vector<double>& v, int n) {
        const std::size_t i = static_cast<std::size_t>(n);
        return i < v.size() ? v[i] : 0;
    };

    ModelHeader(log, std::string("M/G/1 queue") + suffix[ki],
                Format("Parameters: CS2=%.5g  rho=%.6g", cs2, rho));
    StandardResults(log, m.pwait, rho, m.ewq, m.elq, m.stdwq, m.stdlq);
    double accuracy = m.accuracy;
    WaitOutputTable(
        log, output, list.values, [&](double t) { return wait.Wait(t); },
        [&](double p) { return wait.Percentile(p); }, true);
    if (output == "states") {
        std::optional<MG1States> st;
        if (erlang) {
            st = MG1ErlangStates(*er);
            accuracy += st->accuracyTerm;
        }
        StateTable(
            log, list.values, "P{L=n}", "P{L>n}",
            [&](int n) { return erlang ? st->Eq(n) : coxianAt(cx->eq, n); },
            [&](int n) { return erlang ? st->Gt(n) : coxianAt(cx->gt, n); });
    }
    AccuracyLine(log, std::fabs(accuracy));

    if (output != "graphs") return;
    if (m.pwait < 1e-6) {
        MessageLine(log, "Pdelay too small for meaningful graphs");
        return;
    }
    GraphWindowData window =
        FitGraphWindow(GraphDesign::MG1, "Logarithmic Graphs of the M/G/1 queue", cs2, rho, label[ki], wait);
    GraphPoints states;
    if (erlang) {
        const MG1States st = MG1ErlangStates(*er);
        const double busy = st.Gt(0);
        states = ThinnedStateGraphPoints([&](int n) { return st.Gt(n) / busy; });
    } else {
        states = ThinnedStateGraphPoints([&](int n) { return coxianAt(cx->gt, n) / rho; });
    }
    window.graphs.push_back(StateGraph(std::move(states)));
    result.graphWindow = window;
}

} // namespace tarvik::queue
