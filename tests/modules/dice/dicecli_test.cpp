#include "common/random.h"
#include "modules/dice/dicecli.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace tarvik::dice {
namespace {

struct CliRun {
    int code = 0;
    std::string out, err;
};

CliRun Cli(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    CliRun r;
    r.code = RunCli(args, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Throws recounted straight from the generator: a fair die draws RandomInt(6),
// a biased coin with P(X=1) = 0.3 draws one of 600 table entries, the first 180
// of them ones.
struct Recount {
    std::array<int, 6> counts{};
    std::vector<int> faces;
    int longest = 0;
};

Recount Throw(std::uint32_t seed, int n, bool fairDie) {
    RandSeed = seed;
    Recount r;
    int run = 0;
    for (int i = 0; i < n; ++i) {
        const int face = fairDie ? RandomInt(6) + 1 : (RandomInt(600) < 180 ? 1 : 2);
        r.faces.push_back(face);
        ++r.counts[static_cast<std::size_t>(face - 1)];
        run = face == 1 ? run + 1 : 0;
        r.longest = std::max(r.longest, run);
    }
    return r;
}

std::string Fixed(double v, int decimals) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

TEST(DiceCli, CountsFrequenciesTableAndLongestRunAreThoseOfTheDrawnThrows) {
    struct Case {
        std::vector<std::string> args;
        std::uint32_t seed;
        int throws;
        bool fairDie;
    };
    const Case cases[] = {
        {{"--dice", "fair-die", "--throws", "100", "--seed", "31"}, 31, 100, true},
        {{"--dice=biased-coin", "--probabilities=0.3,0.7", "--throws=1000", "--seed=4000000000"},
         4000000000u,
         1000,
         false},
    };
    for (const Case& c : cases) {
        const CliRun r = Cli(c.args);
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.err, "");
        const Recount expected = Throw(c.seed, c.throws, c.fairDie);
        const auto lines = Lines(r.out);
        ASSERT_GE(lines.size(), 8u);
        EXPECT_EQ(lines[0], "Number of throws: " + std::to_string(c.throws));
        EXPECT_EQ(lines[1], "Face\tCount\tRelative frequency");
        for (int k = 0; k < 6; ++k)
            EXPECT_EQ(lines[static_cast<std::size_t>(2 + k)],
                      std::to_string(k + 1) + "\t" + std::to_string(expected.counts[k]) + "\t" +
                          Fixed(static_cast<double>(expected.counts[k]) / c.throws, 3));
        // The table: a row every ceil(n / 15) throws, the last one at n.
        const auto table = std::find(lines.begin(), lines.end(), "Number\t1\t2\t3\t4\t5\t6");
        ASSERT_NE(table, lines.end());
        const int step = (c.throws + 14) / 15;
        std::vector<int> at;
        for (int i = step; i < c.throws; i += step) at.push_back(i);
        at.push_back(c.throws);
        at.resize(std::min<std::size_t>(at.size(), 15));
        for (std::size_t row = 0; row < at.size(); ++row) {
            std::array<int, 6> sofar{};
            for (int i = 0; i < at[row]; ++i) ++sofar[static_cast<std::size_t>(expected.faces[i] - 1)];
            std::string line = std::to_string(at[row]);
            for (int k = 0; k < 6; ++k) line += "\t" + Fixed(static_cast<double>(sofar[k]) / at[row], 4);
            EXPECT_EQ(*(table + 1 + static_cast<long>(row)), line) << row;
        }
        EXPECT_EQ(lines.back(), "Longest run of 1's:  " + std::to_string(expected.longest));
        EXPECT_EQ(lines[lines.size() - 2].rfind("Percentage above zero axis ", 0), 0u);
    }
}

TEST(DiceCli, WithoutASeedTheClockSeedIsToldAndRepeatsTheRun) {
    const CliRun first = Cli({"--dice", "fair-coin", "--throws", "50"});
    ASSERT_EQ(first.code, 0);
    ASSERT_EQ(first.err.rfind("seed ", 0), 0u) << first.err;
    const std::string seed = first.err.substr(5, first.err.size() - 6);
    const CliRun again = Cli({"--dice", "fair-coin", "--throws", "50", "--seed", seed});
    EXPECT_EQ(again.out, first.out);
}

TEST(DiceCli, SettingsTheDialogRefusesAreRefusedWithItsMessages) {
    struct Case {
        std::vector<std::string> args;
        std::string message; // the first line of standard error
    };
    const Case cases[] = {
        {{"--dice", "fair-die", "--throws", "9"}, "Less then 10 throws is not possible"},
        {{"--dice", "fair-die", "--throws", "100001"}, "More then 100,000 throws is not possible"},
        {{"--dice", "fair-die", "--throws", "many"}, "Less then 10 throws is not possible"},
        {{"--dice", "biased-coin"}, "Not all probabilities do have valid values"},
        {{"--dice", "biased-die", "--probabilities", "0.2,0.2,0.2,0.2,0.1,x"},
         "Not all probabilities do have valid values"},
        {{"--dice", "biased-coin", "--probabilities", "0.5,0.6"}, "The sum of the probabilities must be 1"},
        {{"--dice", "biased-die", "--probabilities", "1.2,-0.2,0,0,0,0"},
         "Probabilities larger then 1 or smaller then 0 are not allowed"},
        {{"--dice", "biased-coin", "--probabilities", "0.05,0.95"},
         "P(X=1) must be between 0.1 and 0.9, in connection with stochastic walk"},
        // Too many throws is told before a wrong probability, as the dialog does.
        {{"--dice", "biased-coin", "--throws", "100001", "--probabilities", "2,3"},
         "More then 100,000 throws is not possible"},
        {{"--dice", "loaded-die"}, "Unknown kind of throwing \"loaded-die\""},
        {{"--throws", "100"}, "No kind of throwing given"},
        {{"--dice", "fair-die", "--probabilities", "0.5,0.5"},
         "--probabilities belongs to a biased coin or die only"},
        {{"--dice", "biased-coin", "--probabilities", "0.2,0.2,0.2,0.2,0.1,0.1"},
         "--probabilities needs P1,P2 for a biased coin"},
        {{"--dice", "fair-coin", "--seed", "-1"}, "--seed needs a whole number from 0 to 4294967295"},
        {{"--dice", "fair-coin", "--seed", "4294967296"}, "--seed needs a whole number from 0 to 4294967295"},
        {{"--dice", "fair-coin", "--fast"}, "Unknown option --fast"},
        {{"--dice", "fair-coin", "--throws"}, "Option --throws needs a value"},
    };
    for (const Case& c : cases) {
        const CliRun r = Cli(c.args);
        EXPECT_EQ(r.code, 2) << c.message;
        EXPECT_EQ(r.out, "") << c.message;
        EXPECT_EQ(r.err.substr(0, r.err.find('\n')), c.message);
    }
}

} // namespace
} // namespace tarvik::dice
