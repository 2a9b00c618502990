#pragma once
// The record of one branch-and-bound search: every node solved, in order, with
// what its relaxation gave and what the search did with it. The search tree
// window draws it, `tarvik-solve --tree` prints it, and the tests check it.
#include "modules/ip/mipmatgen.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tarvik::ip {

struct SearchOptions;

// What the search did with a node.
enum class NodeOutcome : std::uint8_t {
    Branched,   // fractional: two sides below it
    Pruned,     // its LP value does not beat the incumbent
    Infeasible, // its relaxation has no solution
    Integral,   // an integer solution (a new incumbent, or not better than it)
    Unbounded,  // its relaxation is unbounded
    Stopped,    // the search ended at this node (Stop, or a limit of the LP method)
};
inline constexpr int kOutcomeCount = 6;

// The table's word for an outcome: "branched", "pruned", ...
const char* OutcomeName(NodeOutcome outcome);

// The bound a branch imposes: variable `var` <= bound (down) or >= bound (up).
struct NodeBranch {
    int var = 0; // 0 at the root
    bool up = false;
    double bound = 0;
};

struct NodeRecord {
    int number = 0; // 1 = the root, in the order solved
    int parent = 0; // 0 at the root
    int depth = 0;  // 0 at the root
    NodeBranch branch;
    bool hasValue = false; // the relaxation was solved to an optimum
    double value = 0;      // its LP value, maximisation form
    int pivots = 0;        // simplex iterations of its LP (pivots and bound flips)
    NodeOutcome outcome = NodeOutcome::Stopped;
    bool newIncumbent = false;  // Integral: it became the incumbent
    bool haveIncumbent = false; // the incumbent after the node (for a pruned node
    double incumbent = 0;       // the one it did not beat), maximisation form
    // Branched: the variable chosen, its LP value, both penalties and both
    // estimates (LP value less the penalty; -kInfinity for an infinite penalty),
    // and the side solved first.
    int branchVar = 0;
    double branchValue = 0;
    double penalty[2] = {0, 0};  // down, up
    double estimate[2] = {0, 0}; // down, up
    bool upFirst = false;
    int child[2] = {0, 0}; // the nodes of the down and up side (0: not solved, or not kept)
    // The node's LP solution and the variables the faster search fixed here,
    // as ranges of the log's stores (`solutionKept` false: beyond the store's bound).
    bool solutionKept = false;
    std::uint32_t valuesAt = 0, valuesCount = 0;
    std::uint32_t fixesAt = 0, fixesCount = 0;
};

// A variable's value (or a fixed bound), 1-based variable number.
struct VarValue {
    int var = 0;
    double value = 0;
};

class NodeLog {
public:
    // Nodes kept with all their details; beyond this the log counts only.
    static constexpr long kMaxNodes = 100000;
    // Values kept for the nodes' LP solutions and fixings, in all.
    static constexpr long kMaxValues = 2000000;

    // Tests give smaller bounds.
    explicit NodeLog(long maxNodes = kMaxNodes, long maxValues = kMaxValues)
        : maxNodes_(maxNodes), maxValues_(maxValues) {}
    long maxNodes() const { return maxNodes_; }
    long maxValues() const { return maxValues_; }

    // A new search of `model` with `search`: forgets the previous one (but
    // keeps its memory, so that a log used again grows without cost).
    void begin(const MIPModel& model, const SearchOptions& search);
    // Forgets everything (keeping the memory).
    void clear();

    // The next node solved, after the search has decided its outcome. The
    // number, children links and stored ranges are filled in here; `values`
    // (variable j at values[j - 1], n of them; null for none) is the LP
    // solution, `fixes` what was fixed at the node. Returns the node's number
    // (a number above the bound for a node counted only).
    int add(const NodeRecord& record, const double* values, int n, const std::vector<VarValue>& fixes = {});
    // The search ended (the final status of the solve).
    void end(int status, bool stopped);

    // The nodes kept, node k at index k - 1.
    const std::vector<NodeRecord>& nodes() const { return nodes_; }
    const NodeRecord& node(int number) const { return nodes_[static_cast<std::size_t>(number - 1)]; }
    bool kept(int number) const { return number >= 1 && number <= static_cast<int>(nodes_.size()); }
    // All nodes solved (kept or counted only), and of them those not kept.
    long total() const { return total_; }
    long notKept() const { return total_ - static_cast<long>(nodes_.size()); }
    long count(NodeOutcome outcome) const { return counts_[static_cast<int>(outcome)]; }
    long pivots() const { return pivots_; }
    int maxDepth() const { return maxDepth_; }
    // The last node added (0: none yet): while the search runs, where it is.
    int current() const { return lastKept_; }
    // The node kept that found the incumbent (0: none).
    int incumbentNode() const { return incumbentNode_; }
    bool finished() const { return finished_; }
    int status() const { return status_; }
    bool stopped() const { return stopped_; }

    // The model as the log needs it for texts.
    bool minimize() const { return minimize_; }
    bool fasterSearch() const { return faster_; }
    const std::string& searchName() const { return searchName_; }
    int variables() const { return names_.empty() ? 0 : static_cast<int>(names_.size()) - 1; }
    const std::string& name(int var) const { return names_[static_cast<std::size_t>(var)]; }
    bool isInteger(int var) const { return integer_[static_cast<std::size_t>(var)]; }
    double modelUpper(int var) const { return upper_[static_cast<std::size_t>(var)]; } // kInfinity: none

    // A node's LP solution (nonzero values only) and its fixings.
    std::vector<VarValue> solution(int number) const;
    std::vector<VarValue> fixes(int number) const;
    // The bounds of every variable at a node whose bounds differ from the
    // model's: (variable, lower, upper), from the branches on its path and
    // the fixings above it, in variable order.
    struct Bounds {
        int var = 0;
        double lower = 0, upper = 0;
    };
    std::vector<Bounds> bounds(int number) const;

    // A value in the model's own sense (the true objective of a MIN model).
    double ownSense(double maxForm) const { return minimize_ ? -maxForm : maxForm; }

private:
    std::vector<VarValue> stored(std::uint32_t at, std::uint32_t count) const;

    long maxNodes_, maxValues_;
    std::vector<NodeRecord> nodes_;
    // The values kept, variable and value side by side.
    std::vector<std::uint16_t> storeVar_;
    std::vector<double> storeValue_;
    std::vector<std::string> names_;
    std::string searchName_;
    std::vector<bool> integer_;
    std::vector<double> upper_;
    std::array<long, kOutcomeCount> counts_{};
    long total_ = 0;
    long pivots_ = 0;
    int maxDepth_ = 0;
    int lastKept_ = 0;
    int incumbentNode_ = 0;
    bool minimize_ = false;
    bool faster_ = false;
    bool finished_ = false;
    bool stopped_ = false;
    int status_ = 0;
};

// The node table that `tarvik-solve --tree` prints and the tree window saves:
// a header line, one line per node kept, a line counting the nodes not kept
// (only when there are any), and the line "nodes N<TAB>pivots P". Fields are
// separated by tabs; values in the model's own sense.
std::string NodeTableText(const NodeLog& log, const std::string& eol = "\n");
// The same table as CSV (header and one record per node kept).
std::string NodeTableCsv(const NodeLog& log);
// The fields of one line of the table.
std::vector<std::string> NodeTableFields(const NodeLog& log, const NodeRecord& node);
// "X3<=1" or "X3>=2" ("-" at the root); `pretty` uses "X3 ≤ 1" (UTF-8).
std::string BranchText(const NodeLog& log, const NodeBranch& branch, bool pretty = false);
// A value with 4 decimals in the model's sense, never "-0.0000".
std::string Value4(double value);

} // namespace tarvik::ip
