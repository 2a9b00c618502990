// The node log of branch and bound: the table it prints keeps its rules on the
// test models with either search, the faster search never needs more nodes,
// and the log stays within its bounds.
#include "modules/ip/mipmatgen.h"
#include "modules/ip/miprun.h"
#include "modules/ip/nodelog.h"
#include "modules/ip/treelayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <numeric>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace tarvik::ip {
namespace {

std::string ModelText(const std::string& file) {
    std::ifstream in(std::string(TARVIK_TEST_DATA) + "/ip/" + file, std::ios::binary);
    std::string text, line;
    while (std::getline(in, line)) text += line + "\r\n";
    return text;
}

std::vector<std::string> Split(const std::string& line, char sep = '\t') {
    std::vector<std::string> fields;
    std::stringstream s(line);
    std::string f;
    while (std::getline(s, f, sep)) fields.push_back(f);
    return fields;
}

// With bound rounding, the step every integer solution's value is a
// multiple of (the costs' greatest common divisor when only integer variables
// have costs, all whole numbers); 0 otherwise.
double ValueStep(const std::string& text, const SearchOptions& search) {
    ReadSink sink;
    const MIPReadResult read = ReadMIPModel(text, sink);
    long step = 0;
    for (int j = 1; search.roundBounds && j <= read.model.n; ++j) {
        const double c = std::fabs(read.model.cost[j]);
        if (c == 0) continue;
        if (!read.model.integer[j] || c != std::round(c)) return 0;
        step = std::gcd(step, static_cast<long>(c));
    }
    return static_cast<double>(step);
}

// The rules every node table keeps, checked on the printed text. A node is
// pruned when its value cannot beat the incumbent by a whole `step`.
void CheckTable(const std::string& table, bool minimize, const MIPRunResult& run, const std::string& what,
                bool heuristic = false, double step = 0) {
    std::vector<std::string> lines = Split(table, '\n');
    ASSERT_GE(lines.size(), 2u) << what;
    EXPECT_EQ(lines.front(), "node\tparent\tdepth\tbranch\tlp_value\toutcome\tincumbent") << what;
    EXPECT_EQ(lines.back(), "nodes " + std::to_string(run.solve.lpSolves) + "\tpivots " +
                                std::to_string(run.solve.iterations))
        << what;
    const double sense = minimize ? -1 : 1; // values in maximisation form compare the same way
    auto beats = [&](double a, double b) { return sense * (a - b) > 1e-6 * std::max(1.0, std::fabs(b)); };
    std::vector<std::vector<std::string>> rows;
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) rows.push_back(Split(lines[i]));
    ASSERT_EQ(static_cast<long>(rows.size()), run.solve.lpSolves) << what;
    std::string incumbent = "-";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& r = rows[i];
        ASSERT_EQ(r.size(), 7u) << what << " line " << i + 2;
        EXPECT_EQ(r[0], std::to_string(i + 1)) << what;
        if (i == 0) {
            EXPECT_EQ(r[1] + r[2] + r[3], "-0-") << what;
        } else {
            const int parent = std::stoi(r[1]);
            ASSERT_TRUE(parent >= 1 && parent <= static_cast<int>(i)) << what << " node " << r[0];
            const auto& p = rows[static_cast<std::size_t>(parent - 1)];
            EXPECT_EQ(std::stoi(r[2]), std::stoi(p[2]) + 1) << what << " node " << r[0];
            EXPECT_EQ(p[5], "branched") << what << " node " << r[0];
            if (r[4] != "infeasible" && r[4] != "-") {
                EXPECT_FALSE(beats(std::stod(r[4]), std::stod(p[4]))) << what << " node " << r[0];
            }
        }
        if (r[5] == "pruned") {
            EXPECT_FALSE(r[6] == "-" || beats(std::stod(r[4]), std::stod(r[6]) + sense * step))
                << what << " node " << r[0];
        }
        // The incumbent changes only at an integral node (or, by the rounding
        // heuristic, at a node that branches), and only for the better.
        if (r[6] != incumbent) {
            EXPECT_TRUE(r[5] == "integral" || (heuristic && r[5] != "infeasible"))
                << what << " node " << r[0];
            EXPECT_TRUE(incumbent == "-" || beats(std::stod(r[6]), std::stod(incumbent))) << what;
            incumbent = r[6];
        }
    }
    if (run.solve.status == kOptimal)
        EXPECT_EQ(incumbent, Value4(run.objective)) << what;
    else
        EXPECT_EQ(incumbent, "-") << what;
}

TEST(NodeLog, TablesOfTheTestModelsKeepTheirRulesWithEitherSearch) {
    std::ifstream list(std::string(TARVIK_TEST_DATA) + "/ip/models.tsv");
    std::string line;
    int models = 0;
    while (std::getline(list, line)) {
        if (line.empty() || line[0] == '#') continue;
        const auto f = Split(line);
        ASSERT_EQ(f.size(), 3u) << line;
        for (const SearchOptions& search : {kDefaultSearch, kFasterSearch}) {
            const std::string what = f[0] + " (" + SearchName(search) + ")";
            NodeLog log;
            MIPProgress quiet;
            const MIPRunResult run = RunMIP(ModelText(f[0]), quiet, {.search = search, .log = &log});
            ASSERT_TRUE(run.success) << what;
            EXPECT_EQ(run.message, f[1]) << what;
            if (f[2] != "-") {
                EXPECT_NEAR(run.objective, std::stod(f[2]), 1e-9) << what;
            }
            EXPECT_EQ(log.fasterSearch(), search.faster());
            CheckTable(NodeTableText(log), log.minimize(), run, what, search.roundingHeuristic,
                       ValueStep(ModelText(f[0]), search));
        }
        ++models;
    }
    EXPECT_EQ(models, 9);
}

// Random pure-integer models: a few rows of nonnegative weights, costs of both signs.
std::string RandomModel(std::mt19937& g) {
    auto uni = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(g); };
    const int n = uni(3, 9), m = uni(1, 4);
    const bool binary = uni(0, 1) == 0, maximise = uni(0, 1) == 0;
    std::ostringstream s;
    s << (maximise ? "max" : "min");
    for (int j = 1; j <= n; ++j) s << (j > 1 ? " + " : " ") << uni(1, 20) << "x" << j;
    s << ";\r\n";
    for (int i = 0; i < m; ++i) {
        long total = 0;
        for (int j = 1; j <= n; ++j) {
            const int a = uni(0, 12);
            total += a;
            s << (j > 1 ? " + " : "") << a << "x" << j;
        }
        // MAX models meet capacities, MIN models demands.
        s << (maximise ? " <= " : " >= ") << std::max(1L, total / 2) << "." << uni(0, 9) << ";\r\n";
    }
    s << (binary ? "$binary" : "$integer");
    for (int j = 1; j <= n; ++j) s << (j > 1 ? ", x" : " x") << j;
    s << ";\r\n";
    return s.str();
}

// The speed-ups that only prune never add a node; the cuts, the node order
// and the branching rule change the tree, so only all models together must
// take no more nodes.
TEST(FasterSearch, FindsTheSameOptimumWithNoMoreNodesOnRandomModels) {
    std::mt19937 g(31);
    int fewer = 0;
    long nodesTextbook = 0, nodesWithCuts = 0;
    SearchOptions pruning = kFasterSearch;
    pruning.rootCuts = pruning.mirCuts = pruning.bestBound = pruning.pseudoCosts = false;
    for (int k = 0; k < 150; ++k) {
        const std::string text = RandomModel(g);
        MIPProgress quiet;
        const MIPRunResult textbook = RunMIP(text, quiet, {.search = kDefaultSearch});
        const MIPRunResult faster = RunMIP(text, quiet, {.search = pruning});
        const MIPRunResult cuts = RunMIP(text, quiet, {.search = kFasterSearch});
        ASSERT_TRUE(textbook.success && faster.success && cuts.success) << text;
        for (const MIPRunResult* run : {&faster, &cuts}) {
            EXPECT_EQ(run->solve.status, textbook.solve.status) << text;
            EXPECT_NEAR(run->objective, textbook.objective,
                        1e-6 * std::max(1.0, std::fabs(textbook.objective)))
                << text;
        }
        EXPECT_LE(faster.solve.lpSolves, textbook.solve.lpSolves) << text;
        if (faster.solve.lpSolves < textbook.solve.lpSolves) ++fewer;
        nodesTextbook += textbook.solve.lpSolves;
        nodesWithCuts += cuts.solve.lpSolves;
    }
    EXPECT_GT(fewer, 10); // the speed-ups do work on these models
    EXPECT_LE(nodesWithCuts, nodesTextbook);
}

class StopAfter : public MIPProgress {
public:
    explicit StopAfter(long solves) : solves_(solves) {}
    void iteration(long) override { ++seen_; }
    bool stopRequested() const override { return seen_ >= solves_; }

private:
    long solves_, seen_ = 0;
};

// The best-bound search jumps between stored nodes: its node table keeps the
// rules of a tree, and a run stopped part-way shows bounds around the optimum.
TEST(FasterSearch, BestBoundKeepsTheTreeAndItsBounds) {
    std::mt19937 g(47);
    int jumps = 0;
    // Without bound rounding, which prunes nodes whose LP values beat the incumbent.
    SearchOptions search = kFasterSearch;
    search.roundBounds = false;
    for (int k = 0; k < 150; ++k) {
        const std::string text = RandomModel(g);
        NodeLog log;
        MIPProgress quiet;
        const MIPRunResult run = RunMIP(text, quiet, {.search = search, .log = &log});
        ASSERT_TRUE(run.success) << text;
        CheckTable(NodeTableText(log), log.minimize(), run, text, true);
        // A node whose parent is not on the path to the node before it.
        for (std::size_t i = 1; i < log.nodes().size(); ++i) {
            int at = log.nodes()[i - 1].number;
            while (at != 0 && at != log.nodes()[i].parent) at = log.node(at).parent;
            jumps += at == 0;
        }
        if (run.solve.status != kOptimal) continue;
        const double optimum = run.solve.objective, tol = 1e-6 * std::max(1.0, std::fabs(optimum));
        for (long solves = 2; solves < run.solve.lpSolves; solves *= 2) {
            StopAfter stop(solves);
            const MIPResult part = RunMIP(text, stop, {.search = search}).solve;
            ASSERT_TRUE(part.stopped) << text;
            EXPECT_GE(part.upperBound, optimum - tol) << text << solves;
            if (part.haveIncumbent) {
                EXPECT_LE(part.objective, optimum + tol) << text << solves;
            }
        }
    }
    EXPECT_GT(jumps, 10);
}

TEST(NodeLog, KeepsItsFirstNodesAndValuesThenCountsOnly) {
    NodeLog log(3, 4);
    MIPProgress quiet;
    const MIPRunResult run = RunMIP(ModelText("knapsack.tip"), quiet, {.log = &log});
    ASSERT_GT(run.solve.lpSolves, 3);
    EXPECT_EQ(log.nodes().size(), 3u);
    EXPECT_EQ(log.total(), run.solve.lpSolves);
    EXPECT_EQ(log.notKept(), run.solve.lpSolves - 3);
    long counted = 0;
    for (int o = 0; o < kOutcomeCount; ++o) counted += log.count(static_cast<NodeOutcome>(o));
    EXPECT_EQ(counted, log.total());
    EXPECT_EQ(log.pivots(), run.solve.iterations);
    // The root's solution fits in the 4 values; the next ones no longer do.
    EXPECT_TRUE(log.node(1).solutionKept);
    EXPECT_FALSE(log.node(3).solutionKept);
    const std::string table = NodeTableText(log);
    EXPECT_NE(table.find("\n# " + std::to_string(log.notKept()) +
                         " more nodes are counted only: the log keeps the first 3\nnodes "),
              std::string::npos);
}

// max x1 + x2; 2x1 + 2x2 <= 3: nodes 1-4 branch down a single path, node 5 is integral.
TEST(NodeLog, BoundsAndSolutionOfANodeFollowItsPath) {
    NodeLog log;
    MIPProgress quiet;
    RunMIP(ModelText("half.tip"), quiet, {.log = &log});
    ASSERT_EQ(log.nodes().size(), 5u);
    const auto bounds = log.bounds(4); // X1 <= 1, X2 >= 1, X1 <= 0 on the way
    ASSERT_EQ(bounds.size(), 2u);
    EXPECT_EQ(log.name(bounds[0].var), "X1");
    EXPECT_EQ(bounds[0].lower, 0);
    EXPECT_EQ(bounds[0].upper, 0);
    EXPECT_EQ(log.name(bounds[1].var), "X2");
    EXPECT_EQ(bounds[1].lower, 1);
    EXPECT_GE(bounds[1].upper, kInfinity);
    const auto solution = log.solution(4);
    ASSERT_EQ(solution.size(), 1u);
    EXPECT_EQ(log.name(solution[0].var), "X2");
    EXPECT_DOUBLE_EQ(solution[0].value, 1.5);
    const NodeRecord& root = log.node(1);
    EXPECT_EQ(root.branchVar, 1);
    EXPECT_DOUBLE_EQ(root.penalty[0], 0);
    EXPECT_GE(root.penalty[1], kInfinity);
    EXPECT_FALSE(root.upFirst);
}

TEST(TreeLayout, DownSideLeftParentCentredAndDeepLevelsSummarised) {
    NodeLog log;
    MIPProgress quiet;
    RunMIP(ModelText("knapsack.tip"), quiet, {.log = &log});
    const TreeLayout whole = LayOutTree(log, {}, 100000, true);
    ASSERT_EQ(whole.drawnNodes, static_cast<long>(log.nodes().size()));
    for (const TreeBox& box : whole.boxes) {
        if (box.kind != BoxKind::Node) continue;
        const NodeRecord& r = log.node(box.node);
        const int down = r.child[0] ? whole.boxOf[r.child[0]] : -1,
                  up = r.child[1] ? whole.boxOf[r.child[1]] : -1;
        if (down >= 0 && up >= 0) {
            EXPECT_LT(whole.boxes[down].x, whole.boxes[up].x);
            EXPECT_DOUBLE_EQ(box.x, (whole.boxes[down].x + whole.boxes[up].x) / 2);
        }
        if (down >= 0) {
            EXPECT_DOUBLE_EQ(whole.boxes[down].y - box.y, TreeLayout::kLevel);
        }
    }
    // Within 4 boxes: the levels that fit, and below them the counts of what is left out.
    const TreeLayout cut = LayOutTree(log, {}, 4, false);
    EXPECT_TRUE(cut.summarised);
    long drawn = 0, hidden = 0;
    for (const TreeBox& box : cut.boxes) {
        if (box.kind == BoxKind::Node) ++drawn;
        hidden += box.hidden;
    }
    EXPECT_LE(drawn, 4);
    EXPECT_EQ(drawn + hidden, static_cast<long>(log.nodes().size()));
    // A collapsed root is one box and one summary.
    const TreeLayout folded = LayOutTree(log, {0, 1}, 100000, false);
    ASSERT_EQ(folded.boxes.size(), 2u);
    EXPECT_EQ(folded.boxes[1].hidden, static_cast<long>(log.nodes().size()) - 1);
}

} // namespace
} // namespace tarvik::ip
