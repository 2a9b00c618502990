#pragma once
// Tours through the cities: their length and texts, the four constructions
// (as objects that a window drives one step at a time, so that it can show
// candidates and pause between steps), the 2-OPT improvement and the tour
// data report.
#include "modules/tsp/tspcities.h"

#include <string>
#include <vector>

namespace tarvik::tsp {

// A round trip: city numbers T(1) .. T(n) stored at tour[0 .. n-1].
using Tour = std::vector<int>;

// D(T(1), T(2)) + ... + D(T(n), T(1)).
double TourLength(const Tour& tour, const DistanceTable& d);
// True when `tour` holds every city 1 .. n exactly once.
bool IsPermutation(const Tour& tour, int n);
// Every edge {a, b} of a closed tour, in either direction.
bool HasEdge(const Tour& tour, int a, int b);

// fixed(p, d): rounded to p significant digits, exactly d decimals; general
// format when the integer part has more than p digits.
std::string Fixed(double value, int precision, int decimals);
// "Tour: 1 - 3 - 2 - 1".
std::string TourLine(const Tour& tour);

// Descriptions and first lines of the methods.
inline constexpr const char* kOwnTour = "Construct own tour";
inline constexpr const char* kRandomTour = "Random tour";
inline constexpr const char* kClosestNeighbour = "Closest neighbor heuristic";
inline constexpr const char* kGreatestAngle = "Largest angle heuristics";
inline constexpr const char* kGreatestAngleFirstLine = "Largest Angle approximation";
inline constexpr const char* kExactTour = "Exact tour (Branch and Bound)";
inline constexpr const char* kDemolishedExact =
    "Demolished Exact Method ( Solution not with certainty optimal!)";

// A path built city by city (own tour, closest neighbour). Adding the n-th
// city closes the tour.
class PathBuilder {
public:
    explicit PathBuilder(const DistanceTable& d);

    int cities() const { return n_; }
    const Tour& path() const { return path_; }
    bool available(int c) const { return available_[static_cast<std::size_t>(c)]; }
    bool complete() const { return static_cast<int>(path_.size()) == n_; }
    // Tour length so far; with the closing segment once complete.
    double length() const { return length_; }
    // The next position to fill (1-based).
    int positionCounter() const { return static_cast<int>(path_.size()) + 1; }

    // Adds an available city at the end of the path.
    void add(int c);
    // Own tour's right click: removes the last city while 2 .. n - 1 are placed.
    bool canUndo() const;
    bool undo();

private:
    const DistanceTable* d_;
    int n_;
    Tour path_;
    std::vector<bool> available_;
    double length_ = 0;
};

// Closest neighbour from a start city: each step goes to the nearest
// available city (ties to the lower number).
class ClosestNeighbour {
public:
    ClosestNeighbour(const DistanceTable& d, int start);

    bool finished() const { return path_.complete(); }
    int current() const { return path_.path().back(); }
    // The cities the next step looks at, in scan order.
    std::vector<int> candidates() const;
    // The city the next step adds.
    int choice() const;
    // Adds the choice; returns it.
    int step();
    const PathBuilder& path() const { return path_; }

private:
    const DistanceTable* d_;
    PathBuilder path_;
};

// Random tour from city 1, drawn with the system generator.
Tour RandomTour(int n);

// Convex hull walk from the leftmost city, then insertion of the city that
// sees a tour edge under the largest angle.
class GreatestAngle {
public:
    GreatestAngle(const Cities& cities, const DistanceTable& d);

    enum class Phase { Hull, Insert, Done };
    Phase phase() const { return phase_; }

    struct HullMove {
        int from = 0;
        int to = 0;
        bool appended = false;
    };
    // One step of the hull walk; the walk ends (closing the hull) when it
    // returns to the start city.
    HullMove hullStep();

    struct Insertion {
        int position = 0; // the edge T(position) - T(position + 1)
        int a = 0;
        int b = 0;
        int city = 0;
    };
    // The cities an insertion step looks at, in scan order.
    std::vector<int> candidates() const;
    // Inserts the best city into the best edge.
    Insertion insertionStep();

    const Tour& tour() const { return tour_; }
    double length() const { return length_; }
    int start() const { return start_; }

private:
    double angleBetween(double ux, double uy, double vx, double vy) const;
    void endWalk();

    const Cities* cities_;
    const DistanceTable* d_;
    int n_;
    Phase phase_ = Phase::Hull;
    Tour tour_;
    std::vector<bool> available_;
    double length_ = 0;
    int start_ = 0;
    int current_ = 0;
    double dirX_ = 0;
    double dirY_ = -1;
    int walkSteps_ = 0;
};

// Runs a construction to its end without pausing (the command line, tests).
Tour ClosestNeighbourTour(const DistanceTable& d, int start);
Tour GreatestAngleTour(const Cities& cities, const DistanceTable& d);

struct TwoOptResult {
    int improvements = 0;
    double before = 0;
    double after = 0;
};
// Best-improvement 2-OPT until no exchange shortens the tour; T(1) stays.
TwoOptResult TwoOpt(Tour& tour, const DistanceTable& d);
// The gain below which an exchange counts as none (rounding noise).
inline constexpr double kTwoOptMinGain = 1e-9;

// The line the result field shows for a 2-OPT outcome, and the new description.
std::string TwoOptLine(const TwoOptResult& r);
std::string TwoOptDescription(const TwoOptResult& r, const std::string& description);

// The tour data report: a list of styled lines.
struct ReportLine {
    enum class Style { Title, Bold, Plain };
    Style style = Style::Plain;
    std::string text;
};

class TourReport {
public:
    // Empties the report and writes the title, the rule and the city block.
    void Restart(const Cities& cities);
    // One block per tour shown.
    void AddTour(const std::string& description, double length, const std::string& tourLine);
    const std::vector<ReportLine>& lines() const { return lines_; }
    std::string PlainText() const;

private:
    std::vector<ReportLine> lines_;
};

inline constexpr const char* kReportTitle = "Travelling salesman: the cities and the tours";

} // namespace tarvik::tsp
