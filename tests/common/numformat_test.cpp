#include "common/numformat.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

namespace {

using namespace tarvik;

TEST(FormatGeneral, SignificantDigitsWithoutTrailingZeros) {
    EXPECT_EQ(FormatGeneral(0.5, 5), "0.5");
    EXPECT_EQ(FormatGeneral(1.0 / 6.0, 5), "0.16667");
    EXPECT_EQ(FormatGeneral(2.0, 10), "2");
    EXPECT_EQ(FormatGeneral(-123.456, 4), "-123.5");
    EXPECT_EQ(FormatGeneral(0, 8), "0");
    EXPECT_EQ(FormatGeneral(100, 3), "100");
    EXPECT_EQ(FormatGeneral(0.0001, 8), "0.0001");
    EXPECT_EQ(FormatGeneral(0.00001, 8), "0.00001");
    EXPECT_EQ(FormatGeneral(0.000012345, 3), "0.0000123");
    EXPECT_EQ(FormatGeneral(0.0000099, 3), "9.9E-6");
    EXPECT_EQ(FormatGeneral(-0.000001, 5), "-1E-6");
}

TEST(FormatGeneral, ScientificBeyondThePrecision) {
    EXPECT_EQ(FormatGeneral(123456, 5), "1.2346E5");
    EXPECT_EQ(FormatGeneral(12345, 5), "12345");
    EXPECT_EQ(FormatGeneral(99999.5, 5), "1E5");
    EXPECT_EQ(FormatGeneral(1.5e20, 15), "1.5E20");
    EXPECT_EQ(FormatGeneral(2.5e-7, 4, 2), "2.5E-07");
}

TEST(FormatFixed, ExactDecimalsRoundedHalfAwayFromZero) {
    EXPECT_EQ(FormatFixed(0.125, 2), "0.13");
    EXPECT_EQ(FormatFixed(-0.125, 2), "-0.13");
    EXPECT_EQ(FormatFixed(2.5, 0), "3");
    EXPECT_EQ(FormatFixed(1.005, 2), "1.00"); // 1.005 is below the tie in binary
    EXPECT_EQ(FormatFixed(0.1666667, 3), "0.167");
    EXPECT_EQ(FormatFixed(9.9996, 3), "10.000");
    EXPECT_EQ(FormatFixed(0.0004, 3), "0.000");
    EXPECT_EQ(FormatFixed(-0.0004, 3), "0.000");
    EXPECT_EQ(FormatFixed(0.0005, 3), "0.001");
    EXPECT_EQ(FormatFixed(123456789.0, 2), "123456789.00");
    EXPECT_EQ(FormatFixed(0, 4), "0.0000");
}

TEST(FormatNumber, ThousandsSeparators) {
    EXPECT_EQ(FormatNumber(1234567.891, 2), "1,234,567.89");
    EXPECT_EQ(FormatNumber(-1000, 0), "-1,000");
    EXPECT_EQ(FormatNumber(999, 1), "999.0");
}

TEST(Format, UsesThePointWhateverTheLocaleSays) {
    UseDotDecimalMark();
    EXPECT_EQ(Format("%.4g", 0.123456), "0.1235");
    EXPECT_EQ(Format("%10.5g|%d", 3.14159265, 42), "    3.1416|42");
    EXPECT_EQ(Format(" %.2f", 12.345678), " 12.35");
}

} // namespace
