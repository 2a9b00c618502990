#pragma once
// Branch and bound for integer models: a depth-first search over linear
// relaxations, each solved by a bounded primal simplex method that works only
// with the constraints that have become active.
#include "common/progress.h"
#include "modules/ip/mipmatgen.h"
#include "modules/ip/nodelog.h"
#include "modules/ip/searchoptions.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

namespace tarvik::ip {

enum MIPStatus {
    kOptimal = 0,
    kUnbounded = 1,
    kInfeasible = 2,
    kTooManyIterations = 3,
    kTooLarge = 4,
    kPrecision = 5,
    kNoIntegerSolution = 6,
    kError = 7,
};

inline constexpr double kInfinity = 1e12;     // no bound, no penalty, a ruled-out side
inline constexpr double kIntTolerance = 1e-6; // integrality and accuracy checks
inline constexpr double kZeroTolerance = 1e-8;
inline constexpr double kUpdateTolerance = 1e-12;
inline constexpr int kMaxBasisRows = 150;
inline constexpr int kMaxReinversions = 10;

// What the progress dialog shows while branch and bound runs. The reader's
// counts come first (line, variables, conditions), then the search's.
class MIPProgress : public tarvik::Progress {
public:
    virtual void line(int) {}
    virtual void variables(int) {}
    virtual void conditions(int) {}
    virtual void iteration(long) {}    // total simplex iterations, after every LP solve
    virtual void lowerBound(double) {} // maximisation form
    virtual void upperBound(double) {} // maximisation form
    virtual void resultLine(const std::string&) {}
};

// Whether x counts as a whole number (within kIntTolerance).
bool IsIntegral(double x);

// What a relative tolerance is taken of: |v|, but at least 1.
inline double Scale(double v) {
    return std::max(1.0, std::fabs(v));
}

// A bound as the progress dialog shows it: " +inf", " -inf" or 2 decimals in 10 characters.
std::string BoundText(double value);

// The progress dialog's result line for a status.
std::string StatusLine(int status);

// The iterations one relaxation may take: as many as the LP engine allows.
long PivotLimit(int m, int n);

struct MIPResult {
    int status = kOptimal;
    bool stopped = false; // the user stopped the search (the result is the best found so far)
    bool haveIncumbent = false;
    double objective = 0;  // maximisation form (the incumbent value)
    std::vector<double> x; // 1..n (index 0 unused)
    double lowerBound = -kInfinity;
    double upperBound = kInfinity;
    // Counts for the benchmarks and the tests.
    long iterations = 0; // pivots and bound flips of all relaxations
    long pivots = 0;
    long flips = 0;
    long lpSolves = 0;  // relaxations solved: the nodes of the search tree
    long nodes = 0;     // branching nodes pushed
    long solutions = 0; // integer solutions found
};

// A row the search adds to the model's relaxation (a cutting plane): the
// sum of the terms (variable 1..n, coefficient; in increasing variable
// order) `sense` `rhs`.
struct CutRow {
    std::vector<std::pair<int, double>> terms;
    int sense = kGreaterEqual;
    double rhs = 0;
};

// The relaxation of one node: the model with the current bounds of the
// variables. The basis, the active constraints and the values carry over
// from one solve to the next (a warm start after a bound change).
class Relaxation {
public:
    explicit Relaxation(const MIPModel& model);

    // Current bounds of variable j (1..n); `upper` kInfinity for none.
    double lower(int j) const { return lo_[j - 1]; }
    double upper(int j) const { return up_[j - 1]; }
    void setBounds(int j, double lower, double upper);
    // Many bound changes at once: `setBounds` without working out the new
    // values, which `settleValues`, `restart` or a last `setBounds` then does.
    void setBoundsOnly(int j, double lower, double upper);
    // The values under the bounds set so far (with `quickValues` only where
    // a bound change left them to be worked out afresh).
    void settleValues();
    // Forgets the basis: the next solve starts from the first one.
    void restart() { firstBasis(); }
    // The basis in a few words: the row count, the active rows whose slacks
    // are nonbasic, the basic structurals in basis order and the nonbasic
    // structurals at their upper bounds. (A loaded basis may also name basic
    // slacks, n + i for row i, 0-based.)
    void saveBasis(std::vector<int>& saved) const;
    // Takes up a saved basis under the current bounds: refactorises it and
    // works out the values, which the next solve repairs where the bounds
    // have changed. False, with the first basis taken instead, when it does
    // not fit the rows held now or is singular or inaccurate.
    bool loadBasis(const std::vector<int>& saved);

    // Solves from the current basis. Returns kOptimal, kUnbounded,
    // kInfeasible, kTooManyIterations, kTooLarge or kPrecision; a stop
    // request ends it with kError and `stopped()`. Added rows (cuts) that
    // keep a solve from an answer are removed, and it is solved without them.
    int solve(tarvik::Progress& progress);
    bool stopped() const { return stopped_; }

    double objective() const; // maximisation form
    double value(int j) const { return x_[j - 1]; }
    const double* values() const { return x_.data(); } // variable j at [j - 1]
    bool isBasic(int j) const { return basisPos_[j - 1] >= 0; }
    int activeRows() const { return static_cast<int>(active_.size()); }

    // Down and up penalties of the basic variable j (kInfinity when no
    // nonbasic column can move it that way).
    void penalties(int j, double& down, double& up) const;
    // The basic variables in basis order (structural ones only, 1-based).
    std::vector<int> basicStructurals() const;
    // Whether the nonbasic variable j is at its upper bound.
    bool atUpper(int j) const { return atUpper_[j - 1] != 0; }
    // For every variable j (1..n): what moving it one unit away from its
    // bound costs (the reduced cost in that direction, 0 or more at an
    // optimum); kInfinity for a basic or fixed variable.
    void moveCosts(std::vector<double>& cost) const;

    // Cutting planes. The model's own rows are limited to kMaxBasisRows; the
    // rows added here widen the basis as far as they need.
    int modelRows() const { return userRows_; }
    int cutRows() const { return m_ - userRows_; }
    // Adds the rows (inactive: a violated one becomes active when the
    // relaxation is solved again).
    void addRows(const std::vector<CutRow>& rows);
    // Removes every added row and starts again from the first basis.
    void removeCuts();
    // The added rows.
    std::vector<CutRow> cuts() const;
    // Removes the added rows that do not bind at the current point (their
    // slacks basic or their rows inactive); the basis of the rest stays.
    void removeSlackCuts();
    // Refactorises the basis at an optimum, so that tableau rows are read
    // from a fresh inverse; false when the basis had to be repaired (the
    // relaxation must be solved again).
    bool refactor();
    // The Gomory mixed-integer cut of the tableau row of the basic integer
    // variable j, fractional at the current optimum, valid for every integer
    // point within the current bounds. False when the row gives none, or only
    // one too weak or too poorly scaled to add.
    bool gomoryCut(int j, CutRow& cut) const;

    long pivots = 0;
    long flips = 0;
    // Takes over the counts of a copy that went on solving (a heuristic's
    // dive from this relaxation): its pivots and flips count here too, and
    // this relaxation's own refactorisation falls due as it would have.
    void countFrom(const Relaxation& copy) {
        refactoredAt_ += copy.pivots - pivots;
        pivots = copy.pivots;
        flips = copy.flips;
    }
    // Repairs by dual simplex steps while the reduced costs allow them.
    bool dualSteps = false;
    // Added rows that keep a solve from an answer are left out of that solve
    // only, rather than for good.
    bool parkCuts = false;
    // The values follow each step by its ratio (the basic ones along the
    // entering column) instead of being worked out afresh from the inverse;
    // they are worked out afresh every few steps and before every verdict.
    bool quickValues = false;

private:
    // Variables: 0..n-1 structural, n + i the slack of constraint i (0-based).
    bool isSlack(int v) const { return v >= n_; }
    double varLower(int v) const;
    double varUpper(int v) const;
    double varValue(int v) const { return isSlack(v) ? s_[v - n_] : x_[v]; }
    void setValue(int v, double value);
    void assignBounds(int v, double lower, double upper); // `setBoundsOnly` of variable v (0-based)
    void activate(int row);
    void column(int v, std::vector<double>& alpha) const; // Binv times the active column of v
    void recompute();
    // `quickValues`: the values after the nonbasic variable v moved by t,
    // alpha its column of the inverse times the active rows.
    void moveValues(int v, double t, const std::vector<double>& alpha);
    bool reinvert();
    bool invertStructurals(); // a faster `reinvert` that leaves a singular basis alone
    template <class Real> bool invertStructuralsIn();
    // The stall guard (see `iterate`).
    static std::uint64_t statusKey(int v, int status);
    int status(int v) const;
    std::uint64_t basisHash() const;
    void noteProgress(int target, bool dual);
    void restartGuard();
    void duals(std::vector<double>& y) const;
    // The tableau row of the inverse's row tr, for every structural (with
    // `quickValues` for the nonbasic ones only, 0 for the rest).
    void tableauRow(const double* tr, std::vector<double>& rowAlpha) const;
    // The same for every structural, row by row (the order the textbook search's sums keep).
    void tableauRowFromRows(const double* tr, std::vector<double>& rowAlpha) const;
    // The duals and the structurals' reduced costs of the current basis,
    // worked out once for it (`changed_` marks every change of the basis).
    const std::vector<double>& currentDuals() const;
    const std::vector<double>& currentReducedCosts() const;
    double reducedCost(int v, const std::vector<double>& y) const; // z - c for increasing v
    // The basis position of the most violated basic variable, else the most
    // violated inactive row made active; -1 when everything is feasible.
    int findViolation();
    int iterate();
    double* binvRow(int p) { return binv_.data() + static_cast<std::size_t>(p) * stride_; }
    const double* binvRow(int p) const { return binv_.data() + static_cast<std::size_t>(p) * stride_; }
    void clearBasis();
    void firstBasis();
    int solveOnce(tarvik::Progress& progress);
    bool accurate() const;
    bool rowsSatisfied() const; // the active rows hold at the current values
    void pivot(int pos, int v, const std::vector<double>& alpha);

    MIPModel model_; // the model's rows, then the added ones
    int n_, m_;
    int userRows_; // the model's own rows
    // Rows of the inverse held: kMaxBasisRows, or all rows once cuts outnumber them.
    int stride_ = kMaxBasisRows;
    std::vector<char> rowIntegral_; // a row whose slack takes whole values only
    std::vector<double> lo_, up_;
    std::vector<double> x_, s_;  // structural values, slack values (b - a x)
    std::vector<int> active_;    // rows in order of activation
    std::vector<int> activePos_; // row -> position in active_, or -1
    std::vector<int> basis_;     // position -> basic variable
    std::vector<int> basisPos_;  // structural -> position, or -1
    std::vector<int> slackPos_;  // row -> position of its basic slack, or -1
    std::vector<char> atUpper_;  // nonbasic structural at its upper bound
    // The inverse of the basis of the active rows, row p at p * kMaxBasisRows.
    std::vector<double> binv_;
    // The model by columns: for each structural, (row, value).
    std::vector<std::vector<std::pair<int, double>>> columns_;
    bool stopped_ = false;
    // Scratch space of one iteration.
    std::vector<double> rowAlpha_, alpha_, rate_, rhs_;
    std::vector<std::pair<int, double>> moves_;
    std::vector<int> moveList_;
    struct DualCandidate {
        int v, d;        // the variable, its direction
        double rate, rc; // |its tableau entry|, its reduced cost in that direction
    };
    std::vector<DualCandidate> dualCandidates_;
    std::vector<int> rhsNonzero_;  // `recompute`: the nonzeros of the right-hand sides
    std::vector<double> rcValue_;  // reduced costs of this iteration
    std::vector<unsigned> rcSeen_; // the iteration that worked each out
    unsigned rcRound_ = 0;
    bool flipAtStart_ = false; // dual steps: wrong-signed variables may still move to their other bounds
    int repairVar_ = -1;       // the basic variable being repaired until it is feasible
    long refactoredAt_ = 0;    // the pivot count at the last refactorisation
    int stall_ = 0;            // iterations since the last progress
    std::unordered_set<std::uint64_t> visited_; // bases met while stalling
    std::vector<int> refused_;                  // entering candidates that lead back to one of them
    int activeAtRecord_ = 0;
    double bestObjective_ = 0;
    double bestDual_ = 0;               // the lowest objective reached by dual steps
    std::vector<double> bestViolation_; // per variable: the smallest violation while under repair
    std::vector<CutRow> parked_;        // added rows left out of the last solve (`parkCuts`)
    int quickMoves_ = 0;                // `quickValues`: updates since the values were worked out
    mutable std::vector<double> byRow_; // `tableauRow`: the inverse's row by model row
    std::vector<double> keptCost_;      // `quickValues`: the reduced costs of the nonbasic variables
    bool haveCosts_ = false;            // whether keptCost_ belongs to the current basis
    unsigned long changed_ = 1;         // counts changes of the basis and the values
    mutable unsigned long dualsAt_ = 0, costsAt_ = 0;
    mutable std::vector<double> dualCache_, costCache_;
};

// Solves the model by branch and bound: the textbook search unless `search`
// turns on the faster one. `log`, when given, records every node.
MIPResult MIPSolve(const MIPModel& model, MIPProgress& progress, const SearchOptions& search = kDefaultSearch,
                   NodeLog* log = nullptr);

} // namespace tarvik::ip
