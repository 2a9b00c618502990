#include "common/numparse.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace tarvik {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Strip(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Optional sign, digits with at most one ".", at least one digit, optional
// exponent with optional sign and at least one digit.
bool IsPlainDecimal(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    int digits = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        int expDigits = 0;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++expDigits;
        if (expDigits == 0) return false;
    }
    return i == s.size();
}

} // namespace

std::optional<double> TryStrToReal(std::string_view text) {
    std::string s(Strip(text));
    // The program's decimal mark is "."; a "," typed for it is taken as one.
    if (auto comma = s.find(','); comma != std::string::npos) s[comma] = '.';
    if (!IsPlainDecimal(s)) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    double v = std::strtod(s.c_str(), &end);
    if (end != s.c_str() + s.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

double StrToReal(std::string_view text) {
    if (auto v = TryStrToReal(text)) return *v;
    throw EConvertError("'" + std::string(text) + "' is not a valid floating point value");
}

std::optional<long long> TryStrToInt(std::string_view text) {
    std::string_view s = Strip(text);
    std::size_t i = 0;
    bool neg = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) neg = s[i++] == '-';
    if (i == s.size()) return std::nullopt;
    long long v = 0;
    for (; i < s.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(s[i]))) return std::nullopt;
        if (v > (0x7fffffffffffffffLL - 9) / 10) return std::nullopt;
        v = v * 10 + (s[i] - '0');
    }
    return neg ? -v : v;
}

int ClampWholeText(std::string_view text, int lower, int upper) {
    const std::optional<long long> v = TryStrToInt(text);
    if (!v) return lower;
    return static_cast<int>(std::clamp<long long>(*v, lower, upper));
}

FilteredText FilterRealText(std::string_view text, int caret, std::string_view allowed) {
    FilteredText out;
    out.caret = caret;
    int points = 0, minus = 0, exps = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '.') ++points;
        if (c == '-') ++minus;
        if (c == 'e' || c == 'E') ++exps;
        bool keep = allowed.find(c) != std::string_view::npos && points <= 1 && minus <= 1 && exps <= 1;
        if (keep) {
            out.text.push_back(c);
        } else if (static_cast<int>(i) < caret) {
            --out.caret;
        }
    }
    if (out.text.size() > 12) {
        // Keep the first eleven characters and the last one.
        std::size_t cut = out.text.size() - 12;
        int firstCut = 11; // index of the first removed character
        int before = out.caret - firstCut;
        if (before > 0) out.caret -= std::min<int>(before, static_cast<int>(cut));
        out.text.erase(11, cut);
    }
    out.changed = out.text != text;
    if (!out.changed) out.caret = caret;
    if (out.caret < 0) out.caret = 0;
    return out;
}

bool DropsDecimalComma(std::string_view typed, std::string_view kept) {
    bool afterDigit = false;
    for (std::size_t i = 1; i < typed.size(); ++i)
        if (typed[i] == ',' && std::isdigit(static_cast<unsigned char>(typed[i - 1]))) afterDigit = true;
    if (!afterDigit) return false;
    const auto commas = [](std::string_view t) { return std::count(t.begin(), t.end(), ','); };
    return commas(kept) < commas(typed);
}

} // namespace tarvik
