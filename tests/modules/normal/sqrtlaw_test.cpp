#include "common/random.h"
#include "modules/normal/sqrtlaw.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace tarvik::normal {
namespace {

TEST(SqrtLawPicture, TicksStandForPlusMinusTwoOverRootN) {
    const std::vector<Tick> ticks = SqrtTicks();
    ASSERT_EQ(ticks.size(), 8u);
    const int rows[8] = {25, 88, 119, 134, 275, 213, 181, 166};
    const char* labels[8] = {"2/\u221A1",  "2/\u221A4",  "2/\u221A16",  "2/\u221A64",
                             "-2/\u221A1", "-2/\u221A4", "-2/\u221A16", "-2/\u221A64"};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(ticks[i].y, rows[i]);
        EXPECT_EQ(ticks[i].label, labels[i]);
    }
    EXPECT_EQ(GroupColumn(1), 150);
    EXPECT_EQ(GroupColumn(4), 450);
}

TEST(SqrtLawPicture, PointsOutsideTheBandAreNotDrawn) {
    EXPECT_EQ(SqrtRow(0), 150);
    EXPECT_EQ(SqrtRow(1), 87); // 150 - round(62.5), ties away from zero
    EXPECT_EQ(SqrtRow(-1), 213);
    // Row 10 (mean 2.24) and row 290 (mean -2.24) lie outside 10 < y < 290.
    EXPECT_FALSE(PlacePoint(1, 140 / 62.5).drawn);
    EXPECT_TRUE(PlacePoint(1, 139 / 62.5).drawn);
    EXPECT_EQ(PlacePoint(1, 139 / 62.5).y, 11);
    EXPECT_TRUE(PlacePoint(2, -139 / 62.5).drawn);
    EXPECT_FALSE(PlacePoint(2, -140 / 62.5).drawn);
    EXPECT_EQ(PlacePoint(3, 0.1).x, 350);
    EXPECT_EQ(PlacePoint(3, 0.1).n, 16);
}

TEST(SqrtLawStream, ResetsTheStreamsThenDrawsOneFromTheSystemGenerator) {
    RndSetSeed(12345, 7);
    RandSeed = 424242;
    // The system generator's next value, by hand: floor(seed' x 100 / 2^32) + 1.
    const std::uint32_t next = 424242u * 134775813u + 1u;
    const int expected = static_cast<int>((static_cast<std::uint64_t>(next) * 100) >> 32) + 1;
    EXPECT_EQ(ChooseSqrtLawStream(), expected);
    EXPECT_EQ(RandSeed, next);
    EXPECT_EQ(RndGetSeed(1), 630360016);
    EXPECT_EQ(RndGetSeed(7), RndPower(1 + 10000000ull * 6));
}

TEST(SqrtLawStream, NormalValueUsesFirstU1ThenU2) {
    RndSetSeed(987654321, 101);
    RndSetSeed(987654321, 102);
    const double z = StandardNormal(101);
    const double u1 = RndUniform(102), u2 = RndUniform(102);
    EXPECT_DOUBLE_EQ(z, std::sqrt(-2 * std::log(u2)) * std::cos(2 * std::numbers::pi * u1));
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

TEST(SqrtLawRun, HandsOverEveryPointInGroupOrderAndStops) {
    RndReset();
    std::vector<int> groups;
    CountingStop never(1 << 30);
    EXPECT_TRUE(RunSqrtLaw(12, 5, never, [&](const SqrtPoint& pt) { groups.push_back(pt.group); }));
    ASSERT_EQ(groups.size(), 48u);
    EXPECT_EQ(never.yields, 48);
    for (int i = 0; i < 48; ++i) EXPECT_EQ(groups[i], i / 12 + 1);
    // The counts are kept within 10 .. 1000.
    int points = 0;
    CountingStop stop(17);
    EXPECT_FALSE(RunSqrtLaw(5000, 5, stop, [&](const SqrtPoint&) { ++points; }));
    EXPECT_EQ(points, 17);
    EXPECT_EQ(ClampExperiments(5000), 1000);
    EXPECT_EQ(ClampExperiments(3), 10);
    EXPECT_EQ(ReplaceWhileTyping(1001), 1000);
    EXPECT_EQ(ReplaceWhileTyping(-4), 10);
    EXPECT_EQ(ReplaceWhileTyping(5), 5);
}

// With fixed streams, the means of n normals spread as 1 / sqrt(n): the
// sample variance passes a chi-square test and the share within 2 / sqrt(n)
// a binomial one around 0.9545, five standard deviations wide.
TEST(SqrtLawRun, MeansSpreadAsOneOverRootN) {
    for (int stream : {3, 58}) {
        RndReset();
        std::array<std::vector<double>, 4> means;
        Progress never;
        RunSqrtLaw(1000, stream, never, [&](const SqrtPoint& pt) { means[pt.group - 1].push_back(pt.mean); });
        for (int g = 0; g < 4; ++g) {
            const int n = kGroupSizes[g];
            const GroupSummary s = Summarise(n, means[g]);
            ASSERT_EQ(s.count, 1000);
            const double chi = (s.count - 1) * s.deviation * s.deviation * n; // ~ chi-square(999)
            EXPECT_NEAR(chi, 999, 5 * std::sqrt(2 * 999.0)) << "n " << n;
            EXPECT_NEAR(s.average, 0, 5 / std::sqrt(1000.0 * n)) << "n " << n;
            const double share = 0.9545;
            EXPECT_NEAR(s.within, 1000 * share, 5 * std::sqrt(1000 * share * (1 - share))) << "n " << n;
            EXPECT_GE(s.drawn, s.within); // 2/sqrt(n) <= 2 lies inside the band
        }
    }
}

TEST(SqrtLawSummary, CountsWithinTwoOverRootNAndDrawnPoints) {
    const GroupSummary s = Summarise(4, {0.5, -1.0, 1.01, 3.0, -2.3});
    EXPECT_EQ(s.within, 2); // |m| <= 1
    EXPECT_EQ(s.drawn, 3);  // rows 119, 213, 87; 3.0 and -2.3 fall outside
    EXPECT_NEAR(s.average, 0.242, 1e-12);
    double sq = 0;
    for (double m : {0.5, -1.0, 1.01, 3.0, -2.3}) sq += (m - 0.242) * (m - 0.242);
    EXPECT_NEAR(s.deviation, std::sqrt(sq / 4), 1e-12);
    EXPECT_EQ(Summarise(1, {}).count, 0);
}

} // namespace
} // namespace tarvik::normal
