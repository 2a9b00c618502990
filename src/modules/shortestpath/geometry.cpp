#include "modules/shortestpath/geometry.h"

#include <cmath>

namespace tarvik::shortestpath {

int BaseLine(int rows) {
    return kCellPixels * rows + kGridOrigin;
}

Pixel NodePixel(Node node, int rows) {
    return {kGridOrigin + kCellPixels * node.x, BaseLine(rows) - kCellPixels * node.y};
}

std::vector<Line> GridLines(int rows, int columns) {
    std::vector<Line> lines;
    const int B = BaseLine(rows);
    for (int i = 0; i <= columns; ++i) {
        const int x = kGridOrigin + kCellPixels * i;
        lines.push_back({{x, kGridOrigin}, {x, B}});
    }
    for (int j = 0; j <= rows; ++j) {
        const int y = kGridOrigin + kCellPixels * j;
        lines.push_back({{kGridOrigin, y}, {kGridOrigin + kCellPixels * columns, y}});
    }
    return lines;
}

namespace {

Pixel Along(Pixel from, Move move, int distance) {
    return move == Move::Up ? Pixel{from.x, from.y - distance} : Pixel{from.x + distance, from.y};
}

} // namespace

Line SegmentLine(Node from, Move move, int rows) {
    const Pixel start = NodePixel(from, rows);
    return {start, Along(start, move, kCellPixels)};
}

Pixel SegmentProbe(Node from, Move move, int rows) {
    return Along(NodePixel(from, rows), move, 2);
}

std::vector<ColouredLine> SegmentParts(Node from, Move move, int rows, PathColour colour,
                                       bool overOtherPath) {
    const Pixel start = NodePixel(from, rows);
    if (!overOtherPath) return {{SegmentLine(from, move, rows), colour}};
    std::vector<ColouredLine> parts;
    for (int k = 0; k < kCellPixels / kPartPixels; ++k)
        parts.push_back({{Along(start, move, k * kPartPixels), Along(start, move, (k + 1) * kPartPixels)},
                         k % 2 == 0 ? PathColour::Red : PathColour::Blue});
    return parts;
}

std::vector<LabelPlace> LabelPlaces(int rows, int columns) {
    std::vector<LabelPlace> places;
    const int B = BaseLine(rows);
    for (int x = 0; x <= columns; ++x)
        for (int y = 0; y < rows; ++y)
            places.push_back({{Move::Up, {x, y}}, kGridOrigin + kCellPixels * x, B - kCellPixels * y - 22});
    for (int y = 0; y <= rows; ++y)
        for (int x = 0; x < columns; ++x)
            places.push_back({{Move::Right, {x, y}}, 38 + kCellPixels * x, B - kCellPixels * y});
    return places;
}

Rect LabelRect(const LabelPlace& place, int textWidth, int textHeight) {
    if (place.arc.kind == Move::Up)
        return {place.anchorX - textWidth / 2, place.anchorY, textWidth, textHeight};
    return {place.anchorX, place.anchorY - textHeight / 2, textWidth, textHeight};
}

bool InGridArea(Pixel press, int rows, int columns) {
    return press.x <= kCellPixels * columns + 35 && press.y > 24 && press.x > 24 &&
           press.y <= BaseLine(rows) + 5;
}

std::optional<ArcRef> SelectArc(Pixel press, int rows, int columns) {
    if (!InGridArea(press, rows, columns)) return std::nullopt;
    const double a = (press.x - kGridOrigin) / double(kCellPixels) - 0.25;
    const double b = (BaseLine(rows) - press.y) / double(kCellPixels) - 0.25;
    // Rounding halves away from zero, as everywhere in the program.
    const int i = a <= 0 ? 0 : static_cast<int>(std::lround(a));
    const int j = b <= 0 ? 0 : static_cast<int>(std::lround(b));
    const ArcRef arc = b - j >= a - i ? ArcRef{Move::Up, {i, j}} : ArcRef{Move::Right, {i, j}};
    if (arc.kind == Move::Up && (j >= rows || i > columns)) return std::nullopt;
    if (arc.kind == Move::Right && (i >= columns || j > rows)) return std::nullopt;
    return arc;
}

std::vector<LegendItem> Legend() {
    return {
        {{{30, 368}, {60, 368}}, PathColour::Blue, {68, 368}, "Optimal path"},
        {{{190, 368}, {220, 368}}, PathColour::Red, {228, 368}, "Heuristic path"},
    };
}

} // namespace tarvik::shortestpath
