#pragma once
// The scratch lottery: N tickets a week, the winners of a week are the fixed
// points of a uniformly random permutation of the tickets.
#include "common/progress.h"
#include "modules/montecarlo/mcshared.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tarvik::montecarlo {

inline constexpr SpinLimits kScratchTickets{.min = 1, .max = 1000000, .initial = 10000, .hint = ""};
inline constexpr SpinLimits kScratchWeeks{.min = 1, .max = 1000000, .initial = 10000, .hint = ""};
inline constexpr int kScratchClasses = 9; // 0 .. 7 winners and 8 or more

// The refusal of the settings, or nothing: fewer than 5 tickets or 100 weeks.
struct ScratchRefusal {
    bool tickets = false; // which field: the tickets or the weeks
    std::string message;
};
std::optional<ScratchRefusal> CheckScratch(int tickets, int weeks);

// A whole number from 0 to a - 1, every value equally likely, from the system
// generator (two draws with rejection for a of 65535 or more).
int ScratchUniform(int a);
// The class of one week: min(winners, 8).
int ScratchWeek(int tickets);
// The same week with the uniform draws D(a) from `uniform`.
int ScratchWeekWith(int tickets, const std::function<int(int)>& uniform);

struct ScratchResult {
    int tickets = 0;
    int weeks = 0;     // asked for
    int completed = 0; // simulated
    std::array<long long, kScratchClasses> counts{};
    bool finished() const { return completed == weeks; }

    double probability(int c) const { return completed > 0 ? static_cast<double>(counts[c]) / completed : 0; }
    // The table's columns for class c.
    std::string classText(int c) const;
    std::string simulatedText(int c) const;
    std::string intervalText(int c) const; // empty unless W p > 5
    std::string exactText(int c) const;
};

// The table as text: the numbers of tickets and runs, then a line per class
// with the table's columns: what the command line prints and the table window saves.
std::string ScratchReport(const ScratchResult& r);

// The exact probability of class c for N < 13; for larger N the table shows
// the limiting values.
double ScratchExactProbability(int tickets, int c);

// The bar height of a count: round(270 / (W x 0.5) x count).
int ScratchBarHeight(long long count, int weeks);

// W weeks; after every week `onWeek` gets the week's number and class, then
// pending user events are handled; the stop flag is tested before every week.
ScratchResult RunScratch(int tickets, int weeks, Progress& progress,
                         const std::function<void(int week, int c, const ScratchResult&)>& onWeek = {});

} // namespace tarvik::montecarlo
