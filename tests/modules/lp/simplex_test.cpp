#include "modules/lp/lpreport.h"
#include "modules/lp/lprun.h"
#include "modules/lp/lpsimplex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace tarvik::lp {
namespace {

class RecordingProgress : public LPProgress {
public:
    void phase(int p) override { phases += std::to_string(p); }
    void iteration(long i) override { lastIteration = i; }
    std::string phases;
    long lastIteration = 0;
};

struct Solved {
    LPModel model;
    SimplexOutcome outcome;
    std::string output;
};

Solved Solve(const std::string& text, OutputMode mode = OutputMode::NoTableaus) {
    ReadSink sink;
    LPReadResult read = ReadLPModel(text, sink);
    EXPECT_TRUE(read.success) << read.message;
    Solved s{std::move(read.model), {}, {}};
    RecordingProgress progress;
    s.outcome = Simplex(s.model, mode, progress, s.output);
    return s;
}

double Value(const Solved& s, int column) {
    for (int i = 1; i <= s.model.m; ++i)
        if (!s.outcome.removed[i] && s.model.basis[i] == column)
            return static_cast<double>(s.model.at(i, s.model.n + 1));
    return 0;
}

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
    return n;
}

TEST(Simplex, TextbookModelWithoutPhaseOne) {
    RecordingProgress progress;
    LPRunResult run = RunLP("max 3x1 + 2x2; x1 + x2 <= 4; x1 + 3x2 <= 6; x1 <= 3;\r\n", {}, progress);
    ASSERT_TRUE(run.success);
    EXPECT_EQ(run.message, "Optimal solution found");
    EXPECT_EQ(progress.phases, "2");
    EXPECT_DOUBLE_EQ(run.objective, 11);
    EXPECT_NE(run.output.find("  Value Objective Function :         11.0000\r\n"), std::string::npos);
    EXPECT_NE(run.output.find("  X1         :           3.0000       0.0000\r\n"), std::string::npos);
    EXPECT_NE(run.output.find("  X2         :           1.0000       0.0000\r\n"), std::string::npos);
}

TEST(Simplex, NoPositiveCostStopsAfterOnePass) {
    Solved s = Solve("max -x1 - x2; x1 + x2 <= 4;\r\n");
    EXPECT_EQ(s.outcome.status, LPStatus::Optimal);
    EXPECT_EQ(s.outcome.iterations, 1);
    EXPECT_EQ(Value(s, 1), 0);
    EXPECT_EQ(Value(s, 2), 0);
}

TEST(Simplex, UnboundedAndInfeasible) {
    Solved s = Solve("max x;\r\n");
    EXPECT_EQ(s.outcome.status, LPStatus::Unbounded);
    EXPECT_EQ(s.outcome.iterations, 1);
    EXPECT_EQ(StatusText(s.outcome.status), "Unbounded.");

    s = Solve("max x1 + x2; x1 - x2 <= 1;\r\n");
    EXPECT_EQ(s.outcome.status, LPStatus::Unbounded);

    s = Solve("max x1; x1 >= 5; x1 <= 3;\r\n");
    EXPECT_EQ(s.outcome.status, LPStatus::Infeasible);
    EXPECT_EQ(StatusText(s.outcome.status), "Infeasible");
    EXPECT_TRUE(s.outcome.reliable);

    RecordingProgress progress;
    LPRunResult run = RunLP("max x1; x1 >= 5; x1 <= 3;\r\n", {}, progress);
    EXPECT_EQ(progress.phases, "1"); // phase 2 does not run
    EXPECT_NE(run.output.find("  Summary of Results\r\n\r\n  Infeasible\r\n"), std::string::npos);
    EXPECT_EQ(run.output.find("Value Objective"), std::string::npos);
}

TEST(Simplex, RedundantEqualityIsRemovedWithWarning) {
    Solved s = Solve("max x1; x1 + x2 = 2; 2x1 + 2x2 = 4;\r\n");
    EXPECT_NE(s.output.find("  Warning : redundant constraints. Constraint   2 removed.\r\n"),
              std::string::npos);
    EXPECT_TRUE(s.outcome.removed[2]);
    EXPECT_FALSE(s.outcome.removed[1]);
    EXPECT_EQ(s.outcome.status, LPStatus::Optimal);
    EXPECT_DOUBLE_EQ(Value(s, 1), 2);
}

TEST(Simplex, PhaseOneThenPhaseTwo) {
    RecordingProgress progress;
    LPRunResult run = RunLP("min 2x + 3y; x + y >= 4; x + 3y >= 6; x <= 10;\r\n", {}, progress);
    ASSERT_TRUE(run.success);
    EXPECT_EQ(progress.phases, "12");
    EXPECT_DOUBLE_EQ(run.objective, 9); // x = 3, y = 1
    EXPECT_EQ(run.message, "Optimal solution found");
}

TEST(Simplex, FirstAndLastTableau) {
    Solved s = Solve("max 3x1 + 2x2; x1 + x2 <= 4; x1 + 3x2 <= 6; x1 <= 3;\r\n", OutputMode::FirstLast);
    EXPECT_EQ(Count(s.output, "\r\n\r\nIteration "), 1u);
    EXPECT_NE(s.output.find("\r\n\r\nIteration     1\r\n"), std::string::npos);
    EXPECT_NE(s.output.find("\r\n\r\nLast Iteration\r\n"), std::string::npos);
    // The start tableau: header, dashes, cost row and one row per constraint.
    std::string first = "\r\n\r\nIteration     1\r\n"
                        "              X1       X2       Slack1   Slack2   Slack3   RHS      \r\n"
                        "          ------------------------------------------------------\r\n"
                        "Rel.Cost|    -3.00    -2.00     0.00     0.00     0.00     0.00\r\n"
                        "Slack1  |     1.00     1.00     1.00     0.00     0.00     4.00\r\n"
                        "Slack2  |     1.00     3.00     0.00     1.00     0.00     6.00\r\n"
                        "Slack3  |     1.00     0.00     0.00     0.00     1.00     3.00\r\n"
                        "\r\n\r\n";
    EXPECT_EQ(s.output.compare(0, 4 + first.size(), "\r\n\r\n" + first), 0) << s.output;
    EXPECT_NE(s.output.find(first), std::string::npos) << s.output;
    std::size_t last = s.output.find("Last Iteration");
    EXPECT_NE(s.output.find("Rel.Cost|     0.00     0.00     2.00     0.00     1.00    11.00\r\n", last),
              std::string::npos)
        << s.output.substr(last);

    // With a phase 1, the first tableau is phase 1's and the last one is phase 2's.
    s = Solve("max x1; x1 >= 1; x1 <= 3;\r\n", OutputMode::FirstLast);
    EXPECT_EQ(Count(s.output, "Iteration     1"), 1u);
    std::size_t firstPrint = s.output.find("Iteration     1");
    EXPECT_NE(s.output.find("Art.1", firstPrint), std::string::npos);
    EXPECT_EQ(Count(s.output, "Last Iteration"), 1u);
}

TEST(Simplex, AllTableausInBlocksOfSeven) {
    Solved s = Solve(
        "max x1 + x2 + x3 + x4 + x5 + x6 + x7 + x8; x1 + x2 + x3 + x4 <= 4; x5 + x6 + x7 + x8 <= 4;\r\n",
        OutputMode::All);
    // 8 variables, 2 slacks and the right-hand side: blocks of 7 and 4 columns.
    EXPECT_EQ(Count(s.output, "\r\n\r\nIteration "), static_cast<std::size_t>(s.outcome.iterations));
    std::size_t first = s.output.find("Iteration     1\r\n");
    ASSERT_NE(first, std::string::npos);
    std::size_t block2 = s.output.find("              X8       Slack1   Slack2   RHS      \r\n", first);
    ASSERT_NE(block2, std::string::npos) << s.output;
    EXPECT_EQ(s.output.compare(block2 - 4, 4, "\r\n\r\n"), 0);
    EXPECT_NE(s.output.find("          ------------------------------------\r\n", block2), std::string::npos);
    EXPECT_EQ(Count(s.output, "Last Iteration"), 0u);
}

TEST(Simplex, CyclingModelStillEndsOptimal) {
    // A classic degenerate example on which the textbook rules cycle.
    Solved s = Solve("max 0.75x4 - 20x5 + 0.5x6 - 6x7;\r\n"
                     "0.25x4 - 8x5 - x6 + 9x7 <= 0;\r\n"
                     "0.5x4 - 12x5 - 0.5x6 + 3x7 <= 0;\r\n"
                     "x6 <= 1;\r\n");
    EXPECT_EQ(s.outcome.status, LPStatus::Optimal);
    EXPECT_TRUE(s.outcome.reliable) << s.outcome.doubt;
    EXPECT_NEAR(static_cast<double>(s.model.at(0, s.model.n + 1)), 1.25, 1e-9);
}

TEST(Simplex, DegenerateTiesPickTheLowestRow) {
    // Both rows tie at ratio 0; the first one leaves.
    Solved s = Solve("max x; x - y <= 0; x - z <= 0; y + z <= 2;\r\n", OutputMode::All);
    std::size_t second = s.output.find("Iteration     2");
    ASSERT_NE(second, std::string::npos);
    std::size_t rowLabel = s.output.find("\r\nX       |", second);
    std::size_t slack2 = s.output.find("\r\nSlack2  |", second);
    ASSERT_NE(rowLabel, std::string::npos);
    EXPECT_LT(rowLabel, slack2); // X replaced Slack1 in row 1
    EXPECT_EQ(s.outcome.status, LPStatus::Optimal);
    EXPECT_NEAR(static_cast<double>(s.model.at(0, s.model.n + 1)), 1, 1e-12);
}

TEST(Simplex, DensePivotRoundsEachProductBeforeTheDifference) {
    // The dense row update is built for several vector units; every build must
    // round f * a before subtracting it (no fused multiply-add), or the pivot
    // sequence would depend on the processor.
    const int m = 6, n = 36; // 37 columns: whole vectors and a tail
    LPModel model;
    model.m = m;
    model.n = n;
    model.stride = (static_cast<std::size_t>(n + 1) + 7) / 8 * 8;
    model.tableau.assign(static_cast<std::size_t>(m + 1) * model.stride, 0);
    std::mt19937 gen(5);
    std::uniform_real_distribution<double> u(1, 2);
    for (int i = 0; i <= m; ++i)
        for (int j = 1; j <= n + 1; ++j) model.at(i, j) = (i + j) % 3 == 0 ? -u(gen) : u(gen);
    model.basis.assign(m + 1, 1);
    const LPModel before = model;
    const int r = 3, e = 7;
    Pivot(model, r, e, std::vector<char>(m + 1, 0));

    const Real p = before.at(r, e);
    std::vector<Real> pivotRow(n + 2);
    for (int j = 1; j <= n + 1; ++j) {
        pivotRow[j] = j == e ? 1 : before.at(r, j) / p;
        EXPECT_EQ(model.at(r, j), pivotRow[j]) << "pivot row, column " << j;
    }
    int fusedWouldDiffer = 0;
    for (int k = 0; k <= m; ++k) {
        if (k == r) continue;
        const Real f = before.at(k, e);
        for (int j = 1; j <= n + 1; ++j) {
            if (j == e) {
                EXPECT_EQ(model.at(k, j), 0);
                continue;
            }
            volatile Real product = f * pivotRow[j]; // rounded to a double here
            const Real want = before.at(k, j) - product;
            EXPECT_EQ(model.at(k, j), want) << "row " << k << ", column " << j;
            if (std::fma(-f, pivotRow[j], before.at(k, j)) != want) ++fusedWouldDiffer;
        }
    }
    EXPECT_GT(fusedWouldDiffer, 0); // the data tell the two ways apart
}

} // namespace
} // namespace tarvik::lp

namespace tarvik::lp {
namespace {

// A sink that keeps the output in memory under a small cap.
class CappedProgress : public LPProgress {
public:
    explicit CappedProgress(std::size_t limit) : cap(limit) {}
    void output(std::string& text) override { cap.take(text); }
    OutputCap cap;
};

TEST(Simplex, CappedOutputStopsTableausButKeepsTheResult) {
    std::string model = "max";
    for (int j = 1; j <= 30; ++j) model += " + x" + std::to_string(j);
    model += ";\r\n";
    for (int i = 1; i <= 30; ++i) model += "x" + std::to_string(i) + " <= " + std::to_string(i) + ";\r\n";
    LPSettings settings;
    settings.output = OutputMode::All;
    LPProgress whole;
    const LPRunResult full = RunLP(model, settings, whole);
    ASSERT_TRUE(full.success);
    const std::size_t limit = 256 << 10;
    ASSERT_GT(full.output.size(), 2 * limit);
    CappedProgress capped(limit);
    const LPRunResult cut = RunLP(model, settings, capped);
    EXPECT_TRUE(capped.cap.stopped());
    EXPECT_LT(cut.output.size(), limit + 64 * 1024);
    EXPECT_NE(cut.output.find("\r\nOutput stopped at 256 KB; choose fewer tableaus\r\n"), std::string::npos);
    // The report after the tableaus is whole.
    const std::size_t report = full.output.find("  Value Objective Function");
    ASSERT_NE(report, std::string::npos);
    EXPECT_NE(cut.output.find(full.output.substr(report)), std::string::npos);
    EXPECT_EQ(cut.objective, full.objective);
}

} // namespace
} // namespace tarvik::lp
