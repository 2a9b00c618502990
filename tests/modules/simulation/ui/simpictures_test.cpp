#include "modules/simulation/ui/simpictures.h"

#include <QImage>
#include <gtest/gtest.h>
#include <vector>

namespace tarvik::simulation::ui {
namespace {

std::vector<std::pair<int, int>> Labels(int base, int top, int scale) {
    std::vector<std::pair<int, int>> out;
    ForEachGridLabel(base, top, scale, [&](int k, int y) { out.push_back({k, y}); });
    return out;
}

TEST(GridLabels, StandAtLeastTwentyPixelsApartAboveTheTop) {
    // Two-panel graphs, scale 10: 1, 3, ..., 21, the last at y = 40.
    auto l = Labels(250, 30, 10);
    ASSERT_EQ(l.size(), 11u);
    EXPECT_EQ(l.front(), std::make_pair(1, 240));
    EXPECT_EQ(l[1], std::make_pair(3, 220));
    EXPECT_EQ(l.back(), std::make_pair(21, 40));
    // Scale 5: 1, 5, 9, ...
    l = Labels(250, 30, 5);
    EXPECT_EQ(l[1].first, 5);
    EXPECT_EQ(l[2].first, 9);
    EXPECT_EQ(l[0].second - l[1].second, 20);
    // Single-server graph with scale 10: 1 .. 25, y from 300 down to 60.
    l = Labels(310, 40, 10);
    EXPECT_EQ(l.back(), std::make_pair(25, 60));
    // Scale 100: one label only; a scale of 0 is taken as 1 and ends.
    EXPECT_EQ(Labels(310, 40, 100).size(), 2u);
    l = Labels(250, 30, 0);
    EXPECT_EQ(l.size(), 11u);
    EXPECT_EQ(l[1].first, 21);
}

TEST(SinglePicture, ClampsAtTheTopAndDrawsBothEndsThereInRed) {
    QImage img = NewPicture(kSingleWidth, kSingleHeight);
    DrawSingleFrame(img, 10000);
    EXPECT_EQ(img.size(), QSize(497, 353));
    EXPECT_EQ(img.pixelColor(50, 200), QColor(Qt::black));  // vertical axis
    EXPECT_EQ(img.pixelColor(300, 311), QColor(Qt::black)); // horizontal axis
    EXPECT_EQ(img.pixelColor(20, 338), QColor(0x00, 0x80, 0x00)); // legend
    EXPECT_EQ(img.pixelColor(280, 338), QColor(Qt::blue));
    DrawSingleGrid(img, 10);
    EXPECT_EQ(img.pixelColor(300, 302), QColor(Qt::black)); // line of label 1 at y + 2
    // Both ends above the top: red at y = 40.
    DrawSingleSample(img, 10, 5, 100, 100, 50.0, 50.0);
    EXPECT_EQ(img.pixelColor(55, 40), QColor(Qt::red));
    // One end below the top: green and blue.
    DrawSingleSample(img, 10, 100, 3, 4, 2.0, 2.0);
    EXPECT_EQ(img.pixelColor(150, 290), QColor(Qt::blue));
    bool green = false;
    for (int y = 270; y <= 280; ++y)
        green = green || img.pixelColor(150, y) == QColor(0x00, 0x80, 0x00) ||
                img.pixelColor(151, y) == QColor(0x00, 0x80, 0x00);
    EXPECT_TRUE(green);
    // Samples 1 and 2 draw nothing.
    QImage before = img;
    DrawSingleSample(img, 10, 2, 0, 5, 0, 5);
    EXPECT_EQ(img, before);
}

} // namespace
} // namespace tarvik::simulation::ui
