#pragma once
// The command-line entry of the queue simulation:
//   --simulate single|compare-md1|compare-dm1|varying-load|pooling|tandem|priority
//              [--lambda X] [--mu X] [--lambda1 X] [--lambda2 X] [--mu1 X] [--mu2 X]
//              [--rho1 X] [--rho2 X] [--arrivals poisson|deterministic]
//              [--service exponential|deterministic] [--service1 ...] [--service2 ...]
//              [--initial N] [--length L] [--seed S]
// Prints the results window's text; the settings dialog's messages go to `err`
// with exit code 2.
#include <ostream>
#include <string>
#include <vector>

namespace tarvik::simulation {

// `args` without the program name, the option word included. Returns the exit code.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace tarvik::simulation
