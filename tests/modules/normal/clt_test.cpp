#include "modules/normal/clt.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tarvik::normal {
namespace {

__extension__ typedef unsigned __int128 Exact;

std::array<std::string, kFaces> Texts(std::initializer_list<const char*> list) {
    std::array<std::string, kFaces> t;
    int j = 0;
    for (const char* s : list) t[j++] = s;
    return t;
}

TEST(DieCheck, FairDieShowsTheWorkingProbabilitiesMeanAndDeviation) {
    const DieCheck c =
        CheckDie(true, Texts({"0.16667", "0.16667", "0.16667", "0.16667", "0.16667", "0.16667"}));
    ASSERT_EQ(c.error, DieError::None);
    const HistogramTexts t = TextsFor(c.p, 1);
    EXPECT_EQ(t.probabilities[0], "P(X=1) = 0.1667");
    EXPECT_EQ(t.probabilities[5], "P(X=6) = 0.1667");
    EXPECT_EQ(t.length, "Summation length: 1");
    EXPECT_EQ(t.mean, "Mean: 3.5");
    EXPECT_EQ(t.deviation, "Standard deviation: 1.708");
}

TEST(DieCheck, BiasedSumWithinOneTenThousandthIsAcceptedBeyondItRefused) {
    EXPECT_EQ(CheckDie(false, Texts({"0.2", "0.2", "0.2", "0.2", "0.1", "0.10005"})).error, DieError::None);
    const DieCheck off = CheckDie(false, Texts({"0.2", "0.2", "0.2", "0.2", "0.1", "0.101"}));
    EXPECT_EQ(off.error, DieError::SumNotOne);
    EXPECT_EQ(DieMessage(off.error), "The sum of the probabilities must be 1");
    // A value outside [0, 1] is named even when the sum is 1.
    const DieCheck range = CheckDie(false, Texts({"1.2", "0", "0", "0", "0", "-0.2"}));
    EXPECT_EQ(range.error, DieError::OutOfRange);
    EXPECT_EQ(DieMessage(range.error), "Probabilities larger then 1 or smaller then 0 are not allowed");
    // Zeros are allowed, a comma is a decimal mark.
    EXPECT_EQ(CheckDie(false, Texts({"0", "0,5", "0", "0", "0.5", "0"})).error, DieError::None);
}

TEST(DieCheck, EmptyOrUnreadableFieldIsNotANumber) {
    for (const char* bad : {"", "1E400", "0.1.2", "e"}) {
        const DieCheck c = CheckDie(false, Texts({"0.2", bad, "0.2", "0.2", "0.2", "0.2"}));
        EXPECT_EQ(c.error, DieError::NotANumber) << bad;
        EXPECT_EQ(DieMessage(c.error), "Not all probabilities do have numerical values");
    }
    EXPECT_EQ(CheckDie(true, Texts({"0.16667", "", "0.16667", "0.16667", "0.16667", "0.16667"})).error,
              DieError::NotANumber);
}

// (w1 x + ... + w6 x^6)^n with integer weights summing to 8: every
// probability of the sum is an exact integer over 8^n (below 2^121).
std::vector<Exact> ExactPower(const std::array<int, kFaces>& w, int n) {
    std::vector<Exact> poly(6 * n + 1, 0);
    poly[0] = 1;
    for (int a = 0; a < n; ++a) {
        std::vector<Exact> next(poly.size(), 0);
        for (std::size_t s = 0; s < poly.size(); ++s) {
            if (poly[s] == 0) continue;
            for (int j = 1; j <= 6; ++j)
                if (s + j < next.size()) next[s + j] += poly[s] * static_cast<Exact>(w[j - 1]);
        }
        poly.swap(next);
    }
    return poly;
}

TEST(SumDistribution, MatchesExactPolynomialPowerForBiasedDiceWithZeros) {
    const std::array<std::array<int, kFaces>, 3> weights = {
        {{2, 0, 3, 0, 1, 2}, {0, 0, 8, 0, 0, 0}, {1, 1, 1, 1, 2, 2}}};
    for (const auto& w : weights) {
        Probabilities p;
        for (int j = 0; j < kFaces; ++j) p[j] = w[j] / 8.0;
        for (int n : {1, 2, 7, 23, 40}) {
            const std::vector<double> dist = SumDistribution(p, n);
            const std::vector<Exact> exact = ExactPower(w, n);
            ASSERT_EQ(dist.size(), static_cast<std::size_t>(5 * n + 1));
            const long double scale = std::ldexp(1.0L, -3 * n);
            for (int s = n; s <= 6 * n; ++s) {
                const long double want = static_cast<long double>(exact[s]) * scale;
                const double got = dist[s - n];
                if (exact[s] == 0)
                    EXPECT_EQ(got, 0.0) << "n " << n << " sum " << s;
                else
                    EXPECT_NEAR(got / static_cast<double>(want), 1.0, 1e-12) << "n " << n << " sum " << s;
            }
        }
    }
}

TEST(SumDistribution, MomentsAgreeWithThoseOfOneThrow) {
    const Probabilities p = {0.05, 0.3, 0.1, 0.15, 0.25, 0.15};
    for (int n : {1, 5, 30, 40}) {
        const std::vector<double> dist = SumDistribution(p, n);
        double total = 0, mean = 0, second = 0;
        for (std::size_t i = 0; i < dist.size(); ++i) {
            const double s = n + static_cast<double>(i);
            total += dist[i];
            mean += s * dist[i];
            second += s * s * dist[i];
        }
        EXPECT_NEAR(total, 1.0, 1e-12);
        EXPECT_NEAR(mean, SumMean(p, n), 1e-9);
        EXPECT_NEAR(std::sqrt(second - mean * mean), SumStandardDeviation(p, n), 1e-7);
    }
    // One throw: mu = 3.7, sigma^2 = sum j^2 p_j - mu^2 = 16.2 - 13.69.
    EXPECT_NEAR(SumMean(p, 1), 3.7, 1e-12);
    EXPECT_NEAR(SumStandardDeviation(p, 4), 2 * std::sqrt(16.2 - 3.7 * 3.7), 1e-12);
}

class CountingStop : public Progress {
public:
    explicit CountingStop(int stopAfter) : stopAfter_(stopAfter) {}
    void yield() override { ++yields; }
    bool stopRequested() const override { return yields >= stopAfter_; }
    int yields = 0;

private:
    int stopAfter_;
};

TEST(SumDistribution, YieldsOncePerConvolutionStepAndStops) {
    CountingStop never(1000);
    ASSERT_TRUE(SumDistribution(kFairDie, 12, never).has_value());
    EXPECT_EQ(never.yields, 11);
    CountingStop early(3);
    EXPECT_FALSE(SumDistribution(kFairDie, 12, early).has_value());
    EXPECT_EQ(early.yields, 3);
}

TEST(HistogramGeometry, FairDieOfOneThrowHasSixEqualBars) {
    const std::vector<double> dist = SumDistribution(kFairDie, 1);
    const Panel one = PanelFor(1, 0);
    const HistogramLayout h =
        LayoutHistogram(dist, 1, one.left, one.width, one.baseY, one.maxHeight, one.colour);
    EXPECT_EQ(h.barWidth, 66); // round(395 / 6)
    ASSERT_EQ(h.bars.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(h.bars[i].left, 25 + 67 * i);
        EXPECT_EQ(h.bars[i].right, 25 + 67 * i + 66);
        EXPECT_EQ(h.bars[i].top, 50);
        EXPECT_EQ(h.bars[i].bottom, 275);
    }
    EXPECT_EQ(h.colour, kRed);
}

TEST(HistogramGeometry, FortyThrowsGiveTwoHundredAndOneBarsOfWidthOne) {
    const std::vector<double> dist = SumDistribution(kFairDie, 40);
    const HistogramLayout h = LayoutHistogram(dist, 40, 25, 400, 275, 225, kRed);
    ASSERT_EQ(h.bars.size(), 201u);
    EXPECT_EQ(h.barWidth, 1);
    EXPECT_EQ(h.bars.front().left, 25);
    EXPECT_EQ(h.bars.back().left, 425);
    // The tallest bar reaches the full height; a bar of probability p has round(p 225 / pmax).
    const double pmax = *std::max_element(dist.begin(), dist.end());
    for (std::size_t i = 0; i < dist.size(); ++i) {
        EXPECT_EQ(h.bars[i].right - h.bars[i].left, 1);
        EXPECT_EQ(275 - h.bars[i].top, static_cast<int>(std::lround(dist[i] * 225 / pmax)));
    }
    EXPECT_EQ(h.bars[100].top, 50); // sum 140, the mode
    // Alternating hatch, the last one forward.
    EXPECT_TRUE(h.bars[200].forwardHatch);
    EXPECT_FALSE(h.bars[199].forwardHatch);
    EXPECT_TRUE(h.bars[0].forwardHatch);
    // Labels: the first and the last sum under their bars.
    ASSERT_FALSE(h.labels.empty());
    EXPECT_EQ(h.labels.front().text, "40");
    EXPECT_EQ(h.labels.back().text, "240");
    EXPECT_EQ(h.labels.back().x, 425);
}

TEST(HistogramGeometry, PanelsOfTwoAndFourHistograms) {
    EXPECT_EQ(PanelFor(2, 0).left, 25);
    EXPECT_EQ(PanelFor(2, 1).left, 325);
    EXPECT_EQ(PanelFor(2, 1).colour, kBlue);
    const std::array<int, 4> base = {175, 175, 325, 325};
    const std::array<std::uint32_t, 4> colour = {kRed, kBlue, kGreen, kPurple};
    for (int i = 0; i < 4; ++i) {
        const Panel p = PanelFor(4, i);
        EXPECT_EQ(p.baseY, base[i]);
        EXPECT_EQ(p.maxHeight, 125);
        EXPECT_EQ(p.width, 250);
        EXPECT_EQ(p.colour, colour[i]);
    }
    // Up to 27 throws the rounded width keeps the bars within the panel's margin.
    const HistogramLayout h27 = LayoutHistogram(SumDistribution(kFairDie, 27), 27, 25, 250, 275, 225, kRed);
    EXPECT_EQ(h27.barWidth, 1);
    EXPECT_EQ(h27.bars.back().right, 25 + 135 * 2 + 1);
}

TEST(HistogramGeometry, BarsNeverRunIntoTheNextPanelOrOffThePicture) {
    // Thirty throws in a 250-pixel panel: 151 bars of width round(100 / 151) =
    // 1 with gaps would end at column 326, on the right panel's first bar (and
    // the right panel's at 626, off the picture): they stand without gaps.
    Probabilities sixes = {0, 0, 0, 0, 0.1, 0.9};
    for (int histograms : {2, 4}) {
        for (int n = 1; n <= kMaxSumLengthMany; ++n) {
            for (int index = 0; index < histograms; ++index) {
                const Panel p = PanelFor(histograms, index);
                const HistogramLayout h = LayoutHistogram(SumDistribution(sixes, n), n, p.left, p.width,
                                                          p.baseY, p.maxHeight, p.colour);
                ASSERT_GE(h.barWidth, 1);
                EXPECT_LE(h.bars.back().right, p.left + p.width + kPanelMargin) << "n " << n;
                EXPECT_LE(h.bars.back().right, kManyWidth);
                for (std::size_t i = 1; i < h.bars.size(); ++i)
                    EXPECT_GE(h.bars[i].left, h.bars[i - 1].right);
            }
        }
    }
    const HistogramLayout h30 = LayoutHistogram(SumDistribution(sixes, 30), 30, 25, 250, 275, 225, kRed);
    EXPECT_EQ(h30.barWidth, 1);
    EXPECT_EQ(h30.bars.back().left, 25 + 150);
    // The bulk near 6n stays in sight: the tallest bar stands inside the panel.
    const auto tallest = std::min_element(h30.bars.begin(), h30.bars.end(),
                                          [](const Bar& a, const Bar& b) { return a.top < b.top; });
    EXPECT_EQ(tallest->top, 275 - 225);
    EXPECT_GT(tallest->left, 25 + 140);
    EXPECT_LE(tallest->right, 25 + 250);
    // Nineteen throws: round(155 / 96) = 2 would end at 312; rounded down to 1.
    EXPECT_EQ(LayoutHistogram(SumDistribution(sixes, 19), 19, 25, 250, 275, 225, kRed).barWidth, 1);
    // In the one-histogram picture the rounded width stays, as for 8 throws (9 wide).
    EXPECT_EQ(LayoutHistogram(SumDistribution(sixes, 8), 8, 25, 400, 275, 225, kRed).barWidth, 9);
}

TEST(HistogramGeometry, TooManyBarsForThePanelGiveWidthZero) {
    // 168 bars in 250 pixels: round(83 / 168) = 0.
    const std::vector<double> flat(168, 1.0 / 168);
    const HistogramLayout h = LayoutHistogram(flat, 1, 25, 250, 275, 225, kRed);
    EXPECT_EQ(h.barWidth, 0);
    EXPECT_TRUE(h.labels.empty());
    const std::vector<double> fits(167, 1.0 / 167);
    EXPECT_EQ(LayoutHistogram(fits, 1, 25, 250, 275, 225, kRed).barWidth, 1);
    EXPECT_STREQ(kBarWidthZero, "Summation length too large; Bar width := 0 !!");
}

TEST(SumLengthLimits, OneHistogramUpToFortyOthersUpToThirty) {
    EXPECT_EQ(MaxSumLength(1), 40);
    EXPECT_EQ(MaxSumLength(2), 30);
    EXPECT_EQ(MaxSumLength(4), 30);
    EXPECT_EQ(SumLengthHint(1), "1 <= n <= 40");
    EXPECT_EQ(SumLengthHint(4), "1 <= n <= 30");
}

} // namespace
} // namespace tarvik::normal
