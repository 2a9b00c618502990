#include "common/cliargs.h"

namespace tarvik {

OptionWord SplitOptionWord(const std::string& word) {
    const std::size_t eq = word.find('=');
    if (eq == std::string::npos) return {word, std::nullopt};
    return {word.substr(0, eq), word.substr(eq + 1)};
}

std::optional<std::string> TakeValue(const OptionWord& option, const std::vector<std::string>& args,
                                     std::size_t& i) {
    if (option.value) return option.value;
    if (i + 1 >= args.size()) return std::nullopt;
    return args[++i];
}

std::vector<std::string> SplitList(const std::string& text) {
    std::vector<std::string> items;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        items.push_back(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return items;
}

} // namespace tarvik
