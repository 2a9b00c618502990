#include "modules/roulette/roulettecli.h"

#include "common/cliargs.h"
#include "common/numformat.h"
#include "common/numparse.h"
#include "common/random.h"
#include "modules/roulette/strategy.h"
#include "modules/roulette/tablegame.h"

#include <memory>
#include <optional>

namespace tarvik::roulette {
namespace {

constexpr int kInputError = 2;

constexpr const char* kUsage = "Usage: tarvik-solve --roulette [--capital C] [--goal G] [--bets N]\n"
                               "                    [--decision STAKE,ENTRY | --table]\n"
                               "       tarvik-solve --roulette --spins N [--seed S]\n";

constexpr long long kMaxSpins = 1000000;

int UsageError(std::ostream& err, const std::string& message) {
    err << message << "\n" << kUsage;
    return kInputError;
}

int InvalidInput(std::ostream& err) {
    err << kInvalidInput << "\n";
    return kInputError;
}

// A whole number as typed on the command line; anything else is refused.
std::optional<long long> WholeNumber(const std::string& text) {
    const auto v = TryStrToInt(text);
    if (!v || *v < -1000000000LL || *v > 1000000000LL) return std::nullopt;
    return v;
}

void PrintResults(const ResultsView& view, std::ostream& out) {
    out << ResultsViewText(view);
}

void PrintTable(const StrategyTable& table, int goal, int bets, std::ostream& out) {
    for (int n = 0; n <= bets; ++n) {
        for (int c = 0; c < goal; ++c) {
            const StrategyEntry& e = table.at(n, c);
            out << n << "\t" << c << "\t" << Format("%.17g", e.value) << "\t" << e.stake << "\t" << e.type
                << "\n";
        }
    }
}

// The wheel's numbers of `spins` turns of the table game, from the seed given
// or one from the clock (told on `err`): "spin<TAB>number<TAB>colour".
int PrintSpins(const std::string& spinsText, const std::optional<std::string>& seedText, std::ostream& out,
               std::ostream& err) {
    const auto spins = TryStrToInt(spinsText);
    if (!spins || *spins < 1 || *spins > kMaxSpins)
        return UsageError(err, "--spins needs a whole number from 1 to " + std::to_string(kMaxSpins));
    const std::optional<std::uint32_t> seed = seedText ? ParseSeed(*seedText) : std::nullopt;
    if (seedText && !seed) return UsageError(err, "--seed needs a whole number from 0 to 4294967295");
    SeedSystemGenerator(seed, err);
    static const char* const kColours[] = {"green", "red", "black"};
    for (long long k = 1; k <= *spins; ++k) {
        const int number = SpinWheel().number;
        out << k << "\t" << number << "\t" << kColours[static_cast<int>(ColourOf(number))] << "\n";
    }
    out.flush();
    return out ? 0 : 1;
}

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    StartInput input; // the start dialog's defaults
    std::optional<std::string> decision;
    bool printTable = false;
    std::optional<std::string> spins;
    std::optional<std::string> seed;
    bool gameOption = false; // one of the all-or-nothing game's options

    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (arg == "--roulette") continue;
        if (arg == "--table") {
            printTable = true;
            continue;
        }
        const OptionWord option = SplitOptionWord(arg);
        const std::string& name = option.name;
        if (name != "--capital" && name != "--goal" && name != "--bets" && name != "--decision" &&
            name != "--spins" && name != "--seed")
            return UsageError(err, "Unknown option " + arg);
        const std::optional<std::string> value = TakeValue(option, args, i);
        if (!value) return UsageError(err, "Option " + name + " needs a value");
        if (name == "--spins") {
            spins = value;
            continue;
        }
        if (name == "--seed") {
            seed = value;
            continue;
        }
        gameOption = true;
        if (name == "--decision") {
            decision = value;
            continue;
        }
        const auto number = WholeNumber(*value);
        if (!number) return InvalidInput(err);
        if (name == "--capital")
            input.capital = *number;
        else if (name == "--goal")
            input.goal = *number;
        else
            input.bets = *number;
    }
    if (spins) {
        if (gameOption || printTable) return UsageError(err, "--spins goes with --seed only");
        return PrintSpins(*spins, seed, out, err);
    }
    if (seed) return UsageError(err, "--seed belongs to --spins");
    if (decision && printTable) return UsageError(err, "--decision and --table exclude each other");

    const StartCheck check = CheckStartInput(input);
    if (!check.ok) return InvalidInput(err);

    // The decision is read before anything is computed, as the dialog's fields are.
    int stake = 1;
    int type = 1;
    if (decision) {
        const std::size_t comma = decision->find(',');
        if (comma == std::string::npos) return InvalidInput(err);
        const auto s = WholeNumber(decision->substr(0, comma));
        const auto entry = DecisionEntryIndex(decision->substr(comma + 1));
        if (!s || !entry) return InvalidInput(err);
        stake = ClampStake(*s, check.capital);
        type = kDecisionList[*entry].type;
    }

    auto table = std::make_unique<StrategyTable>();
    SolveAllOrNothing(*table, check.goal, check.bets);
    if (printTable) {
        PrintTable(*table, check.goal, check.bets, out);
    } else if (decision) {
        std::string text = WinText(*table, check.capital, check.goal, check.bets, stake, type);
        if (!text.empty() && text.back() == ' ') text.pop_back();
        out << "Win probability " << text << "\n";
    } else {
        PrintResults(PrepareResults(*table, check.capital, check.goal, check.bets), out);
    }
    out.flush();
    return 0;
}

} // namespace tarvik::roulette
