#include "modules/montecarlo/birthday.h"

#include "common/numformat.h"
#include "common/random.h"

#include <algorithm>
#include <cmath>

namespace tarvik::montecarlo {

double ExactBirthdayProbability(int persons, int dayDifference) {
    const int m = persons;
    const int d = dayDifference;
    if (m * (d + 1) > 365) return 1.0;
    double product = 1.0;
    if (d == 0) {
        for (int k = 0; k < m; ++k) product *= (365.0 - k) / 365.0;
    } else {
        for (int k = 366 - m * (d + 1); k <= 364 - m * d; ++k) product *= k / 365.0;
    }
    return 1.0 - product;
}

int BirthdayY(double p) {
    return std::max(25, 300 - static_cast<int>(std::lround(p * 275)));
}

std::string BirthdayResult::estimateText() const {
    return FormatFixed(estimate(), 4);
}

std::string BirthdayResult::intervalText() const {
    return BracketFixed(ProportionInterval(estimate(), runs), 4);
}

std::string BirthdayResult::exactText() const {
    return FormatFixed(exact, 4);
}

bool BirthdayRun(int persons, int dayDifference, int stream) {
    std::array<bool, 366> marked{};
    for (int k = 1; k <= persons; ++k) {
        const int day = static_cast<int>(RndUniform(stream) * 365 + 1);
        if (marked[day]) return true;
        marked[day] = true;
        for (int j = 1; j <= dayDifference; ++j) {
            int below = day - j;
            if (below < 1) below += 365;
            int above = day + j;
            if (above > 365) above -= 365;
            if (marked[below] || marked[above]) return true;
        }
    }
    return false;
}

BirthdayResult RunBirthday(const BirthdayParams& params, int stream, Progress& progress,
                           const std::function<void(const BirthdayColumn&)>& onColumn) {
    BirthdayResult result{.stream = stream};
    result.exact = ExactBirthdayProbability(params.persons, params.dayDifference);
    const double w = static_cast<double>(kBirthdayColumns) / params.runs;
    int previous = 0;
    for (int i = 1; i <= params.runs; ++i) {
        progress.yield();
        if (progress.stopRequested()) break;
        if (BirthdayRun(params.persons, params.dayDifference, stream)) ++result.successes;
        result.runs = i;
        const int c = std::min(kBirthdayColumns, static_cast<int>(i * w));
        if (c > previous) {
            const double p = static_cast<double>(result.successes) / i;
            result.columns[static_cast<std::size_t>(c)] = p;
            if (onColumn)
                onColumn({.column = c,
                          .previousColumn = previous,
                          .previousEstimate = result.columns[static_cast<std::size_t>(previous)],
                          .estimate = p,
                          .run = i,
                          .successes = result.successes});
            previous = c;
        }
    }
    return result;
}

} // namespace tarvik::montecarlo
