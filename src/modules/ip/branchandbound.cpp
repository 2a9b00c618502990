// Depth-first branch and bound over the relaxations, step by step as the
// course teaches it: solve, evaluate (infeasible, pruned, integral or
// fractional), branch on the variable with the largest penalty and explore
// the side with the smaller one first, backtrack along the stack while an
// open side's estimate beats the incumbent. The faster search only adds its
// switches (SearchOptions); with none set, this is the textbook search.
#include "modules/ip/mipsolver.h"
#include "modules/ip/mircuts.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <tuple>

namespace tarvik::ip {

namespace {

// The greatest common divisor of the costs when only integer variables have
// costs and those are whole numbers: every integer solution's value is then a
// multiple of it. 0 when there is no such step.
double CostStep(const MIPModel& model) {
    double step = 0;
    for (int j = 1; j <= model.n; ++j) {
        const double c = std::fabs(model.cost[j]);
        if (c == 0) continue;
        if (!model.integer[j] || c != std::round(c) || c > 1e9) return 0;
        step = static_cast<double>(std::gcd(static_cast<long long>(step), static_cast<long long>(c)));
    }
    return step;
}

class BranchAndBound {
public:
    BranchAndBound(const MIPModel& model, MIPProgress& progress, const SearchOptions& search, NodeLog* log)
        : model_(model), progress_(progress), search_(search), log_(log), lp_(model),
          step_(search.roundBounds ? CostStep(model) : 0) {
        lp_.dualSteps = search.dualSteps;
        lp_.parkCuts = search.mirCuts;
        lp_.quickValues = search.quickValues;
        bool whole = true;
        for (int j = 1; j <= model.n && whole; ++j) whole = model.cost[j] == std::round(model.cost[j]);
        if (whole) diveMargin_ = 1;
    }

    MIPResult run();

private:
    // One entry of the stack: a node that has branched.
    struct Node {
        int number = 0;      // its number in the log's order
        int var = 0;         // branching variable (1-based)
        double oldLower = 0; // its bounds before branching
        double oldUpper = 0;
        double floorValue = 0; // down: var <= floor, up: var >= floor + 1
        double value = 0;      // its LP value, and the branching variable's there
        double varValue = 0;
        int side = 0; // 0 down, 1 up: the side being explored
        double estimate[2] = {-kInfinity, -kInfinity};
        bool done[2] = {false, false};
        // Faster search: variables fixed at a bound while the current side is
        // explored, (variable, lower, upper) before.
        std::vector<std::tuple<int, double, double>> fixed;
        std::vector<int> basis; // warm jumps: its optimal basis (Relaxation::saveBasis)
    };

    // Best-bound search: an open side kept for later, with the bounds that
    // differ from the root's (after the root's own fixings).
    struct BoundChange {
        int var = 0;
        double lower = 0, upper = 0;
    };
    struct OpenNode {
        double estimate = 0;
        int depth = 0;
        long order = 0; // when it was stored: later first among equals
        int parent = 0;
        NodeBranch branch;
        double parentValue = 0, fraction = 0; // the parent's LP value, the variable's fraction there
        std::vector<BoundChange> bounds;
        std::vector<int> basis; // warm jumps: the parent's optimal basis
        // The heap's order: the largest estimate, then the deepest, then the latest.
        bool operator<(const OpenNode& o) const {
            return std::tie(estimate, depth, order) < std::tie(o.estimate, o.depth, o.order);
        }
    };
    // Dives take at most this share of all pivots; one starts when the share
    // has saved up a dive's pivots (which the root's dive may take at once),
    // and no sooner than kDiveEvery nodes after the last one.
    static constexpr double kDiveShare = 0.1;
    static constexpr long kDivePivots = 10000;
    static constexpr int kDiveEvery = 100;
    // The store's memory at most; beyond it the search goes on depth-first.
    static constexpr std::size_t kMaxStoreBytes = std::size_t{256} << 20;

    // The counts after more pivots for the node being evaluated.
    void countPivots() {
        res_.pivots = lp_.pivots;
        res_.flips = lp_.flips;
        pending_.pivots += static_cast<int>(lp_.pivots + lp_.flips - res_.iterations);
        res_.iterations = lp_.pivots + lp_.flips;
        progress_.iteration(res_.iterations);
    }
    // Solves the relaxation of a new node below the top of the stack (the
    // root when the stack is empty) and starts its log record.
    int solveNode(const NodeBranch& branch);
    // The log record of the node just evaluated.
    void record(NodeOutcome outcome);
    MIPResult finish(int status);
    MIPResult stoppedResult() {
        record(NodeOutcome::Stopped);
        return finish(res_.haveIncumbent ? kOptimal : kError);
    }

    // What the value of the best integer solution below a node with LP value z
    // can be at most: z itself, or with bound rounding the multiple of the
    // costs' step at or below it.
    double reachable(double z) const {
        if (step_ == 0 || z <= -kInfinity) return z;
        const double t = z / step_;
        return step_ * std::floor(t + std::min(0.5, 1e-6 + 1e-9 * std::fabs(t)));
    }
    double tolerance() const { return res_.haveIncumbent ? kIntTolerance * Scale(incumbent_) : 0.0; }
    // Whether a value is larger than the incumbent's (-kInfinity while there is none).
    bool beatsIncumbent(double value) const { return value > incumbent_ + tolerance(); }
    // The upper bound shown: lowered to the largest estimate still open.
    void showUpper();
    void impose(const Node& node);
    NodeBranch branchOf(const Node& node) const {
        return {.var = node.var,
                .up = node.side == 1,
                .bound = node.side == 1 ? node.floorValue + 1 : node.floorValue};
    }
    // Faster search: fixes nonbasic integer variables by their reduced costs.
    void fixByReducedCost(double z);
    // Faster search: rounds the node's relaxation into an incumbent if it
    // can, and solves the node's relaxation again; false when that fails.
    bool tryRounding();
    // Faster search: whether a dive is due at the node being evaluated. The
    // root's dive only sets out to improve an incumbent: the depth-first
    // search finds a first one soon enough, and gathers pseudo-costs on the
    // way, which the best-bound search that an incumbent starts needs.
    bool diveDue() const {
        return (solved_ == 1 && res_.haveIncumbent) ||
               (solved_ >= nextDive_ &&
                static_cast<double>(divePivots_ + kDivePivots) <= kDiveShare * res_.iterations);
    }
    // Faster search: dives from the node's relaxation towards an integer
    // solution, then takes up the node's relaxation again as it was; false
    // when the search stops.
    bool dive();
    // The dive itself, until an integer solution worth a dive, or until the
    // pivot count reaches `limit`: bounds one fractional integer variable
    // after another to the side of its target (the incumbent's value with
    // `guided`, else the nearer integer); a side that leaves no solution
    // worth it sends it back to the deepest bound whose other side is still
    // open, and takes that side.
    void diveSearch(long limit, bool guided);
    // Whether a relaxation of LP value z may hold a solution worth a dive:
    // better than the incumbent by the dive's margin at least.
    bool diveWorthwhile(double z) const {
        if (!res_.haveIncumbent) return true;
        if (diveMargin_ == 0) return beatsIncumbent(reachable(z));
        return reachable(z) >= incumbent_ + diveMargin_ - tolerance();
    }
    // Faster search: tightens the root's relaxation by rounds of cuts. Leaves
    // status_ as the last solve gave it.
    void cutRoot();
    // A new incumbent from the values x (1..n).
    void accept(std::vector<double> x);
    // Evaluates the node just solved to optimality: false when it ends there
    // (pruned or integral), true when it branched and its first child is solved.
    bool evaluate();
    // Pseudo-costs: the loss of the LP value per unit of the branching
    // variable's move, averaged over the sides solved so far.
    void notePseudoCost(int var, int side, double f, double parentValue, double z) {
        const double move = side == 0 ? f : 1 - f;
        if (move < kIntTolerance) return;
        if (pcCount_[side].empty()) {
            for (int s = 0; s < 2; ++s) {
                pcSum_[s].assign(model_.n + 1, 0.0);
                pcCount_[s].assign(model_.n + 1, 0);
            }
        }
        pcSum_[side][var] += std::max(0.0, parentValue - z) / move;
        ++pcCount_[side][var];
    }
    // The expected loss of the LP value on one side of variable j, `move`
    // away: its pseudo-cost's, but no less than the penalty.
    double expectedLoss(int j, int side, double move, double penalty) const {
        if (pcCount_[side].empty() || pcCount_[side][j] == 0) return penalty;
        return std::max(penalty, pcSum_[side][j] / pcCount_[side][j] * move);
    }
    // Depth-first: backtracks along the stack to the next open side and
    // solves it; false when the stack is used up.
    bool backtrack();
    // Whether the top node's other side is still to be explored.
    bool siblingOpen() const {
        if (stack_.empty()) return false;
        const Node& top = stack_.back();
        return !top.done[1 - top.side] && beatsIncumbent(top.estimate[1 - top.side]);
    }
    // Best-bound search: whether open sides go to the store now.
    bool storing() const {
        return search_.bestBound && haveBase_ && res_.haveIncumbent && storeBytes_ < kMaxStoreBytes;
    }
    // Moves the open sides of the stack to the store and empties the stack.
    void storeOpenSides();
    // Takes the stored node with the largest estimate that can still beat
    // the incumbent and solves it (the root of the next dive); false when
    // there is none.
    bool jump();
    // The store's memory for one node.
    static std::size_t bytesOf(const OpenNode& nd) {
        return sizeof(OpenNode) + nd.bounds.capacity() * sizeof(BoundChange) +
               nd.basis.capacity() * sizeof(int);
    }

    const MIPModel& model_;
    MIPProgress& progress_;
    const SearchOptions search_;
    NodeLog* log_;
    Relaxation lp_;
    const double step_;
    MIPResult res_;
    std::vector<Node> stack_;
    double incumbent_ = -kInfinity;
    int status_ = kOptimal; // of the last relaxation
    // The node being evaluated, as the log will keep it.
    int solved_ = 0;
    NodeRecord pending_;
    std::vector<VarValue> fixes_;
    // Best-bound search: the root's bounds, the stored nodes (a heap), their
    // memory, and the node the current dive started from (the stack's
    // bottom branches below it).
    bool haveBase_ = false;
    std::vector<double> baseLower_, baseUpper_;
    std::vector<OpenNode> open_;
    std::size_t storeBytes_ = 0;
    long stored_ = 0;
    int diveParent_ = 0;
    int diveDepth_ = 0;
    double diveEstimate_ = -kInfinity;
    NodeBranch diveBranch_;
    double diveParentValue_ = 0, diveFraction_ = 0;
    std::vector<double> pcSum_[2];
    std::vector<int> pcCount_[2];
    // Diving: the pivots spent in dives, the dives so far, the first node
    // the next one may start from, and the margin a dive's solution must beat
    // the incumbent by (1 when every cost is a whole number, as the values of
    // many such models' solutions are: smaller gains are left to the search).
    long divePivots_ = 0;
    int dives_ = 0;
    int nextDive_ = 0;
    double diveMargin_ = 0;
};

int BranchAndBound::solveNode(const NodeBranch& branch) {
    pending_ = NodeRecord{};
    pending_.number = ++solved_;
    pending_.parent = stack_.empty() ? diveParent_ : stack_.back().number;
    pending_.depth = diveDepth_ + static_cast<int>(stack_.size());
    pending_.branch = branch;
    fixes_.clear();
    const long before = res_.iterations;
    status_ = lp_.solve(progress_);
    ++res_.lpSolves;
    res_.pivots = lp_.pivots;
    res_.flips = lp_.flips;
    res_.iterations = lp_.pivots + lp_.flips;
    progress_.iteration(res_.iterations);
    pending_.pivots = static_cast<int>(res_.iterations - before);
    if (status_ == kOptimal) {
        pending_.hasValue = true;
        pending_.value = lp_.objective();
    }
    if (lp_.stopped() || (status_ == kOptimal && progress_.stopRequested())) res_.stopped = true;
    return status_;
}

void BranchAndBound::record(NodeOutcome outcome) {
    if (!log_) return;
    pending_.outcome = outcome;
    pending_.haveIncumbent = res_.haveIncumbent;
    pending_.incumbent = incumbent_;
    log_->add(pending_, pending_.hasValue ? lp_.values() : nullptr, model_.n, fixes_);
}

MIPResult BranchAndBound::finish(int status) {
    res_.status = status;
    if (!res_.stopped && (status == kOptimal || status == kUnbounded || status == kInfeasible ||
                          status == kNoIntegerSolution)) {
        const double v = res_.haveIncumbent ? res_.objective : -kInfinity;
        res_.lowerBound = res_.upperBound = v;
        progress_.lowerBound(v);
        progress_.upperBound(v);
    }
    progress_.resultLine(res_.stopped ? (res_.haveIncumbent ? "Stopped: best solution found so far"
                                                            : "Stopped: no integer solution found")
                                      : StatusLine(status));
    if (log_) log_->end(status, res_.stopped);
    return res_;
}

void BranchAndBound::showUpper() {
    double open = res_.haveIncumbent ? incumbent_ : -kInfinity;
    for (const Node& nd : stack_)
        for (int s = 0; s < 2; ++s)
            if (!nd.done[s]) open = std::max(open, nd.estimate[s]);
    if (!open_.empty()) open = std::max(open, open_.front().estimate);
    open = std::max(open, diveEstimate_);
    if (open < res_.upperBound) {
        res_.upperBound = open;
        progress_.upperBound(open);
    }
}

void BranchAndBound::impose(const Node& node) {
    if (node.side == 0)
        lp_.setBounds(node.var, node.oldLower, node.floorValue);
    else
        lp_.setBounds(node.var, node.floorValue + 1, node.oldUpper);
}

void BranchAndBound::fixByReducedCost(double z) {
    std::vector<double> costs;
    lp_.moveCosts(costs);
    // The values are worked out once, after the last fixing.
    bool fixed = false;
    for (int j = 1; j <= model_.n; ++j) {
        if (!model_.integer[j] || costs[j] >= kInfinity) continue;
        if (beatsIncumbent(reachable(z - costs[j]))) continue;
        if (!stack_.empty()) stack_.back().fixed.emplace_back(j, lp_.lower(j), lp_.upper(j));
        const double at = lp_.atUpper(j) ? lp_.upper(j) : lp_.lower(j);
        lp_.setBoundsOnly(j, at, at);
        fixes_.push_back({.var = j, .value = at});
        fixed = true;
    }
    if (fixed) lp_.settleValues();
}

void BranchAndBound::accept(std::vector<double> x) {
    double value = 0;
    for (int j = 1; j <= model_.n; ++j) {
        if (model_.integer[j]) x[j] = std::round(x[j]);
        value += model_.cost[j] * x[j];
    }
    ++res_.solutions;
    if (!res_.haveIncumbent || value > incumbent_) {
        res_.haveIncumbent = true;
        incumbent_ = value;
        res_.objective = value;
        res_.x = std::move(x);
        res_.lowerBound = value;
        progress_.lowerBound(value);
        pending_.newIncumbent = true;
    }
}

bool BranchAndBound::tryRounding() {
    const int n = model_.n;
    std::vector<double> lo(n + 1), up(n + 1), at(n + 1);
    for (int j = 1; j <= n; ++j) {
        lo[j] = lp_.lower(j);
        up[j] = lp_.upper(j);
        at[j] = lp_.value(j);
    }
    // Nearest integers first, then rounded up (which often covers the rows
    // a nearest rounding leaves short).
    for (int attempt = 0; attempt < 2 && !res_.haveIncumbent; ++attempt) {
        for (int j = 1; j <= n; ++j) {
            if (!model_.integer[j]) continue;
            double r = attempt == 0 ? std::round(at[j]) : std::ceil(at[j] - kIntTolerance);
            r = std::max(lo[j], std::min(up[j], r));
            lp_.setBounds(j, r, r);
        }
        const int status = lp_.solve(progress_);
        if (lp_.stopped()) res_.stopped = true;
        if (status == kOptimal) {
            std::vector<double> x(n + 1, 0.0);
            for (int j = 1; j <= n; ++j) x[j] = lp_.value(j);
            accept(std::move(x));
        }
        for (int j = 1; j <= n; ++j)
            if (model_.integer[j]) lp_.setBounds(j, lo[j], up[j]);
        if (res_.stopped) return false;
    }
    // Back to the node's own relaxation; the node's record counts every pivot.
    status_ = lp_.solve(progress_);
    res_.pivots = lp_.pivots;
    res_.flips = lp_.flips;
    pending_.pivots += static_cast<int>(lp_.pivots + lp_.flips - res_.iterations);
    res_.iterations = lp_.pivots + lp_.flips;
    progress_.iteration(res_.iterations);
    if (lp_.stopped()) res_.stopped = true;
    return status_ == kOptimal && !res_.stopped;
}

bool BranchAndBound::dive() {
    const int n = model_.n;
    // The node's relaxation as it is (bounds, basis, inverse, values), taken
    // up again after the dive: the search goes on exactly as without it.
    Relaxation node = lp_;
    const long start = lp_.pivots + lp_.flips;
    const long allowance = std::max(
        kDivePivots, static_cast<long>(kDiveShare * static_cast<double>(res_.iterations)) - divePivots_);
    nextDive_ = solved_ + kDiveEvery;
    // With an incumbent, the dives take turns: plain, guided towards it, and
    // with the integer variables where the node's relaxation and the
    // incumbent agree kept at that value (a relaxation-induced neighbourhood).
    const int turn = res_.haveIncumbent ? dives_++ % 3 : 0;
    bool ready = true;
    if (turn == 2) {
        for (int j = 1; j <= n; ++j) {
            const double v = lp_.value(j);
            if (model_.integer[j] && lp_.lower(j) != lp_.upper(j) && IsIntegral(v) &&
                std::fabs(v - res_.x[j]) < 0.5)
                lp_.setBoundsOnly(j, res_.x[j], res_.x[j]);
        }
        lp_.settleValues();
        const int status = lp_.solve(progress_);
        if (lp_.stopped()) res_.stopped = true;
        ready = status == kOptimal && diveWorthwhile(lp_.objective());
    } else {
        ready = diveWorthwhile(lp_.objective());
    }
    if (ready && !res_.stopped) diveSearch(start + allowance, turn == 1);

    // Back to the node; the counts keep the dive's pivots.
    node.countFrom(lp_);
    lp_ = std::move(node);
    divePivots_ += lp_.pivots + lp_.flips - start;
    countPivots();
    return !res_.stopped;
}

void BranchAndBound::diveSearch(long limit, bool guided) {
    const int n = model_.n;
    struct Step {
        int var = 0;
        double lower = 0, upper = 0, down = 0; // its bounds before, and the integer below its value
        bool up = false;                       // the side taken
        bool second = false;                   // the other side was taken first
    };
    std::vector<Step> path;
    for (;;) {
        // The fractional integer variable nearest to its target.
        int var = 0;
        double nearest = kInfinity, target = 0;
        for (int j = 1; j <= n; ++j) {
            const double v = lp_.value(j);
            if (!model_.integer[j] || IsIntegral(v)) continue;
            const double down = std::floor(v);
            const double t = guided ? std::clamp(res_.x[j], down, down + 1) : std::round(v);
            if (std::fabs(v - t) < nearest) {
                nearest = std::fabs(v - t);
                var = j;
                target = t;
            }
        }
        if (var == 0) {
            std::vector<double> x(n + 1, 0.0);
            for (int j = 1; j <= n; ++j) x[j] = lp_.value(j);
            accept(std::move(x));
            return;
        }
        const double down = std::floor(lp_.value(var));
        path.push_back({.var = var,
                        .lower = lp_.lower(var),
                        .upper = lp_.upper(var),
                        .down = down,
                        .up = target > down});
        for (;;) {
            const Step& st = path.back();
            if (st.up)
                lp_.setBounds(st.var, st.down + 1, st.upper);
            else
                lp_.setBounds(st.var, st.lower, st.down);
            const int status = lp_.solve(progress_);
            if (lp_.stopped()) {
                res_.stopped = true;
                return;
            }
            if (status == kOptimal && diveWorthwhile(lp_.objective())) break;
            if (status != kOptimal && status != kInfeasible) return;
            while (!path.empty() && path.back().second) {
                lp_.setBoundsOnly(path.back().var, path.back().lower, path.back().upper);
                path.pop_back();
            }
            if (path.empty() || lp_.pivots + lp_.flips >= limit) return;
            path.back().second = true;
            path.back().up = !path.back().up;
        }
        if (lp_.pivots + lp_.flips >= limit) return;
    }
}

void BranchAndBound::cutRoot() {
    constexpr int kRounds = 10;           // rounds at most
    constexpr int kCutsPerRound = 50;     // cuts added in one round at most
    constexpr double kImprovement = 1e-3; // a round must lower the bound by this much (relative)
    constexpr double kWorthwhile = 5e-3;  // all rounds together must lower it by this much (relative)
    // With the sparse cuts on, Gomory cuts of at most this many terms (or a tenth of the variables).
    constexpr std::size_t kSparseTerms = 10;
    const long pivotsBefore = res_.iterations;
    const double start = lp_.objective();
    const MirSeparator mir(model_);
    // A dense Gomory cut slows every node more than it helps.
    const std::size_t denseLimit =
        search_.mirCuts ? std::max<std::size_t>(kSparseTerms, model_.n / 10) : model_.n;
    double z = start;
    for (int round = 0; round < kRounds; ++round) {
        if (!lp_.refactor()) {
            status_ = lp_.solve(progress_);
            if (status_ != kOptimal) break;
            z = lp_.objective();
        }
        // The fractional integer variables, the most fractional first.
        std::vector<std::pair<double, int>> candidates;
        for (int j : lp_.basicStructurals()) {
            if (!model_.integer[j] || IsIntegral(lp_.value(j))) continue;
            const double f = lp_.value(j) - std::floor(lp_.value(j));
            candidates.emplace_back(std::fabs(f - 0.5), j);
        }
        std::sort(candidates.begin(), candidates.end());
        std::vector<CutRow> cuts;
        if (search_.mirCuts) cuts = mir.cuts(lp_.values(), kCutsPerRound);
        // Gomory cuts only when the sparse ones give out.
        const bool gomory = search_.rootCuts && cuts.empty();
        CutRow cut;
        for (const auto& [distance, j] : candidates) {
            if (!gomory || static_cast<int>(cuts.size()) == kCutsPerRound) break;
            if (lp_.gomoryCut(j, cut) && cut.terms.size() <= denseLimit) cuts.push_back(cut);
        }
        if (cuts.empty()) break;
        const std::vector<CutRow> before = lp_.cuts();
        lp_.addRows(cuts);
        status_ = lp_.solve(progress_);
        if (status_ != kOptimal && status_ != kInfeasible && !lp_.stopped() && lp_.cutRows() == 0) {
            // This round's cuts made the relaxation too hard: back to the rounds before.
            lp_.addRows(before);
            status_ = lp_.solve(progress_);
            break;
        }
        if (status_ != kOptimal) break;
        lp_.removeSlackCuts();
        const double next = lp_.objective();
        const bool improved = z - next > kImprovement * Scale(z);
        z = next;
        if (!improved) break;
    }
    if (status_ == kOptimal && lp_.cutRows() > 0 &&
        reachable(lp_.objective()) > reachable(start) - kWorthwhile * Scale(start)) {
        // Cuts that leave the bound the search compares (nearly) where it was
        // only make every relaxation slower and harder to branch on.
        lp_.removeCuts();
        status_ = lp_.solve(progress_);
    }
    res_.pivots = lp_.pivots;
    res_.flips = lp_.flips;
    res_.iterations = lp_.pivots + lp_.flips;
    pending_.pivots += static_cast<int>(res_.iterations - pivotsBefore);
    progress_.iteration(res_.iterations);
    if (lp_.stopped()) res_.stopped = true;
    if (status_ == kOptimal) pending_.value = lp_.objective();
}

bool BranchAndBound::evaluate() {
    const double z = lp_.objective();
    // A dive's first node: from here on its own record, or its sides, count.
    if (stack_.empty()) diveEstimate_ = -kInfinity;
    if (!stack_.empty()) {
        // The side's estimate, refined by what its relaxation gave.
        double& e = stack_.back().estimate[stack_.back().side];
        e = std::min(e, reachable(z));
        const Node& top = stack_.back();
        if (search_.pseudoCosts)
            notePseudoCost(top.var, top.side, top.varValue - top.floorValue, top.value, z);
    } else if (search_.pseudoCosts && diveParent_ != 0) {
        notePseudoCost(diveBranch_.var, diveBranch_.up ? 1 : 0, diveFraction_, diveParentValue_, z);
    }
    if (res_.haveIncumbent && !beatsIncumbent(reachable(z))) {
        record(NodeOutcome::Pruned);
        return false;
    }
    if (search_.roundingHeuristic && !res_.haveIncumbent && (solved_ == 1 || solved_ % 100 == 0)) {
        if (!tryRounding()) return false; // stopped, or the relaxation failed
        if (res_.haveIncumbent && !beatsIncumbent(reachable(z))) {
            record(NodeOutcome::Pruned);
            return false;
        }
    }
    if (search_.divingHeuristic && diveDue()) {
        if (!dive()) return false; // stopped, or the relaxation failed
        if (res_.haveIncumbent && !beatsIncumbent(reachable(z))) {
            record(NodeOutcome::Pruned);
            return false;
        }
    }
    if (search_.reducedCostFixing && res_.haveIncumbent) fixByReducedCost(z);

    // The fractional basic integer variables, in basis order: the one with the
    // largest penalty, on equal largest the one whose other penalty is smaller.
    int chosen = 0;
    double chosenHigh = -1, chosenLow = 0, chosenDown = 0, chosenUp = 0;
    bool integral = true;
    for (int j : lp_.basicStructurals()) {
        if (!model_.integer[j] || IsIntegral(lp_.value(j))) continue;
        integral = false;
        double down, up;
        lp_.penalties(j, down, up);
        double high = std::max(down, up), low = std::min(down, up);
        const bool bothInfinite = low >= kInfinity;
        if (search_.pseudoCosts) {
            // The product of the two sides' expected losses, and the larger
            // when they tie.
            const double f = lp_.value(j) - std::floor(lp_.value(j));
            const double d = std::max(expectedLoss(j, 0, f, down), 1e-6 * Scale(z));
            const double u = std::max(expectedLoss(j, 1, 1 - f, up), 1e-6 * Scale(z));
            high = d * u;
            low = -std::max(d, u);
        }
        if (chosen == 0 || bothInfinite || high > chosenHigh || (high == chosenHigh && low < chosenLow)) {
            chosen = j;
            chosenHigh = high;
            chosenLow = low;
            chosenDown = down;
            chosenUp = up;
        }
        if (bothInfinite) break;
    }
    for (int j = 1; integral && j <= model_.n; ++j)
        if (model_.integer[j] && !IsIntegral(lp_.value(j))) integral = false;

    if (integral) {
        std::vector<double> x(model_.n + 1, 0.0);
        for (int j = 1; j <= model_.n; ++j) x[j] = lp_.value(j);
        accept(std::move(x));
        record(NodeOutcome::Integral);
        return false;
    }
    if (chosen == 0) {
        // Bounds are whole numbers, so a fractional integer variable is basic.
        status_ = kError;
        return false;
    }

    Node nd;
    nd.number = pending_.number;
    nd.var = chosen;
    nd.oldLower = lp_.lower(chosen);
    nd.oldUpper = lp_.upper(chosen);
    nd.floorValue = std::floor(lp_.value(chosen));
    nd.value = z;
    nd.varValue = lp_.value(chosen);
    nd.estimate[0] = chosenDown >= kInfinity ? -kInfinity : reachable(z - chosenDown);
    nd.estimate[1] = chosenUp >= kInfinity ? -kInfinity : reachable(z - chosenUp);
    // The side with the smaller penalty first (down on a tie).
    nd.side = chosenDown > chosenUp ? 1 : 0;
    pending_.branchVar = chosen;
    pending_.branchValue = lp_.value(chosen);
    pending_.penalty[0] = chosenDown;
    pending_.penalty[1] = chosenUp;
    pending_.estimate[0] = nd.estimate[0];
    pending_.estimate[1] = nd.estimate[1];
    pending_.upFirst = nd.side == 1;
    if (search_.bestBound && search_.warmJumps) lp_.saveBasis(nd.basis);
    record(NodeOutcome::Branched);
    if (search_.bestBound && !haveBase_ && stack_.empty()) {
        // The root's bounds (with its fixings): stored nodes keep what differs.
        haveBase_ = true;
        baseLower_.assign(model_.n + 1, 0.0);
        baseUpper_.assign(model_.n + 1, 0.0);
        for (int j = 1; j <= model_.n; ++j) {
            baseLower_[j] = lp_.lower(j);
            baseUpper_[j] = lp_.upper(j);
        }
    }
    stack_.push_back(std::move(nd));
    ++res_.nodes;
    impose(stack_.back());
    solveNode(branchOf(stack_.back()));
    return true;
}

MIPResult BranchAndBound::run() {
    res_.x.assign(model_.n + 1, 0.0);
    progress_.lowerBound(res_.lowerBound);
    progress_.upperBound(res_.upperBound);
    // Too many rows for the basis inverse: refused before the first pivot.
    if (model_.m > kMaxBasisRows) return finish(kTooLarge);

    solveNode({});
    if (res_.stopped) return stoppedResult();
    if (status_ != kOptimal) {
        record(status_ == kInfeasible  ? NodeOutcome::Infeasible
               : status_ == kUnbounded ? NodeOutcome::Unbounded
                                       : NodeOutcome::Stopped);
        return finish(status_);
    }
    if (search_.rootCuts || search_.mirCuts) {
        // The root's own relaxation is rounded first: with the cuts in, more
        // variables are fractional, and rounding finds less.
        if (search_.roundingHeuristic && !tryRounding()) {
            if (res_.stopped) return stoppedResult();
            record(NodeOutcome::Stopped);
            return finish(status_);
        }
        cutRoot();
        if (res_.stopped) return stoppedResult();
        if (status_ != kOptimal) {
            // Cuts that leave no point prove that there is no integer
            // solution; the search, without them, proves it too, and does not
            // rest on their numbers.
            lp_.removeCuts();
            status_ = lp_.solve(progress_);
            res_.pivots = lp_.pivots;
            res_.flips = lp_.flips;
            pending_.pivots += static_cast<int>(lp_.pivots + lp_.flips - res_.iterations);
            res_.iterations = lp_.pivots + lp_.flips;
            progress_.iteration(res_.iterations);
            if (lp_.stopped()) res_.stopped = true;
            if (res_.stopped) return stoppedResult();
            if (status_ != kOptimal) {
                record(status_ == kInfeasible ? NodeOutcome::Infeasible : NodeOutcome::Stopped);
                return finish(status_);
            }
            pending_.value = lp_.objective();
        }
    }
    res_.upperBound = reachable(lp_.objective());
    progress_.upperBound(res_.upperBound);

    for (;;) {
        if (res_.stopped) return stoppedResult();
        // Evaluate the node just solved.
        if (status_ == kInfeasible) {
            // The current side of the top node is ruled out.
            if (!stack_.empty()) stack_.back().estimate[stack_.back().side] = -kInfinity;
            record(NodeOutcome::Infeasible);
        } else if (status_ != kOptimal) {
            record(NodeOutcome::Stopped);
            return finish(status_);
        } else if (evaluate()) {
            continue;
        } else if (res_.stopped) {
            return stoppedResult();
        } else if (status_ != kOptimal) {
            record(NodeOutcome::Stopped);
            return finish(status_);
        } else if (stack_.empty() && open_.empty()) {
            break; // an integral root
        }

        bool explored = false;
        if (storing() && search_.siblingDives && status_ == kInfeasible && siblingOpen()) {
            explored = backtrack();
        } else if (storing()) {
            storeOpenSides();
            explored = jump();
        } else {
            explored = backtrack() || jump();
        }
        if (!explored) break;
    }
    return finish(res_.haveIncumbent ? kOptimal : kNoIntegerSolution);
}

bool BranchAndBound::backtrack() {
    // Each side of a node is explored once.
    while (!stack_.empty()) {
        Node& top = stack_.back();
        top.done[top.side] = true;
        // The values are worked out by the bound change that follows.
        for (auto it = top.fixed.rbegin(); it != top.fixed.rend(); ++it)
            lp_.setBoundsOnly(std::get<0>(*it), std::get<1>(*it), std::get<2>(*it));
        top.fixed.clear();
        top.estimate[top.side] = -kInfinity;
        const int other = 1 - top.side;
        if (!top.done[other] && beatsIncumbent(top.estimate[other])) {
            top.side = other;
            impose(top);
            showUpper();
            solveNode(branchOf(top));
            return true;
        }
        lp_.setBounds(top.var, top.oldLower, top.oldUpper);
        stack_.pop_back();
        showUpper();
    }
    return false;
}

void BranchAndBound::storeOpenSides() {
    // The stack is undone on a copy of the bounds, from the top: an open side
    // is stored with the bounds it would have been solved with.
    const int n = model_.n;
    std::vector<double> lower(n + 1), upper(n + 1);
    for (int j = 1; j <= n; ++j) {
        lower[j] = lp_.lower(j);
        upper[j] = lp_.upper(j);
    }
    std::vector<BoundChange> changes;
    for (int k = static_cast<int>(stack_.size()) - 1; k >= 0; --k) {
        Node& nd = stack_[static_cast<std::size_t>(k)];
        nd.done[nd.side] = true;
        for (auto it = nd.fixed.rbegin(); it != nd.fixed.rend(); ++it) {
            lower[std::get<0>(*it)] = std::get<1>(*it);
            upper[std::get<0>(*it)] = std::get<2>(*it);
        }
        const int other = 1 - nd.side;
        if (!nd.done[other] && beatsIncumbent(nd.estimate[other])) {
            OpenNode open;
            open.estimate = nd.estimate[other];
            open.depth = diveDepth_ + k + 1;
            open.order = ++stored_;
            open.parent = nd.number;
            nd.side = other;
            open.branch = branchOf(nd);
            open.parentValue = nd.value;
            open.fraction = nd.varValue - nd.floorValue;
            lower[nd.var] = other == 0 ? nd.oldLower : nd.floorValue + 1;
            upper[nd.var] = other == 0 ? nd.floorValue : nd.oldUpper;
            changes.clear();
            for (int j = 1; j <= n; ++j)
                if (lower[j] != baseLower_[j] || upper[j] != baseUpper_[j])
                    changes.push_back({.var = j, .lower = lower[j], .upper = upper[j]});
            open.bounds.assign(changes.begin(), changes.end());
            open.basis = std::move(nd.basis);
            storeBytes_ += bytesOf(open);
            open_.push_back(std::move(open));
            std::push_heap(open_.begin(), open_.end());
        }
        lower[nd.var] = nd.oldLower;
        upper[nd.var] = nd.oldUpper;
    }
    stack_.clear();
}

bool BranchAndBound::jump() {
    if (open_.empty()) return false;
    std::pop_heap(open_.begin(), open_.end());
    OpenNode nd = std::move(open_.back());
    open_.pop_back();
    storeBytes_ -= bytesOf(nd);
    if (!beatsIncumbent(nd.estimate)) {
        // The largest estimate cannot beat the incumbent: neither can the rest.
        open_.clear();
        storeBytes_ = 0;
        return false;
    }
    // From the last dive's bounds back to the root's, then to the node's,
    // solved from the parent's basis or else the first one: the last dive's
    // optimum is far from this node's, and the simplex method can stall on
    // the way from it.
    for (int j = 1; j <= model_.n; ++j)
        if (lp_.lower(j) != baseLower_[j] || lp_.upper(j) != baseUpper_[j])
            lp_.setBoundsOnly(j, baseLower_[j], baseUpper_[j]);
    for (const BoundChange& c : nd.bounds) lp_.setBoundsOnly(c.var, c.lower, c.upper);
    const bool warm = search_.warmJumps && !nd.basis.empty() && lp_.loadBasis(nd.basis);
    if (!warm) lp_.restart();
    diveParent_ = nd.parent;
    diveDepth_ = nd.depth;
    diveEstimate_ = nd.estimate;
    diveBranch_ = nd.branch;
    diveParentValue_ = nd.parentValue;
    diveFraction_ = nd.fraction;
    showUpper();
    solveNode(nd.branch);
    if (warm && !res_.stopped && status_ != kOptimal && status_ != kInfeasible) {
        // The parent's basis led nowhere: the node is solved again from the first one.
        lp_.restart();
        status_ = lp_.solve(progress_);
        countPivots();
        if (lp_.stopped()) res_.stopped = true;
        if (status_ == kOptimal) {
            pending_.hasValue = true;
            pending_.value = lp_.objective();
        }
    }
    return true;
}

} // namespace

MIPResult MIPSolve(const MIPModel& model, MIPProgress& progress, const SearchOptions& search, NodeLog* log) {
    if (log) log->begin(model, search);
    BranchAndBound bb(model, progress, search, log);
    return bb.run();
}

} // namespace tarvik::ip
