#include "modules/roulette/roulettecli.h"

#include "modules/roulette/strategy.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <sstream>

namespace tarvik::roulette {
namespace {

class RouletteCli : public ::testing::Test {
protected:
    int run(std::vector<std::string> args) {
        out.str("");
        err.str("");
        args.insert(args.begin(), "--roulette");
        return RunCli(args, out, err);
    }
    std::ostringstream out, err;
};

TEST_F(RouletteCli, PrintsTheResultsWindowsLines) {
    ASSERT_EQ(run({"--capital", "3", "--goal", "5", "--bets", "2"}), 0) << err.str();
    EXPECT_EQ(out.str(), "Current capital 3\n"
                         "Desired capital 5\n"
                         "Number of bets left 2\n"
                         "An optimal decision in current state: Bet 2 dollars on Rouge or noir\n"
                         "Maximal chance of winning 0.5698\n");
    EXPECT_EQ(err.str(), "");

    // The start dialog's defaults, and the --name=value form.
    std::string defaults;
    ASSERT_EQ(run({}), 0);
    defaults = out.str();
    ASSERT_EQ(run({"--capital=3", "--goal=5", "--bets=2"}), 0);
    EXPECT_EQ(out.str(), defaults);

    ASSERT_EQ(run({"--capital", "1", "--goal", "100", "--bets", "1"}), 0);
    EXPECT_EQ(out.str(), "Current capital 1\n"
                         "Desired capital 100\n"
                         "Number of bets left 1\n"
                         "Do not bet! There is no possibility to reach your goal\n");

    ASSERT_EQ(run({"--capital", "5", "--goal", "5", "--bets", "5"}), 0);
    EXPECT_EQ(out.str(), "Current capital 5\n"
                         "Desired capital 5\n"
                         "Number of bets left 5\n"
                         "Maximal chance of winning 1.0000\n");
}

TEST_F(RouletteCli, PrintsTheWinProbabilityOfAnotherDecision) {
    ASSERT_EQ(run({"--capital", "3", "--goal", "5", "--bets", "2", "--decision", "1,Colonne"}), 0)
        << err.str();
    const std::string colonne = out.str();
    ASSERT_EQ(run({"--capital", "3", "--goal", "5", "--bets", "2", "--decision=1,Douzaine"}), 0);
    EXPECT_EQ(out.str(), colonne);
    ASSERT_EQ(run({"--decision", "2,Rouge or noir"}), 0);
    EXPECT_EQ(out.str(), "Win probability 0.5698\n");
    ASSERT_EQ(run({"--decision", "1,Plein"}), 0);
    EXPECT_EQ(out.str(), "Win probability 0.3426\n");
    // A stake above the capital is set back to it, one below 1 to 1.
    ASSERT_EQ(run({"--decision", "9,Plein"}), 0);
    const std::string nine = out.str();
    ASSERT_EQ(run({"--decision", "3,Plein"}), 0);
    EXPECT_EQ(out.str(), nine);
    ASSERT_EQ(run({"--decision", "-5,Plein"}), 0);
    EXPECT_EQ(out.str(), "Win probability 0.3426\n");
    ASSERT_EQ(run({"--capital", "5", "--goal", "5", "--bets", "1", "--decision", "5,Rouge or noir"}), 0);
    EXPECT_EQ(out.str(), "Win probability 0.4865\n");
}

TEST_F(RouletteCli, PrintsTheWholeStrategyTable) {
    ASSERT_EQ(run({"--capital", "3", "--goal", "5", "--bets", "2", "--table"}), 0) << err.str();
    std::istringstream lines(out.str());
    StrategyTable t;
    SolveAllOrNothing(t, 5, 2);
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count) {
        int n = 0, c = 0, stake = 0, type = 0;
        char value[64] = {};
        ASSERT_EQ(std::sscanf(line.c_str(), "%d\t%d\t%63s\t%d\t%d", &n, &c, value, &stake, &type), 5) << line;
        EXPECT_EQ(n, count / 5);
        EXPECT_EQ(c, count % 5);
        EXPECT_EQ(std::stod(value), t.at(n, c).value); // 17 digits give the double back
        EXPECT_EQ(stake, t.at(n, c).stake);
        EXPECT_EQ(type, t.at(n, c).type);
    }
    EXPECT_EQ(count, 3 * 5);
    EXPECT_NE(out.str().find("2\t3\t0.56975894813732653\t2\t7\n"), std::string::npos);
}

TEST_F(RouletteCli, RefusesInvalidInput) {
    const std::vector<std::vector<std::string>> bad = {
        {"--capital", "0"},
        {"--capital", "100", "--goal", "100"},
        {"--goal", "150"},
        {"--goal", "101"},
        {"--capital", "6", "--goal", "5"},
        {"--bets", "0"},
        {"--bets", "51"},
        {"--bets", "x"},
        {"--bets", ""},
        {"--capital", "12345678901234567890"},
        {"--capital", "-3"},
        {"--decision", "1"},
        {"--decision", "1,Red"},
        {"--decision", "x,Plein"},
    };
    for (const auto& args : bad) {
        EXPECT_EQ(run(args), 2) << args[0] << " " << args[1];
        EXPECT_EQ(err.str(), "Invalid input value(s)\n");
        EXPECT_EQ(out.str(), "");
    }
    EXPECT_EQ(run({"--colour", "red"}), 2);
    EXPECT_NE(err.str().find("Usage"), std::string::npos);
    EXPECT_EQ(run({"--bets"}), 2);
    EXPECT_EQ(run({"--table", "--decision", "1,Plein"}), 2);
}

} // namespace
} // namespace tarvik::roulette
