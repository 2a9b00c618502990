#pragma once
// The --help texts of tarvik and tarvik-solve, made from tables of options so
// that an option is one line of its table. The layout is the GNU one, which
// help2man turns into the manual pages: "Usage:" lines, a description, then
// sections headed "Title:" with one option per entry.
#include <string>
#include <vector>

namespace tarvik {

struct OptionHelp {
    const char* option;       // "--tableaus"
    const char* value = "";   // what follows it: "none|first-last|all", "N", "" for a switch
    const char* text = "";    // what it does, one sentence without a full stop
    const char* choices = ""; // the values, blank-separated, when `value` only names them ("EXPERIMENT")
};

struct HelpSection {
    const char* title;     // "Linear and integer programming"
    const char* note = ""; // a paragraph before the options ("" for none)
    std::vector<OptionHelp> options;
};

// Wraps `text` at `width` columns, every line indented by `indent` blanks,
// each line ended by "\n".
std::string WrapText(const std::string& text, std::size_t indent, std::size_t width = 79);

// "Title:", the note, then one entry per option: "  --name VALUE" and the
// text from column 25 (on the next line when the option is wider).
std::string FormatSection(const HelpSection& section);

// The values an option takes: its `choices`, else the words of a value
// written as "a|b|c" (only when every word is lower case, digits or '-'),
// else none.
std::vector<std::string> OptionChoices(const OptionHelp& option);

} // namespace tarvik
