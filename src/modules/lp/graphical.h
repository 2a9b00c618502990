#pragma once
// The graphical method for a model with two structural variables: the
// feasible region in the plane (its vertices, counter-clockwise, and where it
// is open), the optimal vertex or edge, and the path of basic solutions that
// the simplex method visits. The LP and IP windows draw it; tarvik-solve
// prints it after the report.
#include "modules/lp/lpsimplex.h"
#include "modules/lp/matgen.h"

#include <optional>
#include <string>
#include <vector>

namespace tarvik::lp {

struct PlanePoint {
    double x = 0, y = 0;
};

// One constraint of a two-variable model, as the reader normalised it:
// a x + b y (relation) rhs. A bound of an integer model is a constraint too.
struct PlaneConstraint {
    double a = 0, b = 0;
    Relation relation = Relation::LessEqual;
    double rhs = 0;
    int number = 0;    // the constraint's number in the model; 0 for a bound
    std::string label; // how the picture names it: "(1)", or "X <= 1" for a bound
};

struct PlaneModel {
    std::string xName, yName;
    bool minimize = false;
    double cx = 0, cy = 0; // the objective in maximisation form
    std::vector<PlaneConstraint> constraints;
    // The objective as the model writes it (a MIN model's own value).
    double objective(PlanePoint p) const {
        const double v = cx * p.x + cy * p.y;
        return minimize ? -v : v;
    }
};

// A basic solution that the simplex method visited.
struct PathPoint {
    PlanePoint at;
    int phase = 2;   // 1: the solution of a phase-1 tableau
    int vertex = -1; // the vertex of the region it lies on (index into `vertices`), -1 for none
};

enum class RegionKind { Empty, Bounded, Unbounded };
enum class OptimumKind {
    None,      // no feasible region
    Vertex,    // optimalVertex
    Edge,      // from optimalVertex to optimalVertex2
    Ray,       // from optimalVertex in optimalDirection
    Region,    // a zero objective: every point is optimal
    Unbounded, // the objective grows without bound in optimalDirection
};

// Where the region leaves the picture: a boundary ray from a vertex.
struct RegionRay {
    int vertex = 0;
    PlanePoint direction; // unit length
};

// For an integer model: the integer points of the region (within the view
// the picture shows) and the integer optimum that branch and bound found.
struct IntegerPoints {
    bool xInteger = false, yInteger = false;
    std::vector<PlanePoint> points;                          // both variables integer
    std::vector<std::pair<PlanePoint, PlanePoint>> segments; // one variable integer
    bool tooMany = false;                                    // more than the picture can show
    bool haveOptimum = false;
    bool proven = true; // false: the search was stopped, the point is the best found
    PlanePoint optimum;
    double value = 0; // the objective as written
};

struct GraphicalSolution {
    PlaneModel model;
    RegionKind region = RegionKind::Empty;
    bool flat = false;                // the region is a segment, a ray or a point
    std::vector<PlanePoint> vertices; // counter-clockwise, from the one nearest the origin
    std::vector<double> values;       // the objective as written at each vertex
    std::vector<RegionRay> rays;      // the unbounded region's boundary rays (two, or one when flat)
    OptimumKind optimum = OptimumKind::None;
    int optimalVertex = -1, optimalVertex2 = -1;
    PlanePoint optimalDirection; // Ray and Unbounded; the largest component 1
    double optimalValue = 0;     // the objective as written (not for Unbounded)
    std::vector<PathPoint> path; // in order, without repeats of the same point in a row
    std::optional<IntegerPoints> integer;
};

// The message of a model that does not have two variables.
inline constexpr const char* kNeedsTwoVariables = "The graphical method needs exactly two variables.";

// The plane model of a read LP model with two decision variables; nullopt
// for any other number of variables.
std::optional<PlaneModel> PlaneModelOf(const LPModel& model);

// Keeps the basic solutions of a simplex run, as points of the plane.
class PathRecorder : public SimplexObserver {
public:
    // xColumn, yColumn: the tableau columns of the two variables.
    PathRecorder(int xColumn, int yColumn) : x_(xColumn), y_(yColumn) {}
    explicit PathRecorder(const LPModel& model);
    void pass(int phase, const std::vector<double>& values) override;
    const std::vector<PathPoint>& path() const { return path_; }

private:
    int x_, y_;
    std::vector<PathPoint> path_;
};

// The path of the simplex method of this module on the plane model (no
// tableaus printed), for models that another module solves.
std::vector<PathPoint> SimplexPathOf(const PlaneModel& model);

// The region, its optimum and the path (each point matched to its vertex).
GraphicalSolution SolveGraphically(const PlaneModel& model, const std::vector<PathPoint>& path);

// The stretch of the line p + t u (u of unit length) inside the region: false
// when the line misses it; an open end is +-infinity.
bool RegionOnLine(const PlaneModel& model, PlanePoint p, PlanePoint u, double& from, double& to);

// The region within [0, xMax] x [0, yMax], as a polygon (counter-clockwise;
// empty when the region misses the box).
std::vector<PlanePoint> RegionInBox(const PlaneModel& model, double xMax, double yMax);

// Whether a point satisfies every constraint and lies in the first quadrant
// (with a tolerance relative to the model's numbers).
bool InRegion(const PlaneModel& model, PlanePoint p);

// The region's integer points (or, with one integer variable, its segments on
// the integer lines) within [0, xMax] x [0, yMax], at most `limit` of them.
IntegerPoints IntegerPointsOf(const GraphicalSolution& solution, bool xInteger, bool yInteger, double xMax,
                              double yMax, std::size_t limit);

// The part of the first quadrant the picture shows, [0, xMax] x [0, yMax],
// with the steps between its ticks: the region, every vertex and the path
// with a margin, more of an unbounded region in its open directions, and for
// an empty region the places where the constraint lines cross the axes.
struct PlaneView {
    double xMax = 1, yMax = 1;
    double xStep = 0.2, yStep = 0.2;
};
PlaneView ViewOf(const GraphicalSolution& solution);

// The lines tarvik-solve prints after the report (CR LF line ends):
// "Vertex i: (x, y)  objective z", "Optimal: ...", "Unbounded direction: ..."
// or "There is no feasible region", then "Simplex path: ...".
std::string GraphicalText(const GraphicalSolution& solution);

// The same lines for a screen reader (LF line ends), with the integer
// optimum of an integer model.
std::string GraphicalDescription(const GraphicalSolution& solution);

// A number as the lines above write it: 4 decimals, no "-0.0000".
std::string PlaneNumber(double value);
std::string PlanePointText(PlanePoint p);

} // namespace tarvik::lp
