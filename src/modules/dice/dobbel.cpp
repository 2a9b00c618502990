#include "modules/dice/dobbel.h"

#include "common/numparse.h"
#include "common/random.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

namespace tarvik::dice {

// --- Settings -----------------------------------------------------------------

std::string_view SettingsMessage(SettingsError error) {
    switch (error) {
    case SettingsError::None:
        return "";
    case SettingsError::TooManyThrows:
        return "More then 100,000 throws is not possible";
    case SettingsError::TooFewThrows:
        return "Less then 10 throws is not possible";
    case SettingsError::NotANumber:
        return "Not all probabilities do have valid values";
    case SettingsError::SumNotOne:
        return "The sum of the probabilities must be 1";
    case SettingsError::OutOfRange:
        return "Probabilities larger then 1 or smaller then 0 are not allowed";
    case SettingsError::FirstOutOfWalkRange:
        return "P(X=1) must be between 0.1 and 0.9, in connection with stochastic walk";
    }
    return "";
}

bool UsesStandardCaptions(SettingsError error) {
    return error != SettingsError::TooManyThrows && error != SettingsError::TooFewThrows;
}

ThrowsCheck CheckThrows(std::string_view text) {
    long long n = 0;
    if (auto v = TryStrToInt(text)) {
        n = *v;
    } else {
        // Only digits (with a sign) that do not fit count as a number: a huge
        // one. Anything else, the empty field included, counts as 0.
        std::size_t i = 0;
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
        const bool negative = i < text.size() && text[i] == '-';
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
        std::size_t digits = 0;
        while (i + digits < text.size() && std::isdigit(static_cast<unsigned char>(text[i + digits])))
            ++digits;
        std::size_t end = i + digits;
        while (end < text.size() && (text[end] == ' ' || text[end] == '\t')) ++end;
        if (digits > 0 && end == text.size())
            n = negative ? std::numeric_limits<long long>::min() : std::numeric_limits<long long>::max();
    }
    if (n >= kMaxThrows + 1) return {SettingsError::TooManyThrows, 0};
    if (n < kMinThrows) return {SettingsError::TooFewThrows, 0};
    return {SettingsError::None, static_cast<int>(n)};
}

ProbabilityCheck CheckProbabilities(Choice choice, const std::array<std::string, kFaces>& texts) {
    ProbabilityCheck out;
    for (int j = 0; j < kFaces; ++j) {
        auto v = TryStrToReal(texts[j]);
        if (!v) {
            out.error = SettingsError::NotANumber;
            return out;
        }
        out.p[j] = *v;
    }
    if (choice != Choice::FairDie) {
        bool inRange = true;
        double sum = 0;
        for (double v : out.p) {
            if (v < 0 || v > 1) inRange = false;
            sum += v;
        }
        if (!inRange) {
            out.error = SettingsError::OutOfRange;
            return out;
        }
        if (std::fabs(sum - 1) > 0.0001) {
            out.error = SettingsError::SumNotOne;
            return out;
        }
    }
    if (out.p[0] < 0.1 || out.p[0] > 0.9) out.error = SettingsError::FirstOutOfWalkRange;
    return out;
}

std::array<ProbabilityField, kFaces> FieldsFor(Choice choice) {
    std::array<ProbabilityField, kFaces> f{};
    switch (choice) {
    case Choice::FairCoin:
        f = {{{"0.5", false, true},
              {"0.5", false, true},
              {"0", false, false},
              {"0", false, false},
              {"0", false, false},
              {"0", false, false}}};
        break;
    case Choice::BiasedCoin:
        f = {{{"", true, true},
              {"", true, true},
              {"0", false, false},
              {"0", false, false},
              {"0", false, false},
              {"0", false, false}}};
        break;
    case Choice::FairDie:
        f.fill({"0.16667", false, true});
        break;
    case Choice::BiasedDie:
        f.fill({"", true, true});
        break;
    }
    return f;
}

// --- Run geometry -------------------------------------------------------------

double BarScale(int throws, const Probabilities& p) {
    const double pmax = *std::max_element(p.begin(), p.end());
    double height = 95;
    if (throws < 25)
        height = 47;
    else if (throws < 75)
        height = 65;
    else if (throws < 200)
        height = 83;
    return height / (pmax * throws);
}

int BarTop(int count, double scale) {
    return static_cast<int>(std::lround(kBarBase - count * scale));
}

int RowStep(int throws) {
    return std::max(1, (throws + kMaxTableRows - 1) / kMaxTableRows);
}

std::array<int, kFaceTableSize> BuildFaceTable(const Probabilities& p) {
    std::array<double, kFaces> exact{};
    std::array<int, kFaces> entries{};
    int total = 0;
    for (int j = 0; j < kFaces; ++j) {
        exact[j] = std::max(0.0, kFaceTableSize * p[j]);
        entries[j] = static_cast<int>(std::nearbyint(exact[j])); // ties to even
        total += entries[j];
    }
    // Complete or cut the table one entry at a time, where the rounding was
    // furthest off.
    while (total < kFaceTableSize) {
        int best = -1;
        for (int j = 0; j < kFaces; ++j)
            if (exact[j] > 0 && (best < 0 || exact[j] - entries[j] > exact[best] - entries[best])) best = j;
        if (best < 0) best = 0; // no face has a chance at all: cannot happen after the settings check
        ++entries[best];
        ++total;
    }
    while (total > kFaceTableSize) {
        int best = -1;
        for (int j = 0; j < kFaces; ++j)
            if (entries[j] > 0 && (best < 0 || entries[j] - exact[j] > entries[best] - exact[best])) best = j;
        --entries[best];
        --total;
    }
    std::array<int, kFaceTableSize> table{};
    int at = 0;
    for (int j = 0; j < kFaces; ++j)
        for (int e = 0; e < entries[j]; ++e) table[at++] = j + 1;
    return table;
}

Counts FaceTableCounts(const std::array<int, kFaceTableSize>& table) {
    Counts c{};
    for (int face : table)
        if (face >= 1 && face <= kFaces) ++c[face - 1];
    return c;
}

// --- The run ------------------------------------------------------------------

DiceRun::DiceRun(const RunSettings& settings) : settings_(settings) {
    settings_.throws = std::max(settings_.throws, 1);
    tops_.fill(kBarBase);
    scale_ = BarScale(settings_.throws, settings_.p);
    rowStep_ = RowStep(settings_.throws);
    nextRow_ = std::min(rowStep_, settings_.throws);
    rows_.reserve(kMaxTableRows);
    samples_.reserve(std::min(settings_.throws, kMaxWalkSamples));
    const bool fairDie = settings_.choice == Choice::FairDie;
    q_ = fairDie ? 1.0 / 6.0 : settings_.p[0];
    expected_ = fairDie ? 0.16666667 : settings_.p[0];
    if (!fairDie) table_ = BuildFaceTable(settings_.p);
}

int DiceRun::drawFace() {
    if (settings_.choice == Choice::FairDie) return RandomInt(kFaces) + 1;
    return table_[RandomInt(kFaceTableSize)];
}

ThrowStep DiceRun::throwOnce() {
    ThrowStep step;
    const int i = ++made_;
    const int n = settings_.throws;
    const int face = drawFace();
    step.throwNumber = i;
    step.face = face;

    // Longest run of ones.
    if (face == 1) {
        longest_ = std::max(longest_, ++run_);
    } else {
        run_ = 0;
    }

    // Time above zero: a tie keeps the walk above only when it was above just before.
    if (face == 1) ++ones_;
    const double diff = ones_ - i * q_;
    if (diff > 0 || (diff == 0 && previousAbove_)) ++above_;
    previousAbove_ = diff > 0;

    ++counts_[face - 1];

    // Walk samples: every throw for short runs, else at most 350 spread evenly.
    if (n <= kMaxWalkSamples || static_cast<long long>(i) * kMaxWalkSamples / n >= sampleIndex_) {
        samples_.push_back(ones_ - i * expected_);
        ++sampleIndex_;
    }

    // Table rows.
    if (i == nextRow_) {
        if (static_cast<int>(rows_.size()) < kMaxTableRows) {
            TableRow row;
            row.throwNumber = i;
            for (int j = 0; j < kFaces; ++j) row.frequency[j] = static_cast<double>(counts_[j]) / i;
            rows_.push_back(row);
        }
        nextRow_ = std::min(nextRow_ + rowStep_, n);
    }

    // The bar of the thrown face.
    int t = BarTop(counts_[face - 1], scale_);
    if (t < kBarCeiling) {
        t = kBarCeiling;
        if (!capped_[face - 1]) step.capped = true;
        capped_[face - 1] = true;
    }
    if (t < tops_[face - 1]) {
        tops_[face - 1] = t;
        step.grew = true;
        if (n < 100 || !settings_.fast) step.refresh = true;
    }
    step.top = tops_[face - 1];
    if (i % 100 == 0 || i == n) step.refresh = true;
    return step;
}

double DiceRun::percentageAbove() const {
    return made_ > 0 ? 100.0 * above_ / made_ : 0.0;
}

double DiceRun::frequency(int k) const {
    return made_ > 0 && k >= 1 && k <= kFaces ? static_cast<double>(counts_[k - 1]) / made_ : 0.0;
}

void RunThrows(DiceRun& run, Progress& progress, const std::function<void(const ThrowStep&)>& onThrow) {
    while (!run.done() && !progress.stopRequested()) {
        const ThrowStep step = run.throwOnce();
        if (onThrow) onThrow(step);
        if (step.refresh) progress.yield();
    }
}

// --- The walk picture -----------------------------------------------------------

WalkLayout LayoutWalk(const std::vector<double>& samples, int throws) {
    WalkLayout w;
    for (double s : samples) {
        w.hi = std::max(w.hi, s);
        w.lo = std::min(w.lo, s);
    }
    w.possible = w.hi != w.lo;
    if (!w.possible) return w;
    w.scale = kWalkHeight / (w.hi - w.lo);
    w.step = throws >= kMaxWalkSamples ? 1 : kMaxWalkSamples / std::max(throws, 1);
    w.zeroY = static_cast<int>(std::lround(w.hi / (w.hi - w.lo) * kWalkHeight)) + kWalkTop;
    w.curve.reserve(samples.size() + 1);
    w.curve.push_back({kWalkLeft, w.zeroY});
    for (std::size_t k = 1; k <= samples.size(); ++k) {
        const int x = kWalkLeft + static_cast<int>(k) * w.step;
        if (x == w.curve.back().x) continue;
        const int y = static_cast<int>(std::lround((w.hi - samples[k - 1]) * w.scale)) + kWalkTop;
        w.curve.push_back({x, y});
    }
    return w;
}

} // namespace tarvik::dice
