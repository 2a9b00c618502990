#include "modules/ip/mipsolver.h"

#include "modules/ip/mipreport.h"
#include "modules/ip/miprun.h"
#include "modules/lp/lprun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace tarvik::ip {
namespace {

// Records what the progress dialog would show.
class Recorder : public MIPProgress {
public:
    void iteration(long n) override {
        iterations.push_back(n);
        if (stopAfterSolves > 0 && static_cast<long>(iterations.size()) >= stopAfterSolves) stop = true;
    }
    void lowerBound(double v) override {
        lower = BoundText(v);
        if (stopAtIncumbent && v > -kInfinity) stop = true;
    }
    void upperBound(double v) override { upper = BoundText(v); }
    void resultLine(const std::string& text) override { result = text; }
    bool stopRequested() const override { return stop; }

    std::vector<long> iterations;
    std::string lower, upper, result;
    long stopAfterSolves = 0;
    bool stopAtIncumbent = false;
    bool stop = false;
};

MIPModel Read(const std::string& text) {
    ReadSink sink;
    MIPReadResult r = ReadMIPModel(text, sink);
    EXPECT_TRUE(r.success) << r.message;
    return r.model;
}

std::string Report(const std::string& text) {
    Recorder progress;
    return RunMIP(text, progress).output;
}

TEST(MipBounds, BoundTexts) {
    EXPECT_EQ(BoundText(1e12), " +inf");
    EXPECT_EQ(BoundText(1000000.5), " +inf");
    EXPECT_EQ(BoundText(-1e12), " -inf");
    EXPECT_EQ(BoundText(-1000000.5), " -inf");
    EXPECT_EQ(BoundText(1), "      1.00");
    EXPECT_EQ(BoundText(1000000), "1000000.00");
    EXPECT_EQ(BoundText(-2.345), "     -2.35"); // half away from zero
    EXPECT_EQ(BoundText(-0.001), "      0.00");
}

TEST(MipSolve, LpOptimumOneAndAHalfGivesOneWithLowerBoundShown) {
    Recorder progress;
    const MIPModel m = Read("max x1 + x2; 2x1 + 2x2 <= 3; $integer x1, x2;\r\n");
    const MIPResult r = MIPSolve(m, progress);
    ASSERT_EQ(r.status, kOptimal);
    EXPECT_DOUBLE_EQ(r.objective, 1);
    EXPECT_DOUBLE_EQ(r.x[1] + r.x[2], 1);
    EXPECT_EQ(progress.lower, "      1.00");
    EXPECT_EQ(progress.upper, "      1.00");
    EXPECT_EQ(progress.result, "Optimal solution found");
    // The iteration count after every LP solve, growing.
    ASSERT_EQ(static_cast<long>(progress.iterations.size()), r.lpSolves);
    EXPECT_TRUE(std::is_sorted(progress.iterations.begin(), progress.iterations.end()));
    EXPECT_EQ(progress.iterations.back(), r.iterations);
}

TEST(MipSolve, BinaryBelowTwoAndAHalfIsOne) {
    const MIPModel m = Read("max x; x <= 2.5; $binary x;\r\n");
    Recorder progress;
    const MIPResult r = MIPSolve(m, progress);
    ASSERT_EQ(r.status, kOptimal);
    EXPECT_EQ(r.x[1], 1);
}

TEST(MipSolve, MinModelShowsNegatedBoundsAndReportsTheTrueObjective) {
    Recorder progress;
    const MIPRunResult r = RunMIP("min 3x + 2y; x + y >= 2.5; $integer x, y;\r\n", progress);
    ASSERT_EQ(r.solve.status, kOptimal);
    EXPECT_DOUBLE_EQ(r.objective, 6);
    EXPECT_EQ(progress.lower, "     -6.00");
    EXPECT_EQ(progress.upper, "     -6.00");
    EXPECT_NE(r.output.find("  Value Objective Function :          6.0000\r\n"), std::string::npos);
}

TEST(MipSolve, InfeasibleRelaxationReportsNoFeasibleSolution) {
    Recorder progress;
    const MIPRunResult r = RunMIP("max x; x >= 5; x <= 3; $integer x;\r\n", progress);
    EXPECT_EQ(r.solve.status, kInfeasible);
    EXPECT_EQ(r.message, "There is no feasible solution.");
    EXPECT_EQ(progress.result, "There is no feasible solution.");
    EXPECT_NE(r.output.find("\r\n\r\nThere is no feasible solution.\r\n\r\n\r\n"), std::string::npos);
    EXPECT_EQ(progress.lower, " -inf");
}

TEST(MipSolve, FeasibleRelaxationWithoutIntegerPointIsStatusSix) {
    Recorder progress;
    const MIPRunResult r = RunMIP("max x + y; 2x + 2y = 1; $integer x, y;\r\n", progress);
    EXPECT_EQ(r.solve.status, kNoIntegerSolution);
    EXPECT_EQ(progress.result, "There is no feasible integer solution.");
    EXPECT_NE(r.output.find("\r\n\r\nThere is no feasible integer solution.\r\n\r\n\r\n"), std::string::npos);
}

TEST(MipSolve, UnboundedRelaxation) {
    Recorder progress;
    const MIPRunResult r = RunMIP("max x + y; x - y <= 1; $integer x;\r\n", progress);
    EXPECT_EQ(r.solve.status, kUnbounded);
    EXPECT_EQ(progress.result, "LP is unbounded");
    EXPECT_NE(r.output.find("\r\n\r\nUnbound.\r\n\r\n\r\n"), std::string::npos);
}

TEST(MipSolve, MoreRowsThanTheBasisHoldsIsTooLargeBeforeAnyPivot) {
    std::string text = "max x;\r\n";
    for (int i = 0; i < 151; ++i) text += "x <= " + std::to_string(i + 1) + ";\r\n";
    text += "$integer x;\r\n";
    Recorder progress;
    const MIPRunResult r = RunMIP(text, progress);
    EXPECT_EQ(r.solve.status, kTooLarge);
    EXPECT_EQ(r.solve.iterations, 0);
    EXPECT_EQ(r.message, "Problem is too large.");
    EXPECT_NE(r.output.find("\r\n\r\nProblem is too large.\r\n\r\n\r\n"), std::string::npos);
    // 150 rows are within the limit.
    text = "max x;\r\n";
    for (int i = 0; i < 150; ++i) text += "x <= " + std::to_string(i + 1) + ".5;\r\n";
    text += "$integer x;\r\n";
    const MIPRunResult ok = RunMIP(text, progress);
    ASSERT_EQ(ok.solve.status, kOptimal);
    EXPECT_DOUBLE_EQ(ok.objective, 1);
}

TEST(MipReport, GoldenTextOfAnOptimalRun) {
    const std::string out = Report("max 5x1 + 4x2 + 0.5 longvariablename;\r\n"
                                   "6x1 + 4x2 <= 24;\r\nx1 + 2x2 + longvariablename <= 6;\r\n"
                                   "$integer x1, x2;\r\n");
    const std::string report = out.substr(out.find("$INTEGER"));
    EXPECT_EQ(report, "$INTEGER   X1, X2\r\n"
                      "\r\n"
                      "\r\n"
                      "  Summary of results\r\n"
                      "\r\n"
                      "  Value Objective Function :         21.0000\r\n"
                      "\r\n"
                      "  Variable             Activity Level \r\n"
                      "  ---------            -------------- \r\n"
                      "  X1         :         4.0000\r\n"
                      "  X2         :         0.0000\r\n"
                      "  LONGVARIAB :         2.0000\r\n"
                      "\r\n"
                      "\r\n");
}

TEST(MipReport, NoNegativeZeroAndShortNamesPadded) {
    const std::string out = Report("min x + y; x - y >= 0; $integer x, y;\r\n");
    EXPECT_EQ(out.find("-0.0000"), std::string::npos);
    EXPECT_NE(out.find("  Value Objective Function :          0.0000\r\n"), std::string::npos);
    EXPECT_NE(out.find("  X          :         0.0000\r\n"), std::string::npos);
}

TEST(MipReport, MessagesOfEveryStatus) {
    const char* texts[] = {"Unbound.",
                           "There is no feasible solution.",
                           "Too many iterations.",
                           "Problem is too large.",
                           "Wanted accuracy not attained.",
                           "There is no feasible integer solution.",
                           "There is an error."};
    for (int s = 1; s <= 7; ++s) EXPECT_EQ(ReportStatusText(s), texts[s - 1]);
    EXPECT_EQ(ReportStatusText(9), "Unknown error.");
    const char* lines[] = {"Optimal solution found",
                           "LP is unbounded",
                           "There is no feasible solution.",
                           "Too many iterations.",
                           "Problem is too large.",
                           "Problems with precision",
                           "There is no feasible integer solution.",
                           "An error has taken place"};
    for (int s = 0; s <= 7; ++s) EXPECT_EQ(StatusLine(s), lines[s]);
}

// A finished side is never entered again: these searches used to run forever.
TEST(MipSearch, FinishedSidesAreNotReentered) {
    struct Case {
        const char* text;
        double objective;
    } cases[] = {
        {"max x1 + x2; 2x1 + 2x2 <= 3; $integer x1, x2;\r\n", 1},
        {"max 5x1 + 4x2; 6x1 + 4x2 <= 24; x1 + 2x2 <= 6; $integer x1, x2;\r\n", 20},
    };
    for (const Case& c : cases) {
        Recorder progress;
        progress.stopAfterSolves = 50; // a search that loops is stopped here
        const MIPResult r = MIPSolve(Read(c.text), progress);
        EXPECT_FALSE(r.stopped) << c.text;
        EXPECT_EQ(r.status, kOptimal) << c.text;
        EXPECT_DOUBLE_EQ(r.objective, c.objective) << c.text;
        EXPECT_LE(r.lpSolves, 12) << c.text;
    }
}

TEST(MipSearch, StoppedRunReportsTheBestSolutionSoFar) {
    // A knapsack whose search finds several integer solutions.
    const std::string text = "max 12a + 11b + 10c + 9d + 8e + 7f;\r\n"
                             "6.1a + 5.9b + 5.2c + 4.8d + 4.1e + 3.7f <= 14.5;\r\n"
                             "$binary a, b, c, d, e, f;\r\n";
    Recorder progress;
    progress.stopAtIncumbent = true;
    const MIPRunResult r = RunMIP(text, progress);
    ASSERT_TRUE(r.solve.stopped);
    ASSERT_TRUE(r.solve.haveIncumbent);
    EXPECT_NE(r.output.find("  Summary of results\r\n"), std::string::npos);
    EXPECT_NE(r.output.find("  The search was stopped: this solution is not proven optimal.\r\n"),
              std::string::npos);
    EXPECT_EQ(progress.result, "Stopped: best solution found so far");

    Recorder early;
    early.stopAfterSolves = 1;
    const MIPRunResult none = RunMIP(text, early);
    ASSERT_TRUE(none.solve.stopped);
    EXPECT_FALSE(none.solve.haveIncumbent);
    EXPECT_NE(none.output.find("The search was stopped before an integer solution was found.\r\n"),
              std::string::npos);
    EXPECT_EQ(none.output.find("Summary"), std::string::npos);
}

// Warm starts: a bound on a basic and on a nonbasic variable, then restored.
TEST(MipRelaxation, BoundChangesAreSolvedFromTheCurrentBasisAndRestored) {
    const MIPModel m = Read("max 5x1 + 4x2 + 3x3; 2x1 + 3x2 + x3 <= 5; 4x1 + x2 + 2x3 <= 11;"
                            " 3x1 + 4x2 + 2x3 <= 8.5; $integer x1, x2, x3;\r\n");
    Relaxation lp(m);
    tarvik::Progress none;
    ASSERT_EQ(lp.solve(none), kOptimal);
    const double root = lp.objective();
    // A basic variable at a fractional value, bounded below its value.
    int basic = 0, nonbasic = 0;
    for (int j = 1; j <= 3; ++j) {
        if (lp.isBasic(j) && lp.value(j) - std::floor(lp.value(j)) > 1e-6 && basic == 0) basic = j;
        if (!lp.isBasic(j) && nonbasic == 0) nonbasic = j;
    }
    ASSERT_NE(basic, 0);
    ASSERT_NE(nonbasic, 0);
    const double v = lp.value(basic);
    lp.setBounds(basic, 0, std::floor(v));
    ASSERT_EQ(lp.solve(none), kOptimal);
    EXPECT_LE(lp.value(basic), std::floor(v) + 1e-9);
    EXPECT_LT(lp.objective(), root);
    lp.setBounds(basic, 0, kInfinity);
    ASSERT_EQ(lp.solve(none), kOptimal);
    EXPECT_NEAR(lp.objective(), root, 1e-9);
    // A nonbasic variable at 0 moved to a new lower bound.
    lp.setBounds(nonbasic, 1, kInfinity);
    EXPECT_DOUBLE_EQ(lp.value(nonbasic), 1);
    ASSERT_EQ(lp.solve(none), kOptimal);
    EXPECT_GE(lp.value(nonbasic), 1 - 1e-9);
    EXPECT_LT(lp.objective(), root);
    lp.setBounds(nonbasic, 0, kInfinity);
    ASSERT_EQ(lp.solve(none), kOptimal);
    EXPECT_NEAR(lp.objective(), root, 1e-9);
}

// Random set covering: many more pivots than the old limit of 100.
std::string SetCovering(int rows, int cols, unsigned seed) {
    std::mt19937 g(seed);
    std::ostringstream s;
    s << "min ";
    for (int j = 1; j <= cols; ++j) s << (j > 1 ? " + " : "") << 1 + g() % 9 << "x" << j;
    s << ";\r\n";
    for (int i = 0; i < rows; ++i) {
        bool any = false;
        for (int j = 1; j <= cols; ++j)
            if (g() % 10 == 0 || (j == 1 + static_cast<int>(g() % cols) && !any)) {
                s << (any ? " + " : "") << "x" << j;
                any = true;
            }
        if (!any) s << "x" << 1 + i % cols;
        s << " >= 1;\r\n";
    }
    return s.str();
}

TEST(MipRelaxation, RootsBeyondAHundredPivotsAreSolvedAndMatchTheLPEngine) {
    const std::string lpText = SetCovering(60, 120, 7);
    std::string text = lpText + "$binary";
    for (int j = 1; j <= 120; ++j) text += " x" + std::to_string(j);
    text += ";\r\n";
    const MIPModel m = Read(text);
    Relaxation root(m);
    tarvik::Progress none;
    ASSERT_EQ(root.solve(none), kOptimal);
    EXPECT_GT(root.pivots, 100);
    // The LP engine on the same relaxation (binary bounds as rows).
    std::string bounded = lpText;
    for (int j = 1; j <= 120; ++j) bounded += "x" + std::to_string(j) + " <= 1;\r\n";
    lp::LPSettings settings;
    settings.sensitivity = false;
    lp::LPProgress quiet;
    const lp::LPRunResult engine = lp::RunLP(bounded, settings, quiet);
    ASSERT_EQ(engine.status, 0);
    EXPECT_NEAR(-root.objective(), engine.objective, 1e-7 * std::abs(engine.objective));
    // And the integer model is solved.
    Recorder progress;
    const MIPResult r = MIPSolve(m, progress);
    EXPECT_EQ(r.status, kOptimal);
    EXPECT_GE(-r.objective, engine.objective - 1e-9);
}

// A basis saved at one optimum and taken up under a branch's bounds, after
// the other branch was solved, gives the optimum of a solve from scratch.
TEST(MipRelaxation, SavedBasisLoadedUnderNewBoundsGivesTheColdOptimum) {
    std::string text = SetCovering(60, 120, 7) + "$binary";
    for (int j = 1; j <= 120; ++j) text += " x" + std::to_string(j);
    const MIPModel m = Read(text + ";\r\n");
    Relaxation lp(m);
    lp.dualSteps = true;
    tarvik::Progress none;
    ASSERT_EQ(lp.solve(none), kOptimal);
    const double root = lp.objective();
    std::vector<int> saved;
    lp.saveBasis(saved);
    int basic = 0;
    for (int j : lp.basicStructurals()) {
        if (basic == 0 && !IsIntegral(lp.value(j))) basic = j;
    }
    ASSERT_NE(basic, 0);
    for (int side = 0; side < 2; ++side) {
        Relaxation cold(m);
        cold.setBounds(basic, side, side);
        const int coldStatus = cold.solve(none);
        lp.setBounds(basic, 1 - side, 1 - side);
        lp.solve(none);
        lp.setBoundsOnly(basic, side, side);
        EXPECT_TRUE(lp.loadBasis(saved));
        ASSERT_EQ(lp.solve(none), coldStatus);
        if (coldStatus == kOptimal) {
            EXPECT_NEAR(lp.objective(), cold.objective(), 1e-7 * std::abs(root));
        }
    }
    // Under the bounds it was saved with, the basis is that optimum again.
    lp.setBoundsOnly(basic, 0, 1);
    ASSERT_TRUE(lp.loadBasis(saved));
    EXPECT_NEAR(lp.objective(), root, 1e-7 * std::abs(root));
    // A basis saved for other rows is refused: the first basis is taken instead.
    saved[0] += 1;
    EXPECT_FALSE(lp.loadBasis(saved));
    ASSERT_EQ(lp.solve(none), kOptimal);
    EXPECT_NEAR(lp.objective(), root, 1e-7 * std::abs(root));
}

// With quick values the values after a bound change, the reduced costs a
// solve ends with (the penalties) and every optimum agree with a relaxation
// that works them out afresh from the same basis.
TEST(MipRelaxation, QuickValuesAgreeWithFreshOnesAlongADive) {
    std::string text = SetCovering(60, 120, 11) + "$binary";
    for (int j = 1; j <= 120; ++j) text += " x" + std::to_string(j);
    const MIPModel m = Read(text + ";\r\n");
    Relaxation quick(m);
    quick.dualSteps = quick.quickValues = true;
    tarvik::Progress none;
    ASSERT_EQ(quick.solve(none), kOptimal);
    std::vector<int> saved;
    auto fresh = [&](Relaxation& plain) {
        for (int j = 1; j <= 120; ++j) plain.setBoundsOnly(j, quick.lower(j), quick.upper(j));
        quick.saveBasis(saved);
        ASSERT_TRUE(plain.loadBasis(saved));
    };
    for (int round = 0; round < 12; ++round) {
        // A nonbasic variable at 0 is fixed at 1: the basic values follow it.
        int j = 1;
        while (j <= 120 && (quick.isBasic(j) || quick.value(j) != 0 || quick.upper(j) != 1)) ++j;
        ASSERT_LE(j, 120);
        quick.setBounds(j, 1, 1);
        Relaxation plain(m);
        fresh(plain);
        for (int v = 1; v <= 120; ++v) ASSERT_NEAR(quick.value(v), plain.value(v), 1e-9) << round;
        const int status = quick.solve(none);
        Relaxation cold(m);
        for (int v = 1; v <= 120; ++v) cold.setBounds(v, quick.lower(v), quick.upper(v));
        ASSERT_EQ(status, cold.solve(none));
        if (status != kOptimal) break;
        EXPECT_NEAR(quick.objective(), cold.objective(), 1e-7 * std::abs(cold.objective()));
        Relaxation again(m);
        fresh(again);
        for (int v : quick.basicStructurals()) {
            if (IsIntegral(quick.value(v))) continue;
            double down[2], up[2];
            quick.penalties(v, down[0], up[0]);
            again.penalties(v, down[1], up[1]);
            EXPECT_NEAR(down[0], down[1], 1e-7 * std::max(1.0, down[1]));
            EXPECT_NEAR(up[0], up[1], 1e-7 * std::max(1.0, up[1]));
        }
    }
}

} // namespace
} // namespace tarvik::ip
