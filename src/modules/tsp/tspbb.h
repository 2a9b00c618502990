#pragma once
// The exact tour: depth-first branch and bound on the reduced distance
// matrix (row and column reduction as the lower bound, branching on the zero
// entry with the largest penalty, the including branch first with the
// closing of a sub-tour forbidden).
#include "common/progress.h"
#include "modules/tsp/tspcities.h"
#include "modules/tsp/tsptour.h"

#include <cstdint>
#include <string>

namespace tarvik::tsp {

// A forbidden entry of the working matrix.
inline constexpr double kInf = 1e10;

// What the search reports while it runs: `yield` once per step (a window
// hands control to its event loop there), the stop flag before every step,
// and a line each time a shorter tour is found.
class SearchProgress : public Progress {
public:
    virtual void improved(double /*best*/, const std::string& /*line*/) {}
};

struct ExactResult {
    bool found = false;     // a tour shorter than the bound was found
    bool cancelled = false; // the stop flag ended the search
    double best = kInf;     // its length (the bound when nothing was found)
    Tour tour;              // O(1) = 1, O(2), ..., O(n)
    std::uint64_t nodes = 0;
};

// "Length best tour until now " followed by the length to 8 significant digits.
std::string ImprovementLine(double best);
inline constexpr const char* kCalculationReady = "Calculation ready!";

// Searches on `d` itself: the diagonal is set to INF, the entries are reduced
// and restored in place, and at the end the table is filled again from the
// cities' positions. `upper` is the user's bound (only tours strictly shorter
// count); without one it is INF.
ExactResult BranchAndBound(const Cities& cities, DistanceTable& d, double upper, SearchProgress& progress);

} // namespace tarvik::tsp
