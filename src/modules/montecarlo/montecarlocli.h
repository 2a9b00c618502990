#pragma once
// The command-line entry of the Monte Carlo experiments:
//   --montecarlo EXPERIMENT [--seed S] OPTIONS
// Prints the experiment window's result texts, one per line; input errors go
// to `err` with exit code 2.
#include <ostream>
#include <string>
#include <vector>

namespace tarvik::montecarlo {

// `args` without the program name (the option word included). Returns the exit code.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace tarvik::montecarlo
