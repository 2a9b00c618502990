#include "modules/simulation/simulationcli.h"

#include "common/cliargs.h"
#include "common/numparse.h"
#include "common/random.h"
#include "modules/simulation/simchecks.h"
#include "modules/simulation/simkernels.h"
#include "modules/simulation/simreport.h"
#include "modules/simulation/simtheorytext.h"

#include <algorithm>
#include <map>
#include <set>

namespace tarvik::simulation {
namespace {

constexpr int kInputError = 2;

constexpr const char* kUsage =
    "Usage: tarvik-solve --simulate single|compare-md1|compare-dm1|varying-load|pooling|tandem|priority\n"
    "       [--lambda X] [--mu X] [--lambda1 X] [--lambda2 X] [--mu1 X] [--mu2 X] [--rho1 X] [--rho2 X]\n"
    "       [--arrivals poisson|deterministic] [--service exponential|deterministic]\n"
    "       [--service1 exponential|deterministic] [--service2 exponential|deterministic]\n"
    "       [--initial N] [--length L] [--seed S]\n";

int UsageError(std::ostream& err, const std::string& message) {
    err << message << "\n" << kUsage;
    return kInputError;
}

struct ExperimentInfo {
    Experiment experiment;
    std::set<std::string> options; // besides --seed
};

const std::map<std::string, ExperimentInfo>& Experiments() {
    static const std::map<std::string, ExperimentInfo> e = {
        {"single", {Experiment::Single, {"lambda", "mu", "initial", "length", "arrivals", "service"}}},
        {"compare-md1", {Experiment::CompareMD1, {"lambda", "mu", "initial", "length"}}},
        {"compare-dm1", {Experiment::CompareDM1, {"lambda", "mu", "initial", "length"}}},
        {"varying-load", {Experiment::VaryingLoad, {"rho1", "rho2", "initial", "length"}}},
        {"pooling", {Experiment::Pooling, {"lambda1", "lambda2", "mu1", "mu2", "service", "length"}}},
        {"tandem",
         {Experiment::Tandem, {"lambda", "mu1", "mu2", "arrivals", "service1", "service2", "length"}}},
        {"priority",
         {Experiment::Priority, {"lambda1", "lambda2", "mu1", "mu2", "service1", "service2", "length"}}},
    };
    return e;
}

// Parses a process word; nothing when it is not one of the two.
std::optional<bool> Deterministic(const std::string& word, const char* stochastic) {
    if (word == "deterministic") return true;
    if (word == stochastic) return false;
    return std::nullopt;
}

std::optional<std::uint32_t> ReadSeed(const std::string& text) {
    if (text.empty() || text.size() > 10) return std::nullopt;
    unsigned long long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + static_cast<unsigned>(c - '0');
    }
    if (v > 4294967295ull) return std::nullopt;
    return static_cast<std::uint32_t>(v);
}

int Refuse(std::ostream& err, const std::vector<std::string>& messages) {
    for (const auto& m : messages) err << m << "\n";
    return kInputError;
}

// Runs the checked settings `c` and prints the results table; refused
// settings print their messages, run nothing and draw nothing.
template <class Checked, class Settings>
int RunChecked(const Checked& c, Outcome (*run)(const Settings&, Progress&),
               ResultsText (*results)(const Settings&, const Outcome*), std::optional<std::uint32_t> seed,
               std::ostream& out, std::ostream& err) {
    if (!c.messages.empty()) return Refuse(err, c.messages);
    SeedSystemGenerator(seed, err);
    Progress progress;
    const Outcome o = run(*c.settings, progress);
    const ResultsText r = results(*c.settings, &o);
    out << ResultsToText(r) << TheoryToText(r);
    return out ? 0 : 1;
}

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::optional<std::string> word;
    std::map<std::string, std::string> options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i].rfind("--", 0) != 0) return UsageError(err, "Unexpected argument " + args[i]);
        const OptionWord option = SplitOptionWord(args[i]);
        const std::optional<std::string> value = TakeValue(option, args, i);
        if (!value) return UsageError(err, "Option " + option.name + " needs a value");
        const std::string name = option.name.substr(2);
        if (name == "simulate") {
            if (word) return UsageError(err, "More than one experiment given");
            word = value;
            continue;
        }
        if (options.count(name)) return UsageError(err, "Option " + option.name + " given twice");
        options[name] = *value;
    }
    if (!word) return UsageError(err, "No experiment given");
    const auto it = Experiments().find(*word);
    if (it == Experiments().end()) return UsageError(err, "Unknown experiment " + *word);
    const ExperimentInfo& info = it->second;
    for (const auto& [name, value] : options)
        if (name != "seed" && !info.options.count(name))
            return UsageError(err, "Option --" + name + " does not belong to experiment " + *word);

    std::optional<std::uint32_t> seed;
    if (options.count("seed")) {
        seed = ReadSeed(options["seed"]);
        if (!seed) return UsageError(err, "Invalid seed " + options["seed"]);
    }
    auto text = [&](const char* name, const char* def) {
        auto f = options.find(name);
        return f == options.end() ? std::string(def) : f->second;
    };
    // A process option: its default is the dialog's first choice.
    std::optional<std::string> badWord;
    auto process = [&](const char* name, const char* stochastic) {
        const std::string w = text(name, stochastic);
        auto d = Deterministic(w, stochastic);
        if (!d) {
            badWord = "Unknown process " + w + " for --" + name;
            return false;
        }
        return *d;
    };
    const double minLength = info.experiment == Experiment::Single ? kMinSingleLength : kMinLength;
    const double length = static_cast<double>(ReadWholeNumber(
        text("length", "10000"), static_cast<long long>(minLength), static_cast<long long>(kMaxLength)));
    const int initial = static_cast<int>(ReadWholeNumber(text("initial", "0"), 0, kMaxInitial));

    switch (info.experiment) {
    case Experiment::Single: {
        RateInput in{.lambda = text("lambda", "1"),
                     .mu = text("mu", "1.25"),
                     .length = length,
                     .initial = initial,
                     .detArrivals = process("arrivals", "poisson"),
                     .detService = process("service", "exponential")};
        if (badWord) return UsageError(err, *badWord);
        auto c = CheckSingle(in);
        if (c.settings)
            if (auto m = ProcessMessage(*c.settings)) c.messages.push_back(*m);
        return RunChecked(c, RunSingle, SingleResults, seed, out, err);
    }
    case Experiment::CompareMD1:
    case Experiment::CompareDM1: {
        RateInput in{
            .lambda = text("lambda", "1"), .mu = text("mu", "1.25"), .length = length, .initial = initial};
        return RunChecked(CheckCompare(in, info.experiment == Experiment::CompareMD1), RunCompare,
                          CompareResults, seed, out, err);
    }
    case Experiment::VaryingLoad:
        return RunChecked(CheckVaryingLoad(text("rho1", "0.9"), text("rho2", "0.8"), length, initial),
                          RunVaryingLoad, VaryingLoadResults, seed, out, err);
    case Experiment::Pooling: {
        PoolingInput in{.lambda1 = text("lambda1", "1"),
                        .lambda2 = text("lambda2", "1"),
                        .mu1 = text("mu1", "1.25"),
                        .mu2 = text("mu2", "1.25"),
                        .detService = process("service", "exponential"),
                        .length = length};
        if (badWord) return UsageError(err, *badWord);
        return RunChecked(CheckPooling(in), RunPooling, PoolingResults, seed, out, err);
    }
    case Experiment::Tandem: {
        TandemInput in{.lambda = text("lambda", "1"),
                       .mu1 = text("mu1", "1.25"),
                       .mu2 = text("mu2", "1.25"),
                       .detArrivals = process("arrivals", "poisson"),
                       .detService1 = process("service1", "exponential"),
                       .detService2 = process("service2", "exponential"),
                       .length = length};
        if (badWord) return UsageError(err, *badWord);
        return RunChecked(CheckTandem(in), RunTandem, TandemResults, seed, out, err);
    }
    case Experiment::Priority: {
        PriorityInput in{.lambda1 = text("lambda1", "1"),
                         .lambda2 = text("lambda2", "1"),
                         .mu1 = text("mu1", "3"),
                         .mu2 = text("mu2", "3"),
                         .detService1 = process("service1", "exponential"),
                         .detService2 = process("service2", "exponential"),
                         .length = length};
        if (badWord) return UsageError(err, *badWord);
        return RunChecked(CheckPriority(in), RunPriority, PriorityResults, seed, out, err);
    }
    }
    return kInputError; // every experiment has its case above
}

} // namespace tarvik::simulation
