#include "modules/ip/miprun.h"
#include "modules/lp/graphical.h"
#include "modules/lp/graphicallayout.h"
#include "modules/lp/lprun.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace tarvik::lp {
namespace {

// ---- an independent vertex enumeration: every pair of lines, kept when feasible ----

struct Line {
    double a, b, c; // a x + b y = c
};

bool Feasible(const PlaneModel& m, PlanePoint p) {
    const double tol = 1e-7 * (1 + std::fabs(p.x) + std::fabs(p.y));
    if (p.x < -tol || p.y < -tol) return false;
    for (const PlaneConstraint& k : m.constraints) {
        const double lhs = k.a * p.x + k.b * p.y, scale = tol * (1 + std::fabs(k.a) + std::fabs(k.b) + k.rhs);
        if (k.relation != Relation::GreaterEqual && lhs > k.rhs + scale) return false;
        if (k.relation != Relation::LessEqual && lhs < k.rhs - scale) return false;
    }
    return true;
}

std::vector<PlanePoint> PairVertices(const PlaneModel& m) {
    std::vector<Line> lines{{1, 0, 0}, {0, 1, 0}};
    for (const PlaneConstraint& k : m.constraints) lines.push_back({k.a, k.b, k.rhs});
    std::vector<PlanePoint> found;
    for (std::size_t i = 0; i < lines.size(); ++i)
        for (std::size_t j = i + 1; j < lines.size(); ++j) {
            const Line& p = lines[i];
            const Line& q = lines[j];
            const double det = p.a * q.b - p.b * q.a;
            if (std::fabs(det) < 1e-9) continue;
            const PlanePoint v{(p.c * q.b - p.b * q.c) / det, (p.a * q.c - p.c * q.a) / det};
            if (!Feasible(m, v)) continue;
            bool known = false;
            for (const PlanePoint& f : found) known = known || (std::hypot(f.x - v.x, f.y - v.y) < 1e-6);
            if (!known) found.push_back(v);
        }
    return found;
}

// An unbounded direction: along an axis or a constraint line, in the first quadrant.
bool Unbounded(const PlaneModel& m) {
    std::vector<PlanePoint> candidates{{1, 0}, {0, 1}};
    for (const PlaneConstraint& k : m.constraints) {
        candidates.push_back({-k.b, k.a});
        candidates.push_back({k.b, -k.a});
    }
    for (const PlanePoint& d : candidates) {
        const double n = std::hypot(d.x, d.y);
        if (n == 0 || d.x < -1e-12 || d.y < -1e-12) continue;
        bool ok = true;
        for (const PlaneConstraint& k : m.constraints) {
            const double s = (k.a * d.x + k.b * d.y) / n;
            if (k.relation != Relation::GreaterEqual && s > 1e-9) ok = false;
            if (k.relation != Relation::LessEqual && s < -1e-9) ok = false;
        }
        if (ok) return true;
    }
    return false;
}

// ---- random two-variable models of every kind ----

PlaneConstraint C(double a, double b, Relation r, double rhs) {
    return {a, b, r, rhs, 0, ""};
}

enum class Kind { Bounded, Unbounded, Infeasible, Degenerate, Parallel };

PlaneModel RandomModel(Kind kind, std::mt19937& rng) {
    std::uniform_int_distribution<int> coef(-4, 6), rhs(1, 20), count(1, 5), rel(0, 2);
    PlaneModel m;
    m.xName = "X";
    m.yName = "Y";
    m.cx = coef(rng);
    m.cy = coef(rng);
    m.minimize = rel(rng) == 0;
    auto random = [&](bool onlyGreater) {
        const Relation r = onlyGreater     ? Relation::GreaterEqual
                           : rel(rng) == 1 ? Relation::GreaterEqual
                                           : Relation::LessEqual;
        return C(std::abs(coef(rng)), std::abs(coef(rng)), r, rhs(rng));
    };
    const int n = count(rng);
    for (int i = 0; i < n; ++i) m.constraints.push_back(random(kind == Kind::Unbounded));
    switch (kind) {
    case Kind::Bounded:
        m.constraints.push_back(C(1, 1, Relation::LessEqual, rhs(rng) + 10));
        break;
    case Kind::Infeasible:
        m.constraints.push_back(C(1, 1, Relation::LessEqual, 3));
        m.constraints.push_back(C(1, 2, Relation::GreaterEqual, 7 + rhs(rng)));
        break;
    case Kind::Degenerate: {
        // Three lines through the vertex (p, q).
        const double p = rhs(rng) % 5 + 1, q = rhs(rng) % 5 + 1;
        m.constraints = {C(1, 1, Relation::LessEqual, p + q), C(1, 0, Relation::LessEqual, p),
                         C(2, 1, Relation::LessEqual, 2 * p + q), C(0, 1, Relation::LessEqual, q + 2)};
        break;
    }
    case Kind::Parallel:
        m.constraints.push_back(C(1, 2, Relation::LessEqual, 8));
        m.constraints.push_back(C(2, 4, Relation::LessEqual, 16)); // the same line
        m.constraints.push_back(C(1, 2, Relation::GreaterEqual, 2));
        m.constraints.push_back(C(1, 2, Relation::LessEqual, 12)); // redundant
        break;
    case Kind::Unbounded:
        break;
    }
    for (std::size_t i = 0; i < m.constraints.size(); ++i) m.constraints[i].number = static_cast<int>(i + 1);
    return m;
}

// ---- the vertices, the region and its order ----

TEST(Graphical, VerticesAreThoseOfEveryPairOfLinesOnRandomModels) {
    std::mt19937 rng(20240601);
    for (Kind kind : {Kind::Bounded, Kind::Unbounded, Kind::Infeasible, Kind::Degenerate, Kind::Parallel})
        for (int round = 0; round < 300; ++round) {
            const PlaneModel m = RandomModel(kind, rng);
            const GraphicalSolution s = SolveGraphically(m, {});
            const std::vector<PlanePoint> expected = PairVertices(m);
            SCOPED_TRACE("kind " + std::to_string(static_cast<int>(kind)) + " round " +
                         std::to_string(round));
            ASSERT_EQ(s.vertices.size(), expected.size());
            for (const PlanePoint& v : expected) {
                bool found = false;
                for (const PlanePoint& w : s.vertices)
                    found = found || std::hypot(v.x - w.x, v.y - w.y) < 1e-6;
                EXPECT_TRUE(found) << v.x << ", " << v.y;
            }
            EXPECT_EQ(s.region == RegionKind::Empty, expected.empty());
            if (!expected.empty()) {
                EXPECT_EQ(s.region == RegionKind::Unbounded, Unbounded(m));
            }
            if (kind == Kind::Infeasible) {
                EXPECT_EQ(s.region, RegionKind::Empty);
            }
            if (s.vertices.empty() || s.flat) continue;
            // Counter-clockwise, convex, from the vertex nearest the origin.
            const std::size_t n = s.vertices.size();
            for (std::size_t i = 1; i < n; ++i)
                EXPECT_LE(std::hypot(s.vertices[0].x, s.vertices[0].y),
                          std::hypot(s.vertices[i].x, s.vertices[i].y) + 1e-9);
            if (s.region != RegionKind::Bounded || n < 3) continue;
            for (std::size_t i = 0; i < n; ++i) {
                const PlanePoint a = s.vertices[i], b = s.vertices[(i + 1) % n], c = s.vertices[(i + 2) % n];
                EXPECT_GT((b.x - a.x) * (c.y - b.y) - (b.y - a.y) * (c.x - b.x), 0);
            }
        }
}

TEST(Graphical, OptimumAgreesWithTheBestVertex) {
    std::mt19937 rng(7);
    for (int round = 0; round < 500; ++round) {
        const PlaneModel m = RandomModel(round % 2 ? Kind::Bounded : Kind::Degenerate, rng);
        const GraphicalSolution s = SolveGraphically(m, {});
        ASSERT_EQ(s.optimum == OptimumKind::None, s.region == RegionKind::Empty);
        if (s.optimum == OptimumKind::None || s.optimum == OptimumKind::Region) continue;
        double best = -1e300;
        for (double v : s.values) best = std::max(best, m.minimize ? -v : v);
        EXPECT_NEAR(m.minimize ? -s.optimalValue : s.optimalValue, best, 1e-9);
    }
}

// ---- the simplex path of a run ----

std::string ModelText(const PlaneModel& m) {
    auto num = [](double v) { return (v < 0 ? "-" : "+") + std::to_string(std::fabs(v)); };
    std::string t = std::string(m.minimize ? "min " : "max ") + num(m.minimize ? -m.cx : m.cx) + "x " +
                    num(m.minimize ? -m.cy : m.cy) + "y;\r\n";
    for (const PlaneConstraint& k : m.constraints)
        t += num(k.a) + "x " + num(k.b) + "y " +
             (k.relation == Relation::LessEqual      ? "<= "
              : k.relation == Relation::GreaterEqual ? ">= "
                                                     : "= ") +
             std::to_string(k.rhs) + ";\r\n";
    return t;
}

TEST(Graphical, SimplexPathEndsAtTheReportedOptimumWithOrWithoutTableaus) {
    std::mt19937 rng(11);
    for (Kind kind : {Kind::Bounded, Kind::Unbounded, Kind::Infeasible, Kind::Degenerate, Kind::Parallel})
        for (int round = 0; round < 60; ++round) {
            const std::string text = ModelText(RandomModel(kind, rng));
            SCOPED_TRACE(text);
            LPProgress quiet;
            LPSettings plain, graphical, tableaus;
            graphical.graphical = tableaus.graphical = true;
            tableaus.output = OutputMode::All;
            const LPRunResult a = RunLP(text, plain, quiet), b = RunLP(text, graphical, quiet),
                              c = RunLP(text, tableaus, quiet);
            ASSERT_TRUE(b.graphical && c.graphical);
            EXPECT_EQ(a.output, b.output); // the output text stays byte for byte
            EXPECT_EQ(GraphicalText(*b.graphical), GraphicalText(*c.graphical));
            const GraphicalSolution& s = *b.graphical;
            ASSERT_FALSE(s.path.empty());
            const PathPoint& last = s.path.back();
            switch (b.status) {
            case 0:
                ASSERT_GE(last.vertex, 0);
                EXPECT_NEAR(s.values[last.vertex], b.objective, 1e-6 * (1 + std::fabs(b.objective)));
                if (s.optimum == OptimumKind::Vertex) {
                    EXPECT_EQ(last.vertex, s.optimalVertex);
                }
                for (const PathPoint& p : s.path)
                    if (p.phase == 2) {
                        EXPECT_GE(p.vertex, 0);
                    }
                break;
            case 1:
                EXPECT_EQ(s.optimum, OptimumKind::Unbounded);
                EXPECT_GE(last.vertex, 0);
                break;
            default:
                EXPECT_EQ(s.region, RegionKind::Empty);
                for (const PathPoint& p : s.path) EXPECT_EQ(p.phase, 1);
            }
        }
}

TEST(Graphical, TextOfTheTextbookModel) {
    LPProgress quiet;
    LPSettings settings;
    settings.graphical = true;
    const LPRunResult r =
        RunLP("max 3x1 + 5x2;\r\nx1 <= 4;\r\n2x2 <= 12;\r\n3x1 + 2x2 <= 18;\r\n", settings, quiet);
    ASSERT_TRUE(r.graphical);
    EXPECT_EQ(GraphicalText(*r.graphical), "Vertex 1: (0.0000, 0.0000)  objective 0.0000\r\n"
                                           "Vertex 2: (4.0000, 0.0000)  objective 12.0000\r\n"
                                           "Vertex 3: (4.0000, 3.0000)  objective 27.0000\r\n"
                                           "Vertex 4: (2.0000, 6.0000)  objective 36.0000\r\n"
                                           "Vertex 5: (0.0000, 6.0000)  objective 30.0000\r\n"
                                           "Optimal: vertex 4 (2.0000, 6.0000)  objective 36.0000\r\n"
                                           "Simplex path: 1 -> 5 -> 4\r\n");
    EXPECT_FALSE(RunLP("max x + y + z;\r\nx <= 1;\r\n", settings, quiet).graphical);
}

// The optimum's kinds and the phase-1 points, as the lines say them.
TEST(Graphical, OptimumLinesOfEachKind) {
    struct Case {
        const char* model;
        const char* lines; // the lines after the vertices
    };
    const Case cases[] = {
        {"max x1 + x2; x1 + x2 <= 4;",
         "Optimal: edge from vertex 2 (4.0000, 0.0000) to vertex 3 (0.0000, 4.0000)"},
        {"max x + y; x - y <= 2;", "Unbounded direction: (1.0000, 1.0000)"},
        {"max x; x <= 3; y >= 1;",
         "Optimal: ray from vertex 2 (3.0000, 1.0000) in direction (0.0000, 1.0000)"},
        {"max x; x >= 5; x <= 3; y <= 1;",
         "There is no feasible region\r\nSimplex path: (0.0000, 0.0000) -> "},
        {"min x + y; x + y >= 2; x <= 1;",
         "Optimal: edge from vertex 1 (1.0000, 1.0000) to vertex 2 (0.0000, 2.0000)"},
        {"max 0x + 0y; x + y <= 1;", "Optimal: the whole region  objective 0.0000"},
        {"max x + y; x + y = 2; x - y = 0;",
         "Vertex 1: (1.0000, 1.0000)  objective 2.0000\r\nOptimal: vertex 1"},
        // Nearly parallel lines crossing far out; numbers far below 1 keep their vertices apart.
        {"max y; 1000000x - y >= 0; 1000001x - y <= 1;", "Optimal: vertex 3 (1000000.0000, 1.0000)"},
        {"max x + y; 0.000001x + y <= 0.000001; x <= 0.000002;", "Simplex path: 1 -> 2 -> 3\r\n"},
    };
    for (const Case& c : cases) {
        LPProgress quiet;
        LPSettings settings;
        settings.graphical = true;
        const LPRunResult r = RunLP(std::string(c.model) + "\r\n", settings, quiet);
        ASSERT_TRUE(r.graphical) << c.model;
        EXPECT_NE(GraphicalText(*r.graphical).find(c.lines), std::string::npos)
            << c.model << "\n"
            << GraphicalText(*r.graphical);
    }
}

// ---- the picture ----

TEST(GraphicalLayout, NoLabelCoversAnotherAndEveryLabelStaysOnTheCanvas) {
    std::mt19937 rng(3);
    const TextMeasure measure = [](const std::string& t, bool bold) {
        return Px{(bold ? 7.5 : 6.5) * static_cast<double>(t.size()), 14};
    };
    for (Kind kind : {Kind::Bounded, Kind::Unbounded, Kind::Infeasible, Kind::Degenerate, Kind::Parallel})
        for (int round = 0; round < 40; ++round) {
            PlaneModel m = RandomModel(kind, rng);
            if (round % 8 == 0) m.xName = m.yName = std::string(60, 'W'); // names of any length
            const GraphicalSolution s = SolveGraphically(m, SimplexPathOf(m));
            for (const auto& [w, h] : {std::pair{900, 640}, std::pair{520, 360}}) {
                const GraphicalLayout g = LayOutGraphical(s, w, h, measure);
                for (std::size_t i = 0; i < g.texts.size(); ++i) {
                    EXPECT_TRUE(g.texts[i].box.inside({0, 0, double(w), double(h)})) << g.texts[i].text;
                    for (std::size_t j = i + 1; j < g.texts.size(); ++j)
                        EXPECT_FALSE(g.texts[i].box.intersects(g.texts[j].box))
                            << g.texts[i].text << " / " << g.texts[j].text;
                }
                // The shaded polygon is the region cut to the view, whichever way it was found.
                if (!g.fills.empty()) {
                    auto area = [](const auto& poly) {
                        double a = 0;
                        for (std::size_t i = 0; i < poly.size(); ++i) {
                            const auto &p = poly[i], &q = poly[(i + 1) % poly.size()];
                            a += p.x * q.y - q.x * p.y;
                        }
                        return std::fabs(a) / 2;
                    };
                    const PlaneView v = ViewOf(s);
                    const double cut =
                        area(RegionInBox(m, v.xMax, v.yMax)) * g.plot.width / v.xMax * g.plot.height / v.yMax;
                    EXPECT_NEAR(area(g.fills[0]), cut, 1e-6 * g.plot.width * g.plot.height);
                }
                if (kind == Kind::Infeasible) {
                    bool note = false;
                    for (const PxText& t : g.texts) note = note || t.text == "There is no feasible region";
                    EXPECT_TRUE(note);
                    EXPECT_TRUE(g.fills.empty());
                }
            }
        }
}

// ---- integer models ----

TEST(GraphicalIP, IntegerPointsBoundsAndTheIntegerOptimum) {
    ip::MIPProgress quiet;
    const ip::MIPRunResult r =
        ip::RunMIP("max x1 + x2;\r\n2x1 + 2x2 <= 3;\r\n$integer x1, x2;\r\n", quiet, {.graphical = true});
    ASSERT_TRUE(r.graphical && r.graphical->integer);
    const IntegerPoints& in = *r.graphical->integer;
    EXPECT_EQ(in.points.size(), 3u); // (0, 0), (1, 0), (0, 1)
    ASSERT_TRUE(in.haveOptimum && in.proven);
    EXPECT_DOUBLE_EQ(in.value, 1);
    EXPECT_EQ(r.graphical->optimum, OptimumKind::Edge); // the LP optimum 1.5 along x1 + x2 = 1.5
    EXPECT_DOUBLE_EQ(r.graphical->optimalValue, 1.5);
    EXPECT_NE(GraphicalDescription(*r.graphical).find("Integer optimum: "), std::string::npos);

    // A binary variable's bound is a line of the picture; one integer variable gives segments.
    const ip::MIPRunResult b =
        ip::RunMIP("max x + y;\r\nx + 2y <= 2.5;\r\n$binary x;\r\n", quiet, {.graphical = true});
    ASSERT_TRUE(b.graphical && b.graphical->integer);
    EXPECT_EQ(b.graphical->model.constraints.back().label, "X <= 1");
    EXPECT_EQ(b.graphical->integer->segments.size(), 2u); // x = 0 and x = 1
    EXPECT_TRUE(b.graphical->integer->points.empty());
    EXPECT_FALSE(ip::RunMIP("max x + y + z;\r\nx <= 1;\r\n", quiet, {.graphical = true}).graphical);
}

} // namespace
} // namespace tarvik::lp
