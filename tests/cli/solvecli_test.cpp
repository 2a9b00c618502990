#include "cli/solvecli.h"
#include "modules/lp/lprun.h"

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

} // namespace
} // namespace tarvik::cli
