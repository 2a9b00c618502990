// The factored basis against the full tableau: both run the same rules, so on
// every model they must reach the same verdict and the same optimum, and the
// factored run must leave a final tableau that the report can read.
#include "modules/lp/lpreport.h"
#include "modules/lp/lprun.h"
#include "modules/lp/lpsimplex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace tarvik::lp {
namespace {

struct Run {
    LPModel model;
    SimplexOutcome outcome;
    std::string output;
};

Run SolveWith(const std::string& text, Representation representation,
              FinalTableau finalTableau = FinalTableau::Whole, bool tableauRows = true) {
    ReadSink sink;
    LPReadResult read = ReadLPModel(text, sink, tableauRows);
    EXPECT_TRUE(read.success) << read.message << "\n" << text;
    Run run{std::move(read.model), {}, {}};
    LPProgress progress;
    run.outcome = Simplex(run.model, OutputMode::NoTableaus, progress, run.output, representation, nullptr,
                          finalTableau);
    return run;
}

double Objective(const Run& r) {
    return static_cast<double>(r.model.at(0, r.model.n + 1));
}

// The largest violation of the original rows (and of x >= 0) by the final
// basic solution that the report prints.
double Violation(const Run& r) {
    const LPModel& lp = r.model;
    std::vector<double> x(lp.n + 2, 0);
    for (int i = 1; i <= lp.m; ++i)
        if (!r.outcome.removed[i]) x[lp.basis[i]] = static_cast<double>(lp.at(i, lp.n + 1));
    double worst = 0;
    for (int j = 1; j <= lp.n; ++j) worst = std::max(worst, -x[j]);
    for (int i = 1; i <= lp.m; ++i) {
        if (r.outcome.removed[i]) continue;
        double s = lp.rhs[i];
        for (int q = lp.rowStart[i]; q < lp.rowStart[i + 1]; ++q) s -= lp.rowVal[q] * x[lp.rowCol[q]];
        worst = std::max(worst, std::fabs(s));
    }
    return worst;
}

// A random model with small integer data: many ties in the ratio test,
// degenerate vertices, all three relations, and now and then a repeated row (a
// redundant equality). Most models are feasible: the right-hand sides are
// set around a random point with many zero coordinates, often exactly on it.
std::string RandomModel(std::mt19937& gen, int m, int n) {
    std::uniform_int_distribution<int> coef(-4, 6), cost(-3, 9), slack(0, 6), point(0, 3), pick(0, 9);
    std::vector<int> x(n + 1);
    for (int j = 1; j <= n; ++j) x[j] = pick(gen) < 5 ? 0 : point(gen);
    std::ostringstream text;
    text << (pick(gen) < 5 ? "max" : "min");
    for (int j = 1; j <= n; ++j) {
        const int c = cost(gen);
        text << (c < 0 ? " - " : " + ") << std::abs(c) << "x" << j;
    }
    text << ";\r\n";
    std::string previous;
    for (int i = 1; i <= m; ++i) {
        std::ostringstream row;
        int ax = 0;
        for (int j = 1; j <= n; ++j) {
            if (pick(gen) < 7) continue;
            const int a = coef(gen);
            if (a == 0) continue;
            row << (a < 0 ? " - " : " + ") << std::abs(a) << "x" << j;
            ax += a * x[j];
        }
        if (row.str().empty()) {
            row << " + 1x" << 1 + i % n;
            ax = x[1 + i % n];
        }
        const int kind = pick(gen);
        const int gap = pick(gen) < 4 ? 0 : slack(gen);
        std::string line = kind < 6   ? row.str() + " <= " + std::to_string(ax + gap)
                           : kind < 8 ? row.str() + " >= " + std::to_string(ax - gap)
                                      : row.str() + " = " + std::to_string(ax);
        line += ";\r\n";
        if (!previous.empty() && pick(gen) == 0) line = previous; // a repeated row
        text << line;
        previous = line;
    }
    return text.str();
}

int sameBasis = 0; // runs that ended in the same basis both ways

// The text with every number replaced by '#', the numbers in order.
std::string Skeleton(const std::string& text, std::vector<double>& numbers) {
    std::string out;
    for (std::size_t k = 0; k < text.size();) {
        const bool sign =
            (text[k] == '-' && k + 1 < text.size() && std::isdigit(static_cast<unsigned char>(text[k + 1])));
        if (sign || std::isdigit(static_cast<unsigned char>(text[k]))) {
            std::size_t used = 0;
            numbers.push_back(std::stod(text.substr(k, 32), &used));
            out += '#';
            k += used;
        } else {
            out += text[k++];
        }
    }
    return out;
}

void ExpectSameResult(const std::string& text) {
    Run tableau = SolveWith(text, Representation::Tableau);
    Run factored = SolveWith(text, Representation::Factored);
    ASSERT_TRUE(factored.outcome.factored);
    ASSERT_FALSE(tableau.outcome.factored);
    EXPECT_EQ(factored.outcome.status, tableau.outcome.status) << text;
    EXPECT_TRUE(factored.outcome.reliable) << factored.outcome.doubt << "\n" << text;
    // Which of several dependent rows is removed depends on the basis phase 1
    // ends in; how many are removed does not.
    EXPECT_EQ(std::count(factored.outcome.removed.begin(), factored.outcome.removed.end(), 1),
              std::count(tableau.outcome.removed.begin(), tableau.outcome.removed.end(), 1))
        << text;
    if (factored.outcome.status != LPStatus::Optimal || tableau.outcome.status != LPStatus::Optimal) return;
    // Where both end in the same basis, the report (activities, reduced
    // costs, shadow prices and both kinds of ranges) prints the same digits.
    auto basisOf = [](const Run& r) {
        std::vector<int> b;
        for (int i = 1; i <= r.model.m; ++i)
            if (!r.outcome.removed[i]) b.push_back(r.model.basis[i]);
        std::sort(b.begin(), b.end());
        return b;
    };
    if (basisOf(factored) == basisOf(tableau) && factored.outcome.removed == tableau.outcome.removed) {
        ++sameBasis;
        std::string a, b;
        Report(factored.model, factored.outcome, true, a);
        Report(tableau.model, tableau.outcome, true, b);
        // A value on a rounding tie (say 11.09375) may print one last digit
        // apart: the words must agree exactly, the numbers to that digit.
        std::vector<double> na, nb;
        EXPECT_EQ(Skeleton(a, na), Skeleton(b, nb)) << text;
        ASSERT_EQ(na.size(), nb.size());
        for (std::size_t k = 0; k < na.size(); ++k) EXPECT_NEAR(na[k], nb[k], 1.01e-4) << a << "\n" << b;
    }
    const double z = Objective(tableau);
    EXPECT_NEAR(Objective(factored), z, 1e-9 * (1 + std::fabs(z))) << text;
    EXPECT_LT(Violation(factored), 1e-9) << text;
    // The final tableau holds the basis as unit columns and no negative reduced cost.
    const LPModel& lp = factored.model;
    for (int i = 1; i <= lp.m; ++i) {
        if (factored.outcome.removed[i]) continue;
        for (int l = 1; l <= lp.m; ++l)
            if (!factored.outcome.removed[l]) {
                EXPECT_EQ(lp.at(l, lp.basis[i]), l == i ? 1 : 0);
            }
        EXPECT_EQ(lp.at(0, lp.basis[i]), 0);
    }
    for (int j = 1; j <= lp.n; ++j)
        if (!factored.outcome.excluded[j]) {
            EXPECT_GT(lp.at(0, j), -1e-9) << "column " << j << "\n" << text;
        }
}

TEST(FactoredBasis, AgreesWithTheTableauOnRandomAndDegenerateModels) {
    sameBasis = 0;
    std::mt19937 gen(2024);
    std::uniform_int_distribution<int> rows(2, 30), columns(2, 30);
    for (int trial = 0; trial < 300; ++trial) {
        SCOPED_TRACE(trial);
        ExpectSameResult(RandomModel(gen, rows(gen), columns(gen)));
        if (HasFailure()) return;
    }
    EXPECT_GT(sameBasis, 30); // the report comparison ran often enough to count
}

// Without the whole final tableau nobody sees the passes and Devex picks the
// entering columns: the verdict, the rows removed and the optimum stay those
// of the most negative reduced cost, and the solution satisfies the rows.
TEST(FactoredBasis, ResultOnlyReachesTheSameVerdictAndOptimum) {
    std::mt19937 gen(5);
    std::uniform_int_distribution<int> rows(2, 90), columns(2, 120);
    for (int trial = 0; trial < 80; ++trial) {
        SCOPED_TRACE(trial);
        const std::string text = RandomModel(gen, rows(gen), columns(gen));
        const auto whole = SolveWith(text, Representation::Factored);
        const auto brief = SolveWith(text, Representation::Factored, FinalTableau::ResultOnly);
        // Read without the dense rows, as a brief run reads: the same run.
        const auto lean = SolveWith(text, Representation::Factored, FinalTableau::ResultOnly, false);
        EXPECT_EQ(lean.outcome.status, brief.outcome.status) << text;
        EXPECT_EQ(lean.outcome.iterations, brief.outcome.iterations) << text;
        EXPECT_EQ(Objective(lean), Objective(brief)) << text;
        EXPECT_EQ(brief.outcome.status, whole.outcome.status) << text;
        EXPECT_TRUE(brief.outcome.reliable) << brief.outcome.doubt << "\n" << text;
        EXPECT_EQ(std::count(brief.outcome.removed.begin(), brief.outcome.removed.end(), 1),
                  std::count(whole.outcome.removed.begin(), whole.outcome.removed.end(), 1));
        if (whole.outcome.status != LPStatus::Optimal) continue;
        const double z = Objective(whole);
        EXPECT_NEAR(Objective(brief), z, 1e-9 * (1 + std::fabs(z))) << text;
        EXPECT_LT(Violation(brief), 1e-9) << text;
    }
}

TEST(FactoredBasis, AgreesWithTheTableauAcrossRebuilds) {
    // Models large enough for many rebuilds of the factors between pivots.
    std::mt19937 gen(77);
    std::uniform_int_distribution<int> rows(60, 110), columns(60, 140);
    long refreshes = 0;
    for (int trial = 0; trial < 12; ++trial) {
        SCOPED_TRACE(trial);
        const std::string text = RandomModel(gen, rows(gen), columns(gen));
        ExpectSameResult(text);
        if (HasFailure()) return;
        refreshes += SolveWith(text, Representation::Factored).outcome.refreshes;
    }
    EXPECT_GT(refreshes, 12);
}

TEST(FactoredBasis, CyclingAndRedundantModels) {
    // The textbook cycling example, a redundant equality, and an infeasible
    // and an unbounded model.
    ExpectSameResult("max 0.75x4 - 20x5 + 0.5x6 - 6x7;\r\n0.25x4 - 8x5 - x6 + 9x7 <= 0;\r\n"
                     "0.5x4 - 12x5 - 0.5x6 + 3x7 <= 0;\r\nx6 <= 1;\r\n");
    ExpectSameResult("max x + y;\r\nx + y = 2;\r\n2x + 2y = 4;\r\nx <= 1;\r\n");
    ExpectSameResult("max x;\r\nx + y >= 5;\r\nx + y <= 3;\r\n");
    ExpectSameResult("max x + y;\r\nx - y <= 1;\r\n");
}

// A run without the report (read without the dense rows, a crash start,
// artificial columns dropped in phase 1) against the full run, on a chain of
// 60 equalities at 0 and 60 at 1: feasible, and made infeasible by one row.
TEST(FactoredBasis, BriefRunGivesTheVerdictAndOptimumOfTheFullRun) {
    std::string chain = "max x1";
    for (int i = 2; i <= 60; ++i) chain += " + " + std::to_string(i % 3 + 1) + "x" + std::to_string(i);
    chain += ";\r\n";
    for (int i = 1; i <= 60; ++i) chain += "x" + std::to_string(i) + " + y" + std::to_string(i) + " = 1;\r\n";
    for (int i = 1; i < 60; ++i)
        chain += "x" + std::to_string(i) + " - x" + std::to_string(i + 1) + " + z" + std::to_string(i) +
                 " = 0;\r\n";
    for (const std::string& text : {chain, chain + "x1 + y1 + x2 >= 3;\r\n"}) {
        LPSettings full, brief;
        brief.report = false;
        LPProgress progress;
        const LPRunResult a = RunLP(text, full, progress), b = RunLP(text, brief, progress);
        EXPECT_EQ(a.status, text == chain ? 0 : 2);
        EXPECT_EQ(b.status, a.status);
        EXPECT_TRUE(b.reliable);
        EXPECT_NEAR(b.objective, a.objective, 1e-9 * (1 + std::fabs(a.objective)));
    }
}

TEST(FactoredBasis, ChosenOnlyWhenNoTableauIsPrinted) {
    std::string text = "max";
    for (int j = 1; j <= 60; ++j) text += " + x" + std::to_string(j);
    text += ";\r\n";
    for (int i = 1; i <= 60; ++i)
        text += "x" + std::to_string(i) + " + x" + std::to_string(i % 60 + 1) + " <= " + std::to_string(i) +
                ";\r\n";
    for (OutputMode mode : {OutputMode::NoTableaus, OutputMode::FirstLast, OutputMode::All}) {
        ReadSink sink;
        LPReadResult read = ReadLPModel(text, sink);
        ASSERT_TRUE(read.success);
        LPProgress progress;
        std::string out;
        SimplexOutcome o = Simplex(read.model, mode, progress, out, Representation::Factored);
        EXPECT_EQ(o.factored, mode == OutputMode::NoTableaus);
        ReadSink sink2;
        LPReadResult again = ReadLPModel(text, sink2);
        SimplexOutcome automatic = Simplex(again.model, mode, progress, out);
        EXPECT_EQ(automatic.factored, mode == OutputMode::NoTableaus);
        EXPECT_EQ(automatic.status, o.status);
        EXPECT_NEAR(static_cast<double>(again.model.at(0, again.model.n + 1)),
                    static_cast<double>(read.model.at(0, read.model.n + 1)), 1e-9);
    }
    // Teaching-size and dense models keep the full tableau even without prints.
    std::string dense = "max";
    for (int j = 1; j <= 60; ++j) dense += " + x" + std::to_string(j);
    dense += ";\r\n";
    for (int i = 1; i <= 60; ++i) {
        for (int j = 1; j <= 60; ++j)
            dense += (j > 1 ? " + " : "") + std::to_string(1 + (i * j) % 7) + "x" + std::to_string(j);
        dense += " <= 100;\r\n";
    }
    for (const std::string& model : {std::string("max 3x + 2y;\r\nx + y <= 4;\r\nx + 3y <= 6;\r\n"), dense}) {
        ReadSink sink;
        LPReadResult read = ReadLPModel(model, sink);
        ASSERT_TRUE(read.success);
        LPProgress progress;
        std::string out;
        EXPECT_FALSE(Simplex(read.model, OutputMode::NoTableaus, progress, out).factored);
    }
}

// Asks the run to stop once it has reported `after` passes, and counts the
// hand-overs to the event loop.
class StopAfter : public LPProgress {
public:
    explicit StopAfter(long after) : after_(after) {}
    void iteration(long n) override { seen_ = n; }
    void yield() override { ++yields; }
    bool stopRequested() const override { return seen_ >= after_; }
    long yields = 0;

private:
    long after_;
    long seen_ = 0;
};

TEST(StopRequest, EndsALargeSolveAtTheNextPivotInEitherForm) {
    std::mt19937 gen(5);
    const std::string text = RandomModel(gen, 150, 200);
    for (Representation representation : {Representation::Tableau, Representation::Factored}) {
        ReadSink sink;
        LPReadResult read = ReadLPModel(text, sink);
        ASSERT_TRUE(read.success);
        StopAfter progress(10);
        std::string out;
        const SimplexOutcome o = Simplex(read.model, OutputMode::NoTableaus, progress, out, representation);
        EXPECT_EQ(o.factored, representation == Representation::Factored);
        EXPECT_EQ(o.status, LPStatus::Stopped);
        EXPECT_EQ(o.iterations, 10); // not one pass after the request
        EXPECT_GE(progress.yields, 10);
    }
    // Through the run protocol: the result line and the report say so.
    StopAfter progress(10);
    const LPRunResult run = RunLP(text, {}, progress);
    ASSERT_TRUE(run.success);
    EXPECT_EQ(run.status, static_cast<int>(LPStatus::Stopped));
    EXPECT_EQ(run.message, "Stopped");
    EXPECT_EQ(run.iterations, 10);
    EXPECT_NE(run.output.find("  Stopped before the simplex method ended\r\n"), std::string::npos);
    EXPECT_EQ(run.output.find("Value Objective Function"), std::string::npos);
}

} // namespace
} // namespace tarvik::lp
