#include "modules/markov/markovanalysis.h"
#include "modules/markov/markovcli.h"
#include "modules/markov/markovfile.h"

#include "support/clitesting.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace tarvik::markov {
namespace {

class MarkovCliTest : public tarvik::test::CliFileTest {
protected:
    MarkovCliTest() : CliFileTest(&RunCli, "markovcli") {}
};

TEST_F(MarkovCliTest, PrintsTheReportOfTheChosenAnalysis) {
    const std::string file = write("two.txt", "99\r\n2\r\n0.5 0.5\r\n0.25 0.75\r\n3 6\r\n");
    ASSERT_EQ(run({file, "--analysis", "steady-state"}), 0) << err_.str();
    auto chain = std::get<Chain>(ValidateChain(ReadChainFile(file).chain));
    MarkovProgress none;
    EXPECT_EQ(out_.str(), JoinLines(SteadyState(chain).lines) + "\n");
    EXPECT_TRUE(err_.str().empty());

    ASSERT_EQ(
        run({"--analysis=transient", file, "--times", "10,2,10", "--end-states", "2", "--initial", "2"}), 0);
    EXPECT_NE(out_.str().find("Initial State = 2"), std::string::npos);
    EXPECT_NE(out_.str().find("At t = 2     0.687500000"), std::string::npos) << out_.str();
    EXPECT_LT(out_.str().find("At t = 2 "), out_.str().find("At t = 10"));

    ASSERT_EQ(run({file, "--analysis", "transient", "--transient", "costs", "--times", "2"}), 0);
    EXPECT_NE(out_.str().find("Expected transient costs"), std::string::npos);

    ASSERT_EQ(
        run({file, "--analysis", "first-passage", "--times", "1,2,3", "--set", "single", "--state", "1"}), 0);
    EXPECT_NE(out_.str().find("At t = 3:       0.28125000 "), std::string::npos) << out_.str();
    ASSERT_EQ(run({file, "--analysis", "structure"}), 0);
    EXPECT_NE(out_.str().find("Recurrent subchain 1: 1 2 "), std::string::npos);
}

TEST_F(MarkovCliTest, TheTimeLimitStopsARunAsStopDoes) {
    // With a byte-order mark in front, which the reader skips.
    const std::string file = write("two.txt", "\xEF\xBB\xBF"
                                              "99\r\n2\r\n0.5 0.5\r\n0.25 0.75\r\n3 6\r\n");
    for (const char* analysis : {"transient", "first-passage"}) {
        SCOPED_TRACE(analysis);
        // A microsecond has passed before the first time step.
        ASSERT_EQ(run({file, "--analysis", analysis, "--times", "5000", "--state", "1", "--end-states", "1",
                       "--time-limit", "0.000001"}),
                  3);
        EXPECT_EQ(err_.str(), "The analysis was stopped at the time limit\n");
        EXPECT_EQ(out_.str().find("At t ="), std::string::npos); // the header lines only
        ASSERT_EQ(run({file, "--analysis", analysis, "--times", "50", "--state", "1", "--end-states", "1",
                       "--time-limit", "1000"}),
                  0);
        EXPECT_NE(out_.str().find("At t = 50"), std::string::npos);
    }
    EXPECT_EQ(run({file, "--analysis", "transient", "--time-limit", "-1"}), 2);
    EXPECT_EQ(err_.str().substr(0, err_.str().find('\n')),
              "The time limit must be a number of seconds above 0 and at most 1000000");
}

TEST_F(MarkovCliTest, InputErrorsGoToStandardErrorWithExitCode2) {
    const std::string file = write("two.txt", "99\r\n2\r\n0.5 0.5\r\n0.25 0.75\r\n3 6\r\n");
    const std::string bad = write("bad.txt", "99\r\n2\r\n0.5 0.6\r\n0.25 0.75\r\n3 6\r\n");
    struct Case {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{bad, "--analysis", "structure"}, "Sum of rows not 1 in transitionmatrix.\n"},
        {{(dir_ / "none.txt").string(), "--analysis", "structure"},
         "Cannot read file " + (dir_ / "none.txt").string() + "\n"},
        {{file, "--analysis", "transient"}, "Time points must be between 1 and 5000\n"},
        {{file, "--analysis", "transient", "--times", "3", "--end-states", "1,5"},
         "End state 5 doesn't exist.\n"},
        {{file, "--analysis", "transient", "--initial", "x", "--times", "3"},
         "Illegal value for initial state \n"},
        {{file, "--analysis", "transient", "--times", "2.5"}, "Illegal value for time point \n"},
        {{file, "--analysis", "first-passage", "--times", "3"}, "Illegal value for state a.\n"},
        {{file, "--analysis", "first-passage", "--times", "3", "--state", "3"}, "State a doesn't exist.\n"},
        {{file, "--analysis", "first-passage", "--initial", "9", "--times", "3"},
         "Starting state doesn't exist \n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.args), 2) << c.message;
        EXPECT_EQ(err_.str(), c.message);
        EXPECT_TRUE(out_.str().empty());
    }
    // Usage mistakes name the problem and show the syntax.
    for (std::vector<std::string> args :
         std::vector<std::vector<std::string>>{{file},
                                               {"--analysis", "structure"},
                                               {file, "--analysis", "everything"},
                                               {file, "--analysis"},
                                               {file, "--analysis", "structure", "--colour", "red"},
                                               {file, "--analysis", "transient", "--transient", "all"},
                                               {file, "--analysis", "first-passage", "--set", "middle"},
                                               {file, file, "--analysis", "structure"}}) {
        EXPECT_EQ(run(args), 2);
        EXPECT_NE(err_.str().find("Usage: tarvik-solve CHAIN.txt --analysis"), std::string::npos);
    }
}

} // namespace
} // namespace tarvik::markov
