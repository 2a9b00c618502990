#include "modules/markov/markovanalysis.h"

#include "modules/markov/markovinternal.h"

#include <algorithm>
#include <stdexcept>

namespace tarvik::markov {
namespace detail {

void RequireConsistent(const Chain& chain, const AnalysisParams& params, Analysis which) {
    const int n = chain.n;
    const auto cells = static_cast<std::size_t>(n) * static_cast<std::size_t>(n);
    if (n < 1 || chain.p.size() != cells || chain.cost.size() != static_cast<std::size_t>(n) ||
        (chain.type == ChainType::Continuous && chain.transitionCost.size() != static_cast<std::size_t>(n)))
        throw std::invalid_argument("inconsistent chain");
    if (which != Analysis::Transient && which != Analysis::FirstPassage) return;
    if (params.initialState < 1 || params.initialState > n) throw std::invalid_argument("no such state");
    if (params.times.empty() || !std::is_sorted(params.times.begin(), params.times.end()) ||
        params.times.front() < 1 || params.times.back() > kMaxTime)
        throw std::invalid_argument("bad time points");
    if (which == Analysis::Transient && params.transientOutput != TransientOutput::Costs) {
        if (params.endStates.empty()) throw std::invalid_argument("no end states");
        for (int k : params.endStates)
            if (k < 1 || k > n) throw std::invalid_argument("no such end state");
    }
    if (which == Analysis::FirstPassage && (params.stateA < 1 || params.stateA > n))
        throw std::invalid_argument("no such state a");
}

} // namespace detail

Report RunAnalysis(const Chain& chain, const AnalysisParams& params, MarkovProgress& progress) {
    switch (params.analysis) {
    case Analysis::Structure:
        return ChainStructure(chain);
    case Analysis::SteadyState:
        return SteadyState(chain);
    case Analysis::Transient:
        return Transient(chain, params, progress);
    case Analysis::FirstPassage:
        return FirstPassage(chain, params, progress);
    }
    throw std::invalid_argument("unknown analysis");
}

std::string JoinLines(const std::vector<std::string>& lines, std::string_view lineEnd) {
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) out += lineEnd;
        out += lines[i];
    }
    return out;
}

} // namespace tarvik::markov
