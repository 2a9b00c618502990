#pragma once
// The command-line entry of coin tossing and dice:
//   --dice fair-coin|biased-coin|fair-die|biased-die [--throws N]
//          [--probabilities P1,P2 | P1,...,P6] [--seed S]
// Prints what the windows show after a run: the diagram's counts and relative
// frequencies, the table of relative frequencies and the figures of the random
// walk. Settings the dialog refuses are refused with its message, exit code 2.
#include <ostream>
#include <string>
#include <vector>

namespace tarvik::dice {

// `args` without the program name, the option word included. Returns the exit code.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace tarvik::dice
