#pragma once
// What the experiments' command-line runs share: their options, the integer
// fields' limits and the seeding of the generators. Each experiment adds one
// entry to the table in montecarlocli.cpp.
#include "modules/montecarlo/mcshared.h"

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tarvik::montecarlo::cli {

inline constexpr int kInputError = 2;

// An input error: the message goes to standard error, the exit code is 2.
struct Refusal {
    std::string message;
};

class Context {
public:
    Context(std::map<std::string, std::string> options, std::optional<std::uint32_t> seed, std::ostream& out,
            std::ostream& err)
        : out(out), err(err), options_(std::move(options)), seed_(seed) {}

    bool has(const std::string& name) const { return options_.count(name) > 0; }
    // The text of an option, or `fallback` when it is not given.
    std::string text(const std::string& name, const std::string& fallback = {}) const;
    // An integer field: the field's default when not given; outside the limits
    // or not an integer: a refusal naming the limits.
    int spin(const std::string& name, const SpinLimits& limits) const;
    // A comma-separated list.
    std::vector<std::string> list(const std::string& name) const;

    // The module's start-up, just before the run: streams reset, then the
    // seed given or one from the clock (written as "seed S" on standard error).
    void startGenerators() const;

    std::ostream& out;
    std::ostream& err;

private:
    std::map<std::string, std::string> options_;
    std::optional<std::uint32_t> seed_;
};

// "Label: value" lines.
void Line(std::ostream& out, const std::string& label, const std::string& value);

struct Experiment {
    const char* name;                   // the word after --montecarlo
    std::vector<const char*> options;   // its options, without "--"
    int (*run)(const Context& context); // throws Refusal on bad input
    const char* usage;                  // its options for the usage text
};

// The experiments, one run each.
int RunPiCli(const Context& c);
int RunBirthdayCli(const Context& c);
int RunBuffonCli(const Context& c);
int RunStPetersburgCli(const Context& c);
int RunKellyCli(const Context& c);
int RunRouletteRunCli(const Context& c);
int RunRouletteDistCli(const Context& c);
int RunBenfordCli(const Context& c);
int RunNewsboyCli(const Context& c);
int RunLegioCli(const Context& c);
int RunScratchCli(const Context& c);
int RunLottoCli(const Context& c);

} // namespace tarvik::montecarlo::cli
