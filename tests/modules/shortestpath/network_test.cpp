#include "common/random.h"
#include "modules/shortestpath/network.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>

namespace tarvik::shortestpath {
namespace {

Network RandomNetwork(int rows, int columns, std::mt19937& rng, int maxLength) {
    std::uniform_int_distribution<int> length(0, maxLength);
    Network n;
    n.rows = rows;
    n.columns = columns;
    for (int x = 0; x < kTableSize; ++x)
        for (int y = 0; y < kTableSize; ++y) {
            n.up[x][y] = length(rng);
            n.right[x][y] = length(rng);
        }
    return n;
}

// Every monotone path, up before right: the first path of least length is the
// optimal path with ties going up at every node.
struct BruteForce {
    const Network& n;
    double best = std::numeric_limits<double>::infinity();
    std::vector<Move> bestPath;
    std::vector<Move> path;

    void walk(int x, int y, double length) {
        if (x == n.columns && y == n.rows) {
            if (length < best) {
                best = length;
                bestPath = path;
            }
            return;
        }
        if (y < n.rows) {
            path.push_back(Move::Up);
            walk(x, y + 1, length + n.U(x, y));
            path.pop_back();
        }
        if (x < n.columns) {
            path.push_back(Move::Right);
            walk(x + 1, y, length + n.Rt(x, y));
            path.pop_back();
        }
    }
};

// Shortest distances to the destination by Dijkstra on the reversed arcs.
std::array<std::array<double, kTableSize>, kTableSize> Dijkstra(const Network& n) {
    std::array<std::array<double, kTableSize>, kTableSize> d;
    for (auto& c : d) c.fill(std::numeric_limits<double>::infinity());
    std::array<std::array<bool, kTableSize>, kTableSize> done{};
    d[n.columns][n.rows] = 0;
    for (;;) {
        int bx = -1, by = -1;
        for (int x = 0; x <= n.columns; ++x)
            for (int y = 0; y <= n.rows; ++y)
                if (!done[x][y] && d[x][y] < std::numeric_limits<double>::infinity() &&
                    (bx < 0 || d[x][y] < d[bx][by]))
                    bx = x, by = y;
        if (bx < 0) break;
        done[bx][by] = true;
        if (bx > 0) d[bx - 1][by] = std::min(d[bx - 1][by], d[bx][by] + n.Rt(bx - 1, by));
        if (by > 0) d[bx][by - 1] = std::min(d[bx][by - 1], d[bx][by] + n.U(bx, by - 1));
    }
    return d;
}

TEST(OptimalValue, AgreesWithBruteForceAndDijkstraOnEverySize) {
    std::mt19937 rng(20261209);
    for (int rows = 1; rows <= kMaxRows; ++rows)
        for (int columns = 1; columns <= kMaxColumns; ++columns)
            // Lengths 0 .. 3 give many ties and zero arcs; 0 .. 100 the full range.
            for (int maxLength : {3, 100}) {
                const Network n = RandomNetwork(rows, columns, rng, maxLength);
                const OptimalValues v = ComputeOptimal(n);
                BruteForce brute{n, std::numeric_limits<double>::infinity(), {}, {}};
                brute.walk(0, 0, 0);
                SCOPED_TRACE(testing::Message() << rows << " x " << columns << ", lengths to " << maxLength);
                EXPECT_EQ(v.length(), brute.best);
                const std::vector<Move> path = OptimalPath(n, v);
                EXPECT_EQ(MovesText(path), MovesText(brute.bestPath));
                EXPECT_EQ(PathLength(n, path), brute.best);
                const auto d = Dijkstra(n);
                for (int x = 0; x <= columns; ++x)
                    for (int y = 0; y <= rows; ++y) {
                        EXPECT_TRUE(v.computed({x, y}));
                        EXPECT_EQ(v.remaining({x, y}), d[x][y]) << "node " << x << "," << y;
                    }
                for (Heuristic h : {Heuristic::Myopic, Heuristic::NearlyMyopic}) {
                    const OwnPath hp = RunHeuristic(n, h);
                    EXPECT_TRUE(hp.atDestination(n));
                    EXPECT_EQ(hp.steps(), rows + columns);
                    EXPECT_GE(hp.length(), v.length());
                    EXPECT_EQ(hp.length(), PathLength(n, hp.moves()));
                }
            }
}

TEST(OptimalValue, OneByOneTieGoesUpFirst) {
    Network n;
    n.rows = n.columns = 1;
    SetFixedLengths(n, 50);
    n.right[0][0] = 30; // Rt(0,0) + U(1,0) = 30 + 40
    n.up[1][0] = 40;
    n.up[0][0] = 20; // U(0,0) + Rt(0,1) = 20 + 50
    n.right[0][1] = 50;
    const OptimalValues v = ComputeOptimal(n);
    EXPECT_EQ(v.length(), 70);
    EXPECT_EQ(MovesText(OptimalPath(n, v)), "U R");
    n.up[0][0] = 21; // the up alternative now costs more
    EXPECT_EQ(MovesText(OptimalPath(n, ComputeOptimal(n))), "R U");
}

TEST(OptimalValue, NodesOutsideTheGridAreNotComputed) {
    Network n;
    n.rows = 2;
    n.columns = 3;
    SetFixedLengths(n, 1);
    const OptimalValues v = ComputeOptimal(n);
    EXPECT_TRUE(v.computed({3, 2}));
    EXPECT_EQ(v.remaining({3, 2}), 0);
    EXPECT_FALSE(v.computed({4, 0}));
    EXPECT_FALSE(v.computed({0, 3}));
}

TEST(FixedLengths, EveryPathHasTheSameLengthAndEveryRuleTakesTheLeftColumnThenTheTopRow) {
    for (int rows : {1, 4, 10})
        for (int columns : {1, 7, 10}) {
            Network n;
            n.rows = rows;
            n.columns = columns;
            SetFixedLengths(n, 13);
            const OptimalValues v = ComputeOptimal(n);
            EXPECT_EQ(v.length(), (rows + columns) * 13.0);
            std::vector<Move> expected(rows, Move::Up);
            expected.insert(expected.end(), columns, Move::Right);
            EXPECT_EQ(MovesText(OptimalPath(n, v)), MovesText(expected));
            EXPECT_EQ(MovesText(RunHeuristic(n, Heuristic::Myopic).moves()), MovesText(expected));
            EXPECT_EQ(MovesText(RunHeuristic(n, Heuristic::NearlyMyopic).moves()), MovesText(expected));
        }
}

TEST(Heuristics, MyopicTakesTheCheaperArcAndNearlyMyopicLooksTwoArcsAhead) {
    // 2 x 2: from (0,0) the right arc is cheaper, but behind it lie only
    // expensive arcs; the up arc leads to a cheap one.
    Network n;
    n.rows = n.columns = 2;
    SetFixedLengths(n, 10);
    n.right[0][0] = 5;
    n.up[1][0] = 50;
    n.right[1][0] = 50; // m(1, 0) = 50
    n.up[0][0] = 6;
    n.right[0][1] = 1; // m(0, 1) = min(U(0,1) = 10, Rt(0,1) = 1) = 1
    EXPECT_EQ(MyopicStep(n, {0, 0}), Move::Right);
    EXPECT_EQ(NearlyMyopicStep(n, {0, 0}), Move::Up); // 5 + 50 >= 6 + 1
    // Ties go up in both rules.
    n.right[0][0] = 6;
    EXPECT_EQ(MyopicStep(n, {0, 0}), Move::Up);
    // On the top row only right, in the right column only up.
    EXPECT_EQ(MyopicStep(n, {0, 2}), Move::Right);
    EXPECT_EQ(NearlyMyopicStep(n, {0, 2}), Move::Right);
    EXPECT_EQ(MyopicStep(n, {2, 0}), Move::Up);
    EXPECT_EQ(NearlyMyopicStep(n, {2, 0}), Move::Up);
    // Nearly-myopic next to the right column: m(C, y) is the up arc; below the top row, m(x, R) the right
    // arc.
    n.up[2][1] = 1;
    n.right[1][1] = 30;
    n.up[1][1] = 30;
    n.right[1][2] = 40;
    EXPECT_EQ(NearlyMyopicStep(n, {1, 1}), Move::Right); // 30 + 1 < 30 + 40
}

TEST(OwnPath, ShownValueIsOwnLengthPlusTheOptimalRestAndNeverBelowTheOptimum) {
    std::mt19937 rng(7);
    for (int trial = 0; trial < 40; ++trial) {
        const Network n = RandomNetwork(1 + trial % 10, 1 + (trial * 7) % 10, rng, trial % 2 ? 4 : 100);
        const OptimalValues v = ComputeOptimal(n);
        OwnPath own;
        std::bernoulli_distribution up(0.5);
        EXPECT_EQ(own.shownValue(v), v.length());
        while (!own.atDestination(n)) {
            Move m = up(rng) ? Move::Up : Move::Right;
            if (!own.canMove(n, m)) m = m == Move::Up ? Move::Right : Move::Up;
            const Node before = own.node();
            const double lengthBefore = own.length();
            ASSERT_TRUE(own.step(n, m));
            EXPECT_EQ(own.length(), lengthBefore + n.length(before, m));
            EXPECT_EQ(own.shownValue(v), own.length() + v.remaining(own.node()));
            EXPECT_GE(own.shownValue(v), v.length());
        }
        EXPECT_EQ(own.shownValue(v), own.length());
        EXPECT_FALSE(own.step(n, Move::Up));
        EXPECT_FALSE(own.step(n, Move::Right));
        EXPECT_EQ(own.steps(), n.rows + n.columns);

        // Along the optimal successors the shown value stays the optimum.
        OwnPath follow;
        for (Move m : OptimalPath(n, v)) {
            follow.step(n, m);
            EXPECT_EQ(follow.shownValue(v), v.length());
        }
    }
}

TEST(OwnPath, StopsAtTheEdges) {
    Network n;
    n.rows = 2;
    n.columns = 1;
    SetFixedLengths(n, 3);
    OwnPath p;
    EXPECT_TRUE(p.step(n, Move::Right));
    EXPECT_FALSE(p.canMove(n, Move::Right));
    EXPECT_FALSE(p.step(n, Move::Right));
    EXPECT_EQ(p.node(), (Node{1, 0}));
    EXPECT_EQ(p.length(), 3);
    EXPECT_TRUE(p.step(n, Move::Up));
    EXPECT_TRUE(p.step(n, Move::Up));
    EXPECT_FALSE(p.step(n, Move::Up));
    EXPECT_EQ(MovesText(p.moves()), "R U U");
    p.reset();
    EXPECT_EQ(p.steps(), 0);
    EXPECT_EQ(p.length(), 0);
}

TEST(RandomLengths, DrawsOneToHundredForTheWholeTableInItsFixedOrder) {
    RandSeed = 12345;
    Network n;
    DrawRandomLengths(n);
    // The generator stepped independently: seed * 134775813 + 1 mod 2^32,
    // value = 1 + floor(seed * 100 / 2^32); x outside, y inside, U before Rt.
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 134775813u + 1u;
        return 1 + static_cast<int>((static_cast<std::uint64_t>(seed) * 100u) >> 32);
    };
    for (int x = 0; x < kTableSize; ++x)
        for (int y = 0; y < kTableSize; ++y) {
            ASSERT_EQ(n.U(x, y), next()) << x << "," << y;
            ASSERT_EQ(n.Rt(x, y), next()) << x << "," << y;
            EXPECT_GE(n.U(x, y), 1);
            EXPECT_LE(n.U(x, y), 100);
        }
    EXPECT_EQ(RandSeed, seed);
    // Drawn afresh at every call.
    Network again;
    DrawRandomLengths(again);
    EXPECT_NE(again.up, n.up);
}

TEST(Texts, LengthsInShortestFormAndMovesSeparatedByBlanks) {
    EXPECT_EQ(LengthText(523), "523");
    EXPECT_EQ(LengthText(0), "0");
    EXPECT_EQ(MovesText({Move::Up, Move::Right, Move::Right}), "U R R");
    EXPECT_EQ(MovesText({}), "");
}

} // namespace
} // namespace tarvik::shortestpath
