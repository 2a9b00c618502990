#include "modules/markov/markovformat.h"

#include "common/numformat.h"

#include <algorithm>
#include <cmath>

namespace tarvik::markov {

std::string Fixed(double x, int precision, int decimals) {
    if (!std::isfinite(x)) return FormatFixed(x, decimals);
    if (x == 0) return FormatFixed(0, decimals);
    const double ax = std::fabs(x);
    // Digits before the decimal mark (zero or negative below 1).
    int intDigits = static_cast<int>(std::floor(std::log10(ax))) + 1;
    // log10 may be off by one next to a power of ten.
    if (std::pow(10.0, intDigits - 1) > ax)
        --intDigits;
    else if (std::pow(10.0, intDigits) <= ax)
        ++intDigits;
    if (intDigits > precision) return FormatGeneral(x, precision);
    const int shown = std::min(decimals, precision - intDigits);
    std::string s = FormatFixed(x, shown);
    if (shown < decimals) {
        if (shown <= 0) s += '.';
        s.append(static_cast<std::size_t>(decimals - std::max(shown, 0)), '0');
    }
    return s;
}

std::string FormatDigits(int d, double x) {
    if (!std::isfinite(x)) return Fixed(x, 10, d);
    const double l = x <= 1e-16 ? -16.0 : std::log10(x);
    const double tl = l + 1 + 1e-10;
    const int t = static_cast<int>(std::trunc(std::clamp(tl, -1e6, 1e6)));
    return t > 0 ? Fixed(x, 10, d - t) : Fixed(x, 10, d);
}

std::string PadRight(std::string line, std::size_t width) {
    if (line.size() < width) line.append(width - line.size(), ' ');
    return line;
}

} // namespace tarvik::markov
