#pragma once
// Checks on saved pictures: what an SVG file is made of, and how far two
// pictures of one size differ.
#include <QImage>
#include <QString>

namespace tarvik::test {

struct SvgContents {
    bool parses = false; // a renderer accepts the file
    int shapes = 0;      // path, polyline, polygon, line, rect, ellipse, circle and text elements
    int images = 0;      // embedded pixel images
};
SvgContents InspectSvg(const QString& fileName);

// The SVG file rendered at `size` on a white ground.
QImage RenderSvg(const QString& fileName, const QSize& size);

// The share (0 .. 1) of pixels of `a` whose colour differs by more than
// `tolerance` in some channel from every pixel of `b` within `radius` pixels
// (a drawing rendered with smoothed edges lies up to a pixel off); pictures of
// different sizes differ everywhere (1).
double DifferingShare(const QImage& a, const QImage& b, int tolerance = 48, int radius = 0);

} // namespace tarvik::test
