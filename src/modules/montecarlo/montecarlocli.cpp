#include "modules/montecarlo/montecarlocli.h"

#include "common/cliargs.h"
#include "common/numparse.h"
#include "common/random.h"
#include "modules/montecarlo/mccli.h"

#include <algorithm>

namespace tarvik::montecarlo {
namespace cli {

std::string Context::text(const std::string& name, const std::string& fallback) const {
    auto it = options_.find(name);
    return it == options_.end() ? fallback : it->second;
}

int Context::spin(const std::string& name, const SpinLimits& limits) const {
    auto it = options_.find(name);
    if (it == options_.end()) return limits.initial;
    const auto v = TryStrToInt(it->second);
    if (!v || *v < limits.min || *v > limits.max)
        throw Refusal{"--" + name + " must be an integer from " + std::to_string(limits.min) + " to " +
                      std::to_string(limits.max)};
    return static_cast<int>(*v);
}

std::vector<std::string> Context::list(const std::string& name) const {
    const std::string t = text(name);
    if (t.empty()) return {};
    return SplitList(t);
}

void Context::startGenerators() const {
    const std::uint32_t used = StartGenerators(seed_);
    if (!seed_) err << "seed " << used << "\n";
}

void Line(std::ostream& out, const std::string& label, const std::string& value) {
    out << label << ": " << value << "\n";
}

namespace {

// One line per experiment.
const std::vector<Experiment>& Experiments() {
    static const std::vector<Experiment> table = {
        {"pi", {"draws"}, RunPiCli, "pi [--draws N]"},
        {"birthday",
         {"persons", "days", "runs"},
         RunBirthdayCli,
         "birthday [--persons M] [--days D] [--runs R]"},
        {"buffon", {"throws"}, RunBuffonCli, "buffon [--throws N]"},
        {"st-petersburg", {"m", "runs"}, RunStPetersburgCli, "st-petersburg [--m M] [--runs R]"},
        {"kelly",
         {"races", "probabilities", "payoffs", "fractions"},
         RunKellyCli,
         "kelly [--races R] --probabilities P1,... --payoffs U1,... --fractions F1,..."},
        {"roulette-run",
         {"capital", "desired"},
         RunRouletteRunCli,
         "roulette-run [--capital S] [--desired T]"},
        {"roulette-dist",
         {"capital", "bets", "runs"},
         RunRouletteDistCli,
         "roulette-dist [--capital S] [--bets B] [--runs N]"},
        {"benford", {"bounds", "draws"}, RunBenfordCli, "benford --bounds B1,... [--draws D]"},
        {"newsboy",
         {"q1", "q2", "price", "salvage", "penalty", "bins", "runs", "uniform", "triangular", "own"},
         RunNewsboyCli,
         "newsboy [--q1 Q] [--q2 Q] [--price P] [--salvage S] [--penalty G] [--bins K] [--runs N]\n"
         "          [--uniform A,B | --triangular A,B,M | --own P0,...,P10]"},
        {"legio",
         {"rate", "term", "withdrawal", "same", "fluctuation", "runs"},
         RunLegioCli,
         "legio [--rate R] [--term 10|15|20] [--withdrawal W] [--same P] [--fluctuation F] [--runs N]"},
        {"scratch", {"tickets", "weeks"}, RunScratchCli, "scratch [--tickets N] [--weeks W]"},
        {"lotto", {"balls", "drawn", "draws"}, RunLottoCli, "lotto [--balls S] [--drawn R] [--draws N]"},
    };
    return table;
}

std::string Usage() {
    std::string u = "Usage: tarvik-solve --montecarlo EXPERIMENT [--seed S] OPTIONS\n";
    for (const Experiment& e : Experiments()) u += std::string("  ") + e.usage + "\n";
    return u;
}

int UsageError(std::ostream& err, const std::string& message) {
    err << message << "\n" << Usage();
    return kInputError;
}

} // namespace
} // namespace cli

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    using namespace cli;
    std::vector<std::pair<std::string, std::string>> given;
    std::vector<std::string> words;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i].rfind("--", 0) != 0) {
            words.push_back(args[i]);
            continue;
        }
        const OptionWord option = SplitOptionWord(args[i]);
        const std::string name = option.name.substr(2);
        if (name == "montecarlo") {
            // The experiment is its "=" value or a word of its own.
            if (option.value) words.insert(words.begin(), *option.value);
            continue;
        }
        const auto value = TakeValue(option, args, i);
        if (!value) return UsageError(err, "Option " + option.name + " needs a value");
        given.emplace_back(name, *value);
    }
    if (words.empty()) return UsageError(err, "No experiment given");
    if (words.size() > 1) return UsageError(err, "More than one experiment: " + words[1]);
    const auto& table = Experiments();
    auto exp =
        std::find_if(table.begin(), table.end(), [&](const Experiment& e) { return words[0] == e.name; });
    if (exp == table.end()) return UsageError(err, "Unknown experiment " + words[0]);

    std::map<std::string, std::string> options;
    std::optional<std::uint32_t> seed;
    for (const auto& [name, value] : given) {
        if (name == "seed") {
            seed = ParseSeed(value);
            if (!seed) return UsageError(err, "--seed must be an integer from 0 to 4294967295");
            continue;
        }
        const bool known =
            std::any_of(exp->options.begin(), exp->options.end(), [&](const char* o) { return name == o; });
        if (!known) return UsageError(err, "Unknown option --" + name + " for " + exp->name);
        options[name] = value;
    }
    try {
        return exp->run(Context(std::move(options), seed, out, err));
    } catch (const Refusal& r) {
        err << r.message << "\n";
        return kInputError;
    }
}

} // namespace tarvik::montecarlo
