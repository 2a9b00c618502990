#include "modules/lp/fractionsimplex.h"
#include "modules/lp/lprun.h"

#include <gmpxx.h>
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <random>
#include <sstream>

namespace tarvik::lp {
namespace {

std::string Lf(std::string s) {
    for (std::size_t p; (p = s.find("\r\n")) != std::string::npos;) s.erase(p, 1);
    return s;
}
std::string Slurp(const std::string& path) {
    std::ostringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}
std::string Crlf(const std::string& s) {
    std::string r;
    for (char c : s) r += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return r;
}
LPRunResult Solve(const std::string& text, bool fractions, OutputMode mode = OutputMode::All) {
    LPProgress quiet;
    return RunLP(text, {.output = mode, .sensitivity = true, .report = true, .fractions = fractions}, quiet);
}
mpq_class Q(const std::string& s) {
    mpq_class q(s, 10);
    q.canonicalize();
    return q;
}
// The report: from the summary on, without the fraction line.
std::string Report(const std::string& out) {
    std::string r = out.substr(out.find("  Summary of Results"));
    const std::size_t p = r.find("  Value objective function as a fraction");
    return p == std::string::npos ? r : r.erase(p, r.find('\n', p) + 1 - p);
}

TEST(FractionTableaus, TextbookModelsPrintTheTableausWorkedByHand) {
    for (const char* name : {"wyndor", "radiation", "widecolumns"}) {
        const std::string base = std::string(TARVIK_TEST_DATA) + "/lpfractions/" + name;
        const LPRunResult run = Solve(Crlf(Slurp(base + ".tlp")), true);
        EXPECT_EQ(Lf(run.output), Slurp(base + ".out")) << name;
        EXPECT_EQ(Report(run.output), Report(Solve(Crlf(Slurp(base + ".tlp")), false).output)) << name;
    }
}

TEST(FractionTableaus, BeyondThirtyRowsOrVariablesTheRunIsDecimal) {
    auto model = [](int rows, int variables) {
        std::string t = "max x1";
        for (int j = 2; j <= variables; ++j) t += " + x" + std::to_string(j);
        t += ";\r\n";
        for (int i = 1; i <= rows; ++i) t += "x1 + x" + std::to_string(1 + i % variables) + " <= 7;\r\n";
        return t;
    };
    for (auto [rows, variables, inFractions] : {std::tuple{30, 30, true}, {31, 2, false}, {2, 31, false}}) {
        const LPRunResult run = Solve(model(rows, variables), true, OutputMode::FirstLast);
        EXPECT_EQ(run.output.find(kFractionSizeNotice) == std::string::npos, inFractions)
            << rows << "x" << variables;
        EXPECT_EQ(run.output.find("Rel.Cost|    -1.00") == std::string::npos, inFractions);
        EXPECT_EQ(run.output.find("as a fraction: ") != std::string::npos, inFractions);
    }
}

// Random small models, with constants and variables on both sides, decimal
// coefficients and rows that the reader turns round. Where the exact run met
// no tie the decimal run makes the same pivots: every fraction then rounds to
// the decimal tableau's entry, and the exact solution satisfies every row.
TEST(FractionTableaus, RandomModelsAgreeWithTheDecimalTableausAndSolveEveryRowExactly) {
    std::mt19937 gen(20240611);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen); };
    int tieFree = 0;
    const int models = 500;
    for (int k = 0; k < models; ++k) {
        const int m = pick(1, 4), nv = pick(1, 4);
        std::vector<std::vector<mpq_class>> a(m, std::vector<mpq_class>(nv + 1)); // [i][nv] is the rhs
        std::vector<int> rel(m);
        std::ostringstream text;
        auto number = [&](mpq_class& sum, int sign) {
            const int whole = pick(0, 9), tenth = pick(0, 1) ? pick(1, 9) : 0;
            sum += mpq_class(sign * (whole * 10 + tenth), 10);
            return std::to_string(whole) + (tenth ? "." + std::to_string(tenth) : "");
        };
        mpq_class unused;
        text << (pick(0, 1) ? "max " : "min ") << number(unused, 1) << "x1";
        for (int j = 2; j <= nv; ++j) text << (pick(0, 1) ? " + " : " - ") << number(unused, 1) << "x" << j;
        for (int i = 0; i < m; ++i) {
            text << ";\r\n";
            for (int side = 0; side < 2; ++side) {
                bool any = false;
                for (int j = 0; j <= nv; ++j) {
                    if ((pick(0, 2) == 2) != (side == 1)) continue; // mostly on the left
                    const int sign = pick(0, 3) ? 1 : -1;
                    text << (sign > 0 ? " + " : " - ")
                         << number(a[i][j], (j == nv) == (side == 0) ? -sign : sign);
                    if (j < nv) text << "x" << j + 1;
                    any = true;
                }
                if (!any) text << " 0";
                if (side == 0)
                    text << std::array{
                        " <= ", " >= ", " = "}[rel[i] = std::array{0, 0, 0, 1, 1, 2}[pick(0, 5)]];
            }
        }
        const std::string model = text.str() + ";\r\n";
        const LPRunResult decimal = Solve(model, false);
        ExactTerms exact;
        LPReadResult read = ReadLPModel(model, exact);
        ASSERT_TRUE(read.success) << model << read.message;
        std::string out;
        LPProgress quiet;
        const FractionOutcome f = FractionSimplex(read.model, exact, OutputMode::All, quiet, out);
        EXPECT_TRUE(f.outcome.reliable) << model;
        if (f.outcome.status == LPStatus::Optimal) {
            std::vector<mpq_class> x;
            for (int j = 1; j <= read.model.n; ++j)
                if (read.model.columns[j].kind == ColumnKind::Decision) x.push_back(Q(f.values[j]));
            for (int i = 0; i < m; ++i) {
                mpq_class lhs = 0;
                for (int j = 0; j < nv; ++j) lhs += a[i][j] * x[j];
                const int c = cmp(lhs, a[i][nv]);
                EXPECT_TRUE(rel[i] == 0 ? c <= 0 : rel[i] == 1 ? c >= 0 : c == 0) << model << "row " << i + 1;
            }
        }
        if (f.ties > 0) continue;
        ++tieFree;
        EXPECT_EQ(decimal.status, static_cast<int>(f.outcome.status)) << model;
        // The tableau entries of both runs, in print order.
        auto entries = [](const std::string& s) {
            std::vector<std::string> e;
            std::istringstream lines(s);
            for (std::string line; std::getline(lines, line);)
                if (line.size() > 9 && line[8] == '|')
                    for (std::istringstream w(line.substr(9)); w >> line;) e.push_back(line);
            return e;
        };
        const auto fr = entries(out), de = entries(decimal.output);
        ASSERT_EQ(fr.size(), de.size()) << model;
        for (std::size_t p = 0; p < fr.size(); ++p)
            EXPECT_LE(abs(Q(fr[p]) -
                          Q(de[p].substr(0, de[p].size() - 3) + de[p].substr(de[p].size() - 2) + "/100")),
                      mpq_class(1, 200))
                << model << fr[p] << " against " << de[p];
    }
    EXPECT_GE(tieFree, models / 2);
}

} // namespace
} // namespace tarvik::lp
