#include "modules/markov/markovformat.h"
#include "modules/markov/markovinternal.h"

#include <algorithm>
#include <cmath>

namespace tarvik::markov {
namespace {

using detail::WorkChain;

std::vector<std::string> Header() {
    return {"==================================", "FIRST-PASSAGE TIME PROBABILITIES",
            "==================================", " "};
}

std::vector<char> ReturnSetMembers(const AnalysisParams& params, int n) {
    std::vector<char> inA(static_cast<std::size_t>(n), 0);
    const int a = params.stateA;
    for (int j = 1; j <= n; ++j) {
        bool in = false;
        switch (params.returnSet) {
        case ReturnSet::Single:
            in = j == a;
            break;
        case ReturnSet::Lower:
            in = j <= a;
            break;
        case ReturnSet::Upper:
            in = j >= a;
            break;
        }
        inA[static_cast<std::size_t>(j - 1)] = in;
    }
    return inA;
}

// The taboo step v := M v as a product row * M^T, where M is the chain's
// matrix with the columns of A removed (entering A ends a path). `keepRow`
// and `keepLoop` name a row of A that stays and a diagonal entry of A that
// stays; -1 for none.
std::vector<double> TabooMatrix(const WorkChain& w, const std::vector<char>& inA, bool zeroRowsOfA,
                                int keep) {
    const auto N = static_cast<std::size_t>(w.n);
    std::vector<double> t(N * N, 0.0); // t[k][i] = M(i, k)
    for (std::size_t i = 0; i < N; ++i) {
        if (zeroRowsOfA && inA[i] && static_cast<int>(i) != keep) continue;
        for (std::size_t k = 0; k < N; ++k) {
            const bool blocked = inA[k] && !(static_cast<int>(k) == keep && k == i);
            if (!blocked) t[k * N + i] = w.p[i * N + k];
        }
    }
    return t;
}

detail::StepMatrix TabooStep(const WorkChain& w, const std::vector<char>& inA, bool zeroRowsOfA, int keep) {
    return detail::StepMatrix(TabooMatrix(w, inA, zeroRowsOfA, keep), w.n);
}

// Discrete time: u(j) = P(X1..Xi all outside A | X0 = j) after i steps.
bool RunDiscrete(const WorkChain& w, const AnalysisParams& params, MarkovProgress& progress,
                 std::vector<double>& values) {
    const auto N = static_cast<std::size_t>(w.n);
    const std::vector<char> inA = ReturnSetMembers(params, w.n);
    const detail::StepMatrix step = TabooStep(w, inA, false, -1);
    const auto i0 = static_cast<std::size_t>(params.initialState - 1);
    const auto tmax = static_cast<long long>(params.times.back());
    std::vector<double> u(N), next(N);
    for (std::size_t j = 0; j < N; ++j) u[j] = inA[j] ? 0.0 : 1.0;
    values.assign(params.times.size(), 0.0);
    std::size_t nextPoint = 0;
    int shown = 0;
    for (long long i = 0; i <= tmax; ++i) {
        if (progress.stopRequested()) return false;
        const int pos = static_cast<int>(100 * i / tmax);
        if (pos != shown) progress.setPosition(shown = pos);
        progress.yield();
        while (nextPoint < params.times.size() && static_cast<long long>(params.times[nextPoint]) == i)
            values[nextPoint++] = u[i0];
        if (i == tmax) break; // the last step's product would not be used
        step.rowTimes(u, next);
        u.swap(next);
    }
    return true;
}

// Continuous time: the Poisson mixture of the uniformised chain's taboo
// probabilities, one pass for all time points. When the starting state lies in
// A its own entry is kept: a step that stays in it is a self-loop of the
// uniformisation, not a real return, so it counts as no entry into A.
// A long sum whose vector has settled adds the rest of its terms at once.
bool RunContinuous(const WorkChain& w, const AnalysisParams& params, const std::vector<double>& taboo,
                   const std::vector<double>& limit, MarkovProgress& progress, std::vector<double>& values) {
    const auto N = static_cast<std::size_t>(w.n);
    const std::vector<char> inA = ReturnSetMembers(params, w.n);
    const auto i0 = static_cast<std::size_t>(params.initialState - 1);
    const bool returnCase = inA[i0] != 0;
    const detail::StepMatrix step(taboo, w.n);
    const std::size_t count = params.times.size();
    std::vector<std::int64_t> terms(count);
    std::vector<double> logWeight(count);
    for (std::size_t m = 0; m < count; ++m) {
        terms[m] = detail::PoissonTerms(w.nu * params.times[m]);
        logWeight[m] = -w.nu * params.times[m];
    }
    const std::int64_t maxTerms = terms.back();
    const bool maySettle = maxTerms > detail::kSettleCheckTerms && !limit.empty();
    std::vector<double> cumulative(count, 0.0);
    values.assign(count, 0.0);
    std::vector<double> v(N), next(N);
    for (std::size_t j = 0; j < N; ++j) v[j] = inA[j] ? 0.0 : 1.0;
    if (returnCase) v[i0] = 1;
    int shown = 0;
    for (std::int64_t n = 0; n <= maxTerms; ++n) {
        // Short sums report every term, long ones every tenth.
        if (maxTerms <= 100 || n % 10 == 0) {
            if (progress.stopRequested()) return false;
            const int pos = static_cast<int>(100 * n / maxTerms);
            if (pos != shown) progress.setPosition(shown = pos);
            progress.yield();
            if (maySettle && detail::Settled(v, limit, w.n)) {
                // Every later term holds this vector: the weights still to come
                // add up to 1 - F(n - 1) for each time point not yet complete.
                for (std::size_t m = 0; m < count; ++m)
                    if (terms[m] >= n) values[m] += std::max(0.0, 1 - cumulative[m]) * v[i0];
                break;
            }
        }
        for (std::size_t m = count; m-- > 0;)
            if (terms[m] >= n) {
                const double weight = detail::ExpWeight(logWeight[m]);
                cumulative[m] += weight;
                values[m] += weight * v[i0];
            }
        for (std::size_t m = 0; m < count; ++m)
            logWeight[m] += std::log(w.nu * params.times[m] / static_cast<double>(n + 1));
        if (n == maxTerms) break;
        step.rowTimes(v, next);
        v.swap(next);
    }
    return true;
}

} // namespace

Report FirstPassage(const Chain& chain, const AnalysisParams& params, MarkovProgress& progress) {
    detail::RequireConsistent(chain, params, Analysis::FirstPassage);
    Report report;
    report.analysis = Analysis::FirstPassage;
    report.lines = Header();
    if (params.times.empty()) return report;
    const bool continuous = chain.type == ChainType::Continuous;
    const WorkChain w = detail::MakeWorkChain(chain);
    std::vector<double> taboo, limit;
    if (continuous) {
        const std::vector<char> inA = ReturnSetMembers(params, w.n);
        const int i0 = params.initialState - 1;
        taboo = TabooMatrix(w, inA, true, inA[static_cast<std::size_t>(i0)] ? i0 : -1);
        const std::int64_t maxTerms = detail::PoissonTerms(w.nu * params.times.back());
        detail::PowerLimit settle;
        if (maxTerms > detail::kSettleCheckTerms) settle = detail::LimitOfPowers(taboo, w.n);
        if (const double tmax = detail::MaxReachableTime(maxTerms, settle.steps, w.n, w.nu); tmax > 0) {
            report.problem = detail::TooLateMessage(tmax);
            return report;
        }
        limit = std::move(settle.matrix);
    }
    std::vector<double> values;
    progress.setPosition(0);
    progress.begin();
    const bool done = continuous ? RunContinuous(w, params, taboo, limit, progress, values)
                                 : RunDiscrete(w, params, progress, values);
    if (!done) {
        report.stopped = true;
        progress.end();
        return report;
    }
    progress.setPosition(100);
    auto& out = report.lines;
    const std::string i0 = std::to_string(params.initialState);
    const std::string a = std::to_string(params.stateA);
    const std::string n = std::to_string(chain.n);
    out.push_back("Initial State = " + i0);
    std::string set;
    switch (params.returnSet) {
    case ReturnSet::Single:
        set = "{" + a + "}";
        break;
    case ReturnSet::Lower:
        set = "{1.." + a + "}";
        break;
    case ReturnSet::Upper:
        set = "{" + a + ".." + n + "}";
        break;
    }
    out.push_back("Return Set = " + set);
    out.push_back("");
    out.push_back("P( T(" + set + ") > t | X(0) = " + i0 + " )");
    out.push_back("");
    for (std::size_t m = 0; m < values.size(); ++m) {
        const double t = params.times[m];
        const std::string line =
            continuous ? PadRight("At t = " + Fixed(t, 5, 3) + ": ", 18)
                       : PadRight("At t = " + std::to_string(static_cast<long long>(t)) + ": ", 16);
        out.push_back(line + Fixed(values[m], 9, 8) + " ");
    }
    progress.end();
    return report;
}

} // namespace tarvik::markov
