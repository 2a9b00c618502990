#include "plot/plotaxis.h"
#include "plot/plotseries.h"

#include <gtest/gtest.h>

namespace tarvik::plot {
namespace {

TAxis Autosized(double dmin, double dmax) {
    TAxis a;
    a.AutoSizing = true;
    a.AutoStepping = true;
    a.hasData = true;
    a.dataMin = dmin;
    a.dataMax = dmax;
    AutoScale(a, 5, 50);
    return a;
}

TEST(GetStep, FirstDivisorGivingEnoughSteps) {
    EXPECT_DOUBLE_EQ(GetStep(999, 5), 100);
    EXPECT_DOUBLE_EQ(GetStep(3.6, 5), 0.5);
    EXPECT_DOUBLE_EQ(GetStep(2, 5), 0.2);
    EXPECT_DOUBLE_EQ(GetStep(0.7, 5), 0.1);
    EXPECT_DOUBLE_EQ(GetStep(10, 5), 2);
    EXPECT_THROW(GetStep(0, 5), PlotError);
    EXPECT_THROW(GetStep(-1, 5), PlotError);
}

TEST(SetMinMax, SinglePointsScaleFromZero) {
    TAxis a = Autosized(3, 3);
    EXPECT_DOUBLE_EQ(a.Min, 0);
    EXPECT_DOUBLE_EQ(a.Max, 3.5);
    EXPECT_DOUBLE_EQ(a.StepSize, 0.5);
    TAxis z = Autosized(0, 0);
    EXPECT_DOUBLE_EQ(z.Min, -1);
    EXPECT_DOUBLE_EQ(z.Max, 1);
    TAxis n = Autosized(-3, -3);
    EXPECT_DOUBLE_EQ(n.Min, 1.2 * -3); // only the upper limit is rounded
    EXPECT_DOUBLE_EQ(n.Max, 0);
}

TEST(SetMinMax, RangeRoundsOutwardsAndDropsToZero) {
    TAxis a = Autosized(0.2, 0.9);
    EXPECT_NEAR(a.StepSize, 0.1, 1e-15);
    EXPECT_DOUBLE_EQ(a.Min, 0);
    EXPECT_NEAR(a.Max, 1.0, 1e-12);
    // Far from zero the lower limit stays one step below the data.
    TAxis b = Autosized(10, 12);
    EXPECT_NEAR(b.StepSize, 0.2, 1e-15);
    EXPECT_NEAR(b.Min, 9.8, 1e-12);
    EXPECT_NEAR(b.Max, 12.2, 1e-12);
    // Negative data.
    TAxis c = Autosized(-5, -1);
    EXPECT_LT(c.Min, -5);
    EXPECT_LE(c.Max, 0);
    EXPECT_GE(c.Max, -1);
}

TEST(SetMinMax, InvertedDataIsAnError) {
    TAxis a;
    EXPECT_THROW(SetMinMax(a, 2, 1, 5, 50), PlotError);
}

TEST(ScaleWithoutData, EqualLimits) {
    TAxis a;
    a.Min = a.Max = 0;
    ScaleWithoutData(a, 5);
    EXPECT_EQ(a.Min, -1);
    EXPECT_EQ(a.Max, 1);
    TAxis b;
    b.Min = 8;
    b.Max = 2;
    ScaleWithoutData(b, 5);
    EXPECT_EQ(b.Min, 2);
    EXPECT_EQ(b.Max, 8);
}

TEST(LinearTicks, LabelsAndDecimalsFollowTheStep) {
    TAxis a = Autosized(3, 3); // 0 .. 3.5 by 0.5
    auto ticks = LinearTicks(a, 5, 50);
    ASSERT_EQ(ticks.size(), 8u);
    EXPECT_EQ(ticks.front().label, "0.0");
    EXPECT_EQ(ticks.back().label, "3.5");
    TAxis b = Autosized(0, 0); // -1 .. 1 by 0.2
    ticks = LinearTicks(b, 5, 50);
    ASSERT_EQ(ticks.size(), 11u);
    EXPECT_EQ(ticks.front().label, "-1.0");
    EXPECT_EQ(ticks[5].label, "0.0");
    TAxis c;
    c.Min = 0;
    c.Max = 50000;
    c.StepSize = 10000;
    ticks = LinearTicks(c, 5, 50);
    ASSERT_EQ(ticks.size(), 6u);
    EXPECT_EQ(ticks[0].label, "0");
    EXPECT_EQ(ticks[1].label, "1.0E+4");
    // Too many steps: the step is replaced.
    TAxis d;
    d.Min = 0;
    d.Max = 1000;
    d.StepSize = 1;
    double used = 0;
    ticks = LinearTicks(d, 5, 50, &used);
    EXPECT_DOUBLE_EQ(used, 200);
    EXPECT_EQ(ticks.size(), 6u);
}

TEST(LogTicks, DesignedProbabilityAxis) {
    TAxis a;
    a.LogScale = true;
    a.Min = 0.001;
    a.Max = 1;
    a.LabelDecimals = 0;
    auto ticks = LogTicks(a);
    std::vector<std::string> labels;
    for (const Tick& t : ticks) {
        EXPECT_TRUE(t.labelled);
        labels.push_back(t.label);
    }
    const std::vector<std::string> expected = {"0.001", "0.002", "0.005", "0.01", "0.02",
                                               "0.05",  "0.1",   "0.2",   "0.5",  "1"};
    EXPECT_EQ(labels, expected);
}

TEST(LogTicks, ManyDecadesLabelOnlyDecadeStarts) {
    TAxis a;
    a.LogScale = true;
    a.Min = 1e-6;
    a.Max = 1;
    auto ticks = LogTicks(a);
    int labelled = 0;
    for (const Tick& t : ticks) labelled += t.labelled;
    EXPECT_EQ(labelled, 7);
    EXPECT_EQ(ticks.size(), 19u);
    EXPECT_EQ(LogMantissas(9).size(), 11u);
    EXPECT_EQ(LogMantissas(12).size(), 11u);
    EXPECT_EQ(LogMantissas(5).size(), 7u);
}

TEST(ValueToPixel, ClampsBothWays) {
    TAxis x;
    x.Min = 0;
    x.Max = 10;
    ASSERT_TRUE(ComputeFactor(x, 100));
    EXPECT_EQ(XPixel(x, 5, 40), 90);
    // Far outside after a zoom: left stays left, right stays right.
    EXPECT_EQ(XPixel(x, -1e9, 40), -20000 + 40);
    EXPECT_EQ(XPixel(x, 1e9, 40), 20000 + 40);
    TAxis y;
    y.LogScale = true;
    y.Min = 0.001;
    y.Max = 1;
    ASSERT_TRUE(ComputeFactor(y, 300));
    EXPECT_EQ(YPixel(y, 1, 30), 30);
    EXPECT_EQ(YPixel(y, 0.001, 30), 330);
    EXPECT_EQ(YPixel(y, 0.1, 30), 130);
    EXPECT_NEAR(YValue(y, 130, 30), 0.1, 1e-12);
    EXPECT_NEAR(XValue(x, 90, 40), 5, 1e-12);
    TAxis bad;
    bad.LogScale = true;
    bad.Min = 0;
    EXPECT_FALSE(ComputeFactor(bad, 100));
}

TEST(Zoom, RectangleSetsLimitsAndATinyOneUndoes) {
    TAxis x, y, y2;
    x.AutoSizing = true;
    x.Min = 0;
    x.Max = 10;
    y.Min = 0;
    y.Max = 100;
    y2.Min = 0;
    y2.Max = 1;
    ASSERT_TRUE(ComputeFactor(x, 100));
    ASSERT_TRUE(ComputeFactor(y, 100));
    ASSERT_TRUE(ComputeFactor(y2, 100));
    ZoomMemory mem;
    RememberAxes(mem, {&x, &y, &y2});
    ApplyZoom(mem, {&x, &y, &y2}, 10, 20, 60, 70, 0, 0);
    EXPECT_TRUE(mem.zoomed);
    EXPECT_FALSE(x.AutoSizing);
    EXPECT_DOUBLE_EQ(x.Min, 1);
    EXPECT_DOUBLE_EQ(x.Max, 6);
    EXPECT_DOUBLE_EQ(y.Min, 30);
    EXPECT_DOUBLE_EQ(y.Max, 80);
    // A second zoom keeps the first memory.
    ComputeFactor(x, 100);
    ComputeFactor(y, 100);
    RememberAxes(mem, {&x, &y, &y2});
    ApplyZoom(mem, {&x, &y, &y2}, 0, 0, 50, 50, 0, 0);
    EXPECT_DOUBLE_EQ(x.Max, 3.5);
    ApplyZoom(mem, {&x, &y, &y2}, 10, 10, 12, 40, 0, 0);
    EXPECT_FALSE(mem.zoomed);
    EXPECT_TRUE(x.AutoSizing);
    EXPECT_DOUBLE_EQ(y.Min, 0);
    EXPECT_DOUBLE_EQ(y.Max, 100);
}

TEST(DataSeries, ToleranceMergeKeepsOrder) {
    TDataSeries s;
    EXPECT_EQ(s.Add(1, 10), 1);
    EXPECT_EQ(s.Add(3, 30), 2);
    EXPECT_EQ(s.Add(2, 20), 3);
    // Within 0.05 of x = 2: replaces that point.
    EXPECT_EQ(s.Add(2.04, 21), 3);
    // Within 0.05 of the last point.
    EXPECT_EQ(s.Add(3.01, 31), 2);
    ASSERT_EQ(s.Count(), 3);
    EXPECT_DOUBLE_EQ(s.Points()[1].x, 2.04);
    EXPECT_DOUBLE_EQ(s.Points()[1].y, 21);
    EXPECT_DOUBLE_EQ(s.Points()[2].y, 31);
    EXPECT_EQ(s.Add(0, 5), 4);
    EXPECT_DOUBLE_EQ(s.Points()[0].x, 0);
    double lo, hi;
    ASSERT_TRUE(s.YRange(lo, hi));
    EXPECT_DOUBLE_EQ(lo, 5);
    EXPECT_DOUBLE_EQ(hi, 31);
    s.DuplicatesAllowed = true;
    s.Add(0, 7);
    EXPECT_EQ(s.Count(), 5);
    s.Clear();
    EXPECT_EQ(s.Count(), 0);
    EXPECT_FALSE(s.YRange(lo, hi));
    EXPECT_EQ(s.Add(4, 4), 1);
}

TEST(SeriesDefaults, ByNumber) {
    TSeries one(1), two(2), five(5), six(6);
    EXPECT_EQ(one.SeriesName, "Series 1");
    EXPECT_EQ(one.LineColor, colors::Green);
    EXPECT_EQ(one.Shape, PointShape::Square);
    EXPECT_TRUE(one.FillPoints);
    EXPECT_EQ(two.Style, LineStyle::Dash);
    EXPECT_EQ(two.Shape, PointShape::Circle);
    EXPECT_FALSE(five.FillPoints);
    EXPECT_EQ(five.LineColor, colors::Maroon);
    EXPECT_EQ(six.LineColor, colors::Green);
    EXPECT_EQ(six.Style, LineStyle::Solid);
    one.SetPointSize(5);
    EXPECT_EQ(one.PointSize(), 6);
    one.SetPointSize(1);
    EXPECT_EQ(one.PointSize(), 2);
}

} // namespace
} // namespace tarvik::plot
