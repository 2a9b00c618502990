#pragma once
// Betting systems on an even chance of roulette: Big Martingale, D'Alembert
// and Flat betting, as one realisation or as distributions over many runs.
#include "common/progress.h"
#include "modules/montecarlo/mcshared.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace tarvik::montecarlo {

inline constexpr int kSystems = 3;
enum class RouletteSystem { BigMartingale = 0, DAlembert = 1, Flat = 2 };
// "Big-Martingale", "D'Alembert", "Flat".
const char* SystemName(int system);

inline constexpr SpinLimits kRouletteStart{.min = 10, .max = 250, .initial = 100, .hint = "Min 10;Max 250"};
inline constexpr SpinLimits kRouletteDesired{
    .min = 11, .max = 500, .initial = 200, .hint = "Min 11: Max 500"};
inline constexpr SpinLimits kRouletteDistStart{
    .min = 10, .max = 100, .initial = 10, .hint = "Min 10;Max 100"};
inline constexpr SpinLimits kRouletteBets{.min = 10, .max = 100, .initial = 10, .hint = "Min 10: Max 100"};
inline constexpr SpinLimits kRouletteRuns{
    .min = 1000, .max = 100000, .initial = 1000, .hint = "Min 1000: Max 100000"};
inline constexpr int kRouletteMaxRounds = 100000;

// One spin with the system generator: a win when RandomInt(37) + 1 <= 18.
bool RouletteSpin();
// The next stake of a system after a win or a loss, given its capital then.
int NextStake(int system, int stake, bool won, int capital);

// --- single run -------------------------------------------------------------

struct RouletteRunSystem {
    std::vector<int> capital; // before round 1, then after every round played
    int rounds = 0;
    long long staked = 0;
    int largestStake = 0;
    int endCapital() const { return capital.back(); }
};

struct RouletteRealisation {
    int start = 0;
    int desired = 0;
    std::array<RouletteRunSystem, kSystems> systems;
    int longest() const; // L: the largest number of rounds played
};

// "Starting capital must be smaller then desired capital" when start >= desired.
std::string CheckRouletteRun(int start, int desired);
RouletteRealisation RunRouletteRealisation(int start, int desired);

// The Data window's texts: per system rounds, staked chips and largest stake.
struct RouletteRunData {
    std::array<std::string, kSystems> rounds, staked, largest;
};
RouletteRunData RouletteRunTexts(const RouletteRealisation& r);
// The realisation as text, one "Label: value" line per figure of each strategy:
// what the command line prints and the data window saves.
std::string RouletteRunReport(const RouletteRealisation& r);

// --- distributions ----------------------------------------------------------

struct RouletteDistParams {
    int start = 10;
    int bets = 10;
    int runs = 1000;
};

struct RouletteDistSystem {
    std::vector<long long> histogram; // classes 0 .. 3S
    std::vector<double> frequencies;  // histogram / completed runs
    long double mean = 0;
    long double meanOfSquares = 0;
    long long staked = 0;
    long long lost = 0; // net
    long long betsUntilRuin = 0;
};

struct RouletteDistResult {
    RouletteDistParams params;
    int completed = 0;
    std::array<RouletteDistSystem, kSystems> systems;
};

// The runs; the stop flag is tested before each run, pending user events are
// handled after every bet, and `onPercent` receives the progress bar's value
// at every hundredth of the runs.
RouletteDistResult RunRouletteDistributions(const RouletteDistParams& params, Progress& progress,
                                            const std::function<void(int)>& onPercent = {});

struct RouletteDistData {
    std::array<std::string, kSystems> estimate; // mean, six blanks, "[lower,upper]"
    std::array<std::string, kSystems> staked, lost, fractionLost, averageBets;
};
RouletteDistData RouletteDistTexts(const RouletteDistResult& r);
// The distributions as text: the data window's figures, then each system's
// classes with their runs and relative frequencies.
std::string RouletteDistReport(const RouletteDistResult& r);

// Bar height in pixels of a relative frequency on the logarithmic panels
// (round((log10 x + 4) 22), at least 0; a frequency 0 is not drawn: -1).
int LogBarHeight(double frequency);

} // namespace tarvik::montecarlo
