#pragma once
// The command-line entry for chain files:
//   CHAIN.txt --analysis structure|steady-state|transient|first-passage
//             [--initial I] [--times T1,T2,...]
//             [--transient probabilities|sojourn|costs] [--end-states J1,J2,...]
//             [--set single|lower|upper --state A]
// Prints the report text to `out`; input errors go to `err` with exit code 2.
#include <ostream>
#include <string>
#include <vector>

namespace tarvik::markov {

// `args` without the program name. Returns the exit code.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace tarvik::markov
