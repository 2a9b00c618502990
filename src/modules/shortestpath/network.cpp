#include "modules/shortestpath/network.h"

#include "common/numformat.h"
#include "common/random.h"

namespace tarvik::shortestpath {

bool ValidSize(int rows, int columns) {
    return rows >= 1 && rows <= kMaxRows && columns >= 1 && columns <= kMaxColumns;
}

void DrawRandomLengths(Network& network) {
    for (int x = 0; x < kTableSize; ++x)
        for (int y = 0; y < kTableSize; ++y) {
            network.up[x][y] = 1 + RandomInt(100);
            network.right[x][y] = 1 + RandomInt(100);
        }
}

void SetFixedLengths(Network& network, int length) {
    for (auto& column : network.up) column.fill(length);
    for (auto& column : network.right) column.fill(length);
}

namespace {

// f(x, y) for a node of the network, computing (and storing) the nodes it
// needs first. The depth is at most R + C.
double Remaining(const Network& n, OptimalValues& v, int x, int y) {
    if (v.next[x][y].x != -1) return v.f[x][y];
    const int R = n.rows, C = n.columns;
    double f = 0;
    Node next{x, y};
    if (x == C && y == R) {
        f = 0;
    } else if (y == R) {
        f = Remaining(n, v, x + 1, y) + n.Rt(x, y);
        next = {x + 1, y};
    } else if (x == C) {
        f = Remaining(n, v, x, y + 1) + n.U(x, y);
        next = {x, y + 1};
    } else {
        const double viaRight = Remaining(n, v, x + 1, y) + n.Rt(x, y);
        const double viaUp = Remaining(n, v, x, y + 1) + n.U(x, y);
        if (viaRight >= viaUp) {
            f = viaUp;
            next = {x, y + 1};
        } else {
            f = viaRight;
            next = {x + 1, y};
        }
    }
    v.f[x][y] = f;
    v.next[x][y] = next;
    return f;
}

} // namespace

OptimalValues ComputeOptimal(const Network& network) {
    OptimalValues v;
    for (auto& column : v.next) column.fill(Node{-1, 0});
    if (!ValidSize(network.rows, network.columns)) return v;
    Remaining(network, v, 0, 0);
    return v;
}

std::vector<Move> OptimalPath(const Network& network, const OptimalValues& values) {
    std::vector<Move> moves;
    Node at{0, 0};
    const Node end = network.destination();
    while (!(at == end) && values.computed(at) && moves.size() < 2 * kTableSize) {
        const Node next = values.next[at.x][at.y];
        moves.push_back(next.y > at.y ? Move::Up : Move::Right);
        at = next;
    }
    return moves;
}

Move MyopicStep(const Network& n, Node at) {
    if (at.x < n.columns && (at.y == n.rows || n.Rt(at.x, at.y) < n.U(at.x, at.y))) return Move::Right;
    return Move::Up;
}

namespace {

// The cheaper arc leaving a node (ties to the up arc); 0 at the destination.
int Cheaper(const Network& n, int x, int y) {
    if (x == n.columns && y == n.rows) return 0;
    if (x == n.columns) return n.U(x, y);
    if (y == n.rows) return n.Rt(x, y);
    return n.Rt(x, y) >= n.U(x, y) ? n.U(x, y) : n.Rt(x, y);
}

} // namespace

Move NearlyMyopicStep(const Network& n, Node at) {
    if (at.x == n.columns) return Move::Up;
    if (at.y < n.rows &&
        n.Rt(at.x, at.y) + Cheaper(n, at.x + 1, at.y) >= n.U(at.x, at.y) + Cheaper(n, at.x, at.y + 1))
        return Move::Up;
    return Move::Right;
}

Move HeuristicStep(const Network& network, Heuristic heuristic, Node at) {
    return heuristic == Heuristic::Myopic ? MyopicStep(network, at) : NearlyMyopicStep(network, at);
}

void OwnPath::reset() {
    node_ = {};
    length_ = 0;
    moves_.clear();
}

bool OwnPath::canMove(const Network& network, Move move) const {
    return move == Move::Up ? node_.y < network.rows : node_.x < network.columns;
}

bool OwnPath::step(const Network& network, Move move) {
    if (!canMove(network, move)) return false;
    length_ += network.length(node_, move);
    moves_.push_back(move);
    node_ = After(node_, move);
    return true;
}

OwnPath RunHeuristic(const Network& network, Heuristic heuristic) {
    OwnPath path;
    const int steps = network.rows + network.columns;
    for (int s = 0; s < steps; ++s) path.step(network, HeuristicStep(network, heuristic, path.node()));
    return path;
}

Node After(Node from, Move move) {
    return move == Move::Up ? Node{from.x, from.y + 1} : Node{from.x + 1, from.y};
}

double PathLength(const Network& network, const std::vector<Move>& moves) {
    double sum = 0;
    Node at{};
    for (Move m : moves) {
        sum += network.length(at, m);
        at = After(at, m);
    }
    return sum;
}

std::string MovesText(const std::vector<Move>& moves) {
    std::string text;
    for (Move m : moves) {
        if (!text.empty()) text += ' ';
        text += m == Move::Up ? 'U' : 'R';
    }
    return text;
}

std::string LengthText(double value) {
    return FormatGeneral(value, 15);
}

} // namespace tarvik::shortestpath
