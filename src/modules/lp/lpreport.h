#pragma once
// The summary of results and the sensitivity ranges, read from the final tableau.
#include "modules/lp/lpsimplex.h"

#include <string>

namespace tarvik::lp {

void Report(const LPModel& model, const SimplexOutcome& outcome, bool sensitivity, std::string& out);

} // namespace tarvik::lp
