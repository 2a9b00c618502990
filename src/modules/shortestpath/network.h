#pragma once
// The grid network of the shortest-path module: R rows and C columns of cells,
// nodes (x, y) with x = 0 .. C and y = 0 .. R, paths from (0, 0) to (C, R) that
// move only up or to the right. Every node carries the lengths of its up arc
// U(x, y) and its right arc Rt(x, y), stored for x, y = 0 .. 10; arcs that
// leave the grid are kept in the table but never used.
#include <array>
#include <string>
#include <vector>

namespace tarvik::shortestpath {

inline constexpr int kMaxRows = 10;
inline constexpr int kMaxColumns = 10;
inline constexpr int kTableSize = 11;
inline constexpr int kMinDistance = 0; // an edited arc may be 0
inline constexpr int kMaxDistance = 100;
inline constexpr int kMinFixedLength = 1; // the settings' "Fixed length"
inline constexpr int kMaxFixedLength = 100;
inline constexpr int kDefaultRows = 10;
inline constexpr int kDefaultColumns = 10;
inline constexpr int kDefaultFixedLength = 10;

enum class Move { Up, Right };

struct Node {
    int x = 0;
    int y = 0;
    bool operator==(const Node&) const = default;
};

using LengthTable = std::array<std::array<int, kTableSize>, kTableSize>; // [x][y]

struct Network {
    int rows = kDefaultRows;
    int columns = kDefaultColumns;
    LengthTable up{};    // up[x][y] = U(x, y), the arc from (x, y) to (x, y + 1)
    LengthTable right{}; // right[x][y] = Rt(x, y), the arc from (x, y) to (x + 1, y)

    int U(int x, int y) const { return up[x][y]; }
    int Rt(int x, int y) const { return right[x][y]; }
    Node destination() const { return {columns, rows}; }
    // The length of the arc from `from` in direction `move`.
    int length(Node from, Move move) const {
        return move == Move::Up ? U(from.x, from.y) : Rt(from.x, from.y);
    }
};

bool ValidSize(int rows, int columns);

// "Random lengths": every U and Rt of the whole 11 x 11 table gets
// 1 + RandomInt(100) from the system generator, drawn in this order:
// x = 0 .. 10 outside, y = 0 .. 10 inside, U(x, y) before Rt(x, y).
void DrawRandomLengths(Network& network);
// "Fixed length": every arc of the table gets `length`.
void SetFixedLengths(Network& network, int length);

// The optimal remaining length f(x, y) of every node and its successor on an
// optimal path, by backward recursion with memory. A node not computed has
// successor x = -1.
struct OptimalValues {
    std::array<std::array<double, kTableSize>, kTableSize> f{};
    std::array<std::array<Node, kTableSize>, kTableSize> next{};

    double length() const { return f[0][0]; }
    double remaining(Node n) const { return f[n.x][n.y]; }
    bool computed(Node n) const { return next[n.x][n.y].x != -1; }
};

// Ties go up: when the right alternative is not smaller than the up one, the
// up move is taken.
OptimalValues ComputeOptimal(const Network& network);
// The moves from (0, 0) along the stored successors.
std::vector<Move> OptimalPath(const Network& network, const OptimalValues& values);

enum class Heuristic { Myopic, NearlyMyopic };

// Myopic rule: right when x < C and (y = R or Rt(x, y) < U(x, y)), else up.
Move MyopicStep(const Network& network, Node at);
// Nearly-myopic rule: looks two arcs ahead, with m(x, y) the cheaper arc
// leaving (x, y): up when x = C, or when y < R and
// Rt(x, y) + m(x + 1, y) >= U(x, y) + m(x, y + 1); else right.
Move NearlyMyopicStep(const Network& network, Node at);
Move HeuristicStep(const Network& network, Heuristic heuristic, Node at);

// A path steered step by step from (0, 0): the own path, and the heuristics,
// whose steps work exactly as presses of the arrows.
class OwnPath {
public:
    void reset();
    // An up step is possible while y < R, a right step while x < C.
    bool canMove(const Network& network, Move move) const;
    // Takes the arc; false (and nothing changes) at the edge of the grid.
    bool step(const Network& network, Move move);

    Node node() const { return node_; }
    double length() const { return length_; }
    int steps() const { return static_cast<int>(moves_.size()); }
    const std::vector<Move>& moves() const { return moves_; }
    bool atDestination(const Network& network) const { return node_ == network.destination(); }
    // The value the dialog shows: own length so far + optimal remaining length.
    double shownValue(const OptimalValues& values) const { return length_ + values.remaining(node_); }

private:
    Node node_{};
    double length_ = 0;
    std::vector<Move> moves_;
};

// The whole path of a heuristic: R + C steps by its rule.
OwnPath RunHeuristic(const Network& network, Heuristic heuristic);

// The node reached from `from` by `move`.
Node After(Node from, Move move);
// The sum of the arcs of a path from (0, 0).
double PathLength(const Network& network, const std::vector<Move>& moves);
// "U R R U": the moves separated by blanks.
std::string MovesText(const std::vector<Move>& moves);
// A length in the shortest decimal form.
std::string LengthText(double value);

} // namespace tarvik::shortestpath
