#include "modules/montecarlo/mcshared.h"

#include "common/numformat.h"
#include "common/numparse.h"
#include "common/random.h"

#include <algorithm>
#include <cmath>

namespace tarvik::montecarlo {

int ClampSpinText(std::string_view text, const SpinLimits& limits) {
    return ClampWholeText(text, limits.min, limits.max);
}

std::uint32_t StartGenerators(std::optional<std::uint32_t> seed) {
    RndReset();
    if (seed)
        RandSeed = *seed;
    else
        Randomize();
    return RandSeed;
}

int ChooseStream() {
    return RandomInt(kRndStreams) + 1;
}

Interval ProportionInterval(double p, long long n) {
    if (n < 2) return {};
    const double s = std::sqrt(std::max(0.0, p * (1 - p)) / static_cast<double>(n - 1));
    return {.valid = true, .lower = p - 1.96 * s, .upper = p + 1.96 * s};
}

Interval MeanInterval(double mean, double meanOfSquares, long long n) {
    if (n < 1) return {};
    const double half =
        1.96 * std::sqrt(std::max(0.0, meanOfSquares - mean * mean)) / std::sqrt(static_cast<double>(n));
    return {.valid = true, .lower = mean - half, .upper = mean + half};
}

std::string BracketGeneral(const Interval& interval, int precision) {
    if (!interval.valid) return {};
    return "[ " + FormatGeneral(interval.lower, precision) + " ; " +
           FormatGeneral(interval.upper, precision) + " ]";
}

std::string BracketFixed(const Interval& interval, int decimals) {
    if (!interval.valid) return {};
    return "[ " + FormatFixed(interval.lower, decimals) + " ; " + FormatFixed(interval.upper, decimals) +
           " ]";
}

double RoundSignificant(double value, int digits) {
    if (value == 0 || !std::isfinite(value)) return value;
    const int e = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    const double scale = std::pow(10.0, digits - 1 - e);
    return std::round(value * scale) / scale;
}

std::string FormatCurrency(double value, int precision, int decimals) {
    if (value != 0 && std::isfinite(value) && std::fabs(value) >= std::pow(10.0, precision))
        return FormatGeneral(value, precision);
    const std::string number = FormatNumber(std::fabs(value), decimals);
    return (value < 0 ? "-$" : "$") + number;
}

std::string FormatCurrencyFromLog(double log10Value, int precision, int decimals) {
    if (log10Value < 300) return FormatCurrency(std::pow(10.0, log10Value), precision, decimals);
    // Beyond the range of a double: mantissa and exponent from the logarithm.
    double e = std::floor(log10Value);
    double mantissa = RoundSignificant(std::pow(10.0, log10Value - e), precision);
    if (mantissa >= 10) {
        mantissa /= 10;
        e += 1;
    }
    return FormatGeneral(mantissa, precision) + "E" + std::to_string(static_cast<long long>(e));
}

} // namespace tarvik::montecarlo
