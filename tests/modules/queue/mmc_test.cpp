#include "modules/queue/mmc.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tarvik::queue {
namespace {

// Erlang C summed directly in long double: a^k/k! for k < c and the tail term.
long double ErlangC(int c, long double rho) {
    const long double a = c * rho;
    long double term = 1, sum = 0;
    for (int k = 0; k < c; ++k) {
        sum += term;
        term = term * a / (k + 1);
    }
    const long double tail = term / (1 - rho); // a^c / c! / (1 - rho)
    return tail / (sum + tail);
}

RunResult RunMMCPage(const std::string& c, const std::string& rho, const std::string& output = "standard",
                     ListTexts list = {}) {
    PageInput in;
    in.fields = {{"c", c}, {"rho", rho}};
    in.choices = {{"output", output}};
    in.tvalues = in.pvalues = in.nvalues = list;
    return RunPage(Page::MMC, in);
}

std::vector<std::string> Texts(const RunResult& r) {
    std::vector<std::string> t;
    for (const auto& l : r.report.lines) t.push_back(l.text);
    return t;
}

TEST(MMC, SingleServerIsTheMM1Queue) {
    const RunResult r = RunMMCPage("1", "0.5", "states", {"0", "1", "3"});
    const std::vector<std::string> expected = {
        "M/M/c queue",
        "Parameters: c=1  rho=0.5",
        "Results: Pwait   = 0.5",
        "         Pbusy   = 0.5",
        "         E(Wq)   = 1",
        "         E(Lq)   = 0.5",
        "         Std(Wq) = 1.732",
        "         Std(Lq) = 1.118",
        "",
        "   n      P{L=n}      P{L>n}",
        "   0   0.5000000   0.5000000",
        "   1   0.2500000   0.2500000",
        "   3   0.0625000   0.0625000",
        "Accuracy Check =       0",
        "",
    };
    EXPECT_EQ(Texts(r), expected);
    EXPECT_EQ(r.report.lines[0].style, LogStyle::Title);
    EXPECT_EQ(r.report.lines[1].style, LogStyle::Parameters);
    EXPECT_EQ(r.report.lines[12].style, LogStyle::TableEdge);
    for (double rho : {0.01, 0.3, 0.77, 0.999}) {
        const MMCResults m = SolveMMC(1, rho);
        EXPECT_NEAR(m.pwait, rho, 1e-15);
        EXPECT_NEAR(m.pwaitAlt, rho, 1e-15);
        EXPECT_LT(m.accuracy, 1e-12);
        for (int n : {0, 1, 5, 40}) EXPECT_NEAR(MMCTail(m, 1, rho, n), std::pow(rho, n + 1), 1e-13);
    }
}

TEST(MMC, PwaitAgreesWithErlangCSummedInLongDouble) {
    for (int c : {2, 3, 7, 10, 25, 40, 80, 150})
        for (double rho : {0.5, 0.8, 0.95, 0.999}) {
            if (MMCRhoTooSmall(c, rho)) continue;
            const MMCResults m = SolveMMC(c, rho);
            const double exact = static_cast<double>(ErlangC(c, rho));
            EXPECT_NEAR(m.pwait / exact, 1, 1e-11) << "c=" << c << " rho=" << rho;
            EXPECT_NEAR(m.pwaitAlt / exact, 1, 1e-11) << "c=" << c << " rho=" << rho;
            EXPECT_NEAR(m.ewq, exact / ((1 - rho) * c), 1e-11 * m.ewq + 1e-300);
            EXPECT_LT(m.accuracy, 1e-9);
        }
    EXPECT_NEAR(SolveMMC(10, 0.8).pwait, 0.409180, 5e-7);
}

TEST(MMC, LargestSystemStaysFinite) {
    const MMCResults m = SolveMMC(2500, 0.9);
    EXPECT_NEAR(m.pwait / 1.2073e-07, 1, 1e-4);
    EXPECT_NEAR(m.pwait / m.pwaitAlt, 1, 1e-9);
    const RunResult r = RunMMCPage("2500", "0.71", "graphs");
    for (const auto& line : Texts(r)) {
        EXPECT_EQ(line.find("nan"), std::string::npos) << line;
        EXPECT_EQ(line.find("inf"), std::string::npos) << line;
    }
}

TEST(MMC, ReliabilityGuard) {
    EXPECT_EQ(Texts(RunMMCPage("1", "0.000000001")),
              (std::vector<std::string>{"Rho too small for reliable results.", ""}));
    EXPECT_EQ(Texts(RunMMCPage("1", "0.00000001")).front(), "M/M/c queue");
    EXPECT_EQ(Texts(RunMMCPage("2500", "0.7")).front(), "Rho too small for reliable results.");
    EXPECT_EQ(Texts(RunMMCPage("2500", "0.71")).front(), "M/M/c queue");
    EXPECT_EQ(Texts(RunMMCPage("26", "0.15")).front(), "Rho too small for reliable results.");
    EXPECT_EQ(Texts(RunMMCPage("26", "0.16")).front(), "M/M/c queue");
    EXPECT_EQ(Texts(RunMMCPage("251", "0.6")).front(), "Rho too small for reliable results.");
}

TEST(MMC, InputErrorsWriteNothing) {
    struct Case {
        std::string c;
        std::string rho;
        std::string message;
    };
    const Case cases[] = {
        {"", "0.5", "c incorrect"},
        {"abc", "0.5", "c incorrect"},
        {"99999999999", "0.5", "c incorrect"},
        {"0", "0.5", "c out of range"},
        {"2501", "0.5", "c out of range"},
        {"3", "", "Rho incorrect"},
        {"3", ".", "Rho incorrect"},
        {"3", std::string(400, '9'), "Rho incorrect"},
        {"3", "0", "Rho out of range"},
        {"3", "0.9991", "Rho out of range"},
        {"3", "1.5", "Rho out of range"},
        {"", "", "c incorrect"},
    };
    for (const Case& k : cases) {
        const RunResult r = RunMMCPage(k.c, k.rho, "wait", {"1", "x"});
        EXPECT_EQ(r.inputError, k.message) << k.c << " " << k.rho;
        EXPECT_TRUE(r.report.lines.empty());
        EXPECT_FALSE(r.tvalues) << "the list is read after the fields";
    }
    EXPECT_TRUE(RunMMCPage("3", "0.999").inputError.empty());
}

TEST(MMC, WaitingTimesAndPercentiles) {
    const RunResult w = RunMMCPage("1", "0.3", "wait", {"1", "", "0", "zz"});
    ASSERT_TRUE(w.tvalues);
    EXPECT_EQ((*w.tvalues)[0], "0");
    EXPECT_EQ((*w.tvalues)[2], "zz**");
    const auto t = Texts(w);
    EXPECT_EQ(t[9], "         t     P{Wq>t}");
    EXPECT_EQ(t[10], "         0   0.3000000");
    EXPECT_EQ(t[11], "         1  " + FormatProbability(0.3 * std::exp(-0.7)));
    const RunResult p = RunMMCPage("1", "0.3", "percentiles", {"0.5", "0.9", "0.9999999"});
    const auto pt = Texts(p);
    EXPECT_EQ(pt[10], "  0.500000   undefined");
    EXPECT_EQ(pt[11], "  0.900000  " + FormatFraction(std::log(0.3 / 0.1) / 0.7));
    EXPECT_EQ(pt[12].rfind("Accuracy Check", 0), 0u); // the marked entry is left out
    EXPECT_EQ((*p.pvalues)[2], "0.9999999**");
}

TEST(MMC, StatesContinueGeometricallyFromC) {
    const RunResult r = RunMMCPage("4", "0.8", "states", {"3", "4", "5", "6"});
    const MMCResults m = SolveMMC(4, 0.8);
    const auto t = Texts(r);
    // P{L=n} for n >= c is rho^(n-c+1) p(c-1).
    EXPECT_EQ(t[11], "   4  " + FormatProbability(0.8 * m.p) + "  " + FormatProbability(m.p * 0.64 / 0.2));
    EXPECT_EQ(t[13],
              "   6  " + FormatProbability(0.512 * m.p) + "  " + FormatProbability(m.p * 0.4096 / 0.2));
    // Continuity: P{L>c-1} = P{L=c} + P{L>c}.
    EXPECT_NEAR(MMCTail(m, 4, 0.8, 3), 0.8 * m.p + MMCTail(m, 4, 0.8, 4), 1e-14);
}

TEST(MMC, Graphs) {
    const RunResult r = RunMMCPage("10", "0.8", "graphs");
    ASSERT_TRUE(r.graphWindowCreated);
    ASSERT_TRUE(r.graphWindow);
    const GraphWindowData& g = *r.graphWindow;
    EXPECT_EQ(g.title, "Logarithmic Graphs of the M/M/c queue");
    EXPECT_EQ(g.label1, "c =   10");
    EXPECT_EQ(g.label2, "rho = 0.8");
    ASSERT_EQ(g.graphs.size(), 2u);
    const auto& wait = g.graphs[0].points;
    EXPECT_GE(wait.size(), 24u);
    EXPECT_LE(wait.size(), 50u);
    const double tmax = std::log(1000.0) / 2.0;
    EXPECT_GE(wait.back().first, tmax);
    EXPECT_LT(wait[wait.size() - 2].first, tmax);
    EXPECT_NEAR(wait.back().second, std::exp(-2.0 * wait.back().first), 1e-15);
    const auto& state = g.graphs[1].points;
    EXPECT_GE(state.size(), 10u);
    EXPECT_LE(state.size(), 60u);
    EXPECT_LE(state.back().second, 0.001);
    EXPECT_EQ(g.graphs[1].yTitle, "Probaility");
    // Large c: the state graph never samples beyond 10000 and is thinned.
    const RunResult big = RunMMCPage("2500", "0.999", "graphs");
    ASSERT_TRUE(big.graphWindow);
    EXPECT_LE(big.graphWindow->graphs[1].points.back().first, 10000);
    EXPECT_LE(big.graphWindow->graphs[1].points.size(), 60u);
    // Pdelay too small: the report, the notice, no window shown.
    const RunResult small = RunMMCPage("25", "0.2", "graphs");
    EXPECT_TRUE(small.graphWindowCreated);
    EXPECT_FALSE(small.graphWindow);
    const auto t = Texts(small);
    ASSERT_GE(t.size(), 2u);
    EXPECT_EQ(t[t.size() - 2], "Pdelay too small for graphs");
    EXPECT_EQ(t[t.size() - 4].rfind("Accuracy Check = ", 0), 0u);
}

} // namespace
} // namespace tarvik::queue
