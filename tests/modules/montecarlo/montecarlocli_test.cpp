#include "common/random.h"
#include "modules/montecarlo/birthday.h"
#include "modules/montecarlo/mcshared.h"
#include "modules/montecarlo/montecarlocli.h"
#include "modules/montecarlo/pi.h"

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

} // namespace
