#pragma once
// The birthday and almost-birthday problem: the chance that two of m persons
// have birthdays at most d days apart on a circular year of 365 days.
#include "common/progress.h"
#include "modules/montecarlo/mcshared.h"

#include <array>
#include <functional>
#include <string>

namespace tarvik::montecarlo {

inline constexpr SpinLimits kBirthdayPersons{.min = 2, .max = 75, .initial = 10, .hint = "Min: 2 ; Max: 75"};
inline constexpr SpinLimits kBirthdayDays{.min = 0, .max = 7, .initial = 0, .hint = "Min: 0 ; Max: 7"};
inline constexpr SpinLimits kBirthdayRuns{
    .min = 350, .max = 100000, .initial = 1000, .hint = "Min: 350 ; Max: 100000"};

// Graph columns 0 .. 325 (column 0 is the origin).
inline constexpr int kBirthdayColumns = 325;

struct BirthdayParams {
    int persons = 10;
    int dayDifference = 0;
    int runs = 1000;
};

// 1 - (365 x 364 x ... x (366 - m)) / 365^m for d = 0; for d > 0 the product of
// the m - 1 integers 366 - m(d + 1) .. 364 - m d over 365^(m - 1); 1 when
// m(d + 1) > 365.
double ExactBirthdayProbability(int persons, int dayDifference);

// The y pixel of a probability in the graph: 300 - round(275 p), at least 25.
int BirthdayY(double p);

// A graph column that got its value after run `run`.
struct BirthdayColumn {
    int column = 0;
    int previousColumn = 0;
    double previousEstimate = 0;
    double estimate = 0;
    int run = 0;
    int successes = 0;
};

struct BirthdayResult {
    int stream = 0;
    int runs = 0; // completed runs
    int successes = 0;
    double exact = 0;
    // The estimate per graph column; column 0 stays 0.
    std::array<double, kBirthdayColumns + 1> columns{};

    double estimate() const { return runs > 0 ? static_cast<double>(successes) / runs : 0; }
    std::string estimateText() const;
    std::string intervalText() const;
    std::string exactText() const;
};

// One simulated group: true when two birthdays are at most d days apart.
bool BirthdayRun(int persons, int dayDifference, int stream);

// r runs from stream `stream`; pending user events are handled and the stop
// flag tested once per run.
BirthdayResult RunBirthday(const BirthdayParams& params, int stream, Progress& progress,
                           const std::function<void(const BirthdayColumn&)>& onColumn = {});

} // namespace tarvik::montecarlo
