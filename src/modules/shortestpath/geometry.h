#pragma once
// Where the network window draws: grid lines 32 pixels apart with the bottom
// line at B = 32R + 30, node (x, y) at pixel (30 + 32x, B - 32y), the arc
// labels, the path segments and the legend; and which arc a mouse press selects.
#include "modules/shortestpath/network.h"

#include <optional>
#include <vector>

namespace tarvik::shortestpath {

inline constexpr int kNetworkWidth = 382; // client area of the network window
inline constexpr int kNetworkHeight = 385;
inline constexpr int kCellPixels = 32;
inline constexpr int kGridOrigin = 30;
inline constexpr int kPathPenWidth = 2;
inline constexpr int kPartPixels = 8; // one part of a segment over the other path

struct Pixel {
    int x = 0;
    int y = 0;
    bool operator==(const Pixel&) const = default;
};

struct Line {
    Pixel from;
    Pixel to;
    bool operator==(const Line&) const = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool contains(Pixel p) const {
        return p.x >= left && p.x < left + width && p.y >= top && p.y < top + height;
    }
};

// B, the pixel row of the bottom grid line.
int BaseLine(int rows);
Pixel NodePixel(Node node, int rows);
// Vertical lines x = 30 + 32i (i = 0 .. C) from y = 30 to B, then horizontal
// lines y = 30 + 32j (j = 0 .. R) from x = 30 to 30 + 32C.
std::vector<Line> GridLines(int rows, int columns);

enum class PathColour { Blue, Red };

struct ColouredLine {
    Line line;
    PathColour colour;
};

// The 32-pixel segment of an arc, from its node rightwards or upwards.
Line SegmentLine(Node from, Move move, int rows);
// The pixel 2 pixels along the segment: not black when another path already
// runs there.
Pixel SegmentProbe(Node from, Move move, int rows);
// What to draw for one segment of a path of colour `colour`: the whole segment
// in that colour, or, when it runs over the other path, four 8-pixel parts
// red, blue, red, blue from the node on.
std::vector<ColouredLine> SegmentParts(Node from, Move move, int rows, PathColour colour, bool overOtherPath);

// An arc of the table: U(node) or Rt(node).
struct ArcRef {
    Move kind = Move::Up;
    Node node;
    bool operator==(const ArcRef&) const = default;
};

// Where a length label stands. Up arc of (x, y): centred horizontally on
// x-pixel 30 + 32x with its top at B - 32y - 22. Right arc: starting at x-pixel
// 38 + 32x, centred vertically on B - 32y.
struct LabelPlace {
    ArcRef arc;
    int anchorX = 0; // up: the centre; right: the left edge
    int anchorY = 0; // up: the top; right: the centre
};

// One label for every arc of the network: the up arcs of columns 0 .. C
// below the top row, then the right arcs of rows 0 .. R left of the right column.
std::vector<LabelPlace> LabelPlaces(int rows, int columns);
// The rectangle a label of the given text size covers.
Rect LabelRect(const LabelPlace& place, int textWidth, int textHeight);

// The area in which a press selects an arc: x > 24, x <= 32C + 35, y > 24, y <= B + 5.
bool InGridArea(Pixel press, int rows, int columns);
// The arc a press selects: a = (x - 30)/32 - 0.25, b = (B - y)/32 - 0.25,
// i = round(a) (0 when a <= 0), j = round(b) (0 when b <= 0); the up arc U(i, j)
// when b - j >= a - i, otherwise Rt(i, j). Nothing outside the grid area, and
// nothing for the arcs that leave the grid (U(i, R), Rt(C, j)): those have no
// label and no path uses them, so such a press counts as a press outside.
std::optional<ArcRef> SelectArc(Pixel press, int rows, int columns);

// The legend under the grid: a blue line with "Optimal path" and a red line
// with "Heuristic path"; each text starts at its position's x, centred on its y.
struct LegendItem {
    Line line;
    PathColour colour;
    Pixel text;
    const char* caption;
};
std::vector<LegendItem> Legend();

} // namespace tarvik::shortestpath
