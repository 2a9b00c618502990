#include "modules/tsp/tspcli.h"

#include "common/cliargs.h"
#include "common/numparse.h"
#include "common/random.h"
#include "modules/tsp/tspbb.h"
#include "modules/tsp/tspcities.h"
#include "modules/tsp/tsponetree.h"
#include "modules/tsp/tsptour.h"

#include <chrono>
#include <cmath>
#include <map>
#include <optional>
#include <set>

namespace tarvik::tsp {
namespace {

constexpr int kUnreadable = 1;
constexpr int kInputError = 2;
constexpr int kNothingFound = 3;

constexpr const char* kUsage = "Usage: tarvik-solve --tsp CITIES.txt --tour nearest|angle|random|exact\n"
                               "       [--start S] [--two-opt] [--upper U] [--bound reduced|one-tree]\n"
                               "       [--time-limit SEC] [--progress]\n"
                               "   or: tarvik-solve --tsp --random N [--seed S] --tour ...\n";

int UsageError(std::ostream& err, const std::string& message) {
    err << message << "\n" << kUsage;
    return kInputError;
}

// The exact search seen from the command line: progress lines on standard
// error when asked for, and a stop once the time limit has passed.
class CliProgress : public SearchProgress {
public:
    CliProgress(std::ostream& err, bool lines, std::optional<double> seconds) : err_(err), lines_(lines) {
        if (seconds)
            deadline_ = std::chrono::steady_clock::now() +
                        std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                            std::chrono::duration<double>(*seconds));
    }
    void improved(double, const std::string& line) override {
        if (lines_) err_ << line << "\n";
    }
    bool stopRequested() const override {
        if (!deadline_ || stop_) return stop_;
        // The clock is read every 256 steps only.
        if ((++calls_ & 255) == 0 && std::chrono::steady_clock::now() >= *deadline_) stop_ = true;
        return stop_;
    }

private:
    std::ostream& err_;
    bool lines_;
    std::optional<std::chrono::steady_clock::time_point> deadline_;
    mutable unsigned calls_ = 0;
    mutable bool stop_ = false;
};

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    static const std::set<std::string> kValued = {"--tsp",   "--random", "--seed",       "--tour",
                                                  "--start", "--upper",  "--time-limit", "--bound"};
    static const std::set<std::string> kFlags = {"--two-opt", "--progress"};

    std::optional<std::string> fileName;
    std::map<std::string, std::string> options;
    std::set<std::string> flags;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (arg.rfind("--", 0) != 0) {
            if (fileName) return UsageError(err, "More than one city file: " + arg);
            fileName = arg;
            continue;
        }
        const OptionWord option = SplitOptionWord(arg);
        const std::string& name = option.name;
        if (kFlags.count(name)) {
            if (option.value) return UsageError(err, "Option " + name + " takes no value");
            flags.insert(name);
            continue;
        }
        if (!kValued.count(name)) return UsageError(err, "Unknown option " + name);
        if (name == "--tsp") {
            // The option word; the city file may follow it.
            std::optional<std::string> value = option.value;
            if (!value && i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0) value = args[++i];
            if (value) {
                if (fileName) return UsageError(err, "More than one city file: " + *value);
                fileName = *value;
            }
            continue;
        }
        const std::optional<std::string> value = TakeValue(option, args, i);
        if (!value) return UsageError(err, "Option " + name + " needs a value");
        if (options.count(name)) return UsageError(err, "Option " + name + " given twice");
        options[name] = *value;
    }

    if (fileName && options.count("--random"))
        return UsageError(err, "Give a city file or --random, not both");
    if (!fileName && !options.count("--random")) return UsageError(err, "No city file given");
    if (!options.count("--tour")) return UsageError(err, "No tour method given (--tour)");
    const std::string method = options["--tour"];
    if (method != "nearest" && method != "angle" && method != "random" && method != "exact")
        return UsageError(err, "Unknown tour method " + method);
    const bool exact = method == "exact";
    if (!exact && (options.count("--upper") || options.count("--time-limit") || flags.count("--progress") ||
                   options.count("--bound")))
        return UsageError(err, "--upper, --bound, --time-limit and --progress belong to --tour exact");
    ExactBound bound = ExactBound::ReducedMatrix;
    if (options.count("--bound")) {
        if (options["--bound"] == "one-tree")
            bound = ExactBound::OneTree;
        else if (options["--bound"] != "reduced")
            return UsageError(err, "Unknown bound " + options["--bound"] + " (reduced or one-tree)");
    }
    if (exact && flags.count("--two-opt")) return UsageError(err, "--two-opt improves heuristic tours only");
    if (method != "nearest" && options.count("--start"))
        return UsageError(err, "--start belongs to --tour nearest");

    // The system generator: seeded as given, or from the clock with the seed told.
    const bool needsGenerator = options.count("--random") || method == "random";
    if (options.count("--seed")) {
        const auto seed = ParseSeed(options["--seed"]);
        if (!seed) return UsageError(err, "The seed must be a whole number from 0 to 4294967295");
        SeedSystemGenerator(seed, err);
    } else if (needsGenerator) {
        SeedSystemGenerator(std::nullopt, err);
    }

    Cities cities;
    if (fileName) {
        const CityFileResult read = ReadCityFile(*fileName);
        if (!read.ok) {
            err << read.message << "\n";
            return read.unreadable ? kUnreadable : kInputError;
        }
        cities = read.cities;
    } else {
        const auto n = TryStrToInt(options["--random"]);
        if (!n || *n < kMinCities || *n > kMaxCities)
            return UsageError(err, "The number of cities must be from 2 to 50");
        cities = PlaceRandomCities(static_cast<int>(*n));
    }
    const int n = static_cast<int>(cities.size());

    int start = 1;
    if (options.count("--start")) {
        const auto s = TryStrToInt(options["--start"]);
        if (!s || *s < 1 || *s > n)
            return UsageError(err, "The start city must be from 1 to " + std::to_string(n));
        start = static_cast<int>(*s);
    }
    double upper = kInf;
    if (options.count("--upper")) {
        const auto u = TryStrToReal(options["--upper"]);
        if (!u) {
            err << "Wrong input!\n";
            return kInputError;
        }
        upper = *u;
    }
    std::optional<double> seconds;
    if (options.count("--time-limit")) {
        const auto t = TryStrToReal(options["--time-limit"]);
        if (!t || !(*t > 0) || *t > 1e6)
            return UsageError(err, "The time limit must be a number of seconds above 0 and at most 1000000");
        seconds = *t;
    }

    DistanceTable d(cities);
    TourReport report;
    report.Restart(cities);

    if (exact) {
        CliProgress progress(err, flags.count("--progress") > 0, seconds);
        const ExactResult r = ExactTour(cities, d, upper, bound, progress);
        if (flags.count("--progress")) {
            err << kCalculationReady << "\n";
            if (r.found) err << ExactVerdict(r) << "\n";
        }
        if (!r.found && !r.cancelled) {
            err << "Wrong upper limit! There is no tour with this or shorter length.\n";
            return kInputError;
        }
        if (!r.found) {
            err << "No tour was found before the time limit\n";
            return kNothingFound;
        }
        if (r.cancelled)
            err << "The exact solutions has not yet been found! The best solution so far is shown\n";
        report.AddTour(r.cancelled ? kDemolishedExact : kExactTour, r.best, TourLine(r.tour));
        out << report.PlainText();
        return out ? 0 : 1;
    }

    Tour tour;
    std::string description;
    if (method == "nearest") {
        tour = ClosestNeighbourTour(d, start);
        description = kClosestNeighbour;
    } else if (method == "angle") {
        tour = GreatestAngleTour(cities, d);
        description = kGreatestAngle;
    } else {
        tour = RandomTour(n);
        description = kRandomTour;
    }
    report.AddTour(description, TourLength(tour, d), TourLine(tour));
    if (flags.count("--two-opt")) {
        const TwoOptResult r = TwoOpt(tour, d);
        report.AddTour(TwoOptDescription(r, description), r.after, TourLine(tour));
    }
    out << report.PlainText();
    return out ? 0 : 1;
}

} // namespace tarvik::tsp
