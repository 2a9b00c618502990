#pragma once
// Number texts. Every real is written with "." as the decimal mark whatever
// the user's locale; the rounding of the last digit is half away from zero.
#include <string>

namespace tarvik {

// "General" format: at most `precision` significant digits, trailing zeros and a
// trailing decimal mark dropped; scientific ("1.5E-6", "2E20") when the
// magnitude is below 0.00001 or needs more than `precision` digits before the
// decimal mark. `expDigits` is the minimum number of exponent digits.
std::string FormatGeneral(double value, int precision, int expDigits = 0);

// Exponent format with `digits` significant digits, trailing zeros kept:
// 1.5e-7 with 3 digits gives "1.50E-7". Covers the whole extended range.
std::string FormatExponent(long double value, int digits);

// "Fixed" format: exactly `decimals` decimals, no thousands separators.
std::string FormatFixed(double value, int decimals);

// Fixed format with thousands separators ("1,234,567.00").
std::string FormatNumber(double value, int decimals);

// printf-like formatting ("%.4g", "%10.5g", "%d") with "." as the decimal mark.
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// Makes the C library format and parse with "." whatever the environment says.
void UseDotDecimalMark();

} // namespace tarvik
