#include "modules/tables/ui/tablesgraph.h"

#include <gtest/gtest.h>

using namespace tarvik::tables;

namespace {

GraphData Continuous(std::vector<double> values, double ymax) {
    GraphData d;
    d.continuous = true;
    d.values = std::move(values);
    d.normal = std::vector<double>(d.values.size(), 0.0);
    d.xmin = -1;
    d.xmax = 8;
    d.ymax = ymax;
    return d;
}

} // namespace

TEST(TablesGraphLayout, RowsRoundHalvesToEven) {
    GraphData d = Continuous({0, 1}, 320); // one pixel per unit
    EXPECT_EQ(GraphRow(d, 0), 335);
    EXPECT_EQ(GraphRow(d, 320), 15);
    EXPECT_EQ(GraphRow(d, 0.5), 335);
    EXPECT_EQ(GraphRow(d, 1.5), 333);
    EXPECT_EQ(GraphRow(d, 2.5), 333);
    EXPECT_EQ(GraphRow(d, 2.6), 332);
    d.xmin = 0;
    d.xmax = 900; // half a pixel per unit
    EXPECT_EQ(GraphColumn(d, 1), 15);
    EXPECT_EQ(GraphColumn(d, 3), 17);
    EXPECT_EQ(GraphColumn(d, 900), 465);
}

TEST(TablesGraphLayout, CurveStepThatRisesByYmaxOnlyMovesThePen) {
    std::vector<double> values(450, 0.0);
    for (std::size_t i = 100; i < 450; ++i) values[i] = 2.0 - 0.001 * static_cast<double>(i - 100);
    GraphData d = Continuous(values, 2.0);
    GraphPicture picture = LayOutGraph(d);
    // 449 steps, of which the jump from 0 to ymax at point 101 is left out.
    ASSERT_EQ(picture.curve.size(), 448u);
    for (const GraphSegment& s : picture.curve) EXPECT_FALSE(s.x1 == 114 && s.x2 == 115);
    EXPECT_EQ(picture.curve.front(), (GraphSegment{15, 335, 16, 335}));
    EXPECT_EQ(picture.curve[99], (GraphSegment{115, 15, 116, GraphRow(d, 1.999)}));
    // A smaller rise is drawn.
    values[100] = 1.5;
    d = Continuous(values, 2.0);
    EXPECT_EQ(LayOutGraph(d).curve.size(), 449u);
}

TEST(TablesGraphLayout, ZeroLineOnlyWhenFlaggedAndOnTheAxis) {
    GraphData d = Continuous(std::vector<double>(450, 0.1), 0.5);
    EXPECT_FALSE(LayOutGraph(d).zeroLine.has_value());
    d.verticalLine = true;
    auto line = LayOutGraph(d).zeroLine;
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(*line, (GraphSegment{65, 335, 65, 15})); // round(1/9 * 450) + 15
    d.xmin = 0.5;                                      // x = 0 left of the axis
    EXPECT_FALSE(LayOutGraph(d).zeroLine.has_value());
}

TEST(TablesGraphLayout, BarsOutsideTheAxisAreLeftOut) {
    GraphData d;
    d.continuous = false;
    d.values = {0.1, 0.2, 0.4, 0.2, 0.1};
    d.normal = std::vector<double>(450, 0.05);
    d.xmin = 1;
    d.xmax = 3;
    d.ymax = 0.4;
    GraphPicture picture = LayOutGraph(d);
    ASSERT_EQ(picture.bars.size(), 3u);
    EXPECT_EQ(picture.bars[0], (GraphSegment{15, 335, 15, 175}));
    EXPECT_EQ(picture.bars[1], (GraphSegment{240, 335, 240, 15}));
    EXPECT_EQ(picture.bars[2], (GraphSegment{465, 335, 465, 175}));
    EXPECT_TRUE(picture.curve.empty());
    // The normal curve runs through all 450 points.
    ASSERT_EQ(picture.normal.size(), 449u);
    EXPECT_EQ(picture.normal.front().x1, 15);
    EXPECT_EQ(picture.normal.back().x2, 464);
    EXPECT_EQ(picture.normal.front().y1, 295);
}
