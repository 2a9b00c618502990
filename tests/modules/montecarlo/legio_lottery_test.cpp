// Legio risk, the scratch lottery and the lotto.
#include "common/random.h"
#include "modules/montecarlo/legio.h"
#include "modules/montecarlo/lotto.h"
#include "modules/montecarlo/scratch.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numeric>
#include <set>

namespace {

using namespace tarvik::montecarlo;

TEST(Legio, LargestWithdrawalIsTheAnnuityOfTheCapital) {
    EXPECT_EQ(LegioAnnuity(14, 20), 15098);
    EXPECT_EQ(LegioAnnuity(4, 20), 7358);
    EXPECT_EQ(LegioAnnuity(20, 20), 20535);
    // Annuity against the present value of the payments it makes.
    for (int term : {10, 15, 20}) {
        const double a = static_cast<double>(LegioAnnuity(7.5, term));
        double pv = 0;
        for (int j = 1; j <= term; ++j) pv += a / std::pow(1.075, j);
        EXPECT_LE(pv, kLegioCapital);
        EXPECT_GT(pv + 10, kLegioCapital);
    }
    EXPECT_EQ(LegioWithdrawalTexts("14", 20).label, "Yearly withdrawal(<=15098):");
    EXPECT_EQ(LegioWithdrawalTexts("14", 20).field, "15098");
    for (const char* bad : {"3.9", "20.5", "abc", "", "-14"}) {
        EXPECT_EQ(LegioWithdrawalTexts(bad, 20).label, "Yearly withdrawal:") << bad;
        EXPECT_EQ(LegioWithdrawalTexts(bad, 20).field, "Unknown") << bad;
    }
}

TEST(Legio, SettingsAreRefusedInTheirOrder) {
    struct Case {
        LegioTexts texts;
        LegioField field;
        std::string message;
    };
    const auto with = [](auto change) {
        LegioTexts t;
        t.withdrawal = "15098";
        change(t);
        return t;
    };
    const std::vector<Case> cases = {
        {with([](LegioTexts& t) { t.rate = "x"; }), LegioField::Rate, "Invalid number for return percentage"},
        {with([](LegioTexts& t) { t.rate = "3"; }), LegioField::Rate,
         "Return percentage must be between 4 and 20 percent"},
        {with([](LegioTexts& t) { t.same = ""; }), LegioField::Same, "Invalid number for return percentage"},
        {with([](LegioTexts& t) { t.same = "1.5"; }), LegioField::Same,
         "The probability that the return will remain equal must be between 0 and 1"},
        {with([](LegioTexts& t) { t.withdrawal = "Unknown"; }), LegioField::Withdrawal,
         "Withdrawal amount must be a whole number"},
        {with([](LegioTexts& t) { t.withdrawal = "100.5"; }), LegioField::Withdrawal,
         "Withdrawal amount must be a whole number"},
        {with([](LegioTexts& t) { t.withdrawal = "-1"; }), LegioField::Withdrawal,
         "Withdrawal amount must be between 0 and 15098"},
        {with([](LegioTexts& t) { t.withdrawal = "15099"; }), LegioField::Withdrawal,
         "The amount of withdrawal can be max 15098"},
        // The rate typed down from 20 to 4: the limit follows the fields, not
        // the last reading of them.
        {with([](LegioTexts& t) {
             t.rate = "4";
             t.withdrawal = "20535";
         }),
         LegioField::Withdrawal, "The amount of withdrawal can be max 7358"},
        {with([](LegioTexts& t) { t.fluctuation = "a"; }), LegioField::Fluctuation,
         "Value not valid for increase factor."},
        {with([](LegioTexts& t) { t.fluctuation = "0.6"; }), LegioField::Fluctuation,
         "The increase factor must be between 0 and 0.5."},
        {with([](LegioTexts& t) { t.runs = "1e3.5"; }), LegioField::Runs,
         "Number of runs must be an integer"},
        {with([](LegioTexts& t) { t.runs = "1234567890123456789012345"; }), LegioField::Runs,
         "Number of runs must be between 1000 and 100000"},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const LegioCheck c = CheckLegio(cases[i].texts);
        EXPECT_FALSE(c.params) << i;
        EXPECT_EQ(c.field, cases[i].field) << i;
        EXPECT_EQ(c.message, cases[i].message) << i;
    }
    LegioTexts ok;
    ok.withdrawal = "0";
    const LegioCheck c = CheckLegio(ok);
    ASSERT_TRUE(c.params);
    EXPECT_EQ(c.params->withdrawal, 0);
    EXPECT_EQ(c.params->runs, 10000);
}

TEST(Legio, AFixedRateGivesTheSameRunEveryTime) {
    // P = 1 keeps the rate whatever f is; f = 0 keeps it whatever P is.
    for (auto [same, fluctuation] : {std::pair{1.0, 0.4}, std::pair{0.2, 0.0}}) {
        const LegioParams p{.rate = 5,
                            .term = 15,
                            .withdrawal = 11000,
                            .same = same,
                            .fluctuation = fluctuation,
                            .runs = 1000};
        StartGenerators(61u);
        tarvik::Progress progress;
        const LegioResult r = RunLegio(p, progress);
        // The capital year by year at 5 %.
        double capital = kLegioCapital;
        int out = 0;
        std::array<int, 2> classes{};
        for (int j = 1; j <= 15; ++j) {
            capital *= 1.05;
            if (out == 0 && capital < (j == 15 ? 0.999 * 11000 : 11000)) out = j;
            capital = std::max(0.0, capital - 11000);
            if (j == 8) classes[0] = static_cast<int>(std::ceil(capital / 10000));
            if (j == 12) classes[1] = static_cast<int>(std::ceil(capital / 10000));
        }
        ASSERT_GT(out, 0);
        EXPECT_EQ(r.ranOut[static_cast<std::size_t>(out)], 1000);
        EXPECT_DOUBLE_EQ(r.chanceOfRunningOut(), 100);
        EXPECT_DOUBLE_EQ(r.averageLifetime(), out);
        EXPECT_EQ(r.years, (std::array<int, 2>{8, 12}));
        EXPECT_DOUBLE_EQ(r.percentage(0, classes[0]), 100);
        EXPECT_DOUBLE_EQ(r.percentage(1, classes[1]), 100);
        EXPECT_DOUBLE_EQ(r.largestPercentage(), 100);
    }
}

TEST(Legio, TenYearRunsAgreeWithAllThreeToTheTenthRatePaths) {
    const LegioParams p{
        .rate = 8, .term = 10, .withdrawal = 14000, .same = 0.4, .fluctuation = 0.5, .runs = 30000};
    // Every path of rate changes (same, up, down) with its probability.
    std::array<std::array<double, kLegioClasses>, 2> exact{};
    std::array<double, 11> outYear{};
    const double prob[3] = {0.4, 0.3, 0.3};
    for (int path = 0; path < 59049; ++path) {
        double weight = 1, r = 0.08, capital = kLegioCapital;
        for (int j = 0, code = path; j < 10; ++j, code /= 3) weight *= prob[code % 3];
        int code = path, out = 0;
        for (int j = 1; j <= 10; ++j) {
            const int move = code % 3;
            code /= 3;
            if (move == 1) r *= 1.5;
            if (move == 2) r *= 0.5;
            capital += capital * r;
            if (out == 0 && capital < (j == 10 ? 0.999 * 14000 : 14000)) out = j;
            capital = capital > 14000 ? capital - 14000 : 0;
            const int c = capital <= 0       ? 0
                          : capital > 100000 ? 11
                                             : static_cast<int>(std::ceil(capital / 10000));
            if (j == 5) exact[0][c] += weight;
            if (j == 8) exact[1][c] += weight;
        }
        outYear[out] += weight;
    }
    StartGenerators(71u);
    tarvik::Progress progress;
    const LegioResult r = RunLegio(p, progress);
    const auto near = [&](double simulated, double q, const char* what, int i) {
        EXPECT_NEAR(simulated, q, 4.5 * std::sqrt(q * (1 - q) / p.runs) + 1e-12) << what << " " << i;
    };
    for (int k = 0; k < 2; ++k)
        for (int c = 0; c < kLegioClasses; ++c) near(r.percentage(k, c) / 100, exact[k][c], "class", c);
    for (int j = 1; j <= 10; ++j) near(static_cast<double>(r.ranOut[j]) / p.runs, outYear[j], "year", j);
    near(static_cast<double>(r.lasted) / p.runs, outYear[0], "lasted", 0);
    EXPECT_GT(outYear[0], 0.05);
    EXPECT_GT(1 - outYear[0], 0.05);
}

TEST(Legio, ClassesProgressAndStop) {
    EXPECT_EQ(LegioClass(0), 0);
    EXPECT_EQ(LegioClass(0.01), 1);
    EXPECT_EQ(LegioClass(10000), 1);
    EXPECT_EQ(LegioClass(10000.5), 2);
    EXPECT_EQ(LegioClass(100000), 10);
    EXPECT_EQ(LegioClass(100000.01), 11);
    EXPECT_EQ(LegioClassLabel(0), "0");
    EXPECT_EQ(LegioClassLabel(1), "0-10");
    EXPECT_EQ(LegioClassLabel(9), "80-90");
    EXPECT_EQ(LegioClassLabel(10), "90-100");
    EXPECT_EQ(LegioClassLabel(11), ">100");
    EXPECT_EQ(LegioCheckpoints(10), (std::array<int, 2>{5, 8}));
    EXPECT_EQ(LegioCheckpoints(20), (std::array<int, 2>{10, 15}));

    tarvik::StopFlag stop;
    std::vector<int> marks;
    const LegioParams p{
        .rate = 14, .term = 20, .withdrawal = 15098, .same = 0.5, .fluctuation = 0.1, .runs = 1000};
    const LegioResult r = RunLegio(p, stop, [&](int i) {
        marks.push_back(i);
        if (i == 500) stop.stop = true;
    });
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.runs, 500);
    EXPECT_EQ(marks.size(), 50u);
    EXPECT_EQ(marks.front(), 10);
}

TEST(Legio, PictureTextsFollowTheRun) {
    const LegioParams p{
        .rate = 14, .term = 20, .withdrawal = 15098, .same = 0.5, .fluctuation = 0.1, .runs = 1000};
    StartGenerators(81u);
    tarvik::Progress progress;
    const LegioResult r = RunLegio(p, progress);
    const auto texts = r.pictureTexts();
    EXPECT_EQ(texts[0], "Rate of return 14.0%");
    EXPECT_EQ(texts[1], "Term of investment: 20 year");
    EXPECT_EQ(texts[2], "Amount to be withdrawn 15098 dollars");
    EXPECT_EQ(texts[3], "P(same rate of return) 0.5");
    EXPECT_EQ(texts[4], "Fluctuation factor: 0.1");
    EXPECT_EQ(texts[5], "Number of runs : 1000");
    EXPECT_EQ(texts[6], "Capital after 10 years.");
    EXPECT_EQ(texts[7], "Capital after 15 years.");
    double sum = 0;
    for (int c = 0; c < kLegioClasses; ++c) sum += r.percentage(1, c);
    EXPECT_NEAR(sum, 100, 1e-9);
    EXPECT_GE(r.averageLifetime(), 1);
    EXPECT_LE(r.averageLifetime(), 20);
}

// --- Scratch lottery --------------------------------------------------------------------

// C(N, c) D(N - c) / N! with the derangement numbers D.
double Matching(int n, int c) {
    std::vector<double> d(static_cast<std::size_t>(n) + 1);
    d[0] = 1;
    if (n >= 1) d[1] = 0;
    for (int k = 2; k <= n; ++k) d[k] = (k - 1) * (d[k - 1] + d[k - 2]);
    double binom = 1, fact = 1;
    for (int i = 1; i <= n; ++i) fact *= i;
    for (int i = 1; i <= c; ++i) binom = binom * (n - c + i) / i;
    return binom * d[static_cast<std::size_t>(n - c)] / fact;
}

TEST(Scratch, ExactProbabilitiesAreThoseOfFixedPointsOfAPermutation) {
    for (int n = 5; n <= 12; ++n) {
        double rest = 0;
        for (int c = 8; c <= n; ++c) rest += Matching(n, c);
        for (int c = 0; c < 8; ++c)
            EXPECT_NEAR(ScratchExactProbability(n, c), c <= n ? Matching(n, c) : 0, 1e-12) << n;
        EXPECT_NEAR(ScratchExactProbability(n, 8), rest, 1e-12) << n;
    }
    const ScratchResult five{.tickets = 5, .weeks = 100};
    const char* texts[] = {"0.3667", "0.375", "0.1667", "0.08333", "0", "0.008333", "0", "0", "0"};
    for (int c = 0; c < kScratchClasses; ++c) EXPECT_EQ(five.exactText(c), texts[c]) << c;
    const ScratchResult many{.tickets = 13, .weeks = 100};
    const char* limits[] = {"0.3679", "0.3679", "0.1839", "0.0613", "0.0153",
                            "0.0031", "5.1E-4", "7.3E-5", "1.0E-5"};
    for (int c = 0; c < kScratchClasses; ++c) EXPECT_EQ(many.exactText(c), limits[c]) << c;
    EXPECT_EQ(five.classText(8), ">=8");
}

TEST(Scratch, LargeUniformDrawsAreEquallyLikely) {
    StartGenerators(91u);
    const int a = 100003, draws = 300000, cells = 100;
    std::vector<int> hits(cells), residue(7);
    int top = 0;
    for (int i = 0; i < draws; ++i) {
        const int v = ScratchUniform(a);
        ASSERT_GE(v, 0);
        ASSERT_LT(v, a);
        ++hits[static_cast<std::size_t>(static_cast<long long>(v) * cells / a)];
        ++residue[static_cast<std::size_t>(v % 7)];
        if (v >= 99000) ++top;
    }
    // The cells hold 1000 or 1001 values each.
    double chi = 0;
    for (int c = 0; c < cells; ++c) {
        const long long first = (static_cast<long long>(c) * a + cells - 1) / cells;
        const long long next = (static_cast<long long>(c + 1) * a + cells - 1) / cells;
        const double expected = static_cast<double>(draws) * static_cast<double>(next - first) / a;
        chi += (hits[c] - expected) * (hits[c] - expected) / expected;
    }
    EXPECT_LT(chi, 99 + 4.5 * std::sqrt(2 * 99.0));
    double chi7 = 0;
    for (int r = 0; r < 7; ++r) {
        const double expected = draws / 7.0;
        chi7 += (residue[r] - expected) * (residue[r] - expected) / expected;
    }
    EXPECT_LT(chi7, 6 + 4.5 * std::sqrt(12.0));
    const double topShare = 1003.0 / a;
    EXPECT_NEAR(top / double(draws), topShare, 4.5 * std::sqrt(topShare / draws));
}

TEST(Scratch, WeeksFollowTheExactClassesAndNeverHaveOneLoserOnly) {
    for (auto [tickets, seed] : {std::pair{5, 101u}, std::pair{200000, 102u}}) {
        StartGenerators(seed);
        tarvik::Progress progress;
        const int weeks = 20000;
        const ScratchResult r = RunScratch(tickets, weeks, progress);
        EXPECT_TRUE(r.finished());
        for (int c = 0; c < kScratchClasses; ++c) {
            // Large N: the limiting values e^-1 / c!.
            double q =
                tickets < 13 ? ScratchExactProbability(tickets, c) : std::exp(-1.0) / std::tgamma(c + 1.0);
            if (tickets >= 13 && c == 8) {
                q = 1;
                for (int k = 0; k < 8; ++k) q -= std::exp(-1.0) / std::tgamma(k + 1.0);
            }
            EXPECT_NEAR(r.probability(c), q, 4.5 * std::sqrt(q * (1 - q) / weeks) + 1e-12)
                << tickets << " " << c;
        }
        if (tickets == 5) {
            EXPECT_EQ(r.counts[4], 0);
        }
    }
}

TEST(Scratch, NineOrMoreWinnersCountAsEightOrMore) {
    // Every draw 0: each ticket is a cycle of its own, all win.
    EXPECT_EQ(ScratchWeekWith(12, [](int) { return 0; }), 8);
    EXPECT_EQ(ScratchWeekWith(7, [](int) { return 0; }), 7);
    // One long cycle: no winner.
    EXPECT_EQ(ScratchWeekWith(12, [](int a) { return a - 1; }), 0);
    // A cycle of 3, then 9 single tickets.
    int calls = 0;
    EXPECT_EQ(ScratchWeekWith(12, [&](int) { return calls++ == 0 ? 2 : 0; }), 8);
}

TEST(Scratch, IntervalsOnlyWhereMoreThanFiveWeeksAreExpected) {
    ScratchResult r{.tickets = 20, .weeks = 100, .completed = 100};
    r.counts = {40, 40, 5, 6, 3, 2, 1, 2, 1};
    EXPECT_EQ(r.intervalText(2), "");
    EXPECT_EQ(r.intervalText(3), "[ 0.01322 ; 0.1068 ]");
    EXPECT_EQ(r.intervalText(0), "[ 0.3035 ; 0.4965 ]");
    EXPECT_EQ(r.simulatedText(3), "0.06");
    EXPECT_EQ(r.simulatedText(8), "0.01");
    EXPECT_FALSE(CheckScratch(5, 100));
    EXPECT_EQ(CheckScratch(4, 99)->message, "The number of lottery tickets must be at least 5");
    EXPECT_TRUE(CheckScratch(4, 99)->tickets);
    EXPECT_EQ(CheckScratch(5, 99)->message, "The number of weeks must at least be 100");
    EXPECT_EQ(ScratchBarHeight(500, 1000), 270);
    EXPECT_EQ(ScratchBarHeight(1, 1000), 1);
}

TEST(Scratch, StopEndsTheRunBeforeTheNextWeek) {
    tarvik::StopFlag stop;
    const ScratchResult r = RunScratch(50, 1000, stop, [&](int week, int, const ScratchResult&) {
        if (week == 10) stop.stop = true;
    });
    EXPECT_EQ(r.completed, 10);
    EXPECT_FALSE(r.finished());
    EXPECT_EQ(std::accumulate(r.counts.begin(), r.counts.end(), 0LL), 10);
}

// --- Lotto -------------------------------------------------------------------------------

// Stops at the given hand-over.
struct StopAt : tarvik::Progress {
    int at;
    int seen = 0;
    explicit StopAt(int a) : at(a) {}
    void yield() override { ++seen; }
    bool stopRequested() const override { return seen >= at; }
};

TEST(Lotto, DefaultsGiveExpectationFortyAndTheirDeviation) {
    LottoState s;
    s.Reset(45, 6, 300);
    EXPECT_DOUBLE_EQ(s.expectation(), 40);
    EXPECT_EQ(s.barStep(), 1);
    EXPECT_DOUBLE_EQ(s.scale(), 3);
    const auto report = LottoReport(s);
    std::vector<std::string> text;
    for (const auto& l : report) text.push_back(l.text);
    EXPECT_NE(std::find(text.begin(), text.end(), "Expectation of X :40"), text.end());
    EXPECT_NE(std::find(text.begin(), text.end(), "Standard deviation of X5.8878"), text.end());
    EXPECT_NE(std::find(text.begin(), text.end(), "Lotto r/s with r=6 and s=45"), text.end());
    EXPECT_NE(std::find(text.begin(), text.end(), "Number of draws n=300"), text.end());
    s.Reset(45, 6, 5000);
    EXPECT_EQ(s.barStep(), 6);
}

TEST(Lotto, CountsAreBinomialAndAddUpToDrawsTimesBalls) {
    StartGenerators(111u);
    LottoState s;
    s.Reset(42, 7, 5000);
    tarvik::Progress progress;
    RunLotto(s, 1, progress, [](int, const std::vector<int>& balls) {
        ASSERT_EQ(balls.size(), 7u);
        ASSERT_EQ(std::set<int>(balls.begin(), balls.end()).size(), 7u);
        for (int b : balls) ASSERT_TRUE(b >= 1 && b <= 42);
    });
    EXPECT_TRUE(s.finished());
    EXPECT_EQ(std::accumulate(s.counts.begin(), s.counts.end(), 0LL), 5000LL * 7);
    const double p = 7.0 / 42, sd = std::sqrt(5000 * p * (1 - p));
    double chi = 0;
    for (int k = 1; k <= 42; ++k) {
        EXPECT_NEAR(static_cast<double>(s.counts[k]), 5000 * p, 4.5 * sd) << k;
        chi += (s.counts[k] - 5000 * p) * (s.counts[k] - 5000 * p) / (5000 * p);
    }
    EXPECT_LT(chi, 41 + 4.5 * std::sqrt(82.0));
    const auto [lo, hi] = std::minmax_element(s.counts.begin() + 1, s.counts.end());
    EXPECT_EQ(s.walk[5000], *hi - *lo);
    EXPECT_EQ(s.walk[0], 0);
}

TEST(Lotto, StoppedAfterDraw120AndContinuedEndsAfterTheLastDraw) {
    StartGenerators(121u);
    LottoState s;
    s.Reset(45, 6, 300);
    StopAt stop(121); // the hand-over before draw 121
    std::vector<int> seen;
    RunLotto(s, 1, stop, [&](int i, const std::vector<int>&) { seen.push_back(i); });
    EXPECT_EQ(s.current, 120);
    EXPECT_EQ(std::accumulate(s.counts.begin(), s.counts.end(), 0LL), 720);
    EXPECT_FALSE(s.finished());
    tarvik::Progress go;
    RunLotto(s, s.current + 1, go, [&](int i, const std::vector<int>&) { seen.push_back(i); });
    EXPECT_EQ(s.current, 300);
    EXPECT_EQ(std::accumulate(s.counts.begin(), s.counts.end(), 0LL), 1800);
    ASSERT_EQ(seen.size(), 300u);
    for (int i = 0; i < 300; ++i) EXPECT_EQ(seen[static_cast<std::size_t>(i)], i + 1);
    for (int k = 1; k <= 45; ++k) {
        EXPECT_LE(s.last[k], 300);
        EXPECT_EQ(s.age(k), 300 - s.last[k]);
    }
}

TEST(Lotto, ReportRanksByCountWithNeverDrawnBallsLast) {
    LottoState s;
    s.Reset(43, 5, 25);
    for (int k = 1; k <= 43; ++k) s.counts[k] = k == 7 ? 0 : 3 + (k % 4);
    s.last[7] = 0;
    const auto order = s.ranking();
    EXPECT_EQ(order.back(), 7);
    EXPECT_EQ(order.front(), 3); // count 6, the lowest number of those
    EXPECT_EQ(s.age(7), 25);
    const auto report = LottoReport(s);
    std::vector<std::string> text;
    for (const auto& l : report) text.push_back(l.text);
    const auto head = std::find(text.begin(), text.end(), "Number Count    Number Count     Number Count");
    ASSERT_NE(head, text.end());
    EXPECT_EQ(*(head + 1), "");
    EXPECT_EQ(*(head + 2), " 3     6       11     6       15     6       ");
    EXPECT_EQ(text.back(), " 7     0       ");
    EXPECT_EQ(text.end() - head, 2 + 15); // 14 full lines and one of one ball
    EXPECT_EQ(text[1], std::string(60, '_'));
}

} // namespace
