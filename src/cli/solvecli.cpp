#include "cli/solvecli.h"

#include "common/safefile.h"
#include "modules/lp/lprun.h"
#include "modules/lp/modeltext.h"

#ifdef TARVIK_HAVE_IP
#include "modules/ip/ipcli.h"
#endif

#ifdef TARVIK_HAVE_MARKOV
#include "modules/markov/markovcli.h"
#endif
#ifdef TARVIK_HAVE_TSP
#include "modules/tsp/tspcli.h"
#endif
#ifdef TARVIK_HAVE_SHORTESTPATH
#include "modules/shortestpath/shortestpathcli.h"
#endif
#ifdef TARVIK_HAVE_SIMULATION
#include "modules/simulation/simulationcli.h"
#endif
#ifdef TARVIK_HAVE_NORMAL
#include "modules/normal/normalcli.h"
#endif
#ifdef TARVIK_HAVE_MONTECARLO
#include "modules/montecarlo/montecarlocli.h"
#endif
#ifdef TARVIK_HAVE_ROULETTE
#include "modules/roulette/roulettecli.h"
#endif
#ifdef TARVIK_HAVE_QUEUE
#include "modules/queue/queuecli.h"
#endif
#ifdef TARVIK_HAVE_DICE
#include "modules/dice/dicecli.h"
#endif

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace tarvik::cli {

namespace {

constexpr const char* kUsage =
    "usage: tarvik-solve MODEL.tlp|MODEL.tip... [--tableaus none|first-last|all] [--sensitivity on|off]\n"
    "                    [--fractions] [--crlf] [--brief] [--ip|--lp]\n"
    "       (MODEL \"-\" reads standard input; a name ending in .tip is an integer model,\n"
    "        --ip or --lp reads every model as an integer or a linear one)\n";

struct Options {
    lp::LPSettings settings;
    bool crlf = false;
    bool brief = false;
    bool forceIP = false;
    bool forceLP = false;
    bool lpOptionGiven = false;  // --tableaus or --sensitivity, which integer models ignore
    bool fractionsGiven = false; // --fractions, which integer models ignore too
    std::vector<std::string> models;
};

bool ParseOptions(const std::vector<std::string>& args, Options& opt, std::ostream& err) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& v) {
            if (i + 1 >= args.size()) {
                err << "tarvik-solve: " << a << " needs a value\n" << kUsage;
                return false;
            }
            v = args[++i];
            return true;
        };
        std::string v;
        if (a == "--tableaus") {
            opt.lpOptionGiven = true;
            if (!value(v)) return false;
            if (v == "none") {
                opt.settings.output = lp::OutputMode::NoTableaus;
            } else if (v == "first-last") {
                opt.settings.output = lp::OutputMode::FirstLast;
            } else if (v == "all") {
                opt.settings.output = lp::OutputMode::All;
            } else {
                err << "tarvik-solve: unknown --tableaus value \"" << v << "\"\n" << kUsage;
                return false;
            }
        } else if (a == "--sensitivity") {
            opt.lpOptionGiven = true;
            if (!value(v)) return false;
            if (v == "on" || v == "off") {
                opt.settings.sensitivity = v == "on";
            } else {
                err << "tarvik-solve: unknown --sensitivity value \"" << v << "\"\n" << kUsage;
                return false;
            }
        } else if (a == "--fractions") {
            opt.fractionsGiven = true;
            opt.settings.fractions = true;
        } else if (a == "--crlf") {
            opt.crlf = true;
        } else if (a == "--brief") {
            opt.brief = true;
            opt.settings.report = false; // one line per model: the report would go unread
        } else if (a == "--ip") {
            opt.forceIP = true;
        } else if (a == "--lp") {
            opt.forceLP = true;
        } else if (a == "-" || a.empty() || a[0] != '-') {
            opt.models.push_back(a);
        } else {
            err << "tarvik-solve: unknown option " << a << "\n" << kUsage;
            return false;
        }
    }
    if (opt.models.empty()) {
        err << kUsage;
        return false;
    }
    if (opt.forceIP && opt.forceLP) {
        err << "tarvik-solve: --ip and --lp exclude each other\n" << kUsage;
        return false;
    }
    return true;
}

bool ReadAll(const std::string& name, std::istream& in, std::string& bytes) {
    if (name == "-") {
        // Standard input is held to the same limit as a model file.
        bytes.clear();
        char block[1 << 16];
        for (;;) {
            in.read(block, sizeof block);
            const auto got = static_cast<std::size_t>(in.gcount());
            bytes.append(block, got);
            if (bytes.size() > lp::kMaxModelFileBytes) return false;
            if (got < sizeof block) break;
        }
        return !in.bad();
    }
    return ReadSmallFile(name, lp::kMaxModelFileBytes, bytes) == ReadStatus::Ok;
}

// Writes the run's output as it grows (CR LF made LF unless asked to keep it),
// or drops it for the one-line summary.
class StreamingProgress : public lp::LPProgress {
public:
    StreamingProgress(std::ostream& out, bool crlf, bool write) : out_(out), crlf_(crlf), write_(write) {}
    void output(std::string& text) override {
        if (write_) {
            if (crlf_) {
                out_ << text;
            } else {
                std::string lf;
                lf.reserve(text.size());
                for (std::size_t i = 0; i < text.size(); ++i)
                    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
                        lf.push_back(text[i]);
                out_ << lf;
            }
        }
        text.clear();
    }

private:
    std::ostream& out_;
    bool crlf_, write_;
};

// Whether a model is read as an integer model: its name ends in ".tip" (any
// case), unless --lp or --ip says otherwise.
bool IsIntegerModel(const std::string& name, const Options& opt) {
    if (opt.forceIP || opt.forceLP) return opt.forceIP;
    if (name.size() < 4) return false;
    std::string ext = name.substr(name.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext == ".tip";
}

// What one run gives the printer, whichever module read it.
struct ModelRun {
    bool success = false;
    std::string output, message;
    long errorPosition = 0;
    bool optimal = false;
    double objective = 0;
};

ModelRun RunModel(const std::string& text, bool integer, const Options& opt, lp::LPProgress& progress) {
    ModelRun r;
#ifdef TARVIK_HAVE_IP
    if (integer) {
        ip::MIPProgress quiet;
        ip::MIPRunResult run = ip::RunMIP(text, quiet);
        r.success = run.success;
        r.output = std::move(run.output);
        r.message = std::move(run.message);
        r.errorPosition = run.errorPosition;
        r.optimal = run.success && run.solve.status == ip::kOptimal && run.solve.haveIncumbent;
        r.objective = run.objective;
        return r;
    }
#else
    (void)integer;
#endif
    lp::LPRunResult run = lp::RunLP(text, opt.settings, progress);
    r.success = run.success;
    r.output = std::move(run.output);
    r.message = std::move(run.message);
    r.errorPosition = run.errorPosition;
    r.optimal = run.success && run.status == 0;
    r.objective = run.objective;
    return r;
}

int SolveOne(const std::string& name, const Options& opt, std::istream& in, std::ostream& out,
             std::ostream& err) {
    std::string bytes;
    if (!ReadAll(name, in, bytes)) {
        err << "Cannot read file " << name << "\n";
        return 1;
    }
    const bool integer = IsIntegerModel(name, opt);
#ifndef TARVIK_HAVE_IP
    if (integer) {
        err << "tarvik-solve: integer models are not available in this build\n";
        return 1;
    }
#endif
    std::string text = EditorText(bytes);
    // Tableau prints go out as they are made, so that no output is held whole.
    StreamingProgress progress(out, opt.crlf, !opt.brief);
    ModelRun run = RunModel(text, integer, opt, progress);
    if (!run.success) {
        auto [line, column] = LineColumn(text, run.errorPosition);
        err << (name == "-" ? std::string("<stdin>") : name) << ":" << line << ":" << column << ": "
            << run.message << "\n";
        return 2;
    }
    if (opt.brief) {
        // One line per model: name, the result line and the objective value in full.
        out << (name == "-" ? std::string("<stdin>") : name) << "\t" << run.message;
        if (run.optimal) {
            char value[64];
            std::snprintf(value, sizeof value, "%.15g", run.objective);
            out << "\t" << value;
        }
        out << "\n";
    } else {
        progress.output(run.output);
    }
    out.flush();
    return 0;
}

} // namespace

std::string EditorText(const std::string& bytes) {
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 16 + 2);
    std::size_t i = 0;
    while (i < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", i);
        if (end == std::string::npos) {
            text.append(bytes, i, std::string::npos);
            text += "\r\n";
            break;
        }
        text.append(bytes, i, end - i);
        text += "\r\n";
        i = end + ((bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ? 2 : 1);
    }
    return text;
}

std::pair<long, long> LineColumn(const std::string& text, long offset) {
    long line = 1;
    std::size_t lineStart = 0;
    std::size_t index = static_cast<std::size_t>(std::max(1L, offset) - 1);
    index = std::min(index, text.size());
    for (std::size_t i = 0; i < index; ++i) {
        if (text[i] == '\r') {
            ++line;
            lineStart = (i + 1 < text.size() && text[i + 1] == '\n') ? i + 2 : i + 1;
        }
    }
    long column = static_cast<long>(index) - static_cast<long>(lineStart) + 1;
    return {line, std::max(1L, column)};
}

int RunSolve(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
    // The option word that hands the whole command line to a module's own entry.
    using Entry = int (*)(const std::vector<std::string>&, std::ostream&, std::ostream&);
    struct Route {
        const char* option;
        Entry entry;
    };
    static const Route routes[] = {
        {.option = "--analysis",
#ifdef TARVIK_HAVE_MARKOV
         .entry = tarvik::markov::RunCli},
#else
         .entry = nullptr},
#endif
        {.option = "--tsp",
#ifdef TARVIK_HAVE_TSP
         .entry = tarvik::tsp::RunCli},
#else
         .entry = nullptr},
#endif
        {.option = "--grid",
#ifdef TARVIK_HAVE_SHORTESTPATH
         .entry = tarvik::shortestpath::RunCli},
#else
         .entry = nullptr},
#endif
        {.option = "--simulate",
#ifdef TARVIK_HAVE_SIMULATION
         .entry = tarvik::simulation::RunCli},
#else
         .entry = nullptr},
#endif
        {.option = "--normal",
#ifdef TARVIK_HAVE_NORMAL
         .entry = tarvik::normal::RunCli},
#else
         .entry = nullptr},
#endif
        {.option = "--montecarlo",
#ifdef TARVIK_HAVE_MONTECARLO
         .entry = tarvik::montecarlo::RunCli},
#else
         .entry = nullptr},
#endif
        {.option = "--roulette",
#ifdef TARVIK_HAVE_ROULETTE
         .entry = tarvik::roulette::RunCli},
#else
         .entry = nullptr},
#endif
        {.option = "--queue",
#ifdef TARVIK_HAVE_QUEUE
         .entry = tarvik::queue::RunCli},
#else
         .entry = nullptr},
#endif
        {.option = "--dice",
#ifdef TARVIK_HAVE_DICE
         .entry = tarvik::dice::RunCli},
#else
         .entry = nullptr},
#endif
    };
    for (const Route& route : routes) {
        const std::string word = route.option;
        bool present = std::any_of(args.begin(), args.end(), [&](const std::string& a) {
            return a == word || a.rfind(word + "=", 0) == 0;
        });
        if (!present) continue;
        if (!route.entry) {
            err << "tarvik-solve: " << word << " is not available in this build\n";
            return 1;
        }
        return route.entry(args, out, err);
    }
    Options opt;
    if (!ParseOptions(args, opt, err)) return 1;
    if (opt.lpOptionGiven && std::any_of(opt.models.begin(), opt.models.end(),
                                         [&](const std::string& m) { return IsIntegerModel(m, opt); }))
        err << "tarvik-solve: --tableaus and --sensitivity do not apply to integer models\n";
    if (opt.fractionsGiven && std::any_of(opt.models.begin(), opt.models.end(),
                                          [&](const std::string& m) { return IsIntegerModel(m, opt); }))
        err << "tarvik-solve: --fractions does not apply to integer models\n";
    int code = 0;
    for (const std::string& name : opt.models) {
        if (opt.models.size() > 1 && !opt.brief) out << "==> " << name << " <==\n";
        code = std::max(code, SolveOne(name, opt, in, out, err));
    }
    return code;
}

} // namespace tarvik::cli
