#include "modules/montecarlo/benford.h"

#include "common/numparse.h"
#include "common/random.h"

#include <algorithm>
#include <cmath>

namespace tarvik::montecarlo {

namespace {

// A whole number of at most 64 bits, blanks around allowed; no sign, decimal
// mark or exponent.
std::optional<std::int64_t> WholeNumber(const std::string& text) {
    std::size_t b = text.find_first_not_of(' ');
    std::size_t e = text.find_last_not_of(' ');
    if (b == std::string::npos) return std::nullopt;
    std::size_t i = b;
    bool negative = false;
    if (text[i] == '-' || text[i] == '+') {
        negative = text[i] == '-';
        ++i;
    }
    if (i > e) return std::nullopt;
    unsigned long long v = 0;
    for (; i <= e; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return std::nullopt;
        if (v > (9223372036854775807ULL - static_cast<unsigned>(c - '0')) / 10) return std::nullopt;
        v = v * 10 + static_cast<unsigned>(c - '0');
    }
    const auto s = static_cast<std::int64_t>(v);
    return negative ? -s : s;
}

} // namespace

std::optional<BenfordRefusal> CheckBenfordBounds(const std::vector<std::string>& texts,
                                                 std::vector<std::int64_t>& bounds) {
    std::vector<std::int64_t> read;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const auto v = WholeNumber(texts[i]);
        if (!v) return BenfordRefusal{static_cast<int>(i), "A wrong number has been entered."};
        if (*v < kBenfordMinBound || *v > kBenfordMaxBound)
            return BenfordRefusal{static_cast<int>(i), "Interval not between 100 and 10 to the power 15"};
        read.push_back(*v);
    }
    bounds = std::move(read);
    return std::nullopt;
}

double BenfordProbability(int digit) {
    return std::log10(1.0 + 1.0 / digit);
}

int BenfordBarTop(int digit) {
    // The picture's fixed bar tops, each within a pixel of 296 - 800 log10(1 + 1/d).
    static constexpr int tops[10] = {296, 56, 155, 196, 218, 233, 242, 250, 255, 259};
    return tops[std::clamp(digit, 0, 9)];
}

int BenfordShareTop(double share) {
    return 296 - static_cast<int>(std::lround(share * 800));
}

int LeadingDigit(std::int64_t value) {
    while (value >= 10) value /= 10;
    return static_cast<int>(value);
}

int BenfordStep(int draws) {
    return std::max(draws / 100, 1);
}

BenfordResult RunBenford(const BenfordParams& params, int stream, Progress& progress,
                         const std::function<void(const BenfordResult&)>& onUpdate) {
    BenfordResult r{.stream = stream};
    const int k = static_cast<int>(params.bounds.size());
    if (k == 0) return r;
    const int step = BenfordStep(params.draws);
    for (int t = 1; t <= params.draws; ++t) {
        RndUniform(stream);
        const std::int64_t bound = params.bounds[static_cast<std::size_t>(RandomInt(k))];
        const auto x = static_cast<std::int64_t>(RndUniform(stream) * static_cast<double>(bound) + 1);
        const auto y = static_cast<std::int64_t>(RndUniform(stream) * static_cast<double>(x) + 1);
        ++r.counts[static_cast<std::size_t>(LeadingDigit(y))];
        r.draws = t;
        if (t % step == 0) {
            if (onUpdate) onUpdate(r);
            progress.yield();
            if (progress.stopRequested()) break;
        }
    }
    return r;
}

} // namespace tarvik::montecarlo
