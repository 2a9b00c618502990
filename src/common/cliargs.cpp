#include "common/cliargs.h"

#include "common/numparse.h"
#include "common/random.h"

#include <ostream>

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

std::optional<std::uint32_t> ParseSeed(const std::string& text) {
    const auto v = TryStrToInt(text);
    if (!v || *v < 0 || *v > 4294967295LL) return std::nullopt;
    return static_cast<std::uint32_t>(*v);
}

void SeedSystemGenerator(std::optional<std::uint32_t> seed, std::ostream& err) {
    if (seed) {
        RandSeed = *seed;
        return;
    }
    Randomize();
    err << "seed " << RandSeed << "\n";
}

} // namespace tarvik
