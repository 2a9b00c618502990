#pragma once
// Pieces of the tarvik-solve command lines every module reads: options as
// "--name VALUE" or "--name=VALUE", comma-separated lists and the seed of
// the system generator.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace tarvik {

// One option word split at its first '=': "--n=4" gives "--n" and "4";
// "--n" alone gives no value.
struct OptionWord {
    std::string name;
    std::optional<std::string> value;
};
OptionWord SplitOptionWord(const std::string& word);

// The value of `option`: the text after its '=', else the next word of `args`
// (and `i` moves on to it). Nothing when the line ends first.
std::optional<std::string> TakeValue(const OptionWord& option, const std::vector<std::string>& args,
                                     std::size_t& i);

// "a,b,c" as its items; an empty text or item stays as an empty item.
std::vector<std::string> SplitList(const std::string& text);

// The seed typed after --seed: a whole number from 0 to 4294967295, else nothing.
std::optional<std::uint32_t> ParseSeed(const std::string& text);

// Sets the system generator to `seed`, or seeds it from the clock when there
// is none and tells that seed on `err` as "seed S", so the run can be repeated.
void SeedSystemGenerator(std::optional<std::uint32_t> seed, std::ostream& err);

// The seconds typed after --time-limit: a number above 0 and at most
// 1000000, else nothing (kTimeLimitProblem says so).
std::optional<double> ParseTimeLimit(const std::string& text);
inline constexpr const char* kTimeLimitProblem =
    "The time limit must be a number of seconds above 0 and at most 1000000";

// The end of a run that --time-limit bounds: `passed` turns true once the
// time is up (and stays so). Without a limit it never passes.
class Deadline {
public:
    explicit Deadline(std::optional<double> seconds);
    bool passed() const;

private:
    std::optional<std::chrono::steady_clock::time_point> end_;
    mutable bool passed_ = false;
};

} // namespace tarvik
