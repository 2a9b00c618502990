#pragma once
// The command-line entry for the travelling salesman:
//   --tsp CITIES.txt | --random N [--seed S]
//   --tour nearest|angle|random|exact [--start S] [--two-opt]
//   [--upper U] [--time-limit SEC] [--progress]
// Prints the tour data report as plain text to `out`; messages go to `err`.
#include <ostream>
#include <string>
#include <vector>

namespace tarvik::tsp {

// `args` without the program name, the option word included. Returns the
// exit code: 0 done, 1 unreadable file, 2 input error, 3 stopped by the time
// limit before any tour was found.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace tarvik::tsp
