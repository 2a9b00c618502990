#include "modules/tables/ui/tablesinput.h"

#include <gtest/gtest.h>

using namespace tarvik::tables;

TEST(TablesInput, IntegerFieldsAreLimitedSkippedAndSorted) {
    // Twelve digits count as 100000000 and are limited to 1000000; nine
    // characters likewise, even when they are no number; eight digits are read.
    const std::vector<std::string> texts = {
        "7", "", "123456789012", "3e2", "12345678", "0", "999999999", "5", "1E", "", "42", "123456789E"};
    const std::vector<long long> expected = {0, 5, 7, 42, 1000000, 1000000, 1000000, 1000000};
    EXPECT_EQ(ReadIntegerInputs(texts), expected);
    EXPECT_TRUE(ReadIntegerInputs({"", "", "e"}).empty());
}

TEST(TablesInput, RealFieldsAreClampedPerOutputChoice) {
    const std::vector<std::string> texts = {"1.96", "0", "-1.96", "2,5", "x", "", "-5e7", "3E9", "1e999"};
    const std::vector<double> probabilities = {-1000000, -1.96, 0, 1.96, 2.5, 1000000};
    EXPECT_EQ(ReadRealInputs(texts, false), probabilities);
    const std::vector<double> percentiles = {0, 0, 0, 1, 1, 1};
    EXPECT_EQ(ReadRealInputs(texts, true), percentiles);
}

TEST(TablesInput, ValuesAreWrittenBackAsTheyWereRead) {
    EXPECT_EQ(IntegerFieldText(1000000), "1000000");
    EXPECT_EQ(RealFieldText(-1.96), "-1.96");
    EXPECT_EQ(RealFieldText(0), "0");
    EXPECT_EQ(RealFieldText(0.1234567890123), "0.123456789");
    EXPECT_EQ(RealFieldText(1000000), "1000000");
    EXPECT_EQ(RealFieldText(0.0001), "0.0001");
    // Below 0.0001 ten fixed decimals, below 1E-10 plain zero.
    EXPECT_EQ(RealFieldText(0.00001234567), "0.0000123457");
    EXPECT_EQ(RealFieldText(-0.00001234567), "-0.0000123457");
    EXPECT_EQ(RealFieldText(1e-9), "0.0000000010");
    EXPECT_EQ(RealFieldText(9e-11), "0");
    EXPECT_EQ(RealFieldText(-9e-11), "0");
}
