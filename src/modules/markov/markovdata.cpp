#include "modules/markov/markovdata.h"

#include "common/numparse.h"

#include <algorithm>
#include <cmath>

namespace tarvik::markov {
namespace {

const std::string kZero = "0";

// A cell of a text grid; a cell the grid does not have reads as empty.
std::string_view Cell(const std::vector<std::string>& column, int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= column.size()) return {};
    return column[static_cast<std::size_t>(row)];
}

std::string_view MatrixCell(const ChainData& chain, int i, int j) {
    if (i < 0 || static_cast<std::size_t>(i) >= chain.matrix.size()) return {};
    return Cell(chain.matrix[static_cast<std::size_t>(i)], j);
}

void FillEmpty(std::vector<std::string>& cells, int n) {
    cells.resize(static_cast<std::size_t>(n));
    for (auto& c : cells)
        if (c.empty()) c = kZero;
}

void FillZero(std::vector<std::string>& cells, int n) {
    cells.assign(static_cast<std::size_t>(n), kZero);
}

InputProblem ChainProblem(std::string message, Field field, int row, int column) {
    InputProblem p;
    p.message = std::move(message);
    p.field = field;
    p.row = row;
    p.column = column;
    return p;
}

InputProblem ParameterProblem(std::string message, Field field, int row = -1) {
    InputProblem p;
    p.message = std::move(message);
    p.field = field;
    p.row = row;
    p.toInputPage = false;
    return p;
}

} // namespace

ChainData MakeChain(ChainType type, int n) {
    ChainData chain;
    chain.type = type;
    chain.n = std::clamp(n, 1, kMaxStates);
    SwitchChainType(chain, type);
    return chain;
}

void ResizeChain(ChainData& chain, int n) {
    n = std::clamp(n, 1, kMaxStates);
    chain.n = n;
    chain.matrix.resize(static_cast<std::size_t>(n));
    for (auto& row : chain.matrix) FillEmpty(row, n);
    FillEmpty(chain.cost, n);
    if (chain.type == ChainType::Continuous)
        FillEmpty(chain.transitionCost, n);
    else
        chain.transitionCost.clear();
}

void ClearChain(ChainData& chain) {
    chain.matrix.resize(static_cast<std::size_t>(chain.n));
    for (auto& row : chain.matrix) FillZero(row, chain.n);
    FillZero(chain.cost, chain.n);
    if (chain.type == ChainType::Continuous) FillEmpty(chain.transitionCost, chain.n);
}

void SwitchChainType(ChainData& chain, ChainType type) {
    chain.type = type;
    ClearChain(chain);
    if (type == ChainType::Continuous)
        FillZero(chain.transitionCost, chain.n);
    else
        chain.transitionCost.clear();
}

int CostColumnCount(ChainType type) {
    return type == ChainType::Continuous ? 2 : 1;
}

std::string CostColumnHeader(ChainType type, int column) {
    if (type == ChainType::Discrete) return "c(j)";
    return column == 0 ? "r(j)" : "F(k)";
}

std::string WindowCaption(ChainType type) {
    return type == ChainType::Discrete ? "Discrete Time Markov Chains" : "Continuous Time Markov Chains ";
}

std::variant<Chain, InputProblem> ValidateChain(const ChainData& data) {
    const int n = data.n;
    const bool continuous = data.type == ChainType::Continuous;
    if (n < 1 || n > kMaxStates)
        return ChainProblem("Number of states must be between 1 and 100.", Field::NumberOfStates, -1, -1);
    Chain chain;
    chain.type = data.type;
    chain.n = n;
    chain.p.resize(static_cast<std::size_t>(n) * n);
    chain.cost.resize(static_cast<std::size_t>(n));

    // 1. Every matrix cell is a number.
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            auto v = TryStrToReal(MatrixCell(data, i, j));
            if (!v || !(std::fabs(*v) <= kMaxChainValue))
                return ChainProblem("Illegal value in transitionmatrix.", Field::Matrix, i, j);
            chain.p[static_cast<std::size_t>(i) * n + j] = *v;
        }
    // 2. Every cell of the first cost column is a number.
    for (int j = 0; j < n; ++j) {
        auto v = TryStrToReal(Cell(data.cost, j));
        if (!v || !(std::fabs(*v) <= kMaxChainValue))
            return ChainProblem("Illegal value in cost vector.", Field::Cost, j, 0);
        chain.cost[static_cast<std::size_t>(j)] = *v;
    }
    // 3. Probabilities or rates.
    for (int i = 0; i < n; ++i) {
        double sum = 0;
        for (int j = 0; j < n; ++j) {
            const double v = chain.at(i, j);
            if (continuous && i == j && MatrixCell(data, i, j) != "0")
                return ChainProblem("Diagonal values must be zero in transitionMatrix", Field::Matrix, i, j);
            if (v < 0) return ChainProblem("Negative value in transitionmatrix", Field::Matrix, i, j);
            sum += v;
        }
        if (!continuous && !(std::fabs(sum - 1) <= 1e-5))
            return ChainProblem("Sum of rows not 1 in transitionmatrix.", Field::Matrix, i, 0);
    }
    // 4. Cost values.
    for (int j = 0; j < n; ++j)
        if (chain.cost[static_cast<std::size_t>(j)] < kMinCost)
            return ChainProblem("Value in cost vector must be above -100000.", Field::Cost, j, 0);
    if (continuous) {
        // The F(k) column is converted here; a cell that is no number gets the
        // same message as one in the first column rather than ending the run
        // without a word.
        chain.transitionCost.resize(static_cast<std::size_t>(n));
        for (int j = 0; j < n; ++j) {
            auto v = TryStrToReal(Cell(data.transitionCost, j));
            if (!v || !(std::fabs(*v) <= kMaxChainValue))
                return ChainProblem("Illegal value in cost vector.", Field::TransitionCost, j, 1);
            if (*v < kMinCost)
                return ChainProblem("Value in cost vector must be above -100000.", Field::TransitionCost, j,
                                    1);
            chain.transitionCost[static_cast<std::size_t>(j)] = *v;
        }
    }
    return chain;
}

std::variant<int, InputProblem> CheckNumberOfStates(std::string_view text) {
    auto v = TryStrToInt(text);
    if (!v) {
        InputProblem p = ParameterProblem("Invalid value for number of states.", Field::NumberOfStates);
        p.clearField = true;
        return p;
    }
    if (*v < 1 || *v > kMaxStates)
        return ParameterProblem("Number of states must be between 1 and 100.", Field::NumberOfStates);
    return static_cast<int>(*v);
}

std::string AnalysisCaption(Analysis a) {
    switch (a) {
    case Analysis::Structure:
        return "Chain Structure";
    case Analysis::SteadyState:
        return "Steady-state behaviour";
    case Analysis::Transient:
        return "Transient behaviour";
    case Analysis::FirstPassage:
        return "First-passage Time Probabilities";
    }
    return {};
}

std::string ResultTabCaption(Analysis a) {
    switch (a) {
    case Analysis::Structure:
        return "Chain Structure";
    case Analysis::SteadyState:
        return "Steady-State Behaviour";
    case Analysis::Transient:
        return "Transient Behaviour";
    case Analysis::FirstPassage:
        return "First-Passage Time Behaviour";
    }
    return {};
}

std::string TransientOutputCaption(TransientOutput t) {
    switch (t) {
    case TransientOutput::Probabilities:
        return "Transient probabilities";
    case TransientOutput::SojournTimes:
        return "Expected sojourn times";
    case TransientOutput::Costs:
        return "Expected costs";
    }
    return {};
}

std::string ReturnSetCaption(ReturnSet r) {
    switch (r) {
    case ReturnSet::Single:
        return "A = {a}";
    case ReturnSet::Lower:
        return "A = {1..a}";
    case ReturnSet::Upper:
        return "A = {a..N}";
    }
    return {};
}

std::string TimePointLabel(int row) {
    return "time point " + std::to_string(row + 1) + " (<=5000)";
}

std::string EndStateLabel(int row) {
    return "end state " + std::to_string(row + 1);
}

std::string EndStateLimitLabel(int n) {
    return "Number of end states (max " + std::to_string(MaxEndStates(n)) + "):";
}

int MaxEndStates(int n) {
    return std::clamp(n, 1, 4);
}

int DefaultEndStates(int n) {
    return std::clamp(n, 1, 2);
}

ChoiceTexts DefaultChoices(int n) {
    ChoiceTexts c;
    c.transientTimes.assign(kDefaultTimePoints, kZero);
    c.passageTimes.assign(kDefaultTimePoints, kZero);
    c.endStates.assign(static_cast<std::size_t>(DefaultEndStates(n)), kZero);
    return c;
}

namespace {

// A time-point list: whole numbers (discrete) or reals (continuous), 1 to
// 5000, sorted with equal values kept.
std::variant<std::vector<double>, InputProblem> CheckTimes(const std::vector<std::string>& texts,
                                                           ChainType type, Field field, Field countField) {
    if (texts.empty() || texts.size() > static_cast<std::size_t>(kMaxTimePoints))
        return ParameterProblem("Number of time points must be between 1 and 25", countField);
    std::vector<double> times;
    for (std::size_t r = 0; r < texts.size(); ++r) {
        const int row = static_cast<int>(r);
        double t = 0;
        if (type == ChainType::Discrete) {
            auto v = TryStrToInt(texts[r]);
            if (!v) return ParameterProblem("Illegal value for time point ", field, row);
            if (*v < 1 || *v > static_cast<long long>(kMaxTime))
                return ParameterProblem("Time points must be between 1 and 5000", field, row);
            t = static_cast<double>(*v);
        } else {
            auto v = TryStrToReal(texts[r]);
            if (!v) return ParameterProblem("Illegal value for time point ", field, row);
            if (!(*v >= 1 && *v <= kMaxTime))
                return ParameterProblem("Time points must be between 1 and 5000", field, row);
            t = *v;
        }
        times.push_back(t);
    }
    std::stable_sort(times.begin(), times.end());
    return times;
}

} // namespace

std::variant<AnalysisParams, InputProblem> CheckParameters(const ChoiceTexts& choices, const Chain& chain) {
    AnalysisParams params;
    params.analysis = choices.analysis;
    const int n = chain.n;
    if (choices.analysis == Analysis::Transient) {
        auto init = TryStrToInt(choices.initialState);
        if (!init) return ParameterProblem("Illegal value for initial state ", Field::InitialState);
        if (*init < 1 || *init > n)
            return ParameterProblem("Initial state doesn't exist ", Field::InitialState);
        params.initialState = static_cast<int>(*init);
        auto times =
            CheckTimes(choices.transientTimes, chain.type, Field::TransientTime, Field::TransientTimeCount);
        if (auto* p = std::get_if<InputProblem>(&times)) return *p;
        params.times = std::get<std::vector<double>>(std::move(times));
        params.transientOutput = choices.transientOutput;
        if (choices.transientOutput != TransientOutput::Costs) {
            const int maxEnd = MaxEndStates(n);
            if (choices.endStates.empty() || choices.endStates.size() > static_cast<std::size_t>(maxEnd))
                return ParameterProblem("Number of end states must be between 1 and " +
                                            std::to_string(maxEnd),
                                        Field::EndStateCount);
            for (std::size_t r = 0; r < choices.endStates.size(); ++r) {
                const int row = static_cast<int>(r);
                auto k = TryStrToInt(choices.endStates[r]);
                if (!k) return ParameterProblem("Illegal value for end state ", Field::EndState, row);
                if (*k < 1 || *k > n)
                    return ParameterProblem("End state " + std::to_string(*k) + " doesn't exist.",
                                            Field::EndState, row);
                params.endStates.push_back(static_cast<int>(*k));
            }
        }
    } else if (choices.analysis == Analysis::FirstPassage) {
        auto start = TryStrToInt(choices.startingState);
        if (!start) return ParameterProblem("Illegal value for initial state ", Field::StartingState);
        if (*start < 1 || *start > n)
            return ParameterProblem("Starting state doesn't exist ", Field::StartingState);
        params.initialState = static_cast<int>(*start);
        auto times =
            CheckTimes(choices.passageTimes, chain.type, Field::PassageTime, Field::PassageTimeCount);
        if (auto* p = std::get_if<InputProblem>(&times)) return *p;
        params.times = std::get<std::vector<double>>(std::move(times));
        params.returnSet = choices.returnSet;
        auto a = TryStrToInt(choices.stateA);
        if (!a) return ParameterProblem("Illegal value for state a.", Field::StateA);
        if (*a < 1 || *a > n) return ParameterProblem("State a doesn't exist.", Field::StateA);
        params.stateA = static_cast<int>(*a);
    }
    return params;
}

} // namespace tarvik::markov
