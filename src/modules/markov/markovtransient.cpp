#include "common/numformat.h"
#include "modules/markov/markovformat.h"
#include "modules/markov/markovinternal.h"

#include <algorithm>
#include <cmath>

namespace tarvik::markov {
namespace {

using detail::WorkChain;

struct Kept {
    std::vector<double> p; // distribution at the time point
    std::vector<double> s; // expected sojourn times up to the time point
};

std::string WholeText(double t) {
    return std::to_string(static_cast<long long>(t));
}

// Total and average costs as the cost table writes them.
std::string TotalCostText(double c) {
    const double a = std::fabs(c);
    std::string s = c >= 0 ? " " : "-";
    return s + (a >= 1000000 ? FormatFixed(std::trunc(a), 0) : FormatDigits(7, a));
}

std::string AverageCostText(double avg) {
    const double a = std::fabs(avg);
    if (a >= 1000000) return std::string(avg >= 0 ? " " : "-") + "  " + FormatFixed(std::trunc(a), 0);
    return std::string(avg < 0 ? "-" : "") + FormatDigits(7, a);
}

std::vector<std::string> Header() {
    return {"=========================", "   TRANSIENT BEHAVIOUR", "=========================", " "};
}

double Sum(const std::vector<double>& v) {
    double s = 0;
    for (double x : v) s += x;
    return s;
}

void WriteReport(Report& report, const Chain& chain, const WorkChain& w, const AnalysisParams& params,
                 const std::vector<Kept>& kept) {
    const bool continuous = chain.type == ChainType::Continuous;
    auto& out = report.lines;
    const std::string initial = "Initial State = " + std::to_string(params.initialState);
    const double tmax = params.times.back();
    const Kept& last = kept.back();
    const std::size_t e = params.endStates.size();
    auto stateHeader = [&] {
        std::string line;
        for (std::size_t k = 1; k <= e; ++k)
            line = PadRight(line, continuous ? 15 * k + 4 : 14 * k) + "State " +
                   std::to_string(params.endStates[k - 1]);
        return line;
    };
    auto valueColumn = [&](std::size_t k) { return continuous ? 15 * k + 3 : 14 * k - 1; };

    switch (params.transientOutput) {
    case TransientOutput::Probabilities:
        out.insert(out.end(), {"Transient probabilities", "", initial, "", stateHeader()});
        for (std::size_t m = 0; m < kept.size(); ++m) {
            const double t = params.times[m];
            std::string line = "At t = " + (continuous ? Fixed(t, 5, 3) : WholeText(t));
            for (std::size_t k = 1; k <= e; ++k) {
                const double p = kept[m].p[static_cast<std::size_t>(params.endStates[k - 1] - 1)];
                line = PadRight(line, valueColumn(k)) + (continuous ? FormatDigits(9, p) : Fixed(p, 10, 9));
            }
            out.push_back(line);
        }
        out.push_back("");
        out.push_back("Accuracy check: " + Fixed(std::fabs(Sum(last.p) - 1), 10, 9));
        break;
    case TransientOutput::SojournTimes:
        out.insert(out.end(), {"Expected transient sojourn times", "", initial, "", stateHeader()});
        for (std::size_t m = 0; m < kept.size(); ++m) {
            const double t = params.times[m];
            std::string line = "At t = " + (continuous ? Fixed(t, 5, 2) : WholeText(t)) + "  ";
            for (std::size_t k = 1; k <= e; ++k)
                line = PadRight(line, valueColumn(k)) +
                       FormatDigits(8, kept[m].s[static_cast<std::size_t>(params.endStates[k - 1] - 1)]);
            out.push_back(line);
        }
        out.push_back("");
        out.push_back("Accuracy check: " + Fixed(std::fabs(Sum(last.s) - tmax) / tmax, 9, 8));
        break;
    case TransientOutput::Costs:
        out.insert(out.end(), {"Expected transient costs", "", initial, ""});
        out.push_back(PadRight(PadRight("", 13) + "Total costs", 27) + "Average costs");
        for (std::size_t m = 0; m < kept.size(); ++m) {
            const double t = params.times[m];
            double c = 0;
            for (int j = 0; j < w.n; ++j)
                c += kept[m].s[static_cast<std::size_t>(j)] * w.costRate[static_cast<std::size_t>(j)];
            std::string line =
                "t" + std::to_string(m + 1) + " = " + (continuous ? Fixed(t, 5, 3) : WholeText(t));
            line = PadRight(line, 14) + TotalCostText(c);
            line = PadRight(line, 28) + AverageCostText(c / t);
            out.push_back(line);
        }
        out.push_back("");
        out.push_back("Accuracy check: " + Fixed(std::fabs(Sum(last.s) - tmax) / tmax, 8, 7));
        break;
    }
}

// Discrete time: one pass of Tmax steps, keeping every requested time point.
bool RunDiscrete(const WorkChain& w, const AnalysisParams& params, MarkovProgress& progress,
                 std::vector<Kept>& kept) {
    const detail::StepMatrix step(w.p, w.n);
    const auto N = static_cast<std::size_t>(w.n);
    const auto tmax = static_cast<long long>(params.times.back());
    std::vector<double> p(N, 0.0), next, s(N, 0.0);
    p[static_cast<std::size_t>(params.initialState - 1)] = 1;
    kept.assign(params.times.size(), Kept());
    std::size_t nextPoint = 0;
    int shown = 0;
    for (long long t = 1; t <= tmax; ++t) {
        if (progress.stopRequested()) return false;
        const int pos = static_cast<int>(100 * t / tmax);
        if (pos != shown) progress.setPosition(shown = pos);
        progress.yield();
        step.rowTimes(p, next);
        p.swap(next);
        for (std::size_t j = 0; j < N; ++j) s[j] += p[j];
        while (nextPoint < params.times.size() && static_cast<long long>(params.times[nextPoint]) == t) {
            kept[nextPoint].p = p;
            kept[nextPoint].s = s;
            ++nextPoint;
        }
    }
    return true;
}

// Continuous time: uniformisation, one Poisson sum per time point. A long sum
// whose vector has settled adds the rest of its terms at once.
bool RunContinuous(const WorkChain& w, const AnalysisParams& params, const std::vector<double>& limit,
                   MarkovProgress& progress, std::vector<Kept>& kept) {
    const detail::StepMatrix step(w.p, w.n);
    const auto N = static_cast<std::size_t>(w.n);
    kept.assign(params.times.size(), Kept());
    std::vector<double> p, next;
    int shown = 0;
    for (std::size_t m = 0; m < params.times.size(); ++m) {
        const double nut = w.nu * params.times[m];
        const std::int64_t terms = detail::PoissonTerms(nut);
        const bool maySettle = terms > detail::kSettleCheckTerms && !limit.empty();
        std::vector<double> dist(N, 0.0), soj(N, 0.0);
        p.assign(N, 0.0);
        p[static_cast<std::size_t>(params.initialState - 1)] = 1;
        double logWeight = -nut;
        double cumulative = 0;
        double tailSum = 0; // the sum of 1 - F(k) over the terms added so far
        for (std::int64_t n = 0; n <= terms; ++n) {
            // Short sums report every term, long ones every tenth.
            if (terms <= 100 || n % 10 == 0) {
                if (progress.stopRequested()) return false;
                const int pos = terms <= 100 ? static_cast<int>(n) : static_cast<int>(100 * n / terms);
                if (pos != shown) progress.setPosition(shown = pos);
                progress.yield();
                if (maySettle && detail::Settled(p, limit, w.n)) {
                    // Every later term holds this vector: its weights add up to
                    // 1 - F(n - 1), and the tails of all of them to nu t minus
                    // the tails already added (the mean of the Poisson law).
                    const double restWeight = std::max(0.0, 1 - cumulative);
                    const double restTail = std::max(0.0, nut - tailSum);
                    for (std::size_t j = 0; j < N; ++j) {
                        dist[j] += restWeight * p[j];
                        soj[j] += restTail * p[j];
                    }
                    break;
                }
            }
            const double weight = detail::ExpWeight(logWeight);
            cumulative += weight;
            const double tail = 1 - cumulative;
            tailSum += tail;
            for (std::size_t j = 0; j < N; ++j) {
                dist[j] += weight * p[j];
                soj[j] += tail * p[j];
            }
            logWeight += std::log(nut / static_cast<double>(n + 1));
            if (n < terms) {
                step.rowTimes(p, next);
                p.swap(next);
            }
        }
        for (double& x : soj) x /= w.nu;
        kept[m].p = std::move(dist);
        kept[m].s = std::move(soj);
    }
    return true;
}

} // namespace

Report Transient(const Chain& chain, const AnalysisParams& params, MarkovProgress& progress) {
    detail::RequireConsistent(chain, params, Analysis::Transient);
    Report report;
    report.analysis = Analysis::Transient;
    report.lines = Header();
    if (params.times.empty()) return report;
    const WorkChain w = detail::MakeWorkChain(chain);
    std::vector<double> limit;
    if (chain.type == ChainType::Continuous) {
        const std::int64_t maxTerms = detail::PoissonTerms(w.nu * params.times.back());
        detail::PowerLimit settle;
        if (maxTerms > detail::kSettleCheckTerms) settle = detail::LimitOfPowers(w.p, w.n);
        if (const double tmax = detail::MaxReachableTime(maxTerms, settle.steps, w.n, w.nu); tmax > 0) {
            report.problem = detail::TooLateMessage(tmax);
            return report;
        }
        limit = std::move(settle.matrix);
    }
    std::vector<Kept> kept;
    progress.setPosition(0);
    progress.begin();
    const bool done = chain.type == ChainType::Discrete ? RunDiscrete(w, params, progress, kept)
                                                        : RunContinuous(w, params, limit, progress, kept);
    if (!done) {
        report.stopped = true;
        progress.end();
        return report;
    }
    progress.setPosition(100);
    WriteReport(report, chain, w, params, kept);
    progress.end();
    return report;
}

} // namespace tarvik::markov
