// Branch and bound against an independent oracle: seeded random models,
// solved by exhaustive enumeration of the integer variables and, for the
// continuous ones, by the LP engine.
#include "modules/ip/mipmatgen.h"
#include "modules/ip/miprun.h"
#include "modules/ip/mipsolver.h"
#include "modules/lp/lprun.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace tarvik::ip {
namespace {

struct Row {
    std::vector<int> a; // integer variables first, then continuous ones
    int sense = 1;      // 1 <=, -1 >=, 0 =
    int rhs = 0;
};

struct Model {
    bool minimize = false;
    int nInt = 0, nCont = 0;
    std::vector<int> upper; // per integer variable: 1 binary, else its bound (a row)
    std::vector<int> cost;
    std::vector<Row> rows;
    std::vector<int> contUpper; // per continuous variable: its bound row, or -1 for none
};

std::string Name(const Model& m, int v) {
    return v < m.nInt ? "X" + std::to_string(v + 1) : "Y" + std::to_string(v - m.nInt + 1);
}

std::string Terms(const Model& m, const std::vector<int>& a, int from, int to) {
    std::ostringstream s;
    bool first = true;
    for (int v = from; v < to; ++v) {
        if (a[v] == 0) continue;
        s << (first ? (a[v] < 0 ? "-" : "") : (a[v] < 0 ? " - " : " + ")) << std::abs(a[v]) << Name(m, v);
        first = false;
    }
    if (first) s << "0" << Name(m, from);
    return s.str();
}

const char* Relation(int sense) {
    return sense > 0 ? " <= " : sense < 0 ? " >= " : " = ";
}

// The model text; `integerPart` false leaves the declarations out (the LP relaxation),
// and `bounds` adds the rows that bound the general integers and continuous variables.
std::string Text(const Model& m, bool declarations) {
    const int n = m.nInt + m.nCont;
    std::ostringstream s;
    s << (m.minimize ? "min " : "max ") << Terms(m, m.cost, 0, n) << ";\r\n";
    for (const Row& r : m.rows) s << Terms(m, r.a, 0, n) << Relation(r.sense) << r.rhs << ";\r\n";
    for (int v = 0; v < m.nInt; ++v)
        if (m.upper[v] != 1 || !declarations) {
            s << Name(m, v) << " <= " << m.upper[v] << ";\r\n";
        }
    for (int c = 0; c < m.nCont; ++c)
        if (m.contUpper[c] >= 0) s << Name(m, m.nInt + c) << " <= " << m.contUpper[c] << ";\r\n";
    if (declarations) {
        std::string bin, in;
        for (int v = 0; v < m.nInt; ++v) (m.upper[v] == 1 ? bin : in) += " " + Name(m, v);
        if (!bin.empty()) s << "$binary" << bin << ";\r\n";
        if (!in.empty()) s << "$integer" << in << ";\r\n";
    }
    return s.str();
}

Model Random(std::mt19937& g, bool mixed) {
    auto uni = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(g); };
    Model m;
    m.minimize = uni(0, 1) == 1;
    const bool general = uni(0, 2) == 0;
    m.nInt = mixed ? uni(1, 6) : general ? uni(1, 5) : uni(1, 12);
    m.nCont = mixed ? uni(1, 3) : 0;
    for (int v = 0; v < m.nInt; ++v) m.upper.push_back(general ? uni(1, 3) : 1);
    const int n = m.nInt + m.nCont;
    for (int v = 0; v < n; ++v) m.cost.push_back(uni(-4, 9));
    const int rows = uni(1, 5);
    for (int i = 0; i < rows; ++i) {
        Row r;
        for (int v = 0; v < n; ++v) r.a.push_back(uni(0, 2) == 0 ? 0 : uni(-3, 9));
        const int kind = uni(0, 9);
        r.sense = kind < 6 ? 1 : kind < 9 ? -1 : 0;
        r.rhs = r.sense > 0 ? uni(0, 4 * n) : r.sense < 0 ? uni(0, 2 * n) : uni(0, 6);
        m.rows.push_back(r);
    }
    for (int c = 0; c < m.nCont; ++c) m.contUpper.push_back(uni(0, 5) == 0 ? -1 : uni(1, 6));
    return m;
}

enum class Outcome { Optimal, Unbounded, Infeasible, NoInteger };

struct Truth {
    Outcome outcome = Outcome::Optimal;
    double objective = 0; // as the report shows it (true direction)
};

lp::LPRunResult SolveLP(const std::string& text) {
    lp::LPSettings settings;
    settings.sensitivity = false;
    lp::LPProgress quiet;
    return lp::RunLP(text, settings, quiet);
}

// The continuous part for fixed integer values, by the LP engine; nullopt when infeasible.
std::optional<double> ContinuousBest(const Model& m, const std::vector<int>& x, bool& unbounded) {
    const int n = m.nInt + m.nCont;
    double fixed = 0;
    for (int v = 0; v < m.nInt; ++v) fixed += m.cost[v] * x[v];
    std::ostringstream s;
    s << (m.minimize ? "min " : "max ") << Terms(m, m.cost, m.nInt, n) << ";\r\n";
    int rows = 0;
    for (const Row& r : m.rows) {
        long rhs = r.rhs;
        for (int v = 0; v < m.nInt; ++v) rhs -= static_cast<long>(r.a[v]) * x[v];
        bool any = false;
        for (int v = m.nInt; v < n; ++v) any = any || r.a[v] != 0;
        if (!any) {
            const bool ok = r.sense > 0 ? 0 <= rhs : r.sense < 0 ? 0 >= rhs : rhs == 0;
            if (!ok) return std::nullopt;
            continue;
        }
        s << Terms(m, r.a, m.nInt, n) << Relation(r.sense) << rhs << ";\r\n";
        ++rows;
    }
    for (int c = 0; c < m.nCont; ++c)
        if (m.contUpper[c] >= 0) {
            s << Name(m, m.nInt + c) << " <= " << m.contUpper[c] << ";\r\n";
            ++rows;
        }
    const lp::LPRunResult r = SolveLP(s.str());
    EXPECT_TRUE(r.success) << s.str();
    if (r.status == 2) return std::nullopt;
    if (r.status == 1) {
        unbounded = true;
        return std::nullopt;
    }
    return fixed + r.objective;
}

Truth Enumerate(const Model& m) {
    Truth t;
    const lp::LPRunResult relaxation = SolveLP(Text(m, false));
    EXPECT_TRUE(relaxation.success);
    if (relaxation.status == 1) {
        t.outcome = Outcome::Unbounded;
        return t;
    }
    if (relaxation.status == 2) {
        t.outcome = Outcome::Infeasible;
        return t;
    }
    std::vector<int> x(m.nInt, 0);
    bool found = false;
    double best = 0;
    for (;;) {
        std::optional<double> value;
        if (m.nCont == 0) {
            bool ok = true;
            for (const Row& r : m.rows) {
                long lhs = 0;
                for (int v = 0; v < m.nInt; ++v) lhs += static_cast<long>(r.a[v]) * x[v];
                ok = ok && (r.sense > 0 ? lhs <= r.rhs : r.sense < 0 ? lhs >= r.rhs : lhs == r.rhs);
            }
            if (ok) {
                double z = 0;
                for (int v = 0; v < m.nInt; ++v) z += m.cost[v] * x[v];
                value = z;
            }
        } else {
            bool unbounded = false;
            value = ContinuousBest(m, x, unbounded);
            EXPECT_FALSE(unbounded);
        }
        if (value && (!found || (m.minimize ? *value < best : *value > best))) {
            best = *value;
            found = true;
        }
        int v = 0;
        while (v < m.nInt && x[v] == m.upper[v]) x[v++] = 0;
        if (v == m.nInt) break;
        ++x[v];
    }
    t.outcome = found ? Outcome::Optimal : Outcome::NoInteger;
    t.objective = best;
    return t;
}

// The solver's answer must be feasible, integral, and worth what it says.
void CheckSolution(const Model& m, const MIPRunResult& r, const std::string& text) {
    const int n = m.nInt + m.nCont;
    // Variables are numbered in the order the text first names them.
    ReadSink sink;
    const MIPReadResult read = ReadMIPModel(text, sink);
    ASSERT_LE(read.model.n, n); // a variable the text never names is 0
    std::vector<double> x(n + 1, 0.0);
    for (int j = 1; j <= n; ++j)
        for (int v = 0; v < n; ++v)
            if (read.model.names[j] == Name(m, v)) x[v + 1] = r.solve.x[j];
    double z = 0;
    for (int v = 0; v < n; ++v) {
        z += m.cost[v] * x[v + 1];
        EXPECT_GE(x[v + 1], -1e-6) << text;
        if (v < m.nInt) {
            EXPECT_EQ(x[v + 1], std::round(x[v + 1])) << text;
            EXPECT_LE(x[v + 1], m.upper[v]) << text;
        }
    }
    EXPECT_NEAR(z, r.objective, 1e-6 * std::max(1.0, std::fabs(z))) << text;
    for (const Row& row : m.rows) {
        double lhs = 0;
        for (int v = 0; v < n; ++v) lhs += row.a[v] * x[v + 1];
        const double tol = 1e-6 * std::max(1.0, std::fabs(static_cast<double>(row.rhs)));
        if (row.sense >= 0) {
            EXPECT_LE(lhs, row.rhs + tol) << text;
        }
        if (row.sense <= 0) {
            EXPECT_GE(lhs, row.rhs - tol) << text;
        }
    }
}

void RunOracle(bool mixed, int count, unsigned seed, const SearchOptions& search = kDefaultSearch) {
    std::mt19937 g(seed);
    int outcomes[4] = {0, 0, 0, 0};
    for (int k = 0; k < count; ++k) {
        const Model m = Random(g, mixed);
        const std::string text = Text(m, true);
        const Truth truth = Enumerate(m);
        MIPProgress quiet;
        const MIPRunResult r = RunMIP(text, quiet, {.search = search});
        ASSERT_TRUE(r.success) << text << r.message;
        ++outcomes[static_cast<int>(truth.outcome)];
        switch (truth.outcome) {
        case Outcome::Optimal:
            ASSERT_EQ(r.solve.status, kOptimal) << text;
            EXPECT_NEAR(r.objective, truth.objective, 1e-6 * std::max(1.0, std::fabs(truth.objective)))
                << text;
            CheckSolution(m, r, text);
            EXPECT_EQ(r.message, "Optimal solution found");
            break;
        case Outcome::Unbounded:
            EXPECT_EQ(r.solve.status, kUnbounded) << text;
            break;
        case Outcome::Infeasible:
            EXPECT_EQ(r.solve.status, kInfeasible) << text;
            break;
        case Outcome::NoInteger:
            EXPECT_EQ(r.solve.status, kNoIntegerSolution) << text;
            break;
        }
        if (::testing::Test::HasFailure()) return;
    }
    // The families must all be there, or the oracle proves less than it seems.
    EXPECT_GT(outcomes[0], count / 4);
    EXPECT_GT(outcomes[2], 0);
    EXPECT_GT(outcomes[3], 0);
    if (mixed) {
        EXPECT_GT(outcomes[1], 0);
    }
}

TEST(MipOracle, PureIntegerModelsMatchEnumeration) {
    RunOracle(false, 400, 20261209);
}

TEST(MipOracle, MixedModelsMatchEnumerationWithTheLPEngine) {
    RunOracle(true, 150, 4711);
}

TEST(MipOracle, FasterSearchMatchesEnumeration) {
    RunOracle(false, 400, 20261210, kFasterSearch);
    RunOracle(true, 150, 815, kFasterSearch);
}

// Every Gomory cut of a few rounds at the root leaves every integer point of
// the model feasible (pure models, all points enumerated).
TEST(MipOracle, GomoryCutsKeepEveryIntegerPoint) {
    std::mt19937 g(1210);
    int cutsChecked = 0;
    for (int k = 0; k < 300; ++k) {
        const Model m = Random(g, false);
        const std::string text = Text(m, true);
        ReadSink sink;
        const MIPReadResult read = ReadMIPModel(text, sink);
        ASSERT_TRUE(read.success);
        Relaxation lp(read.model);
        tarvik::Progress none;
        std::vector<CutRow> all;
        for (int round = 0; round < 4 && lp.solve(none) == kOptimal; ++round) {
            std::vector<CutRow> cuts;
            CutRow cut;
            if (!lp.refactor()) break;
            for (int j : lp.basicStructurals())
                if (lp.gomoryCut(j, cut)) cuts.push_back(cut);
            if (cuts.empty()) break;
            lp.addRows(cuts);
            all.insert(all.end(), cuts.begin(), cuts.end());
        }
        // The model's variable j is the text's variable named read.model.names[j].
        std::vector<int> x(m.nInt, 0);
        for (;;) {
            bool feasible = true;
            for (const Row& r : m.rows) {
                long lhs = 0;
                for (int v = 0; v < m.nInt; ++v) lhs += static_cast<long>(r.a[v]) * x[v];
                feasible = feasible && (r.sense > 0   ? lhs <= r.rhs
                                        : r.sense < 0 ? lhs >= r.rhs
                                                      : lhs == r.rhs);
            }
            for (const CutRow& cut : all) {
                if (!feasible) break;
                double lhs = 0;
                for (const auto& [j, a] : cut.terms)
                    for (int v = 0; v < m.nInt; ++v)
                        if (read.model.names[j] == Name(m, v)) lhs += a * x[v];
                const double d = lhs - cut.rhs;
                EXPECT_TRUE(cut.sense == kLessEqual ? d <= 1e-9 : d >= -1e-9) << text << "cut " << d;
                ++cutsChecked;
            }
            int v = 0;
            while (v < m.nInt && x[v] == m.upper[v]) x[v++] = 0;
            if (v == m.nInt) break;
            ++x[v];
        }
        if (::testing::Test::HasFailure()) return;
    }
    EXPECT_GT(cutsChecked, 1000);
}

} // namespace
} // namespace tarvik::ip
