#pragma once
// The command-line entry of the all-or-nothing game:
//   --roulette --capital C --goal G --bets N [--decision STAKE,ENTRY | --table]
//   --roulette --spins N [--seed S]
// Prints the results window's lines, the other-decision dialog's win
// probability, or the whole strategy table. Invalid input: "Invalid input
// value(s)" on `err`, exit code 2. With --spins: the numbers the table game's
// wheel draws in N spins of a game started with seed S.
#include <ostream>
#include <string>
#include <vector>

namespace tarvik::roulette {

// `args` without the program name, "--roulette" included. Returns the exit code.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace tarvik::roulette
