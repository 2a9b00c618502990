#include "common/numformat.h"

#include <clocale>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace tarvik {
namespace {

// The decimal digits of |v| rounded half away from zero to `sig` significant
// digits: v = 0.d1d2...dsig x 10^exp10. `sig` is at most 40.
struct Decimal {
    std::string digits;
    int exp10 = 0;
};

constexpr int kExactDigits = 41;

// All 41 significant digits of |v| (correctly rounded) and its exponent.
Decimal Digits41(long double v) {
    char buf[128];
    std::snprintf(buf, sizeof buf, "%.*Le", kExactDigits - 1, std::fabs(v));
    // buf: d.dddd...e[+-]XX
    Decimal d;
    d.digits.push_back(buf[0]);
    const char* p = buf + 2;
    while (*p && *p != 'e') d.digits.push_back(*p++);
    d.exp10 = std::atoi(p + 1) + 1;
    return d;
}

// Keeps `sig` significant digits of `all`, rounding half away from zero. With
// sig = 0 only the carry into a new leading digit can remain.
Decimal RoundDigits(const Decimal& all, int sig) {
    Decimal d;
    d.exp10 = all.exp10;
    if (sig < 0) return d;
    if (sig >= static_cast<int>(all.digits.size())) {
        d.digits = all.digits;
        return d;
    }
    d.digits = all.digits.substr(0, static_cast<std::size_t>(sig));
    if (all.digits[static_cast<std::size_t>(sig)] >= '5') {
        int i = sig - 1;
        while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9')
            d.digits[static_cast<std::size_t>(i--)] = '0';
        if (i < 0) {
            d.digits.insert(d.digits.begin(), '1');
            if (sig > 0) d.digits.pop_back();
            d.exp10 += 1;
        } else {
            d.digits[static_cast<std::size_t>(i)] += 1;
        }
    }
    return d;
}

Decimal RoundSignificant(long double v, int sig) {
    return RoundDigits(Digits41(v), sig);
}

// "E", a minus sign for a negative exponent, and at least `expDigits` digits.
std::string ExponentSuffix(int e, int expDigits) {
    std::string out = "E";
    if (e < 0) out += "-";
    std::string es = std::to_string(std::abs(e));
    while (static_cast<int>(es.size()) < expDigits) es.insert(es.begin(), '0');
    return out + es;
}

std::string TrimZeros(std::string s) {
    while (!s.empty() && s.back() == '0') s.pop_back();
    return s;
}

std::string NonFinite(double v) {
    if (std::isnan(v)) return "NAN";
    return v < 0 ? "-INF" : "INF";
}

} // namespace

std::string FormatGeneral(double value, int precision, int expDigits) {
    if (!std::isfinite(value)) return NonFinite(value);
    if (precision < 1) precision = 1;
    if (precision > 18) precision = 18;
    if (value == 0) return "0";
    Decimal d = RoundSignificant(value, precision);
    std::string digits = TrimZeros(d.digits);
    if (digits.empty()) return "0";
    std::string out = value < 0 ? "-" : "";
    if (d.exp10 > precision || d.exp10 < -4) {
        out += digits[0];
        if (digits.size() > 1) out += "." + digits.substr(1);
        return out + ExponentSuffix(d.exp10 - 1, expDigits);
    }
    if (d.exp10 <= 0) {
        out += "0." + std::string(-d.exp10, '0') + digits;
    } else if (static_cast<int>(digits.size()) <= d.exp10) {
        out += digits + std::string(d.exp10 - digits.size(), '0');
    } else {
        out += digits.substr(0, d.exp10) + "." + digits.substr(d.exp10);
    }
    return out;
}

std::string FormatExponent(long double value, int digits) {
    if (!std::isfinite(value)) return NonFinite(static_cast<double>(value));
    if (digits < 1) digits = 1;
    if (digits > 30) digits = 30;
    if (value == 0) return "0." + std::string(static_cast<std::size_t>(digits - 1), '0') + "E0";
    const Decimal d = RoundSignificant(value, digits);
    std::string out = value < 0 ? "-" : "";
    out += d.digits[0];
    if (digits > 1) out += "." + d.digits.substr(1);
    return out + ExponentSuffix(d.exp10 - 1, 0);
}

std::string FormatFixed(double value, int decimals) {
    if (!std::isfinite(value)) return NonFinite(value);
    if (decimals < 0) decimals = 0;
    if (std::fabs(value) >= 1e21 || decimals > 30) {
        // Beyond the digits a double holds there are no ties to worry about.
        char buf[512];
        std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
        return buf;
    }
    std::string intPart, fracPart;
    if (value == 0) {
        intPart = "0";
    } else {
        // Significant digits kept: those before the point plus the decimals.
        const Decimal all = Digits41(value);
        const Decimal d = RoundDigits(all, all.exp10 + decimals);
        std::string digits = d.digits;
        int point = d.exp10; // digits before the decimal mark
        if (digits.empty()) {
            intPart = "0";
        } else if (point <= 0) {
            intPart = "0";
            fracPart = std::string(-point, '0') + digits;
        } else {
            if (static_cast<int>(digits.size()) < point) digits += std::string(point - digits.size(), '0');
            intPart = digits.substr(0, point);
            fracPart = digits.substr(point);
        }
    }
    if (static_cast<int>(fracPart.size()) < decimals)
        fracPart += std::string(decimals - fracPart.size(), '0');
    fracPart.resize(decimals);
    bool allZero = intPart.find_first_not_of('0') == std::string::npos &&
                   fracPart.find_first_not_of('0') == std::string::npos;
    std::string out = (value < 0 && !allZero) ? "-" : "";
    out += intPart;
    if (decimals > 0) out += "." + fracPart;
    return out;
}

std::string FormatNumber(double value, int decimals) {
    std::string s = FormatFixed(value, decimals);
    if (!std::isfinite(value)) return s;
    std::size_t start = s[0] == '-' ? 1 : 0;
    std::size_t point = s.find('.');
    if (point == std::string::npos) point = s.size();
    for (std::ptrdiff_t i = static_cast<std::ptrdiff_t>(point) - 3; i > static_cast<std::ptrdiff_t>(start);
         i -= 3)
        s.insert(static_cast<std::size_t>(i), ",");
    return s;
}

std::string Format(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    va_list ap2;
    va_copy(ap2, ap);
    int n = std::vsnprintf(nullptr, 0, fmt, ap);
    va_end(ap);
    std::string out;
    if (n > 0) {
        std::vector<char> buf(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(buf.data(), buf.size(), fmt, ap2);
        out.assign(buf.data(), static_cast<std::size_t>(n));
    }
    va_end(ap2);
    return out;
}

void UseDotDecimalMark() {
    std::setlocale(LC_NUMERIC, "C");
}

} // namespace tarvik
