#pragma once
// The all-or-nothing game: reach a desired capital within a number of bets on
// a wheel of 37 numbers. A dynamic programme over (bets left, capital) gives
// the maximal chance of reaching the goal and an optimal decision in every
// state; any other first decision can be evaluated against it.
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tarvik::roulette {

inline constexpr int kBetTypes = 7;
inline constexpr int kMaxCapital = 99; // initial capital 1 .. 99
inline constexpr int kMaxGoal = 100;   // desired capital 1 .. 100
inline constexpr int kMaxBets = 50;    // number of bets 1 .. 50
inline constexpr int kWheelNumbers = 37;
// A candidate decision replaces the best one only when it is better by more.
inline constexpr double kTieMargin = 1e-14;

struct BetType {
    const char* name; // as the decision text writes it
    int covered;      // numbers covered out of 37
    int payout;       // m: a win of stake s adds m * s
};

// Types 1 .. 7 (index 0 is type 1).
inline constexpr std::array<BetType, kBetTypes> kBetTypeTable = {{
    {"Plein", 1, 35},
    {"Cheval", 2, 17},
    {"Transversale Pleine", 3, 11},
    {"Carr\xC3\xA9", 4, 8},
    {"Transversale Simple", 6, 5},
    {"Douzaine", 12, 2},
    {"Rouge or noir", 18, 1},
}};

// Win probability k/37 of a type 1 .. 7.
double WinProbability(int type);
int Payout(int type);

struct StrategyEntry {
    double value = 0.0; // maximal chance of reaching the goal
    int stake = 0;      // 0: no decision
    int type = 0;       // 1 .. 7, 0: no decision
};

// V[n][c] for n = 0 .. 50 bets left and c = 0 .. 99 capital. One table is kept
// for the life of a module; a computation overwrites rows 0 .. N, columns 0 .. G-1.
class StrategyTable {
public:
    static constexpr int kRows = kMaxBets + 1;
    static constexpr int kColumns = kMaxGoal;

    const StrategyEntry& at(int n, int c) const;
    StrategyEntry& at(int n, int c);

private:
    std::array<std::array<StrategyEntry, kColumns>, kRows> v_{};
};

// Fills rows 0 .. bets and columns 0 .. goal-1. Throws std::invalid_argument
// when goal is outside 1 .. 100 or bets outside 0 .. 50.
void SolveAllOrNothing(StrategyTable& table, int goal, int bets);

// "Bet %d dollars on " followed by the type's name.
std::string DecisionText(int stake, int type);

// One step of the recursion for a given first decision, optimal play after
// it: p(t) w + (1 - p(t)) V[n-1][c - stake]. Needs a table solved for this
// goal and at least n - 1 bets. Throws std::invalid_argument outside
// 1 <= stake <= c, c <= 99, c <= goal <= 100, 1 <= n <= 50, 1 <= type <= 7.
double EvaluateDecision(const StrategyTable& table, int capital, int goal, int betsLeft, int stake, int type);

// The value of a state: 1 when the goal is already reached (no decision),
// else the table's entry.
StrategyEntry StateEntry(const StrategyTable& table, int capital, int goal, int betsLeft);

// --- The start dialog -------------------------------------------------------------

struct StartInput {
    long long capital = 3;
    long long goal = 5;
    long long bets = 2;
};

struct StartCheck {
    bool ok = true;
    int capital = 3;
    int goal = 5;
    int bets = 2;
};

// The checks of "OK", each correcting its own value, in this order: the goal
// (checked against the capital as entered), the capital, the bets.
StartCheck CheckStartInput(const StartInput& in);

// A whole-number field's value as read: the number typed, or the field's
// lower bound when the text is not a whole number (empty, letters, too long).
long long ReadWholeNumber(std::string_view text, int lowerBound);

inline constexpr const char* kInvalidInput = "Invalid input value(s)";
inline constexpr const char* kNoPossibility = "Do not bet! There is no possibility to reach your goal";
inline constexpr const char* kTooHighStake = "Too high stake";

// --- The results window -------------------------------------------------------------

struct ResultsView {
    std::string capital, goal, bets; // the three status values
    bool warning = false;            // "Do not bet! ..." is shown
    std::string decision;            // empty when there is none
    std::string chance;              // empty with the warning
};

ResultsView PrepareResults(const StrategyTable& table, int capital, int goal, int bets);
// The results as lines of text ("Current capital 10", ...), the warning in
// place of the decision and the chance.
std::string ResultsViewText(const ResultsView& view);

// --- The other-decision dialog ------------------------------------------------------

inline constexpr int kDecisionEntries = 10;
struct DecisionEntry {
    const char* name;
    int type;
};
inline constexpr std::array<DecisionEntry, kDecisionEntries> kDecisionList = {{
    {"Plein", 1},
    {"Cheval", 2},
    {"Transversale Pleine", 3},
    {"Carr\xC3\xA9", 4},
    {"Transversale Simple", 5},
    {"Colonne", 6},
    {"Douzaine", 6},
    {"Rouge or noir", 7},
    {"Manque et Passe", 7},
    {"Pair et Impair", 7},
}};

// The list entry of that name, or nothing.
std::optional<int> DecisionEntryIndex(std::string_view name);

// A stake as the dialog keeps it: above the capital set back to the capital,
// below 1 set back to 1.
int ClampStake(long long stake, int capital);

// "Maximal win probability :" value, 4 decimals.
std::string MaximalWinText(const StrategyTable& table, int capital, int goal, int betsLeft);
// "Win probability" value: "%.4f " of the decision, or "Too high stake".
std::string WinText(const StrategyTable& table, int capital, int goal, int betsLeft, long long stake,
                    int type);

} // namespace tarvik::roulette
