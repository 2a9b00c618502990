#include "common/clihelp.h"

#include <algorithm>
#include <sstream>

namespace tarvik {

namespace {

constexpr std::size_t kTextColumn = 25;

} // namespace

std::string WrapText(const std::string& text, std::size_t indent, std::size_t width) {
    std::istringstream words(text);
    std::string word, out, line;
    const std::string margin(indent, ' ');
    while (words >> word) {
        if (!line.empty() && indent + line.size() + 1 + word.size() > width) {
            out += margin + line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty()) out += margin + line + "\n";
    return out;
}

std::string FormatSection(const HelpSection& section) {
    std::string s = std::string(section.title) + ":\n";
    if (*section.note) s += WrapText(section.note, 2) + "\n";
    for (const OptionHelp& o : section.options) {
        std::string head = std::string("  ") + o.option + (*o.value ? std::string(" ") + o.value : "");
        if (head.size() + 2 > kTextColumn) {
            s += head + "\n" + WrapText(o.text, kTextColumn);
        } else {
            const std::string body = WrapText(o.text, kTextColumn);
            head.resize(kTextColumn, ' ');
            s += head + (body.empty() ? "\n" : body.substr(kTextColumn));
        }
    }
    return s;
}

std::vector<std::string> OptionChoices(const OptionHelp& option) {
    std::vector<std::string> words;
    if (*option.choices) {
        std::istringstream in(option.choices);
        for (std::string w; in >> w;) words.push_back(w);
        return words;
    }
    const std::string value = option.value;
    if (value.find('|') == std::string::npos) return {};
    const bool plain = std::all_of(value.begin(), value.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '|';
    });
    if (!plain) return {};
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = value.find('|', start);
        words.push_back(value.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    return words;
}

} // namespace tarvik
