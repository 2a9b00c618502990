#include "common/random.h"
#include "modules/normal/intervals.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tarvik::normal {
namespace {

TEST(IntervalSettings, ProbabilityBetweenPointOneAndPointNine) {
    for (const char* ok : {"0.1", "0.9", " 0.4 ", "4e-1", ".5"})
        EXPECT_EQ(CheckP(ok).error, PError::None) << ok;
    EXPECT_DOUBLE_EQ(CheckP("0.4").p, 0.4);
    for (const char* out : {"0.09", "0.91", "1", "-0.5", "0"}) {
        EXPECT_EQ(CheckP(out).error, PError::OutOfRange) << out;
        EXPECT_EQ(PMessage(CheckP(out).error), "The probability should be in the interval [0.1;0.9] ");
    }
    // The plain conversion takes no comma.
    for (const char* bad : {"0,4", "", "abc", "1E400", "0.4.", "e5", "."}) {
        EXPECT_EQ(CheckP(bad).error, PError::NotANumber) << bad;
        EXPECT_EQ(PMessage(CheckP(bad).error), "Not all probabilities do have numerical values");
    }
}

TEST(IntervalMath, HalfWidthFromTheProportionCutToZeroOne) {
    const Interval iv = MakeInterval(0.4, 0.35, 200, 1.96);
    const double h = 1.96 * std::sqrt(0.35 * 0.65 / 199);
    EXPECT_DOUBLE_EQ(iv.lower, 0.35 - h);
    EXPECT_DOUBLE_EQ(iv.upper, 0.35 + h);
    EXPECT_FALSE(iv.miss);
    // No successes: an interval of width zero at 0, a miss.
    const Interval none = MakeInterval(0.1, 0, 50, 1.645);
    EXPECT_EQ(none.lower, 0);
    EXPECT_EQ(none.upper, 0);
    EXPECT_TRUE(none.miss);
    const Interval high = MakeInterval(0.9, 0.94, 50, 1.96);
    EXPECT_EQ(high.upper, 1.0);
    EXPECT_FALSE(high.miss);
    EXPECT_EQ(LevelZ(Level::P95), 1.96);
    EXPECT_EQ(LevelZ(Level::P90), 1.645);
}

TEST(IntervalGeometry, EndsMapToPanelColumnsAndClampWithStrokes) {
    const double p = 0.4, e = ScaleWidth(p, 200);
    EXPECT_DOUBLE_EQ(e, 9 * std::sqrt(0.24 / 199));
    EXPECT_EQ(IntervalColumn(p, p, e, 0), 160);
    EXPECT_EQ(IntervalColumn(p, p, e, 1), 460);
    EXPECT_EQ(IntervalColumn(p - e / 2, p, e, 0), 20);
    EXPECT_EQ(IntervalColumn(p + e / 2, p, e, 1), 600);
    EXPECT_EQ(IntervalColumn(p + e / 4, p, e, 0), 230);

    Interval inside{0.41, p - e / 8, p + e / 8, false};
    const IntervalLine a = PlaceInterval(inside, p, e, 0, 1);
    EXPECT_EQ(a, (IntervalLine{.x1 = 125, .x2 = 195, .y = 327, .colour = 0x0000FF}));
    const IntervalLine b = PlaceInterval(inside, p, e, 1, 100);
    EXPECT_EQ(b, (IntervalLine{.x1 = 425, .x2 = 495, .y = 30, .colour = 0x008000}));

    Interval wide{0.4, 0.0, 1.0, false};
    const IntervalLine c = PlaceInterval(wide, p, e, 1, 50);
    EXPECT_EQ(
        c, (IntervalLine{
               .x1 = 320, .x2 = 600, .y = 180, .strokeLeft = true, .strokeRight = true, .colour = 0x008000}));
    // Wholly right of the panel: both ends on the right edge, a miss in red.
    Interval right{0.9, 0.8, 1.0, true};
    const IntervalLine d = PlaceInterval(right, p, e, 0, 2);
    EXPECT_EQ(d, (IntervalLine{.x1 = 300, .x2 = 300, .y = 324, .strokeRight = true, .colour = 0xFF0000}));
}

TEST(IntervalGeometry, ColourFollowsTheValuesNotThePixels) {
    const double p = 0.4, e = ScaleWidth(p, 2500);
    // The upper end lies a hair below p: its column is the centre, yet it misses.
    const Interval iv = MakeInterval(p, 0.38, 2500, 1.96);
    Interval nearly = iv;
    nearly.upper = p - 1e-9;
    nearly.miss = p > nearly.upper;
    const IntervalLine line = PlaceInterval(nearly, p, e, 0, 3);
    EXPECT_EQ(line.x2, 160);
    EXPECT_EQ(line.colour, kMissColour);
}

class Counting : public Progress {
public:
    void yield() override { ++yields; }
    bool stopRequested() const override { return stopAt >= 0 && stopChecks++ >= stopAt; }
    long yields = 0;
    int stopAt = -1;
    mutable int stopChecks = 0;
};

TEST(IntervalRunTest, DrawsItsStreamAndYieldsBeforeEveryTrial) {
    RndReset();
    RandSeed = 99;
    const std::uint32_t next = 99u * 134775813u + 1u;
    IntervalRun run({.p = 0.3, .n = 60, .level = Level::P90});
    EXPECT_EQ(run.stream(), static_cast<int>((static_cast<std::uint64_t>(next) * 100) >> 32) + 1);
    Counting progress;
    int pairs = 0;
    EXPECT_TRUE(run.runAll(progress, [&](const IntervalPair& pair) { EXPECT_EQ(pair.run, ++pairs); }));
    EXPECT_EQ(pairs, 100);
    EXPECT_EQ(progress.yields, 100L * (60 + 240));
    // Proportions are counts out of n and 4n; misses agree with the values.
    std::array<int, 2> misses{0, 0};
    for (const IntervalPair& pair : run.pairs()) {
        for (int k = 0; k < 2; ++k) {
            const double m = k == 0 ? 60 : 240;
            EXPECT_DOUBLE_EQ(std::round(pair.panel[k].f * m) / m, pair.panel[k].f);
            const bool miss = 0.3 < pair.panel[k].lower || 0.3 > pair.panel[k].upper;
            EXPECT_EQ(pair.panel[k].miss, miss);
            misses[k] += miss;
        }
    }
    EXPECT_EQ(run.misses(), misses);
}

TEST(IntervalRunTest, StopIsTestedOncePerRun) {
    RndReset();
    IntervalRun run({.p = 0.5, .n = 50, .level = Level::P95});
    Counting progress;
    progress.stopAt = 7;
    EXPECT_FALSE(run.runAll(progress));
    EXPECT_EQ(run.pairs().size(), 7u);
    EXPECT_EQ(progress.yields, 7L * 250);
}

// The chance that an interval of m trials covers p, summed exactly over every
// proportion x / m with its binomial probability.
double ExactCoverage(double p, int m, double z) {
    double covered = 0;
    for (int x = 0; x <= m; ++x) {
        const double f = static_cast<double>(x) / m;
        if (std::fabs(f - p) > z * std::sqrt(f * (1 - f) / (m - 1))) continue;
        covered += std::exp(std::lgamma(m + 1.0) - std::lgamma(x + 1.0) - std::lgamma(m - x + 1.0) +
                            x * std::log(p) + (m - x) * std::log1p(-p));
    }
    return covered;
}

TEST(IntervalRunTest, MissesAgreeWithExactBinomialCoverage) {
    struct Case {
        double p;
        int n;
        Level level;
    };
    for (const Case c : {Case{0.1, 50, Level::P90}, Case{0.4, 50, Level::P95}, Case{0.75, 80, Level::P95}}) {
        RndReset();
        RandSeed = 2024;
        std::array<int, 2> misses{0, 0};
        const int runs = 20;
        for (int r = 0; r < runs; ++r) {
            IntervalRun run({.p = c.p, .n = c.n, .level = c.level});
            Progress never;
            run.runAll(never);
            misses[0] += run.misses()[0];
            misses[1] += run.misses()[1];
        }
        for (int k = 0; k < 2; ++k) {
            const int m = k == 0 ? c.n : 4 * c.n;
            const double q = 1 - ExactCoverage(c.p, m, LevelZ(c.level));
            const double total = runs * 100.0;
            EXPECT_NEAR(misses[k], total * q, 5 * std::sqrt(total * q * (1 - q)) + 1)
                << "p " << c.p << " m " << m << " exact miss chance " << q;
        }
    }
    // The lesson of small samples: at p = 0.1 and n = 50 the 90% interval misses
    // clearly more often than one in ten.
    EXPECT_GT(1 - ExactCoverage(0.1, 50, 1.645), 0.12);
}

} // namespace
} // namespace tarvik::normal
