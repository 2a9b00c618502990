#pragma once
// The command-line entry of the normal-distribution demonstrations:
//   --normal clt [--die fair|P1,P2,P3,P4,P5,P6] [--n N1[,N2[,N3,N4]]]
//   --normal sqrt-law [--count N] [--seed S] [--points]
//   --normal ci [--p P] [--n N] [--level 95|90] [--seed S]
// Prints the results to `out`; input errors go to `err` with exit code 2.
#include <ostream>
#include <string>
#include <vector>

namespace tarvik::normal {

// `args` without the program name, the option word included. Returns the exit code.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace tarvik::normal
