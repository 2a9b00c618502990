#pragma once
// How branch and bound searches. The default is the textbook method, step by
// step as the course teaches it. The faster search adds speed-ups that give
// the same optimum with fewer nodes; each is a switch of its own, so that a
// new one joins the faster search without touching the default path.
#include <string>

namespace tarvik::ip {

struct SearchOptions {
    // When only integer variables have costs and those are whole multiples of
    // one step (their greatest common divisor), every integer solution's value
    // is such a multiple: LP values and estimates are rounded down to one
    // before they are compared with the incumbent.
    bool roundBounds = false;
    // A nonbasic integer variable whose move of one unit away from its bound
    // would cost more than the gap to the incumbent is fixed at that bound for
    // the node's subtree.
    bool reducedCostFixing = false;
    // While there is no incumbent, the root's relaxation and every hundredth
    // node's are rounded: the integer variables fixed at their nearest
    // integers (and, failing that, rounded up), the rest solved again. A
    // feasible result is an early incumbent.
    bool roundingHeuristic = false;
    // The root's relaxation is tightened by rounds of Gomory mixed-integer
    // cuts, read from the tableau rows of its fractional integer variables,
    // while the bound improves. The cuts stay in every node's relaxation.
    bool rootCuts = false;
    // Once there is an incumbent, the open sides are kept as stored nodes
    // (their bounds), and the search goes on from the one with the largest
    // estimate: it dives depth-first below it until the dive ends, then picks
    // again. Beyond a bound on the store's memory it goes on depth-first.
    bool bestBound = false;
    // The branching variable is the one with the largest product of its two
    // sides' expected losses: the LP value lost per unit of move on each
    // side so far (its pseudo-costs), but no less than the penalties.
    bool pseudoCosts = false;
    // A relaxation whose reduced costs all have the right sign (as after a
    // bound change or an added row) is repaired by dual simplex steps: the
    // violated basic variable leaves at its bound whatever the others do.
    bool dualSteps = false;
    // The root's rounds of cuts take sparse mixed-integer rounding cuts from
    // the model's rows, alone and aggregated along their continuous
    // variables, with the variable upper bounds of flows substituted; Gomory
    // cuts (with `rootCuts`) only in rounds where these give none. Cuts that
    // keep a node's relaxation from an answer are left out of that node's
    // only, not for good.
    bool mirCuts = false;
    // Best-bound search: a stored node keeps its parent's optimal basis, and
    // the jump to it starts from that basis (the dual steps repair the
    // branching bound) rather than from the first one. Such a start ends at
    // another of the optima where the optimum is degenerate, often one with
    // zero penalties on variables without costs whose smaller side then
    // proves infeasible (see `siblingDives`).
    bool warmJumps = false;
    // Best-bound search: a dive whose node proves infeasible goes on with the
    // other side of its parent, which now holds the parent's whole bound,
    // rather than ending there. Dives that keep ending on an infeasible first
    // side never reach an integer solution, and the search then widens
    // without a better incumbent (bell5 with `warmJumps`).
    bool siblingDives = false;
    // The relaxation's values follow each simplex step by its ratio and are
    // worked out afresh from the inverse only every few steps and before a
    // verdict (rather than after every step).
    bool quickValues = false;
    // Dives from a node's relaxation to an integer solution: one fractional
    // integer variable after another is bounded to the side of the nearer
    // integer (or of the incumbent's value, or, from a relaxation with the
    // variables fixed where it agrees with the incumbent, of the nearer
    // integer again: the dives take turns), and the relaxation solved again;
    // a side that is infeasible or cannot beat the incumbent sends the dive
    // back to the last bound whose other side is still open. An integral
    // relaxation is a new incumbent. At the root (after its cuts) when there
    // is an incumbent to improve, then every so often within a tenth of the
    // search's pivots; the node's relaxation is taken up again as it was.
    bool divingHeuristic = false;

    bool faster() const {
        return roundBounds || reducedCostFixing || roundingHeuristic || rootCuts || bestBound ||
               pseudoCosts || dualSteps || mirCuts || warmJumps || siblingDives || quickValues ||
               divingHeuristic;
    }
    bool operator==(const SearchOptions&) const = default;
};

// The textbook search, and the faster search that the settings offer.
inline constexpr SearchOptions kDefaultSearch{};
inline constexpr SearchOptions kFasterSearch{.roundBounds = true,
                                             .reducedCostFixing = true,
                                             .roundingHeuristic = true,
                                             .rootCuts = true,
                                             .bestBound = true,
                                             .pseudoCosts = true,
                                             .dualSteps = true,
                                             .mirCuts = true,
                                             .warmJumps = true,
                                             .siblingDives = true,
                                             .quickValues = true,
                                             .divingHeuristic = true};

// The setting's text, and which search a run used ("Default search" or the
// setting's text).
inline const std::string kFasterSearchText =
    "Faster search (bound rounding, reduced-cost fixing, rounding heuristic, cutting planes, best-bound "
    "search, pseudo-costs)";
std::string SearchName(const SearchOptions& options);

} // namespace tarvik::ip
