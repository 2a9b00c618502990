#pragma once
// Reading the twelve input fields of a table and writing them back sorted.
// Plain C++, so that the rules can be checked without a window.
#include <string>
#include <vector>

namespace tarvik::tables {

inline constexpr int kInputCount = 12;

// Whole numbers: a text longer than 8 characters counts as 100000000, a text
// that is no whole number is skipped, values above 1000000 become 1000000.
// The values come back sorted ascending.
std::vector<long long> ReadIntegerInputs(const std::vector<std::string>& texts);
// Reals: texts that are no number are skipped; values are limited to
// [-1000000, 1000000], or to [0, 1] for percentiles. Sorted ascending.
std::vector<double> ReadRealInputs(const std::vector<std::string>& texts, bool percentiles);

// How a value read is written back into its field.
std::string IntegerFieldText(long long value);
std::string RealFieldText(double value);

} // namespace tarvik::tables
