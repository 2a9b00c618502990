#pragma once
// The graphical method for an integer model with two variables: the region
// of its relaxation (bounds included), the simplex path of that relaxation,
// the integer points in the picture and the integer optimum of the search.
#include "modules/ip/mipsolver.h"
#include "modules/lp/graphical.h"

#include <memory>

namespace tarvik::ip {

// Integer points the picture shows at most; beyond, it shows none.
inline constexpr std::size_t kMaxIntegerPoints = 2500;

// The plane model of the relaxation: the constraints and, as constraints of
// their own, the upper bounds of binary variables. Nullopt unless n = 2.
std::optional<lp::PlaneModel> PlaneModelOf(const MIPModel& model);

// Null unless the model has two variables.
std::shared_ptr<const lp::GraphicalSolution> GraphicalOf(const MIPModel& model, const MIPResult& result);

} // namespace tarvik::ip
