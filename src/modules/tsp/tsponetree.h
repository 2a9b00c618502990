#pragma once
// The exact tour with the 1-tree bound (Held and Karp 1970, 1971): a depth-first
// branch and bound whose lower bound is the Lagrangian 1-tree, a minimum
// spanning tree of cities 2 .. n plus the two cheapest edges of city 1 under
// edge costs D(i, j) + pi(i) + pi(j), minus twice the sum of the penalties pi.
// The penalties are raised by subgradient steps at the root and carried from
// each node to its children (warm start). A node branches on a city of degree
// more than two in its 1-tree (Volgenant and Jonker 1982): leave out the first
// of two of its tree edges; take the first and leave out the second; take both.
// Taking an edge forbids the edge that would close its chain into a sub-tour,
// and a city with two taken edges loses all its other edges. Edges are
// forbidden on the shared distance table itself (set to INF and restored).
#include "modules/tsp/tspbb.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tarvik::tsp {

// A node of the search as a test sees it: the edges its tours must use and
// those they may not use (pairs i < j), and the lower bound found for it.
struct OneTreeNode {
    double bound = 0;
    std::vector<std::pair<int, int>> included;
    std::vector<std::pair<int, int>> excluded;
};
using OneTreeObserver = std::function<void(const OneTreeNode&)>;

// The subgradient steps the root and every other node may take. Fewer steps
// give weaker bounds and larger trees (tests use that to reach deep nodes).
struct SubgradientSteps {
    int root = 1500;
    int node = 0; // 0: ten more than the number of cities
};

// As BranchAndBound: only tours strictly shorter than `upper` count, the
// improvements go to `progress` with ImprovementLine, the stop flag ends the
// search with the best tour so far, and the table is filled again at the end.
// The first tour comes from closest-neighbour tours improved by 2-OPT and
// Or-OPT moves, which also give the subgradient steps their target.
ExactResult OneTreeBranchAndBound(const Cities& cities, DistanceTable& d, double upper,
                                  SearchProgress& progress, const OneTreeObserver& observer = {},
                                  SubgradientSteps steps = {});

// The lower bound of the exact method: the reduced matrix (the default) or the 1-tree.
enum class ExactBound { ReducedMatrix, OneTree };
ExactResult ExactTour(const Cities& cities, DistanceTable& d, double upper, ExactBound bound,
                      SearchProgress& progress);

// What the result field says of the tour an exact search found.
inline constexpr const char* kProvenOptimal = "Optimal tour, proven";
inline constexpr const char* kNotProvenOptimal = "Best tour found; search stopped, not proven optimal";
std::string ExactVerdict(const ExactResult& result);

} // namespace tarvik::tsp
