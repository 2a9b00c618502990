#include "modules/shortestpath/shortestpathcli.h"

#include "common/cliargs.h"
#include "common/random.h"
#include "modules/shortestpath/gridfile.h"
#include "modules/shortestpath/network.h"

#include <charconv>
#include <map>
#include <optional>

namespace tarvik::shortestpath {
namespace {

constexpr int kUnreadable = 1;
constexpr int kInputError = 2;

constexpr const char* kUsage =
    "Usage: tarvik-solve --grid NETWORK.txt [--heuristic myopic|nearly-myopic] [--print-network]\n"
    "       tarvik-solve --grid [--rows R] [--columns C] [--fixed L | --seed S]\n"
    "                    [--heuristic myopic|nearly-myopic] [--print-network]\n";

int UsageError(std::ostream& err, const std::string& message) {
    err << message << "\n" << kUsage;
    return kInputError;
}

std::optional<long long> Whole(const std::string& text) {
    long long v = 0;
    if (text.empty() || text.size() > 12) return std::nullopt;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return v;
}

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    static const char* const kValued[] = {"--heuristic", "--rows", "--columns", "--fixed", "--seed"};
    std::optional<std::string> fileName;
    std::map<std::string, std::string> options;
    bool printNetwork = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (arg.rfind("--", 0) != 0) {
            if (fileName) return UsageError(err, "More than one network file: " + arg);
            fileName = arg;
            continue;
        }
        const OptionWord option = SplitOptionWord(arg);
        const std::string& name = option.name;
        if (name == "--grid") {
            // The file may follow the option word, as a value of it.
            if (option.value) {
                if (fileName) return UsageError(err, "More than one network file: " + *option.value);
                fileName = option.value;
            }
            continue;
        }
        if (name == "--print-network") {
            if (option.value) return UsageError(err, "Option --print-network takes no value");
            printNetwork = true;
            continue;
        }
        bool known = false;
        for (const char* o : kValued) known = known || name == o;
        if (!known) return UsageError(err, "Unknown option " + name);
        const std::optional<std::string> value = TakeValue(option, args, i);
        if (!value) return UsageError(err, "Option " + name + " needs a value");
        if (options.count(name)) return UsageError(err, "Option " + name + " given twice");
        options[name] = *value;
    }

    std::optional<Heuristic> heuristic;
    if (options.count("--heuristic")) {
        const std::string& h = options["--heuristic"];
        if (h == "myopic")
            heuristic = Heuristic::Myopic;
        else if (h == "nearly-myopic")
            heuristic = Heuristic::NearlyMyopic;
        else
            return UsageError(err, "Unknown heuristic " + h);
    }

    Network network;
    if (fileName) {
        for (const char* o : {"--rows", "--columns", "--fixed", "--seed"})
            if (options.count(o))
                return UsageError(err, std::string("Option ") + o + " cannot go with a network file");
        NetworkRead read = ReadNetworkFile(*fileName);
        if (read.status != NetworkRead::Status::Ok) {
            err << read.message << "\n";
            return read.status == NetworkRead::Status::Unreadable ? kUnreadable : kInputError;
        }
        network = read.network;
    } else {
        // The settings dialog's defaults, changed by the options.
        auto number = [&](const char* option, long long low, long long high,
                          long long fallback) -> std::optional<long long> {
            if (!options.count(option)) return fallback;
            auto v = Whole(options[option]);
            if (!v || *v < low || *v > high) {
                err << "The value of " << option << " must be a whole number from " << low << " to " << high
                    << ", not \"" << options[option] << "\"\n";
                return std::nullopt;
            }
            return v;
        };
        auto rows = number("--rows", 1, kMaxRows, kDefaultRows);
        if (!rows) return kInputError;
        auto columns = number("--columns", 1, kMaxColumns, kDefaultColumns);
        if (!columns) return kInputError;
        network.rows = static_cast<int>(*rows);
        network.columns = static_cast<int>(*columns);
        if (options.count("--fixed") && options.count("--seed"))
            return UsageError(err, "Options --fixed and --seed exclude each other");
        if (options.count("--fixed")) {
            auto fixed = number("--fixed", kMinFixedLength, kMaxFixedLength, kDefaultFixedLength);
            if (!fixed) return kInputError;
            SetFixedLengths(network, static_cast<int>(*fixed));
        } else {
            std::optional<std::uint32_t> seed;
            if (options.count("--seed")) {
                auto typed = number("--seed", 0, 4294967295LL, 0);
                if (!typed) return kInputError;
                seed = static_cast<std::uint32_t>(*typed);
            }
            SeedSystemGenerator(seed, err);
            DrawRandomLengths(network);
        }
    }

    if (printNetwork) {
        out << NetworkText(network);
        return out ? 0 : 1;
    }
    const OptimalValues optimal = ComputeOptimal(network);
    out << "Length optimal path: " << LengthText(optimal.length()) << "\n";
    out << "Optimal path: " << MovesText(OptimalPath(network, optimal)) << "\n";
    if (heuristic) {
        const OwnPath path = RunHeuristic(network, *heuristic);
        out << "Length heuristic path: " << LengthText(path.length()) << "\n";
        out << "Heuristic path: " << MovesText(path.moves()) << "\n";
    }
    return out ? 0 : 1;
}

} // namespace tarvik::shortestpath
