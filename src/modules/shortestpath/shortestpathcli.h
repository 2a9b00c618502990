#pragma once
// The command-line entry for grid networks:
//   --grid NETWORK.txt [--heuristic myopic|nearly-myopic] [--print-network]
//   --grid [--rows R] [--columns C] [--fixed L | --seed S] [--heuristic ...] [--print-network]
// Prints "Length optimal path: ", "Optimal path: " and, with a heuristic,
// "Length heuristic path: " and "Heuristic path: "; with --print-network the
// network in the file form instead.
#include <ostream>
#include <string>
#include <vector>

namespace tarvik::shortestpath {

// `args` without the program name, the option word included. Returns the exit
// code: 0 done, 1 an unreadable file, 2 a wrong file line or command line.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace tarvik::shortestpath
