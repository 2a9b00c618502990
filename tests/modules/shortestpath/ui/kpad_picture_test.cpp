#include "modules/shortestpath/geometry.h"
#include "modules/shortestpath/ui/kpadpicture.h"

#include <QImage>
#include <gtest/gtest.h>

namespace tarvik::shortestpath::ui {
namespace {

QColor At(const QImage& image, Pixel p) {
    return image.pixelColor(p.x, p.y);
}

Pixel Along(Node from, Move m, int rows, int d) {
    const Pixel p = NodePixel(from, rows);
    return m == Move::Up ? Pixel{p.x, p.y - d} : Pixel{p.x + d, p.y};
}

Network Fixed(int rows, int columns, int length) {
    Network n;
    n.rows = rows;
    n.columns = columns;
    SetFixedLengths(n, length);
    return n;
}

TEST(NetworkPicture, GridLinesAreBlackOnSilver) {
    const Network n = Fixed(3, 4, 5);
    QImage image = NewNetworkImage();
    DrawNetwork(image, {&n, {}, {}, false});
    EXPECT_EQ(image.size(), QSize(382, 385));
    EXPECT_EQ(At(image, {30, 30}), QColor(Qt::black));
    EXPECT_EQ(At(image, {158, 126}), QColor(Qt::black));
    EXPECT_EQ(At(image, {94, 77}), QColor(Qt::black));  // vertical line x = 94
    EXPECT_EQ(At(image, {100, 62}), QColor(Qt::black)); // horizontal line y = 62
    EXPECT_EQ(At(image, {45, 45}), kSilver);
    EXPECT_EQ(At(image, {170, 100}), kSilver); // right of the grid
    EXPECT_EQ(At(image, {100, 140}), kSilver); // below it
}

TEST(NetworkPicture, ASegmentOverTheOtherPathIsDrawnRedBlueRedBlue) {
    // Optimal U R R and own R U R share their last segment, Rt(1, 1).
    const Network n = Fixed(1, 2, 1);
    const std::vector<Move> optimal = {Move::Up, Move::Right, Move::Right};
    const std::vector<Move> own = {Move::Right, Move::Up, Move::Right};
    QImage image = NewNetworkImage();
    DrawNetwork(image, {&n, optimal, own, false});
    const int R = n.rows;
    // Not shared: optimal U(0,0) blue, own Rt(0,0) and U(1,0) red, optimal Rt(0,1) blue.
    for (int d : {4, 12, 20, 28}) {
        EXPECT_EQ(At(image, Along({0, 0}, Move::Up, R, d)), kPathBlue) << d;
        EXPECT_EQ(At(image, Along({0, 0}, Move::Right, R, d)), kPathRed) << d;
        EXPECT_EQ(At(image, Along({1, 0}, Move::Up, R, d)), kPathRed) << d;
        EXPECT_EQ(At(image, Along({0, 1}, Move::Right, R, d)), kPathBlue) << d;
    }
    // Shared: Rt(1, 1) in four 8-pixel parts, red, blue, red, blue from the node.
    const QColor parts[4] = {kPathRed, kPathBlue, kPathRed, kPathBlue};
    for (int k = 0; k < 4; ++k)
        for (int d : {8 * k + 1, 8 * k + 4, 8 * k + 7})
            EXPECT_EQ(At(image, Along({1, 1}, Move::Right, R, d)), parts[k]) << "pixel " << d;
    // The pen is 2 pixels wide.
    const Pixel p = Along({0, 0}, Move::Right, R, 10);
    EXPECT_EQ(image.pixelColor(p.x, p.y - 1), kPathRed);
    EXPECT_EQ(image.pixelColor(p.x, p.y - 2), kSilver);
    EXPECT_EQ(image.pixelColor(p.x, p.y + 1), kSilver);
}

TEST(NetworkPicture, WholePathsOverEachOtherAlternateOnEverySegment) {
    const Network n = Fixed(2, 2, 10);
    const std::vector<Move> path = {Move::Up, Move::Up, Move::Right, Move::Right};
    QImage image = NewNetworkImage();
    DrawNetwork(image, {&n, path, path, false});
    Node at{};
    for (Move m : path) {
        EXPECT_EQ(At(image, Along(at, m, n.rows, 4)), kPathRed);
        EXPECT_EQ(At(image, Along(at, m, n.rows, 12)), kPathBlue);
        at = After(at, m);
    }
}

TEST(NetworkPicture, LabelsCoverTheLinesOnSilverAndShowTheLengths) {
    Network n = Fixed(2, 2, 7);
    QImage without = NewNetworkImage();
    DrawNetwork(without, {&n, {}, {}, false});
    QImage with = NewNetworkImage();
    DrawNetwork(with, {&n, {}, {}, true});
    // Right label of (0, 0) from x = 38 on the bottom line; up label of (1, 0)
    // centred on x = 62, from 22 pixels above the node.
    const int B = BaseLine(2);
    int silverOnLine = 0, textAboveNode = 0;
    for (int x = 38; x < 50; ++x) silverOnLine += with.pixelColor(x, B) == kSilver;
    for (int x = 56; x < 68; ++x)
        for (int y = B - 22; y < B - 10; ++y) textAboveNode += with.pixelColor(x, y) != kSilver;
    EXPECT_GT(silverOnLine, 0);
    EXPECT_GT(textAboveNode, 4);
    for (int x = 38; x < 50; ++x) EXPECT_EQ(without.pixelColor(x, B), QColor(Qt::black));
    EXPECT_NE(with, without);
}

TEST(NetworkPicture, TheLegendNamesBothPaths) {
    const Network n = Fixed(10, 10, 1);
    QImage image = NewNetworkImage();
    DrawNetwork(image, {&n, {}, {}, true});
    const auto legend = Legend();
    ASSERT_EQ(legend.size(), 2u);
    EXPECT_EQ(At(image, {45, legend[0].line.from.y}), kPathBlue);
    EXPECT_EQ(At(image, {205, legend[1].line.from.y}), kPathRed);
    EXPECT_STREQ(legend[0].caption, "Optimal path");
    EXPECT_STREQ(legend[1].caption, "Heuristic path");
    int text = 0;
    for (int x = legend[0].text.x; x < legend[0].text.x + 50; ++x)
        for (int y = legend[0].text.y - 5; y < legend[0].text.y + 5; ++y)
            text += image.pixelColor(x, y) != kSilver;
    EXPECT_GT(text, 10);
}

} // namespace
} // namespace tarvik::shortestpath::ui
