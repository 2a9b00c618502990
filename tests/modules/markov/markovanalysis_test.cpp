#include "markovtesting.h"
#include "modules/markov/markovformat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <regex>
#include <set>
#include <sstream>

namespace tarvik::markov {
namespace {

using testing::MakeNumericChain;
using testing::RecordingProgress;
using Lines = std::vector<std::string>;
using Matrix = std::vector<std::vector<double>>;

// ---------------------------------------------------------------------------
// Independent reference computations.

Matrix Identity(std::size_t n) {
    Matrix m(n, std::vector<double>(n, 0.0));
    for (std::size_t i = 0; i < n; ++i) m[i][i] = 1;
    return m;
}

Matrix Multiply(const Matrix& a, const Matrix& b) {
    const std::size_t n = a.size();
    Matrix c(n, std::vector<double>(n, 0.0));
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t k = 0; k < n; ++k)
            for (std::size_t j = 0; j < n; ++j) c[i][j] += a[i][k] * b[k][j];
    return c;
}

// exp(A) by scaling and squaring with a Taylor series.
Matrix Expm(Matrix a) {
    const std::size_t n = a.size();
    double norm = 0;
    for (const auto& row : a) {
        double s = 0;
        for (double x : row) s += std::fabs(x);
        norm = std::max(norm, s);
    }
    int squarings = 0;
    while (norm > 0.125) {
        norm /= 2;
        ++squarings;
    }
    const double scale = std::ldexp(1.0, -squarings);
    for (auto& row : a)
        for (double& x : row) x *= scale;
    Matrix result = Identity(n), term = Identity(n);
    for (int k = 1; k <= 24; ++k) {
        term = Multiply(term, a);
        for (auto& row : term)
            for (double& x : row) x /= k;
        for (std::size_t i = 0; i < n; ++i)
            for (std::size_t j = 0; j < n; ++j) result[i][j] += term[i][j];
    }
    for (int s = 0; s < squarings; ++s) result = Multiply(result, result);
    return result;
}

Matrix Generator(const Matrix& q) {
    Matrix g = q;
    for (std::size_t i = 0; i < q.size(); ++i) {
        double out = 0;
        for (std::size_t j = 0; j < q.size(); ++j)
            if (j != i) out += q[i][j];
        g[i][i] = -out;
    }
    return g;
}

// x P = x, sum x = 1, with the first balance equation replaced.
std::vector<double> StationaryDirect(const Matrix& p) {
    const std::size_t n = p.size();
    Matrix a(n, std::vector<double>(n + 1, 0.0));
    for (std::size_t r = 0; r < n; ++r)
        for (std::size_t c = 0; c < n; ++c) a[r][c] = p[c][r] - (r == c ? 1 : 0);
    for (std::size_t c = 0; c <= n; ++c) a[0][c] = 1;
    for (std::size_t k = 0; k < n; ++k) {
        std::size_t best = k;
        for (std::size_t r = k + 1; r < n; ++r)
            if (std::fabs(a[r][k]) > std::fabs(a[best][k])) best = r;
        std::swap(a[k], a[best]);
        for (std::size_t r = 0; r < n; ++r) {
            if (r == k) continue;
            const double f = a[r][k] / a[k][k];
            for (std::size_t c = k; c <= n; ++c) a[r][c] -= f * a[k][c];
        }
    }
    std::vector<double> x(n);
    for (std::size_t i = 0; i < n; ++i) x[i] = a[i][n] / a[i][i];
    return x;
}

// Recurrent classes as the closed communicating classes of the reachability relation.
std::set<std::set<int>> ClosedClasses(const Matrix& p) {
    const std::size_t n = p.size();
    std::vector<std::vector<char>> reach(n, std::vector<char>(n, 0));
    for (std::size_t i = 0; i < n; ++i) {
        reach[i][i] = 1;
        for (std::size_t j = 0; j < n; ++j)
            if (p[i][j] > 0) reach[i][j] = 1;
    }
    for (std::size_t k = 0; k < n; ++k)
        for (std::size_t i = 0; i < n; ++i)
            if (reach[i][k])
                for (std::size_t j = 0; j < n; ++j)
                    if (reach[k][j]) reach[i][j] = 1;
    std::set<std::set<int>> classes;
    for (std::size_t i = 0; i < n; ++i) {
        bool recurrent = true;
        std::set<int> cls;
        for (std::size_t j = 0; j < n; ++j) {
            if (reach[i][j] && !reach[j][i]) recurrent = false;
            if (reach[i][j] && reach[j][i]) cls.insert(static_cast<int>(j) + 1);
        }
        if (recurrent) classes.insert(cls);
    }
    return classes;
}

// ---------------------------------------------------------------------------
// Reading the reports back.

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> w;
    for (std::string s; in >> s;) w.push_back(s);
    return w;
}

// The numbers after the time on every "At t = " line.
std::vector<std::vector<double>> AtValues(const Lines& lines) {
    std::vector<std::vector<double>> rows;
    for (const auto& line : lines) {
        if (line.rfind("At t = ", 0) != 0) continue;
        auto w = Words(line);
        std::vector<double> v;
        for (std::size_t k = 4; k < w.size(); ++k) v.push_back(std::stod(w[k]));
        rows.push_back(v);
    }
    return rows;
}

std::vector<double> SteadyValues(const Lines& lines) {
    std::vector<double> v;
    for (const auto& line : lines)
        if (line.rfind("State ", 0) == 0) v.push_back(std::stod(line.substr(line.rfind(' ') + 1)));
    return v;
}

std::set<std::set<int>> ReportedClasses(const Lines& lines) {
    std::set<std::set<int>> classes;
    for (const auto& line : lines) {
        if (line.rfind("Recurrent subchain ", 0) != 0) continue;
        std::set<int> cls;
        for (const auto& w : Words(line.substr(line.find(": ") + 2))) cls.insert(std::stoi(w));
        classes.insert(cls);
    }
    return classes;
}

Matrix RandomStochastic(std::mt19937& rng, int n, double zeroShare, bool ring) {
    std::uniform_real_distribution<double> u(0, 1);
    Matrix p(static_cast<std::size_t>(n), std::vector<double>(static_cast<std::size_t>(n), 0.0));
    for (int i = 0; i < n; ++i) {
        auto& row = p[static_cast<std::size_t>(i)];
        for (auto& x : row) x = u(rng) < zeroShare ? 0 : u(rng);
        if (ring) row[static_cast<std::size_t>((i + 1) % n)] += 0.1;
        double s = 0;
        for (double x : row) s += x;
        if (s == 0) row[static_cast<std::size_t>(i)] = s = 1;
        for (auto& x : row) x /= s;
    }
    return p;
}

AnalysisParams Params(Analysis a, int initial, std::vector<double> times) {
    AnalysisParams p;
    p.analysis = a;
    p.initialState = initial;
    p.times = std::move(times);
    return p;
}

// ---------------------------------------------------------------------------

TEST(MarkovFormat, FixedAndFormatDigits) {
    EXPECT_EQ(Fixed(1.0 / 3, 14, 10), "0.3333333333");
    EXPECT_EQ(Fixed(-2.0 / 3, 10, 9), "-0.666666667");
    EXPECT_EQ(Fixed(123.456789, 5, 4), "123.4600"); // five significant digits, four decimals
    EXPECT_EQ(Fixed(0.0012345678, 8, 7), "0.0012346");
    EXPECT_EQ(Fixed(9.99999999996, 10, 9), "10.000000000");
    EXPECT_EQ(Fixed(-1e-12, 10, 9), "0.000000000");
    EXPECT_EQ(Fixed(5000, 5, 3), "5000.000");
    EXPECT_EQ(FormatDigits(10, 1), "1.000000000");
    EXPECT_EQ(FormatDigits(10, 0.5), "0.5000000000");
    EXPECT_EQ(FormatDigits(8, 12.3456789), "12.345679");
    EXPECT_EQ(FormatDigits(7, 123456.7), "123456.7");
    EXPECT_EQ(FormatDigits(9, 0), "0.000000000");
    EXPECT_EQ(PadRight("ab", 4), "ab  ");
    EXPECT_EQ(PadRight("abcdef", 4), "abcdef");
}

TEST(MarkovStructure, SmallChains) {
    auto identity = ChainStructure(MakeNumericChain(ChainType::Discrete, {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}));
    EXPECT_EQ(identity.lines,
              (Lines{"=====================", "   CHAIN STRUCTURE", "=====================", " ",
                     "Recurrent subchain 1: 1", "Recurrent subchain 2: 2", "Recurrent subchain 3: 3", " ",
                     "There are multiple recurrent classes.", "", "Transient states      : None   "}));
    auto cycle = ChainStructure(MakeNumericChain(ChainType::Discrete, {{0, 1}, {1, 0}}));
    EXPECT_EQ(cycle.lines[4], "Recurrent subchain 1: 1 2 ");
    EXPECT_EQ(cycle.lines[6], "There is a single recurrent class.");
    auto absorbing = ChainStructure(MakeNumericChain(ChainType::Discrete, {{0.5, 0.5}, {0, 1}}));
    EXPECT_EQ(absorbing.lines[4], "Recurrent subchain 1: 2");
    EXPECT_EQ(absorbing.lines.back(), "Transient states: 1 ");
    // A transient cycle 1-2 feeding the absorbing state 3, a closed cycle 4-5
    // and a state 6 that leads into it.
    auto mixed = ChainStructure(MakeNumericChain(ChainType::Discrete, {{0, 1, 0, 0, 0, 0},
                                                                       {0.5, 0, 0.5, 0, 0, 0},
                                                                       {0, 0, 1, 0, 0, 0},
                                                                       {0, 0, 0, 0, 1, 0},
                                                                       {0, 0, 0, 1, 0, 0},
                                                                       {0.2, 0, 0, 0, 0.3, 0.5}}));
    EXPECT_EQ(mixed.lines[4], "Recurrent subchain 1: 3");
    EXPECT_EQ(mixed.lines[5], "Recurrent subchain 2: 4 5 ");
    EXPECT_EQ(mixed.lines.back(), "Transient states: 1 2 6 ");
    // Continuous time: rates, empty spacer lines, a state without rates is absorbing.
    auto ct = ChainStructure(MakeNumericChain(ChainType::Continuous, {{0, 1, 0}, {2, 0, 3}, {0, 0, 0}}));
    EXPECT_EQ(ct.lines, (Lines{"=====================", "   CHAIN STRUCTURE", "=====================", "",
                               "Recurrent subchain 1: 3", "", "There is a single recurrent class.", "",
                               "Transient states      : 1 2 "}));
    EXPECT_EQ(ChainStructure(MakeNumericChain(ChainType::Continuous, {{0, 1}, {2, 0}})).lines[4],
              "Recurrent subchain 1: 1 2 ");
}

TEST(MarkovStructure, MatchesClosedClassesOfRandomChains) {
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
        const int n = 1 + static_cast<int>(rng() % 30);
        const Matrix p = RandomStochastic(rng, n, 0.75 + 0.2 * (round % 5) / 4.0, false);
        Chain c = MakeNumericChain(ChainType::Discrete, p);
        Report r = ChainStructure(c);
        const auto expected = ClosedClasses(p);
        ASSERT_EQ(ReportedClasses(r.lines), expected) << "round " << round;
        std::set<int> recurrent;
        for (const auto& cls : expected) recurrent.insert(cls.begin(), cls.end());
        std::string transient;
        for (int s = 1; s <= n; ++s)
            if (!recurrent.count(s)) transient += std::to_string(s) + " ";
        EXPECT_EQ(r.lines.back(),
                  transient.empty() ? "Transient states      : None   " : "Transient states: " + transient);
        EXPECT_EQ(r.lines[r.lines.size() - 3], expected.size() == 1
                                                   ? "There is a single recurrent class."
                                                   : "There are multiple recurrent classes.");
    }
}

TEST(MarkovSteadyState, KnownChains) {
    auto two = SteadyState(MakeNumericChain(ChainType::Discrete, {{0.5, 0.5}, {0.25, 0.75}}, {3, 6}));
    EXPECT_EQ(two.lines,
              (Lines{"============================", "   STEADY-STATE BEHAVIOUR",
                     "============================", " ", "The solution is: ", " ",
                     "State 1: pi[1] = 0.3333333333", "State 2: pi[2] = 0.6666666667", "",
                     "Average cost per unit time: 5.0000000000", " ", "Accuracy check: 0.0000000000"}));
    auto identity = SteadyState(MakeNumericChain(ChainType::Discrete, {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}));
    EXPECT_EQ(identity.lines,
              (Lines{"============================", "   STEADY-STATE BEHAVIOUR",
                     "============================", " ", "This Markov chain is not unichained",
                     "and thus has no unique equilibrium distribution."}));
    auto one = SteadyState(MakeNumericChain(ChainType::Discrete, {{1}}, {2.5}));
    EXPECT_EQ(one.lines[6], "State 1: pi[1] = 1.000000000");
    EXPECT_EQ(one.lines[8], "Average cost per unit time: 2.5000000000");
    // Transient states get probability zero.
    auto absorbing = SteadyState(MakeNumericChain(ChainType::Discrete, {{0.5, 0.5}, {0, 1}}));
    EXPECT_EQ(SteadyValues(absorbing.lines), (std::vector<double>{0, 1}));
    // 1 - 1e-30 is 1 in doubles: state 1 leaks into the cycle 2-3 but its
    // balance equation vanishes and the system is singular.
    auto ill = SteadyState(MakeNumericChain(ChainType::Discrete, {{1, 1e-30, 0}, {0, 0, 1}, {0, 1, 0}}));
    ASSERT_GE(ill.lines.size(), 6u);
    EXPECT_EQ(ill.lines[4], "Problem ill-conditioned.");
    EXPECT_EQ(ill.lines[5], "The solution is: ");
    EXPECT_EQ(ill.lines.size(), 14u);
    // Continuous time: cost rate r(j) plus the rates times F(k).
    auto ct = SteadyState(MakeNumericChain(ChainType::Continuous, {{0, 1}, {2, 0}}, {1, 0}, {0, 3}));
    EXPECT_EQ(ct.lines[6], "State 1: p[1] = 0.6666666667");
    EXPECT_EQ(ct.lines[7], "State 2: p[2] = 0.3333333333");
    // 2/3 * (1 + 1 * 3) + 1/3 * (0 + 2 * 0)
    EXPECT_EQ(ct.lines[9], "Average cost per unit time: 2.6666666667");
}

TEST(MarkovSteadyState, RandomChainsAgreeWithADirectSolution) {
    std::mt19937 rng(11);
    for (int round = 0; round < 40; ++round) {
        const int n = round < 5 ? 100 : 2 + static_cast<int>(rng() % 99);
        const Matrix p = RandomStochastic(rng, n, round % 2 ? 0.9 : 0.0, true);
        Report r = SteadyState(MakeNumericChain(ChainType::Discrete, p));
        const auto got = SteadyValues(r.lines);
        const auto expected = StationaryDirect(p);
        ASSERT_EQ(got.size(), expected.size());
        for (std::size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], expected[i], 2e-10) << n << " " << i;
        EXPECT_LT(std::stod(Words(r.lines.back()).back()), 1e-9);
    }
}

TEST(MarkovTransient, DiscreteReportLayouts) {
    const Chain c = MakeNumericChain(ChainType::Discrete, {{0.5, 0.5}, {0.25, 0.75}}, {-100000, 2e6});
    RecordingProgress progress;
    AnalysisParams params = Params(Analysis::Transient, 1, {2, 10, 10});
    params.endStates = {2, 1};
    auto r = Transient(c, params, progress);
    EXPECT_EQ(
        r.lines,
        (Lines{"=========================", "   TRANSIENT BEHAVIOUR", "=========================", " ",
               "Transient probabilities", "", "Initial State = 1", "", "              State 2       State 1",
               "At t = 2     0.625000000   0.375000000", "At t = 10    0.666666031   0.333333969",
               "At t = 10    0.666666031   0.333333969", "", "Accuracy check: 0.000000000"}));
    EXPECT_EQ(progress.begins, 1);
    EXPECT_EQ(progress.ends, 1);
    EXPECT_EQ(progress.positions.back(), 100);
    EXPECT_TRUE(std::is_sorted(progress.positions.begin(), progress.positions.end()));

    params.transientOutput = TransientOutput::SojournTimes;
    r = Transient(c, params, progress);
    EXPECT_EQ(r.lines[4], "Expected transient sojourn times");
    EXPECT_EQ(r.lines[9], "At t = 2     1.1250000     0.87500000");

    // Sojourn times at t = 2: 0.875 and 1.125, so the costs are
    // -87500 + 2250000 = 2162500 in total and 1081250 on average.
    params.transientOutput = TransientOutput::Costs;
    params.times = {2};
    r = Transient(c, params, progress);
    EXPECT_EQ(r.lines[4], "Expected transient costs");
    EXPECT_EQ(r.lines[8], "             Total costs   Average costs");
    EXPECT_EQ(r.lines[9], "t1 = 2         2162500         1081250");
    const Chain cheap = MakeNumericChain(ChainType::Discrete, {{0.5, 0.5}, {0.25, 0.75}}, {-8, 2});
    r = Transient(cheap, params, progress);
    // -8 * 0.875 + 2 * 1.125 = -4.75
    EXPECT_EQ(r.lines[9], "t1 = 2        -4.750000     -2.375000");
    const Chain dear = MakeNumericChain(ChainType::Discrete, {{0.5, 0.5}, {0.25, 0.75}}, {-3e6, 0});
    r = Transient(dear, params, progress);
    EXPECT_EQ(r.lines[9], "t1 = 2        -2625000      -  1312500");
    EXPECT_EQ(r.lines.back(), "Accuracy check: 0.0000000");
}

TEST(MarkovTransient, StopLeavesOnlyTheHeader) {
    std::mt19937 rng(3);
    const Chain c = MakeNumericChain(ChainType::Discrete, RandomStochastic(rng, 100, 0, false));
    AnalysisParams params = Params(Analysis::Transient, 1, {5000});
    params.endStates = {1};
    RecordingProgress progress;
    progress.stopAfterYields = 50;
    auto r = Transient(c, params, progress);
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.lines.size(), 4u);
    EXPECT_EQ(progress.yields, 50);
    EXPECT_EQ(progress.ends, 1);

    RecordingProgress passage;
    passage.stopAfterYields = 10;
    params.analysis = Analysis::FirstPassage;
    auto f = FirstPassage(c, params, passage);
    EXPECT_TRUE(f.stopped);
    EXPECT_EQ(f.lines, (Lines{"==================================", "FIRST-PASSAGE TIME PROBABILITIES",
                              "==================================", " "}));

    // Continuous time stops inside a long Poisson sum (a cycle of twenty
    // states mixes slowly, so the sum is stepped, not cut short).
    Matrix q(20, std::vector<double>(20, 0.0));
    for (std::size_t i = 0; i < q.size(); ++i) q[i][(i + 1) % q.size()] = 1;
    RecordingProgress ct;
    ct.stopAfterYields = 5;
    params.analysis = Analysis::Transient;
    auto r2 = Transient(MakeNumericChain(ChainType::Continuous, q), params, ct);
    EXPECT_TRUE(r2.stopped);
    EXPECT_EQ(ct.yields, 5);
}

TEST(MarkovTransient, ContinuousTwoStateChain) {
    const Chain c = MakeNumericChain(ChainType::Continuous, {{0, 1}, {2, 0}}, {1, 0}, {0, 0});
    AnalysisParams params = Params(Analysis::Transient, 1, {1});
    params.endStates = {1, 2};
    RecordingProgress progress;
    auto r = Transient(c, params, progress);
    EXPECT_EQ(r.lines[8], "                   State 1        State 2");
    const double p1 = 2.0 / 3 + std::exp(-3.0) / 3;
    EXPECT_EQ(r.lines[9], "At t = 1.000      " + FormatDigits(9, p1) + "    " + FormatDigits(9, 1 - p1));
    // K = 29 terms for nu t = 2.0001: the bar shows the term number, then 100.
    ASSERT_GE(progress.positions.size(), 2u);
    EXPECT_EQ(progress.positions[progress.positions.size() - 2], 29);
    EXPECT_EQ(progress.positions.back(), 100);
    params.transientOutput = TransientOutput::SojournTimes;
    r = Transient(c, params, progress);
    // Time in state 1 up to t: 2t/3 + (1 - exp(-3t)) / 9.
    const double s1 = 2.0 / 3 + (1 - std::exp(-3.0)) / 9;
    EXPECT_EQ(r.lines[9], "At t = 1.00       " + FormatDigits(8, s1) + "     " + FormatDigits(8, 1 - s1));
    params.transientOutput = TransientOutput::Costs;
    r = Transient(c, params, progress);
    EXPECT_EQ(r.lines[9], "t1 = 1.000     " + FormatDigits(7, s1) + "    " + FormatDigits(7, s1));
}

TEST(MarkovTransient, ContinuousAgreesWithTheMatrixExponential) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> u(0, 1);
    for (int round = 0; round < 6; ++round) {
        const std::size_t n = 2 + rng() % 7;
        const double scale = round < 3 ? 1.0 : 8.0; // nu t up to a few thousand
        Matrix q(n, std::vector<double>(n, 0.0));
        for (std::size_t i = 0; i < n; ++i)
            for (std::size_t j = 0; j < n; ++j)
                if (i != j && u(rng) < 0.6) q[i][j] = scale * u(rng);
        const Chain c = MakeNumericChain(ChainType::Continuous, q);
        AnalysisParams params = Params(Analysis::Transient, 1 + static_cast<int>(rng() % n), {1, 2.5, 37.25});
        for (std::size_t k = 1; k <= std::min<std::size_t>(n, 4); ++k)
            params.endStates.push_back(static_cast<int>(k));
        RecordingProgress progress;
        const auto probs = AtValues(Transient(c, params, progress).lines);
        params.transientOutput = TransientOutput::SojournTimes;
        const auto soj = AtValues(Transient(c, params, progress).lines);
        ASSERT_EQ(probs.size(), 3u);
        const Matrix g = Generator(q);
        for (std::size_t m = 0; m < 3; ++m) {
            const double t = params.times[m];
            Matrix gt = g;
            for (auto& row : gt)
                for (double& x : row) x *= t;
            const Matrix e = Expm(gt);
            // The integral of exp(G s) over [0, t] is the upper right block of
            // exp([[G, I], [0, 0]] t).
            Matrix big(2 * n, std::vector<double>(2 * n, 0.0));
            for (std::size_t i = 0; i < n; ++i) {
                for (std::size_t j = 0; j < n; ++j) big[i][j] = gt[i][j];
                big[i][n + i] = t;
            }
            const Matrix ebig = Expm(big);
            const auto i0 = static_cast<std::size_t>(params.initialState - 1);
            for (std::size_t k = 0; k < params.endStates.size(); ++k) {
                const auto j = static_cast<std::size_t>(params.endStates[k] - 1);
                EXPECT_NEAR(probs[m][k], e[i0][j], 2e-9) << "round " << round << " t " << t;
                EXPECT_NEAR(soj[m][k], ebig[i0][n + j], 1e-7 * std::max(1.0, ebig[i0][n + j]));
            }
        }
    }
}

TEST(MarkovFirstPassage, DiscreteHandComputed) {
    const Chain c = MakeNumericChain(ChainType::Discrete, {{0.5, 0.5, 0}, {0.25, 0.5, 0.25}, {0, 0.5, 0.5}});
    AnalysisParams params = Params(Analysis::FirstPassage, 1, {3, 1, 2});
    std::sort(params.times.begin(), params.times.end());
    params.stateA = 3;
    RecordingProgress progress;
    auto r = FirstPassage(c, params, progress);
    EXPECT_EQ(r.lines,
              (Lines{"==================================", "FIRST-PASSAGE TIME PROBABILITIES",
                     "==================================", " ", "Initial State = 1", "Return Set = {3}", "",
                     "P( T({3}) > t | X(0) = 1 )", "", "At t = 1:       1.00000000 ",
                     "At t = 2:       0.87500000 ", "At t = 3:       0.75000000 "}));
    // The return case counts the chain's own return: 1 -> 1 is a return.
    params.returnSet = ReturnSet::Lower;
    params.stateA = 1;
    r = FirstPassage(c, params, progress);
    EXPECT_EQ(r.lines[5], "Return Set = {1..1}");
    EXPECT_EQ(r.lines[7], "P( T({1..1}) > t | X(0) = 1 )");
    EXPECT_EQ(AtValues(r.lines), (std::vector<std::vector<double>>{{0.5}, {0.375}, {0.3125}}));
    params.returnSet = ReturnSet::Upper;
    params.stateA = 2;
    r = FirstPassage(c, params, progress);
    EXPECT_EQ(r.lines[5], "Return Set = {2..3}");
    EXPECT_EQ(AtValues(r.lines), (std::vector<std::vector<double>>{{0.5}, {0.25}, {0.125}}));
}

TEST(MarkovFirstPassage, ContinuousAgreesWithTheTabooGenerator) {
    std::mt19937 rng(9);
    std::uniform_real_distribution<double> u(0, 1);
    for (int round = 0; round < 12; ++round) {
        const std::size_t n = 3 + rng() % 5;
        Matrix q(n, std::vector<double>(n, 0.0));
        for (std::size_t i = 0; i < n; ++i)
            for (std::size_t j = 0; j < n; ++j)
                if (i != j && u(rng) < 0.7) q[i][j] = (round % 3 + 1) * u(rng);
        AnalysisParams params = Params(Analysis::FirstPassage, 1 + static_cast<int>(rng() % n), {1, 3.5, 12});
        params.returnSet = static_cast<ReturnSet>(round % 3);
        params.stateA = 1 + static_cast<int>(rng() % n);
        std::vector<char> inA(n);
        for (std::size_t j = 0; j < n; ++j) {
            const int s = static_cast<int>(j) + 1;
            inA[j] = params.returnSet == ReturnSet::Single  ? s == params.stateA
                     : params.returnSet == ReturnSet::Lower ? s <= params.stateA
                                                            : s >= params.stateA;
        }
        const auto i0 = static_cast<std::size_t>(params.initialState - 1);
        // No real transition into A: transitions into A are killed; when the
        // start lies in A it keeps its own row but nothing may come back to it.
        Matrix g = Generator(q);
        for (std::size_t i = 0; i < n; ++i)
            for (std::size_t j = 0; j < n; ++j)
                if (inA[j] && i != j) g[i][j] = 0;
        RecordingProgress progress;
        const auto got =
            AtValues(FirstPassage(MakeNumericChain(ChainType::Continuous, q), params, progress).lines);
        ASSERT_EQ(got.size(), 3u);
        for (std::size_t m = 0; m < 3; ++m) {
            Matrix gt = g;
            for (auto& row : gt)
                for (double& x : row) x *= params.times[m];
            const Matrix e = Expm(gt);
            double expected = 0;
            for (std::size_t j = 0; j < n; ++j)
                if (!inA[j] || j == i0) expected += e[i0][j];
            EXPECT_NEAR(got[m][0], expected, 2e-8) << "round " << round << " t " << params.times[m];
        }
    }
}

TEST(MarkovAnalysis, RejectsParametersThatDoNotFitTheChain) {
    const Chain c = MakeNumericChain(ChainType::Discrete, {{1}});
    RecordingProgress progress;
    AnalysisParams p = Params(Analysis::Transient, 2, {1});
    p.endStates = {1};
    EXPECT_THROW(RunAnalysis(c, p, progress), std::invalid_argument);
    p.initialState = 1;
    p.endStates = {0};
    EXPECT_THROW(RunAnalysis(c, p, progress), std::invalid_argument);
    p = Params(Analysis::FirstPassage, 1, {});
    EXPECT_THROW(RunAnalysis(c, p, progress), std::invalid_argument);
    EXPECT_EQ(RunAnalysis(c, Params(Analysis::Structure, 1, {}), progress).analysis, Analysis::Structure);
}

} // namespace
} // namespace tarvik::markov

namespace tarvik::markov {
namespace {

TEST(MarkovTransient, HugeRatesFinishOnceTheChainHasSettled) {
    // Two states with rates a and b: p1(t) = b/(a+b) + a/(a+b) exp(-(a+b)t) from
    // state 1, and the time spent in state 1 up to t is
    // b t/(a+b) + a/(a+b)^2 (1 - exp(-(a+b)t)). nu t is about 7.5e9 terms here.
    const double a = 1e6, b = 2e6, t = 2500;
    const Chain c = MakeNumericChain(ChainType::Continuous, {{0, a}, {b, 0}}, {1, 0}, {0, 0});
    AnalysisParams params = Params(Analysis::Transient, 1, {t});
    params.endStates = {1, 2};
    RecordingProgress progress;
    auto probs = AtValues(Transient(c, params, progress).lines);
    ASSERT_EQ(probs.size(), 1u);
    EXPECT_NEAR(probs[0][0], b / (a + b), 1e-9);
    EXPECT_NEAR(probs[0][1], a / (a + b), 1e-9);
    EXPECT_LT(progress.yields, 1000);
    params.transientOutput = TransientOutput::SojournTimes;
    auto soj = AtValues(Transient(c, params, progress).lines);
    const double s1 = b * t / (a + b) + a / ((a + b) * (a + b));
    EXPECT_NEAR(soj[0][0], s1, 1e-6 * s1);
    EXPECT_NEAR(soj[0][1], t - s1, 1e-6 * s1);

    // First passage from 1 to {2}: P(T > t) = exp(-a t), 0 long before t.
    params.analysis = Analysis::FirstPassage;
    params.stateA = 2;
    auto f = FirstPassage(c, params, progress);
    EXPECT_TRUE(f.problem.empty());
    EXPECT_EQ(f.lines.back(), "At t = 2500.000:  0.00000000 ");
}

TEST(MarkovTransient, AChainThatNeverSettlesIsRefusedBeforeItStarts) {
    // Rates of 1e9 both ways: the uniformised chain flips between the two
    // states for some 1e13 steps before it settles.
    const Chain c = MakeNumericChain(ChainType::Continuous, {{0, 1e9}, {1e9, 0}}, {1, 0}, {0, 0});
    AnalysisParams params = Params(Analysis::Transient, 1, {4000});
    params.endStates = {1};
    RecordingProgress progress;
    auto r = Transient(c, params, progress);
    EXPECT_EQ(r.problem, "Time points must be at most 2 for this chain");
    EXPECT_EQ(progress.begins, 0);
    // The same flipping pair, left for a third state at rate 1: the survival
    // probability decays over some 1e10 steps.
    const Chain leaky =
        MakeNumericChain(ChainType::Continuous, {{0, 1e9, 1}, {1e9, 0, 0}, {0, 0, 0}}, {0, 0, 0}, {0, 0, 0});
    params.analysis = Analysis::FirstPassage;
    params.stateA = 3;
    EXPECT_EQ(FirstPassage(leaky, params, progress).problem, "Time points must be at most 1 for this chain");
    EXPECT_EQ(progress.begins, 0);
}

TEST(MarkovData, ValuesBeyondTheComputableRangeAreRefused) {
    ChainData data = MakeChain(ChainType::Continuous, 2);
    data.matrix = {{"0", "1e308"}, {"1", "0"}};
    data.cost = {"0", "0"};
    data.transitionCost = {"0", "0"};
    auto v = ValidateChain(data);
    ASSERT_TRUE(std::holds_alternative<InputProblem>(v));
    EXPECT_EQ(std::get<InputProblem>(v).message, "Illegal value in transitionmatrix.");
    data.matrix = {{"0", "1"}, {"1", "0"}};
    for (const char* big : {"1e300", "-1e300", "2000000000"}) {
        data.cost = {"0", big};
        v = ValidateChain(data);
        ASSERT_TRUE(std::holds_alternative<InputProblem>(v)) << big;
        EXPECT_EQ(std::get<InputProblem>(v).message, "Illegal value in cost vector.");
    }
    data.cost = {"0", "0"};
    data.transitionCost = {"1e300", "0"};
    v = ValidateChain(data);
    ASSERT_TRUE(std::holds_alternative<InputProblem>(v));
    EXPECT_EQ(std::get<InputProblem>(v).message, "Illegal value in cost vector.");
}

} // namespace
} // namespace tarvik::markov

namespace tarvik::markov {
namespace {

TEST(MarkovExtremes, LargestAcceptedRatesAndCostsNeverPrintNanOrInf) {
    const std::regex value("(^|[^A-Za-z])(nan|inf)([^A-Za-z]|$)", std::regex::icase);
    const double big = kMaxChainValue;
    const Chain chains[] = {
        MakeNumericChain(ChainType::Continuous, {{0, big, 1e-9}, {1, 0, big}, {big, 1e-9, 0}},
                         {big, -99999, 0}, {big, big, -99999}),
        MakeNumericChain(ChainType::Continuous, {{0, 1e-9}, {1e-9, 0}}, {big, big}, {big, big}),
        MakeNumericChain(ChainType::Discrete, {{1, 0}, {1e-9, 1 - 1e-9}}, {big, -99999}),
    };
    for (const Chain& c : chains) {
        std::vector<Report> reports = {ChainStructure(c), SteadyState(c)};
        for (TransientOutput out :
             {TransientOutput::Probabilities, TransientOutput::SojournTimes, TransientOutput::Costs}) {
            AnalysisParams params = Params(Analysis::Transient, 1, {1, 5000});
            params.endStates = {1, 2};
            params.transientOutput = out;
            RecordingProgress progress;
            reports.push_back(Transient(c, params, progress));
        }
        AnalysisParams params = Params(Analysis::FirstPassage, 1, {1, 5000});
        params.stateA = 2;
        RecordingProgress progress;
        reports.push_back(FirstPassage(c, params, progress));
        for (const Report& r : reports) {
            const std::string text = JoinLines(r.lines);
            EXPECT_FALSE(std::regex_search(text, value)) << text;
        }
    }
}

} // namespace
} // namespace tarvik::markov
