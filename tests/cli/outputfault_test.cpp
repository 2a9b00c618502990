// Output that cannot be written is never passed over: every family of
// tarvik-solve, run with its standard output on a full device, says so and
// exits with 1; a long run stops once its output fails.
#include "cli/solvecli.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace tarvik::cli {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class OutputFault : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("tarvik-outputfault-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string put(const std::string& name, const std::string& text) {
        std::ofstream((dir_ / name), std::ios::binary) << text;
        return (dir_ / name).string();
    }
    // Runs the program with standard output on `target`; standard error is kept in err_.
    int run(const std::string& args, const std::string& target) {
        const fs::path err = dir_ / "stderr.txt";
        const std::string command =
            std::string(TARVIK_SOLVE_PROGRAM) + " " + args + " > " + target + " 2> " + err.string();
        const int status = std::system(command.c_str());
        err_ = Slurp(err);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    fs::path dir_;
    std::string err_;
};

TEST_F(OutputFault, EveryFamilySaysWhenItsOutputCannotBeWritten) {
    const std::string families[] = {
        put("model.tlp", "max 3x1 + 2x2; x1 + x2 <= 4; x1 + 3x2 <= 6; x1 <= 3;\n"),
        "--brief " + put("model.tip", "max x1 + x2; 2x1 + 2x2 <= 3; $integer x1, x2;\n"),
        put("chain.txt", "99\r\n2\r\n0.5 0.5\r\n0.2 0.8\r\n1 2\r\n") + " --analysis steady-state",
        "--tsp --random 10 --seed 1 --tour nearest",
        "--grid --seed 1",
        "--simulate single --seed 1 --length 400",
        "--normal clt",
        "--montecarlo birthday --persons 23 --runs 350 --seed 7",
        "--roulette --capital 3 --goal 5 --bets 2",
        "--queue mmc --c 10 --rho 0.8",
        "--dice fair-coin --throws 10 --seed 1",
    };
    for (const std::string& args : families) {
        SCOPED_TRACE(args);
        ASSERT_EQ(run(args, "/dev/null"), 0) << err_;
        EXPECT_EQ(run(args, "/dev/full"), 1);
        EXPECT_TRUE(err_.ends_with("Cannot write output: No space left on device\n")) << err_;
    }
}

TEST(CheckedOutput, KeepsTheFirstFailureAndItsReason) {
    const int fd = ::open("/dev/full", O_WRONLY);
    ASSERT_GE(fd, 0);
    CheckedOutput buffer(fd);
    std::ostream out(&buffer);
    out << std::string(200000, 'x'); // more than the buffer holds: the failure shows at once
    EXPECT_FALSE(out);
    std::ostringstream err;
    EXPECT_EQ(FinishOutput(0, buffer, err), 1);
    EXPECT_EQ(err.str(), "Cannot write output: No space left on device\n");
}

TEST(CheckedOutput, ALongRunStopsOnceItsOutputFails) {
    // Every tableau of a model of 60 rows and columns goes to a full device.
    std::string model = "max";
    for (int j = 1; j <= 60; ++j) model += " + " + std::to_string(j % 7 + 1) + "x" + std::to_string(j);
    model += ";\n";
    for (int i = 1; i <= 60; ++i) {
        for (int j = 1; j <= 60; ++j)
            model += " + " + std::to_string((i * j) % 9 + 1) + "x" + std::to_string(j);
        model += " <= " + std::to_string(100 + i) + ";\n";
    }
    const int fd = ::open("/dev/full", O_WRONLY);
    ASSERT_GE(fd, 0);
    CheckedOutput buffer(fd);
    std::ostream out(&buffer);
    std::istringstream in(model);
    std::ostringstream err;
    EXPECT_EQ(RunSolve({"--tableaus", "all", "-"}, in, out, err), 1);
    EXPECT_EQ(err.str(), ""); // said once, by FinishOutput
    EXPECT_EQ(FinishOutput(1, buffer, err), 1);
    EXPECT_EQ(err.str(), "Cannot write output: No space left on device\n");
}

} // namespace
} // namespace tarvik::cli
