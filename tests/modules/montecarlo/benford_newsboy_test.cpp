// Benford's law and the newsboy problem.
#include "common/random.h"
#include "modules/montecarlo/benford.h"
#include "modules/montecarlo/newsboy.h"

#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace {

using namespace tarvik::montecarlo;

// The expected share of each leading digit: X uniform on 1 .. B (B one of the
// bounds, each equally likely), Y uniform on 1 .. X, so
// P(d) = (1/k) sum_B (1/B) sum_x N_d(x) / x with N_d(x) the numbers 1 .. x
// that begin with d.
std::array<double, 10> BenfordOracle(const std::vector<std::int64_t>& bounds) {
    std::array<double, 10> p{};
    for (std::int64_t b : bounds) {
        std::array<double, 10> n{};
        std::array<double, 10> sum{};
        for (std::int64_t x = 1; x <= b; ++x) {
            std::int64_t lead = x;
            while (lead >= 10) lead /= 10;
            n[static_cast<std::size_t>(lead)] += 1;
            for (int d = 1; d <= 9; ++d) sum[d] += n[d] / static_cast<double>(x);
        }
        for (int d = 1; d <= 9; ++d)
            p[d] += sum[d] / static_cast<double>(b) / static_cast<double>(bounds.size());
    }
    return p;
}

void ExpectSharesMatch(const std::vector<std::int64_t>& bounds, int draws, std::uint32_t seed) {
    StartGenerators(seed);
    tarvik::Progress progress;
    const BenfordResult r = RunBenford({.bounds = bounds, .draws = draws}, ChooseStream(), progress);
    const auto expected = BenfordOracle(bounds);
    long long total = 0;
    for (int d = 1; d <= 9; ++d) {
        const double p = expected[d];
        const double se = std::sqrt(p * (1 - p) / draws);
        EXPECT_NEAR(r.share(d), p, 4.5 * se) << "digit " << d;
        total += r.counts[d];
    }
    EXPECT_EQ(total, draws);
    EXPECT_EQ(r.draws, draws);
}

TEST(Benford, OneIntervalOfOneHundredFollowsTheNestedUniformDraws) {
    const auto p = BenfordOracle({100});
    EXPECT_NEAR(p[1], 0.251, 0.0005);
    EXPECT_NEAR(p[9], 0.031, 0.0005);
    ExpectSharesMatch({100}, 200000, 11u);
}

TEST(Benford, SeveralIntervalsAreChosenEquallyOften) {
    ExpectSharesMatch({150, 999, 23456}, 150000, 12u);
}

TEST(Benford, HugeBoundsStillGiveEveryLeadingDigit) {
    StartGenerators(13u);
    tarvik::Progress progress;
    const BenfordResult r =
        RunBenford({.bounds = {kBenfordMaxBound, 5000000000LL}, .draws = 20000}, ChooseStream(), progress);
    for (int d = 1; d <= 9; ++d) EXPECT_GT(r.counts[d], 0) << d;
    // Nested uniform draws over many decades come close to the logarithmic law.
    EXPECT_NEAR(r.share(1), BenfordProbability(1), 0.02);
}

TEST(Benford, BoundsAreWholeNumbersFromOneHundredToTenToTheFifteen) {
    std::vector<std::int64_t> bounds;
    EXPECT_FALSE(CheckBenfordBounds({"100", " 1000000000000000 ", "12345"}, bounds));
    EXPECT_EQ(bounds, (std::vector<std::int64_t>{100, 1000000000000000LL, 12345}));

    const std::string range = "Interval not between 100 and 10 to the power 15";
    const std::string wrong = "A wrong number has been entered.";
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"99", range},    {"2000000000000000", range},
        {"-500", range},  {"0", range},
        {"1.5", wrong},   {"", wrong},
        {"abc", wrong},   {"1e5", wrong},
        {"12 34", wrong}, {"1234567890123456789012345", wrong},
    };
    for (const auto& [text, message] : refused) {
        bounds = {7};
        const auto r = CheckBenfordBounds({"500", text, "bad"}, bounds);
        ASSERT_TRUE(r) << text;
        EXPECT_EQ(r->index, 1) << text;
        EXPECT_EQ(r->message, message) << text;
        EXPECT_EQ(bounds, std::vector<std::int64_t>{7}) << "bounds untouched on refusal";
    }
}

TEST(Benford, BlueBarsStandAtTheLogarithmicProbabilities) {
    const int tops[10] = {0, 56, 155, 196, 218, 233, 242, 250, 255, 259};
    double sum = 0;
    for (int d = 1; d <= 9; ++d) {
        EXPECT_EQ(BenfordBarTop(d), tops[d]) << d;
        EXPECT_NEAR(BenfordBarTop(d), 296 - 800 * std::log10(1 + 1.0 / d), 1) << d;
        sum += BenfordProbability(d);
    }
    EXPECT_NEAR(sum, 1, 1e-12);
    EXPECT_EQ(LeadingDigit(1), 1);
    EXPECT_EQ(LeadingDigit(9876543210123LL), 9);
    EXPECT_EQ(LeadingDigit(100), 1);
}

TEST(Benford, PictureUpdatesComeEveryHundredthOfTheDrawsAndStopEndsTheRun) {
    StartGenerators(3u);
    std::vector<int> at;
    tarvik::StopFlag progress;
    RunBenford({.bounds = {1000}, .draws = 250}, 1, progress, [&](const BenfordResult& r) {
        long long sum = 0;
        for (long long c : r.counts) sum += c;
        EXPECT_EQ(sum, r.draws);
        at.push_back(r.draws);
    });
    ASSERT_EQ(at.size(), 125u);
    EXPECT_EQ(at.front(), 2);
    EXPECT_EQ(at.back(), 250);
    EXPECT_EQ(BenfordStep(99), 1);
    EXPECT_EQ(BenfordStep(1000000), 10000);

    int updates = 0;
    const BenfordResult stopped =
        RunBenford({.bounds = {1000}, .draws = 100000}, 1, progress, [&](const BenfordResult&) {
            if (++updates == 3) progress.stop = true;
        });
    EXPECT_EQ(stopped.draws, 3000);
}

// --- Newsboy -------------------------------------------------------------------------

NewsboyParams Defaults() {
    const NewsboyCheck c = CheckNewsboy(NewsboyTexts{});
    EXPECT_TRUE(c.params);
    return *c.params;
}

TEST(Newsboy, DefaultProfitsSpanTwentyFiveToTwoHundredFifty) {
    const NewsboyParams p = Defaults();
    EXPECT_EQ(p.q1, 200);
    EXPECT_EQ(p.q2, 250);
    EXPECT_DOUBLE_EQ(NewsboyProfit(p, 200, 100), 50);
    EXPECT_DOUBLE_EQ(NewsboyProfit(p, 200, 200), 200);
    EXPECT_DOUBLE_EQ(NewsboyProfit(p, 200, 300), 100);
    EXPECT_DOUBLE_EQ(NewsboyProfit(p, 250, 100), 25);
    EXPECT_DOUBLE_EQ(NewsboyProfit(p, 250, 250), 250);
    EXPECT_DOUBLE_EQ(NewsboyProfit(p, 250, 300), 200);

    NewsboyParams small = p;
    small.runs = 1000;
    StartGenerators(5u);
    const NewsboyResult r = RunNewsboy(small);
    EXPECT_NEAR(r.lo, 25 - 1e-9, 1e-12);
    EXPECT_NEAR(r.hi, 250 + 1e-9, 1e-12);
    EXPECT_NEAR(r.width, 22.5, 1e-9);
    for (int k = 0; k < 2; ++k) {
        double sum = 0;
        for (double v : r.percentages[k]) sum += v;
        EXPECT_NEAR(sum, 100, 1e-9);
    }
    // Q2's profit at demand 115 is 47.5, exactly the nominal edge of bins 1 and 2.
    EXPECT_DOUBLE_EQ(NewsboyProfit(p, 250, 115), 47.5);
    EXPECT_EQ(NewsboyBin(47.5, r.lo, r.width, 10), 2);
    EXPECT_EQ(NewsboyBin(47.0, r.lo, r.width, 10), 1);
    EXPECT_EQ(NewsboyBin(25, r.lo, r.width, 10), 1);
    EXPECT_EQ(NewsboyBin(250, r.lo, r.width, 10), 10);
    EXPECT_EQ(r.legend(0).substr(0, 26), "Q1 = 200   Expected profit");
}

// The exact demand distribution of the settings, as demand -> probability.
std::map<int, double> Pmf(const NewsboyParams& p) {
    std::map<int, double> pmf;
    if (p.distribution == NewsboyDistribution::Uniform) {
        for (int d = p.a; d <= p.b; ++d) pmf[d] = 1.0 / (p.b - p.a + 1);
    } else if (p.distribution == NewsboyDistribution::Own) {
        for (int d = 0; d <= 10; ++d) pmf[d] = p.own[static_cast<std::size_t>(d)];
    } else {
        // The continuous triangular distribution on [a, b] with mode m,
        // integrated over [i - 1/2, i + 1/2) and clipped at the ends.
        const double a = p.a, b = p.b, m = p.m;
        const auto cdf = [&](double x) {
            if (x <= a) return 0.0;
            if (x >= b) return 1.0;
            if (x <= m) return (x - a) * (x - a) / ((b - a) * (m - a));
            return 1 - (b - x) * (b - x) / ((b - a) * (b - m));
        };
        for (int d = p.a; d <= p.b; ++d) pmf[d] = cdf(d == p.b ? b : d + 0.5) - cdf(d == p.a ? a : d - 0.5);
    }
    return pmf;
}

TEST(Newsboy, TriangularDemandsFollowTheContinuousDistributionRounded) {
    NewsboyParams p = Defaults();
    p.distribution = NewsboyDistribution::Triangular;
    p.a = 10;
    p.b = 40;
    p.m = 17;
    // A fine even grid of U values stands for the uniform draw.
    const int grid = 2000000;
    std::map<int, int> hits;
    for (int i = 0; i < grid; ++i) ++hits[NewsboyTriangularDemand((i + 0.5) / grid, p.a, p.b, p.m)];
    for (const auto& [d, prob] : Pmf(p)) EXPECT_NEAR(hits[d] / double(grid), prob, 2e-6) << d;
    EXPECT_EQ(hits.begin()->first, 10);
    EXPECT_EQ(hits.rbegin()->first, 40);
}

void ExpectProfitsMatchTheDistribution(const NewsboyParams& p, std::uint32_t seed) {
    StartGenerators(seed);
    const NewsboyResult r = RunNewsboy(p);
    const auto pmf = Pmf(p);
    for (int k = 0; k < 2; ++k) {
        double mean = 0, sq = 0;
        for (const auto& [d, prob] : pmf) {
            const double v = NewsboyProfit(p, r.quantity(k), d);
            mean += prob * v;
            sq += prob * v * v;
        }
        const double se = std::sqrt(sq - mean * mean) / std::sqrt(double(p.runs));
        EXPECT_NEAR(r.mean[k], mean, 4.5 * se + 1e-9) << "order quantity " << k + 1;
        EXPECT_NEAR(r.interval[k].upper - r.interval[k].lower, 2 * 1.96 * se, 0.2 * 2 * 1.96 * se + 1e-9);
        // Each bin's share against the probability of the demands that land in it.
        for (int j = 1; j <= p.bins; ++j) {
            double q = 0;
            for (const auto& [d, prob] : pmf)
                if (NewsboyBin(NewsboyProfit(p, r.quantity(k), d), r.lo, r.width, p.bins) == j) q += prob;
            const double share = r.percentages[k][static_cast<std::size_t>(j - 1)] / 100;
            EXPECT_NEAR(share, q, 4.5 * std::sqrt(q * (1 - q) / p.runs) + 1e-12) << "bin " << j;
        }
    }
}

TEST(Newsboy, ExpectedProfitsAgreeWithTheExactDemandDistributions) {
    NewsboyParams p = Defaults();
    p.runs = 20000;
    ExpectProfitsMatchTheDistribution(p, 21u);

    p.distribution = NewsboyDistribution::Triangular;
    p.a = 100;
    p.b = 300;
    p.m = 150;
    p.bins = 17;
    ExpectProfitsMatchTheDistribution(p, 22u);

    p.distribution = NewsboyDistribution::Own;
    p.own = {0.05, 0.1, 0.2, 0, 0.3, 0.05, 0.05, 0.05, 0.1, 0.1, 0};
    p.q1 = 3;
    p.q2 = 8;
    p.price = 3.5;
    p.salvage = 0.25;
    p.penalty = 2;
    ExpectProfitsMatchTheDistribution(p, 23u);
}

TEST(Newsboy, OwnDistributionTableFillsAllHundredEntriesAndSkipsZeroProbabilities) {
    const auto table = NewsboyOwnTable({0.34, 0.33, 0, 0.33, 0, 0, 0, 0, 0, 0, 0});
    std::map<int, int> entries;
    for (int e = 1; e <= 100; ++e) ++entries[table[static_cast<std::size_t>(e)]];
    EXPECT_EQ(entries, (std::map<int, int>{{0, 34}, {1, 33}, {3, 33}}));

    NewsboyParams p = Defaults();
    p.distribution = NewsboyDistribution::Own;
    p.own = {0, 0, 0.5, 0, 0.5, 0, 0, 0, 0, 0, 0};
    const auto own = NewsboyOwnTable(p.own);
    StartGenerators(31u);
    std::map<int, int> seen;
    for (int i = 0; i < 5000; ++i) ++seen[NewsboyDemand(p, own)];
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen.count(3), 0u);
    EXPECT_NEAR(seen[2] / 5000.0, 0.5, 4.5 * std::sqrt(0.25 / 5000));
}

TEST(Newsboy, ConstantProfitGivesAnIntervalCollapsedOnTheMean) {
    NewsboyTexts t;
    t.distribution = NewsboyDistribution::Own;
    t.own[0] = "1";
    t.q1 = "1";
    t.q2 = "1";
    t.runs = "1000";
    NewsboyCheck c = CheckNewsboy(t);
    ASSERT_TRUE(c.params) << c.message;
    StartGenerators(41u);
    NewsboyResult r = RunNewsboy(*c.params);
    EXPECT_NEAR(r.mean[0], -0.5, 1e-12);
    for (int k = 0; k < 2; ++k) {
        EXPECT_TRUE(r.interval[k].valid);
        EXPECT_EQ(r.interval[k].lower, r.mean[k]);
        EXPECT_EQ(r.interval[k].upper, r.mean[k]);
    }
    // Every run with the profit 25: five units sold at 6 dollars.
    t.own = {"0", "0", "0", "0", "0", "1", "0", "0", "0", "0", "0"};
    t.q1 = t.q2 = "5";
    t.price = "6";
    t.runs = "10000";
    c = CheckNewsboy(t);
    ASSERT_TRUE(c.params) << c.message;
    r = RunNewsboy(*c.params);
    EXPECT_NEAR(r.mean[1], 25, 1e-9);
    EXPECT_EQ(r.interval[1].lower, r.mean[1]);
    for (const StyledLine& l : NewsboyReport(r)) {
        EXPECT_EQ(l.text.find("nan"), std::string::npos) << l.text;
        EXPECT_EQ(l.text.find("inf"), std::string::npos) << l.text;
    }
}

TEST(Newsboy, SettingsAreRefusedInTheirOrderWithTheirField) {
    struct Case {
        std::function<void(NewsboyTexts&)> change;
        NewsboyField field;
        std::string message;
        int column = 0;
    };
    const auto own = [](std::array<std::string, 11> cells) {
        return [cells](NewsboyTexts& t) {
            t.distribution = NewsboyDistribution::Own;
            t.q1 = "2";
            t.q2 = "3";
            t.own = cells;
        };
    };
    const std::vector<Case> cases = {
        {[](NewsboyTexts& t) { t.q2 = "abc"; }, NewsboyField::Q2, ""},
        {[](NewsboyTexts& t) { t.runs = ""; }, NewsboyField::Runs, ""},
        {[](NewsboyTexts& t) { t.penalty = "1..2"; }, NewsboyField::Penalty, ""},
        {[](NewsboyTexts& t) { t.uniformB = "x"; }, NewsboyField::UniformB, ""},
        {[](NewsboyTexts& t) { t.q1 = "200.5"; }, NewsboyField::Q1, "Order quantity must be a whole number"},
        {[](NewsboyTexts& t) {
             t.q2 = "2.5";
             t.price = "50";
         },
         NewsboyField::Q2, "Order quantity must be a whole number"},
        {[](NewsboyTexts& t) { t.runs = "5000.5"; }, NewsboyField::Runs, "Number of runs must be an integer"},
        {[](NewsboyTexts& t) { t.price = "0.5"; }, NewsboyField::Price,
         "Selling price must be between 1 and 10 dollar"},
        {[](NewsboyTexts& t) { t.salvage = "-0.1"; }, NewsboyField::Salvage,
         "Salvage value per unit left over must be between 0 and 1 dollar"},
        {[](NewsboyTexts& t) { t.penalty = "10.5"; }, NewsboyField::Penalty,
         "Penalty cost have to be between 0 and 10 dollars"},
        {[](NewsboyTexts& t) { t.runs = "999"; }, NewsboyField::Runs,
         "Number of runs must be between 1000 and 100000"},
        {[](NewsboyTexts& t) { t.runs = "1234567890123456789012345"; }, NewsboyField::Runs,
         "Number of runs must be between 1000 and 100000"},
        {[](NewsboyTexts& t) { t.uniformA = "100.5"; }, NewsboyField::UniformA, "a must be a whole number."},
        {[](NewsboyTexts& t) { t.uniformB = "300.5"; }, NewsboyField::UniformB, "b must be an integer"},
        {[](NewsboyTexts& t) { t.uniformB = "600"; }, NewsboyField::UniformB,
         "a and b must be between 0 and 500"},
        {[](NewsboyTexts& t) { t.uniformA = "-5"; }, NewsboyField::UniformA,
         "a and b must be between 0 and 500"},
        {[](NewsboyTexts& t) { t.uniformA = "300"; }, NewsboyField::UniformA, "a must be smaller than b"},
        {[](NewsboyTexts& t) { t.q2 = "301"; }, NewsboyField::Q2, "Order quantity must be between a and b"},
        {[](NewsboyTexts& t) { t.q1 = "1234567890123456789012345"; }, NewsboyField::Q1,
         "Order quantity must be between a and b"},
        {[](NewsboyTexts& t) {
             t.distribution = NewsboyDistribution::Triangular;
             t.triangularM = "150.5";
         },
         NewsboyField::TriangularM, "m must be a whole number"},
        {[](NewsboyTexts& t) {
             t.distribution = NewsboyDistribution::Triangular;
             t.triangularM = "301";
         },
         NewsboyField::TriangularM, "m must be between a and b"},
        {[](NewsboyTexts& t) {
             t.distribution = NewsboyDistribution::Triangular;
             t.triangularB = "100";
         },
         NewsboyField::TriangularA, "a must be smaller than b"},
        {own({"0.5", "0.125", "0.375", "0", "0", "0", "0", "0", "0", "0", "0"}), NewsboyField::Own,
         "The probabilities can have a maximum of 2 decimals", 1},
        {own({".334", ".333", ".333", "0", "0", "0", "0", "0", "0", "0", "0"}), NewsboyField::Own,
         "The probabilities can have a maximum of 2 decimals", 0},
        {own({"-0.1", "1.1", "0", "0", "0", "0", "0", "0", "0", "0", "0"}), NewsboyField::Own,
         "Negative probability is not possible!", 0},
        {own({"0.5", "0.5", "0", "0", "0", "x", "0", "0", "0", "0", "0"}), NewsboyField::Own, "", 5},
        {own({"0.5", "0.4", "0", "0", "0", "0", "0", "0", "0", "0", "0"}), NewsboyField::Own,
         "The sum of the probabilities must be 1"},
        {[](NewsboyTexts& t) {
             t.distribution = NewsboyDistribution::Own;
             t.own[4] = "1";
             t.q1 = "0";
         },
         NewsboyField::Q1, "Order quantity must be between 1 and 10"},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        NewsboyTexts t;
        cases[i].change(t);
        const NewsboyCheck c = CheckNewsboy(t);
        EXPECT_FALSE(c.params) << "case " << i;
        EXPECT_EQ(c.field, cases[i].field) << "case " << i;
        EXPECT_EQ(c.message, cases[i].message) << "case " << i;
        if (cases[i].field == NewsboyField::Own) {
            EXPECT_EQ(c.ownColumn, cases[i].column) << "case " << i;
        }
    }
    // Two decimals, a comma as the decimal mark and blanks are accepted.
    NewsboyTexts t;
    t.distribution = NewsboyDistribution::Own;
    t.q1 = "1";
    t.q2 = "10";
    t.own = {"0,25", ".25", "0.5", "0", "0", "0", "0", "0", "0", "0", "0"};
    EXPECT_TRUE(CheckNewsboy(t).params);
}

TEST(Newsboy, ReportListsTheInputTheDistributionAndTheBins) {
    NewsboyParams p = Defaults();
    p.distribution = NewsboyDistribution::Triangular;
    p.m = 200;
    p.runs = 2000;
    p.bins = 5;
    StartGenerators(51u);
    const NewsboyResult r = RunNewsboy(p);
    std::vector<std::string> text;
    for (const StyledLine& l : NewsboyReport(r)) text.push_back(l.text);
    auto at = [&](const std::string& line) {
        return std::find(text.begin(), text.end(), line) - text.begin();
    };
    const auto input = at("The input");
    ASSERT_LT(input, static_cast<long>(text.size()));
    EXPECT_EQ(text[input + 1], std::string(48, '_'));
    EXPECT_EQ(text[input + 3], "Order quantity: 200 respectively 250");
    EXPECT_EQ(text[input + 4], "Selling price per unit: 2.00 dollar");
    EXPECT_EQ(text[input + 5], "Salvage value per unit left over: 0.50 dollar");
    EXPECT_EQ(text[input + 6], "Penalty cost per unit shortage: 1.00 Dollar");
    EXPECT_EQ(text[input + 7], "Number of bins in simulation graph: 5");
    EXPECT_EQ(text[input + 8], "Number of runs : 2000");
    const auto dist = at("Discrete triangular distribution");
    EXPECT_EQ(text[dist + 2], "a: 100");
    EXPECT_EQ(text[dist + 4], "m: 200");
    const auto bins = at("    Bins         Q1     Q2");
    EXPECT_EQ(text[bins + 1].substr(0, 16), " 25.0 -  70.0 : ");
    EXPECT_EQ(text[bins + 5].substr(0, 16), "205.0 - 250.0 : ");
    EXPECT_EQ(text[bins + 6], "");
    EXPECT_EQ(text[bins + 7].substr(0, 16), "Expected profit ");
    EXPECT_NE(text[bins + 7].find("95 % BTI: ("), std::string::npos);
    EXPECT_EQ(text.size(), static_cast<std::size_t>(bins + 9));
}

} // namespace
