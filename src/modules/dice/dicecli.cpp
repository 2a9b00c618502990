#include "modules/dice/dicecli.h"

#include "common/cliargs.h"
#include "common/numformat.h"
#include "common/numparse.h"
#include "common/random.h"
#include "modules/dice/dobbel.h"

#include <array>
#include <optional>

namespace tarvik::dice {
namespace {

constexpr int kInputError = 2;

constexpr const char* kUsage =
    "Usage: tarvik-solve --dice fair-coin|biased-coin|fair-die|biased-die [--throws N]\n"
    "                    [--probabilities P1,P2 | P1,P2,P3,P4,P5,P6] [--seed S]\n";

int UsageError(std::ostream& err, const std::string& message) {
    err << message << "\n" << kUsage;
    return kInputError;
}

std::optional<Choice> ChoiceNamed(const std::string& word) {
    if (word == "fair-coin") return Choice::FairCoin;
    if (word == "biased-coin") return Choice::BiasedCoin;
    if (word == "fair-die") return Choice::FairDie;
    if (word == "biased-die") return Choice::BiasedDie;
    return std::nullopt;
}

// What the windows show once the run is over.
void PrintRun(const DiceRun& run, std::ostream& out) {
    out << "Number of throws: " << run.throwsMade() << "\n";
    out << "Face\tCount\tRelative frequency\n";
    for (int k = 1; k <= kFaces; ++k)
        out << k << "\t" << run.counts()[static_cast<std::size_t>(k - 1)] << "\t"
            << FormatFixed(run.frequency(k), 3) << "\n";
    out << "\nTable relative frequency\nNumber";
    for (int k = 1; k <= kFaces; ++k) out << "\t" << k;
    out << "\n";
    for (const TableRow& row : run.rows()) {
        out << row.throwNumber;
        for (double f : row.frequency) out << "\t" << FormatFixed(f, 4);
        out << "\n";
    }
    out << "\n";
    if (!LayoutWalk(run.walkSamples(), run.settings().throws).possible) {
        out << "Random walk not possible\n";
        return;
    }
    out << "Percentage above zero axis" << Format(" %.2f", run.percentageAbove()) << "%\n";
    out << "Longest run of 1's:  " << run.longestRun() << "\n";
}

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::optional<Choice> choice;
    std::string throwsText = "1000"; // the dialog's default
    std::optional<std::string> probabilities;
    std::optional<std::string> seedText;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const OptionWord option = SplitOptionWord(args[i]);
        const std::string& name = option.name;
        if (name != "--dice" && name != "--throws" && name != "--probabilities" && name != "--seed")
            return UsageError(err, "Unknown option " + args[i]);
        const std::optional<std::string> value = TakeValue(option, args, i);
        if (!value) return UsageError(err, "Option " + name + " needs a value");
        if (name == "--dice") {
            choice = ChoiceNamed(*value);
            if (!choice) return UsageError(err, "Unknown kind of throwing \"" + *value + "\"");
        } else if (name == "--throws") {
            throwsText = *value;
        } else if (name == "--probabilities") {
            probabilities = *value;
        } else {
            seedText = *value;
        }
    }
    if (!choice) return UsageError(err, "No kind of throwing given");

    // The dialog's checks, in its order: the throws, then the probabilities.
    const ThrowsCheck throws = CheckThrows(throwsText);
    if (throws.error != SettingsError::None) {
        err << SettingsMessage(throws.error) << "\n";
        return kInputError;
    }
    std::array<std::string, kFaces> texts;
    const auto fields = FieldsFor(*choice);
    for (int j = 0; j < kFaces; ++j)
        texts[static_cast<std::size_t>(j)] = fields[static_cast<std::size_t>(j)].text;
    if (probabilities) {
        const bool coin = *choice == Choice::BiasedCoin;
        if (*choice != Choice::BiasedCoin && *choice != Choice::BiasedDie)
            return UsageError(err, "--probabilities belongs to a biased coin or die only");
        const std::vector<std::string> items = SplitList(*probabilities);
        if (items.size() != (coin ? 2u : static_cast<std::size_t>(kFaces)))
            return UsageError(err, coin ? "--probabilities needs P1,P2 for a biased coin"
                                        : "--probabilities needs P1,...,P6 for a biased die");
        for (std::size_t j = 0; j < items.size(); ++j) texts[j] = items[j];
    }
    const ProbabilityCheck probs = CheckProbabilities(*choice, texts);
    if (probs.error != SettingsError::None) {
        err << SettingsMessage(probs.error) << "\n";
        return kInputError;
    }

    const std::optional<std::uint32_t> seed = seedText ? ParseSeed(*seedText) : std::nullopt;
    if (seedText && !seed) return UsageError(err, "--seed needs a whole number from 0 to 4294967295");
    SeedSystemGenerator(seed, err);
    DiceRun run(RunSettings{*choice, throws.throws, probs.p, true});
    Progress never;
    RunThrows(run, never);
    PrintRun(run, out);
    return out ? 0 : 1;
}

} // namespace tarvik::dice
