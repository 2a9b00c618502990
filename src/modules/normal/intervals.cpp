#include "modules/normal/intervals.h"

#include "common/numformat.h"
#include "common/random.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>

namespace tarvik::normal {

double LevelZ(Level level) {
    return level == Level::P95 ? 1.96 : 1.645;
}

int ExpectedMissPercent(Level level) {
    return level == Level::P95 ? 5 : 10;
}

std::string MissText(int misses, int intervals, Level level) {
    return Format("Intervals that miss p: %d of %d (expected %d %%)", misses, intervals,
                  ExpectedMissPercent(level));
}

std::string_view PMessage(PError error) {
    switch (error) {
    case PError::None:
        return "";
    case PError::NotANumber:
        return "Not all probabilities do have numerical values";
    case PError::OutOfRange:
        return "The probability should be in the interval [0.1;0.9] ";
    }
    return "";
}

PCheck CheckP(std::string_view text) {
    PCheck check;
    // The plain conversion: blanks around, an optional sign, digits with one
    // "." and an optional exponent; a "," is no decimal mark here.
    std::size_t b = 0, e = text.size();
    while (b < e && std::isspace(static_cast<unsigned char>(text[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1]))) --e;
    const std::string s(text.substr(b, e - b));
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    int digits = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
    }
    bool ok = digits > 0;
    if (ok && i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        int expDigits = 0;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++expDigits;
        ok = expDigits > 0;
    }
    double v = 0;
    if (ok && i == s.size()) {
        v = std::strtod(s.c_str(), nullptr);
        ok = std::isfinite(v);
    } else {
        ok = false;
    }
    if (!ok) {
        check.error = PError::NotANumber;
        return check;
    }
    const float single = static_cast<float>(v);
    if (!(single >= 0.1f && single <= 0.9f)) {
        check.error = PError::OutOfRange;
        return check;
    }
    check.p = v;
    return check;
}

Interval MakeInterval(double p, double f, int m, double z) {
    Interval iv;
    iv.f = f;
    const double h = z * std::sqrt(std::max(0.0, f * (1 - f)) / (m - 1));
    iv.lower = std::max(0.0, f - h);
    iv.upper = std::min(1.0, f + h);
    iv.miss = p < iv.lower || p > iv.upper;
    return iv;
}

double ScaleWidth(double p, int n) {
    return 9 * std::sqrt(p * (1 - p) / (n - 1));
}

int IntervalColumn(double v, double p, double e, int panel) {
    const int left = kCiPanelLeft[panel];
    const double offset = (v - (p - e / 2)) * kCiPanelWidth / e;
    // Far outside the panel the column is only compared with its edges.
    if (offset < -1e6) return left - 1000000;
    if (offset > 1e6) return left + 1000000;
    return static_cast<int>(std::lround(offset)) + left;
}

IntervalLine PlaceInterval(const Interval& iv, double p, double e, int panel, int run) {
    const int left = kCiPanelLeft[panel];
    const int right = left + kCiPanelWidth;
    IntervalLine line;
    line.y = kCiBaseY - 3 * run;
    line.x1 = IntervalColumn(iv.lower, p, e, panel);
    line.x2 = IntervalColumn(iv.upper, p, e, panel);
    if (line.x1 < left) {
        line.x1 = left;
        line.strokeLeft = true;
    } else if (line.x1 > right) {
        line.x1 = right;
        line.strokeRight = true;
    }
    if (line.x2 > right) {
        line.x2 = right;
        line.strokeRight = true;
    } else if (line.x2 < left) {
        line.x2 = left;
        line.strokeLeft = true;
    }
    line.colour = iv.miss ? kMissColour : kHitColour[panel];
    return line;
}

IntervalRun::IntervalRun(const IntervalRunSettings& settings) : settings_(settings) {
    settings_.n = std::clamp(settings_.n, kMinTrials, kMaxTrials);
    stream_ = RandomInt(kRndStreams) + 1;
    e_ = ScaleWidth(settings_.p, settings_.n);
    pairs_.reserve(kRuns);
}

std::array<int, 2> IntervalRun::misses() const {
    std::array<int, 2> m{0, 0};
    for (const IntervalPair& pair : pairs_)
        for (int k = 0; k < 2; ++k) m[k] += pair.panel[k].miss ? 1 : 0;
    return m;
}

std::array<std::string, 2> IntervalRun::missTexts() const {
    const std::array<int, 2> m = misses();
    return {MissText(m[0], completed(), settings_.level), MissText(m[1], completed(), settings_.level)};
}

double IntervalRun::proportion(int trials, Progress& progress) {
    int successes = 0;
    for (int t = 0; t < trials; ++t) {
        progress.yield();
        if (RndUniform(stream_) < settings_.p) ++successes;
    }
    return static_cast<double>(successes) / trials;
}

bool IntervalRun::step(Progress& progress) {
    if (done() || progress.stopRequested()) return false;
    IntervalPair pair;
    pair.run = static_cast<int>(pairs_.size()) + 1;
    const double z = LevelZ(settings_.level);
    const std::array<int, 2> m = {settings_.n, 4 * settings_.n};
    std::array<double, 2> f{};
    f[0] = proportion(m[0], progress);
    f[1] = proportion(m[1], progress);
    for (int k = 0; k < 2; ++k) pair.panel[k] = MakeInterval(settings_.p, f[k], m[k], z);
    pairs_.push_back(pair);
    return true;
}

bool IntervalRun::runAll(Progress& progress, const std::function<void(const IntervalPair&)>& onPair) {
    while (!done()) {
        if (!step(progress)) return false;
        if (onPair) onPair(pairs_.back());
    }
    return true;
}

} // namespace tarvik::normal
