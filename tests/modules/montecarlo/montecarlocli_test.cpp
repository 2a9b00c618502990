#include "common/random.h"
#include "modules/montecarlo/benford.h"
#include "modules/montecarlo/birthday.h"
#include "modules/montecarlo/lotto.h"
#include "modules/montecarlo/mcshared.h"
#include "modules/montecarlo/montecarlocli.h"
#include "modules/montecarlo/pi.h"

#include "common/numformat.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

using namespace tarvik::montecarlo;

struct CliRun {
    int code = 0;
    std::string out, err;
};

CliRun Cli(std::vector<std::string> args) {
    std::ostringstream out, err;
    CliRun r;
    r.code = RunCli(args, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

TEST(MonteCarloCli, TheSameSeedGivesByteIdenticalOutputForEveryExperiment) {
    const std::vector<std::vector<std::string>> calls = {
        {"--montecarlo", "pi", "--seed", "42", "--draws", "5000"},
        {"--montecarlo=birthday", "--seed=42", "--persons=23", "--days=1", "--runs=2000"},
        {"--montecarlo", "buffon", "--seed", "42", "--throws", "3000"},
        {"--montecarlo", "st-petersburg", "--seed", "42", "--m", "12", "--runs", "5000"},
        {"--montecarlo", "kelly", "--seed", "42", "--races", "200", "--probabilities", "0.5,0.3,0.2",
         "--payoffs", "2.5,3,3", "--fractions", "0.1,0.1,0"},
        {"--montecarlo", "roulette-run", "--seed", "42", "--capital", "50", "--desired", "80"},
        {"--montecarlo", "roulette-dist", "--seed", "42", "--capital", "10", "--bets", "20", "--runs",
         "1000"},
        {"--montecarlo", "benford", "--seed", "42", "--bounds", "100,5000", "--draws", "3000"},
        {"--montecarlo", "newsboy", "--seed", "42", "--runs", "1000", "--triangular", "100,300,150"},
        {"--montecarlo", "legio", "--seed", "42", "--runs", "1000", "--term", "15"},
        {"--montecarlo", "scratch", "--seed", "42", "--tickets", "20", "--weeks", "500"},
        {"--montecarlo", "lotto", "--seed", "42", "--draws", "100"},
    };
    for (const auto& call : calls) {
        const CliRun a = Cli(call);
        const CliRun b = Cli(call);
        EXPECT_EQ(a.code, 0) << call[1] << a.err;
        EXPECT_EQ(a.err, "");
        EXPECT_FALSE(a.out.empty());
        EXPECT_EQ(a.out, b.out) << call[1];
        EXPECT_EQ(a.out.find("nan"), std::string::npos);
        EXPECT_EQ(a.out.find("NAN"), std::string::npos);
        EXPECT_EQ(a.out.find("INF"), std::string::npos);
    }
}

TEST(MonteCarloCli, OutputIsThatOfTheModulesFirstRunFromTheSameState) {
    const CliRun r = Cli({"--montecarlo", "pi", "--seed", "777", "--draws", "1000"});
    StartGenerators(777u);
    tarvik::Progress progress;
    const PiResult pi = RunPi({.draws = 1000, .fast = true}, ChooseStream(), progress);
    EXPECT_EQ(r.out, "Current draws: 1000\nEstimation Pi: " + pi.estimateText() +
                         "\n95 % Confidence interval: " + pi.intervalText() + "\nActual Pi: 3.1416\n");
}

TEST(MonteCarloCli, BirthdayPrintsTheWindowsThreeResults) {
    const CliRun r = Cli({"--montecarlo", "birthday", "--seed", "1", "--persons", "23", "--days", "0"});
    ASSERT_EQ(r.code, 0);
    std::istringstream lines(r.out);
    std::string a, b, c;
    std::getline(lines, a);
    std::getline(lines, b);
    std::getline(lines, c);
    EXPECT_EQ(a.rfind("Simulated probability: 0.", 0), 0u);
    EXPECT_EQ(b.rfind("95% BTI: [ 0.", 0), 0u);
    EXPECT_EQ(c, "Exact probability: 0.5073");
}

TEST(MonteCarloCli, WithoutASeedTheSeedUsedGoesToStandardErrorAndRepeatsTheRun) {
    const CliRun r = Cli({"--montecarlo", "buffon", "--throws", "500"});
    ASSERT_EQ(r.code, 0);
    ASSERT_EQ(r.err.rfind("seed ", 0), 0u);
    const std::string seed = r.err.substr(5, r.err.size() - 6);
    const CliRun again = Cli({"--montecarlo", "buffon", "--throws", "500", "--seed", seed});
    EXPECT_EQ(again.out, r.out);
}

TEST(MonteCarloCli, ValuesOutsideAFieldsLimitsAreRefusedNamingTheLimits) {
    const CliRun r = Cli({"--montecarlo", "pi", "--draws", "24"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err, "--draws must be an integer from 25 to 400000\n");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(Cli({"--montecarlo", "birthday", "--persons", "x"}).err,
              "--persons must be an integer from 2 to 75\n");
    EXPECT_EQ(Cli({"--montecarlo", "st-petersburg", "--m", "26"}).err,
              "--m must be an integer from 1 to 25\n");
    EXPECT_EQ(Cli({"--montecarlo", "roulette-dist", "--runs", "100001"}).code, 2);
}

TEST(MonteCarloCli, InputErrorsOfTheWindowsComeFirstOnStandardError) {
    const CliRun k = Cli({"--montecarlo", "kelly", "--probabilities", "0.5,0.5", "--payoffs", "2.5,2.5",
                          "--fractions", "0,0"});
    EXPECT_EQ(k.code, 2);
    EXPECT_EQ(k.err, "Not all profit probabilities times pay-off are allowed to be larger as 1.\n");
    const CliRun n = Cli(
        {"--montecarlo", "kelly", "--probabilities", "0.5,abc", "--payoffs", "2.5,1", "--fractions", "0,0"});
    EXPECT_EQ(n.err, "A wrong number has been entered.\n");
    const CliRun r = Cli({"--montecarlo", "roulette-run", "--capital", "200", "--desired", "200"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err, "Starting capital must be smaller then desired capital\n");
    EXPECT_EQ(
        Cli({"--montecarlo", "kelly", "--probabilities", "1", "--payoffs", "2", "--fractions", "0"}).err,
        "--probabilities must list from 2 to 10 horses\n");
}

TEST(MonteCarloCli, UnknownExperimentsAndOptionsShowTheUsage) {
    const CliRun a = Cli({"--montecarlo", "dice"});
    EXPECT_EQ(a.code, 2);
    EXPECT_EQ(a.err.rfind("Unknown experiment dice\nUsage: tarvik-solve --montecarlo", 0), 0u);
    EXPECT_EQ(Cli({"--montecarlo", "pi", "--throws", "100"}).err.rfind("Unknown option --throws for pi", 0),
              0u);
    EXPECT_EQ(Cli({"--montecarlo"}).code, 2);
    EXPECT_EQ(Cli({"--montecarlo", "pi", "--seed", "-1"}).code, 2);
    EXPECT_EQ(Cli({"--montecarlo", "pi", "--draws"}).code, 2);
}

TEST(MonteCarloCli, KellyPrintsTheReportAndBothEndCapitals) {
    const CliRun r = Cli({"--montecarlo", "kelly", "--seed", "5", "--races", "100", "--probabilities",
                          "0.5,0.3,0.2", "--payoffs", "2.5,3,3", "--fractions", "0,0,0"});
    ASSERT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("Horse  1    0.500          2.50           0.00000         0.20000\n"),
              std::string::npos);
    EXPECT_NE(r.out.find("Horse  2    0.300          3.00           0.00000         0.05000\n"),
              std::string::npos);
    EXPECT_NE(r.out.find("End capital :            $1.0000\n"), std::string::npos);
    EXPECT_NE(r.out.find("Simulated rate of return:     0.00%\n"), std::string::npos);
    EXPECT_NE(r.out.find("end capital Own strategy: $1.00\n"), std::string::npos);
    EXPECT_NE(r.out.find("end capital Kelly-strategy: $"), std::string::npos);
}

TEST(MonteCarloCli, RouletteDistributionsPrintEveryClassFrequency) {
    const CliRun r = Cli({"--montecarlo", "roulette-dist", "--seed", "3", "--capital", "10", "--bets", "10"});
    ASSERT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("Big Martingale system: class, runs, relative frequency\n0 "), std::string::npos);
    EXPECT_NE(r.out.find("\n30 "), std::string::npos);
    EXPECT_EQ(r.out.find("\n31 "), std::string::npos);
    EXPECT_NE(r.out.find("Number of runs : 1000\n"), std::string::npos);
}

TEST(MonteCarloCli, BenfordPrintsEachDigitsCountShareAndProbability) {
    const CliRun r = Cli({"--montecarlo", "benford", "--seed", "9", "--bounds", "100", "--draws", "2000"});
    ASSERT_EQ(r.code, 0) << r.err;
    std::istringstream lines(r.out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "Digit  Count  Share  Benford");
    long long total = 0;
    for (int d = 1; d <= 9; ++d) {
        ASSERT_TRUE(std::getline(lines, line));
        std::istringstream fields(line);
        int digit = 0;
        long long count = 0;
        std::string share, benford;
        fields >> digit >> count >> share >> benford;
        EXPECT_EQ(digit, d);
        EXPECT_EQ(share, tarvik::FormatFixed(count / 2000.0, 4));
        EXPECT_EQ(benford, tarvik::FormatFixed(BenfordProbability(d), 4));
        total += count;
    }
    EXPECT_EQ(total, 2000);
    std::getline(lines, line);
    EXPECT_EQ(line, "Simulations: 2000");
    EXPECT_EQ(Cli({"--montecarlo", "benford", "--bounds", "100,99"}).err,
              "Interval2: Interval not between 100 and 10 to the power 15\n");
    EXPECT_EQ(Cli({"--montecarlo", "benford", "--bounds", "1.5"}).err,
              "Interval1: A wrong number has been entered.\n");
    EXPECT_EQ(Cli({"--montecarlo", "benford"}).code, 2);
    EXPECT_EQ(
        Cli({"--montecarlo", "benford", "--bounds", "100,100,100,100,100,100,100,100,100,100,100"}).code, 2);
}

TEST(MonteCarloCli, NewsboyPrintsTheDataReportOrTheSettingsMessage) {
    const CliRun r = Cli({"--montecarlo", "newsboy", "--seed", "4", "--own", "1,0,0,0,0,0,0,0,0,0,0", "--q1",
                          "1", "--q2", "1", "--runs", "1000"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("Own distribution\n0: 1\n1: 0\n"), std::string::npos);
    EXPECT_NE(r.out.find("Expected profit Q1:       -0.5  95 % BTI: (      -0.5 ;      -0.5)\n"),
              std::string::npos);
    EXPECT_EQ(r.out.find("nan"), std::string::npos);
    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"--own", ".334,.333,.333,0,0,0,0,0,0,0,0", "--q1", "1", "--q2", "2"},
         "--own (probability of demand 0): The probabilities can have a maximum of 2 decimals\n"},
        {{"--own", "-0.1,1.1,0,0,0,0,0,0,0,0,0", "--q1", "1", "--q2", "2"},
         "--own (probability of demand 0): Negative probability is not possible!\n"},
        {{"--uniform", "100,600"}, "--uniform: a and b must be between 0 and 500\n"},
        {{"--q1", "abc"}, "Not a number: --q1\n"},
        {{"--price", "11"}, "--price: Selling price must be between 1 and 10 dollar\n"},
        {{"--uniform", "1,2,3"}, "--uniform needs A,B\n"},
        {{"--uniform", "100,300", "--own", "1,0,0,0,0,0,0,0,0,0,0"},
         "Give one of --uniform, --triangular and --own\n"},
    };
    for (const auto& [options, message] : refused) {
        std::vector<std::string> call = {"--montecarlo", "newsboy"};
        call.insert(call.end(), options.begin(), options.end());
        const CliRun bad = Cli(call);
        EXPECT_EQ(bad.code, 2) << message;
        EXPECT_EQ(bad.err, message);
        EXPECT_EQ(bad.out, "");
    }
}

TEST(MonteCarloCli, LegioPrintsThePictureTextsAndBothCheckpoints) {
    const CliRun r = Cli({"--montecarlo", "legio", "--seed", "6", "--runs", "1000", "--same", "1"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(
        r.out.rfind(
            "Rate of return 14.0%\nTerm of investment: 20 year\nAmount to be withdrawn 15098 dollars\n", 0),
        0u);
    EXPECT_NE(r.out.find("Capital after 10 years.\nCapital after 15 years.\n"), std::string::npos);
    // A fixed rate at the annuity: the capital lasts exactly the term.
    EXPECT_NE(r.out.find("Chance of running out of capital: 0.00%\n"), std::string::npos);
    EXPECT_NE(r.out.find("Capital lasts on average: 20.00 year\n"), std::string::npos);
    EXPECT_NE(r.out.find("Class  after 10 years  after 15 years\n0  0.00%  0.00%\n"), std::string::npos);
    EXPECT_NE(r.out.find("\n>100  0.00%  0.00%\n"), std::string::npos);
    EXPECT_EQ(Cli({"--montecarlo", "legio", "--rate", "4", "--withdrawal", "20535"}).err,
              "The amount of withdrawal can be max 7358\n");
    EXPECT_EQ(Cli({"--montecarlo", "legio", "--withdrawal", "-5"}).err,
              "Withdrawal amount must be between 0 and 15098\n");
    EXPECT_EQ(Cli({"--montecarlo", "legio", "--term", "12"}).err, "--term must be 10, 15 or 20\n");
    EXPECT_EQ(Cli({"--montecarlo", "legio", "--rate", "25"}).err,
              "Return percentage must be between 4 and 20 percent\n");
}

TEST(MonteCarloCli, ScratchPrintsTheTableRows) {
    const CliRun r = Cli({"--montecarlo", "scratch", "--seed", "8", "--tickets", "5", "--weeks", "1000"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("\n4 | 0 |  | 0\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\n>=8 | 0 |  | 0\n"), std::string::npos);
    EXPECT_NE(r.out.find(" | 0.3667\n"), std::string::npos);
    EXPECT_EQ(Cli({"--montecarlo", "scratch", "--tickets", "4"}).err,
              "The number of lottery tickets must be at least 5\n");
    EXPECT_EQ(Cli({"--montecarlo", "scratch", "--weeks", "99"}).err,
              "The number of weeks must at least be 100\n");
    EXPECT_EQ(Cli({"--montecarlo", "scratch", "--weeks", "1000001"}).code, 2);
}

TEST(MonteCarloCli, LottoPrintsTheReportTheAgesAndTheLastWalkValue) {
    const CliRun r =
        Cli({"--montecarlo", "lotto", "--seed", "10", "--balls", "42", "--drawn", "5", "--draws", "200"});
    ASSERT_EQ(r.code, 0) << r.err;
    StartGenerators(10u);
    LottoState s;
    s.Reset(42, 5, 200);
    tarvik::Progress progress;
    RunLotto(s, 1, progress);
    std::string expected;
    for (const auto& l : LottoReport(s)) expected += l.text + "\n";
    expected += "\nHow many draws ago the number was drawn for the last time\n";
    for (int k = 1; k <= 42; ++k) expected += std::to_string(k) + ": " + std::to_string(s.age(k)) + "\n";
    expected += "Difference between the most and least drawn numbers: " + std::to_string(s.walk[200]) + "\n";
    EXPECT_EQ(r.out, expected);
    EXPECT_NE(r.out.find("Expectation of X :23.80952\n"), std::string::npos);
    EXPECT_EQ(Cli({"--montecarlo", "lotto", "--balls", "41"}).code, 2);
}

} // namespace
