#include "modules/simulation/simulationcli.h"

#include "common/random.h"
#include "modules/simulation/simkernels.h"
#include "modules/simulation/simreport.h"
#include "modules/simulation/simtheorytext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace tarvik::simulation {
namespace {

class SimulationCli : public ::testing::Test {
protected:
    int run(std::vector<std::string> args) {
        out.str("");
        err.str("");
        return RunCli(args, out, err);
    }
    std::ostringstream out, err;
};

TEST_F(SimulationCli, SameSeedGivesTheSameTextAndTheKernelsFigures) {
    ASSERT_EQ(run({"--simulate", "single", "--seed", "12345", "--length=2000"}), 0);
    const std::string first = out.str();
    EXPECT_EQ(err.str(), "");
    ASSERT_EQ(run({"--simulate=single", "--seed=12345", "--length", "2000"}), 0);
    EXPECT_EQ(out.str(), first);

    RandSeed = 12345;
    SingleSettings s{.length = 2000};
    Progress p;
    const Outcome o = RunSingle(s, p);
    const ResultsText r = SingleResults(s, &o);
    EXPECT_EQ(first, ResultsToText(r) + TheoryToText(r));
    EXPECT_EQ(first.substr(0, first.find('\n')), "M/M/1 model");
    EXPECT_NE(
        first.find("\nλ = 1\nμ = 1.25\nSimulation length = 2000\nFraction of time the server is busy\t"),
        std::string::npos)
        << first;
}

TEST_F(SimulationCli, EveryExperimentRunsWithItsDefaults) {
    const std::pair<const char*, const char*> cases[] = {
        {"single", "M/M/1 model\n"},
        {"compare-md1", "Two queues\nλ = 1\nμ = 1.25\nSimulation length = 1000\n\tM/D/1\tM/M/1\n"},
        {"compare-dm1", "\tD/M/1\tM/M/1\n"},
        {"varying-load", "ρ1 = 0.9\nρ2 = 0.8\nSimulation length = 1000\n\tM/M/1 ; 1\tM/M/1 ; 2\n"},
        {"pooling", "Simulation length= 1000\nService process Exponential\n\tNo pooling\tPooling\n"},
        {"tandem", "Arrival process Poisson process\n"},
        {"priority", "Average length queue type 2 custumer:\t"},
    };
    for (auto [word, expected] : cases) {
        EXPECT_EQ(run({"--simulate", word, "--seed", "1", "--length", "1000"}), 0) << err.str();
        EXPECT_NE(out.str().find(expected), std::string::npos) << word << ":\n" << out.str();
        EXPECT_EQ(out.str().find("NAN"), std::string::npos);
        EXPECT_EQ(run({"--simulate", word, "--seed", "1", "--length", "1000"}), 0);
    }
}

TEST_F(SimulationCli, TheTableIsFollowedByOneLinePerFigureWithATheoryValue) {
    // Station 1 is M/D/1: of station 2 only the busy fraction has a closed form.
    ASSERT_EQ(run({"--simulate", "tandem", "--service1", "deterministic", "--seed", "8", "--length", "900"}),
              0);
    const std::string text = out.str();
    const std::size_t at = text.find("occupied\t") + 9;
    const std::string block = "\n\nTheory and 95% intervals\nFraction of time the server is occupied\t1\t" +
                              text.substr(at, text.find('\t', at) - at) + "\t0.8\t";
    ASSERT_NE(text.find(block), std::string::npos) << text;
    EXPECT_EQ(std::count(text.begin() + static_cast<long>(text.find(block)), text.end(), '\n'),
              3 + 7); // the table's last line end, the empty line, the heading, 7 figures
    EXPECT_NE(text.find("\nFraction of time the server is occupied\t2\t"), std::string::npos);
    EXPECT_EQ(text.find("\nAverage delay per customer\t2\t"), std::string::npos);
}

TEST_F(SimulationCli, WithoutSeedTheClockSeedsAndTheSeedIsReported) {
    ASSERT_EQ(run({"--simulate", "tandem", "--length", "500"}), 0);
    const std::string e = err.str();
    ASSERT_EQ(e.rfind("seed ", 0), 0u) << e;
    const std::string seed = e.substr(5, e.size() - 6);
    const std::string first = out.str();
    ASSERT_EQ(run({"--simulate", "tandem", "--length", "500", "--seed", seed}), 0);
    EXPECT_EQ(out.str(), first);
}

TEST_F(SimulationCli, RefusedSettingsPrintTheDialogsMessagesInOrder) {
    EXPECT_EQ(run({"--simulate", "single", "--lambda", "nan"}), 2);
    EXPECT_EQ(err.str(), "Invalid arrive intensity\n");
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(run({"--simulate", "single", "--arrivals", "deterministic", "--service", "deterministic"}), 2);
    EXPECT_EQ(err.str(), "One of both processes must be stochastic\n");
    EXPECT_EQ(run({"--simulate", "tandem", "--lambda", "-1", "--mu1", "-2", "--mu2", "-2"}), 2);
    EXPECT_EQ(err.str(), "Invalid arrive intensity\nInvalid service speed\n");
    EXPECT_EQ(run({"--simulate", "varying-load", "--rho2", "1e400"}), 2);
    EXPECT_EQ(err.str(), "Choose: 0.1 <= Rho 2 <= 0.98\n");
    EXPECT_EQ(run({"--simulate", "compare-md1", "--mu", "1"}), 2);
    EXPECT_EQ(err.str(), "Choose: 0.1 <= Rho <= 0.98 with Rho = Arrival intensity/Serve speed\n");
}

TEST_F(SimulationCli, LengthAndInitialQueueClampAsTheFields) {
    ASSERT_EQ(run({"--simulate", "single", "--seed", "3", "--length", "5", "--initial", "-4"}), 0);
    EXPECT_NE(out.str().find("Simulation length = 400\n"), std::string::npos);
    ASSERT_EQ(run({"--simulate", "pooling", "--seed", "3", "--length", "abc"}), 0);
    EXPECT_NE(out.str().find("Simulation length= 225\n"), std::string::npos);
    ASSERT_EQ(run({"--simulate", "compare-md1", "--seed", "3", "--length", "1e400", "--initial", "5000"}), 0);
    EXPECT_NE(out.str().find("Simulation length = 225\n"), std::string::npos);
}

TEST_F(SimulationCli, UsageMistakesExitWithTwo) {
    EXPECT_EQ(run({}), 2);
    EXPECT_EQ(run({"--simulate", "bogus"}), 2);
    EXPECT_EQ(run({"--simulate", "single", "--rho1", "0.5"}), 2);
    EXPECT_NE(err.str().find("does not belong"), std::string::npos);
    EXPECT_EQ(run({"--simulate", "compare-md1", "--arrivals", "poisson"}), 2);
    EXPECT_EQ(run({"--simulate", "single", "--seed", "4294967296"}), 2);
    EXPECT_EQ(run({"--simulate", "single", "--seed", "-1"}), 2);
    EXPECT_EQ(run({"--simulate", "single", "--service", "gamma"}), 2);
    EXPECT_EQ(run({"--simulate", "single", "--lambda"}), 2);
    EXPECT_EQ(run({"--simulate", "single", "--seed", "4294967295", "--length", "400"}), 0);
}

} // namespace
} // namespace tarvik::simulation
