// The wheel's numbers of the table game from the command line.
#include "common/random.h"
#include "modules/roulette/roulettecli.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace tarvik::roulette {
namespace {

int Spin(const std::vector<std::string>& args, std::string& out, std::string& err) {
    std::ostringstream o, e;
    const int code = RunCli(args, o, e);
    out = o.str();
    err = e.str();
    return code;
}

TEST(RouletteSpinsCli, EachSpinDrawsItsNumberThenTheBallsTurns) {
    std::string out, err;
    ASSERT_EQ(Spin({"--roulette", "--spins", "300", "--seed", "2024"}, out, err), 0) << err;
    EXPECT_EQ(err, "");
    // The same generator by hand: a number out of 37, then one real for the turns.
    static const std::set<int> red = {1, 3, 5, 7, 9, 12, 14, 16, 18, 19, 21, 23, 25, 27, 30, 32, 34, 36};
    RandSeed = 2024;
    std::string expected;
    for (int k = 1; k <= 300; ++k) {
        const int n = RandomInt(37);
        RandomReal();
        expected += std::to_string(k) + "\t" + std::to_string(n) + "\t" +
                    (n == 0         ? "green"
                     : red.count(n) ? "red"
                                    : "black") +
                    "\n";
    }
    EXPECT_EQ(out, expected);

    // Without a seed the clock's one is told, and repeats the spins.
    ASSERT_EQ(Spin({"--roulette", "--spins=5"}, out, err), 0);
    ASSERT_EQ(err.rfind("seed ", 0), 0u);
    std::string again, none;
    ASSERT_EQ(Spin({"--roulette", "--spins", "5", "--seed", err.substr(5, err.size() - 6)}, again, none), 0);
    EXPECT_EQ(again, out);
}

TEST(RouletteSpinsCli, RefusesWhatDoesNotGoWithSpins) {
    const std::vector<std::vector<std::string>> refused = {
        {"--roulette", "--spins", "0"},
        {"--roulette", "--spins", "1000001"},
        {"--roulette", "--spins", "ten"},
        {"--roulette", "--spins", "5", "--seed", "-3"},
        {"--roulette", "--spins", "5", "--capital", "3"},
        {"--roulette", "--spins", "5", "--table"},
        {"--roulette", "--seed", "5"},
    };
    for (const auto& args : refused) {
        std::string out, err;
        EXPECT_EQ(Spin(args, out, err), 2) << args[2];
        EXPECT_EQ(out, "");
        EXPECT_NE(err.find("Usage: tarvik-solve --roulette"), std::string::npos);
    }
}

} // namespace
} // namespace tarvik::roulette
