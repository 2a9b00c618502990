// St Petersburg, Kelly betting and the roulette systems.
#include "common/numformat.h"
#include "common/random.h"
#include "modules/montecarlo/kelly.h"
#include "modules/montecarlo/roulettesystems.h"
#include "modules/montecarlo/stpetersburg.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <numeric>

namespace {

using namespace tarvik::montecarlo;

class StopAfterYields : public tarvik::Progress {
public:
    explicit StopAfterYields(int n) : left_(n) {}
    void yield() override {
        if (--left_ <= 0) stop_ = true;
    }
    bool stopRequested() const override { return stop_; }

private:
    int left_;
    bool stop_ = false;
};

// --- St Petersburg ---------------------------------------------------------------

TEST(StPetersburg, AHeadAtTheFirstTossPaysTwoAndTwentyFiveTossesPayAtMostTwoToTheTwentyFifth) {
    tarvik::Progress progress;
    EXPECT_EQ(SppGameWith(
                  10, [] { return 0.2; }, progress),
              2);
    int n = 0;
    EXPECT_EQ(SppGameWith(
                  25, [&] { return ++n < 25 ? 0.7 : 0.1; }, progress),
              33554432);
    EXPECT_EQ(SppGameWith(
                  25, [] { return 0.7; }, progress),
              0);
    n = 0;
    EXPECT_EQ(SppGameWith(
                  3, [&] { return ++n < 3 ? 0.5 : 0.49; }, progress),
              8); // 0.5 is tails
}

TEST(StPetersburg, WithMOneEveryPayOutIsZeroOrTwo) {
    StartGenerators(12u);
    tarvik::Progress progress;
    const SppResult r = RunStPetersburg({.m = 1, .runs = 5000}, ChooseStream(), progress);
    for (long long p : r.payouts) EXPECT_TRUE(p == 0 || p == 2);
    EXPECT_EQ(SppY(1), 293);
}

TEST(StPetersburg, AverageLiesWithinFourAndAHalfStandardErrorsOfM) {
    StartGenerators(8u);
    tarvik::Progress progress;
    for (int m : {1, 4, 10}) {
        const SppResult r = RunStPetersburg({.m = m, .runs = 100000}, ChooseStream(), progress);
        // Variance of one pay-out: E[X^2] - m^2 with E[X^2] = sum 4^j / 2^j.
        const double ex2 = std::pow(2.0, m + 1) - 2;
        const double se = std::sqrt((ex2 - m * m) / r.runs());
        EXPECT_LT(std::fabs(r.average() - m), 4.5 * se) << m;
        const Interval i = r.interval();
        EXPECT_NEAR((i.upper - i.lower) / 2 / 1.96, se, se * 0.2) << m;
    }
}

TEST(StPetersburg, StopDuringTheFirstRunCompletesItAndLeavesTheIntervalEmpty) {
    StopAfterYields progress(1);
    const SppResult r = RunStPetersburg({.m = 25, .runs = 1000}, 4, progress);
    ASSERT_EQ(r.runs(), 1);
    EXPECT_DOUBLE_EQ(r.average(), static_cast<double>(r.payouts[0]));
    EXPECT_EQ(r.intervalText(), "");
    EXPECT_FALSE(r.averageText().empty());
}

TEST(StPetersburg, AverageTextIsRoundedToFourSignificantDigitsWithThreeDecimals) {
    SppResult r;
    r.payouts = {12, 13, 12};
    r.sum = 37; // 12.333...
    EXPECT_EQ(r.averageText(), "12.330");
}

// --- Kelly --------------------------------------------------------------------------

KellyTexts Texts(std::vector<std::string> p, std::vector<std::string> u, std::vector<std::string> f) {
    KellyTexts t;
    t.horses = static_cast<int>(p.size());
    for (std::size_t i = 0; i < p.size(); ++i) {
        t.probabilities[i] = p[i];
        t.payoffs[i] = u[i];
        t.fractions[i] = f[i];
    }
    return t;
}

std::string Message(const KellyTexts& t) {
    const auto r = ValidateKelly(t);
    if (const auto* e = std::get_if<KellyError>(&r)) return e->message;
    return "accepted";
}

TEST(Kelly, TheTwoExamplesOfThreeHorses) {
    const KellyFractions a = ComputeKellyFractions({0.5, 0.3, 0.2}, {2.5, 3, 3});
    ASSERT_EQ(a.R.size(), 3u);
    EXPECT_NEAR(a.R[0], 0.8333333, 1e-6);
    EXPECT_NEAR(a.R[1], 0.75, 1e-12);
    EXPECT_EQ(a.R[2], -1);
    EXPECT_EQ(a.kstar, 2);
    EXPECT_NEAR(a.g[0], 0.2, 1e-12);
    EXPECT_NEAR(a.g[1], 0.05, 1e-12);
    EXPECT_EQ(a.g[2], 0);
    const KellyFractions b = ComputeKellyFractions({0.5, 0.3, 0.2}, {2.5, 3, 4});
    EXPECT_NEAR(b.Rstar, 0, 1e-12);
    EXPECT_NEAR(b.g[0], 0.5, 1e-12);
    EXPECT_NEAR(b.g[1], 0.3, 1e-12);
    EXPECT_NEAR(b.g[2], 0.2, 1e-12);
}

double Growth(const std::vector<double>& p, const std::vector<double>& u, const std::vector<double>& x) {
    const double F = std::accumulate(x.begin(), x.end(), 0.0);
    double s = 0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (p[i] == 0) continue;
        const double t = 1 - F + x[i] * u[i];
        if (t <= 0) return -1e300;
        s += p[i] * std::log(t);
    }
    return s;
}

TEST(Kelly, FractionsMaximiseTheExpectedLogarithmOfTheCapital) {
    const std::vector<std::pair<std::vector<double>, std::vector<double>>> cases = {
        {{0.5, 0.3, 0.2}, {2.5, 3, 3}},
        {{0.5, 0.3, 0.2}, {2.5, 3, 4}},
        {{0.6, 0.25, 0.15}, {2.0, 3.5, 5}},
        {{0.2, 0.45, 0.35}, {6, 2, 2.5}},
    };
    for (const auto& [p, u] : cases) {
        const KellyFractions k = ComputeKellyFractions(p, u);
        const double best = Growth(p, u, k.g);
        // A grid over every admissible choice of three fractions.
        double gridBest = -1e300;
        for (int a = 0; a <= 100; ++a)
            for (int b = 0; a + b <= 100; ++b)
                for (int c = 0; a + b + c <= 100; ++c)
                    gridBest = std::max(gridBest, Growth(p, u, {a / 100.0, b / 100.0, c / 100.0}));
        EXPECT_GE(best, gridBest - 1e-12) << p[0] << " " << u[0];
        EXPECT_LT(best - gridBest, 1e-3);
    }
}

TEST(Kelly, ValidationReportsTheFirstFailureInTheOrderOfTheChecks) {
    EXPECT_EQ(Message(Texts({"0.5", "x"}, {"y", "2"}, {"0", "0"})), "A wrong number has been entered.");
    const auto r = ValidateKelly(Texts({"0.5", "-0.1"}, {"y", "2"}, {"0", "0"}));
    ASSERT_TRUE(std::holds_alternative<KellyError>(r));
    EXPECT_EQ(std::get<KellyError>(r).message, "Negative probability is not possible!");
    EXPECT_EQ(std::get<KellyError>(r).group, KellyGroup::Probability);
    EXPECT_EQ(std::get<KellyError>(r).horse, 1);
    EXPECT_EQ(Message(Texts({"0.5", "0.5"}, {"2.5", ""}, {"0", "0"})), "A wrong number has been entered.");
    EXPECT_EQ(Message(Texts({"0.5", "0.5"}, {"2.5", "1"}, {"0", "-1"})),
              "Negative fractions is not possible");
    EXPECT_EQ(Message(Texts({"0.5", "0.4"}, {"2.5", "1"}, {"0", "0"})),
              "Sum of the profit probabilities is not equal to 1");
    EXPECT_EQ(Message(Texts({"0.5", "0.5"}, {"2.5", "1"}, {"0.6", "0.6"})),
              "Sum of the fractions is larger then 1");
    EXPECT_EQ(Message(Texts({"0.5", "0.5"}, {"1", "1"}, {"0", "0"})),
              "The condition on pay-off times probability are not satisfied");
    EXPECT_EQ(Message(Texts({"0.5", "0.5"}, {"2.5", "2.5"}, {"0", "0"})),
              "Not all profit probabilities times pay-off are allowed to be larger as 1.");
    EXPECT_EQ(Message(Texts({"0.5", "0.5"}, {"4.5", "1"}, {"0", "0"})),
              "The possibility of pay-out times profit probability is larger then 2.");
    EXPECT_EQ(Message(Texts({"0.5", "0,5"}, {"2.5", "1"}, {"0.1", "0"})), "accepted");
    // Too long, blank or not finite: no number.
    EXPECT_EQ(Message(Texts({"0.5", "1e999"}, {"2.5", "1"}, {"0", "0"})), "A wrong number has been entered.");
    EXPECT_EQ(Message(Texts({"0.5", "nan"}, {"2.5", "1"}, {"0", "0"})), "A wrong number has been entered.");
}

TEST(Kelly, ProbabilitiesMayMissOneByAtMostOneThousandth) {
    EXPECT_EQ(Message(Texts({"0.5005", "0.5"}, {"2.5", "1"}, {"0", "0"})), "accepted");
    EXPECT_EQ(Message(Texts({"0.502", "0.5"}, {"2.5", "1"}, {"0", "0"})),
              "Sum of the profit probabilities is not equal to 1");
}

TEST(Kelly, APayOffOfZeroOrBelowIsTakenAsOneMillionth) {
    const auto r = ValidateKelly(Texts({"0.5", "0.5"}, {"2.5", "0"}, {"0", "0"}));
    ASSERT_TRUE(std::holds_alternative<KellyInput>(r));
    EXPECT_EQ(std::get<KellyInput>(r).u[1], 0.000001);
    const auto s = ValidateKelly(Texts({"0.5", "0.5"}, {"2.5", "-3"}, {"0", "0"}));
    EXPECT_EQ(std::get<KellyInput>(s).u[1], 0.000001);
}

TEST(Kelly, OwnFractionsOfZeroKeepTheCapitalAtOne) {
    tarvik::RandSeed = 10;
    const KellyRun run = RunKelly({.races = 500, .p = {0.5, 0.3, 0.2}, .u = {2.5, 3, 3}, .f = {0, 0, 0}});
    ASSERT_EQ(run.own.size(), 501u);
    for (double c : run.own) EXPECT_EQ(c, 1.0);
    EXPECT_EQ(run.SimulatedRate(false), 0.0);
}

TEST(Kelly, TheoreticalRateOfAHorseThatCannotWinIsLeftOut) {
    // p = 0.5, 0.5, 0: Kelly bets everything on the first two horses (F = 1),
    // so the third horse's term is 0 and its logarithm undefined.
    const KellyFractions k = ComputeKellyFractions({0.5, 0.5, 0}, {2.5, 2.5, 10});
    EXPECT_NEAR(k.g[0], 0.5, 1e-12);
    EXPECT_NEAR(k.g[1], 0.5, 1e-12);
    EXPECT_EQ(k.g[2], 0);
    const double rate = KellyTheoreticalRate({0.5, 0.5, 0}, {2.5, 2.5, 10}, k.g);
    EXPECT_NEAR(rate, 25.0, 1e-9);
    // A horse that can win with a non-positive term loses everything.
    EXPECT_EQ(KellyTheoreticalRate({0.5, 0.5}, {2.5, 1}, {1, 0}), -100.0);
}

TEST(Kelly, EveryEntryOfTheWinnerTableNamesAHorse) {
    const auto t = KellyWinnerTable({0.3333, 0.3333, 0.3334});
    for (int e = 1; e <= 1000; ++e) EXPECT_GE(t[static_cast<std::size_t>(e)], 0) << e;
    EXPECT_EQ(t[333], 0);
    EXPECT_EQ(t[334], 1);
    EXPECT_EQ(t[1000], 2);
    // Three decimals adding up to 1: exactly round(1000 p) entries each.
    const auto u = KellyWinnerTable({0.125, 0.5, 0.375, 0});
    EXPECT_EQ(std::count(u.begin() + 1, u.end(), 0), 125);
    EXPECT_EQ(std::count(u.begin() + 1, u.end(), 1), 500);
    EXPECT_EQ(std::count(u.begin() + 1, u.end(), 2), 375);
    EXPECT_EQ(std::count(u.begin() + 1, u.end(), 3), 0);
}

TEST(Kelly, LogGrowthLiesWithinFourAndAHalfStandardErrorsOfTheTheory) {
    tarvik::RandSeed = 123456;
    const std::vector<double> p = {0.5, 0.3, 0.2}, u = {2.5, 3, 3};
    const KellyRun run = RunKelly({.races = 5000, .p = p, .u = u, .f = {0.1, 0.1, 0}});
    for (const auto& [x, log10End] :
         {std::pair{run.kelly.g, run.kellyLog10}, std::pair{run.input.f, run.ownLog10}}) {
        const double F = std::accumulate(x.begin(), x.end(), 0.0);
        double mean = 0, sq = 0;
        for (std::size_t i = 0; i < p.size(); ++i) {
            const double l = std::log(1 - F + x[i] * u[i]);
            mean += p[i] * l;
            sq += p[i] * l * l;
        }
        const double se = std::sqrt((sq - mean * mean) / 5000);
        EXPECT_LT(std::fabs(log10End * std::log(10.0) / 5000 - mean), 4.5 * se);
    }
}

TEST(Kelly, CapitalsFarBeyondTheRangeOfADoubleStillGetATextAndARate) {
    tarvik::RandSeed = 3;
    // Everything bet, half on each horse: the capital grows by 1.95 or 0.95
    // in every race, about 10^0.13 a race on average.
    const KellyRun run = RunKelly({.races = 5000, .p = {0.5, 0.5}, .u = {3.9, 1.9}, .f = {0.5, 0.5}});
    EXPECT_GT(run.ownLog10, 308);
    const std::string text = KellyGraphCapital(run.ownLog10);
    EXPECT_EQ(text.find("INF"), std::string::npos);
    EXPECT_NE(text.find('E'), std::string::npos);
    EXPECT_TRUE(std::isfinite(run.SimulatedRate(false)));
    for (const ReportLine& l : KellyReport(run)) {
        EXPECT_EQ(l.text.find("NAN"), std::string::npos);
        EXPECT_EQ(l.text.find("INF"), std::string::npos);
    }
}

TEST(Kelly, ReportLinesOfTheTable) {
    tarvik::RandSeed = 1;
    const KellyRun run = RunKelly({.races = 10, .p = {0.5, 0.3, 0.2}, .u = {2.5, 3, 30}, .f = {0.1, 0, 0}});
    const auto lines = KellyReport(run);
    EXPECT_EQ(lines[1].text, std::string(60, '_'));
    EXPECT_EQ(lines[3].text, "Horse     Profit Prob. pay-off        Own fraction    Fraction Kelly");
    EXPECT_EQ(lines[4].text, "Horse  1    0.500          2.50           0.10000         " +
                                 tarvik::FormatFixed(run.kelly.g[0], 5));
    EXPECT_EQ(lines[6].text.substr(0, 31), "Horse  3    0.200         30.00");
}

TEST(Kelly, ScaleTopOfTheGraph) {
    EXPECT_EQ(KellyScaleTop(5), 10);
    EXPECT_EQ(KellyScaleTop(10), 10);
    EXPECT_EQ(KellyScaleTop(10.5), 20);
    EXPECT_EQ(KellyScaleTop(999), 1000);
    EXPECT_EQ(KellyScaleTop(12345), 20000);
    EXPECT_EQ(KellyScaleTop(1e9), 100000);
}

// --- Roulette systems ---------------------------------------------------------------

TEST(RouletteRun, StartTenDesiredElevenEndsAtTheFirstWin) {
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        tarvik::RandSeed = seed;
        const RouletteRealisation r = RunRouletteRealisation(10, 11);
        const auto& flat = r.systems[2].capital;
        // Flat stops at its first win (or at ruin, or when its extra rounds are up).
        for (std::size_t i = 1; i + 1 < flat.size(); ++i) EXPECT_LT(flat[i], 11);
        for (int s : {0, 1}) {
            const auto& c = r.systems[static_cast<std::size_t>(s)].capital;
            EXPECT_TRUE(c.back() == 11 || c.back() == 0);
            for (std::size_t i = 1; i + 1 < c.size(); ++i) EXPECT_LT(c[i], 11);
        }
        // The same spins: a first win ends both progressive systems at once.
        if (r.systems[0].capital.back() == 11 && r.systems[0].rounds == 1) {
            EXPECT_EQ(r.systems[1].rounds, 1);
        }
    }
}

TEST(RouletteRun, FlatPlaysAtMostAsManyRoundsAgainAsTheOthers) {
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        tarvik::RandSeed = seed;
        const RouletteRealisation r = RunRouletteRealisation(100, 200);
        const int i0 = std::max(r.systems[0].rounds, r.systems[1].rounds);
        EXPECT_LE(r.systems[2].rounds, 2 * i0);
        EXPECT_EQ(r.systems[2].staked, r.systems[2].rounds);
        EXPECT_EQ(r.systems[2].largestStake, 1);
        EXPECT_EQ(r.longest(), std::max({r.systems[0].rounds, r.systems[1].rounds, r.systems[2].rounds}));
    }
    EXPECT_EQ(CheckRouletteRun(200, 200), "Starting capital must be smaller then desired capital");
    EXPECT_EQ(CheckRouletteRun(10, 11), "");
}

// The exact distribution of the end capital after B bets, and the expected
// number of bets until ruin, by following every (capital, stake) state.
struct Exact {
    std::map<int, double> endCapital;
    double meanEnd = 0;
    double meanBets = 0;
};

Exact ExactSystem(int system, int S, int B) {
    const double win = 18.0 / 37.0;
    std::map<std::pair<int, int>, double> states{{{S, 1}, 1.0}};
    Exact e;
    for (int j = 1; j <= B; ++j) {
        std::map<std::pair<int, int>, double> next;
        for (const auto& [st, pr] : states) {
            const auto [c, s] = st;
            if (c == 0) {
                next[{0, 0}] += pr;
                continue;
            }
            for (bool won : {true, false}) {
                const int nc = won ? c + s : std::max(0, c - s);
                int ns = 1;
                if (system == 0) ns = won ? 1 : std::min(nc, 2 * s + 1);
                if (system == 1) ns = won ? std::max(s - 1, 1) : std::min(nc, s + 1);
                if (nc == 0) {
                    ns = 0;
                    e.meanBets += pr * (won ? win : 1 - win) * j;
                }
                next[{nc, ns}] += pr * (won ? win : 1 - win);
            }
        }
        states = std::move(next);
    }
    for (const auto& [st, pr] : states) {
        e.endCapital[st.first] += pr;
        e.meanEnd += pr * st.first;
        if (st.first > 0) e.meanBets += pr * B;
    }
    return e;
}

TEST(RouletteDistributions, MeansAgreeWithAnExactDynamicProgramme) {
    StartGenerators(55u);
    tarvik::Progress progress;
    const RouletteDistResult r = RunRouletteDistributions({.start = 10, .bets = 10, .runs = 20000}, progress);
    ASSERT_EQ(r.completed, 20000);
    for (int s = 0; s < kSystems; ++s) {
        const Exact e = ExactSystem(s, 10, 10);
        double var = 0;
        for (const auto& [c, pr] : e.endCapital) var += pr * (c - e.meanEnd) * (c - e.meanEnd);
        const auto& sys = r.systems[static_cast<std::size_t>(s)];
        EXPECT_LT(std::fabs(static_cast<double>(sys.mean) - e.meanEnd), 4.5 * std::sqrt(var / 20000)) << s;
        // Bets until ruin lie in 1 .. 10: their spread is at most 4.5.
        EXPECT_LT(std::fabs(static_cast<double>(sys.betsUntilRuin) / 20000 - e.meanBets),
                  4.5 * 4.5 / std::sqrt(20000.0))
            << s;
        // Ruin: class 0.
        const double p0 = e.endCapital.count(0) ? e.endCapital.at(0) : 0.0;
        EXPECT_LT(std::fabs(sys.frequencies[0] - p0), 4.5 * std::sqrt(p0 * (1 - p0) / 20000) + 1e-12) << s;
    }
}

TEST(RouletteDistributions, ClassesRunFromZeroToThreeTimesTheStartAndCatchEverythingAbove) {
    StartGenerators(9u);
    tarvik::Progress progress;
    const RouletteDistResult r = RunRouletteDistributions({.start = 10, .bets = 100, .runs = 2000}, progress);
    for (const auto& sys : r.systems) {
        ASSERT_EQ(sys.histogram.size(), 31u);
        EXPECT_EQ(std::accumulate(sys.histogram.begin(), sys.histogram.end(), 0LL), 2000);
        EXPECT_NEAR(std::accumulate(sys.frequencies.begin(), sys.frequencies.end(), 0.0), 1.0, 1e-9);
    }
    // Flat can only end above 30 with at least 60 net wins in 100 bets of
    // which many start at 10; Big Martingale often ends far above 3S.
    EXPECT_GT(r.systems[0].histogram[30], 0);
    // The exact chance of a Flat end capital of 30 or more, against its class.
    const Exact flat = ExactSystem(2, 10, 100);
    double above = 0;
    for (const auto& [c, pr] : flat.endCapital)
        if (c >= 30) above += pr;
    EXPECT_LT(std::fabs(r.systems[2].frequencies[30] - above),
              4.5 * std::sqrt(above * (1 - above) / 2000) + 1e-9);
    EXPECT_EQ(LogBarHeight(1), 88);
    EXPECT_EQ(LogBarHeight(0.0001), 0);
    EXPECT_EQ(LogBarHeight(0.00001), 0);
    EXPECT_EQ(LogBarHeight(0), -1);
}

TEST(RouletteDistributions, StopLeavesTheCompletedRunsAndPercentagesFollowTheRuns) {
    std::vector<int> percents;
    StopAfterYields progress(10 * 35 + 1); // ten bets per run: stop during run 36
    const RouletteDistResult r = RunRouletteDistributions({.start = 10, .bets = 10, .runs = 1000}, progress,
                                                          [&](int p) { percents.push_back(p); });
    EXPECT_EQ(r.completed, 36);
    EXPECT_EQ(percents, (std::vector<int>{1, 2, 3}));
    const RouletteDistData d = RouletteDistTexts(r);
    for (const auto& s : d.estimate) EXPECT_EQ(s.find("nan"), std::string::npos);
    EXPECT_NEAR(std::accumulate(r.systems[2].frequencies.begin(), r.systems[2].frequencies.end(), 0.0), 1.0,
                1e-9);
}

TEST(RouletteDistributions, EqualEndCapitalsGiveACollapsedIntervalNotNan) {
    RouletteDistResult r;
    r.params = {.start = 10, .bets = 10, .runs = 1000};
    r.completed = 1000;
    for (auto& s : r.systems) {
        long double mean = 0, sq = 0;
        for (int k = 1; k <= 1000; ++k) {
            mean = mean * (k - 1) / k + 13.0L / k;
            sq = sq * (k - 1) / k + 169.0L / k;
        }
        s.mean = mean;
        s.meanOfSquares = sq;
        s.staked = 100;
    }
    const RouletteDistData d = RouletteDistTexts(r);
    EXPECT_EQ(d.estimate[0], "13.0000      [13.0000,13.0000]");
}

} // namespace
