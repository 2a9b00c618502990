#include "modules/montecarlo/stpetersburg.h"

#include "common/numformat.h"
#include "common/random.h"

#include <algorithm>
#include <cmath>

namespace tarvik::montecarlo {

int SppY(double v) {
    return std::max(25, 300 - static_cast<int>(std::lround(7 * v)));
}

Interval SppResult::interval() const {
    const long long n = runs();
    if (n < 2) return {};
    const double a = average();
    double squares = 0;
    for (long long p : payouts) squares += (static_cast<double>(p) - a) * (static_cast<double>(p) - a);
    const double s = std::sqrt(squares / static_cast<double>(n - 1) / static_cast<double>(n));
    return {.valid = true, .lower = a - 1.96 * s, .upper = a + 1.96 * s};
}

std::string SppResult::averageText() const {
    if (payouts.empty()) return {};
    return FormatFixed(RoundSignificant(average(), 4), 3);
}

std::string SppResult::intervalText() const {
    const Interval i = interval();
    if (!i.valid) return {};
    return "[ " + FormatFixed(RoundSignificant(i.lower, 4), 3) + " ; " +
           FormatFixed(RoundSignificant(i.upper, 4), 3) + " ]";
}

long long SppGameWith(int m, const std::function<double()>& draw, Progress& progress) {
    for (int j = 1; j <= m; ++j) {
        progress.yield();
        if (draw() < 0.5) return 1LL << j;
    }
    return 0;
}

long long SppGame(int m, int stream, Progress& progress) {
    for (int j = 1; j <= m; ++j) {
        progress.yield();
        if (RndUniform(stream) < 0.5) return 1LL << j;
    }
    return 0;
}

SppResult RunStPetersburg(const SppParams& params, int stream, Progress& progress,
                          const std::function<void(const SppColumn&)>& onColumn) {
    SppResult result;
    result.stream = stream;
    result.payouts.reserve(static_cast<std::size_t>(params.runs));
    const double w = static_cast<double>(kSppColumns) / params.runs;
    int previous = 0;
    for (int i = 1; i <= params.runs && !progress.stopRequested(); ++i) {
        const long long pay = SppGame(params.m, stream, progress);
        result.payouts.push_back(pay);
        result.sum += static_cast<double>(pay);
        const int c = std::min(kSppColumns, static_cast<int>(i * w));
        if (c > previous) {
            const double a = result.sum / i;
            result.columns[static_cast<std::size_t>(c)] = a;
            if (onColumn)
                onColumn({.column = c,
                          .previousAverage = result.columns[static_cast<std::size_t>(previous)],
                          .average = a});
            previous = c;
        }
    }
    return result;
}

} // namespace tarvik::montecarlo
