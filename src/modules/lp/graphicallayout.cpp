#include "modules/lp/graphicallayout.h"

#include "common/numformat.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

namespace tarvik::lp {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kMarkRoom = 6;      // half the size of the room a mark keeps free of labels
constexpr double kHatchStep = 14;    // pixels between two hatch strokes
constexpr double kHatchLength = 6;   // pixels
constexpr double kMaxHatches = 1500; // hatch strokes in one picture at most
constexpr double kArrowLength = 40;  // the improving direction
constexpr double kPad = 2;           // around a label's text
constexpr std::size_t kMaxVertexDots = 200;

double Length(Px a, Px b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

Px Along(Px a, Px b, double f) {
    return {a.x + f * (b.x - a.x), a.y + f * (b.y - a.y)};
}

Px Unit(Px v) {
    const double n = std::hypot(v.x, v.y);
    return n > 0 ? Px{v.x / n, v.y / n} : Px{0, 0};
}

// From the plane to the pixels of the plot.
struct Mapper {
    PxRect plot;
    double xMax = 1, yMax = 1;
    Px operator()(PlanePoint p) const {
        return {plot.left + p.x / xMax * plot.width, plot.bottom() - p.y / yMax * plot.height};
    }
    // A direction of the plane as a pixel direction of unit length.
    Px direction(PlanePoint d) const { return Unit({d.x / xMax * plot.width, -d.y / yMax * plot.height}); }
    // A pixel direction back in the plane (not normalised).
    PlanePoint back(Px d) const { return {d.x / plot.width * xMax, -d.y / plot.height * yMax}; }
};

// The stretch of p + t u inside [0, xMax] x [0, yMax], within [t0, t1].
bool ClipToBox(PlanePoint p, PlanePoint u, double xMax, double yMax, double& t0, double& t1) {
    const double pk[4] = {-u.x, u.x, -u.y, u.y};
    const double qk[4] = {p.x, xMax - p.x, p.y, yMax - p.y};
    for (int k = 0; k < 4; ++k) {
        if (pk[k] == 0) {
            if (qk[k] < 0) return false;
            continue;
        }
        const double t = qk[k] / pk[k];
        if (pk[k] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    return t0 <= t1;
}

// The line a x + b y = c within the box, as two points; false when it misses the box.
bool LineInBox(double a, double b, double c, double xMax, double yMax, PlanePoint& from, PlanePoint& to) {
    const double norm2 = a * a + b * b;
    if (!(norm2 > 0)) return false;
    const double norm = std::sqrt(norm2);
    const PlanePoint p{a * c / norm2, b * c / norm2};
    const PlanePoint u{-b / norm, a / norm};
    double t0 = -kInf, t1 = kInf;
    if (!ClipToBox(p, u, xMax, yMax, t0, t1)) return false;
    from = {p.x + t0 * u.x, p.y + t0 * u.y};
    to = {p.x + t1 * u.x, p.y + t1 * u.y};
    return true;
}

// Labels, each in the first of its candidate places that is free. The
// places taken are filed in a grid of cells, so that a candidate is compared
// only with its neighbours.
class Placer {
public:
    explicit Placer(PxRect bounds)
        : bounds_(bounds), columns_(Cells(bounds.width)), rows_(Cells(bounds.height)),
          cells_(static_cast<std::size_t>(columns_) * rows_) {}
    void block(const PxRect& r) { add(r); }
    bool place(const std::vector<PxRect>& candidates, PxRect& chosen) {
        for (const PxRect& c : candidates) {
            if (!c.inside(bounds_) || !free(c)) continue;
            add(c);
            chosen = c;
            return true;
        }
        return false;
    }

private:
    static constexpr double kCell = 24;
    static int Cells(double length) { return std::max(1, static_cast<int>(std::ceil(length / kCell))); }
    // The cells a rectangle overlaps (clamped to the grid), by number, while
    // `f` returns true.
    template <typename F> bool each(const PxRect& r, F f) const {
        auto cell = [](double v, int count) {
            return std::clamp(static_cast<int>(std::floor(v / kCell)), 0, count - 1);
        };
        const int c0 = cell(r.left - bounds_.left, columns_), c1 = cell(r.right() - bounds_.left, columns_);
        const int r0 = cell(r.top - bounds_.top, rows_), r1 = cell(r.bottom() - bounds_.top, rows_);
        for (int y = r0; y <= r1; ++y)
            for (int x = c0; x <= c1; ++x)
                if (!f(static_cast<std::size_t>(y) * columns_ + x)) return false;
        return true;
    }
    bool free(const PxRect& r) const {
        return each(r, [&](std::size_t cell) {
            return std::none_of(cells_[cell].begin(), cells_[cell].end(),
                                [&](int i) { return taken_[i].intersects(r); });
        });
    }
    void add(const PxRect& r) {
        const int index = static_cast<int>(taken_.size());
        taken_.push_back(r);
        each(r, [&](std::size_t cell) {
            cells_[cell].push_back(index);
            return true;
        });
    }

    PxRect bounds_;
    int columns_, rows_;
    std::vector<std::vector<int>> cells_;
    std::vector<PxRect> taken_;
};

// Places around a point, nearest first.
std::vector<PxRect> AroundPoint(Px p, Px size) {
    std::vector<PxRect> c;
    const double w = size.x, h = size.y;
    for (double g : {6.0, 14.0, 26.0, 42.0}) {
        c.push_back({p.x + g, p.y - g - h, w, h});
        c.push_back({p.x + g, p.y + g, w, h});
        c.push_back({p.x - g - w, p.y - g - h, w, h});
        c.push_back({p.x - g - w, p.y + g, w, h});
        c.push_back({p.x - w / 2, p.y - g - h, w, h});
        c.push_back({p.x - w / 2, p.y + g, w, h});
        c.push_back({p.x + g, p.y - h / 2, w, h});
        c.push_back({p.x - g - w, p.y - h / 2, w, h});
    }
    return c;
}

// Places beside a stretch of line, on the side of `first` first.
std::vector<PxRect> AlongLine(Px a, Px b, Px first, Px size) {
    std::vector<PxRect> c;
    const double off = 4 + std::fabs(first.x) * size.x / 2 + std::fabs(first.y) * size.y / 2;
    for (double f :
         {0.9, 0.78, 0.66, 0.54, 0.42, 0.3, 0.18, 0.06, 0.96, 0.84, 0.72, 0.6, 0.48, 0.36, 0.24, 0.12})
        for (double side : {1.0, -1.0}) {
            const Px m = Along(a, b, f);
            const Px centre{m.x + side * first.x * off, m.y + side * first.y * off};
            c.push_back({centre.x - size.x / 2, centre.y - size.y / 2, size.x, size.y});
        }
    return c;
}

PxRect Room(Px p, double half) {
    return {p.x - half, p.y - half, 2 * half, 2 * half};
}

// A variable's name as the picture writes it: a long one cut short.
std::string ShortName(const std::string& name) {
    return name.size() > 16 ? name.substr(0, 13) + "..." : name;
}

// The text, cut short with "..." where it is wider than `room`.
std::string Fit(std::string t, double room, bool bold, const TextMeasure& measure) {
    while (t.size() > 4 && measure(t, bold).x > room) t = t.substr(0, t.size() - 4) + "...";
    return t;
}

// "3 X1 - X2": the terms of a x + b y.
std::string Terms(double a, double b, const PlaneModel& m) {
    std::string t;
    bool first = true;
    for (int i = 0; i < 2; ++i) {
        const double c = i == 0 ? a : b;
        if (c == 0) continue;
        if (first)
            t += c < 0 ? "-" : "";
        else
            t += c < 0 ? " - " : " + ";
        if (std::fabs(c) != 1) t += PictureNumber(std::fabs(c)) + " ";
        t += ShortName(i == 0 ? m.xName : m.yName);
        first = false;
    }
    return first ? "0" : t;
}

std::string ObjectiveText(const PlaneModel& m) {
    const double sign = m.minimize ? -1 : 1;
    return (m.minimize ? "MIN " : "MAX ") + Terms(sign * m.cx, sign * m.cy, m);
}

} // namespace

std::string PictureNumber(double value) {
    if (std::fabs(value) < 1e-9) value = 0;
    return tarvik::FormatGeneral(value, 6);
}

std::string ConstraintText(const PlaneModel& m, const PlaneConstraint& k) {
    const char* relation = k.relation == Relation::LessEqual      ? " <= "
                           : k.relation == Relation::GreaterEqual ? " >= "
                                                                  : " = ";
    return Terms(k.a, k.b, m) + relation + PictureNumber(k.rhs);
}

GraphicalLayout LayOutGraphical(const GraphicalSolution& s, int width, int height,
                                const TextMeasure& measure) {
    GraphicalLayout g;
    g.width = width;
    g.height = height;
    const PlaneModel& model = s.model;
    const PlaneView view = ViewOf(s);
    const bool ip = s.integer.has_value();
    const double lineHeight = measure("Xg", false).y;

    // ---- the frame: title, axes, legend -------------------------------------------
    const int xTicks = static_cast<int>(std::lround(view.xMax / view.xStep));
    const int yTicks = static_cast<int>(std::lround(view.yMax / view.yStep));
    double tickWidth = 0;
    for (int k = 0; k <= yTicks; ++k)
        tickWidth = std::max(tickWidth, measure(PictureNumber(k * view.yStep), false).x);
    const double legendWidth = std::min(0.36 * width, 260.0);
    const std::string xName = ShortName(model.xName), yName = ShortName(model.yName);
    const Px yNameSize = measure(yName, false);
    g.plot.left = std::max(tickWidth + 12, yNameSize.x / 2 + 4);
    const std::string title = Fit(ObjectiveText(model), width - g.plot.left - 8, true, measure);
    const Px titleSize = measure(title, true);
    g.plot.top = 8 + titleSize.y + 8 + yNameSize.y + 10;
    const double right = width - legendWidth - 20;
    const double bottom = height - 2 * lineHeight - 16;
    g.plot.width = std::max(40.0, right - g.plot.left);
    g.plot.height = std::max(40.0, bottom - g.plot.top);
    const Mapper map{g.plot, view.xMax, view.yMax};

    g.texts.push_back({title, {g.plot.left, 8, titleSize.x, titleSize.y}, Ink::Title, -1, true});
    g.texts.push_back(
        {yName,
         {g.plot.left - yNameSize.x / 2, g.plot.top - yNameSize.y - 10, yNameSize.x, yNameSize.y},
         Ink::Text});
    const Px xNameSize = measure(xName, false);
    g.texts.push_back(
        {xName,
         {g.plot.right() - xNameSize.x, g.plot.bottom() + lineHeight + 10, xNameSize.x, xNameSize.y},
         Ink::Text});

    // ---- the region ---------------------------------------------------------------
    // A bounded region stands whole in the view, its vertices in order the
    // polygon; the others are cut to the view.
    const auto inView = [&](PlanePoint p) {
        return p.x >= 0 && p.y >= 0 && p.x <= view.xMax && p.y <= view.yMax;
    };
    const std::vector<PlanePoint> box = s.region == RegionKind::Empty || s.flat ? std::vector<PlanePoint>{}
                                        : s.region == RegionKind::Bounded && s.vertices.size() >= 3 &&
                                                std::all_of(s.vertices.begin(), s.vertices.end(), inView)
                                            ? s.vertices
                                            : RegionInBox(model, view.xMax, view.yMax);
    if (box.size() >= 3) {
        std::vector<Px> fill;
        for (const PlanePoint& p : box) fill.push_back(map(p));
        g.fills.push_back(std::move(fill));
    }
    for (int k = 1; k < xTicks; ++k) {
        const double x = k * view.xStep;
        g.lines.push_back({{map({x, 0}), map({x, view.yMax})}, Ink::Grid});
    }
    for (int k = 1; k < yTicks; ++k) {
        const double y = k * view.yStep;
        g.lines.push_back({{map({0, y}), map({view.xMax, y})}, Ink::Grid});
    }
    if (ip) {
        for (const auto& [a, b] : s.integer->segments)
            g.lines.push_back({{map(a), map(b)}, Ink::IntegerPoint});
    }

    // ---- the constraint lines, with their feasible sides hatched -------------------
    struct Visible {
        int index;
        Px a, b;
        Px outside; // pixel normal towards the infeasible side (or any side of an equation)
    };
    std::vector<Visible> visible;
    double hatchLength = 0;
    for (std::size_t i = 0; i < model.constraints.size(); ++i) {
        const PlaneConstraint& k = model.constraints[i];
        PlanePoint from, to;
        if (!LineInBox(k.a, k.b, k.rhs, view.xMax, view.yMax, from, to)) continue;
        const Px a = map(from), b = map(to);
        if (Length(a, b) < 1) continue;
        const Px along = Unit({b.x - a.x, b.y - a.y});
        Px normal{along.y, -along.x};
        // Towards larger a x + b y in the plane: the infeasible side of "<=".
        const PlanePoint back = map.back(normal);
        if (back.x * k.a + back.y * k.b < 0) normal = {-normal.x, -normal.y};
        if (k.relation == Relation::GreaterEqual) normal = {-normal.x, -normal.y};
        visible.push_back({static_cast<int>(i), a, b, normal});
        g.lines.push_back({{a, b}, Ink::Constraint, static_cast<int>(i)});
        if (k.relation != Relation::Equal) hatchLength += Length(a, b);
    }
    const double step = std::max(kHatchStep, hatchLength / kMaxHatches);
    for (const Visible& v : visible) {
        if (model.constraints[v.index].relation == Relation::Equal) continue;
        const double length = Length(v.a, v.b);
        for (double d = step / 2; d < length; d += step) {
            const Px p = Along(v.a, v.b, d / length);
            g.lines.push_back({{p, {p.x - v.outside.x * kHatchLength, p.y - v.outside.y * kHatchLength}},
                               Ink::Hatch,
                               v.index});
        }
    }

    // The region's own edges (not where the picture cuts it off), or a flat region.
    auto onFarSide = [&](PlanePoint p, PlanePoint q) {
        const double ex = 1e-9 * view.xMax, ey = 1e-9 * view.yMax;
        return (std::fabs(p.x - view.xMax) <= ex && std::fabs(q.x - view.xMax) <= ex) ||
               (std::fabs(p.y - view.yMax) <= ey && std::fabs(q.y - view.yMax) <= ey);
    };
    for (std::size_t i = 0; box.size() >= 3 && i < box.size(); ++i) {
        const PlanePoint p = box[i], q = box[(i + 1) % box.size()];
        if (!onFarSide(p, q)) g.lines.push_back({{map(p), map(q)}, Ink::RegionEdge});
    }
    // Where a ray leaves the picture.
    auto rayEnd = [&](const RegionRay& r, PlanePoint& end) {
        const PlanePoint v = s.vertices[r.vertex];
        double t0 = 0, t1 = kInf;
        if (!ClipToBox(v, r.direction, view.xMax, view.yMax, t0, t1)) return false;
        end = {v.x + t1 * r.direction.x, v.y + t1 * r.direction.y};
        return true;
    };
    if (s.flat && !s.vertices.empty()) {
        std::vector<Px> stretch{map(s.vertices.front())};
        if (s.vertices.size() > 1) stretch.push_back(map(s.vertices.back()));
        for (const RegionRay& r : s.rays) {
            PlanePoint end;
            if (rayEnd(r, end)) stretch = {map(s.vertices[r.vertex]), map(end)};
        }
        if (stretch.size() == 2) g.lines.push_back({stretch, Ink::Flat});
    }

    // ---- the objective --------------------------------------------------------------
    const double cNorm = std::hypot(model.cx, model.cy);
    int through = -1; // the vertex the level line goes through
    if (s.optimum == OptimumKind::Vertex || s.optimum == OptimumKind::Edge || s.optimum == OptimumKind::Ray)
        through = s.optimalVertex;
    if (s.optimum == OptimumKind::Unbounded) {
        through = 0;
        for (const PathPoint& p : s.path)
            if (p.vertex >= 0) through = p.vertex;
    }
    Px improveFrom, improveTo;
    if (through >= 0 && cNorm > 0) {
        const PlanePoint p = s.vertices[through];
        PlanePoint from, to;
        if (LineInBox(model.cx, model.cy, model.cx * p.x + model.cy * p.y, view.xMax, view.yMax, from, to))
            g.lines.push_back({{map(from), map(to)}, Ink::Level});
        // Across the level line in the picture, towards larger values (maximisation form).
        const Px along = map.direction({-model.cy, model.cx});
        Px normal{along.y, -along.x};
        const PlanePoint back = map.back(normal);
        if (back.x * model.cx + back.y * model.cy < 0) normal = {-normal.x, -normal.y};
        improveFrom = map(p);
        if (s.optimum == OptimumKind::Edge)
            improveFrom = Along(map(p), map(s.vertices[s.optimalVertex2]), 0.5);
        improveTo = {improveFrom.x + normal.x * kArrowLength, improveFrom.y + normal.y * kArrowLength};
    }
    g.lines.push_back({{map({0, 0}), map({view.xMax, 0})}, Ink::Axis});
    g.lines.push_back({{map({0, 0}), map({0, view.yMax})}, Ink::Axis});
    if (s.optimum == OptimumKind::Edge)
        g.lines.push_back(
            {{map(s.vertices[s.optimalVertex]), map(s.vertices[s.optimalVertex2])}, Ink::Optimum});
    if (s.optimum == OptimumKind::Ray) {
        for (const RegionRay& r : s.rays) {
            PlanePoint end;
            if (r.vertex == s.optimalVertex && rayEnd(r, end))
                g.lines.push_back({{map(s.vertices[r.vertex]), map(end)}, Ink::Optimum});
        }
    }

    // ---- arrows and marks -----------------------------------------------------------------
    for (const RegionRay& r : s.rays) {
        PlanePoint end;
        if (!rayEnd(r, end)) continue;
        const Px a = map(s.vertices[r.vertex]), b = map(end);
        const double length = Length(a, b);
        if (length < 48) continue;
        g.arrows.push_back(
            {Along(a, b, (length - 36) / length), Along(a, b, (length - 6) / length), Ink::Open});
    }
    if (through >= 0 && cNorm > 0) g.arrows.push_back({improveFrom, improveTo, Ink::Improve});
    if (ip) {
        for (const PlanePoint& p : s.integer->points) g.marks.push_back({map(p), Ink::IntegerPoint});
    }
    // Vertices as dots, while they are few enough to tell apart (the region's edges show the rest).
    if (s.vertices.size() <= kMaxVertexDots)
        for (const PlanePoint& p : s.vertices) g.marks.push_back({map(p), Ink::Vertex});
    std::vector<Px> pathPx;
    for (const PathPoint& p : s.path) pathPx.push_back(map(p.at));
    for (std::size_t i = 1; i < pathPx.size(); ++i) {
        const double length = Length(pathPx[i - 1], pathPx[i]);
        if (length < 16) continue;
        g.arrows.push_back({Along(pathPx[i - 1], pathPx[i], 6 / length),
                            Along(pathPx[i - 1], pathPx[i], (length - 7) / length)});
    }

    // Labels stay left of the legend.
    Placer placer({0, 0, g.plot.right() + 14, static_cast<double>(height)});
    // Ticks first: they stand where they must.
    for (int k = 0; k <= xTicks; ++k) {
        const std::string t = PictureNumber(k * view.xStep);
        const Px size = measure(t, false);
        const Px at = map({k * view.xStep, 0});
        const PxRect r{at.x - size.x / 2, at.y + 4, size.x, size.y};
        g.texts.push_back({t, r, Ink::Text});
        placer.block(r);
    }
    for (int k = 1; k <= yTicks; ++k) {
        const std::string t = PictureNumber(k * view.yStep);
        const Px size = measure(t, false);
        const Px at = map({0, k * view.yStep});
        const PxRect r{at.x - size.x - 6, at.y - size.y / 2, size.x, size.y};
        g.texts.push_back({t, r, Ink::Text});
        placer.block(r);
    }
    for (const PxText& t : g.texts) placer.block(t.box);
    // Labels leave the arrows of the region and the objective in sight.
    for (const PxArrow& a : g.arrows) {
        if (a.ink == Ink::Path) continue;
        placer.block({std::min(a.from.x, a.to.x) - 3, std::min(a.from.y, a.to.y) - 3,
                      std::fabs(a.to.x - a.from.x) + 6, std::fabs(a.to.y - a.from.y) + 6});
    }

    // The marks that labels keep clear of.
    for (const PathPoint& p : s.path) {
        g.marks.push_back({map(p.at), p.vertex >= 0 ? Ink::PathFeasible : Ink::PathInfeasible});
        placer.block(Room(map(p.at), kMarkRoom));
    }
    auto mark = [&](PlanePoint p, Ink ink) {
        g.marks.push_back({map(p), ink});
        placer.block(Room(map(p), kMarkRoom + 1));
    };
    if (s.optimum == OptimumKind::Vertex || s.optimum == OptimumKind::Ray)
        mark(s.vertices[s.optimalVertex], Ink::Optimum);
    if (s.optimum == OptimumKind::Edge) {
        mark(s.vertices[s.optimalVertex], Ink::Optimum);
        mark(s.vertices[s.optimalVertex2], Ink::Optimum);
    }
    if (ip && s.integer->haveOptimum) mark(s.integer->optimum, Ink::IntegerOptimum);

    // ---- labels, the most important first ---------------------------------------------------
    const PxRect inPlot = g.plot;
    auto label = [&](const std::string& text, const std::vector<PxRect>& candidates, Ink ink, int index,
                     bool bold) {
        PxRect chosen;
        if (placer.place(candidates, chosen))
            g.texts.push_back({text, chosen, ink, index, bold});
        else
            ++g.droppedLabels;
    };
    auto padded = [&](const std::string& text, bool bold) {
        const Px size = measure(text, bold);
        return Px{size.x + 2 * kPad, size.y + 2 * kPad};
    };
    if (s.region == RegionKind::Empty) {
        const std::string note = "There is no feasible region";
        const Px size = padded(note, true);
        std::vector<PxRect> places;
        for (double f : {0.5, 0.3, 0.7, 0.15, 0.85})
            places.push_back({inPlot.left + (inPlot.width - size.x) / 2,
                              inPlot.top + f * inPlot.height - size.y / 2, size.x, size.y});
        label(note, places, Ink::Note, -1, true);
    }
    const std::string optimumWord = ip ? "LP optimum" : "optimum";
    auto at = [&](int v) {
        return "(" + PictureNumber(s.vertices[v].x) + ", " + PictureNumber(s.vertices[v].y) + ")";
    };
    switch (s.optimum) {
    case OptimumKind::Vertex: {
        const std::string t =
            optimumWord + " " + at(s.optimalVertex) + ", z = " + PictureNumber(s.optimalValue);
        label(t, AroundPoint(map(s.vertices[s.optimalVertex]), padded(t, true)), Ink::Text, -1, true);
        break;
    }
    case OptimumKind::Edge: {
        const std::string t = "optimal edge " + at(s.optimalVertex) + " to " + at(s.optimalVertex2) +
                              ", z = " + PictureNumber(s.optimalValue);
        const Px a = map(s.vertices[s.optimalVertex]), b = map(s.vertices[s.optimalVertex2]);
        std::vector<PxRect> places = AroundPoint(Along(a, b, 0.5), padded(t, true));
        const std::vector<PxRect> more = AroundPoint(a, padded(t, true));
        places.insert(places.end(), more.begin(), more.end());
        label(t, places, Ink::Text, -1, true);
        break;
    }
    case OptimumKind::Ray: {
        const std::string t =
            "optimal ray from " + at(s.optimalVertex) + ", z = " + PictureNumber(s.optimalValue);
        label(t, AroundPoint(map(s.vertices[s.optimalVertex]), padded(t, true)), Ink::Text, -1, true);
        break;
    }
    case OptimumKind::Unbounded: {
        const std::string t = "objective unbounded";
        label(t, AroundPoint(improveTo, padded(t, true)), Ink::Text, -1, true);
        break;
    }
    case OptimumKind::Region: {
        const std::string t = "every point is optimal, z = " + PictureNumber(s.optimalValue);
        label(t, AroundPoint(map(s.vertices.front()), padded(t, true)), Ink::Text, -1, true);
        break;
    }
    case OptimumKind::None:
        break;
    }
    if (ip && s.integer->haveOptimum) {
        const PlanePoint p = s.integer->optimum;
        const std::string t = std::string(s.integer->proven ? "integer optimum" : "best integer point") +
                              " (" + PictureNumber(p.x) + ", " + PictureNumber(p.y) +
                              "), z = " + PictureNumber(s.integer->value);
        label(t, AroundPoint(map(p), padded(t, true)), Ink::Text, -1, true);
    }
    // The path's numbers: one label for every point, naming each visit.
    std::vector<std::string> numbers;
    std::vector<Px> places;
    for (std::size_t i = 0; i < s.path.size(); ++i) {
        std::size_t j = 0;
        while (j < places.size() && Length(places[j], pathPx[i]) >= 1) ++j;
        if (j == places.size()) {
            places.push_back(pathPx[i]);
            numbers.push_back(std::to_string(i + 1));
        } else {
            numbers[j] += ", " + std::to_string(i + 1);
        }
    }
    for (std::size_t j = 0; j < places.size(); ++j)
        label(numbers[j], AroundPoint(places[j], padded(numbers[j], true)), Ink::Path, -1, true);
    for (const Visible& v : visible) {
        const std::string& t = model.constraints[v.index].label;
        label(t, AlongLine(v.a, v.b, v.outside, padded(t, false)), Ink::Constraint, v.index, false);
    }

    // ---- the legend ------------------------------------------------------------------------------
    const double lastTick = measure(PictureNumber(xTicks * view.xStep), false).x;
    const double lx = g.plot.right() + std::max(20.0, lastTick / 2 + 8), textX = lx + 34;
    const double avail = width - textX - 4;
    double ly = g.plot.top;
    auto entry = [&](Ink ink, int index, const std::string& text) {
        const std::string t = Fit(text, avail, false, measure);
        const Px size = measure(t, false);
        g.legend.push_back({{lx, ly + 1, 26, size.y - 2}, ink, index});
        g.texts.push_back({t, {textX, ly, size.x, size.y}, Ink::LegendText, index});
        ly += size.y + 5;
    };
    if (s.region != RegionKind::Empty) entry(s.flat ? Ink::Flat : Ink::Region, -1, "Feasible region");
    if (s.region == RegionKind::Unbounded) entry(Ink::Open, -1, "Region goes on");
    if (through >= 0 && cNorm > 0) {
        entry(Ink::Level, -1, "Objective level line");
        entry(Ink::Improve, -1, "Objective improves");
    }
    if (s.optimum != OptimumKind::None && s.optimum != OptimumKind::Unbounded &&
        s.optimum != OptimumKind::Region)
        entry(Ink::Optimum, -1, ip ? "LP optimum" : "Optimum");
    if (!s.path.empty()) entry(Ink::PathFeasible, -1, "Simplex path, numbered");
    if (std::any_of(s.path.begin(), s.path.end(), [](const PathPoint& p) { return p.vertex < 0; }))
        entry(Ink::PathInfeasible, -1, "Basic solution outside");
    if (ip && (s.integer->xInteger || s.integer->yInteger))
        entry(Ink::IntegerPoint, -1,
              s.integer->tooMany ? "Integer points: too many to show" : "Integer points");
    if (ip && s.integer->haveOptimum)
        entry(Ink::IntegerOptimum, -1, s.integer->proven ? "Integer optimum" : "Best integer point");
    ly += 6;
    for (std::size_t i = 0; i < model.constraints.size(); ++i) {
        if (ly + 2 * (lineHeight + 5) > height && i + 1 < model.constraints.size()) {
            entry(Ink::LegendText, -1,
                  "... and " + std::to_string(model.constraints.size() - i) + " more constraints");
            break;
        }
        const PlaneConstraint& k = model.constraints[i];
        const bool shown = std::any_of(visible.begin(), visible.end(),
                                       [&](const Visible& v) { return v.index == static_cast<int>(i); });
        std::string t = k.number > 0 ? k.label + " " + ConstraintText(model, k) : k.label;
        if (!shown) t += std::hypot(k.a, k.b) > 0 ? " (not in view)" : " (no line)";
        entry(Ink::Constraint, static_cast<int>(i), t);
    }
    return g;
}

} // namespace tarvik::lp
