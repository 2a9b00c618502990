#pragma once
// The picture of the network window: grid, optimal path (blue), own or
// heuristic path (red), arc lengths and legend.
#include "modules/shortestpath/network.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <vector>

namespace tarvik::shortestpath::ui {

inline const QColor kSilver(192, 192, 192);
inline const QColor kPathBlue(0, 0, 255);
inline const QColor kPathRed(255, 0, 0);

struct NetworkPicture {
    const Network* network = nullptr;
    std::vector<Move> optimal; // empty when the optimal path is not shown
    std::vector<Move> own;     // the own or heuristic path so far
    bool distances = true;
};

// A new picture of the window's client size.
QImage NewNetworkImage();
// Draws the whole picture, in the order grid, optimal path, own path, arc
// lengths, legend. A segment whose pixel 2 pixels along is no longer black
// runs over the other path and is drawn in four parts red, blue, red, blue.
void DrawNetwork(QImage& image, const NetworkPicture& picture);
// What the picture shows, for screen readers: the grid and each path drawn
// with its number of arcs and length.
QString DescribeNetwork(const NetworkPicture& picture);

} // namespace tarvik::shortestpath::ui
