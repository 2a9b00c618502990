#include "modules/tables/ui/tablesgraph.h"

#include <cmath>

namespace tarvik::tables {
namespace {

// Nearest integer, halves to even (the default rounding mode).
int RoundEven(double v) {
    return static_cast<int>(std::nearbyint(v));
}

// A polyline through (14 + i, row of values[i - 1]), i = 1 ... 450. A step
// that rises by exactly ymax only moves the pen.
std::vector<GraphSegment> Polyline(const GraphData& data, const std::vector<double>& values,
                                   bool skipFullRise) {
    std::vector<GraphSegment> segments;
    const std::size_t count = std::min<std::size_t>(values.size(), kGraphPoints);
    for (std::size_t i = 1; i < count; ++i) {
        if (skipFullRise && values[i] - values[i - 1] == data.ymax) continue;
        const int x = 14 + static_cast<int>(i) + 1;
        segments.push_back({x - 1, GraphRow(data, values[i - 1]), x, GraphRow(data, values[i])});
    }
    return segments;
}

} // namespace

int GraphRow(const GraphData& data, double y) {
    if (!(data.ymax > 0)) return kAxisRow;
    const double b = kGraphRange / data.ymax;
    return kAxisRow - RoundEven(b * y);
}

int GraphColumn(const GraphData& data, double x) {
    const double width = data.xmax - data.xmin;
    if (!(width > 0)) return kAxisLeft;
    return RoundEven((x - data.xmin) / width * kGraphPoints) + kAxisLeft;
}

GraphPicture LayOutGraph(const GraphData& data) {
    GraphPicture picture;
    if (data.continuous) {
        picture.curve = Polyline(data, data.values, true);
        if (data.verticalLine) {
            const int column = GraphColumn(data, 0.0);
            if (column >= kAxisLeft && column <= kAxisRight)
                picture.zeroLine = GraphSegment{column, kAxisRow, column, GraphRow(data, data.ymax)};
        }
    } else {
        for (std::size_t k = 0; k < data.values.size(); ++k) {
            const int column = GraphColumn(data, static_cast<double>(k));
            if (column < kAxisLeft || column > kAxisRight) continue;
            picture.bars.push_back({column, kAxisRow, column, GraphRow(data, data.values[k])});
        }
    }
    picture.normal = Polyline(data, data.normal, false);
    return picture;
}

} // namespace tarvik::tables
