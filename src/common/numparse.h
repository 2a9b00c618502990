#pragma once
// Reading numbers the user typed, and keeping numeric fields clean while typing.
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tarvik {

// A text that is not a number. Unhandled, it ends the user action silently.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Accepts "." or "," as the decimal mark and blanks around the number:
// " 3,75 " gives 3.75. Fails on anything else, the empty text included.
double StrToReal(std::string_view text);
std::optional<double> TryStrToReal(std::string_view text);

// Whole numbers as typed into integer fields (blanks around allowed).
std::optional<long long> TryStrToInt(std::string_view text);

// The value of a whole-number field with limits once the user leaves it: a
// number beyond a limit becomes that limit, a text that is no whole number
// (or one beyond the range of long long) the lower limit.
int ClampWholeText(std::string_view text, int lower, int upper);

// The characters a numeric field may hold.
inline constexpr std::string_view kRealChars = "-.0123456789Ee";
inline constexpr std::string_view kUnsignedRealChars = ".0123456789Ee";

struct FilteredText {
    std::string text;
    int caret = 0;
    bool changed = false;
};

// Keeps at most one point, one minus sign and one exponent letter (everything
// after a second one goes), only characters of `allowed`, and at most 12
// characters (the first 11 and the last). The caret moves left by one for every
// removed character that stood before it.
FilteredText FilterRealText(std::string_view text, int caret, std::string_view allowed);

// True when a filter that turned `typed` into `kept` dropped a comma typed
// right after a digit: the user wrote a decimal comma, and the field now holds
// another number than the one meant ("0,8" kept as "08").
bool DropsDecimalComma(std::string_view typed, std::string_view kept);

} // namespace tarvik
