#pragma once
// Independent oracles for the tour tests: brute force over all tours and the
// Held-Karp dynamic programme.
#include "modules/tsp/tspcities.h"
#include "modules/tsp/tsptour.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <random>
#include <vector>

namespace tarvik::tsp::oracle {

// Cities at seeded random points of a w x h field, no two at one point.
inline Cities SeededCities(int n, unsigned seed, int w = 318, int h = 377) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> ux(0, w), uy(0, h);
    Cities c;
    while (static_cast<int>(c.size()) < n) {
        City p{ux(rng), uy(rng)};
        if (std::find(c.begin(), c.end(), p) == c.end()) c.push_back(p);
    }
    return c;
}

// The shortest round trip by trying every order of cities 2 .. n.
inline double BruteForceOptimum(const DistanceTable& d) {
    const int n = d.size();
    Tour t(static_cast<std::size_t>(n));
    std::iota(t.begin(), t.end(), 1);
    double best = std::numeric_limits<double>::infinity();
    do best = std::min(best, TourLength(t, d));
    while (std::next_permutation(t.begin() + 1, t.end()));
    return best;
}

// Held-Karp: cost[S][j] = the shortest path from city 1 through the set S
// (of cities 2 .. n) ending in j.
inline double HeldKarpOptimum(const DistanceTable& d) {
    const int n = d.size();
    const int m = n - 1;
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<std::vector<double>> c(static_cast<std::size_t>(1) << m, std::vector<double>(m, inf));
    for (int j = 0; j < m; ++j) c[std::size_t{1} << j][j] = d(1, j + 2);
    for (std::size_t s = 1; s < c.size(); ++s)
        for (int j = 0; j < m; ++j) {
            if (!(s & (std::size_t{1} << j)) || c[s][j] == inf) continue;
            for (int k = 0; k < m; ++k) {
                if (s & (std::size_t{1} << k)) continue;
                const std::size_t t = s | (std::size_t{1} << k);
                c[t][k] = std::min(c[t][k], c[s][j] + d(j + 2, k + 2));
            }
        }
    double best = inf;
    for (int j = 0; j < m; ++j) best = std::min(best, c.back()[j] + d(j + 2, 1));
    return best;
}

} // namespace tarvik::tsp::oracle
