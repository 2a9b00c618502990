// Pi, the birthday problem and Buffon's needle.
#include "common/random.h"
#include "modules/montecarlo/birthday.h"
#include "modules/montecarlo/buffon.h"
#include "modules/montecarlo/pi.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

namespace {

using namespace tarvik::montecarlo;

// Stops after the given number of hand-overs to the event loop.
class StopAfterYields : public tarvik::Progress {
public:
    explicit StopAfterYields(int n) : left_(n) {}
    void yield() override {
        ++yields;
        if (--left_ <= 0) stop_ = true;
    }
    bool stopRequested() const override { return stop_; }
    int yields = 0;

private:
    int left_;
    bool stop_ = false;
};

TEST(Pi, TwentyFiveDrawsGiveMultiplesOfFourOverIAndAnIntervalFromTheSecondDraw) {
    StartGenerators(2024u);
    tarvik::Progress progress;
    std::vector<PiResult> states;
    const int stream = ChooseStream();
    const PiResult r = RunPi({.draws = 25, .fast = true}, stream, progress,
                             [&](const PiStep& s) { states.push_back(PiStateAfter(s, stream)); });
    ASSERT_EQ(states.size(), 25u);
    EXPECT_EQ(r.draws, 25);
    for (std::size_t i = 0; i < states.size(); ++i) {
        const int n = static_cast<int>(i) + 1;
        const double e = states[i].estimate();
        EXPECT_NEAR(e * n / 4, std::round(e * n / 4), 1e-12);
        EXPECT_EQ(states[i].intervalText().empty(), n < 2) << n;
    }
    EXPECT_EQ(PiResult::actualPiText(), "3.1416");
}

TEST(Pi, DrawsXThenYFromTheChosenStream) {
    tarvik::RndReset();
    tarvik::Progress progress;
    std::vector<PiStep> steps;
    RunPi({.draws = 3, .fast = true}, 7, progress, [&](const PiStep& s) { steps.push_back(s); });
    tarvik::RndReset();
    for (const PiStep& s : steps) {
        EXPECT_EQ(s.x, tarvik::RndUniform(7));
        EXPECT_EQ(s.y, tarvik::RndUniform(7));
        EXPECT_EQ(s.hit, s.x * s.x + s.y * s.y <= 1);
    }
}

TEST(Pi, EstimateLiesWithinFourAndAHalfStandardErrorsOfPi) {
    StartGenerators(99u);
    tarvik::Progress progress;
    const PiResult r = RunPi({.draws = 100000, .fast = true}, ChooseStream(), progress);
    const double p = std::numbers::pi / 4;
    const double se = 4 * std::sqrt(p * (1 - p) / r.draws);
    EXPECT_LT(std::fabs(r.estimate() - std::numbers::pi), 4.5 * se);
}

TEST(Pi, FastModeHandsOverEveryHundredDartsAndStopsThere) {
    StopAfterYields progress(2);
    const PiResult r = RunPi({.draws = 1000, .fast = true}, 1, progress);
    EXPECT_EQ(r.draws, 200);
    StopAfterYields slow(3);
    EXPECT_EQ(RunPi({.draws = 1000, .fast = false}, 1, slow).draws, 3);
}

// The chance that no two of m birthdays are within d days of each other on a
// circle of n days, from a count of the m-subsets with all gaps above d: the
// subsets holding day 0 are counted position by position, then turned around
// the circle.
double NoCloseBirthdays(int m, int d, int n = 365) {
    // ways[k][p]: subsets of k positions starting at 0 whose last position is p.
    std::vector<std::vector<long double>> ways(static_cast<std::size_t>(m) + 1,
                                               std::vector<long double>(static_cast<std::size_t>(n), 0));
    ways[1][0] = 1;
    for (int k = 2; k <= m; ++k) {
        long double prefix = 0;
        for (int p = 0; p < n; ++p) {
            const int q = p - (d + 1);
            if (q >= 0) prefix += ways[static_cast<std::size_t>(k - 1)][static_cast<std::size_t>(q)];
            ways[static_cast<std::size_t>(k)][static_cast<std::size_t>(p)] = prefix;
        }
    }
    long double withZero = 0;
    for (int p = 0; p < n; ++p)
        if (n - p >= d + 1) withZero += ways[static_cast<std::size_t>(m)][static_cast<std::size_t>(p)];
    // Every subset holds m of the n days: n/m times the subsets through day 0;
    // m! orders; n^m equally likely outcomes.
    long double ordered = withZero * n / m;
    for (int k = 2; k <= m; ++k) ordered *= k;
    for (int k = 0; k < m; ++k) ordered /= n;
    return static_cast<double>(ordered);
}

TEST(Birthday, ExactProbabilityAgreesWithACountOfSubsetsOnTheCircle) {
    for (int m : {2, 5, 10, 23, 40, 75})
        for (int d = 0; d <= 7; ++d)
            EXPECT_NEAR(ExactBirthdayProbability(m, d), 1 - NoCloseBirthdays(m, d), 1e-12) << m << " " << d;
}

TEST(Birthday, KnownValuesOfThePart) {
    BirthdayResult r;
    r.exact = ExactBirthdayProbability(23, 0);
    EXPECT_EQ(r.exactText(), "0.5073");
    r.exact = ExactBirthdayProbability(2, 0);
    EXPECT_EQ(r.exactText(), "0.0027");
    r.exact = ExactBirthdayProbability(75, 7);
    EXPECT_EQ(r.exactText(), "1.0000");
}

TEST(Birthday, SeventyFivePersonsSevenDaysApartAlwaysSucceed) {
    StartGenerators(5u);
    tarvik::Progress progress;
    const BirthdayResult r =
        RunBirthday({.persons = 75, .dayDifference = 7, .runs = 2000}, ChooseStream(), progress);
    EXPECT_EQ(r.successes, 2000);
    EXPECT_EQ(r.estimateText(), "1.0000");
    EXPECT_EQ(r.intervalText(), "[ 1.0000 ; 1.0000 ]");
}

TEST(Birthday, EstimatesLieWithinFourAndAHalfStandardErrorsOfTheExactValue) {
    StartGenerators(31337u);
    tarvik::Progress progress;
    for (const BirthdayParams& params : {BirthdayParams{.persons = 23, .dayDifference = 0, .runs = 20000},
                                         BirthdayParams{.persons = 10, .dayDifference = 2, .runs = 20000},
                                         BirthdayParams{.persons = 5, .dayDifference = 7, .runs = 20000}}) {
        const BirthdayResult r = RunBirthday(params, ChooseStream(), progress);
        const double p = r.exact;
        EXPECT_LT(std::fabs(r.estimate() - p), 4.5 * std::sqrt(p * (1 - p) / r.runs)) << params.persons;
    }
}

TEST(Birthday, EveryGraphColumnGetsItsValueOnceAndInOrder) {
    tarvik::RndReset();
    tarvik::Progress progress;
    std::vector<BirthdayColumn> cols;
    const BirthdayResult r = RunBirthday({.persons = 23, .dayDifference = 0, .runs = 350}, 3, progress,
                                         [&](const BirthdayColumn& c) { cols.push_back(c); });
    ASSERT_EQ(cols.size(), 325u);
    for (std::size_t i = 0; i < cols.size(); ++i) {
        EXPECT_EQ(cols[i].column, static_cast<int>(i) + 1);
        EXPECT_EQ(cols[i].previousColumn, static_cast<int>(i));
    }
    EXPECT_DOUBLE_EQ(r.columns[325], r.estimate());
    EXPECT_EQ(BirthdayY(0), 300);
    EXPECT_EQ(BirthdayY(1), 25);
    EXPECT_EQ(BirthdayY(0.5), 162);
}

TEST(Birthday, StopEndsTheRunsAtTheNextRun) {
    StopAfterYields progress(11);
    const BirthdayResult r = RunBirthday({.persons = 23, .dayDifference = 0, .runs = 1000}, 1, progress);
    EXPECT_EQ(r.runs, 10);
}

TEST(Buffon, PausingAndContinuingKeepsTheCountsAndTheTotal) {
    tarvik::RandSeed = 4711;
    BuffonExperiment e;
    e.Start(1000);
    StopAfterYields pauseAt(301);
    EXPECT_FALSE(RunBuffon(e, pauseAt));
    EXPECT_EQ(e.throws(), 300);
    const int crossed = e.crossings();
    tarvik::Progress rest;
    int more = 0;
    EXPECT_TRUE(RunBuffon(e, rest, [&](const Needle& n) { more += n.crosses ? 1 : 0; }));
    EXPECT_EQ(e.throws(), 1000);
    EXPECT_EQ(e.crossings(), crossed + more);
    // A fresh run resets the counts.
    e.Start(100);
    EXPECT_EQ(e.throws(), 0);
    EXPECT_EQ(e.crossings(), 0);
}

TEST(Buffon, CrossingShareLiesWithinFourAndAHalfStandardErrorsOfTwoOverPi) {
    tarvik::RandSeed = 2718;
    BuffonExperiment e;
    e.Start(100000);
    tarvik::Progress progress;
    RunBuffon(e, progress);
    const double p = 2 / std::numbers::pi;
    EXPECT_LT(std::fabs(static_cast<double>(e.crossings()) / e.throws() - p),
              4.5 * std::sqrt(p * (1 - p) / 1e5));
}

TEST(Buffon, NeedleEndsLieOneUnitApartAroundTheCentre) {
    tarvik::RandSeed = 1;
    for (int i = 0; i < 200; ++i) {
        const Needle n = ThrowNeedle();
        EXPECT_NEAR(std::hypot(n.x1 - n.x2, n.y1 - n.y2), 1.0, 1e-12);
        EXPECT_NEAR((n.x1 + n.x2) / 2, n.x, 1e-12);
        EXPECT_NEAR((n.y1 + n.y2) / 2, n.y, 1e-12);
        // It crosses exactly when its ends lie on different sides of a line
        // (or one end on it).
        EXPECT_EQ(n.crosses, std::floor(n.y1) != std::floor(n.y2) || n.y1 == std::floor(n.y1) ||
                                 n.y2 == std::floor(n.y2));
    }
    EXPECT_EQ(BuffonPixel(1), 76);
    EXPECT_EQ(BuffonPixel(6), 376);
}

TEST(Buffon, IntervalStaysEmptyUntilItsUpperEndHasAValue) {
    // One crossing in three throws: 2 / (f - spread) would be negative.
    EXPECT_FALSE(BuffonInterval(3, 1).valid);
    EXPECT_FALSE(BuffonInterval(100, 0).valid);
    const Interval i = BuffonInterval(1000, 640);
    ASSERT_TRUE(i.valid);
    EXPECT_LT(i.lower, 2 / 0.64);
    EXPECT_GT(i.upper, 2 / 0.64);
    BuffonExperiment e;
    e.Start(0);
    EXPECT_EQ(e.intervalText(), "");
    EXPECT_EQ(e.estimateText(), "");
}

} // namespace
