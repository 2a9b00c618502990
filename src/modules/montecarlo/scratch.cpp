#include "modules/montecarlo/scratch.h"

#include "common/numformat.h"
#include "common/random.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace tarvik::montecarlo {

std::optional<ScratchRefusal> CheckScratch(int tickets, int weeks) {
    if (tickets < 5) return ScratchRefusal{true, "The number of lottery tickets must be at least 5"};
    if (weeks < 100) return ScratchRefusal{false, "The number of weeks must at least be 100"};
    return std::nullopt;
}

int ScratchUniform(int a) {
    if (a < 65535) return RandomInt(a);
    // Two digits of base m with m^2 >= a: every value of 0 .. m^2 - 1 is
    // equally likely, and those of a or more are drawn again.
    const int m = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(a))));
    for (;;) {
        const long long v = static_cast<long long>(RandomInt(m)) * m + RandomInt(m);
        if (v < a) return static_cast<int>(v);
    }
}

int ScratchWeekWith(int tickets, const std::function<int(int)>& uniform) {
    int remaining = tickets;
    int winners = 0;
    while (remaining > 0) {
        const int b = uniform(remaining);
        if (b == 0) ++winners;
        remaining -= b + 1;
    }
    return std::min(winners, 8);
}

int ScratchWeek(int tickets) {
    // The hot loop of long runs: the same walk without the indirection.
    int remaining = tickets;
    int winners = 0;
    while (remaining > 0) {
        const int b = ScratchUniform(remaining);
        if (b == 0) ++winners;
        remaining -= b + 1;
    }
    return std::min(winners, 8);
}

double ScratchExactProbability(int n, int c) {
    static const auto factorial = [] {
        std::array<double, 13> f{};
        f[0] = 1;
        for (int i = 1; i <= 12; ++i) f[i] = f[i - 1] * i;
        return f;
    }();
    const auto exact = [&](int k) -> double {
        if (k > n) return 0;
        if (k == n) return 1 / factorial[n];
        if (k == n - 1) return 0;
        double sum = 0;
        for (int i = 2; i <= n - k; ++i) sum += (i % 2 == 0 ? 1 : -1) / factorial[i];
        return sum / factorial[k];
    };
    if (c < 8) return exact(c);
    if (n < 8) return 0;
    double rest = 1;
    for (int k = 0; k < 8; ++k) rest -= exact(k);
    return std::max(rest, 0.0);
}

int ScratchBarHeight(long long count, int weeks) {
    return static_cast<int>(std::lround(270.0 / (weeks * 0.5) * count));
}

std::string ScratchResult::classText(int c) const {
    return c == 8 ? ">=8" : std::to_string(c);
}

std::string ScratchResult::simulatedText(int c) const {
    return FormatGeneral(probability(c), 4);
}

std::string ScratchResult::intervalText(int c) const {
    const double p = probability(c);
    const double w = completed;
    if (completed < 2 || !(w * p > 5)) return {};
    const double h = std::sqrt(std::max(0.0, w * p * (1 - p)) / (w - 1) / w);
    return "[ " + FormatGeneral(p - 1.96 * h, 4) + " ; " + FormatGeneral(p + 1.96 * h, 4) + " ]";
}

std::string ScratchResult::exactText(int c) const {
    if (tickets >= 13) {
        static const char* const limits[kScratchClasses] = {"0.3679", "0.3679", "0.1839", "0.0613", "0.0153",
                                                            "0.0031", "5.1E-4", "7.3E-5", "1.0E-5"};
        return limits[c];
    }
    return FormatGeneral(ScratchExactProbability(tickets, c), 4);
}

ScratchResult RunScratch(int tickets, int weeks, Progress& progress,
                         const std::function<void(int, int, const ScratchResult&)>& onWeek) {
    ScratchResult r{.tickets = tickets, .weeks = weeks};
    for (int i = 1; i <= weeks && !progress.stopRequested(); ++i) {
        const int c = ScratchWeek(tickets);
        ++r.counts[static_cast<std::size_t>(c)];
        r.completed = i;
        if (onWeek) onWeek(i, c, r);
        progress.yield();
    }
    return r;
}

std::string ScratchReport(const ScratchResult& r) {
    std::ostringstream out;
    out << "Number of lottery tickets: " << r.tickets << "\n";
    out << "Number of runs: " << r.weeks << "\n";
    out << "x := # winners | Simulated probability | Confidence interval | Exact probability\n";
    for (int k = 0; k < kScratchClasses; ++k)
        out << r.classText(k) << " | " << r.simulatedText(k) << " | " << r.intervalText(k) << " | "
            << r.exactText(k) << "\n";
    return out.str();
}

} // namespace tarvik::montecarlo
