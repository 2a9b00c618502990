#include "cli/solvecli.h"
#include "modules/lp/lprun.h"
#include "modules/lp/modeltext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>

namespace tarvik::cli {
namespace {

struct CliRun {
    int code;
    std::string out, err;
};

CliRun RunCli(const std::vector<std::string>& args, const std::string& input = {}) {
    std::istringstream in(input);
    std::ostringstream out, err;
    int code = RunSolve(args, in, out, err);
    return {code, out.str(), err.str()};
}

std::string TempFile(const std::string& name, const std::string& content) {
    // Tests run side by side: each writes its own files.
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    auto path = std::filesystem::temp_directory_path() / ("tarvik-solve-test-" + std::string(info->name()) +
                                                          "-" + std::to_string(::getpid()) + "-" + name);
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
}

TEST(SolveCli, EditorTextEndsEveryLineWithCrLf) {
    EXPECT_EQ(EditorText(""), "");
    EXPECT_EQ(EditorText("a"), "a\r\n");
    EXPECT_EQ(EditorText("a\nb\n"), "a\r\nb\r\n");
    EXPECT_EQ(EditorText("a\r\nb\rc"), "a\r\nb\r\nc\r\n");
    EXPECT_EQ(EditorText("\n\n"), "\r\n\r\n");
}

TEST(SolveCli, FractionsPrintTheTableausAsFractions) {
    CliRun r = RunCli({"-", "--fractions", "--tableaus", "first-last"}, "max x1 + x2;\n3x1 + 2x2 <= 5;\n");
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("Last Iteration\n              X1       X2       Slack1   RHS      \n"
                         "          ------------------------------------\n"
                         "Rel.Cost|      1/2        0      1/2      5/2\n"
                         "X2      |      3/2        1      1/2      5/2\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("  Value Objective Function :          2.5000\n"
                         "  Value objective function as a fraction: 5/2\n"),
              std::string::npos);
    EXPECT_NE(RunCli({"-", "--ip", "--fractions"}, "max x; x <= 1;").err.find("--fractions does not apply"),
              std::string::npos);
}

TEST(SolveCli, LineAndColumnOfAnOffset) {
    std::string text = "max x;\r\nx < 3;\r\n";
    EXPECT_EQ(LineColumn(text, 1), std::make_pair(1L, 1L));
    EXPECT_EQ(LineColumn(text, 11), std::make_pair(2L, 3L));
    EXPECT_EQ(LineColumn(text, static_cast<long>(text.size()) + 1), std::make_pair(3L, 1L));
}

TEST(SolveCli, SolvesFromStandardInputWithLfLineEnds) {
    CliRun r = RunCli({"-"}, "max 3x1 + 2x2;\nx1 + x2 <= 4;\nx1 + 3x2 <= 6;\nx1 <= 3;\n");
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.err.empty());
    EXPECT_EQ(r.out.find('\r'), std::string::npos);
    EXPECT_NE(r.out.find("  Value Objective Function :         11.0000\n"), std::string::npos);
    EXPECT_NE(r.out.find(" Right-Hand-Side Ranges\n"), std::string::npos);

    r = RunCli({"-", "--crlf", "--sensitivity", "off", "--tableaus", "first-last"}, "max x; x <= 1;");
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("Last Iteration\r\n"), std::string::npos);
    EXPECT_EQ(r.out.find("Right-Hand-Side"), std::string::npos);
}

TEST(SolveCli, SyntaxErrorGoesToStandardErrorWithLineAndColumn) {
    std::string path = TempFile("syntax.tlp", "max x;\nx < 3;\n");
    CliRun r = RunCli({path});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(r.err, path + ":2:3: Syntax error: <= expected\n");
    std::filesystem::remove(path);
}

TEST(SolveCli, FoldersDevicesAndHugeFilesAreRefusedAndTheBatchGoesOn) {
    std::string good = TempFile("good.tlp", "max x; x <= 2;\n");
    auto folder = std::filesystem::temp_directory_path() / "tarvik-solve-test-folder.tlp";
    std::filesystem::create_directories(folder);
    CliRun r = RunCli({folder.string(), "/dev/zero", good, "--brief"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("Cannot read file " + folder.string() + "\n"), std::string::npos);
    EXPECT_NE(r.err.find("Cannot read file /dev/zero\n"), std::string::npos);
    EXPECT_EQ(r.out, good + "\tOptimal solution found\t2\n");
    std::filesystem::remove(folder);
    std::filesystem::remove(good);
}

TEST(SolveCli, TimeLimitOutputLimitAndHostileInputs) {
    const std::string lp = "max 3x1 + 2x2; x1 + x2 <= 4; x1 + 3x2 <= 6; x1 <= 3;";
    const std::string ip = "max x1 + x2; 2x1 + 2x2 <= 3; $integer x1, x2;";
    struct Case {
        std::vector<std::string> args;
        std::string input;
        int code;
        std::string out; // a part of standard output
        std::string err; // all of standard error
    };
    // A limit of a microsecond has passed before the first pivot.
    const Case cases[] = {
        {{"-", "--time-limit", "0.000001"},
         lp,
         3,
         "  Stopped before the simplex method ended\n",
         "<stdin>: Stopped (time limit reached)\n"},
        {{"-", "--ip", "--time-limit=0.000001"},
         ip,
         3,
         "The search was stopped before an integer solution",
         "<stdin>: Stopped: no integer solution found (time limit reached)\n"},
        {{"-", "--time-limit", "1000"}, lp, 0, "  Value Objective Function :         11.0000\n", ""},
        {{"-", "--time-limit", "0"},
         lp,
         1,
         "",
         "The time limit must be a number of seconds above 0 and at most 1000000\n"},
        {{"-", "--max-output", "0"},
         lp,
         1,
         "",
         "The output limit must be a whole number of megabytes from 1 to 1000000\n"},
        {{"-", "--ip", "--brief"}, "min x; x >= 0; $integer x;", 0, "\tOptimal solution found\t0\n", ""},
        {{"-", "--brief"}, "\xEF\xBB\xBFmax x; x <= 2;", 0, "\tOptimal solution found\t2\n", ""},
        {{"-"}, std::string(lp::kMaxModelFileBytes + 1, ' '), 2, "", "File <stdin> is too large\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back());
        CliRun r = RunCli(c.args, c.input);
        EXPECT_EQ(r.code, c.code);
        EXPECT_NE(r.out.find(c.out), std::string::npos) << r.out;
        if (c.code == 1)
            EXPECT_EQ(r.err.substr(0, r.err.find('\n') + 1), c.err);
        else
            EXPECT_EQ(r.err, c.err);
    }
}

TEST(SolveCli, TableausStopAtTheOutputLimitAndTheReportFollows) {
    // A 60 x 60 model whose tableaus take more than a megabyte.
    std::string model = "max";
    for (int j = 1; j <= 60; ++j) model += " + " + std::to_string((j * 7) % 11 + 1) + "x" + std::to_string(j);
    model += ";\n";
    for (int i = 1; i <= 60; ++i) {
        for (int j = 1; j <= 60; ++j)
            model += " + " + std::to_string((i * 37 + j * 91) % 17 + 1) + "x" + std::to_string(j);
        model += " <= " + std::to_string(1000 + i) + ";\n";
    }
    CliRun all = RunCli({"-", "--tableaus", "all"}, model);
    ASSERT_GT(all.out.size(), std::size_t{1} << 20);
    CliRun capped = RunCli({"-", "--tableaus", "all", "--max-output", "1"}, model);
    EXPECT_EQ(capped.code, 0);
    const std::size_t at = capped.out.find("\nOutput limit reached; tableaus stop here.\n");
    ASSERT_NE(at, std::string::npos);
    EXPECT_GT(at, std::size_t{1} << 20);
    EXPECT_LT(at, (std::size_t{1} << 20) + 100000);
    EXPECT_EQ(capped.out.substr(0, at), all.out.substr(0, at));
    // The run went on: the same report closes both.
    const std::size_t summary = all.out.find("  Summary of Results");
    EXPECT_TRUE(capped.out.ends_with(all.out.substr(summary)));
}

TEST(SolveCli, AllTableausStreamTheSameTextAsTheWholeRun) {
    const std::string model = "max 3x1 + 2x2 + x3;\nx1 + x2 + x3 <= 4;\nx1 + 3x2 <= 6;\nx1 - x3 >= -2;\n";
    CliRun r = RunCli({"-", "--tableaus", "all", "--crlf"}, model);
    ASSERT_EQ(r.code, 0);
    lp::LPProgress quiet;
    lp::LPSettings settings;
    settings.output = lp::OutputMode::All;
    EXPECT_EQ(r.out, lp::RunLP(EditorText(model), settings, quiet).output);
}

TEST(SolveCli, ModuleOptionsRouteInBothForms) {
    std::string chain = TempFile("chain.txt", "99\r\n2\r\n0.5 0.5\r\n0.25 0.75\r\n3 6\r\n");
    CliRun spaced = RunCli({chain, "--analysis", "steady-state"});
    CliRun joined = RunCli({chain, "--analysis=steady-state"});
    EXPECT_EQ(spaced.code, 0);
    EXPECT_EQ(joined.code, 0);
    EXPECT_EQ(joined.out, spaced.out);
    EXPECT_NE(joined.out.find("STEADY"), std::string::npos);
    // A chain that flips for ages before it settles is refused, not run for hours.
    std::string flip = TempFile("flip.txt", "88\r\n2\r\n0 1000000000\r\n1000000000 0\r\n0 0\r\n0 0\r\n");
    CliRun refused = RunCli({flip, "--analysis=transient", "--times", "5000", "--end-states", "1"});
    EXPECT_EQ(refused.code, 2);
    EXPECT_EQ(refused.err, "Time points must be at most 2 for this chain\n");
    EXPECT_TRUE(refused.out.empty());
    std::filesystem::remove(chain);
    std::filesystem::remove(flip);
    // Coin tossing and dice, with its seed.
    CliRun dice = RunCli({"--dice=fair-die", "--seed", "3"});
    EXPECT_EQ(dice.code, 0) << dice.err;
    EXPECT_EQ(dice.out.rfind("Number of throws: 1000\n", 0), 0u);
    EXPECT_EQ(RunCli({"--dice", "fair-die", "--seed=3"}).out, dice.out);
}

TEST(SolveCli, UnreadableFileAndBadUsage) {
    CliRun r = RunCli({"/nonexistent/dir/model.tlp"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("Cannot read file /nonexistent/dir/model.tlp"), std::string::npos);
    EXPECT_EQ(RunCli({}).code, 1);
    EXPECT_EQ(RunCli({"-", "--tableaus", "some"}).code, 1);
    EXPECT_EQ(RunCli({"-", "--sensitivity"}).code, 1);
    EXPECT_EQ(RunCli({"--bogus", "-"}).code, 1);
}

TEST(SolveCli, InfeasibleAndUnboundedStillExitZero) {
    CliRun r = RunCli({"-", "--brief"}, "max x; x >= 5; x <= 3;");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "<stdin>\tInfeasible\n");
    r = RunCli({"-", "--brief"}, "max x;");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "<stdin>\tUnbounded.\n");
}

TEST(SolveCli, SeveralModelsGetTheWorstExitCode) {
    std::string good = TempFile("good.tlp", "max x; x <= 2;\n");
    std::string bad = TempFile("bad.tlp", "max x x;\n");
    CliRun r = RunCli({good, bad, "--brief"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, good + "\tOptimal solution found\t2\n");
    EXPECT_EQ(r.err, bad + ":1:7: Syntax error: Number expected\n");
    std::filesystem::remove(good);
    std::filesystem::remove(bad);
}

// The netlib models, each through the command-line solver, against their optima.
class NetlibModel : public testing::TestWithParam<std::string> {};

std::map<std::string, double> Optima(const std::string& dir) {
    std::map<std::string, double> optima;
    std::ifstream f(dir + "/optima.tsv");
    std::string line;
    while (std::getline(f, line)) {
        std::istringstream fields(line);
        std::string name;
        int m, n;
        double optimum;
        if (fields >> name >> m >> n >> optimum) optima[name] = optimum;
    }
    return optima;
}

TEST_P(NetlibModel, SolvesToItsOptimum) {
    const std::string dir = std::string(TARVIK_TEST_DATA) + "/netlib";
    ASSERT_TRUE(std::filesystem::exists(dir)) << "no netlib models at " << dir;
    auto optima = Optima(dir);
    ASSERT_TRUE(optima.count(GetParam()));
    double expected = optima[GetParam()];
    CliRun r = RunCli({dir + "/" + GetParam() + ".tlp", "--brief"});
    ASSERT_EQ(r.code, 0) << r.err;
    std::istringstream fields(r.out);
    std::string name, status, value;
    std::getline(fields, name, '\t');
    std::getline(fields, status, '\t');
    std::getline(fields, value);
    ASSERT_EQ(status, "Optimal solution found");
    double got = std::stod(value);
    EXPECT_LE(std::fabs(got - expected), 1e-6 * std::max(1.0, std::fabs(expected)))
        << got << " vs " << expected;
}

INSTANTIATE_TEST_SUITE_P(Netlib, NetlibModel,
                         testing::Values("adlittle", "afiro", "agg", "agg2", "agg3", "bandm", "beaconfd",
                                         "blend", "boeing2", "bore3d", "brandy", "capri", "e226", "grow7",
                                         "israel", "kb2", "lotfi", "recipe", "sc105", "sc205", "sc50a",
                                         "sc50b", "scagr25", "scagr7", "scfxm1", "scorpion", "scsd1",
                                         "sctap1", "share1b", "share2b", "stair", "stocfor1", "tuff",
                                         "vtpbase"),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

} // namespace
} // namespace tarvik::cli

namespace tarvik::cli {
namespace {

const char* kKnapsack = "max 5x1 + 4x2;\n6x1 + 4x2 <= 24;\nx1 + 2x2 <= 6;\n$integer x1, x2;\n";

TEST(SolveCliIP, TipFilesAreIntegerModelsInAnyCase) {
    for (const char* name : {"knap.tip", "KNAP.TIP", "knap.Tip"}) {
        std::string path = TempFile(name, kKnapsack);
        CliRun r = RunCli({path});
        EXPECT_EQ(r.code, 0) << name;
        EXPECT_TRUE(r.err.empty()) << r.err;
        EXPECT_EQ(r.out.find('\r'), std::string::npos);
        EXPECT_NE(r.out.find("Objective Function:\n"), std::string::npos); // the IP echo
        EXPECT_NE(r.out.find("  Summary of results\n"), std::string::npos);
        EXPECT_NE(r.out.find("  Value Objective Function :         20.0000\n"), std::string::npos);
        EXPECT_NE(r.out.find("  X1         :         4.0000\n"), std::string::npos);
        std::filesystem::remove(path);
    }
}

TEST(SolveCliIP, IpAndLpForceTheReader) {
    // From standard input only --ip makes it an integer model.
    CliRun lp = RunCli({"-", "--brief"}, kKnapsack);
    EXPECT_EQ(lp.code, 2); // the LP reader knows no declarations
    EXPECT_NE(lp.err.find("<stdin>:4:1: Syntax error: Cannot interpret character $"), std::string::npos);
    CliRun ip = RunCli({"-", "--ip", "--brief"}, kKnapsack);
    EXPECT_EQ(ip.code, 0);
    EXPECT_EQ(ip.out, "<stdin>\tOptimal solution found\t20\n");

    std::string path = TempFile("relax.tip", "max 5x1 + 4x2;\n6x1 + 4x2 <= 24;\nx1 + 2x2 <= 6;\n");
    CliRun asLp = RunCli({path, "--lp", "--brief"});
    EXPECT_EQ(asLp.code, 0);
    EXPECT_EQ(asLp.out, path + "\tOptimal solution found\t21\n");
    EXPECT_EQ(RunCli({path, "--lp", "--ip"}).code, 1);
    std::filesystem::remove(path);
}

TEST(SolveCliIP, BriefLinesCrLfAndStatuses) {
    CliRun r = RunCli({"-", "--ip", "--brief"}, "min 3x + 2y; x + y >= 2.5; $integer x, y;");
    EXPECT_EQ(r.out, "<stdin>\tOptimal solution found\t6\n");
    r = RunCli({"-", "--ip", "--brief"}, "max x + y; 2x + 2y = 1; $integer x, y;");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "<stdin>\tThere is no feasible integer solution.\n");
    r = RunCli({"-", "--ip"}, "max x; x >= 5; x <= 3; $integer x;");
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("\n\nThere is no feasible solution.\n\n\n"), std::string::npos);
    r = RunCli({"-", "--ip", "--crlf"}, kKnapsack);
    EXPECT_NE(r.out.find("  Summary of results\r\n"), std::string::npos);
    EXPECT_EQ(r.out.find("\r\r"), std::string::npos);
}

// The textbook search of max x1 + x2; 2x1 + 2x2 <= 3, worked by hand. Root: X1 = 1.5,
// down penalty 0, up side infeasible (infinite penalty): X1 <= 1 first. Node 2: X2 = 0.5,
// down penalty 0.5 > up penalty 0: X2 >= 1 first. Node 3: X1 = 0.5, X1 <= 0 first. Node 4:
// X2 = 1.5, the up side infeasible: X2 <= 1. Node 5: X2 = 1, the incumbent 1. Every open
// side's estimate (at most 1) does not beat it, so the search backtracks to the end.
TEST(SolveCliIP, TreePrintsTheTextbookNodeSequenceAfterTheReport) {
    const std::string model = "max x1 + x2; 2x1 + 2x2 <= 3; $integer x1, x2;";
    CliRun r = RunCli({"-", "--ip", "--tree"}, model);
    EXPECT_EQ(r.code, 0);
    const std::string tail = "  X1         :         0.0000\n"
                             "  X2         :         1.0000\n"
                             "\n"
                             "\n"
                             "node\tparent\tdepth\tbranch\tlp_value\toutcome\tincumbent\n"
                             "1\t-\t0\t-\t1.5000\tbranched\t-\n"
                             "2\t1\t1\tX1<=1\t1.5000\tbranched\t-\n"
                             "3\t2\t2\tX2>=1\t1.5000\tbranched\t-\n"
                             "4\t3\t3\tX1<=0\t1.5000\tbranched\t-\n"
                             "5\t4\t4\tX2<=1\t1.0000\tintegral\t1.0000\n"
                             "nodes 5\tpivots 5\n";
    ASSERT_GE(r.out.size(), tail.size());
    EXPECT_EQ(r.out.substr(r.out.size() - tail.size()), tail);
    // MIN models print the true objective; the faster search is chosen on the command line.
    r = RunCli({"-", "--ip", "--tree", "--faster-search", "--crlf"},
               "min 3x + 2y; x + y >= 2.5; $integer x, y;");
    EXPECT_NE(r.out.find("\t6.0000\r\nnodes "), std::string::npos) << r.out;
    r = RunCli({"-", "--tree"}, "max x; x <= 2;");
    EXPECT_EQ(r.err, "tarvik-solve: --faster-search and --tree apply to integer models only\n");
}

TEST(SolveCliIP, SyntaxErrorsAndLpOptions) {
    std::string path = TempFile("bad.tip", "max x;\n");
    CliRun r = RunCli({path});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err, path + ":2:1: Syntax error: No conditions stated.\n");
    std::filesystem::remove(path);
    r = RunCli({"-", "--ip", "--sensitivity", "off"}, kKnapsack);
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.err.find("do not apply to integer models"), std::string::npos);
    EXPECT_NE(r.out.find("  Summary of results\n"), std::string::npos);
}

TEST(SolveCliGraphical, LinesAfterTheReportForLinearAndIntegerModels) {
    CliRun r = RunCli({"-", "--graphical", "--sensitivity", "off"},
                      "max 3x1 + 2x2;\nx1 + x2 <= 4;\nx1 + 3x2 <= 6;\nx1 <= 3;\n");
    EXPECT_EQ(r.code, 0);
    const std::string lines = "Vertex 1: (0.0000, 0.0000)  objective 0.0000\n"
                              "Vertex 2: (3.0000, 0.0000)  objective 9.0000\n"
                              "Vertex 3: (3.0000, 1.0000)  objective 11.0000\n"
                              "Vertex 4: (0.0000, 2.0000)  objective 4.0000\n"
                              "Optimal: vertex 3 (3.0000, 1.0000)  objective 11.0000\n"
                              "Simplex path: 1 -> 2 -> 3\n";
    const CliRun plain =
        RunCli({"-", "--sensitivity", "off"}, "max 3x1 + 2x2;\nx1 + x2 <= 4;\nx1 + 3x2 <= 6;\nx1 <= 3;\n");
    ASSERT_GE(r.out.size(), plain.out.size());
    EXPECT_EQ(r.out.substr(0, plain.out.size()), plain.out); // the report as it was
    EXPECT_TRUE(r.out.ends_with("\n\n" + lines)) << r.out;

    r = RunCli({"-", "--ip", "--graphical"}, "max x1 + x2; 2x1 + 2x2 <= 3; $integer x1, x2;");
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.out.ends_with("Vertex 3: (0.0000, 1.5000)  objective 1.5000\n"
                                "Optimal: edge from vertex 2 (1.5000, 0.0000) to vertex 3 (0.0000, 1.5000)  "
                                "objective 1.5000\nSimplex path: 1 -> 2\n"))
        << r.out;
}

TEST(SolveCliGraphical, OtherThanTwoVariablesIsAnInputError) {
    for (const char* model : {"max x;", "max x + y + z; x + y + z <= 1;"}) {
        CliRun r = RunCli({"-", "--graphical"}, model);
        EXPECT_EQ(r.code, 2);
        EXPECT_EQ(r.err, "The graphical method needs exactly two variables.\n");
        EXPECT_TRUE(r.out.empty());
    }
    CliRun r = RunCli({"-", "--graphical", "--brief"}, "max x + y;");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(RunCli({"-", "--graphical"}, "max x + ;").code, 2); // the syntax error, as always
}

} // namespace
} // namespace tarvik::cli
