#include "common/random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace {

using namespace tarvik;

TEST(MultiStreamGenerator, ResetGivesTheStreamStarts) {
    RndSetSeed(12345, 101);
    RndSetSeed(777, 102);
    RndReset();
    EXPECT_EQ(RndGetSeed(1), 630360016);
    EXPECT_EQ(RndGetSeed(2), 329027830);
    EXPECT_EQ(RndGetSeed(3), 516618567);
    EXPECT_EQ(RndGetSeed(100), 1606996744);
    // The free slots keep what they had.
    EXPECT_EQ(RndGetSeed(101), 12345);
    EXPECT_EQ(RndGetSeed(102), 777);
}

TEST(MultiStreamGenerator, FirstValueOfStreamOne) {
    RndReset();
    const std::int64_t m = 2147483647;
    const std::int64_t z = (630360016LL * 630360016LL) % m;
    const double expected = (2.0 * static_cast<double>(z / 256) + 1.0) / 16777216.0;
    EXPECT_EQ(RndUniform(1), expected);
    EXPECT_EQ(RndGetSeed(1), z);
}

TEST(MultiStreamGenerator, StreamTwoStartsWhereStreamOneIsAfterTenMillionDraws) {
    RndReset();
    const std::int32_t start2 = RndGetSeed(2);
    for (int i = 0; i < 10000000; ++i) RndUniform(1);
    EXPECT_EQ(RndGetSeed(1), start2);
    EXPECT_EQ(RndUniform(1), RndUniform(2));
}

TEST(MultiStreamGenerator, ValuesLieStrictlyBetweenZeroAndOne) {
    // Seeds whose products land at the extremes of the range.
    for (std::int32_t seed : {1, 2, 255, 256, 2147483646, 2147483645, 1073741823}) {
        RndSetSeed(seed, 101);
        for (int i = 0; i < 1000; ++i) {
            const double u = RndUniform(101);
            ASSERT_GT(u, 0.0);
            ASSERT_LT(u, 1.0);
            const std::int32_t s = RndGetSeed(101);
            ASSERT_GE(s, 1);
            ASSERT_LE(s, 2147483646);
        }
    }
}

TEST(MultiStreamGenerator, SplitMultiplicationMatchesPlainModularArithmetic) {
    std::int64_t z = 987654321;
    RndSetSeed(static_cast<std::int32_t>(z), 102);
    for (int i = 0; i < 5000; ++i) {
        z = z * 24112 % 2147483647;
        z = z * 26143 % 2147483647;
        RndUniform(102);
        ASSERT_EQ(RndGetSeed(102), z);
    }
    // 24112 * 26143 is the multiplier.
    EXPECT_EQ(24112LL * 26143LL % 2147483647, 630360016);
}

TEST(SystemGenerator, StepIsTheLinearCongruence) {
    RandSeed = 1;
    RandomReal();
    EXPECT_EQ(RandSeed, 134775814u);
    RandSeed = 0xFFFFFFFFu;
    RandomReal();
    EXPECT_EQ(RandSeed, static_cast<std::uint32_t>(0xFFFFFFFFull * 134775813ull + 1ull));
}

TEST(SystemGenerator, RandomIntIsTheHighWordOfTheProduct) {
    RandSeed = 42;
    const std::uint32_t next = 42u * 134775813u + 1u;
    EXPECT_EQ(RandomInt(6), static_cast<int>((static_cast<std::uint64_t>(next) * 6u) >> 32));
    for (int i = 0; i < 100000; ++i) ASSERT_EQ(RandomInt(1), 0);
    for (int n : {2, 6, 100, 600, 2147483647}) {
        for (int i = 0; i < 20000; ++i) {
            const int r = RandomInt(n);
            ASSERT_GE(r, 0);
            ASSERT_LT(r, n);
        }
    }
}

TEST(SystemGenerator, RandomRealIsSeedOverTwoToThe32) {
    RandSeed = 7;
    const double r = RandomReal();
    EXPECT_EQ(r, static_cast<double>(RandSeed) / 4294967296.0);
    RandSeed = static_cast<std::uint32_t>(-1 - 1) / 134775813u; // anything: the range is [0, 1)
    for (int i = 0; i < 100000; ++i) {
        const double u = RandomReal();
        ASSERT_GE(u, 0.0);
        ASSERT_LT(u, 1.0);
    }
}

} // namespace
