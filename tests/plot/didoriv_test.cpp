#include "plot/didoriv.h"
#include "support/apptesting.h"

#include <QImage>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

namespace tarvik::plot {
namespace {

QImage Render(TdiDoriv& g) {
    QImage img(g.size(), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    g.PaintGraph(p);
    return img;
}

int CountColor(const QImage& img, QRgb c) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += (img.pixel(x, y) & 0xFFFFFF) == (c & 0xFFFFFF);
    return n;
}

void ProbabilityAxis(TdiDoriv& g) {
    g.YAxis.LogScale = true;
    g.YAxis.Min = 0.001;
    g.YAxis.Max = 1;
    g.XAxis.AutoSizing = true;
    g.XAxis.AutoStepping = true;
}

TEST(GraphControl, SymbolsOnlyShowGreenSquares) {
    TdiDoriv g;
    g.resize(300, 250);
    ProbabilityAxis(g);
    g.SetPlotting(false);
    TSeries& s = g.Series(1);
    s.ShowLine = false;
    for (int i = 1; i <= 10; ++i) s.Add(i, std::pow(0.5, i));
    g.SetPlotting(true);
    const QImage img = Render(g);
    EXPECT_TRUE(g.ScalesValid());
    EXPECT_GT(CountColor(img, qRgb(0, 0x80, 0)), 100);
    s.ShowPoints = false;
    s.ShowLine = true;
    s.LineColor = colors::Blue;
    const QImage line = Render(g);
    EXPECT_EQ(CountColor(line, qRgb(0, 0x80, 0)), 0);
    EXPECT_GT(CountColor(line, qRgb(0, 0, 0xFF)), 50);
}

TEST(GraphControl, ZeroOnLogAxisSkipsTheSeries) {
    TdiDoriv g;
    g.resize(300, 250);
    ProbabilityAxis(g);
    TSeries& s = g.Series(1);
    s.LineColor = s.PointColor = colors::Blue;
    s.Add(1, 0.5);
    s.Add(2, 0);
    const QImage img = Render(g);
    EXPECT_TRUE(g.ScalesValid());
    EXPECT_EQ(CountColor(img, qRgb(0, 0, 0xFF)), 0);
    EXPECT_GT(CountColor(img, qRgb(0, 0, 0)), 100); // axes and titles still drawn
}

TEST(GraphControl, InvalidScaleShowsTheErrorCaptionAndNothingThrows) {
    TdiDoriv g;
    g.resize(300, 250);
    g.YAxis.Min = 5;
    g.YAxis.Max = 1;
    g.Series(1).Add(1, 2);
    EXPECT_NO_THROW(Render(g));
    EXPECT_FALSE(g.ScalesValid());
    g.YAxis.LogScale = true;
    g.YAxis.Min = 0;
    g.YAxis.Max = 1;
    EXPECT_NO_THROW(Render(g));
    EXPECT_FALSE(g.ScalesValid());
}

// Screen readers hear the title, the ranges drawn and the series with their points.
TEST(GraphControl, DescriptionFollowsWhatIsDrawn) {
    TdiDoriv g;
    g.resize(300, 250);
    g.Appearance.GraphTitle = "Waiting time";
    g.XAxis.Title = "rho";
    g.YAxis.Title = "Wq";
    g.SetLimits(g.XAxis, 0, 1);
    g.SetLimits(g.YAxis, 0, 20);
    EXPECT_EQ(g.accessibleDescription().toStdString(), "diDoriv 3.00; no series drawn");
    g.Series(1).SeriesName = "M/M/1";
    for (int i = 1; i <= 9; ++i) g.Series(1).Add(i / 10.0, i);
    g.Series(3).Add(0.5, 2);
    g.Series(4).Active = false;
    g.Series(4).Add(0.5, 3);
    Render(g);
    EXPECT_EQ(
        g.accessibleDescription().toStdString(),
        "Waiting time; rho from 0 to 1; Wq from 0 to 20; 2 series (M/M/1: 9 points, Series 3: 1 point)");
    g.SetLimits(g.YAxis, 5, 1);
    Render(g);
    EXPECT_TRUE(g.accessibleDescription().contains(QString::fromStdString(g.Appearance.ErrorCaption)));
}

TEST(GraphControl, ShiftDragZoomsAndATinyDragUndoes) {
    TdiDoriv g;
    g.resize(400, 300);
    ProbabilityAxis(g);
    for (int i = 0; i <= 40; ++i) g.Series(1).Add(i, std::exp(-0.1 * i));
    g.show();
    Render(g);
    const double autoMax = g.XAxis.Max;
    QTest::mousePress(&g, Qt::LeftButton, Qt::ShiftModifier, QPoint(100, 60));
    QTest::mouseMove(&g, QPoint(200, 150));
    QTest::mouseRelease(&g, Qt::LeftButton, Qt::ShiftModifier, QPoint(200, 150));
    EXPECT_TRUE(g.Zoomed());
    EXPECT_FALSE(g.XAxis.AutoSizing);
    EXPECT_LT(g.XAxis.Max, autoMax);
    EXPECT_GT(g.YAxis.Min, 0.001);
    Render(g);
    QTest::mousePress(&g, Qt::LeftButton, Qt::ShiftModifier, QPoint(100, 60));
    QTest::mouseRelease(&g, Qt::LeftButton, Qt::ShiftModifier, QPoint(102, 61));
    EXPECT_FALSE(g.Zoomed());
    EXPECT_TRUE(g.XAxis.AutoSizing);
    EXPECT_DOUBLE_EQ(g.YAxis.Min, 0.001);
    EXPECT_DOUBLE_EQ(g.YAxis.Max, 1);
}

TEST(GraphControl, CornersMoveAndResize) {
    QWidget parent;
    parent.resize(800, 600);
    auto* g = new TdiDoriv(&parent);
    g->setGeometry(100, 100, 300, 200);
    parent.show();
    QTest::mousePress(g, Qt::LeftButton, Qt::NoModifier, QPoint(295, 195));
    QMouseEvent move(QEvent::MouseMove, QPointF(315, 225), g->mapToGlobal(QPointF(315, 225)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(g, &move);
    QTest::mouseRelease(g, Qt::LeftButton, Qt::NoModifier, QPoint(315, 225));
    EXPECT_EQ(g->size(), QSize(320, 230));
    EXPECT_EQ(g->pos(), QPoint(100, 100));
}

} // namespace
} // namespace tarvik::plot
