#pragma once
// The command line of tarvik: its --help and --version, and the check that
// refuses an option it does not know.
#include <optional>
#include <string>
#include <vector>

namespace tarvik::shell {

// What `tarvik --help` prints.
std::string TarvikHelp();

// The short usage printed with a refused option.
std::string TarvikUsage();

// The answer to --help or --version (whichever comes first among `args`, the
// arguments without the program name); nothing when neither is asked.
std::optional<std::string> AnswerHelpOrVersion(const std::vector<std::string>& args);

// The first of `args` (what is left once Qt took its own options) that tarvik
// does not know; nothing when all are known.
std::optional<std::string> UnknownArgument(const std::vector<std::string>& args);

// The text of the About box: name and version, what Tarvik is, the copyright
// line and the licence.
std::string AboutText();

} // namespace tarvik::shell
