#pragma once
// What `tarvik-solve --help` prints: one table entry per command-line entry,
// in the order of the README, each with its options. A new option is one line
// in its entry's table (solvehelp.cpp); the manual page and the shell
// completion are made from the same table.
#include "common/clihelp.h"

#include <string>
#include <vector>

namespace tarvik::cli {

struct SolveEntry {
    const char* word;  // the option that chooses the entry ("" for model files)
    const char* usage; // its synopsis after "tarvik-solve "
    const char* files; // extensions of the files it reads, blank-separated ("" for none)
    HelpSection help;
};

const std::vector<SolveEntry>& SolveEntries();

// The whole --help text, or (with `only`) the usage and options of one entry.
std::string SolveHelp(const SolveEntry* only = nullptr);

// When the command line asks for --help or --version (whichever comes first),
// prints the answer to `out` and returns true: the help of the entry the line
// names, or of every entry; or the version notice.
bool AnswerHelpOrVersion(const std::vector<std::string>& args, std::ostream& out);

// The bash completion script for tarvik-solve: `script` with the line
// "@TARVIK_SOLVE_TABLES@" replaced by the tables of entries, options, values
// and file extensions.
std::string BashCompletion(const std::string& script);

} // namespace tarvik::cli
