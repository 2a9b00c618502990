#include "cli/solvecli.h"

#include "cli/solvehelp.h"

#include "common/cliargs.h"
#include "common/numparse.h"
#include "common/safefile.h"
#include "modules/lp/graphical.h"
#include "modules/lp/lprun.h"
#include "modules/lp/lpsimplex.h"
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
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <unistd.h>

namespace tarvik::cli {

namespace {

constexpr const char* kUsage =
    "usage: tarvik-solve MODEL.tlp|MODEL.tip... [--tableaus none|first-last|all] [--sensitivity on|off]\n"
    "                    [--fractions] [--crlf] [--brief] [--ip|--lp] [--faster-search] [--tree]\n"
    "                    [--graphical] [--time-limit SEC] [--max-output MB]\n"
    "       (MODEL \"-\" reads standard input; a name ending in .tip is an integer model,\n"
    "        --ip or --lp reads every model as an integer or a linear one)\n";

struct Options {
    lp::LPSettings settings;
    bool crlf = false;
    bool brief = false;
    bool forceIP = false;
    bool forceLP = false;
    bool graphical = false;
    bool lpOptionGiven = false;      // --tableaus or --sensitivity, which integer models ignore
    bool fractionsGiven = false;     // --fractions, which integer models ignore too
    bool fasterSearch = false;       // integer models: the faster search
    bool tree = false;               // integer models: the node table after the report
    std::optional<double> timeLimit; // seconds per model
    std::size_t maxOutputBytes = kDefaultMaxOutputMB << 20;
    std::vector<std::string> models;
};

// Exit codes beyond those of RunSolve's contract.
constexpr int kStoppedAtTimeLimit = 3;

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
        const OptionWord word = SplitOptionWord(a);
        if (word.name == "--time-limit" || word.name == "--max-output") {
            const std::optional<std::string> given = TakeValue(word, args, i);
            if (!given) {
                err << "tarvik-solve: " << word.name << " needs a value\n" << kUsage;
                return false;
            }
            if (word.name == "--time-limit") {
                opt.timeLimit = ParseTimeLimit(*given);
                if (!opt.timeLimit) {
                    err << kTimeLimitProblem << "\n" << kUsage;
                    return false;
                }
            } else {
                const auto mb = TryStrToInt(*given);
                if (!mb || *mb < 1 || *mb > kMaxOutputMB) {
                    err << "The output limit must be a whole number of megabytes from 1 to " << kMaxOutputMB
                        << "\n"
                        << kUsage;
                    return false;
                }
                opt.maxOutputBytes = static_cast<std::size_t>(*mb) << 20;
            }
        } else if (a == "--tableaus") {
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
        } else if (a == "--faster-search") {
            opt.fasterSearch = true;
        } else if (a == "--tree") {
            opt.tree = true;
        } else if (a == "--ip") {
            opt.forceIP = true;
        } else if (a == "--lp") {
            opt.forceLP = true;
        } else if (a == "--graphical") {
            opt.graphical = true;
            opt.settings.graphical = true;
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
    if (opt.graphical && opt.brief) {
        err << "tarvik-solve: --graphical and --brief exclude each other\n" << kUsage;
        return false;
    }
    return true;
}

ReadStatus ReadAll(const std::string& name, std::istream& in, std::string& bytes) {
    if (name == "-") {
        // Standard input is held to the same limit as a model file.
        bytes.clear();
        char block[1 << 16];
        for (;;) {
            in.read(block, sizeof block);
            const auto got = static_cast<std::size_t>(in.gcount());
            bytes.append(block, got);
            if (bytes.size() > lp::kMaxModelFileBytes) return ReadStatus::TooLarge;
            if (got < sizeof block) break;
        }
        return in.bad() ? ReadStatus::CannotRead : ReadStatus::Ok;
    }
    return ReadSmallFile(name, lp::kMaxModelFileBytes, bytes);
}

// Writes the run's output as it grows (CR LF made LF unless asked to keep it),
// or drops it for the one-line summary. Tableaus stop at the output limit;
// the run stops at the time limit or when the output cannot be written.
class StreamingProgress : public lp::LPProgress {
public:
    StreamingProgress(std::ostream& out, const Options& opt, const Deadline& deadline)
        : out_(out), crlf_(opt.crlf), write_(!opt.brief), limit_(opt.maxOutputBytes), deadline_(deadline) {}
    // What the run offers while it prints tableaus.
    void output(std::string& text) override {
        if (write_ && !capped_) {
            write(text);
            if (written_ > limit_) {
                out_ << (lastChar_ == '\n' ? "" : "\n") << "Output limit reached; tableaus stop here.\n";
                capped_ = true;
            }
        }
        text.clear();
    }
    // The rest of the output once the run has ended, which is never held back.
    void finish(std::string& text) {
        if (write_) write(text);
        text.clear();
    }
    bool stopRequested() const override { return !out_ || deadline_.passed(); }
    bool writeFailed() const { return !out_; }

private:
    void write(const std::string& text) {
        if (text.empty()) return;
        if (crlf_) {
            out_ << text;
            written_ += text.size();
        } else {
            std::string lf;
            lf.reserve(text.size());
            for (std::size_t i = 0; i < text.size(); ++i)
                if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) lf.push_back(text[i]);
            out_ << lf;
            written_ += lf.size();
        }
        lastChar_ = text.back();
    }

    std::ostream& out_;
    bool crlf_, write_;
    std::size_t limit_;
    const Deadline& deadline_;
    std::size_t written_ = 0;
    bool capped_ = false;
    char lastChar_ = '\n';
};

#ifdef TARVIK_HAVE_IP
// Branch and bound from the command line: it stops as the window's Stop
// stops it once the time limit has passed.
class TimedMIPProgress : public ip::MIPProgress {
public:
    explicit TimedMIPProgress(const Deadline& deadline) : deadline_(deadline) {}
    bool stopRequested() const override { return deadline_.passed(); }

private:
    const Deadline& deadline_;
};
#endif

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
    bool stopped = false; // ended by the time limit
    double objective = 0;
    std::shared_ptr<const lp::GraphicalSolution> graphical;
};

ModelRun RunModel(const std::string& text, bool integer, const Options& opt, lp::LPProgress& progress,
                  const Deadline& deadline) {
    ModelRun r;
#ifdef TARVIK_HAVE_IP
    if (integer) {
        TimedMIPProgress timed(deadline);
        ip::NodeLog log;
        ip::MIPRunResult run =
            ip::RunMIP(text, timed,
                       {.search = opt.fasterSearch ? ip::kFasterSearch : ip::kDefaultSearch,
                        .log = opt.tree ? &log : nullptr,
                        .graphical = opt.graphical});
        if (opt.tree && run.success) run.output += ip::NodeTableText(log, "\r\n");
        r.success = run.success;
        r.output = std::move(run.output);
        r.message = std::move(run.message);
        r.errorPosition = run.errorPosition;
        r.optimal = run.success && run.solve.status == ip::kOptimal && run.solve.haveIncumbent;
        r.stopped = run.success && run.solve.stopped;
        r.objective = run.objective;
        r.graphical = std::move(run.graphical);
        return r;
    }
#else
    (void)integer;
    (void)deadline;
#endif
    lp::LPRunResult run = lp::RunLP(text, opt.settings, progress);
    r.success = run.success;
    r.output = std::move(run.output);
    r.message = std::move(run.message);
    r.errorPosition = run.errorPosition;
    r.optimal = run.success && run.status == 0;
    r.stopped = run.success && run.status == static_cast<int>(lp::LPStatus::Stopped);
    r.objective = run.objective;
    r.graphical = std::move(run.graphical);
    return r;
}

int SolveOne(const std::string& name, const Options& opt, std::istream& in, std::ostream& out,
             std::ostream& err) {
    std::string bytes;
    const std::string shownName = name == "-" ? std::string("<stdin>") : name;
    switch (ReadAll(name, in, bytes)) {
    case ReadStatus::Ok:
        break;
    case ReadStatus::TooLarge:
        // Larger than any model within the readers' limits.
        err << "File " << shownName << " is too large\n";
        return 2;
    case ReadStatus::CannotRead:
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
    std::string text = EditorText(std::string(lp::WithoutByteOrderMark(bytes)));
    if (opt.graphical) {
        // Refused before any output; a syntax error is left to the run, which reports it.
        lp::ReadSink quiet;
        lp::ReadOutcome read = lp::ReadModelText(text, integer ? lp::Dialect::IP : lp::Dialect::LP, quiet);
        if (read.success && read.model.names.size() != 2) {
            err << lp::kNeedsTwoVariables << "\n";
            return 2;
        }
    }
    // Tableau prints go out as they are made, so that no output is held whole.
    const Deadline deadline(opt.timeLimit);
    StreamingProgress progress(out, opt, deadline);
    ModelRun run = RunModel(text, integer, opt, progress, deadline);
    if (progress.writeFailed()) return 1; // said once, when the program ends
    if (!run.success) {
        auto [line, column] = LineColumn(text, run.errorPosition);
        err << shownName << ":" << line << ":" << column << ": " << run.message << "\n";
        return 2;
    }
    if (opt.brief) {
        // One line per model: name, the result line and the objective value in full.
        out << shownName << "\t" << run.message;
        if (run.optimal) {
            char value[64];
            // A minimum of 0 is 0, not "-0".
            std::snprintf(value, sizeof value, "%.15g", run.objective == 0 ? 0.0 : run.objective);
            out << "\t" << value;
        }
        out << "\n";
    } else {
        if (run.graphical) {
            // After the report, with an empty line between.
            const std::size_t ends = run.output.size() >= 4 && run.output.ends_with("\r\n\r\n") ? 2
                                     : run.output.ends_with("\r\n")                             ? 1
                                                                                                : 0;
            for (std::size_t i = ends; i < 2; ++i) run.output += "\r\n";
            run.output += lp::GraphicalText(*run.graphical);
        }
        progress.finish(run.output);
    }
    out.flush();
    if (!out) return 1;
    if (run.stopped) {
        // As Stop leaves it: the window's result line, and the report's note above.
        err << shownName << ": " << run.message << " (time limit reached)\n";
        return kStoppedAtTimeLimit;
    }
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
    // --help and --version answer whatever else the line holds (solvehelp.cpp).
    if (AnswerHelpOrVersion(args, out)) {
        if (out.flush()) return 0;
        err << "tarvik-solve: cannot write to standard output\n";
        return 1;
    }
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
    if ((opt.fasterSearch || opt.tree) &&
        std::none_of(opt.models.begin(), opt.models.end(),
                     [&](const std::string& m) { return IsIntegerModel(m, opt); }))
        err << "tarvik-solve: --faster-search and --tree apply to integer models only\n";
    if (opt.fractionsGiven && std::any_of(opt.models.begin(), opt.models.end(),
                                          [&](const std::string& m) { return IsIntegerModel(m, opt); }))
        err << "tarvik-solve: --fractions does not apply to integer models\n";
    int code = 0;
    for (const std::string& name : opt.models) {
        if (opt.models.size() > 1 && !opt.brief) out << "==> " << name << " <==\n";
        code = std::max(code, SolveOne(name, opt, in, out, err));
        if (!out) return 1; // nothing more can be written
    }
    return code;
}

CheckedOutput::CheckedOutput(int fd) : fd_(fd), buffer_(1 << 16) {
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

CheckedOutput::~CheckedOutput() {
    if (fd_ >= 0) flushBuffer();
}

bool CheckedOutput::flushBuffer() {
    const char* data = pbase();
    std::size_t size = static_cast<std::size_t>(pptr() - pbase());
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    // After a failure nothing more is written: the output is lost already.
    while (size > 0 && error_ == 0) {
        const ssize_t n = ::write(fd_, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error_ = n < 0 ? errno : EIO;
            break;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return error_ == 0;
}

CheckedOutput::int_type CheckedOutput::overflow(int_type c) {
    if (!flushBuffer()) return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
}

int CheckedOutput::sync() {
    return flushBuffer() ? 0 : -1;
}

bool CheckedOutput::close() {
    if (fd_ < 0) return error_ == 0;
    flushBuffer();
    // A file system may report a failed write only when the file is closed.
    if (::close(fd_) != 0 && error_ == 0) error_ = errno;
    fd_ = -1;
    return error_ == 0;
}

int FinishOutput(int code, CheckedOutput& out, std::ostream& err) {
    if (out.close()) return code;
    err << "Cannot write output: " << std::strerror(out.error()) << "\n";
    return 1;
}

} // namespace tarvik::cli
