#include "modules/shortestpath/geometry.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace tarvik::shortestpath {
namespace {

auto Key(const ArcRef& a) {
    return std::make_tuple(a.kind == Move::Up, a.node.x, a.node.y);
}

// Presses over the whole window, inside the grid area, that select nothing.
struct Survey {
    int refused = 0;
    std::set<std::tuple<bool, int, int>> reached;
};

Survey SurveyPresses(int rows, int columns) {
    Survey s;
    for (int x = 0; x < kNetworkWidth; ++x)
        for (int y = 0; y < kNetworkHeight; ++y) {
            const auto arc = SelectArc({x, y}, rows, columns);
            if (!InGridArea({x, y}, rows, columns)) {
                EXPECT_FALSE(arc.has_value());
                continue;
            }
            if (!arc) {
                ++s.refused;
                continue;
            }
            EXPECT_GE(arc->node.x, 0);
            EXPECT_GE(arc->node.y, 0);
            if (arc->kind == Move::Up) {
                EXPECT_LE(arc->node.x, columns);
                EXPECT_LT(arc->node.y, rows);
            } else {
                EXPECT_LT(arc->node.x, columns);
                EXPECT_LE(arc->node.y, rows);
            }
            s.reached.insert(Key(*arc));
        }
    return s;
}

TEST(SelectArc, PressesThatWouldSelectArcsLeavingTheGridSelectNothing) {
    // The selection formula maps these pixels to U(i, R) or Rt(C, j).
    const Survey ten = SurveyPresses(10, 10);
    EXPECT_EQ(ten.refused, 2081);
    const Survey small = SurveyPresses(3, 4);
    EXPECT_EQ(small.refused, 814);
    // A few of them: above the top row and right of the right column.
    EXPECT_FALSE(SelectArc({25, 25}, 10, 10)); // would be U(0, 10)
    EXPECT_FALSE(SelectArc({190, 28}, 10, 10));
    EXPECT_FALSE(SelectArc({354, 227}, 10, 10)); // would be Rt(10, 4)
    EXPECT_FALSE(SelectArc({32 * 4 + 35, BaseLine(3) + 5}, 3, 4));
}

TEST(SelectArc, EveryArcOfTheNetworkStaysReachable) {
    for (auto [rows, columns] : {std::pair{10, 10}, {3, 4}, {1, 1}, {1, 10}, {10, 1}}) {
        const Survey s = SurveyPresses(rows, columns);
        std::set<std::tuple<bool, int, int>> all;
        for (const LabelPlace& p : LabelPlaces(rows, columns)) all.insert(Key(p.arc));
        EXPECT_EQ(all.size(), static_cast<std::size_t>(rows * (columns + 1) + columns * (rows + 1)));
        EXPECT_EQ(s.reached, all) << rows << " x " << columns;
    }
}

TEST(SelectArc, APressInsideALabelSelectsItsArc) {
    const int rows = 10, columns = 10;
    for (const LabelPlace& p : LabelPlaces(rows, columns)) {
        // A label of "100" in the window's label font is about 17 x 13 pixels.
        const Rect r = LabelRect(p, 17, 13);
        const Pixel centre{r.left + r.width / 2, r.top + r.height / 2};
        const auto arc = SelectArc(centre, rows, columns);
        ASSERT_TRUE(arc.has_value());
        EXPECT_EQ(Key(*arc), Key(p.arc)) << "label at " << centre.x << "," << centre.y;
    }
    // Up label of node (2, 3) and right label of node (4, 0), by hand.
    EXPECT_EQ(SelectArc({30 + 64, BaseLine(rows) - 96 - 16}, rows, columns), (ArcRef{Move::Up, {2, 3}}));
    EXPECT_EQ(SelectArc({38 + 128 + 6, BaseLine(rows)}, rows, columns), (ArcRef{Move::Right, {4, 0}}));
}

TEST(SelectArc, OutsideTheGridAreaNothingIsSelected) {
    EXPECT_FALSE(SelectArc({24, 100}, 10, 10));
    EXPECT_FALSE(SelectArc({100, 24}, 10, 10));
    EXPECT_FALSE(SelectArc({32 * 10 + 36, 100}, 10, 10));
    EXPECT_FALSE(SelectArc({100, BaseLine(10) + 6}, 10, 10));
    EXPECT_TRUE(SelectArc({25, BaseLine(10) + 5}, 10, 10)); // U(0, 0)
}

TEST(Drawing, GridNodesAndLabelsStandWhereTheWindowDrawsThem) {
    EXPECT_EQ(BaseLine(1), 62);
    EXPECT_EQ(BaseLine(10), 350);
    EXPECT_EQ(NodePixel({0, 0}, 3), (Pixel{30, 126}));
    EXPECT_EQ(NodePixel({4, 3}, 3), (Pixel{158, 30}));
    const auto lines = GridLines(3, 4);
    ASSERT_EQ(lines.size(), 5u + 4u);
    EXPECT_EQ(lines[0], (Line{{30, 30}, {30, 126}}));
    EXPECT_EQ(lines[4], (Line{{158, 30}, {158, 126}}));
    EXPECT_EQ(lines[5], (Line{{30, 30}, {158, 30}}));
    EXPECT_EQ(lines[8], (Line{{30, 126}, {158, 126}}));

    const auto places = LabelPlaces(3, 4);
    ASSERT_EQ(places.size(), 15u + 16u);
    EXPECT_EQ(places[0].arc, (ArcRef{Move::Up, {0, 0}}));
    EXPECT_EQ(places[0].anchorX, 30);
    EXPECT_EQ(places[0].anchorY, 126 - 22);
    EXPECT_EQ(places[15].arc, (ArcRef{Move::Right, {0, 0}}));
    EXPECT_EQ(places[15].anchorX, 38);
    EXPECT_EQ(places[15].anchorY, 126);
    const Rect up = LabelRect(places[0], 12, 13);
    EXPECT_EQ(up.left, 24);
    EXPECT_EQ(up.top, 104);
    const Rect right = LabelRect(places[15], 12, 13);
    EXPECT_EQ(right.left, 38);
    EXPECT_EQ(right.top, 126 - 6);
    // Every label fits in the window.
    for (const LabelPlace& p : LabelPlaces(10, 10)) {
        const Rect r = LabelRect(p, 20, 14);
        EXPECT_GE(r.left, 0);
        EXPECT_GE(r.top, 0);
        EXPECT_LE(r.left + r.width, kNetworkWidth);
    }
}

TEST(Drawing, ASegmentOverTheOtherPathIsRedBlueRedBlue) {
    EXPECT_EQ(SegmentLine({1, 1}, Move::Up, 2), (Line{{62, 62}, {62, 30}}));
    EXPECT_EQ(SegmentLine({1, 1}, Move::Right, 2), (Line{{62, 62}, {94, 62}}));
    EXPECT_EQ(SegmentProbe({1, 1}, Move::Up, 2), (Pixel{62, 60}));
    EXPECT_EQ(SegmentProbe({1, 1}, Move::Right, 2), (Pixel{64, 62}));

    const auto plain = SegmentParts({0, 0}, Move::Right, 1, PathColour::Blue, false);
    ASSERT_EQ(plain.size(), 1u);
    EXPECT_EQ(plain[0].colour, PathColour::Blue);

    for (PathColour own : {PathColour::Blue, PathColour::Red}) {
        const auto parts = SegmentParts({0, 0}, Move::Up, 1, own, true);
        ASSERT_EQ(parts.size(), 4u);
        const PathColour expected[4] = {PathColour::Red, PathColour::Blue, PathColour::Red, PathColour::Blue};
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(parts[k].colour, expected[k]);
            EXPECT_EQ(parts[k].line, (Line{{30, 62 - 8 * k}, {30, 62 - 8 * (k + 1)}}));
        }
    }
}

TEST(Drawing, TheLegendStandsBelowTheLargestGrid) {
    for (const LegendItem& item : Legend()) {
        EXPECT_GT(item.line.from.y, BaseLine(kMaxRows) + 10);
        EXPECT_LT(item.text.y, kNetworkHeight - 6);
    }
}

} // namespace
} // namespace tarvik::shortestpath
