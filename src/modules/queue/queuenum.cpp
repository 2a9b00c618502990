#include "modules/queue/queuenum.h"

#include "common/numformat.h"
#include "common/numparse.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

namespace tarvik::queue {
namespace {

std::string RightAlign(std::string s, int width) {
    if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<std::size_t>(width) - s.size(), ' ');
    return s;
}

std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    const auto e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

} // namespace

std::string FormatProbability(double x) {
    const double a = std::fabs(x);
    if (!std::isfinite(a)) return RightAlign("-", 10);
    if (a >= 1e-6) return Format("%10.7f", a);
    if (a >= 1e-12) return Format("%10.3e", a);
    return Format("%10s", "0");
}

std::string FormatProbabilityTrimmed(double x) {
    return Trim(FormatProbability(x));
}

std::string FormatFraction(double x, int width, int digits) {
    if (!std::isfinite(x)) return RightAlign("-", width);
    const double d = x <= 1e-10 ? -100.0 : std::log10(x);
    const int k = static_cast<int>(std::trunc(d + 1 + 1e-10));
    const int decimals = std::min(digits, digits - k);
    if (decimals >= 0) return RightAlign(Format("%.*f", decimals, x), width);
    // Exponent notation: sign or blank, mantissa, E, sign, four digits.
    const int n = std::max(2, std::min(18, width - 8));
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*E", n - 1, std::fabs(x));
    std::string s = buf;
    const auto e = s.find('E');
    const char sign = s[e + 1];
    const int exponent = std::atoi(s.c_str() + e + 2);
    std::string out = (x < 0 ? "-" : " ") + s.substr(0, e) + "E" + sign + Format("%04d", exponent);
    return RightAlign(out, width);
}

std::string FormatAccuracy(double x) {
    if (!std::isfinite(x)) return RightAlign("-", 7);
    return Format("%7.3g", x);
}

double SafeExp(double x) {
    return x > -100 ? std::exp(x) : 0.0;
}

double SafeLn(double x) {
    // 1e-325 lies below the smallest double: every positive number qualifies.
    return x > 0 ? std::log(x) : -750.0;
}

double Power(double base, double exponent) {
    if (base == 0) return 0;
    return SafeExp(exponent * SafeLn(base));
}

int CountOf(double value) {
    const double v = std::trunc(value + 1e-10);
    if (!(v > INT_MIN)) return INT_MIN;
    if (!(v < INT_MAX)) return INT_MAX;
    return static_cast<int>(v);
}

std::optional<int> ReadInteger(const std::string& text) {
    const auto v = TryStrToInt(text);
    if (!v || *v > INT_MAX || *v < INT_MIN) return std::nullopt;
    return static_cast<int>(*v);
}

std::optional<double> ReadReal(const std::string& text) {
    const auto v = TryStrToReal(text);
    if (!v || !std::isfinite(*v)) return std::nullopt;
    return *v;
}

FieldText FilterFieldText(const std::string& text, int caret, bool integer) {
    FieldText out;
    out.caret = caret;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool keep = (c >= '0' && c <= '9') || (!integer && c == '.');
        if (keep) {
            out.text.push_back(c);
        } else {
            out.changed = true;
            if (static_cast<int>(i) < caret) --out.caret;
        }
    }
    return out;
}

ListTexts ValueList::Texts() const {
    ListTexts t;
    for (int i = 0; i < kListSize; ++i)
        t[static_cast<std::size_t>(i)] = entries[static_cast<std::size_t>(i)].text;
    return t;
}

ValueList ReadValueList(const ListTexts& fields, ValueKind kind, double upper) {
    ValueList list;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        ValueEntry& e = list.entries[i];
        e.text = Trim(fields[i]);
        if (e.text.empty()) continue;
        std::optional<double> v;
        if (kind == ValueKind::Integer) {
            if (auto n = ReadInteger(e.text)) v = static_cast<double>(*n);
        } else {
            v = ReadReal(e.text);
        }
        if (!v || *v < 0 || *v > upper) {
            e.error = 1;
            if (e.text.back() != '*') e.text += "**";
        } else {
            e.value = *v;
        }
    }
    // An entry comes first when it is filled and the other empty, valid and
    // the other in error, or both valid and its value smaller.
    auto before = [](const ValueEntry& a, const ValueEntry& b) {
        if (a.text.empty()) return false;
        if (b.text.empty()) return true;
        if (a.error == 0 && b.error != 0) return true;
        return a.error == 0 && b.error == 0 && a.value < b.value;
    };
    auto& e = list.entries;
    for (int p = 0; p < kListSize - 1; ++p)
        for (int q = kListSize - 1; q > p; --q)
            if (before(e[static_cast<std::size_t>(q)], e[static_cast<std::size_t>(p)]))
                std::swap(e[static_cast<std::size_t>(q)], e[static_cast<std::size_t>(p)]);
    for (const ValueEntry& v : e) {
        if (v.text.empty() || v.error) break;
        list.values.push_back(v.value);
        ++list.count;
    }
    return list;
}

double GraphTimeStep(double tmax) {
    if (!(tmax > 0) || !std::isfinite(tmax)) return 1.0;
    const double l = std::log10(tmax);
    const int b =
        l > 0 ? static_cast<int>(std::trunc(l + 1e-10)) - 1 : static_cast<int>(std::trunc(l - 1e-10)) - 2;
    const double scale = Power(10, b);
    const double m = std::trunc(tmax / scale + 1e-10) + 1;
    const double d = m > 50 ? 2 : m > 25 ? 1 : m > 12 ? 0.5 : 0.25;
    return d * scale;
}

std::pair<int, int> CascadePosition(int k, int designLeft, int designTop, int screenWidth, int screenHeight,
                                    int windowWidth, int windowHeight) {
    if (k <= 0) return {designLeft, designTop};
    // A window as large as the screen has no room to move: that edge stays at 0.
    const int spanX = screenWidth - windowWidth;
    const int spanY = screenHeight - windowHeight;
    const long long shift = 20LL * k;
    const int left = spanX > 0 ? static_cast<int>((designLeft + shift) % spanX) : 0;
    const int top = spanY > 0 ? static_cast<int>((designTop + shift) % spanY) : 0;
    return {left, top};
}

double WaitingTimeGraphEnd(const std::function<double(double)>& pwq, double pwait) {
    auto h = [&](double t) { return 0.001 * pwait - pwq(t); };
    double lo = 1e-10;
    const double hlo = h(lo);
    if (hlo == 0 || hlo > 0) return 0; // already at (or below) the target
    double hi = 1;
    while (h(hi) <= 0 && hi < 1e30) hi *= 10;
    if (h(hi) <= 0) return hi;
    double start = lo, dx = hi - lo; // h(lo) < 0
    for (int i = 0; i < 10000; ++i) {
        dx /= 2;
        const double mid = start + dx;
        const double hm = h(mid);
        if (hm < 0) start = mid;
        if (std::fabs(dx) < 1e-10 || hm == 0) break;
    }
    return start;
}

GraphPoints WaitingTimeGraphPoints(const std::function<double(double)>& pwq, double pwait) {
    GraphPoints pts{{0.0, 1.0}};
    if (!(pwait > 0)) return pts;
    const double tmax = WaitingTimeGraphEnd(pwq, pwait);
    if (!(tmax > 0)) return pts;
    const double step = GraphTimeStep(tmax);
    for (int k = 1; k <= 10000; ++k) {
        const double t = k * step;
        pts.emplace_back(t, pwq(t) / pwait);
        if (t >= tmax) break;
    }
    return pts;
}

GraphPoints ThinnedStateGraphPoints(const std::function<double(int)>& y) {
    GraphPoints held;
    long long s = 1;
    for (int n = 1; n <= 1000000; ++n) {
        if (n % s == 0) held.emplace_back(n, y(n));
        if (held.size() == 500) {
            s *= 10;
            GraphPoints kept;
            for (std::size_t j = 10; j <= 500; j += 10) kept.push_back(held[j - 1]);
            held.swap(kept);
        }
        const std::size_t m = (held.size() - 1) / 50 + 1;
        if (!held.empty() && held.size() % m == 0 && (held.back().second <= 0.001 || n >= 10000)) {
            GraphPoints out;
            for (std::size_t j = m; j <= held.size(); j += m) out.push_back(held[j - 1]);
            return out;
        }
    }
    return held;
}

FullDistribution::FullDistribution(const std::vector<double>& p) : p_(p), cumulative_(p.size()) {
    for (std::size_t k = 0; k < p_.size(); ++k) cumulative_[k] = sum_ += p_[k];
}

double FullDistribution::Eq(int n) const {
    const std::size_t i = static_cast<std::size_t>(n);
    return i < p_.size() ? p_[i] : 0;
}

double FullDistribution::Gt(int n) const {
    const std::size_t i = static_cast<std::size_t>(n);
    return 1 - (i < cumulative_.size() ? cumulative_[i] : sum_);
}

GraphPoints FullDistribution::ConditionalTailGraph() const {
    const double occupied = Gt(0);
    GraphPoints points{{0.0, 1.0}};
    for (const auto& pt :
         ThinnedStateGraphPoints([&](int n) { return occupied > 0 ? std::max(0.0, Gt(n)) / occupied : 0.0; }))
        points.push_back(pt);
    return points;
}

} // namespace tarvik::queue
