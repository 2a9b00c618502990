#include "modules/queue/queuenum.h"
#include "modules/queue/queuereport.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tarvik::queue {
namespace {

TEST(Formats, Probability) {
    EXPECT_EQ(FormatProbability(-0.25), " 0.2500000");
    EXPECT_EQ(FormatProbability(3e-9), " 3.000e-09");
    EXPECT_EQ(FormatProbability(1e-13), "         0");
    EXPECT_EQ(FormatProbability(1e-6), " 0.0000010");
    EXPECT_EQ(FormatProbability(1), " 1.0000000");
    EXPECT_EQ(FormatProbabilityTrimmed(3e-9), "3.000e-09");
    EXPECT_EQ(FormatProbability(std::nan("")).find("nan"), std::string::npos);
}

TEST(Formats, Fraction) {
    EXPECT_EQ(FormatFraction(0.95), "  0.950000");
    EXPECT_EQ(FormatFraction(0), "  0.000000");
    EXPECT_EQ(FormatFraction(3.2), "   3.20000");
    EXPECT_EQ(FormatFraction(123.4), "   123.400");
    EXPECT_EQ(FormatFraction(999999), "    999999");
    EXPECT_EQ(FormatFraction(1234567), " 1.2E+0006");
    EXPECT_EQ(FormatFraction(0.999999), "  0.999999");
    EXPECT_EQ(FormatAccuracy(0), "      0");
    EXPECT_EQ(FormatAccuracy(1.23456e-9), "1.23e-09");
}

TEST(Primitives, GuardedExpLnPower) {
    EXPECT_EQ(SafeExp(-100), 0);
    EXPECT_DOUBLE_EQ(SafeExp(-99), std::exp(-99));
    EXPECT_EQ(SafeLn(0), -750);
    EXPECT_EQ(SafeLn(-3), -750);
    EXPECT_DOUBLE_EQ(SafeLn(2), std::log(2));
    EXPECT_EQ(Power(0, 0), 0);
    EXPECT_NEAR(Power(2, 10), 1024, 1e-9);
    EXPECT_EQ(Power(-2, 1), 0); // exp(-750)
    EXPECT_EQ(CountOf(2.9999999999999), 3);
    EXPECT_EQ(CountOf(3.5), 3);
}

TEST(Primitives, ReadingFieldTexts) {
    EXPECT_EQ(ReadInteger(" 12 "), 12);
    EXPECT_FALSE(ReadInteger("99999999999"));
    EXPECT_FALSE(ReadInteger(""));
    EXPECT_FALSE(ReadInteger("1.5"));
    EXPECT_EQ(ReadReal("0.5"), 0.5);
    EXPECT_FALSE(ReadReal(std::string(400, '9')));
    EXPECT_FALSE(ReadReal("."));
}

TEST(FieldFilter, KeepsDigitsAndThePoint) {
    FieldText f = FilterFieldText("1,5e-3", 6, false);
    EXPECT_EQ(f.text, "153");
    EXPECT_EQ(f.caret, 3);
    EXPECT_TRUE(f.changed);
    f = FilterFieldText("-7", 2, true);
    EXPECT_EQ(f.text, "7");
    EXPECT_EQ(f.caret, 1);
    f = FilterFieldText("2.5", 1, true);
    EXPECT_EQ(f.text, "25");
    EXPECT_EQ(f.caret, 1); // the point stood after the caret
    EXPECT_FALSE(FilterFieldText("0.25", 0, false).changed);
}

TEST(ValueLists, SortedMarkedAndRewritten) {
    ListTexts in{"0.9", "0.5", "abc", "", "2", "0.1"};
    const ValueList l = ReadValueList(in, ValueKind::Real, kPListUpper);
    const ListTexts expected{"0.1", "0.5", "0.9", "abc**", "2**", "", "", "", "", "", "", ""};
    EXPECT_EQ(l.Texts(), expected);
    ASSERT_EQ(l.count, 3);
    EXPECT_EQ(l.values, (std::vector<double>{0.1, 0.5, 0.9}));
}

TEST(ValueLists, MarkedOnceDuplicatesKeptIntegersChecked) {
    ListTexts in{"7**", " 3 ", "3", "", "5001", "0"};
    const ValueList l = ReadValueList(in, ValueKind::Integer, 5000);
    EXPECT_EQ(l.entries[0].text, "0");
    EXPECT_EQ(l.entries[1].text, "3");
    EXPECT_EQ(l.entries[2].text, "3");
    EXPECT_EQ(l.count, 3);
    // The entry already ending in "*" keeps its text; the new one is marked.
    const ListTexts t = l.Texts();
    EXPECT_NE(std::find(t.begin(), t.end(), "7**"), t.end());
    EXPECT_NE(std::find(t.begin(), t.end(), "5001**"), t.end());
    EXPECT_EQ(std::find(t.begin(), t.end(), "7****"), t.end());
    const ValueList empty = ReadValueList(ListTexts{}, ValueKind::Real, 10);
    EXPECT_EQ(empty.count, 0);
}

TEST(Graphs, TimeStep) {
    EXPECT_NEAR(GraphTimeStep(3.45), 0.1, 1e-15);
    EXPECT_NEAR(GraphTimeStep(0.5), 0.02, 1e-15);
    // Every graph built on the step has between 24 and 50 points.
    for (double tmax = 0.0013; tmax < 1e5; tmax *= 1.37) {
        const double step = GraphTimeStep(tmax);
        int n = 0;
        for (double t = 0; t < tmax; t += step) ++n;
        EXPECT_GE(n, 24) << tmax;
        EXPECT_LE(n, 50) << tmax;
    }
}

TEST(Graphs, CascadeShiftsAndNeverDividesByZero) {
    EXPECT_EQ(CascadePosition(0, 100, 50, 1024, 768, 500, 400), std::make_pair(100, 50));
    EXPECT_EQ(CascadePosition(3, 100, 50, 1024, 768, 500, 400), std::make_pair(160, 110));
    EXPECT_EQ(CascadePosition(30, 100, 50, 1024, 768, 500, 400), std::make_pair(700 % 524, 650 % 368));
    EXPECT_EQ(CascadePosition(2, 10, 10, 800, 600, 800, 700), std::make_pair(0, 0));
}

TEST(Graphs, WaitingTimePointsOnAnExponentialTail) {
    const double mu = 2.5, pwait = 0.4;
    auto pwq = [&](double t) { return pwait * std::exp(-mu * t); };
    const double tmax = WaitingTimeGraphEnd(pwq, pwait);
    EXPECT_NEAR(tmax, std::log(1000.0) / mu, 1e-9);
    const GraphPoints pts = WaitingTimeGraphPoints(pwq, pwait);
    EXPECT_EQ(pts.front(), std::make_pair(0.0, 1.0));
    EXPECT_GE(pts.size(), 25u);
    EXPECT_LE(pts.size(), 52u);
    EXPECT_GE(pts.back().first, tmax);
    EXPECT_LT(pts[pts.size() - 2].first, tmax);
    EXPECT_NEAR(pts[3].second, std::exp(-mu * pts[3].first), 1e-15);
    // A tail already at the target: only the start point.
    EXPECT_EQ(WaitingTimeGraphPoints([](double) { return 0.0; }, 0.3).size(), 1u);
}

TEST(Graphs, StateThinning) {
    // Slow decay: sampling passes 500 points and thins to every 10th.
    const GraphPoints pts = ThinnedStateGraphPoints([](int n) { return std::pow(0.995, n); });
    ASSERT_FALSE(pts.empty());
    EXPECT_LE(pts.back().second, 0.001 * 1.1);
    EXPECT_LE(pts.size(), 100u);
    for (std::size_t i = 1; i < pts.size(); ++i)
        EXPECT_DOUBLE_EQ(pts[i].first - pts[i - 1].first, pts[1].first - pts[0].first);
    // Fast decay: every point kept.
    const GraphPoints fast = ThinnedStateGraphPoints([](int n) { return std::pow(0.5, n); });
    EXPECT_EQ(fast.size(), 10u);
    EXPECT_EQ(fast.front().first, 1);
    // Never beyond 10000.
    const GraphPoints flat = ThinnedStateGraphPoints([](int) { return 0.5; });
    EXPECT_LE(flat.back().first, 10000 + 1000);
    EXPECT_GE(flat.back().first, 10000);
}

TEST(Graphs, DistributionGivenInFull) {
    // p = (1/2, 1/4, 1/8, 1/8): exact in binary, so the tails are exact too.
    const FullDistribution d({0.5, 0.25, 0.125, 0.125});
    EXPECT_EQ(d.Eq(1), 0.25);
    EXPECT_EQ(d.Gt(0), 0.5);
    EXPECT_EQ(d.Gt(1), 0.25);
    EXPECT_EQ(d.Gt(2), 0.125);
    EXPECT_EQ(d.Gt(3), 0);
    EXPECT_EQ(d.Eq(4), 0); // beyond the last state
    EXPECT_EQ(d.Gt(40), 0);
    // P{L > n | L > 0} from (0, 1) down to the first zero.
    EXPECT_EQ(d.ConditionalTailGraph(), (GraphPoints{{0, 1}, {1, 0.5}, {2, 0.25}, {3, 0}}));
    // Nothing but the empty state: a flat zero after the first point, no division by zero.
    const GraphPoints empty = FullDistribution({1.0}).ConditionalTailGraph();
    ASSERT_GE(empty.size(), 2u);
    EXPECT_EQ(empty[1], (std::pair<double, double>{1, 0}));
}

TEST(ReportBlocks, TablesAreUnderlinedAtBothEnds) {
    Report r;
    WaitingTimeTable(r, {0.5, 1}, {0.25, 3e-9});
    ASSERT_EQ(r.lines.size(), 4u);
    EXPECT_EQ(r.lines[0].text, "");
    EXPECT_EQ(r.lines[1].text, "         t     P{Wq>t}");
    EXPECT_EQ(r.lines[1].style, LogStyle::TableEdge);
    EXPECT_EQ(r.lines[2].text, "       0.5   0.2500000");
    EXPECT_EQ(r.lines[2].style, LogStyle::Normal);
    EXPECT_EQ(r.lines[3].text, "         1   3.000e-09");
    EXPECT_EQ(r.lines[3].style, LogStyle::TableEdge);
    EXPECT_EQ(r.style, LogStyle::Normal);
    Report none;
    WaitingTimeTable(none, {}, {});
    EXPECT_TRUE(none.lines.empty());
    Report p;
    PercentileTable(p, {0.5, 0.9}, {std::nullopt, 1.5}, true);
    EXPECT_EQ(p.lines[1].text, "         p Percentile");
    EXPECT_EQ(p.lines[2].text, "  0.500000  undefined");
    EXPECT_EQ(p.lines[3].text, "  0.900000    1.50000");
    Report s;
    TimeStateTable(s, {2}, "P{L(time)=n}", "P{L(time)>n}", {0.5}, {0.25});
    EXPECT_EQ(s.lines[1].text, "   n  P{L(time)=n}  P{L(time)>n}");
    EXPECT_EQ(s.lines[2].text, "   2     0.5000000     0.2500000");
}

TEST(ReportBlocks, HeaderAndStandardResults) {
    Report r;
    ModelHeader(r, "M/M/c queue", "Parameters: c=1  rho=0.5");
    StandardResults(r, -0.5, 0.5, 1, 0.5, 1.7320508, 1.118034);
    ASSERT_EQ(r.lines.size(), 8u);
    EXPECT_EQ(r.lines[0].style, LogStyle::Title);
    EXPECT_EQ(r.lines[1].style, LogStyle::Parameters);
    EXPECT_EQ(r.lines[2].text, "Results: Pwait   = 0.5");
    EXPECT_EQ(r.lines[2].style, LogStyle::Normal);
    EXPECT_EQ(r.lines[6].text, "         Std(Wq) = 1.732");
}

} // namespace
} // namespace tarvik::queue

#include "modules/queue/numerics.h"
#include "modules/queue/queuemodel.h"

namespace tarvik::queue {
namespace {

// A model that writes a line, opens a graph window and then breaks down.
void BreaksDown(const PageInput& input, RunResult& result) {
    result.graphWindowCreated = true;
    result.graphWindow = GraphWindowData{};
    ModelHeader(result.report, "Model", "Parameters: " + input.Field("c"));
    result.report.SetStyle(LogStyle::TableEdge);
    if (input.Choice("output") == "box")
        throw Breakdown({"Error : No correct interval for bisection !"}, true);
    throw Breakdown({"pause in RTBIS", "Root must be bracketed for bisection."});
}

TEST(Breakdowns, EndTheRunKeepingWhatWasWritten) {
    PageInput in;
    in.fields["c"] = "3";
    const RunResult r = RunModel(BreaksDown, in);
    EXPECT_TRUE(r.breakdown);
    EXPECT_TRUE(r.inputError.empty());
    EXPECT_FALSE(r.graphWindow);
    ASSERT_EQ(r.report.lines.size(), 4u);
    EXPECT_EQ(r.report.lines[1].text, "Parameters: 3");
    EXPECT_EQ(r.report.lines[2].text, "pause in RTBIS");
    EXPECT_EQ(r.report.lines[2].style, LogStyle::Normal);
    EXPECT_EQ(r.report.lines[3].text, "Root must be bracketed for bisection.");
    in.choices["output"] = "box";
    const RunResult b = RunModel(BreaksDown, in);
    EXPECT_TRUE(b.breakdown);
    EXPECT_EQ(b.report.lines.size(), 2u);
    EXPECT_EQ(b.breakdownBox, "Error : No correct interval for bisection !");
    // A page without a model does nothing.
    EXPECT_TRUE(RunPage(Page::MG1, in).report.lines.empty());
}

TEST(PageTable, TenPagesWithTheirContextsAndWords) {
    ASSERT_EQ(Pages().size(), static_cast<std::size_t>(kPageCount));
    const int contexts[] = {100, 110, 120, 130, 140, 150, 160, 200, 170, 180};
    for (int i = 0; i < kPageCount; ++i) {
        EXPECT_EQ(static_cast<int>(Pages()[static_cast<std::size_t>(i)].page), i);
        EXPECT_EQ(Pages()[static_cast<std::size_t>(i)].helpContext, contexts[i]);
    }
    EXPECT_NE(PageOf(Page::MMC).run, nullptr);
    EXPECT_STREQ(PageOf(Page::FinSrc).word, "finsrc");
}

} // namespace
} // namespace tarvik::queue
