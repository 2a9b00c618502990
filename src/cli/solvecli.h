#pragma once
// The command-line solver: reads LP and IP model files, solves them and prints
// the same text the LP or IP window's output page shows.
#include <iosfwd>
#include <string>
#include <vector>

namespace tarvik::cli {

// `args` are the command-line arguments without the program name. Returns the
// exit code: 0 solved (whatever the status), 1 unreadable file or bad usage,
// 2 syntax error in a model.
int RunSolve(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

// The editor's view of a file: every line, the last one too, ended by CR LF.
std::string EditorText(const std::string& fileBytes);

// Line and column (both from 1) of a 1-based offset into an editor text.
std::pair<long, long> LineColumn(const std::string& text, long offset);

} // namespace tarvik::cli
