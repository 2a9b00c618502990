#pragma once
// The St Petersburg paradox against a casino whose capital is 2^m: the
// average pay-out of many games.
#include "common/progress.h"
#include "modules/montecarlo/mcshared.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace tarvik::montecarlo {

inline constexpr SpinLimits kSppM{.min = 1, .max = 25, .initial = 10, .hint = "Min: 1 ; Max: 25"};
inline constexpr SpinLimits kSppRuns{
    .min = 350, .max = 100000, .initial = 1000, .hint = "Min. 350 ; Max. 100000"};
inline constexpr int kSppColumns = 325;

struct SppParams {
    int m = 10;
    int runs = 1000;
};

// y of an average in the graph: 300 - round(7 v), at least 25.
int SppY(double v);

// A graph column that got its value after run `run`.
struct SppColumn {
    int column = 0;
    double previousAverage = 0;
    double average = 0;
};

struct SppResult {
    int stream = 0;
    std::vector<long long> payouts; // per completed run
    double sum = 0;
    std::array<double, kSppColumns + 1> columns{};

    long long runs() const { return static_cast<long long>(payouts.size()); }
    double average() const { return payouts.empty() ? 0 : sum / static_cast<double>(payouts.size()); }
    // Average -/+ 1.96 s, s from the deviations of all pay-outs; empty for n < 2.
    Interval interval() const;
    std::string averageText() const;
    std::string intervalText() const;
};

// One game: tosses until a head or m tosses; pays 2^j for a head at toss j and
// 0 after m tails. Pending user events are handled before every toss.
long long SppGame(int m, int stream, Progress& progress);
// The same game with the tosses from `draw` (a head when it returns < 0.5).
long long SppGameWith(int m, const std::function<double()>& draw, Progress& progress);

// Games from stream `stream`; the stop flag is tested before every game, so a
// game once begun is completed.
SppResult RunStPetersburg(const SppParams& params, int stream, Progress& progress,
                          const std::function<void(const SppColumn&)>& onColumn = {});

} // namespace tarvik::montecarlo
