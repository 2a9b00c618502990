#include "modules/markov/markovcli.h"

#include "common/cliargs.h"
#include "modules/markov/markovanalysis.h"
#include "modules/markov/markovfile.h"

#include <map>
#include <optional>

namespace tarvik::markov {
namespace {

constexpr int kInputError = 2;
constexpr int kStoppedAtTimeLimit = 3;

constexpr const char* kUsage =
    "Usage: tarvik-solve CHAIN.txt --analysis structure|steady-state|transient|first-passage\n"
    "       [--initial I] [--times T1,T2,...] [--transient probabilities|sojourn|costs]\n"
    "       [--end-states J1,J2,...] [--set single|lower|upper --state A] [--time-limit SEC]\n";

template <typename E>
std::optional<E> Lookup(const std::map<std::string, E>& names, const std::string& word) {
    auto it = names.find(word);
    if (it == names.end()) return std::nullopt;
    return it->second;
}

int UsageError(std::ostream& err, const std::string& message) {
    err << message << "\n" << kUsage;
    return kInputError;
}

// A transient or first-passage run from the command line: it stops as the
// window's "&Stop" stops it once the time limit has passed.
class TimedProgress : public MarkovProgress {
public:
    explicit TimedProgress(const Deadline& deadline) : deadline_(deadline) {}
    bool stopRequested() const override { return deadline_.passed(); }

private:
    const Deadline& deadline_;
};

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    static const std::map<std::string, Analysis> kAnalyses = {{"structure", Analysis::Structure},
                                                              {"steady-state", Analysis::SteadyState},
                                                              {"transient", Analysis::Transient},
                                                              {"first-passage", Analysis::FirstPassage}};
    static const std::map<std::string, TransientOutput> kOutputs = {
        {"probabilities", TransientOutput::Probabilities},
        {"sojourn", TransientOutput::SojournTimes},
        {"costs", TransientOutput::Costs}};
    static const std::map<std::string, ReturnSet> kSets = {
        {"single", ReturnSet::Single}, {"lower", ReturnSet::Lower}, {"upper", ReturnSet::Upper}};
    static const char* const kOptions[] = {"--analysis",   "--initial", "--times", "--transient",
                                           "--end-states", "--set",     "--state", "--time-limit"};

    std::optional<std::string> fileName;
    std::map<std::string, std::string> options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (arg.rfind("--", 0) != 0) {
            if (fileName) return UsageError(err, "More than one chain file: " + arg);
            fileName = arg;
            continue;
        }
        const OptionWord option = SplitOptionWord(arg);
        bool known = false;
        for (const char* o : kOptions) known = known || option.name == o;
        if (!known) return UsageError(err, "Unknown option " + option.name);
        const std::optional<std::string> value = TakeValue(option, args, i);
        if (!value) return UsageError(err, "Option " + option.name + " needs a value");
        options[option.name] = *value;
    }
    std::optional<double> seconds;
    if (options.count("--time-limit")) {
        seconds = ParseTimeLimit(options["--time-limit"]);
        if (!seconds) return UsageError(err, kTimeLimitProblem);
    }
    if (!fileName) return UsageError(err, "No chain file given");
    if (!options.count("--analysis")) return UsageError(err, "No analysis given");
    auto analysis = Lookup(kAnalyses, options["--analysis"]);
    if (!analysis) return UsageError(err, "Unknown analysis " + options["--analysis"]);

    const ReadResult read = ReadChainFile(*fileName);
    if (!read.ok) {
        err << read.problem.message << "\n";
        return kInputError;
    }
    auto validated = ValidateChain(read.chain);
    if (auto* problem = std::get_if<InputProblem>(&validated)) {
        err << problem->message << "\n";
        return kInputError;
    }
    const Chain& chain = std::get<Chain>(validated);

    // The window's choices after opening a file, changed by the options.
    ChoiceTexts choices = DefaultChoices(chain.n);
    choices.analysis = *analysis;
    if (options.count("--initial")) choices.initialState = choices.startingState = options["--initial"];
    if (options.count("--times"))
        choices.transientTimes = choices.passageTimes = SplitList(options["--times"]);
    if (options.count("--transient")) {
        auto t = Lookup(kOutputs, options["--transient"]);
        if (!t) return UsageError(err, "Unknown transient output " + options["--transient"]);
        choices.transientOutput = *t;
    }
    if (options.count("--end-states")) choices.endStates = SplitList(options["--end-states"]);
    if (options.count("--set")) {
        auto s = Lookup(kSets, options["--set"]);
        if (!s) return UsageError(err, "Unknown return set " + options["--set"]);
        choices.returnSet = *s;
    }
    if (options.count("--state")) choices.stateA = options["--state"];

    auto checked = CheckParameters(choices, chain);
    if (auto* problem = std::get_if<InputProblem>(&checked)) {
        err << problem->message << "\n";
        return kInputError;
    }
    const Deadline deadline(seconds);
    TimedProgress progress(deadline);
    const Report report = RunAnalysis(chain, std::get<AnalysisParams>(checked), progress);
    if (!report.problem.empty()) {
        err << report.problem << "\n";
        return kInputError;
    }
    out << JoinLines(report.lines) << "\n";
    if (!out) return 1;
    if (report.stopped) {
        // As "&Stop" leaves the tab: its header lines only.
        err << "The analysis was stopped at the time limit\n";
        return kStoppedAtTimeLimit;
    }
    return 0;
}

} // namespace tarvik::markov
