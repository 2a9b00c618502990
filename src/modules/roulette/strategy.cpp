#include "modules/roulette/strategy.h"

#include "common/numformat.h"
#include "common/numparse.h"

#include <algorithm>
#include <climits>
#include <stdexcept>

namespace tarvik::roulette {
namespace {

void CheckType(int type) {
    if (type < 1 || type > kBetTypes) throw std::invalid_argument("bet type outside 1 .. 7");
}

// The chance of reaching the goal after a bet of `stake` on `type` from
// `capital` with `betsLeft` bets, the later bets played optimally.
double StepValue(const StrategyTable& table, int capital, int goal, int betsLeft, int stake, int type) {
    const double p = WinProbability(type);
    const int up = capital + Payout(type) * stake;
    const double win = up >= goal ? 1.0 : table.at(betsLeft - 1, up).value;
    const double loss = table.at(betsLeft - 1, capital - stake).value;
    return p * win + (1.0 - p) * loss;
}

} // namespace

double WinProbability(int type) {
    CheckType(type);
    return static_cast<double>(kBetTypeTable[type - 1].covered) / kWheelNumbers;
}

int Payout(int type) {
    CheckType(type);
    return kBetTypeTable[type - 1].payout;
}

const StrategyEntry& StrategyTable::at(int n, int c) const {
    if (n < 0 || n >= kRows || c < 0 || c >= kColumns) throw std::out_of_range("strategy table index");
    return v_[n][c];
}

StrategyEntry& StrategyTable::at(int n, int c) {
    if (n < 0 || n >= kRows || c < 0 || c >= kColumns) throw std::out_of_range("strategy table index");
    return v_[n][c];
}

void SolveAllOrNothing(StrategyTable& table, int goal, int bets) {
    if (goal < 1 || goal > kMaxGoal) throw std::invalid_argument("desired capital outside 1 .. 100");
    if (bets < 0 || bets > kMaxBets) throw std::invalid_argument("number of bets outside 0 .. 50");
    for (int n = 0; n <= bets; ++n)
        for (int c = 0; c < goal; ++c) table.at(n, c) = StrategyEntry{};

    // Row 0 and column 0 stay zero: no bets left, or no capital, misses the goal.
    double p[kBetTypes], q[kBetTypes];
    int m[kBetTypes];
    for (int t = 0; t < kBetTypes; ++t) {
        p[t] = WinProbability(t + 1);
        q[t] = 1.0 - p[t];
        m[t] = Payout(t + 1);
    }
    // The previous row's values, padded with the certain win at and above the
    // goal, so that a win needs no test: prev[c + m s] is 1 once c + m s >= G.
    constexpr int kPadded = kMaxGoal + 35 * kMaxCapital + 1;
    std::array<double, kPadded> prev;
    for (int n = 1; n <= bets; ++n) {
        prev.fill(1.0);
        for (int c = 0; c < goal; ++c) prev[c] = table.at(n - 1, c).value;
        for (int c = 1; c < goal; ++c) {
            StrategyEntry best;
            for (int s = 1; s <= c; ++s) {
                const double loss = prev[c - s];
                for (int t = 0; t < kBetTypes; ++t) {
                    const double v = p[t] * prev[c + m[t] * s] + q[t] * loss;
                    if (v > best.value + kTieMargin) best = {v, s, t + 1};
                }
            }
            table.at(n, c) = best;
        }
    }
}

std::string DecisionText(int stake, int type) {
    CheckType(type);
    return Format("Bet %d dollars on ", stake) + kBetTypeTable[type - 1].name;
}

double EvaluateDecision(const StrategyTable& table, int capital, int goal, int betsLeft, int stake,
                        int type) {
    CheckType(type);
    if (capital < 1 || capital > kMaxCapital || goal < capital || goal > kMaxGoal)
        throw std::invalid_argument("capital or desired capital outside the game");
    if (betsLeft < 1 || betsLeft > kMaxBets) throw std::invalid_argument("bets left outside 1 .. 50");
    if (stake < 1 || stake > capital) throw std::invalid_argument("stake outside 1 .. capital");
    return StepValue(table, capital, goal, betsLeft, stake, type);
}

StrategyEntry StateEntry(const StrategyTable& table, int capital, int goal, int betsLeft) {
    if (capital >= goal) return StrategyEntry{1.0, 0, 0};
    return table.at(betsLeft, capital);
}

StartCheck CheckStartInput(const StartInput& in) {
    StartCheck out;
    out.ok = true;
    long long c = in.capital, g = in.goal, n = in.bets;
    // The goal is checked against the capital as typed, before the capital is
    // corrected. A goal above the table's width is refused like one below 1.
    if (g < 1 || g > kMaxGoal || g < c) {
        g = 1;
        out.ok = false;
    }
    if (c < 1 || c > kMaxCapital) {
        c = 1;
        out.ok = false;
    }
    if (n < 1 || n > kMaxBets) {
        n = 1;
        out.ok = false;
    }
    out.capital = static_cast<int>(c);
    out.goal = static_cast<int>(g);
    out.bets = static_cast<int>(n);
    return out;
}

long long ReadWholeNumber(std::string_view text, int lowerBound) {
    // A 32-bit field: a number it cannot hold is no number either.
    const auto v = TryStrToInt(text);
    if (!v || *v < INT_MIN || *v > INT_MAX) return lowerBound;
    return *v;
}

std::string ResultsViewText(const ResultsView& view) {
    std::string text = "Current capital " + view.capital + "\n" + "Desired capital " + view.goal + "\n" +
                       "Number of bets left " + view.bets + "\n";
    if (view.warning) return text + kNoPossibility + "\n";
    if (!view.decision.empty()) text += "An optimal decision in current state: " + view.decision + "\n";
    return text + "Maximal chance of winning " + view.chance + "\n";
}

ResultsView PrepareResults(const StrategyTable& table, int capital, int goal, int bets) {
    ResultsView view;
    view.capital = std::to_string(capital);
    view.goal = std::to_string(goal);
    view.bets = std::to_string(bets);
    const StrategyEntry e = StateEntry(table, capital, goal, bets);
    if (capital >= goal) {
        // The goal is already reached: nothing to bet, and certain.
        view.chance = FormatFixed(1.0, 4);
        return view;
    }
    if (e.value <= kTieMargin) {
        view.warning = true;
        return view;
    }
    view.decision = DecisionText(e.stake, e.type);
    view.chance = FormatFixed(e.value, 4);
    return view;
}

std::optional<int> DecisionEntryIndex(std::string_view name) {
    for (int i = 0; i < kDecisionEntries; ++i)
        if (name == kDecisionList[i].name) return i;
    return std::nullopt;
}

int ClampStake(long long stake, int capital) {
    if (stake > capital) stake = capital;
    if (stake < 1) stake = 1;
    return static_cast<int>(stake);
}

std::string MaximalWinText(const StrategyTable& table, int capital, int goal, int betsLeft) {
    return FormatFixed(StateEntry(table, capital, goal, betsLeft).value, 4);
}

std::string WinText(const StrategyTable& table, int capital, int goal, int betsLeft, long long stake,
                    int type) {
    if (stake > capital) return kTooHighStake;
    return FormatFixed(EvaluateDecision(table, capital, goal, betsLeft, static_cast<int>(stake), type), 4) +
           " ";
}

} // namespace tarvik::roulette
