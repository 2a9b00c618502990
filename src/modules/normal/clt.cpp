#include "modules/normal/clt.h"

#include "common/numformat.h"
#include "common/numparse.h"

#include <algorithm>
#include <cmath>

namespace tarvik::normal {

std::string_view DieMessage(DieError error) {
    switch (error) {
    case DieError::None:
        return "";
    case DieError::NotANumber:
        return "Not all probabilities do have numerical values";
    case DieError::SumNotOne:
        return "The sum of the probabilities must be 1";
    case DieError::OutOfRange:
        return "Probabilities larger then 1 or smaller then 0 are not allowed";
    }
    return "";
}

DieCheck CheckDie(bool fair, const std::array<std::string, kFaces>& texts) {
    DieCheck check;
    for (int j = 0; j < kFaces; ++j) {
        const auto v = TryStrToReal(texts[j]);
        if (!v) {
            check.error = DieError::NotANumber;
            return check;
        }
        check.p[j] = *v;
    }
    if (fair) return check;
    bool inRange = true;
    double sum = 0;
    for (double v : check.p) {
        inRange = inRange && v >= 0 && v <= 1;
        sum += v;
    }
    if (!inRange)
        check.error = DieError::OutOfRange;
    else if (std::fabs(sum - 1) > 0.0001)
        check.error = DieError::SumNotOne;
    return check;
}

int MaxSumLength(int histograms) {
    return histograms == 1 ? kMaxSumLength : kMaxSumLengthMany;
}

std::string SumLengthHint(int histograms) {
    return "1 <= n <= " + std::to_string(MaxSumLength(histograms));
}

std::optional<std::vector<double>> SumDistribution(const Probabilities& p, int n, Progress& progress) {
    n = std::clamp(n, 1, kMaxSumLength);
    // prev[j] = P(S_(a-1) = j), indexed by the sum itself.
    std::vector<double> prev(6 * kMaxSumLength + 1, 0.0), next(prev.size(), 0.0);
    for (int j = 1; j <= 6; ++j) prev[j] = p[j - 1];
    for (int a = 2; a <= n; ++a) {
        progress.yield();
        if (progress.stopRequested()) return std::nullopt;
        std::fill(next.begin(), next.end(), 0.0);
        for (int j = a; j <= 6 * a; ++j) {
            double s = 0;
            for (int i = std::max(a - 1, j - 6); i <= std::min(6 * a - 6, j - 1); ++i)
                s += prev[i] * p[j - i - 1];
            next[j] = s;
        }
        std::swap(prev, next);
    }
    return std::vector<double>(prev.begin() + n, prev.begin() + 6 * n + 1);
}

std::vector<double> SumDistribution(const Probabilities& p, int n) {
    Progress never;
    return *SumDistribution(p, n, never);
}

namespace {

double ThrowMean(const Probabilities& p) {
    double mu = 0;
    for (int j = 1; j <= kFaces; ++j) mu += j * p[j - 1];
    return mu;
}

} // namespace

double SumMean(const Probabilities& p, int n) {
    return n * ThrowMean(p);
}

double SumStandardDeviation(const Probabilities& p, int n) {
    const double mu = ThrowMean(p);
    double var = 0;
    for (int j = 1; j <= kFaces; ++j) var += (j - mu) * (j - mu) * p[j - 1];
    return std::sqrt(static_cast<double>(n)) * std::sqrt(std::max(0.0, var));
}

HistogramTexts TextsFor(const Probabilities& p, int n) {
    HistogramTexts t;
    for (int j = 0; j < kFaces; ++j)
        t.probabilities[j] = Format("P(X=%d) = ", j + 1) + FormatGeneral(p[j], 4);
    t.length = "Summation length: " + std::to_string(n);
    t.mean = "Mean: " + FormatGeneral(SumMean(p, n), 4);
    t.deviation = "Standard deviation: " + FormatGeneral(SumStandardDeviation(p, n), 4);
    return t;
}

HistogramLayout LayoutHistogram(const std::vector<double>& probabilities, int sumFrom, int left, int width,
                                int baseY, int maxHeight, std::uint32_t colour) {
    HistogramLayout h;
    h.left = left;
    h.width = width;
    h.baseY = baseY;
    h.maxHeight = maxHeight;
    h.sumFrom = sumFrom;
    h.colour = colour;
    const int k = static_cast<int>(probabilities.size());
    if (k == 0) return h;
    h.barWidth = std::max(0, static_cast<int>(std::lround(static_cast<double>(width - k + 1) / k)));
    const double pmax = *std::max_element(probabilities.begin(), probabilities.end());
    int w = h.barWidth;
    int pitch = w + 1;
    // The rounded width can carry the last bars past the panel; when they
    // would reach beyond its margin (the middle of the gap to the next panel,
    // or the picture's edge), the width is rounded down instead, and when that
    // leaves no width the bars stand one column wide without gaps.
    if (w > 0 && (k - 1) * pitch + w > width + kPanelMargin) {
        w = (width - k + 1) / k;
        pitch = w + 1;
        if (w < 1) w = pitch = 1;
        h.barWidth = w;
    }
    for (int i = 1; i <= k; ++i) {
        Bar b;
        b.left = left + (i - 1) * pitch;
        b.right = b.left + w;
        const int height =
            pmax > 0 ? static_cast<int>(std::lround(probabilities[i - 1] * maxHeight / pmax)) : 0;
        b.top = baseY - height;
        b.bottom = baseY;
        // Alternating directions, the last bar forward.
        b.forwardHatch = (k - i) % 2 == 0;
        h.bars.push_back(b);
    }
    // The first and the last sum, and about four between them, under their bars.
    if (w > 0) {
        const int steps = k <= 6 ? k - 1 : 5;
        int last = -1;
        for (int s = 0; s <= steps; ++s) {
            const int i =
                steps == 0 ? 0 : static_cast<int>(std::lround(static_cast<double>(s) * (k - 1) / steps));
            if (i == last) continue;
            last = i;
            const Bar& b = h.bars[i];
            h.labels.push_back({(b.left + b.right) / 2, baseY + 3, std::to_string(sumFrom + i)});
        }
    }
    return h;
}

Panel PanelFor(int histograms, int index) {
    static constexpr std::uint32_t colours[4] = {kRed, kBlue, kGreen, kPurple};
    if (histograms == 1) return {25, 400, 275, 225, kRed};
    const int left = index % 2 == 0 ? 25 : 325;
    if (histograms == 2) return {left, 250, 275, 225, colours[index % 4]};
    return {left, 250, index < 2 ? 175 : 325, 125, colours[index % 4]};
}

} // namespace tarvik::normal
