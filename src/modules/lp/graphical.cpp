#include "modules/lp/graphical.h"

#include "common/numformat.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tarvik::lp {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kParallel = 1e-14; // |n . u| below this: the line runs along the half-plane's edge
constexpr double kRelative = 1e-9;  // feasibility, relative to the model's numbers
constexpr double kSamePoint = 1e-7; // two endpoints are one vertex, relative to their size
constexpr double kOnVertex = 1e-6;  // a basic solution lies on a vertex, relative to its size
constexpr double kDirection = 1e-9; // a direction along which the objective is constant

// n . p <= c, with |n| = 1; a x + b y = rhs is its line as the model writes it.
struct HalfPlane {
    double nx = 0, ny = 0, c = 0;
    double a = 0, b = 0, rhs = 0;
};

// The region as half-planes: the first quadrant and every constraint (an
// equation as two). A constraint without variables holds or fails as a whole.
struct Region {
    std::vector<HalfPlane> planes;
    double unit = 1;        // the size of the model's numbers: its lines' largest distance from the origin
    double tol = kRelative; // feasibility tolerance in the plane's units
    bool empty = false;     // a constraint without variables fails
};

Region RegionOf(const PlaneModel& model) {
    Region r;
    r.planes.push_back({-1, 0, 0, 1, 0, 0});
    r.planes.push_back({0, -1, 0, 0, 1, 0});
    double scale = 0;
    for (const PlaneConstraint& k : model.constraints) {
        const double norm = std::hypot(k.a, k.b);
        if (!(norm > 0)) continue;
        scale = std::max(scale, std::fabs(k.rhs) / norm);
    }
    r.unit = scale > 0 ? scale : 1;
    r.tol = kRelative * r.unit;
    for (const PlaneConstraint& k : model.constraints) {
        const double norm = std::hypot(k.a, k.b);
        if (!(norm > 0)) {
            // 0 (relation) rhs.
            const bool holds = k.relation == Relation::LessEqual      ? k.rhs >= -r.tol
                               : k.relation == Relation::GreaterEqual ? k.rhs <= r.tol
                                                                      : std::fabs(k.rhs) <= r.tol;
            if (!holds) r.empty = true;
            continue;
        }
        const HalfPlane le{k.a / norm, k.b / norm, k.rhs / norm, k.a, k.b, k.rhs};
        if (k.relation != Relation::GreaterEqual) r.planes.push_back(le);
        if (k.relation != Relation::LessEqual) r.planes.push_back({-le.nx, -le.ny, -le.c, k.a, k.b, k.rhs});
    }
    return r;
}

// The stretch [from, to] of p + t u (|u| = 1) inside the region, and the
// half-planes that end it (-1 for an open end).
bool Clip(const Region& r, PlanePoint p, PlanePoint u, double& from, double& to, int* fromPlane = nullptr,
          int* toPlane = nullptr) {
    from = -kInf;
    to = kInf;
    if (fromPlane) *fromPlane = *toPlane = -1;
    if (r.empty) return false;
    for (std::size_t i = 0; i < r.planes.size(); ++i) {
        const HalfPlane& h = r.planes[i];
        const double g = h.nx * u.x + h.ny * u.y;
        const double rest = h.c - (h.nx * p.x + h.ny * p.y);
        if (std::fabs(g) <= kParallel) {
            if (rest < -r.tol) return false;
            continue;
        }
        const double t = rest / g;
        if (g > 0 && t < to) {
            to = t;
            if (toPlane) *toPlane = static_cast<int>(i);
        } else if (g < 0 && t > from) {
            from = t;
            if (fromPlane) *fromPlane = static_cast<int>(i);
        }
    }
    if (from > to + r.tol) return false;
    if (from > to) from = to = (from + to) / 2;
    return true;
}

double Norm(PlanePoint p) {
    return std::hypot(p.x, p.y);
}

// Equal to within `relative` of their size, and at least of `unit`.
bool SamePoint(PlanePoint a, PlanePoint b, double relative, double unit) {
    const double size = std::max({unit, Norm(a), Norm(b)});
    return std::fabs(a.x - b.x) <= relative * size && std::fabs(a.y - b.y) <= relative * size;
}

// Where the lines of two half-planes cross, from the model's own numbers
// (more exact than a step along the line when the lines are nearly parallel);
// `fallback` when they do not cross.
PlanePoint Crossing(const HalfPlane& p, const HalfPlane& q, PlanePoint fallback) {
    const double det = p.a * q.b - p.b * q.a;
    if (det == 0) return fallback;
    const PlanePoint v{(p.rhs * q.b - p.b * q.rhs) / det, (p.a * q.rhs - p.rhs * q.a) / det};
    return std::isfinite(v.x) && std::isfinite(v.y) ? v : fallback;
}

// Index of p among `points` (added when new).
int PointIndex(std::vector<PlanePoint>& points, PlanePoint p, double unit) {
    for (std::size_t i = 0; i < points.size(); ++i)
        if (SamePoint(points[i], p, kSamePoint, unit)) return static_cast<int>(i);
    points.push_back(p);
    return static_cast<int>(points.size()) - 1;
}

// A direction scaled so that its largest component is 1 in size.
PlanePoint Readable(PlanePoint d) {
    const double m = std::max(std::fabs(d.x), std::fabs(d.y));
    if (!(m > 0)) return d;
    return {d.x / m, d.y / m};
}

} // namespace

std::string PlaneNumber(double value) {
    std::string s = tarvik::FormatFixed(value, 4);
    if (s == "-0.0000") s = "0.0000";
    return s;
}

std::string PlanePointText(PlanePoint p) {
    return "(" + PlaneNumber(p.x) + ", " + PlaneNumber(p.y) + ")";
}

std::optional<PlaneModel> PlaneModelOf(const LPModel& lp) {
    std::vector<int> decision;
    for (int j = 1; j <= lp.n; ++j)
        if (lp.columns[j].kind == ColumnKind::Decision) decision.push_back(j);
    if (decision.size() != 2) return std::nullopt;
    const int xc = decision[0], yc = decision[1];
    PlaneModel model;
    model.xName = lp.columns[xc].name;
    model.yName = lp.columns[yc].name;
    model.minimize = lp.minimize;
    model.cx = lp.cost[xc];
    model.cy = lp.cost[yc];
    for (int i = 1; i <= lp.m; ++i) {
        PlaneConstraint k;
        bool slack = false, surplus = false;
        for (int q = lp.rowStart[i]; q < lp.rowStart[i + 1]; ++q) {
            const int j = lp.rowCol[q];
            if (j == xc) k.a += lp.rowVal[q];
            if (j == yc) k.b += lp.rowVal[q];
            if (lp.columns[j].kind == ColumnKind::Slack) slack = true;
            if (lp.columns[j].kind == ColumnKind::Surplus) surplus = true;
        }
        k.relation = slack ? Relation::LessEqual : surplus ? Relation::GreaterEqual : Relation::Equal;
        k.rhs = lp.rhs[i];
        k.number = i;
        k.label = "(" + std::to_string(i) + ")";
        model.constraints.push_back(std::move(k));
    }
    return model;
}

PathRecorder::PathRecorder(const LPModel& model) : x_(0), y_(0) {
    for (int j = 1; j <= model.n; ++j) {
        if (model.columns[j].kind != ColumnKind::Decision) continue;
        if (!x_)
            x_ = j;
        else if (!y_)
            y_ = j;
    }
}

void PathRecorder::pass(int phase, const std::vector<double>& values) {
    PathPoint p;
    p.phase = phase;
    if (x_ > 0 && x_ < static_cast<int>(values.size())) p.at.x = values[x_];
    if (y_ > 0 && y_ < static_cast<int>(values.size())) p.at.y = values[y_];
    path_.push_back(p);
}

std::vector<PathPoint> SimplexPathOf(const PlaneModel& plane) {
    // The model as the LP reader would have built it from a text.
    ReadModel read;
    read.minimize = plane.minimize;
    read.names = {plane.xName, plane.yName};
    read.cost = {plane.cx, plane.cy};
    read.integer = {false, false};
    read.upper = {-1, -1};
    read.columns.push_back({plane.xName, ColumnKind::Decision, 0});
    read.columns.push_back({plane.yName, ColumnKind::Decision, 0});
    read.column = {1, 2};
    int number = 0;
    for (const PlaneConstraint& k : plane.constraints) {
        ++number;
        ReadConstraint c;
        c.terms = {{0, k.a}, {1, k.b}};
        c.relation = k.relation;
        c.rhs = k.rhs;
        auto add = [&](const std::string& name, ColumnKind kind) {
            read.columns.push_back({name + std::to_string(number), kind, number});
            return static_cast<int>(read.columns.size());
        };
        if (k.relation == Relation::LessEqual) c.slackColumn = add("Slack", ColumnKind::Slack);
        if (k.relation == Relation::GreaterEqual) c.surplusColumn = add("Surp.", ColumnKind::Surplus);
        if (k.relation != Relation::LessEqual) c.artificialColumn = add("Art.", ColumnKind::Artificial);
        read.constraints.push_back(std::move(c));
    }
    LPModel lp = BuildLPModel(read);
    PathRecorder recorder(1, 2);
    LPProgress quiet;
    std::string out;
    Simplex(lp, OutputMode::NoTableaus, quiet, out, Representation::Automatic, &recorder);
    return recorder.path();
}

bool RegionOnLine(const PlaneModel& model, PlanePoint p, PlanePoint u, double& from, double& to) {
    return Clip(RegionOf(model), p, u, from, to);
}

std::vector<PlanePoint> RegionInBox(const PlaneModel& model, double xMax, double yMax) {
    const Region r = RegionOf(model);
    if (r.empty) return {};
    std::vector<PlanePoint> poly{{0, 0}, {xMax, 0}, {xMax, yMax}, {0, yMax}};
    std::vector<PlanePoint> next;
    for (const HalfPlane& h : r.planes) {
        auto over = [&](PlanePoint p) { return h.nx * p.x + h.ny * p.y - h.c; };
        // Most half-planes of a large model leave the polygon as it stands.
        if (std::all_of(poly.begin(), poly.end(), [&](PlanePoint p) { return over(p) <= r.tol; })) continue;
        next.clear();
        for (std::size_t i = 0; i < poly.size(); ++i) {
            const PlanePoint p = poly[i], q = poly[i + 1 < poly.size() ? i + 1 : 0];
            const double fp = over(p), fq = over(q);
            const bool pin = fp <= r.tol, qin = fq <= r.tol;
            if (pin) next.push_back(p);
            if (pin != qin && fp != fq) {
                const double t = fp / (fp - fq);
                next.push_back({p.x + t * (q.x - p.x), p.y + t * (q.y - p.y)});
            }
        }
        poly.swap(next);
        if (poly.empty()) break;
    }
    return poly;
}

bool InRegion(const PlaneModel& model, PlanePoint p) {
    const Region r = RegionOf(model);
    if (r.empty) return false;
    for (const HalfPlane& h : r.planes)
        if (h.nx * p.x + h.ny * p.y - h.c > r.tol) return false;
    return true;
}

GraphicalSolution SolveGraphically(const PlaneModel& model, const std::vector<PathPoint>& path) {
    GraphicalSolution s;
    s.model = model;
    const Region region = RegionOf(model);

    // Every boundary line meets the region in a stretch whose ends are
    // vertices; an open end is a ray of the boundary.
    std::vector<PlanePoint> points;
    struct RawRay {
        int vertex;
        PlanePoint direction;
    };
    std::vector<RawRay> raw;
    for (const HalfPlane& h : region.planes) {
        const PlanePoint p{h.c * h.nx, h.c * h.ny};
        const PlanePoint u{-h.ny, h.nx};
        double from = 0, to = 0;
        int fromPlane = -1, toPlane = -1;
        if (!Clip(region, p, u, from, to, &fromPlane, &toPlane)) continue;
        if (std::isinf(from) && std::isinf(to)) continue; // no line lies in the quadrant whole
        PlanePoint a{p.x + from * u.x, p.y + from * u.y};
        PlanePoint b{p.x + to * u.x, p.y + to * u.y};
        if (from < to) {
            if (fromPlane >= 0) a = Crossing(h, region.planes[fromPlane], a);
            if (toPlane >= 0) b = Crossing(h, region.planes[toPlane], b);
        }
        if (std::isinf(from)) {
            raw.push_back({PointIndex(points, b, region.unit), {-u.x, -u.y}});
        } else if (std::isinf(to)) {
            raw.push_back({PointIndex(points, a, region.unit), u});
        } else {
            PointIndex(points, a, region.unit);
            PointIndex(points, b, region.unit);
        }
    }
    if (points.empty()) {
        s.region = RegionKind::Empty;
    } else {
        // Points that span the region: the vertices and a point out along each ray.
        double extent = region.unit;
        for (const PlanePoint& p : points) extent = std::max(extent, Norm(p));
        std::vector<PlanePoint> span = points;
        for (const RawRay& r : raw)
            span.push_back(
                {points[r.vertex].x + r.direction.x * extent, points[r.vertex].y + r.direction.y * extent});
        std::size_t far = 0;
        for (std::size_t i = 1; i < span.size(); ++i)
            if (Norm({span[i].x - span[0].x, span[i].y - span[0].y}) >
                Norm({span[far].x - span[0].x, span[far].y - span[0].y}))
                far = i;
        const PlanePoint axis{span[far].x - span[0].x, span[far].y - span[0].y};
        const double length = Norm(axis);
        double width = 0;
        if (length > 0)
            for (const PlanePoint& q : span)
                width = std::max(width,
                                 std::fabs(axis.x * (q.y - span[0].y) - axis.y * (q.x - span[0].x)) / length);
        s.flat = width <= kSamePoint * extent;

        // Counter-clockwise: by angle around a point inside, or along the region when it is flat.
        std::vector<double> key(points.size());
        if (s.flat) {
            for (std::size_t i = 0; i < points.size(); ++i)
                key[i] = points[i].x * axis.x + points[i].y * axis.y;
        } else {
            PlanePoint centre{0, 0};
            for (const PlanePoint& q : span) {
                centre.x += q.x / static_cast<double>(span.size());
                centre.y += q.y / static_cast<double>(span.size());
            }
            for (std::size_t i = 0; i < points.size(); ++i)
                key[i] = std::atan2(points[i].y - centre.y, points[i].x - centre.x);
        }
        std::vector<int> order(points.size());
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
        std::sort(order.begin(), order.end(), [&](int a, int b) { return key[a] < key[b]; });
        // Start at the vertex nearest the origin (of equally near ones, the one nearest the x axis).
        std::size_t start = 0;
        for (std::size_t i = 1; i < order.size(); ++i) {
            const PlanePoint p = points[order[i]], q = points[order[start]];
            const double dp = Norm(p), dq = Norm(q);
            const bool tie = std::fabs(dp - dq) <= kSamePoint * std::max(region.unit, dq);
            if ((!tie && dp < dq) || (tie && std::atan2(p.y, p.x) < std::atan2(q.y, q.x))) start = i;
        }
        if (s.flat && start != 0) {
            // Along a segment the nearest end comes first.
            std::reverse(order.begin(), order.end());
            start = order.size() - 1 - start;
        }
        std::rotate(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(start), order.end());
        std::vector<int> place(points.size());
        for (std::size_t i = 0; i < order.size(); ++i) {
            place[order[i]] = static_cast<int>(i);
            s.vertices.push_back(points[order[i]]);
            s.values.push_back(model.objective(points[order[i]]));
        }
        for (const RawRay& r : raw) {
            bool known = false;
            for (const RegionRay& k : s.rays)
                known = known ||
                        (k.vertex == place[r.vertex] && SamePoint(k.direction, r.direction, kDirection, 1));
            if (!known) s.rays.push_back({place[r.vertex], r.direction});
        }
        s.region = s.rays.empty() ? RegionKind::Bounded : RegionKind::Unbounded;

        // The optimum, in maximisation form.
        const double cNorm = std::hypot(model.cx, model.cy);
        if (!(cNorm > 0)) {
            s.optimum = OptimumKind::Region;
            s.optimalVertex = 0;
            s.optimalValue = 0;
        } else {
            // The steepest ray along which the objective grows; one that leaves
            // the point where the simplex path ends (where the method saw it) first.
            int from = -1;
            if (!path.empty())
                for (std::size_t i = 0; i < s.vertices.size(); ++i)
                    if (SamePoint(s.vertices[i], path.back().at, kOnVertex, region.unit))
                        from = static_cast<int>(i);
            for (int pass = 0; pass < 2 && s.optimum != OptimumKind::Unbounded; ++pass) {
                double steepest = kDirection, angle = 0;
                for (const RegionRay& r : s.rays) {
                    if (pass == 0 && r.vertex != from) continue;
                    const double slope = (model.cx * r.direction.x + model.cy * r.direction.y) / cNorm;
                    const double a = std::atan2(r.direction.y, r.direction.x);
                    if (slope > steepest + 1e-12 ||
                        (slope > kDirection && slope >= steepest - 1e-12 && a < angle)) {
                        steepest = slope;
                        angle = a;
                        s.optimum = OptimumKind::Unbounded;
                        s.optimalDirection = Readable(r.direction);
                    }
                }
            }
            if (s.optimum != OptimumKind::Unbounded) {
                auto gain = [&](PlanePoint p) { return model.cx * p.x + model.cy * p.y; };
                double best = -kInf, size = 0;
                for (const PlanePoint& p : s.vertices) {
                    best = std::max(best, gain(p));
                    size = std::max(size, Norm(p));
                }
                const double tol = kRelative * (1 + std::fabs(best) + cNorm * size);
                std::vector<int> optimal;
                for (std::size_t i = 0; i < s.vertices.size(); ++i)
                    if (gain(s.vertices[i]) >= best - tol) optimal.push_back(static_cast<int>(i));
                s.optimalVertex = optimal.front();
                s.optimum = OptimumKind::Vertex;
                if (optimal.size() >= 2) {
                    // An edge: its two ends are the optimal vertices farthest apart.
                    double longest = -1;
                    for (std::size_t i = 0; i < optimal.size(); ++i)
                        for (std::size_t j = i + 1; j < optimal.size(); ++j) {
                            const PlanePoint a = s.vertices[optimal[i]], b = s.vertices[optimal[j]];
                            const double d = Norm({a.x - b.x, a.y - b.y});
                            if (d > longest) {
                                longest = d;
                                s.optimalVertex = optimal[i];
                                s.optimalVertex2 = optimal[j];
                            }
                        }
                    s.optimum = OptimumKind::Edge;
                } else {
                    for (const RegionRay& r : s.rays)
                        if (r.vertex == s.optimalVertex &&
                            std::fabs(model.cx * r.direction.x + model.cy * r.direction.y) <=
                                kDirection * cNorm) {
                            s.optimum = OptimumKind::Ray;
                            s.optimalDirection = Readable(r.direction);
                        }
                }
                s.optimalValue = s.values[s.optimalVertex];
            }
        }
    }

    // The path, each point matched to the nearest vertex it lies on, one
    // entry for each stay on a point.
    for (const PathPoint& p : path) {
        PathPoint q = p;
        q.vertex = -1;
        double nearest = kInf;
        for (std::size_t i = 0; i < s.vertices.size(); ++i) {
            const double d = Norm({s.vertices[i].x - p.at.x, s.vertices[i].y - p.at.y});
            if (d < nearest && SamePoint(s.vertices[i], p.at, kOnVertex, region.unit)) {
                nearest = d;
                q.vertex = static_cast<int>(i);
            }
        }
        if (!s.path.empty() &&
            (q.vertex >= 0
                 ? q.vertex == s.path.back().vertex
                 : s.path.back().vertex < 0 && SamePoint(s.path.back().at, p.at, kSamePoint, region.unit))) {
            s.path.back().phase = std::max(s.path.back().phase, p.phase);
            continue;
        }
        s.path.push_back(q);
    }
    return s;
}

IntegerPoints IntegerPointsOf(const GraphicalSolution& s, bool xInteger, bool yInteger, double xMax,
                              double yMax, std::size_t limit) {
    IntegerPoints ip;
    ip.xInteger = xInteger;
    ip.yInteger = yInteger;
    if (s.region == RegionKind::Empty || !(xInteger || yInteger)) return ip;
    const Region region = RegionOf(s.model);
    const double nx = std::floor(std::max(0.0, xMax)), ny = std::floor(std::max(0.0, yMax));
    if (xInteger && yInteger) {
        if ((nx + 1) * (ny + 1) > static_cast<double>(limit)) {
            ip.tooMany = true;
            return ip;
        }
        for (int i = 0; i <= static_cast<int>(nx); ++i)
            for (int j = 0; j <= static_cast<int>(ny); ++j) {
                const PlanePoint p{static_cast<double>(i), static_cast<double>(j)};
                bool inside = true;
                for (const HalfPlane& h : region.planes)
                    if (h.nx * p.x + h.ny * p.y - h.c > region.tol) {
                        inside = false;
                        break;
                    }
                if (inside) ip.points.push_back(p);
            }
        return ip;
    }
    // One integer variable: the region on each of its integer lines.
    const double count = xInteger ? nx : ny;
    if (count + 1 > static_cast<double>(limit)) {
        ip.tooMany = true;
        return ip;
    }
    const double top = xInteger ? yMax : xMax;
    for (int k = 0; k <= static_cast<int>(count); ++k) {
        const PlanePoint p =
            xInteger ? PlanePoint{static_cast<double>(k), 0} : PlanePoint{0, static_cast<double>(k)};
        const PlanePoint u = xInteger ? PlanePoint{0, 1} : PlanePoint{1, 0};
        double from = 0, to = 0;
        if (!Clip(region, p, u, from, to)) continue;
        from = std::max(from, 0.0);
        to = std::min(to, top);
        if (from > to) continue;
        ip.segments.push_back({{p.x + from * u.x, p.y + from * u.y}, {p.x + to * u.x, p.y + to * u.y}});
    }
    return ip;
}

namespace {

// The smallest of 1, 2, 2.5 and 5 times a power of ten that divides [0, top]
// into at most eight steps.
double TickStep(double top) {
    const double rough = top / 8;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double f : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (f * power >= rough * (1 - 1e-12)) return f * power;
    return 10 * power;
}

} // namespace

PlaneView ViewOf(const GraphicalSolution& s) {
    double xs = 0, ys = 0;
    auto take = [&](PlanePoint p) {
        if (std::isfinite(p.x)) xs = std::max(xs, p.x);
        if (std::isfinite(p.y)) ys = std::max(ys, p.y);
    };
    for (const PlanePoint& p : s.vertices) take(p);
    for (const PathPoint& p : s.path) take(p.at);
    if (s.integer && s.integer->haveOptimum) take(s.integer->optimum);
    if (s.region == RegionKind::Empty) {
        // Where the constraint lines cross the axes.
        for (const PlaneConstraint& k : s.model.constraints) {
            if (k.a != 0 && k.rhs / k.a > 0) xs = std::max(xs, k.rhs / k.a);
            if (k.b != 0 && k.rhs / k.b > 0) ys = std::max(ys, k.rhs / k.b);
        }
    }
    double size = std::max({xs, ys, 0.0});
    if (s.region == RegionKind::Unbounded) {
        // Room to see where the region goes.
        const double reach = 0.6 * std::max(size, 1.0);
        for (const RegionRay& r : s.rays)
            take({s.vertices[r.vertex].x + r.direction.x * reach,
                  s.vertices[r.vertex].y + r.direction.y * reach});
        size = std::max({xs, ys, 0.0});
    }
    if (!(size > 0)) size = 1;
    // Neither axis shrinks to nothing beside the other; no axis runs beyond
    // what a double can hold with its margin.
    size = std::min(size, 1e100);
    xs = std::clamp(xs, 0.25 * size, size);
    ys = std::clamp(ys, 0.25 * size, size);
    PlaneView v;
    v.xStep = TickStep(xs * 1.12);
    v.yStep = TickStep(ys * 1.12);
    v.xMax = std::ceil(xs * 1.12 / v.xStep - 1e-9) * v.xStep;
    v.yMax = std::ceil(ys * 1.12 / v.yStep - 1e-9) * v.yStep;
    return v;
}

std::string GraphicalText(const GraphicalSolution& s) {
    std::string t;
    for (std::size_t i = 0; i < s.vertices.size(); ++i)
        t += "Vertex " + std::to_string(i + 1) + ": " + PlanePointText(s.vertices[i]) + "  objective " +
             PlaneNumber(s.values[i]) + "\r\n";
    auto vertex = [&](int i) {
        return "vertex " + std::to_string(i + 1) + " " + PlanePointText(s.vertices[i]);
    };
    switch (s.optimum) {
    case OptimumKind::None:
        t += "There is no feasible region\r\n";
        break;
    case OptimumKind::Vertex:
        t += "Optimal: " + vertex(s.optimalVertex) + "  objective " + PlaneNumber(s.optimalValue) + "\r\n";
        break;
    case OptimumKind::Edge:
        t += "Optimal: edge from " + vertex(s.optimalVertex) + " to " + vertex(s.optimalVertex2) +
             "  objective " + PlaneNumber(s.optimalValue) + "\r\n";
        break;
    case OptimumKind::Ray:
        t += "Optimal: ray from " + vertex(s.optimalVertex) + " in direction " +
             PlanePointText(s.optimalDirection) + "  objective " + PlaneNumber(s.optimalValue) + "\r\n";
        break;
    case OptimumKind::Region:
        t += "Optimal: the whole region  objective " + PlaneNumber(s.optimalValue) + "\r\n";
        break;
    case OptimumKind::Unbounded:
        t += "Unbounded direction: " + PlanePointText(s.optimalDirection) + "\r\n";
        break;
    }
    t += "Simplex path:";
    for (std::size_t i = 0; i < s.path.size(); ++i) {
        t += i == 0 ? " " : " -> ";
        const PathPoint& p = s.path[i];
        t += p.vertex >= 0 ? std::to_string(p.vertex + 1) : PlanePointText(p.at);
    }
    t += "\r\n";
    return t;
}

std::string GraphicalDescription(const GraphicalSolution& s) {
    std::string t = "Graphical solution: " + s.model.xName + " across, " + s.model.yName + " up, objective " +
                    (s.model.minimize ? "minimised" : "maximised") + "\n" + GraphicalText(s);
    if (s.integer) {
        if (s.integer->haveOptimum)
            t += std::string(s.integer->proven ? "Integer optimum: " : "Best integer point found: ") +
                 PlanePointText(s.integer->optimum) + "  objective " + PlaneNumber(s.integer->value) + "\r\n";
        else
            t += "No integer point found\r\n";
    }
    std::string lf;
    for (char c : t)
        if (c != '\r') lf.push_back(c);
    return lf;
}

} // namespace tarvik::lp
