#include "common/numparse.h"

#include <gtest/gtest.h>

namespace {

using namespace tarvik;

TEST(StrToReal, AcceptsEitherDecimalMarkAndBlanks) {
    EXPECT_DOUBLE_EQ(StrToReal(" 3,75 "), 3.75);
    EXPECT_DOUBLE_EQ(StrToReal("2,5"), 2.5);
    EXPECT_DOUBLE_EQ(StrToReal("2.5"), 2.5);
    EXPECT_DOUBLE_EQ(StrToReal("-0.5e-3"), -0.0005);
    EXPECT_DOUBLE_EQ(StrToReal("+7"), 7.0);
    EXPECT_DOUBLE_EQ(StrToReal("1E3"), 1000.0);
    EXPECT_DOUBLE_EQ(StrToReal(".5"), 0.5);
}

TEST(StrToReal, FailsOnAnythingThatIsNoNumber) {
    for (const char* text : {"", "   ", "abc", "1,000.5", "1.2.3", "1e", "e5", "--1", "1 2", "0x10", "inf",
                             "nan", "1e999", "5-"}) {
        EXPECT_THROW(StrToReal(text), EConvertError) << text;
        EXPECT_FALSE(TryStrToReal(text).has_value()) << text;
    }
}

TEST(StrToInt, WholeNumbersOnly) {
    EXPECT_EQ(TryStrToInt(" 1000 "), 1000);
    EXPECT_EQ(TryStrToInt("-12"), -12);
    EXPECT_FALSE(TryStrToInt("12.5"));
    EXPECT_FALSE(TryStrToInt(""));
    EXPECT_FALSE(TryStrToInt("99999999999999999999999"));
}

TEST(FilterRealText, KeepsAllowedCharactersOnly) {
    auto r = FilterRealText("1a2", 3, kUnsignedRealChars);
    EXPECT_EQ(r.text, "12");
    EXPECT_EQ(r.caret, 2);
    EXPECT_TRUE(r.changed);
    r = FilterRealText("-1", 2, kUnsignedRealChars);
    EXPECT_EQ(r.text, "1");
}

TEST(FilterRealText, SecondPointMinusOrExponentRemovesTheRest) {
    EXPECT_EQ(FilterRealText("1.2.34", 6, kRealChars).text, "1.2");
    EXPECT_EQ(FilterRealText("-1-2", 4, kRealChars).text, "-1");
    EXPECT_EQ(FilterRealText("1e5E6", 5, kRealChars).text, "1e5");
    EXPECT_EQ(FilterRealText("1e5e", 4, kRealChars).text, "1e5");
    // A minus sign after the exponent letter is the one allowed minus.
    EXPECT_EQ(FilterRealText("1e-5", 4, kRealChars).text, "1e-5");
    // A removed character that is not allowed does not stop the scan.
    EXPECT_EQ(FilterRealText("1x2", 3, kRealChars).text, "12");
}

TEST(FilterRealText, CutsToTwelveCharactersKeepingTheLast) {
    auto r = FilterRealText("1234567890123", 13, kRealChars);
    EXPECT_EQ(r.text, "123456789013");
    EXPECT_EQ(r.text.size(), 12u);
    EXPECT_EQ(r.caret, 12);
    // Caret before the cut stays where it was.
    r = FilterRealText("1234567890123", 3, kRealChars);
    EXPECT_EQ(r.caret, 3);
}

TEST(FilterRealText, CaretMovesLeftOnlyForRemovedCharactersBeforeIt) {
    // Typing a letter at position 1 of "12": "1x2", caret after the x.
    auto r = FilterRealText("1x2", 2, kRealChars);
    EXPECT_EQ(r.text, "12");
    EXPECT_EQ(r.caret, 1);
    // A removed character after the caret leaves it.
    r = FilterRealText("12x", 1, kRealChars);
    EXPECT_EQ(r.caret, 1);
    // Unchanged text keeps the caret and says so.
    r = FilterRealText("0.5", 2, kRealChars);
    EXPECT_FALSE(r.changed);
    EXPECT_EQ(r.caret, 2);
}

} // namespace
