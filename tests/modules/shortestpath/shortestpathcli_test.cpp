#include "common/random.h"
#include "modules/shortestpath/gridfile.h"
#include "modules/shortestpath/network.h"
#include "modules/shortestpath/shortestpathcli.h"

#include "support/clitesting.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace tarvik::shortestpath {
namespace {

class GridCli : public tarvik::test::CliFileTest {
protected:
    GridCli() : CliFileTest(&RunCli, "gridcli") {}
};

// 2 x 2: the optimum 1 + 1 + 1 + 1 runs right, up, right, up; the myopic rule
// is lured up by the cheap first arc; the nearly-myopic rule sees behind it.
const char* const kNetwork = "rows 2\n"
                             "columns 2\n"
                             "up\n"
                             "50 50 1\n"
                             "0 1 9\n"
                             "right\n"
                             "60 60\n"
                             "50 1\n"
                             "1 50\n";

TEST_F(GridCli, PrintsTheOptimalAndTheHeuristicPath) {
    const std::string file = write("net.txt", kNetwork);
    ASSERT_EQ(run({"--grid", file}), 0) << err_.str();
    EXPECT_EQ(out_.str(), "Length optimal path: 4\nOptimal path: R U R U\n");
    EXPECT_EQ(err_.str(), "");

    ASSERT_EQ(run({"--grid=" + file, "--heuristic", "myopic"}), 0) << err_.str();
    EXPECT_EQ(out_.str(), "Length optimal path: 4\nOptimal path: R U R U\n"
                          "Length heuristic path: 170\nHeuristic path: U U R R\n");
    ASSERT_EQ(run({file, "--grid", "--heuristic=nearly-myopic"}), 0) << err_.str();
    EXPECT_EQ(out_.str(), "Length optimal path: 4\nOptimal path: R U R U\n"
                          "Length heuristic path: 4\nHeuristic path: R U R U\n");
}

TEST_F(GridCli, FixedLengthsAndSeededRandomLengthsAsTheSettingsMakeThem) {
    ASSERT_EQ(run({"--grid", "--rows", "3", "--columns=2", "--fixed", "7"}), 0) << err_.str();
    EXPECT_EQ(out_.str(), "Length optimal path: 35\nOptimal path: U U U R R\n");

    ASSERT_EQ(run({"--grid", "--rows", "4", "--columns", "5", "--seed", "99"}), 0) << err_.str();
    const std::string seeded = out_.str();
    RandSeed = 99;
    Network n;
    n.rows = 4;
    n.columns = 5;
    DrawRandomLengths(n);
    const OptimalValues v = ComputeOptimal(n);
    EXPECT_EQ(seeded, "Length optimal path: " + LengthText(v.length()) +
                          "\nOptimal path: " + MovesText(OptimalPath(n, v)) + "\n");
    ASSERT_EQ(run({"--grid", "--rows", "4", "--columns", "5", "--seed", "99"}), 0);
    EXPECT_EQ(out_.str(), seeded);
    EXPECT_EQ(err_.str(), "");

    // --print-network writes a file that reads back to the same network and the same answer.
    ASSERT_EQ(run({"--grid", "--rows", "4", "--columns", "5", "--seed=99", "--print-network"}), 0);
    EXPECT_EQ(out_.str(), NetworkText(n));
    const std::string file = write("printed.txt", out_.str());
    ASSERT_EQ(run({"--grid", file}), 0);
    EXPECT_EQ(out_.str(), seeded);

    // Without a seed the one used is told, so that the run can be repeated.
    ASSERT_EQ(run({"--grid", "--rows", "2", "--columns", "2"}), 0);
    const std::string told = err_.str();
    ASSERT_EQ(told.rfind("seed ", 0), 0u) << told;
    const std::string first = out_.str();
    ASSERT_EQ(run({"--grid", "--rows", "2", "--columns", "2", "--seed", told.substr(5, told.size() - 6)}), 0);
    EXPECT_EQ(out_.str(), first);
}

TEST_F(GridCli, AnUnreadableFileExitsOneAndABadLineTwo) {
    EXPECT_EQ(run({"--grid", (dir_ / "missing.txt").string()}), 1);
    EXPECT_EQ(err_.str(), "Cannot read file " + (dir_ / "missing.txt").string() + "\n");
    EXPECT_EQ(out_.str(), "");

    const std::string bad = write("bad.txt", "rows 2\ncolumns 2\nup\n1 2 3\n1 2 x\n");
    EXPECT_EQ(run({"--grid", bad}), 2);
    EXPECT_EQ(err_.str(), bad + ":5: a length must be a whole number from 0 to 100, not \"x\"\n");
    EXPECT_EQ(out_.str(), "");
}

TEST_F(GridCli, WrongCommandLinesAreRefused) {
    const std::string file = write("net.txt", kNetwork);
    EXPECT_EQ(run({"--grid", "--rows", "11"}), 2);
    EXPECT_EQ(err_.str(), "The value of --rows must be a whole number from 1 to 10, not \"11\"\n");
    EXPECT_EQ(run({"--grid", "--columns", "0"}), 2);
    EXPECT_EQ(run({"--grid", "--fixed", "0"}), 2);
    EXPECT_EQ(run({"--grid", "--fixed", "101"}), 2);
    EXPECT_EQ(run({"--grid", "--seed", "-1"}), 2);
    EXPECT_EQ(run({"--grid", "--fixed", "5", "--seed", "1"}), 2);
    EXPECT_EQ(run({"--grid", file, "--rows", "3"}), 2);
    EXPECT_EQ(run({"--grid", file, "--heuristic", "greedy"}), 2);
    EXPECT_NE(err_.str().find("Unknown heuristic greedy"), std::string::npos);
    EXPECT_EQ(run({"--grid", file, "--colour", "red"}), 2);
    EXPECT_EQ(run({"--grid", file, "--heuristic"}), 2);
    EXPECT_EQ(run({"--grid", file, "other.txt"}), 2);
    EXPECT_EQ(out_.str(), "");
}

} // namespace
} // namespace tarvik::shortestpath
