#include "modules/dice/dobbel.h"

#include "common/random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tarvik::dice {
namespace {

std::array<std::string, kFaces> Texts(std::initializer_list<const char*> values) {
    std::array<std::string, kFaces> t;
    std::size_t i = 0;
    for (const char* v : values) t[i++] = v;
    return t;
}

// Runs to the end (or until `stopAt` throws) and keeps every step.
std::vector<ThrowStep> RunAll(DiceRun& run, int stopAt = -1) {
    std::vector<ThrowStep> steps;
    StopFlag stop;
    RunThrows(run, stop, [&](const ThrowStep& s) {
        steps.push_back(s);
        if (s.throwNumber == stopAt) stop.stop = true;
    });
    return steps;
}

DiceRun MakeRun(Choice choice, int n, Probabilities p, bool fast = true, std::uint32_t seed = 12345) {
    RandSeed = seed;
    return DiceRun(RunSettings{choice, n, p, fast});
}

constexpr Probabilities kFairCoin{0.5, 0.5, 0, 0, 0, 0};
constexpr Probabilities kFairDie{0.16667, 0.16667, 0.16667, 0.16667, 0.16667, 0.16667};

TEST(DiceSettings, ThrowsFieldBounds) {
    EXPECT_EQ(CheckThrows("10").throws, 10);
    EXPECT_EQ(CheckThrows("100000").throws, 100000);
    EXPECT_EQ(CheckThrows(" 500 ").throws, 500);
    EXPECT_EQ(CheckThrows("10").error, SettingsError::None);
    EXPECT_EQ(CheckThrows("100001").error, SettingsError::TooManyThrows);
    EXPECT_EQ(CheckThrows("9").error, SettingsError::TooFewThrows);
}

TEST(DiceSettings, ThrowsFieldBadInput) {
    // Empty, a lone sign or text: no number at all, so too few.
    for (const char* t : {"", "   ", "-", "abc", "12a", "1.5e3"})
        EXPECT_EQ(CheckThrows(t).error, SettingsError::TooFewThrows) << t;
    EXPECT_EQ(CheckThrows("-5").error, SettingsError::TooFewThrows);
    // Too long to hold: still the message that fits its sign.
    EXPECT_EQ(CheckThrows("123456789012345678901234").error, SettingsError::TooManyThrows);
    EXPECT_EQ(CheckThrows("-123456789012345678901234").error, SettingsError::TooFewThrows);
    EXPECT_EQ(CheckThrows("4294967306").error, SettingsError::TooManyThrows); // 2^32 + 10 must not wrap
}

TEST(DiceSettings, ProbabilityChecks) {
    auto check = [](Choice c, std::initializer_list<const char*> v) {
        return CheckProbabilities(c, Texts(v)).error;
    };
    EXPECT_EQ(check(Choice::FairCoin, {"0.5", "0.5", "0", "0", "0", "0"}), SettingsError::None);
    EXPECT_EQ(check(Choice::BiasedCoin, {"0,3", " 0.7 ", "0", "0", "0", "0"}), SettingsError::None);
    EXPECT_EQ(check(Choice::BiasedCoin, {"0.3", "", "0", "0", "0", "0"}), SettingsError::NotANumber);
    EXPECT_EQ(check(Choice::BiasedDie, {"0.2", "0.2", "0.2", "0.2", "0.2", "1e"}), SettingsError::NotANumber);
    EXPECT_EQ(check(Choice::BiasedCoin, {"0.3", "0.6", "0", "0", "0", "0"}), SettingsError::SumNotOne);
    EXPECT_EQ(check(Choice::BiasedCoin, {"0.3", "0.70009", "0", "0", "0", "0"}), SettingsError::None);
    EXPECT_EQ(check(Choice::BiasedCoin, {"0.3", "0.7002", "0", "0", "0", "0"}), SettingsError::SumNotOne);
    // Out of [0, 1] wins over a wrong sum.
    EXPECT_EQ(check(Choice::BiasedDie, {"0.5", "1.5", "0", "0", "0", "0"}), SettingsError::OutOfRange);
    EXPECT_EQ(check(Choice::BiasedDie, {"0.5", "1.5", "-1", "0", "0", "0"}), SettingsError::OutOfRange);
    // P(X=1) outside [0.1, 0.9] is refused whatever the rest.
    EXPECT_EQ(check(Choice::BiasedDie, {"0.05", "0.19", "0.19", "0.19", "0.19", "0.19"}),
              SettingsError::FirstOutOfWalkRange);
    EXPECT_EQ(check(Choice::BiasedCoin, {"0.95", "0.05", "0", "0", "0", "0"}),
              SettingsError::FirstOutOfWalkRange);
    EXPECT_EQ(check(Choice::BiasedCoin, {"0.1", "0.9", "0", "0", "0", "0"}), SettingsError::None);
    EXPECT_EQ(check(Choice::BiasedCoin, {"0.9", "0.1", "0", "0", "0", "0"}), SettingsError::None);
    // The fair die is taken as read: its fields never add up to exactly 1.
    EXPECT_EQ(check(Choice::FairDie, {"0.16667", "0.16667", "0.16667", "0.16667", "0.16667", "0.16667"}),
              SettingsError::None);
    const auto ok = CheckProbabilities(Choice::BiasedCoin, Texts({"0,3", "0.7", "0", "0", "0", "0"}));
    EXPECT_DOUBLE_EQ(ok.p[0], 0.3);
    EXPECT_DOUBLE_EQ(ok.p[1], 0.7);
}

TEST(DiceGeometry, BarScaleByNumberOfThrows) {
    EXPECT_DOUBLE_EQ(BarScale(10, kFairCoin), 47 / 5.0);
    EXPECT_DOUBLE_EQ(BarScale(24, kFairCoin), 47 / 12.0);
    EXPECT_DOUBLE_EQ(BarScale(25, kFairCoin), 65 / 12.5);
    EXPECT_DOUBLE_EQ(BarScale(74, kFairCoin), 65 / 37.0);
    EXPECT_DOUBLE_EQ(BarScale(75, kFairCoin), 83 / 37.5);
    EXPECT_DOUBLE_EQ(BarScale(199, kFairCoin), 83 / 99.5);
    EXPECT_DOUBLE_EQ(BarScale(200, kFairCoin), 95 / 100.0);
    // The largest probability sets the scale.
    EXPECT_DOUBLE_EQ(BarScale(1000, {0.1, 0.2, 0.3, 0.4, 0, 0}), 95 / 400.0);
    EXPECT_EQ(BarTop(0, 1.5), kBarBase);
    EXPECT_EQ(BarTop(10, 9.4), 50);
}

TEST(DiceGeometry, RowStep) {
    EXPECT_EQ(RowStep(10), 1);
    EXPECT_EQ(RowStep(15), 1);
    EXPECT_EQ(RowStep(16), 2);
    EXPECT_EQ(RowStep(30), 2);
    EXPECT_EQ(RowStep(1000), 67);
    EXPECT_EQ(RowStep(100000), 6667);
}

TEST(DiceFaceTable, FilledInFaceOrder) {
    const auto table = BuildFaceTable({0.3, 0.7, 0, 0, 0, 0});
    EXPECT_EQ(FaceTableCounts(table), (Counts{180, 420, 0, 0, 0, 0}));
    EXPECT_TRUE(std::is_sorted(table.begin(), table.end()));
    EXPECT_EQ(table.front(), 1);
    EXPECT_EQ(table[179], 1);
    EXPECT_EQ(table[180], 2);
}

TEST(DiceFaceTable, TiesRoundToEven) {
    // 148.5, 148.5, 7.5, 4.5, 1.5 and 289.5 entries: to even they add up to 600.
    EXPECT_EQ(FaceTableCounts(BuildFaceTable({0.2475, 0.2475, 0.0125, 0.0075, 0.0025, 0.4825})),
              (Counts{148, 148, 8, 4, 2, 290}));
}

TEST(DiceFaceTable, CompletedOrCutToSixHundred) {
    // 60.48 x 5 and 297.54 round to 598: the two faces furthest below their share get one more.
    EXPECT_EQ(FaceTableCounts(BuildFaceTable({0.1008, 0.1008, 0.1008, 0.1008, 0.1008, 0.4959})),
              (Counts{61, 61, 60, 60, 60, 298}));
    // 60.54 x 3, 139.44 x 2 and 139.5 round to 601: the face furthest above loses one.
    EXPECT_EQ(FaceTableCounts(BuildFaceTable({0.1009, 0.1009, 0.1009, 0.2324, 0.2324, 0.2325})),
              (Counts{61, 61, 61, 139, 139, 139}));
    // A face without a chance never enters the table.
    const Counts c = FaceTableCounts(BuildFaceTable({0.33335, 0.33335, 0.3333, 0, 0, 0}));
    EXPECT_EQ(std::accumulate(c.begin(), c.end(), 0), kFaceTableSize);
    EXPECT_EQ(c[3] + c[4] + c[5], 0);
}

TEST(DiceRunTest, FairCoinLeavesFacesThreeToSixEmpty) {
    DiceRun run = MakeRun(Choice::FairCoin, 2000, kFairCoin);
    RunAll(run);
    const Counts& c = run.counts();
    EXPECT_EQ(c[0] + c[1], 2000);
    EXPECT_GT(c[0], 0);
    EXPECT_GT(c[1], 0);
    for (int k = 2; k < kFaces; ++k) {
        EXPECT_EQ(c[k], 0);
        EXPECT_EQ(run.barTops()[k], kBarBase);
    }
}

TEST(DiceRunTest, FairDieUsesAllSixFaces) {
    DiceRun run = MakeRun(Choice::FairDie, 6000, kFairDie);
    RunAll(run);
    for (int c : run.counts()) EXPECT_NEAR(c, 1000, 150);
}

TEST(DiceRunTest, BiasedDieFollowsItsProbabilities) {
    DiceRun run = MakeRun(Choice::BiasedDie, 60000, {0.5, 0.1, 0.1, 0.1, 0.2, 0.0});
    RunAll(run);
    EXPECT_NEAR(run.frequency(1), 0.5, 0.01);
    EXPECT_NEAR(run.frequency(5), 0.2, 0.01);
    EXPECT_EQ(run.counts()[5], 0);
}

TEST(DiceRunTest, TenThrows) {
    DiceRun run = MakeRun(Choice::FairCoin, 10, kFairCoin);
    const auto steps = RunAll(run);
    ASSERT_EQ(steps.size(), 10u);
    EXPECT_EQ(run.rowStep(), 1);
    ASSERT_EQ(run.rows().size(), 10u);
    Counts c{};
    for (int i = 0; i < 10; ++i) {
        ++c[steps[i].face - 1];
        EXPECT_EQ(run.rows()[i].throwNumber, i + 1);
        EXPECT_DOUBLE_EQ(run.rows()[i].frequency[0], c[0] / double(i + 1));
        EXPECT_DOUBLE_EQ(run.rows()[i].frequency[1], c[1] / double(i + 1));
    }
    ASSERT_EQ(run.walkSamples().size(), 10u);
    const WalkLayout walk = LayoutWalk(run.walkSamples(), 10);
    ASSERT_TRUE(walk.possible);
    ASSERT_EQ(walk.curve.size(), 11u);
    EXPECT_EQ(walk.step, 35);
    for (std::size_t k = 0; k < walk.curve.size(); ++k)
        EXPECT_EQ(walk.curve[k].x, 60 + 35 * static_cast<int>(k));
}

TEST(DiceRunTest, ThousandThrowsTableRows) {
    DiceRun run = MakeRun(Choice::FairDie, 1000, kFairDie);
    RunAll(run);
    EXPECT_EQ(run.rowStep(), 67);
    ASSERT_EQ(run.rows().size(), 15u);
    for (int r = 0; r < 14; ++r) EXPECT_EQ(run.rows()[r].throwNumber, 67 * (r + 1));
    EXPECT_EQ(run.rows()[13].throwNumber, 938);
    EXPECT_EQ(run.rows()[14].throwNumber, 1000);
    for (int k = 1; k <= kFaces; ++k) EXPECT_DOUBLE_EQ(run.rows()[14].frequency[k - 1], run.frequency(k));
    EXPECT_EQ(run.walkSamples().size(), 350u);
}

TEST(DiceRunTest, RowsWhenTheStepLeavesFewer) {
    // 16 throws: a row every 2 throws, 8 rows in all.
    DiceRun run = MakeRun(Choice::FairCoin, 16, kFairCoin);
    RunAll(run);
    ASSERT_EQ(run.rows().size(), 8u);
    EXPECT_EQ(run.rows().back().throwNumber, 16);
    // 31 throws: every 3 throws and the last one.
    DiceRun run31 = MakeRun(Choice::FairCoin, 31, kFairCoin);
    RunAll(run31);
    ASSERT_EQ(run31.rows().size(), 11u);
    EXPECT_EQ(run31.rows()[9].throwNumber, 30);
    EXPECT_EQ(run31.rows()[10].throwNumber, 31);
}

TEST(DiceRunTest, WalkSamplesSpreadOverLongRuns) {
    for (int n : {351, 1000, 99999, 100000}) {
        DiceRun run = MakeRun(Choice::BiasedCoin, n, {0.3, 0.7, 0, 0, 0, 0});
        std::vector<int> sampledAt;
        StopFlag never;
        std::size_t before = 0;
        RunThrows(run, never, [&](const ThrowStep& s) {
            if (run.walkSamples().size() > before) sampledAt.push_back(s.throwNumber);
            before = run.walkSamples().size();
        });
        ASSERT_EQ(sampledAt.size(), 350u) << n;
        EXPECT_EQ(sampledAt.back(), n);
        // Sample k is taken at the first throw i with i * 350 / n >= k.
        for (std::size_t k = 0; k < sampledAt.size(); ++k)
            EXPECT_EQ(sampledAt[k], static_cast<int>((static_cast<long long>(k + 1) * n + 349) / 350)) << n;
    }
}

// The walk bookkeeping computed from the faces alone.
struct WalkFigures {
    int ones = 0, above = 0, longest = 0;
    std::vector<double> values;
};

WalkFigures FromFaces(const std::vector<ThrowStep>& steps, double q, double expected) {
    WalkFigures w;
    bool prev = false;
    int runLength = 0;
    for (const ThrowStep& s : steps) {
        const int i = s.throwNumber;
        runLength = s.face == 1 ? runLength + 1 : 0;
        w.longest = std::max(w.longest, runLength);
        if (s.face == 1) ++w.ones;
        const double d = w.ones - i * q;
        if (d > 0 || (d == 0 && prev)) ++w.above;
        prev = d > 0;
        w.values.push_back(w.ones - i * expected);
    }
    return w;
}

TEST(DiceRunTest, WalkBookkeeping) {
    for (std::uint32_t seed : {1u, 77u, 4242u}) {
        DiceRun coin = MakeRun(Choice::FairCoin, 300, kFairCoin, true, seed);
        const auto steps = RunAll(coin);
        const WalkFigures w = FromFaces(steps, 0.5, 0.5);
        EXPECT_EQ(coin.ones(), w.ones);
        EXPECT_EQ(coin.aboveCount(), w.above);
        EXPECT_EQ(coin.longestRun(), w.longest);
        EXPECT_EQ(coin.walkSamples(), w.values);
        EXPECT_DOUBLE_EQ(coin.percentageAbove(), 100.0 * w.above / 300);
    }
    // The fair die: 1/6 for the time above zero, 0.16666667 for the samples.
    DiceRun die = MakeRun(Choice::FairDie, 200, kFairDie, true, 99);
    const auto steps = RunAll(die);
    const WalkFigures w = FromFaces(steps, 1.0 / 6.0, 0.16666667);
    EXPECT_EQ(die.aboveCount(), w.above);
    EXPECT_EQ(die.walkSamples(), w.values);
}

TEST(DiceRunTest, TieWithZeroCountsAsAboveOnlyAfterAbove) {
    // Look for fair-coin runs that start 1, 2 (above, then a tie: above) and
    // 2, 1 (below, then a tie: not above).
    bool seenUp = false, seenDown = false;
    for (std::uint32_t seed = 0; seed < 200 && !(seenUp && seenDown); ++seed) {
        DiceRun run = MakeRun(Choice::FairCoin, 10, kFairCoin, true, seed);
        const auto steps = RunAll(run, 2);
        if (steps[0].face == 1 && steps[1].face == 2) {
            EXPECT_EQ(run.aboveCount(), 2);
            seenUp = true;
        }
        if (steps[0].face == 2 && steps[1].face == 1) {
            EXPECT_EQ(run.aboveCount(), 0);
            seenDown = true;
        }
    }
    EXPECT_TRUE(seenUp && seenDown);
}

TEST(DiceRunTest, BarsAndRefreshPoints) {
    DiceRun fast = MakeRun(Choice::FairDie, 1000, kFairDie, true);
    const auto steps = RunAll(fast);
    int refreshes = 0;
    for (const ThrowStep& s : steps) {
        if (s.refresh) {
            ++refreshes;
            EXPECT_TRUE(s.throwNumber % 100 == 0 || s.throwNumber == 1000);
        }
    }
    EXPECT_EQ(refreshes, 10);
    for (int k = 1; k <= kFaces; ++k)
        EXPECT_EQ(fast.barTops()[k - 1],
                  std::max(kBarCeiling, BarTop(fast.counts()[k - 1], fast.barScale())));

    // Without "fast" every rise of a bar is shown; short runs always are.
    for (auto [n, isFast] : {std::pair{1000, false}, std::pair{50, true}}) {
        DiceRun run = MakeRun(Choice::FairDie, n, kFairDie, isFast);
        for (const ThrowStep& s : RunAll(run)) {
            if (s.grew) {
                EXPECT_TRUE(s.refresh);
            } else if (s.throwNumber % 100 != 0 && s.throwNumber != n) {
                EXPECT_FALSE(s.refresh);
            }
        }
    }
}

TEST(DiceRunTest, BarStopsAtTheCeilingWithACap) {
    // Ten fair-die throws: 28.2 pixels a throw, so a face thrown five times
    // would pass the ceiling.
    bool found = false;
    for (std::uint32_t seed = 0; seed < 5000 && !found; ++seed) {
        DiceRun run = MakeRun(Choice::FairDie, 10, kFairDie, true, seed);
        const auto steps = RunAll(run);
        const auto most = std::max_element(run.counts().begin(), run.counts().end());
        if (*most < 5) continue;
        found = true;
        const int face = static_cast<int>(most - run.counts().begin()) + 1;
        EXPECT_EQ(run.barTops()[face - 1], kBarCeiling);
        int caps = 0;
        for (const ThrowStep& s : steps)
            if (s.face == face && s.capped) ++caps;
        EXPECT_EQ(caps, 1);
    }
    EXPECT_TRUE(found);
}

TEST(DiceRunTest, StopAfterFiveHundredOfTenThousand) {
    DiceRun run = MakeRun(Choice::FairCoin, 10000, kFairCoin);
    RunAll(run, 500);
    EXPECT_EQ(run.throwsMade(), 500);
    EXPECT_FALSE(run.done());
    EXPECT_EQ(run.counts()[0] + run.counts()[1], 500);
    EXPECT_TRUE(run.rows().empty()); // the first row is due at throw 667
    EXPECT_EQ(run.walkSamples().size(), 17u);
    // The share above zero is over the throws made.
    EXPECT_DOUBLE_EQ(run.percentageAbove(), 100.0 * run.aboveCount() / 500);
    const WalkLayout walk = LayoutWalk(run.walkSamples(), 10000);
    EXPECT_EQ(walk.curve.size(), 18u);
    EXPECT_EQ(walk.curve.back().x, 60 + 17);
}

TEST(DiceWalk, ScaleFillsTheHeight) {
    const WalkLayout w = LayoutWalk({1, 3, -1, 2}, 4);
    ASSERT_TRUE(w.possible);
    EXPECT_DOUBLE_EQ(w.hi, 3);
    EXPECT_DOUBLE_EQ(w.lo, -1);
    EXPECT_EQ(w.step, 87);
    EXPECT_EQ(w.zeroY, 35 + 169); // round(3/4 * 225)
    EXPECT_EQ(w.curve[0], (WalkPoint{60, 204}));
    EXPECT_EQ(w.curve[2], (WalkPoint{60 + 2 * 87, 35}));
    EXPECT_EQ(w.curve[3], (WalkPoint{60 + 3 * 87, 260}));
    // All above zero: zero is the lowest value.
    const WalkLayout up = LayoutWalk({0.5, 1.5}, 350);
    EXPECT_DOUBLE_EQ(up.lo, 0);
    EXPECT_EQ(up.zeroY, 260);
}

TEST(DiceWalk, WideRangeStillFillsTheHeight) {
    // A walk from 0 down to -2000: far more than 225 units, no flat line.
    std::vector<double> samples;
    for (int k = 1; k <= 350; ++k) samples.push_back(-2000.0 * k / 350);
    const WalkLayout w = LayoutWalk(samples, 100000);
    ASSERT_TRUE(w.possible);
    EXPECT_EQ(w.zeroY, 35);
    EXPECT_EQ(w.curve.back().y, 260);
    EXPECT_EQ(w.curve.size(), 351u);
    for (std::size_t k = 1; k < w.curve.size(); ++k) {
        EXPECT_GE(w.curve[k].y, w.curve[k - 1].y);
        EXPECT_GE(w.curve[k].y, 35);
        EXPECT_LE(w.curve[k].y, 260);
    }
    EXPECT_GT(w.curve[175].y, 140);
    EXPECT_LT(w.curve[175].y, 155);
}

TEST(DiceWalk, NotPossibleWithoutSpread) {
    EXPECT_FALSE(LayoutWalk({}, 100).possible);
    EXPECT_FALSE(LayoutWalk({0, 0, 0}, 3).possible);
}

} // namespace
} // namespace tarvik::dice
