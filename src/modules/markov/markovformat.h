#pragma once
// Number texts of the Markov reports.
#include <cstddef>
#include <string>

namespace tarvik::markov {

// x rounded to `precision` significant digits and shown with `decimals`
// decimals ("." as decimal mark, "-" for negative values); the general
// format when the integer part has more than `precision` digits.
std::string Fixed(double x, int precision, int decimals);

// For x >= 0: `d` decimals below 1, d - 1 from 1 to 10, d - 2 from 10 to 100, ...
std::string FormatDigits(int d, double x);

// `line` extended with blanks to `width` characters.
std::string PadRight(std::string line, std::size_t width);

} // namespace tarvik::markov
