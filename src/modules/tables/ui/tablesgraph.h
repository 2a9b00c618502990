#pragma once
// The pixel layout of a distribution graph in the 480 x 360 client area of the
// graph window: where the red curve or bars, the line at x = 0 and the green
// normal curve go. Plain C++, so that the picture can be checked without
// painting it.
#include "modules/tables/distributions.h"

#include <optional>
#include <vector>

namespace tarvik::tables {

inline constexpr int kGraphWidth = 480;
inline constexpr int kGraphHeight = 360;
inline constexpr int kAxisRow = 335;    // the x axis, 2 pixels high
inline constexpr int kAxisLeft = 15;    // first column of the axis
inline constexpr int kAxisRight = 465;  // last column of the axis
inline constexpr int kGraphRange = 320; // pixels from the axis to ymax
// Columns of the tick marks for mu - 2 sigma ... mu + 2 sigma.
inline constexpr int kTickColumns[5] = {90, 165, 240, 315, 390};

struct GraphSegment {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool operator==(const GraphSegment&) const = default;
};

struct GraphPicture {
    std::vector<GraphSegment> curve;      // red, continuous distributions
    std::vector<GraphSegment> bars;       // red, discrete distributions (bottom to top)
    std::optional<GraphSegment> zeroLine; // black, 2 pixels wide
    std::vector<GraphSegment> normal;     // green
};

// Row of a value y: 335 - round(320 / ymax * y), halves to even.
int GraphRow(const GraphData& data, double y);
// Column of an x value on the axis: round((x - xmin) / (xmax - xmin) * 450) + 15.
int GraphColumn(const GraphData& data, double x);
GraphPicture LayOutGraph(const GraphData& data);

} // namespace tarvik::tables
