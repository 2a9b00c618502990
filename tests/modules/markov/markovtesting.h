#pragma once
// Helpers shared by the Markov chain tests.
#include "modules/markov/markovanalysis.h"
#include "modules/markov/markovdata.h"

#include <string>
#include <vector>

namespace tarvik::markov::testing {

// A chain from numbers, row by row; costs default to 0.
inline Chain MakeNumericChain(ChainType type, const std::vector<std::vector<double>>& rows,
                              std::vector<double> cost = {}, std::vector<double> transitionCost = {}) {
    Chain c;
    c.type = type;
    c.n = static_cast<int>(rows.size());
    for (const auto& r : rows) c.p.insert(c.p.end(), r.begin(), r.end());
    if (cost.empty()) cost.assign(rows.size(), 0.0);
    c.cost = cost;
    if (type == ChainType::Continuous) {
        if (transitionCost.empty()) transitionCost.assign(rows.size(), 0.0);
        c.transitionCost = transitionCost;
    }
    return c;
}

// The chain as the grids would hold it.
inline ChainData MakeTextChain(ChainType type, const std::vector<std::vector<std::string>>& rows,
                               std::vector<std::string> cost = {},
                               std::vector<std::string> transitionCost = {}) {
    ChainData d = MakeChain(type, static_cast<int>(rows.size()));
    d.matrix = rows;
    if (!cost.empty()) d.cost = cost;
    if (!transitionCost.empty()) d.transitionCost = transitionCost;
    return d;
}

// Records what the progress window would be told, and stops on request.
class RecordingProgress : public MarkovProgress {
public:
    void begin() override { ++begins; }
    void end() override { ++ends; }
    void setPosition(int p) override { positions.push_back(p); }
    void yield() override {
        ++yields;
        if (stopAfterYields > 0 && yields >= stopAfterYields) stop = true;
    }
    bool stopRequested() const override { return stop; }

    int begins = 0;
    int ends = 0;
    long yields = 0;
    long stopAfterYields = 0;
    bool stop = false;
    std::vector<int> positions;
};

} // namespace tarvik::markov::testing
