#pragma once
// What every Monte Carlo experiment shares: the integer fields with their
// limits, the 95% intervals and a few number texts.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik::montecarlo {

// An integer field with its limits and default. The hint is the text the
// field shows when the mouse rests on it.
struct SpinLimits {
    int min = 0;
    int max = 0;
    int initial = 0;
    const char* hint = "";
};

// The value a field holds after the user leaves it: a value outside the
// limits becomes the nearest limit, a text that is no integer the lower limit.
int ClampSpinText(std::string_view text, const SpinLimits& limits);

// The module's start-up: the streams are reset and the system generator is
// seeded, from the clock or, when given, from `seed`. Returns the seed used.
std::uint32_t StartGenerators(std::optional<std::uint32_t> seed = std::nullopt);
// The stream a run draws from: RandomInt(100) + 1.
int ChooseStream();

// A 95% interval; `valid` is false where the field stays empty.
struct Interval {
    bool valid = false;
    double lower = 0;
    double upper = 0;
};

// The interval of a proportion p over n trials: p -/+ 1.96 sqrt(p(1-p)/(n-1)),
// empty for n < 2.
Interval ProportionInterval(double p, long long n);
// The interval of a mean from a running mean and mean of squares over n
// values: mean -/+ 1.96 sqrt(max(0, meanSq - mean^2)) / sqrt(n); empty for n < 1.
Interval MeanInterval(double mean, double meanOfSquares, long long n);

// "[ lower ; upper ]" with both numbers in general format with `precision`
// significant digits; empty when the interval is.
std::string BracketGeneral(const Interval& interval, int precision);
// "[ lower ; upper ]" with both numbers in fixed format.
std::string BracketFixed(const Interval& interval, int decimals);

// `value` rounded half away from zero to `digits` significant digits.
double RoundSignificant(double value, int digits);

// A money amount: "$" and the amount with thousands separators and
// `decimals` decimals while it has at most `precision` digits before the
// decimal mark; larger amounts in scientific notation with `precision`
// significant digits. `log10Value` is the decimal logarithm of the amount, so
// that amounts beyond the range of a double still get their text.
std::string FormatCurrency(double value, int precision, int decimals);
std::string FormatCurrencyFromLog(double log10Value, int precision, int decimals);

// A line of a report window: its text and its style.
struct StyledLine {
    enum Style { Heading, Plain, Courier, BoldUnderline };
    Style style = Plain;
    std::string text;
    // Where a value follows its label with no separator in the text (0: no
    // such value): the window sets the two apart by a blank's width.
    std::size_t valueAt = 0;
};
} // namespace tarvik::montecarlo
