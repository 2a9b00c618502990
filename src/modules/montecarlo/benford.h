#pragma once
// Benford's law: the leading digits of whole numbers drawn uniformly from
// 1 .. X, with X itself uniform on 1 .. B for a randomly chosen bound B.
#include "common/progress.h"
#include "modules/montecarlo/mcshared.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tarvik::montecarlo {

inline constexpr SpinLimits kBenfordIntervals{.min = 1, .max = 10, .initial = 10, .hint = "Min: 1 ; Max: 10"};
inline constexpr SpinLimits kBenfordDraws{
    .min = 100, .max = 1000000, .initial = 100000, .hint = "Min: 100 ; Max: 1.000.000"};
inline constexpr std::int64_t kBenfordMinBound = 100;
inline constexpr std::int64_t kBenfordMaxBound = 1000000000000000LL; // 10^15

struct BenfordParams {
    std::vector<std::int64_t> bounds; // B_1 .. B_k
    int draws = 100000;
};

// The first bound text that is refused, with its message.
struct BenfordRefusal {
    int index = 0; // 0-based field
    std::string message;
};

// Reads the first `texts.size()` bound texts: whole numbers from 100 to 10^15.
// On success `bounds` holds them.
std::optional<BenfordRefusal> CheckBenfordBounds(const std::vector<std::string>& texts,
                                                 std::vector<std::int64_t>& bounds);

// log10(1 + 1/d).
double BenfordProbability(int digit);
// The top of digit d's blue bar (800 pixels per unit of probability).
int BenfordBarTop(int digit);
// The top of a red bar for a share: 296 - round(800 share).
int BenfordShareTop(double share);

// The leading digit of a whole number of at least 1.
int LeadingDigit(std::int64_t value);

struct BenfordResult {
    int stream = 0;
    int draws = 0;                      // draws completed
    std::array<long long, 10> counts{}; // counts[1 .. 9]
    double share(int digit) const { return draws > 0 ? static_cast<double>(counts[digit]) / draws : 0; }
};

// The picture updates every max(trunc(D / 100), 1) draws.
int BenfordStep(int draws);

// D draws: per draw one value of the stream is discarded, the interval comes
// from the system generator and X and Y from the stream. `onUpdate` is called
// after every step-th draw; the stop flag is tested there too.
BenfordResult RunBenford(const BenfordParams& params, int stream, Progress& progress,
                         const std::function<void(const BenfordResult&)>& onUpdate = {});

} // namespace tarvik::montecarlo
