#include "modules/normal/clt.h"
#include "modules/normal/normalcli.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tarvik::normal {
namespace {

class NormalCli : public ::testing::Test {
protected:
    int run(std::vector<std::string> args) {
        out_.str("");
        err_.str("");
        return RunCli(args, out_, err_);
    }
    std::vector<std::string> lines() const {
        std::vector<std::string> result;
        std::istringstream in(out_.str());
        for (std::string line; std::getline(in, line);) result.push_back(line);
        return result;
    }
    std::ostringstream out_, err_;
};

TEST_F(NormalCli, CentralLimitPrintsTheWindowTextsAndTheDistribution) {
    ASSERT_EQ(run({"--normal", "clt", "--die", "fair", "--n", "1"}), 0);
    EXPECT_EQ(out_.str(), "Histogram 1\n"
                          "P(X=1) = 0.1667\nP(X=2) = 0.1667\nP(X=3) = 0.1667\n"
                          "P(X=4) = 0.1667\nP(X=5) = 0.1667\nP(X=6) = 0.1667\n"
                          "Summation length: 1\nMean: 3.5\nStandard deviation: 1.708\n"
                          "1\t0.16667000000000001\n2\t0.16667000000000001\n3\t0.16667000000000001\n"
                          "4\t0.16667000000000001\n5\t0.16667000000000001\n6\t0.16667000000000001\n");
    EXPECT_EQ(err_.str(), "");
}

TEST_F(NormalCli, FourHistogramsWithABiasedDie) {
    ASSERT_EQ(run({"--normal=clt", "--die=0.5,0,0,0,0,0.5", "--n=1,2,3,30"}), 0);
    const auto l = lines();
    // Each histogram: a title, six probabilities, three texts and 5n + 1 sums; blank lines between.
    ASSERT_EQ(l.size(), 4 * 10 + (6 + 11 + 16 + 151) + 3u);
    EXPECT_EQ(l[16], "");
    EXPECT_EQ(l[17], "Histogram 2");
    EXPECT_EQ(l[25], "Mean: 7");
    EXPECT_EQ(l[26], "Standard deviation: 3.536");
    EXPECT_EQ(l[27], "2\t0.25");
    EXPECT_EQ(l[28], "3\t0");
    EXPECT_EQ(l[32], "7\t0.5");
    EXPECT_EQ(l.back(), "180\t9.3132257461547852e-10"); // 2^-30
}

TEST_F(NormalCli, DieAndLengthChecksAsTheWindows) {
    EXPECT_EQ(run({"--normal", "clt", "--die", "0.2,0.2,0.2,0.2,0.1,0.101", "--n", "3"}), 2);
    EXPECT_EQ(err_.str(), "The sum of the probabilities must be 1\n");
    EXPECT_EQ(out_.str(), "");
    EXPECT_EQ(run({"--normal", "clt", "--die", "0.2,0.2,0.2,0.2,0.1,0.10005"}), 0);
    EXPECT_EQ(run({"--normal", "clt", "--die", "0.2,,0.2,0.2,0.2,0.2"}), 2);
    EXPECT_EQ(err_.str(), "Not all probabilities do have numerical values\n");
    EXPECT_EQ(run({"--normal", "clt", "--die", "1.2,-0.2,0,0,0,0"}), 2);
    EXPECT_EQ(err_.str(), "Probabilities larger then 1 or smaller then 0 are not allowed\n");
    EXPECT_EQ(run({"--normal", "clt", "--n", "40"}), 0);
    EXPECT_EQ(run({"--normal", "clt", "--n", "41"}), 2);
    EXPECT_NE(err_.str().find("1 <= n <= 40"), std::string::npos);
    EXPECT_EQ(run({"--normal", "clt", "--n", "31,2"}), 2);
    EXPECT_NE(err_.str().find("1 <= n <= 30"), std::string::npos);
    EXPECT_EQ(run({"--normal", "clt", "--n", "1,2,3"}), 2);
    EXPECT_EQ(run({"--normal", "clt", "--die", "0.5,0.5"}), 2);
}

TEST_F(NormalCli, SquareRootLawIsRepeatableWithASeed) {
    ASSERT_EQ(run({"--normal", "sqrt-law", "--seed", "5", "--count", "20"}), 0);
    const std::string first = out_.str();
    EXPECT_EQ(err_.str(), "");
    const auto l = lines();
    ASSERT_EQ(l.size(), 4u);
    EXPECT_EQ(l[0].rfind("n = 1\tcount 20\taverage ", 0), 0u);
    EXPECT_EQ(l[3].rfind("n = 64\tcount 20\t", 0), 0u);
    ASSERT_EQ(run({"--normal", "sqrt-law", "--seed=5", "--count=20"}), 0);
    EXPECT_EQ(out_.str(), first);
    ASSERT_EQ(run({"--normal", "sqrt-law", "--seed", "5", "--count", "20", "--points"}), 0);
    EXPECT_EQ(lines().size(), 4u + 80u);
    EXPECT_EQ(lines()[0], l[0]);
    // Without a seed the clock's seed is told.
    ASSERT_EQ(run({"--normal", "sqrt-law"}), 0);
    EXPECT_EQ(err_.str().rfind("seed ", 0), 0u);
    EXPECT_EQ(run({"--normal", "sqrt-law", "--count", "9"}), 2);
    EXPECT_EQ(run({"--normal", "sqrt-law", "--count", "1001"}), 2);
    EXPECT_EQ(run({"--normal", "sqrt-law", "--seed", "x"}), 2);
}

TEST_F(NormalCli, IntervalsOneLinePerRunAndTheMisses) {
    ASSERT_EQ(run({"--normal", "ci", "--seed", "11", "--p", "0.1", "--n", "50", "--level", "90"}), 0);
    const auto l = lines();
    ASSERT_EQ(l.size(), 101u);
    int misses[2] = {0, 0};
    for (int i = 0; i < 100; ++i) {
        std::istringstream row(l[i]);
        int run = 0;
        row >> run;
        EXPECT_EQ(run, i + 1);
        for (int k = 0; k < 2; ++k) {
            double f, lo, hi;
            std::string verdict;
            row >> f >> lo >> hi >> verdict;
            EXPECT_LE(lo, f);
            EXPECT_GE(hi, f);
            EXPECT_EQ(verdict, (0.1 < lo || 0.1 > hi) ? "miss" : "hit") << l[i];
            misses[k] += verdict == "miss";
        }
    }
    EXPECT_EQ(l[100], "misses\t" + std::to_string(misses[0]) + "\t" + std::to_string(misses[1]));
    const std::string first = out_.str();
    ASSERT_EQ(run({"--normal", "ci", "--seed", "11", "--p", "0.1", "--n", "50", "--level", "90"}), 0);
    EXPECT_EQ(out_.str(), first);
}

TEST_F(NormalCli, IntervalChecksAsTheWindows) {
    EXPECT_EQ(run({"--normal", "ci", "--p", "0.09", "--seed", "1"}), 2);
    EXPECT_EQ(err_.str(), "The probability should be in the interval [0.1;0.9] \n");
    EXPECT_EQ(run({"--normal", "ci", "--p", "0,4", "--seed", "1"}), 2);
    EXPECT_EQ(err_.str(), "Not all probabilities do have numerical values\n");
    EXPECT_EQ(run({"--normal", "ci", "--p", "0.9", "--seed", "1", "--n", "50"}), 0);
    EXPECT_EQ(run({"--normal", "ci", "--n", "49", "--seed", "1"}), 2);
    EXPECT_EQ(run({"--normal", "ci", "--n", "2501", "--seed", "1"}), 2);
    EXPECT_EQ(run({"--normal", "ci", "--level", "80", "--seed", "1"}), 2);
}

TEST_F(NormalCli, UsageMistakes) {
    EXPECT_EQ(run({"--normal"}), 2);
    EXPECT_EQ(run({"--normal", "bell"}), 2);
    EXPECT_NE(err_.str().find("Usage: tarvik-solve --normal clt"), std::string::npos);
    EXPECT_EQ(run({"--normal", "clt", "--count", "5"}), 2);
    EXPECT_EQ(run({"--normal", "ci", "--points"}), 2);
    EXPECT_EQ(run({"--normal", "ci", "stray"}), 2);
    EXPECT_EQ(run({"--normal", "ci", "--bogus", "1"}), 2);
}

} // namespace
} // namespace tarvik::normal
