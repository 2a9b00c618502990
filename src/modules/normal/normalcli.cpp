#include "modules/normal/normalcli.h"

#include "common/cliargs.h"
#include "common/numformat.h"
#include "common/numparse.h"
#include "common/random.h"
#include "modules/normal/clt.h"
#include "modules/normal/intervals.h"
#include "modules/normal/sqrtlaw.h"

#include <map>
#include <optional>
#include <set>

namespace tarvik::normal {
namespace {

constexpr int kInputError = 2;

constexpr const char* kUsage =
    "Usage: tarvik-solve --normal clt [--die fair|P1,P2,P3,P4,P5,P6] [--n N1[,N2[,N3,N4]]]\n"
    "       tarvik-solve --normal sqrt-law [--count N] [--seed S] [--points]\n"
    "       tarvik-solve --normal ci [--p P] [--n N] [--level 95|90] [--seed S]\n";

int UsageError(std::ostream& err, const std::string& message) {
    err << message << "\n" << kUsage;
    return kInputError;
}

struct Options {
    std::string demo;
    std::map<std::string, std::string> values;
    bool points = false;
};

// Splits the command line into the demonstration and its options; a message
// when something is wrong.
std::optional<std::string> Parse(const std::vector<std::string>& args, Options& opt) {
    static const std::set<std::string> kValued = {"--normal", "--die", "--n",    "--count",
                                                  "--seed",   "--p",   "--level"};
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i].rfind("--", 0) != 0) return "Unexpected argument " + args[i];
        const OptionWord option = SplitOptionWord(args[i]);
        const std::string& arg = option.name;
        if (arg == "--points") {
            if (option.value) return "Option --points takes no value";
            opt.points = true;
            continue;
        }
        if (!kValued.count(arg)) return "Unknown option " + arg;
        const std::optional<std::string> value = TakeValue(option, args, i);
        if (!value) return "Option " + arg + " needs a value";
        if (arg == "--normal")
            opt.demo = *value;
        else
            opt.values[arg] = *value;
    }
    if (opt.demo != "clt" && opt.demo != "sqrt-law" && opt.demo != "ci")
        return "Unknown demonstration \"" + opt.demo + "\" (clt, sqrt-law or ci)";
    static const std::map<std::string, std::set<std::string>> kAllowed = {
        {"clt", {"--die", "--n"}},
        {"sqrt-law", {"--count", "--seed"}},
        {"ci", {"--p", "--n", "--level", "--seed"}}};
    for (const auto& [name, value] : opt.values)
        if (!kAllowed.at(opt.demo).count(name)) return "Option " + name + " does not belong to " + opt.demo;
    if (opt.points && opt.demo != "sqrt-law") return "Option --points does not belong to " + opt.demo;
    return std::nullopt;
}

// A whole number in [lo, hi], or a message naming the limits.
std::optional<int> ReadCount(const std::string& text, int lo, int hi, const std::string& what,
                             std::string& message) {
    const auto v = TryStrToInt(text);
    if (!v || *v < lo || *v > hi) {
        message = what + " must be a whole number from " + std::to_string(lo) + " to " + std::to_string(hi) +
                  ": " + text;
        return std::nullopt;
    }
    return static_cast<int>(*v);
}

// Sets the system generator as --seed says, or from the clock (and tells the seed).
bool SeedGenerator(const Options& opt, std::ostream& err) {
    auto it = opt.values.find("--seed");
    const std::optional<std::uint32_t> seed = it != opt.values.end() ? ParseSeed(it->second) : std::nullopt;
    if (it != opt.values.end() && !seed) return false;
    SeedSystemGenerator(seed, err);
    return true;
}

int RunClt(const Options& opt, std::ostream& out, std::ostream& err) {
    std::array<std::string, kFaces> texts;
    bool fair = true;
    auto die = opt.values.find("--die");
    if (die != opt.values.end() && die->second != "fair") {
        const auto items = SplitList(die->second);
        if (items.size() != kFaces) return UsageError(err, "--die needs fair or six probabilities");
        for (int j = 0; j < kFaces; ++j) texts[j] = items[j];
        fair = false;
    } else {
        texts.fill(kFairText);
    }
    const DieCheck check = CheckDie(fair, texts);
    if (check.error != DieError::None) {
        err << DieMessage(check.error) << "\n";
        return kInputError;
    }
    auto lengths = opt.values.count("--n") ? SplitList(opt.values.at("--n")) : std::vector<std::string>{"4"};
    const int histograms = static_cast<int>(lengths.size());
    if (histograms != 1 && histograms != 2 && histograms != 4)
        return UsageError(err, "--n needs 1, 2 or 4 summation lengths");
    std::vector<int> ns;
    for (const std::string& t : lengths) {
        std::string message;
        const auto n = ReadCount(t, 1, MaxSumLength(histograms), "Summation length", message);
        if (!n) {
            err << message << " (" << SumLengthHint(histograms) << ")\n";
            return kInputError;
        }
        ns.push_back(*n);
    }
    for (int h = 0; h < histograms; ++h) {
        const int n = ns[h];
        const std::vector<double> dist = SumDistribution(check.p, n);
        const Panel panel = PanelFor(histograms, h);
        const HistogramLayout layout =
            LayoutHistogram(dist, n, panel.left, panel.width, panel.baseY, panel.maxHeight, panel.colour);
        if (layout.barWidth == 0) {
            err << kBarWidthZero << "\n";
            return kInputError;
        }
        if (h > 0) out << "\n";
        const HistogramTexts t = TextsFor(check.p, n);
        out << "Histogram " << h + 1 << "\n";
        for (const std::string& line : t.probabilities) out << line << "\n";
        out << t.length << "\n" << t.mean << "\n" << t.deviation << "\n";
        for (int i = 0; i < static_cast<int>(dist.size()); ++i)
            out << n + i << "\t" << Format("%.17g", dist[i]) << "\n";
    }
    return out ? 0 : 1;
}

int RunSqrt(const Options& opt, std::ostream& out, std::ostream& err) {
    int count = kDefaultExperiments;
    if (opt.values.count("--count")) {
        std::string message;
        const auto c = ReadCount(opt.values.at("--count"), kMinExperiments, kMaxExperiments,
                                 "Number of experiments", message);
        if (!c) {
            err << message << "\n";
            return kInputError;
        }
        count = *c;
    }
    if (!SeedGenerator(opt, err)) return UsageError(err, "--seed needs a whole number from 0 to 4294967295");
    const int stream = ChooseSqrtLawStream();
    std::array<std::vector<double>, 4> means;
    Progress never;
    RunSqrtLaw(count, stream, never, [&](const SqrtPoint& pt) { means[pt.group - 1].push_back(pt.mean); });
    for (int g = 0; g < 4; ++g) {
        const GroupSummary s = Summarise(kGroupSizes[g], means[g]);
        out << "n = " << s.n << "\tcount " << s.count << "\taverage " << FormatGeneral(s.average, 6)
            << "\tsd " << FormatGeneral(s.deviation, 6) << "\twithin 2/sqrt(n) " << s.within << "\tdrawn "
            << s.drawn << "\n";
        if (opt.points)
            for (double m : means[g]) out << Format("%.17g", m) << "\n";
    }
    return out ? 0 : 1;
}

int RunCi(const Options& opt, std::ostream& out, std::ostream& err) {
    IntervalRunSettings settings;
    const PCheck p = CheckP(opt.values.count("--p") ? opt.values.at("--p") : std::string(kDefaultP));
    if (p.error != PError::None) {
        err << PMessage(p.error) << "\n";
        return kInputError;
    }
    settings.p = p.p;
    if (opt.values.count("--n")) {
        std::string message;
        const auto n =
            ReadCount(opt.values.at("--n"), kMinTrials, kMaxTrials, "Number of experiments", message);
        if (!n) {
            err << message << "\n";
            return kInputError;
        }
        settings.n = *n;
    }
    if (opt.values.count("--level")) {
        const std::string& l = opt.values.at("--level");
        if (l == "95")
            settings.level = Level::P95;
        else if (l == "90")
            settings.level = Level::P90;
        else
            return UsageError(err, "--level needs 95 or 90");
    }
    if (!SeedGenerator(opt, err)) return UsageError(err, "--seed needs a whole number from 0 to 4294967295");
    RndReset();
    IntervalRun run(settings);
    Progress never;
    run.runAll(never, [&](const IntervalPair& pair) {
        out << pair.run;
        for (const Interval& iv : pair.panel)
            out << "\t" << FormatGeneral(iv.f, 6) << "\t" << FormatGeneral(iv.lower, 6) << "\t"
                << FormatGeneral(iv.upper, 6) << "\t" << (iv.miss ? "miss" : "hit");
        out << "\n";
    });
    const auto misses = run.misses();
    out << "misses\t" << misses[0] << "\t" << misses[1] << "\n";
    return out ? 0 : 1;
}

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Options opt;
    if (auto problem = Parse(args, opt)) return UsageError(err, *problem);
    if (opt.demo == "clt") return RunClt(opt, out, err);
    if (opt.demo == "sqrt-law") return RunSqrt(opt, out, err);
    return RunCi(opt, out, err);
}

} // namespace tarvik::normal
