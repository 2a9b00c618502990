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

std::optional<double> ParseTimeLimit(const std::string& text) {
    const auto t = TryStrToReal(text);
    if (!t || !(*t > 0) || *t > 1e6) return std::nullopt;
    return *t;
}

Deadline::Deadline(std::optional<double> seconds) {
    if (seconds)
        end_ = std::chrono::steady_clock::now() +
               std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                   std::chrono::duration<double>(*seconds));
}

bool Deadline::passed() const {
    if (!passed_ && end_ && std::chrono::steady_clock::now() >= *end_) passed_ = true;
    return passed_;
}

} // namespace tarvik
