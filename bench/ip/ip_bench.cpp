// Speed of branch and bound on the model families teachers use, beside glpsol.
// Every model is written as a .tip file and as a CPLEX LP file; both solvers
// must give the same optimum before their times count. glpsol is optional:
// without it only our figures are printed. "ours" is the default (textbook)
// search; the faster search of the IP settings is timed beside it.
#include "cli/solvecli.h"
#include "modules/ip/miprun.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace ip = tarvik::ip;

namespace {

// A model in a form both files are written from: max or min c x subject to
// rows, every variable >= 0, with integer and binary marks and upper bounds.
struct Model {
    std::string name;
    bool minimize = false;
    std::vector<double> cost;
    std::vector<char> kind; // 'b' binary, 'i' integer, 'c' continuous
    struct Row {
        std::vector<std::pair<int, double>> terms;
        const char* sense; // "<=", ">=", "="
        double rhs;
    };
    std::vector<Row> rows;
};

std::string Var(int j) {
    return "x" + std::to_string(j + 1);
}

std::string Number(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.10g", v);
    return buf;
}

std::string Sum(const std::vector<std::pair<int, double>>& terms) {
    std::ostringstream s;
    for (std::size_t k = 0; k < terms.size(); ++k) {
        const double a = terms[k].second;
        if (k > 0)
            s << (a < 0 ? " - " : " + ");
        else if (a < 0)
            s << "-";
        s << Number(std::fabs(a)) << " " << Var(terms[k].first);
        if (k % 8 == 7) s << "\n  ";
    }
    return s.str();
}

std::string TipText(const Model& m) {
    std::ostringstream s;
    std::vector<std::pair<int, double>> obj;
    for (std::size_t j = 0; j < m.cost.size(); ++j) obj.emplace_back(static_cast<int>(j), m.cost[j]);
    s << (m.minimize ? "min " : "max ") << Sum(obj) << ";\n";
    for (const auto& r : m.rows) s << Sum(r.terms) << " " << r.sense << " " << Number(r.rhs) << ";\n";
    std::string bin, in;
    for (std::size_t j = 0; j < m.kind.size(); ++j) {
        if (m.kind[j] == 'b') bin += " " + Var(static_cast<int>(j));
        if (m.kind[j] == 'i') in += " " + Var(static_cast<int>(j));
    }
    if (!bin.empty()) s << "$binary" << bin << ";\n";
    if (!in.empty()) s << "$integer" << in << ";\n";
    return s.str();
}

std::string CplexText(const Model& m) {
    std::ostringstream s;
    std::vector<std::pair<int, double>> obj;
    for (std::size_t j = 0; j < m.cost.size(); ++j) obj.emplace_back(static_cast<int>(j), m.cost[j]);
    s << (m.minimize ? "Minimize\n obj: " : "Maximize\n obj: ") << Sum(obj) << "\nSubject To\n";
    for (std::size_t i = 0; i < m.rows.size(); ++i)
        s << " c" << i + 1 << ": " << Sum(m.rows[i].terms) << " " << m.rows[i].sense << " "
          << Number(m.rows[i].rhs) << "\n";
    s << "Bounds\n";
    for (std::size_t j = 0; j < m.kind.size(); ++j)
        if (m.kind[j] == 'b') s << " 0 <= " << Var(static_cast<int>(j)) << " <= 1\n";
    std::string gen, bin;
    for (std::size_t j = 0; j < m.kind.size(); ++j) {
        if (m.kind[j] == 'i') gen += " " + Var(static_cast<int>(j));
        if (m.kind[j] == 'b') bin += " " + Var(static_cast<int>(j));
    }
    if (!gen.empty()) s << "General\n" << gen << "\n";
    if (!bin.empty()) s << "Binary\n" << bin << "\n";
    s << "End\n";
    return s.str();
}

// Strongly correlated 0-1 knapsack: weights in [1, 100], profit = weight + 10,
// capacity half the total weight.
Model Knapsack(int n, unsigned seed) {
    std::mt19937 g(seed);
    Model m;
    m.name = "knapsack" + std::to_string(n);
    Model::Row r{{}, "<=", 0};
    double total = 0;
    for (int j = 0; j < n; ++j) {
        const int w = 1 + static_cast<int>(g() % 100);
        m.cost.push_back(w + 10);
        m.kind.push_back('b');
        r.terms.emplace_back(j, w);
        total += w;
    }
    r.rhs = std::floor(total / 2);
    m.rows.push_back(r);
    return m;
}

// Multidimensional knapsack: m constraints, weights in [1, 100], capacity half.
Model MultiKnapsack(int rows, int n, unsigned seed) {
    std::mt19937 g(seed);
    Model m;
    m.name = "mkp" + std::to_string(rows) + "x" + std::to_string(n);
    std::vector<double> colSum(n, 0);
    for (int i = 0; i < rows; ++i) {
        Model::Row r{{}, "<=", 0};
        double total = 0;
        for (int j = 0; j < n; ++j) {
            const int w = 1 + static_cast<int>(g() % 100);
            r.terms.emplace_back(j, w);
            total += w;
            colSum[j] += w;
        }
        r.rhs = std::floor(total / 2);
        m.rows.push_back(r);
    }
    for (int j = 0; j < n; ++j) {
        m.cost.push_back(std::floor(colSum[j] / rows) + static_cast<double>(g() % 50));
        m.kind.push_back('b');
    }
    return m;
}

// Generalised assignment, minimum cost: every job to one agent within capacities.
Model Assignment(int agents, int jobs, unsigned seed) {
    std::mt19937 g(seed);
    Model m;
    m.name = "gap" + std::to_string(agents) + "x" + std::to_string(jobs);
    m.minimize = true;
    std::vector<std::vector<int>> w(agents, std::vector<int>(jobs));
    for (int a = 0; a < agents; ++a)
        for (int j = 0; j < jobs; ++j) {
            m.cost.push_back(10 + static_cast<double>(g() % 40));
            m.kind.push_back('b');
            w[a][j] = 5 + static_cast<int>(g() % 21);
        }
    for (int j = 0; j < jobs; ++j) {
        Model::Row r{{}, "=", 1};
        for (int a = 0; a < agents; ++a) r.terms.emplace_back(a * jobs + j, 1);
        m.rows.push_back(r);
    }
    for (int a = 0; a < agents; ++a) {
        Model::Row r{{}, "<=", 0};
        double total = 0;
        for (int j = 0; j < jobs; ++j) {
            r.terms.emplace_back(a * jobs + j, w[a][j]);
            total += w[a][j];
        }
        r.rhs = std::floor(0.8 * total / agents);
        m.rows.push_back(r);
    }
    return m;
}

// Set covering, minimum cost: every row covered by at least one chosen column.
Model Covering(int rows, int cols, unsigned seed) {
    std::mt19937 g(seed);
    Model m;
    m.name = "cover" + std::to_string(rows) + "x" + std::to_string(cols);
    m.minimize = true;
    for (int j = 0; j < cols; ++j) {
        m.cost.push_back(1 + static_cast<double>(g() % 20));
        m.kind.push_back('b');
    }
    for (int i = 0; i < rows; ++i) {
        Model::Row r{{}, ">=", 1};
        for (int j = 0; j < cols; ++j)
            if (g() % 100 < 8) r.terms.emplace_back(j, 1);
        if (r.terms.size() < 2)
            r.terms = {{static_cast<int>(g() % cols), 1}, {static_cast<int>(i % cols), 1}};
        if (r.terms[0].first == r.terms[1].first && r.terms.size() == 2) r.terms.pop_back();
        m.rows.push_back(r);
    }
    return m;
}

// Uncapacitated facility location: open facilities (binary), serve every
// customer (continuous shares) from open ones; fixed plus service costs.
Model Facility(int facilities, int customers, unsigned seed) {
    std::mt19937 g(seed);
    Model m;
    m.name = "facility" + std::to_string(facilities) + "x" + std::to_string(customers);
    m.minimize = true;
    for (int f = 0; f < facilities; ++f) {
        m.cost.push_back(200 + static_cast<double>(g() % 300));
        m.kind.push_back('b');
    }
    for (int f = 0; f < facilities; ++f)
        for (int c = 0; c < customers; ++c) {
            m.cost.push_back(5 + static_cast<double>(g() % 95));
            m.kind.push_back('c');
        }
    auto x = [&](int f, int c) { return facilities + f * customers + c; };
    for (int c = 0; c < customers; ++c) {
        Model::Row r{{}, "=", 1};
        for (int f = 0; f < facilities; ++f) r.terms.emplace_back(x(f, c), 1);
        m.rows.push_back(r);
    }
    for (int f = 0; f < facilities; ++f)
        for (int c = 0; c < customers; ++c) m.rows.push_back({{{x(f, c), 1}, {f, -1}}, "<=", 0});
    return m;
}

std::vector<Model> Families() {
    return {Knapsack(40, 1),      Knapsack(60, 2),     Knapsack(100, 3),  MultiKnapsack(5, 40, 4),
            Assignment(4, 12, 5), Covering(30, 60, 6), Facility(6, 12, 7)};
}

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// glpsol's optimum from its solution file ("Objective:  obj = 1234 (MAXimum)").
bool GlpsolObjective(const std::string& file, double& value) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        const auto at = line.find("obj = ");
        if (line.rfind("Objective:", 0) == 0 && at != std::string::npos) {
            value = std::atof(line.c_str() + at + 6);
            return true;
        }
    }
    return false;
}

void BM_Families(benchmark::State& state) {
    const auto dir = std::filesystem::temp_directory_path() / "tarvik-ip-bench";
    std::filesystem::create_directories(dir);
    const bool haveGlpsol = std::system("glpsol --version > /dev/null 2>&1") == 0;
    if (!haveGlpsol) std::printf("glpsol is not installed: only tarvik-solve is timed\n");
    double oursTotal = 0, theirsTotal = 0, fasterTotal = 0;
    long nodes = 0, solves = 0, pivots = 0;
    for (auto _ : state) {
        std::printf("  %-14s %12s %9s %9s %8s %9s %12s %12s %9s %8s\n", "model", "optimum", "ours s",
                    "glpsol s", "nodes", "LP solves", "pivots/s", "nodes/s", "faster s", "nodes");
        for (const Model& m : Families()) {
            const std::string tip = (dir / (m.name + ".tip")).string();
            const std::string lp = (dir / (m.name + ".lp")).string();
            std::ofstream(tip, std::ios::binary) << TipText(m);
            std::ofstream(lp, std::ios::binary) << CplexText(m);

            // tarvik-solve's own path: the file as the editor would read it, the run, the report.
            std::ifstream file(tip, std::ios::binary);
            std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
            const auto t0 = std::chrono::steady_clock::now();
            ip::MIPProgress quiet;
            const ip::MIPRunResult run = ip::RunMIP(tarvik::cli::EditorText(bytes), quiet);
            const double mine = Seconds(std::chrono::steady_clock::now() - t0);
            if (!run.success || run.solve.status != ip::kOptimal) {
                state.SkipWithError((m.name + ": " + run.message).c_str());
                return;
            }
            const auto f0 = std::chrono::steady_clock::now();
            const ip::MIPRunResult fast =
                ip::RunMIP(tarvik::cli::EditorText(bytes), quiet, {.search = ip::kFasterSearch});
            const double faster = Seconds(std::chrono::steady_clock::now() - f0);
            if (fast.solve.status != ip::kOptimal ||
                std::fabs(fast.objective - run.objective) > 1e-6 * std::max(1.0, std::fabs(run.objective))) {
                state.SkipWithError((m.name + ": the faster search differs").c_str());
                return;
            }
            fasterTotal += faster;
            oursTotal += mine;
            nodes += run.solve.nodes;
            solves += run.solve.lpSolves;
            pivots += run.solve.pivots;

            double theirs = 0, theirValue = 0;
            std::string agree = "";
            if (haveGlpsol) {
                const std::string out = (dir / (m.name + ".sol")).string();
                const std::string cmd = "glpsol --lp " + lp + " -o " + out + " > /dev/null 2>&1";
                const auto g0 = std::chrono::steady_clock::now();
                const int rc = std::system(cmd.c_str());
                theirs = Seconds(std::chrono::steady_clock::now() - g0);
                theirsTotal += theirs;
                if (rc != 0 || !GlpsolObjective(out, theirValue)) {
                    state.SkipWithError((m.name + ": glpsol failed").c_str());
                    return;
                }
                if (std::fabs(theirValue - run.objective) > 1e-6 * std::max(1.0, std::fabs(theirValue))) {
                    state.SkipWithError((m.name + ": the optima differ").c_str());
                    return;
                }
            }
            std::printf("  %-14s %12.4f %9.3f %9s %8ld %9ld %12.0f %12.0f %9.3f %8ld\n", m.name.c_str(),
                        run.objective, mine, haveGlpsol ? std::to_string(theirs).substr(0, 6).c_str() : "-",
                        run.solve.nodes, run.solve.lpSolves,
                        mine > 0 ? static_cast<double>(run.solve.pivots) / mine : 0.0,
                        mine > 0 ? static_cast<double>(run.solve.nodes) / mine : 0.0, faster,
                        fast.solve.nodes);
        }
        std::printf("  %-14s %12s %9.3f %9s %8s %9s %12s %12s %9.3f\n", "total", "", oursTotal,
                    haveGlpsol ? std::to_string(theirsTotal).substr(0, 6).c_str() : "-", "", "", "", "",
                    fasterTotal);
    }
    state.counters["tarvik-solve s"] = oursTotal;
    state.counters["faster search s"] = fasterTotal;
    if (haveGlpsol) state.counters["glpsol s"] = theirsTotal;
    state.counters["nodes"] = static_cast<double>(nodes);
    state.counters["LP solves"] = static_cast<double>(solves);
    state.counters["pivots/s"] = oursTotal > 0 ? static_cast<double>(pivots) / oursTotal : 0;
}
BENCHMARK(BM_Families)->Iterations(1)->Unit(benchmark::kSecond);

// ---------------------------------------------------------------------------
// The MIPLIB 3 models of tests/data/miplib3: the default and the faster
// search beside cbc and glpsol (each on the published MPS file), every run
// held to the same time limit (TARVIK_BENCH_LIMIT seconds, 30 by default).
// An optimum counts as right when it agrees with the catalogue's to the
// digits the catalogue gives (one unit of its last digit) or to 1e-6.
// TARVIK_BENCH_MODELS (names separated by commas) runs only those models;
// TARVIK_BENCH_FASTER_ONLY=1 leaves the default search out.

struct Miplib3Model {
    std::string name;
    int rows = 0, cols = 0, integers = 0;
    std::string catalogue; // the catalogue's optimum as printed
    double constant = 0;   // the MPS objective less the .tip objective
};

std::vector<Miplib3Model> Miplib3Models(const std::string& dir) {
    std::vector<Miplib3Model> models;
    std::ifstream in(dir + "/optima.tsv");
    std::string line;
    std::getline(in, line); // the header
    while (std::getline(in, line)) {
        std::istringstream f(line);
        Miplib3Model m;
        std::string nz, optimum;
        std::getline(f, m.name, '\t');
        f >> m.rows >> m.cols >> m.integers >> nz >> m.constant >> m.catalogue >> optimum;
        models.push_back(m);
    }
    return models;
}

bool RightOptimum(double value, const std::string& catalogue) {
    const double want = std::atof(catalogue.c_str());
    const auto dot = catalogue.find('.');
    const double unit =
        dot == std::string::npos ? 1 : std::pow(10.0, -static_cast<double>(catalogue.size() - dot - 1));
    return std::fabs(value - want) <= std::max(unit, 1e-6 * std::max(1.0, std::fabs(want)));
}

// Stops a search at its deadline.
class Deadline : public ip::MIPProgress {
public:
    explicit Deadline(double seconds)
        : end_(std::chrono::steady_clock::now() +
               std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                   std::chrono::duration<double>(seconds))) {}
    bool stopRequested() const override { return std::chrono::steady_clock::now() >= end_; }

private:
    std::chrono::steady_clock::time_point end_;
};

struct SearchRun {
    std::string verdict; // "opt", "right", "wrong", "stop", or the result line of a fault
    long nodes = 0, pivots = 0;
    double seconds = 0;
};

SearchRun RunSearch(const std::string& text, const Miplib3Model& m, const ip::SearchOptions& search,
                    double limit) {
    SearchRun r;
    Deadline progress(limit);
    const auto t0 = std::chrono::steady_clock::now();
    const ip::MIPRunResult run = ip::RunMIP(text, progress, {.search = search});
    r.seconds = Seconds(std::chrono::steady_clock::now() - t0);
    r.nodes = run.solve.lpSolves;
    r.pivots = run.solve.pivots;
    if (!run.success)
        r.verdict = "syntax";
    else if (run.solve.stopped)
        r.verdict = "time";
    else if (run.solve.status != ip::kOptimal)
        r.verdict = run.message;
    else
        r.verdict = RightOptimum(run.objective + m.constant, m.catalogue) ? "right" : "WRONG";
    return r;
}

struct OtherRun {
    std::string verdict;
    double seconds = 0;
};

// Runs a command with its output to a file; the seconds it took.
double Timed(const std::string& cmd) {
    const auto t0 = std::chrono::steady_clock::now();
    [[maybe_unused]] const int rc = std::system(cmd.c_str());
    return Seconds(std::chrono::steady_clock::now() - t0);
}

std::string FileText(const std::string& file) {
    std::ifstream in(file);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

OtherRun RunCbc(const std::string& mps, const Miplib3Model& m, double limit, const std::string& out) {
    OtherRun r;
    r.seconds = Timed("cbc " + mps + " sec " + Number(limit) + " solve quit > " + out + " 2>&1");
    const std::string text = FileText(out);
    const auto at = text.find("Objective value:");
    if (text.find("Result - Optimal solution found") == std::string::npos || at == std::string::npos)
        r.verdict = "time";
    else
        r.verdict = RightOptimum(std::atof(text.c_str() + at + 16), m.catalogue) ? "right" : "WRONG";
    return r;
}

OtherRun RunGlpsol(const std::string& mps, const Miplib3Model& m, double limit, const std::string& out) {
    OtherRun r;
    r.seconds = Timed("glpsol --freemps " + mps + " --tmlim " + Number(std::ceil(limit)) + " -o " + out +
                      " > /dev/null 2>&1");
    const std::string text = FileText(out);
    const auto at = text.find("Objective:");
    const auto eq = at == std::string::npos ? at : text.find(" = ", at);
    if (text.find("INTEGER OPTIMAL") == std::string::npos || eq == std::string::npos)
        r.verdict = "time";
    else
        r.verdict = RightOptimum(std::atof(text.c_str() + eq + 3), m.catalogue) ? "right" : "WRONG";
    return r;
}

void BM_Miplib3(benchmark::State& state) {
    const std::string dir = std::string(TARVIK_TEST_DATA) + "/miplib3";
    const char* given = std::getenv("TARVIK_BENCH_LIMIT");
    const double limit = given ? std::atof(given) : 30.0;
    const auto tmp = std::filesystem::temp_directory_path() / "tarvik-ip-bench";
    std::filesystem::create_directories(tmp);
    const bool haveCbc = std::system("command -v cbc > /dev/null 2>&1") == 0;
    const bool haveGlpsol = std::system("glpsol --version > /dev/null 2>&1") == 0;
    const char* only = std::getenv("TARVIK_BENCH_MODELS");
    const std::string chosen = only ? "," + std::string(only) + "," : "";
    const char* fasterOnly = std::getenv("TARVIK_BENCH_FASTER_ONLY");
    const bool runDefault = !fasterOnly || std::string(fasterOnly) != "1";
    int solvedDefault = 0, solvedFaster = 0, solvedCbc = 0, solvedGlpsol = 0;
    for (auto _ : state) {
        std::printf("  time limit %.0f s per run; verdicts: right (the catalogue's optimum), time (limit "
                    "reached), or "
                    "the result line\n",
                    limit);
        std::printf("  %-10s %4s %4s %4s | %-7s %8s %9s %7s | %-7s %8s %9s %7s | %-5s %7s | %-5s %7s\n",
                    "model", "rows", "cols", "ints", "default", "nodes", "pivots", "s", "faster", "nodes",
                    "pivots", "s", "cbc", "s", "glpsol", "s");
        for (const Miplib3Model& m : Miplib3Models(dir)) {
            if (!chosen.empty() && chosen.find("," + m.name + ",") == std::string::npos) continue;
            std::ifstream file(dir + "/" + m.name + ".tip", std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
            const std::string text = tarvik::cli::EditorText(bytes);
            const SearchRun def = runDefault ? RunSearch(text, m, ip::kDefaultSearch, limit) : SearchRun{"-"};
            const SearchRun fast = RunSearch(text, m, ip::kFasterSearch, limit);
            const std::string mps = dir + "/" + m.name + ".mps.gz";
            const std::string out = (tmp / (m.name + ".out")).string();
            // A model too large for the basis is not given to the others.
            const bool fits = m.rows <= ip::kMaxBasisRows;
            const OtherRun cbc = haveCbc && fits ? RunCbc(mps, m, limit, out) : OtherRun{"-", 0};
            const OtherRun glp = haveGlpsol && fits ? RunGlpsol(mps, m, limit, out) : OtherRun{"-", 0};
            solvedDefault += def.verdict == "right";
            solvedFaster += fast.verdict == "right";
            solvedCbc += cbc.verdict == "right";
            solvedGlpsol += glp.verdict == "right";
            std::printf("  %-10s %4d %4d %4d | %-7s %8ld %9ld %7.2f | %-7s %8ld %9ld %7.2f | %-5s %7.2f | "
                        "%-5s %7.2f\n",
                        m.name.c_str(), m.rows, m.cols, m.integers, def.verdict.substr(0, 7).c_str(),
                        def.nodes, def.pivots, def.seconds, fast.verdict.substr(0, 7).c_str(), fast.nodes,
                        fast.pivots, fast.seconds, cbc.verdict.c_str(), cbc.seconds, glp.verdict.c_str(),
                        glp.seconds);
            std::fflush(stdout);
        }
        std::printf("  solved right within the limit: default %d, faster %d, cbc %d, glpsol %d\n",
                    solvedDefault, solvedFaster, solvedCbc, solvedGlpsol);
    }
    state.counters["default solved"] = solvedDefault;
    state.counters["faster solved"] = solvedFaster;
    state.counters["cbc solved"] = solvedCbc;
    state.counters["glpsol solved"] = solvedGlpsol;
}
BENCHMARK(BM_Miplib3)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
