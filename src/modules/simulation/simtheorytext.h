#pragma once
// The columns "Theory" and "95% interval" beside the figures of a results
// table, and the text block that the command line and "Save as text…" print
// after the table:
//
//   (empty line)
//   Theory and 95% intervals
//   caption<TAB>system<TAB>simulated<TAB>theory<TAB>low<TAB>high
//
// one line per figure that has a theory value, row by row, system 1 before 2.
#include "modules/simulation/simintervals.h"
#include "modules/simulation/simreport.h"
#include "modules/simulation/simtheory.h"

#include <string>

namespace tarvik::simulation {

// Fills r.theory and r.interval for the finished run `outcome` (empty texts
// when there is none or it was stopped).
void AddTheory(ResultsText& r, const Outcome* outcome, const TheoryTable& theory, BatchFigures figures);

// The interval as the window shows it: "[low, high]", or "-".
std::string IntervalText(const std::array<std::string, 2>& ends);

// The block above; empty when the table holds no figures.
std::string TheoryToText(const ResultsText& r);

} // namespace tarvik::simulation
