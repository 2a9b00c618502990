#include "cli/solvehelp.h"

#include "common/cliargs.h"
#include "common/version.h"

#include <algorithm>
#include <ostream>

namespace tarvik::cli {

// One entry per module, in the order of the README; within an entry one line
// per option.
const std::vector<SolveEntry>& SolveEntries() {
    // clang-format off
    static const std::vector<SolveEntry> entries = {
        {.word = "",
         .usage = "MODEL.tlp|MODEL.tip... [OPTION]...",
         .files = "tlp tip",
         .help = {.title = "Linear and integer programming",
                  .note = "Solves LP models (MODEL.tlp) and integer models (a name ending in .tip) and prints "
                          "the output page of the LP or IP window; \"-\" reads a model from standard input.",
                  .options = {
                    {"--tableaus", "none|first-last|all", "the simplex tableaus to print (default none)"},
                    {"--sensitivity", "on|off", "the ranging sections of the LP report (default on)"},
                    {"--fractions", "", "the tableaus in exact fractions (at most 30 rows and 30 variables)"},
                    {"--crlf", "", "keep the CR LF line ends of the output text"},
                    {"--brief", "", "one line per model: the name, the result line and the objective value"},
                    {"--ip", "", "read every model as an integer model"},
                    {"--lp", "", "read every model as a linear model"},
                    {"--graphical", "", "two variables: the vertices, the optimum and the simplex path"},
                    {"--faster-search", "", "integer models: the faster search of the IP settings"},
                    {"--tree", "", "integer models: the node table of the search after the report"},
                    {"--time-limit", "SEC", "stop each model's run after SEC seconds (exit status 3)"},
                    {"--max-output", "MB", "stop printing tableaus after MB megabytes (default 100)"},
                  }}},
        {.word = "--analysis",
         .usage = "CHAIN.txt --analysis ANALYSIS [OPTION]...",
         .files = "txt",
         .help = {.title = "Markov chains",
                  .note = "Analyses the chain in CHAIN.txt (a file the Markov chains module saves) and prints "
                          "the report of the result tab.",
                  .options = {
                    {"--analysis", "structure|steady-state|transient|first-passage", "the analysis to run"},
                    {"--initial", "I", "the initial state, or the starting state of a first passage (default 1)"},
                    {"--times", "T1,T2,...", "1 to 25 time points from 1 to 5000"},
                    {"--transient", "probabilities|sojourn|costs", "what a transient run reports"},
                    {"--end-states", "J1,J2,...", "the states whose probabilities or sojourn times are listed"},
                    {"--set", "single|lower|upper", "the return set {a}, {1..a} or {a..N} (default single)"},
                    {"--state", "A", "the state a of the return set"},
                    {"--time-limit", "SEC", "stop a transient or first-passage run after SEC seconds"},
                  }}},
        {.word = "--grid",
         .usage = "--grid [NETWORK.txt] [OPTION]...",
         .files = "txt",
         .help = {.title = "Shortest path",
                  .note = "The optimal path through the grid network in NETWORK.txt, or through one built as "
                          "the settings dialog builds it.",
                  .options = {
                    {"--rows", "R", "rows of a network built without a file (1 to 10, default 10)"},
                    {"--columns", "C", "columns of a network built without a file (1 to 10, default 10)"},
                    {"--fixed", "L", "every arc has length L (1 to 100); else random lengths"},
                    {"--seed", "S", "seed of the random lengths (0 to 4294967295)"},
                    {"--heuristic", "myopic|nearly-myopic", "also the path of a heuristic"},
                    {"--print-network", "", "write the network as a network file instead of the paths"},
                  }}},
        {.word = "--normal",
         .usage = "--normal clt|sqrt-law|ci [OPTION]...",
         .files = "",
         .help =
             {.title = "Normal distribution demonstrations",
                  .options = {
                    {"--normal", "clt|sqrt-law|ci", "the demonstration"},
                    {"--die", "fair|P1,...,P6", "clt: the die's six probabilities (default fair)"},
                    {"--n", "N1[,N2[,N3,N4]]", "clt: summation lengths (default 4); ci: n (50 to 2500)"},
                    {"--count", "N", "sqrt-law: the number of means per group (10 to 1000, default 100)"},
                    {"--points", "", "sqrt-law: also list each group's means"},
                    {"--p", "P", "ci: the chance of success (0.1 to 0.9, default 0.4)"},
                    {"--level", "95|90", "ci: the level of the intervals (default 95)"},
                    {"--seed", "S", "sqrt-law, ci: seed of the system generator (0 to 4294967295)"},
                  }}},
        {.word = "--roulette",
         .usage = "--roulette [OPTION]...",
         .files = "",
         .help = {.title = "Roulette",
                  .note = "The all-or-nothing game: an optimal decision and the chance of winning.",
                  .options = {
                    {"--capital", "C", "the initial capital (1 to 99, default 3)"},
                    {"--goal", "G", "the desired capital (1 to 100, default 5)"},
                    {"--bets", "N", "the number of bets (1 to 50, default 2)"},
                    {"--decision", "STAKE,ENTRY", "the chance of winning after another first bet"},
                    {"--table", "", "the whole strategy table"},
                    {"--spins", "N", "the numbers the wheel draws in the first N spins of a table game"},
                    {"--seed", "S", "with --spins: the seed the game starts from (0 to 4294967295)"},
                  }}},
        {.word = "--tsp",
         .usage = "--tsp CITIES.txt|--random N --tour TOUR [OPTION]...",
         .files = "txt",
         .help = {.title = "Travelling salesman",
                  .note = "Tours through the cities of CITIES.txt (one \"x y\" per line) or through random "
                          "cities, printed as the tour data report.",
                  .options = {
                    {"--tour", "nearest|angle|random|exact", "the heuristic, or the exact search"},
                    {"--random", "N", "N cities (2 to 50) placed at random instead of a city file"},
                    {"--seed", "S", "seed of the random cities and the random tour (0 to 4294967295)"},
                    {"--start", "S", "the first city of the closest-neighbour tour (default 1)"},
                    {"--two-opt", "", "improve a heuristic tour with 2-OPT"},
                    {"--upper", "U", "look only for tours shorter than U"},
                    {"--bound", "reduced|one-tree", "the exact search's bound (default reduced)"},
                    {"--time-limit", "SEC", "stop the exact search after SEC seconds"},
                    {"--progress", "", "the lines of the progress window on standard error"},
                  }}},
        {.word = "--queue",
         .usage = "--queue PAGE [OPTION]...",
         .files = "",
         .help =
             {
                 .title = "Analytic queues",
                 .note = "Runs one page of the Queue window (tarvik --with-queue) and prints the lines its "
                         "Run appends to the log. Each page has only some of the fields and choices.",
                  .options = {
                    {"--queue", "PAGE", "mmc, mg1, dg1, mdc, dmc, gmc, fincap, mmcn, finsrc or mm1", "mmc mg1 dg1 mdc dmc gmc fincap mmcn finsrc mm1"},
                    {"--c", "TEXT", "the number of servers"},
                    {"--rho", "TEXT", "the load"},
                    {"--cs2", "TEXT", "the squared coefficient of variation of the service time (k)"},
                    {"--ca2", "TEXT", "the squared coefficient of variation of the interarrival time"},
                    {"--n", "TEXT", "the number of waiting places"},
                    {"--m", "TEXT", "the number of machines"},
                    {"--nu", "TEXT", "the failure rate of a machine"},
                    {"--i", "TEXT", "the initial number in the system"},
                    {"--j", "TEXT", "the number in the system at time t"},
                    {"--t", "TEXT", "the time"},
                    {"--lambda", "TEXT", "the arrival rate"},
                    {"--es", "TEXT", "the mean service time"},
                    {"--from", "TEXT", "the first value of the varied parameter"},
                    {"--to", "TEXT", "the last value of the varied parameter"},
                    {"--output", "CHOICE", "the output (default the page's first)", "standard wait percentiles states time-states customer-states graphs table p-graph P-graph mean-graph std-graph"},
                    {"--service", "CHOICE", "the service time distribution", "erlang pure-erlang cox-gamma cox-balanced exp det"},
                    {"--arrivals", "det|erlang|cox-gamma|cox-balanced", "the interarrival distribution"},
                    {"--type", "mmcn|mdcn|dmcn", "the finite-capacity model"},
                    {"--vary", "c|N", "the parameter the M/M/c/c+N graph varies", "c N"},
                    {"--y", "prej|wait", "what the M/M/c/c+N graph shows"},
                    {"--graph", "wait|time-states|customer-states", "the graph"},
                    {"--tvalues", "T1,...", "up to twelve t-values"},
                    {"--pvalues", "P1,...", "up to twelve p-values"},
                    {"--nvalues", "N1,...", "up to twelve n-values"},
                    {"--points", "", "also every graph series as x and y lines"},
                  }}},
        {.word = "--montecarlo",
         .usage = "--montecarlo EXPERIMENT [OPTION]...",
         .files = "",
         .help =
             {
                 .title = "Monte Carlo experiments",
                 .note = "Each experiment takes only its own options; left out, an option takes the "
                         "window's default.",
                  .options = {
                    {"--montecarlo", "EXPERIMENT", "pi, birthday, buffon, st-petersburg, kelly, roulette-run, roulette-dist, benford, newsboy, legio, scratch or lotto", "pi birthday buffon st-petersburg kelly roulette-run roulette-dist benford newsboy legio scratch lotto"},
                    {"--seed", "S", "seed of the system generator (0 to 4294967295)"},
                    {"--draws", "N", "pi, benford, lotto: the number of draws"},
                    {"--persons", "M", "birthday: the number of persons (2 to 75)"},
                    {"--days", "D", "birthday: birthdays at most D days apart (0 to 7)"},
                    {"--runs", "R", "birthday, st-petersburg, roulette-dist, newsboy, legio: the runs"},
                    {"--throws", "N", "buffon: the number of throws (100 to 100000)"},
                    {"--m", "M", "st-petersburg: the casino's capital is 2^M (1 to 25)"},
                    {"--races", "R", "kelly: the number of races (10 to 5000)"},
                    {"--probabilities", "P1,...", "kelly: the chances of the horses"},
                    {"--payoffs", "U1,...", "kelly: the payoffs of the horses"},
                    {"--fractions", "F1,...", "kelly: the fractions bet on the horses"},
                    {"--capital", "S", "roulette-run, roulette-dist: the starting capital"},
                    {"--desired", "T", "roulette-run: the desired capital (11 to 500)"},
                    {"--bets", "B", "roulette-dist: the number of bets (10 to 100)"},
                    {"--bounds", "B1,...", "benford: the upper bounds (100 to 10^15)"},
                    {"--q1", "Q", "newsboy: the first order quantity"},
                    {"--q2", "Q", "newsboy: the second order quantity"},
                    {"--price", "P", "newsboy: the selling price of a paper"},
                    {"--salvage", "S", "newsboy: the salvage value of a paper left over"},
                    {"--penalty", "G", "newsboy: the penalty per paper short"},
                    {"--bins", "K", "newsboy: the number of classes"},
                    {"--uniform", "A,B", "newsboy: uniform demand"},
                    {"--triangular", "A,B,M", "newsboy: triangular demand"},
                    {"--own", "P0,...,P10", "newsboy: demand with its own probabilities"},
                    {"--rate", "R", "legio: the yearly rate of return in percent"},
                    {"--term", "10|15|20", "legio: the term in years"},
                    {"--withdrawal", "W", "legio: the yearly withdrawal (default the largest, the annuity)"},
                    {"--same", "P", "legio: the chance that the rate of return stays the same in a year"},
                    {"--fluctuation", "F", "legio: the part by which the rate of return rises or falls"},
                    {"--tickets", "N", "scratch: the number of tickets (5 to 1000000)"},
                    {"--weeks", "W", "scratch: the number of weeks (100 to 1000000)"},
                    {"--balls", "S", "lotto: the number of balls (42 to 55)"},
                    {"--drawn", "R", "lotto: the balls drawn (5 to 7)"},
                  }}},
        {.word = "--simulate",
         .usage = "--simulate EXPERIMENT [OPTION]...",
         .files = "",
         .help = {.title = "Queue simulation",
                  .note = "Each experiment takes only its own options; left out, an option takes the "
                          "settings dialog's default.",
                  .options = {
                    {"--simulate", "EXPERIMENT", "single, compare-md1, compare-dm1, varying-load, pooling, tandem or priority", "single compare-md1 compare-dm1 varying-load pooling tandem priority"},
                    {"--lambda", "X", "the arrival rate"},
                    {"--mu", "X", "the service rate"},
                    {"--lambda1", "X", "the arrival rate of the first system or class"},
                    {"--lambda2", "X", "the arrival rate of the second system or class"},
                    {"--mu1", "X", "the service rate of the first server or class"},
                    {"--mu2", "X", "the service rate of the second server or class"},
                    {"--rho1", "X", "varying-load: the first load"},
                    {"--rho2", "X", "varying-load: the second load"},
                    {"--arrivals", "poisson|deterministic", "the arrival process"},
                    {"--service", "exponential|deterministic", "the service times"},
                    {"--service1", "exponential|deterministic", "the service times of the first server"},
                    {"--service2", "exponential|deterministic", "the service times of the second server"},
                    {"--initial", "N", "the customers present at the start"},
                    {"--length", "L", "the length of the run"},
                    {"--seed", "S", "seed of the system generator (0 to 4294967295)"},
                  }}},
        {.word = "--dice",
         .usage = "--dice KIND [OPTION]...",
         .files = "",
         .help = {.title = "Coin tossing and dice",
                  .options = {
                    {"--dice", "fair-coin|biased-coin|fair-die|biased-die", "what is thrown"},
                    {"--throws", "N", "the number of throws (10 to 100000, default 1000)"},
                    {"--probabilities", "P1,P2|P1,...,P6", "the chances of a biased coin or die"},
                    {"--seed", "S", "seed of the system generator (0 to 4294967295)"},
                  }}},
    };
    // clang-format on
    return entries;
}

std::string SolveHelp(const SolveEntry* only) {
    const auto& entries = SolveEntries();
    std::string s;
    bool first = true;
    for (const SolveEntry& e : entries) {
        if (only && only != &e) continue;
        s += std::string(first ? "Usage: " : "  or:  ") + "tarvik-solve " + e.usage + "\n";
        first = false;
    }
    if (!only) {
        s += "  or:  tarvik-solve --help|--version\n";
        s += WrapText("Prints the reports of Tarvik's modules without a window: the text the module's window "
                      "shows, with LF line ends. Every entry takes --help (its own options) and --version; "
                      "options are written \"--name VALUE\" or \"--name=VALUE\".",
                      0);
        s +=
            "\n" + FormatSection(
                       {.title = "Options",
                        .options = {
                            {"--help", "", "print this help (with an entry's option: that entry's) and exit"},
                            {"--version", "", "print the version and the licence, and exit"},
                        }});
    }
    for (const SolveEntry& e : entries) {
        if (only && only != &e) continue;
        s += "\n" + FormatSection(e.help);
    }
    return s;
}

bool AnswerHelpOrVersion(const std::vector<std::string>& args, std::ostream& out) {
    for (const std::string& a : args) {
        if (a == "--version") {
            out << VersionNotice("tarvik-solve");
            return true;
        }
        if (a != "--help") continue;
        // The entry the line names, as the dispatch finds it.
        for (const SolveEntry& e : SolveEntries()) {
            const std::string word = e.word;
            if (!word.empty() && std::any_of(args.begin(), args.end(), [&](const std::string& w) {
                    return SplitOptionWord(w).name == word;
                })) {
                out << SolveHelp(&e);
                return true;
            }
        }
        out << SolveHelp();
        return true;
    }
    return false;
}

std::string BashCompletion(const std::string& script) {
    // Bash tables: the entry words; per entry its options and its files; per
    // "entry|option" that takes a value, the values to offer (none for a number).
    // The entry of model files is "model" (bash has no empty keys).
    std::string words, options, values, files;
    for (const SolveEntry& e : SolveEntries()) {
        const std::string key = *e.word ? e.word : "model";
        if (*e.word) words += (words.empty() ? "" : " ") + key;
        std::string list;
        for (const OptionHelp& o : e.help.options) {
            list += (list.empty() ? "" : " ") + std::string(o.option);
            if (!*o.value) continue;
            std::string choices;
            for (const std::string& c : OptionChoices(o)) choices += (choices.empty() ? "" : " ") + c;
            values += "    [\"" + key + "|" + o.option + "\"]=\"" + choices + "\"\n";
        }
        options += "    [\"" + key + "\"]=\"" + list + "\"\n";
        files += "    [\"" + key + "\"]=\"" + e.files + "\"\n";
    }
    const std::string tables = "_tarvik_solve_entries=\"" + words +
                               "\"\n"
                               "declare -A _tarvik_solve_options=(\n" +
                               options +
                               ")\n"
                               "declare -A _tarvik_solve_values=(\n" +
                               values +
                               ")\n"
                               "declare -A _tarvik_solve_files=(\n" +
                               files + ")";
    const std::string mark = "@TARVIK_SOLVE_TABLES@";
    std::string out = script;
    const std::size_t at = out.find(mark);
    if (at != std::string::npos) out.replace(at, mark.size(), tables);
    return out;
}

} // namespace tarvik::cli
