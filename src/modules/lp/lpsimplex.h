#pragma once
// The two-phase primal simplex method on the full tableau, with the tableau
// prints for teaching.
#include "modules/lp/lprun.h"
#include "modules/lp/matgen.h"

#include <string>
#include <vector>

namespace tarvik::lp {

// Stopped: the progress sink asked the run to stop before it reached a verdict.
enum class LPStatus { Optimal = 0, Unbounded = 1, Infeasible = 2, Stopped = 3 };

struct SimplexOutcome {
    LPStatus status = LPStatus::Optimal;
    std::vector<char> removed;  // [0..m]: rows removed as redundant
    std::vector<char> excluded; // [1..n+1]: columns that may not enter (phase 2: the artificial columns)
    long iterations = 0;
    // False when a check against the original model failed; `doubt` says why.
    bool reliable = true;
    std::string doubt;
    // Bookkeeping for the benchmarks.
    long refreshes = 0;
    long guardPivots = 0;
    bool factored = false; // the run kept the basis in factored form
    // The fraction run: the objective value as a reduced fraction (optimal only).
    std::string objectiveFraction;
};

// The result line of the progress dialog for a status.
std::string StatusText(LPStatus status);

// How the solver keeps the basis between pivots. The full tableau is what the
// tableau prints show; the factored form keeps only the basis as B = L U plus
// one eta column per pivot (rebuilt from the original columns every 100
// pivots), the right-hand sides and the reduced costs, and computes the
// entering column and the pivot row from the factors and the original rows,
// which is several times faster on large sparse models. Both run the same
// entering and leaving rules and end with the full final tableau in the model,
// from which the report is written (except where FinalTableau says otherwise).
enum class Representation {
    Automatic = 0, // the factored form when no tableau is printed and the model is large and sparse
    Tableau = 1,
    Factored = 2, // only when no tableau is printed; otherwise the full tableau
};

// What the solve leaves in the model's tableau. The full tableau path always
// leaves every entry; the factored form multiplies out the columns that are
// not basic only when all of it is wanted (the report's ranging reads them).
enum class FinalTableau {
    Whole = 0,
    // Row 0, the right-hand sides and the basis: the verdict, the objective
    // value and the solution. The other entries may be stale; a model read
    // without its tableau rows (BuildLPModel) keeps only row 0 and the basis. As nothing
    // else of the run is read, the factored form picks the entering columns
    // by Devex weights (fewer pivots; the same verdict and optimum).
    ResultOnly = 1,
};

// Sees the basic solution of every pass of the iteration loop: the solution
// that the pass's tableau shows, whether it is printed or not.
class SimplexObserver {
public:
    virtual ~SimplexObserver() = default;
    // `phase` is 1 or 2; values[j] (j = 1..n) is column j's value in the basic
    // solution, 0 for a nonbasic column.
    virtual void pass(int phase, const std::vector<double>& values) = 0;
};

// Solves the model in place and appends the solver output (line ends CR LF).
// An observer changes nothing in the run.
SimplexOutcome Simplex(LPModel& model, OutputMode mode, LPProgress& progress, std::string& out,
                       Representation representation = Representation::Automatic,
                       SimplexObserver* observer = nullptr, FinalTableau finalTableau = FinalTableau::Whole);

// One pivot on (r, e): the hot loop, exposed for the benchmarks.
void Pivot(LPModel& model, int r, int e, const std::vector<char>& removed);

} // namespace tarvik::lp
