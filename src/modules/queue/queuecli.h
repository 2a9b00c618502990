#pragma once
// The command-line entry of the queueing models:
//   --queue PAGE [--FIELD TEXT]... [--output CHOICE] [--service|--arrivals|--type|--vary|--y|--graph WORD]
//                [--tvalues T1,...] [--pvalues P1,...] [--nvalues N1,...] [--points]
// Prints the lines the page's Run appends to the log (no styles, no header).
// Input errors go to `err` with exit code 2; a numerical breakdown exits 3.
#include <ostream>
#include <string>
#include <vector>

namespace tarvik::queue {

// `args` without the program name, "--queue" included. Returns the exit code.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace tarvik::queue
