#pragma once
// The picture of the graphical method in pixels: what to draw where, for a
// canvas of a given size, with every label placed so that it covers no other
// label. The windows only paint what this returns.
#include "modules/lp/graphical.h"

#include <functional>
#include <string>
#include <vector>

namespace tarvik::lp {

struct Px {
    double x = 0, y = 0;
};

struct PxRect {
    double left = 0, top = 0, width = 0, height = 0;
    double right() const { return left + width; }
    double bottom() const { return top + height; }
    bool intersects(const PxRect& o) const {
        return left < o.right() && o.left < right() && top < o.bottom() && o.top < bottom();
    }
    bool inside(const PxRect& o) const {
        return left >= o.left && top >= o.top && right() <= o.right() && bottom() <= o.bottom();
    }
};

// What a stroke, mark or text is; the painter gives each its pen and brush.
enum class Ink {
    Grid,
    Axis,
    Constraint,     // `index`: the constraint, for its colour
    Hatch,          // the feasible side of a constraint (`index`)
    Region,         // fill
    RegionEdge,     // the region's own boundary
    Flat,           // a region that is a segment or a ray
    Open,           // arrow: where an unbounded region goes on
    Level,          // the objective's level line (dashed)
    Improve,        // arrow: the direction in which the objective improves
    Path,           // arrow: a step of the simplex path
    PathFeasible,   // mark: a basic solution on a vertex (filled)
    PathInfeasible, // mark: a basic solution outside the region (hollow)
    Vertex,         // mark
    Optimum,        // mark, or the optimal edge or ray (stroke)
    IntegerPoint,   // mark, or a segment of an integer line (stroke)
    IntegerOptimum, // mark
    Text,           // a label in the plot
    Note,           // a label that stands out ("There is no feasible region")
    Title,
    LegendText,
};

struct PxLine {
    std::vector<Px> points;
    Ink ink = Ink::Axis;
    int index = -1;
};

struct PxArrow {
    Px from, to;
    Ink ink = Ink::Path;
};

struct PxMark {
    Px at;
    Ink ink = Ink::Vertex;
};

struct PxText {
    std::string text;
    PxRect box; // where the text stands, its size as measured
    Ink ink = Ink::Text;
    int index = -1; // Constraint labels: the constraint
    bool bold = false;
};

// A sample of the legend: the glyph drawn left of its text.
struct PxLegendItem {
    PxRect sample;
    Ink ink = Ink::Region;
    int index = -1;
};

struct GraphicalLayout {
    int width = 0, height = 0;
    PxRect plot;
    std::vector<std::vector<Px>> fills; // the region, clipped to the plot
    std::vector<PxLine> lines;          // in painting order
    std::vector<PxArrow> arrows;
    std::vector<PxMark> marks;
    std::vector<PxText> texts;
    std::vector<PxLegendItem> legend;
    int droppedLabels = 0; // labels for which no free place was found
};

// The size of a text in pixels in the font the painter uses.
using TextMeasure = std::function<Px(const std::string& text, bool bold)>;

GraphicalLayout LayOutGraphical(const GraphicalSolution& solution, int width, int height,
                                const TextMeasure& measure);

// A coefficient or coordinate as the picture writes it (at most 6 significant digits).
std::string PictureNumber(double value);
// The constraint as the legend writes it: "3 X1 + 2 X2 <= 18".
std::string ConstraintText(const PlaneModel& model, const PlaneConstraint& constraint);

} // namespace tarvik::lp
