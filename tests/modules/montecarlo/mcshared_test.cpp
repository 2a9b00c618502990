#include "common/random.h"
#include "modules/montecarlo/mcshared.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

using namespace tarvik::montecarlo;

constexpr SpinLimits kLimits{.min = 350, .max = 100000, .initial = 1000, .hint = ""};

TEST(SpinFields, OutOfRangeTakesTheNearestLimitAndNonIntegersTheLowerLimit) {
    EXPECT_EQ(ClampSpinText("5000", kLimits), 5000);
    EXPECT_EQ(ClampSpinText("12", kLimits), 350);
    EXPECT_EQ(ClampSpinText("-7", kLimits), 350);
    EXPECT_EQ(ClampSpinText("2000000", kLimits), 100000);
    EXPECT_EQ(ClampSpinText("99999999999999999999999", kLimits), 350);
    EXPECT_EQ(ClampSpinText("", kLimits), 350);
    EXPECT_EQ(ClampSpinText("12.5", kLimits), 350);
    EXPECT_EQ(ClampSpinText("abc", kLimits), 350);
    EXPECT_EQ(ClampSpinText(" 400 ", kLimits), 400);
}

TEST(ProportionInterval, IsEmptyBelowTwoTrialsAndSymmetricAboveIt) {
    EXPECT_FALSE(ProportionInterval(1.0, 1).valid);
    const Interval i = ProportionInterval(0.5, 101);
    ASSERT_TRUE(i.valid);
    EXPECT_NEAR(i.lower, 0.5 - 1.96 * std::sqrt(0.25 / 100), 1e-15);
    EXPECT_NEAR(i.upper, 0.5 + 1.96 * std::sqrt(0.25 / 100), 1e-15);
    const Interval all = ProportionInterval(1.0, 50);
    EXPECT_EQ(all.lower, 1.0);
    EXPECT_EQ(all.upper, 1.0);
}

TEST(MeanInterval, ClampsANegativeVarianceFromRoundingAtZero) {
    // Equal values: the mean of squares minus the squared mean comes out a
    // hair below zero in floating point; the interval collapses to the mean.
    double mean = 0, sq = 0;
    for (int r = 1; r <= 1000; ++r) {
        mean = mean * (r - 1) / r + 0.1 / r;
        sq = sq * (r - 1) / r + 0.01 / r;
    }
    const Interval i = MeanInterval(mean, sq, 1000);
    EXPECT_FALSE(std::isnan(i.lower));
    EXPECT_FALSE(std::isnan(i.upper));
    EXPECT_DOUBLE_EQ(i.lower, mean);
    EXPECT_EQ(BracketFixed(i, 4), "[ 0.1000 ; 0.1000 ]");
}

TEST(StartGenerators, ResetsTheStreamsAndSetsTheSeedGiven) {
    tarvik::RndSetSeed(12345, 1);
    EXPECT_EQ(StartGenerators(77u), 77u);
    EXPECT_EQ(tarvik::RandSeed, 77u);
    EXPECT_EQ(tarvik::RndGetSeed(1), 630360016);
    const int s = ChooseStream();
    EXPECT_GE(s, 1);
    EXPECT_LE(s, 100);
}

TEST(Currency, UsesThousandsSeparatorsAndScientificBeyondThePrecision) {
    EXPECT_EQ(FormatCurrency(1234.5, 15, 2), "$1,234.50");
    EXPECT_EQ(FormatCurrency(0, 15, 4), "$0.0000");
    EXPECT_EQ(FormatCurrency(123456789.0, 4, 2), "1.235E8");
    EXPECT_EQ(FormatCurrencyFromLog(1505.30103, 4, 2), "2E1505");
}

} // namespace
