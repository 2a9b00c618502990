#include "modules/tsp/tsponetree.h"

#include "common/random.h"
#include "tsptesting.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <numeric>

namespace {

using namespace tarvik::tsp;
using namespace tarvik::tsp::oracle;

class Recorder : public SearchProgress {
public:
    void improved(double best, const std::string& line) override {
        bests.push_back(best);
        lines.push_back(line);
        stop = stop || stopAtFirst;
    }
    bool stopRequested() const override { return stop; }
    std::vector<double> bests;
    std::vector<std::string> lines;
    bool stopAtFirst = false;
    bool stop = false;
};

// Subgradient steps that leave the bounds weak, so that small cases branch deep.
constexpr SubgradientSteps kFewSteps{.root = 3, .node = 1};

ExactResult Solve(const Cities& cities, double upper = kInf, const OneTreeObserver& observer = {},
                  SubgradientSteps steps = {}) {
    DistanceTable d(cities);
    Recorder progress;
    const ExactResult r = OneTreeBranchAndBound(cities, d, upper, progress, observer, steps);
    for (std::size_t k = 1; k < progress.bests.size(); ++k)
        EXPECT_LT(progress.bests[k], progress.bests[k - 1]);
    if (r.found) {
        EXPECT_EQ(progress.lines.back(), ImprovementLine(r.best));
    }
    return r;
}

void ExpectOptimal(const Cities& cities, double optimum, SubgradientSteps steps = {}) {
    const ExactResult r = Solve(cities, kInf, {}, steps);
    ASSERT_TRUE(r.found);
    EXPECT_FALSE(r.cancelled);
    EXPECT_EQ(ExactVerdict(r), kProvenOptimal);
    ASSERT_TRUE(IsPermutation(r.tour, static_cast<int>(cities.size())));
    EXPECT_EQ(r.tour.front(), 1);
    EXPECT_NEAR(r.best, optimum, 1e-6);
    EXPECT_NEAR(TourLength(r.tour, DistanceTable(cities)), r.best, 1e-9);
}

// Cities on a circle, on a lattice (many equal lengths) and on a line (whole-number lengths).
Cities Shape(int kind, int n) {
    Cities c;
    for (int k = 0; k < n; ++k) {
        const double a = 6.283185307179586 * k / n;
        if (kind == 0)
            c.push_back({150 + static_cast<int>(std::lround(120 * std::cos(a))),
                         180 + static_cast<int>(std::lround(120 * std::sin(a)))});
        if (kind == 1) c.push_back({20 + 30 * (k % 4), 20 + 30 * (k / 4)});
        if (kind == 2) c.push_back({(k * 37) % 101, 0});
    }
    return c;
}

TEST(OneTreeSearch, MatchesHeldKarpUpToFifteenCities) {
    // Open and cramped fields (many nearly equal lengths) and shapes with equal or whole-number
    // lengths, each with the search's own bounds and with weak ones that branch deep.
    ExpectOptimal({{10, 20}, {40, 60}}, 100);
    for (int n = 3; n <= 15; ++n) {
        std::vector<Cities> cases = {Shape(0, n), Shape(1, n), Shape(2, n)};
        for (unsigned seed = 1; seed <= (n <= 11 ? 12u : 2u); ++seed)
            cases.push_back(SeededCities(n, seed * 131 + n, seed % 2 ? 318 : 60, seed % 2 ? 377 : 60));
        for (std::size_t k = 0; k < cases.size(); ++k) {
            SCOPED_TRACE(testing::Message() << "n " << n << " case " << k);
            const double optimum = HeldKarpOptimum(DistanceTable(cases[k]));
            ExpectOptimal(cases[k], optimum);
            ExpectOptimal(cases[k], optimum, kFewSteps);
        }
    }
}

TEST(OneTreeSearch, MatchesTheReducedMatrixSearchUpToTwentyFiveCities) {
    tarvik::RandSeed = 2024;
    for (int n = 16; n <= 25; ++n) {
        SCOPED_TRACE(n);
        const Cities cities = n % 2 ? PlaceRandomCities(n) : SeededCities(n, 7 * n);
        DistanceTable d(cities);
        SearchProgress progress;
        const ExactResult reduced = BranchAndBound(cities, d, kInf, progress);
        ASSERT_TRUE(reduced.found && !reduced.cancelled);
        ExpectOptimal(cities, reduced.best);
    }
}

// Every tour of n <= 8 cities as a set of edges, with its length.
struct AllTours {
    explicit AllTours(const Cities& cities) : n(static_cast<int>(cities.size())) {
        const DistanceTable d(cities);
        Tour t(static_cast<std::size_t>(n));
        std::iota(t.begin(), t.end(), 1);
        do {
            std::uint64_t m = 0;
            for (int q = 0; q < n; ++q) m |= Bit(t[q], t[(q + 1) % n]);
            masks.push_back(m);
            lengths.push_back(TourLength(t, d));
        } while (std::next_permutation(t.begin() + 1, t.end()));
    }
    std::uint64_t Bit(int i, int j) const {
        // Cities are numbered from 1; n <= 8 keeps every pair below bit 64.
        return std::uint64_t{1} << ((std::min(i, j) - 1) * n + (std::max(i, j) - 1));
    }
    double Shortest(const OneTreeNode& node) const {
        std::uint64_t in = 0, out = 0;
        for (auto [i, j] : node.included) in |= Bit(i, j);
        for (auto [i, j] : node.excluded) out |= Bit(i, j);
        double best = std::numeric_limits<double>::infinity(); // no tour: any bound holds
        for (std::size_t k = 0; k < masks.size(); ++k)
            if ((masks[k] & in) == in && !(masks[k] & out)) best = std::min(best, lengths[k]);
        return best;
    }
    int n;
    std::vector<std::uint64_t> masks;
    std::vector<double> lengths;
};

TEST(OneTreeSearch, TheBoundOfEveryNodeIsAtMostItsShortestTour) {
    int nodes = 0, branched = 0;
    for (int n = 4; n <= 8; ++n)
        for (unsigned seed = 1; seed <= 8; ++seed) {
            SCOPED_TRACE(testing::Message() << "n " << n << " seed " << seed);
            const Cities cities = seed > 6 ? Shape(seed - 7, n) : SeededCities(n, seed * 17 + n);
            const AllTours tours(cities);
            const double optimum = *std::min_element(tours.lengths.begin(), tours.lengths.end());
            auto check = [&](const OneTreeNode& node) {
                ++nodes;
                branched += !node.included.empty() || node.excluded.size() > 1;
                EXPECT_LE(node.bound, tours.Shortest(node) + 1e-9);
                for (const auto& e : node.included)
                    EXPECT_EQ(std::count(node.excluded.begin(), node.excluded.end(), e), 0);
            };
            // With the optimum as the bound nothing is found and every node must be closed by its bound.
            for (SubgradientSteps steps : {SubgradientSteps{}, kFewSteps}) {
                EXPECT_FALSE(Solve(cities, optimum, check, steps).found);
                EXPECT_NEAR(Solve(cities, kInf, check, steps).best, optimum, 1e-9);
            }
        }
    EXPECT_GT(branched, 200) << "of " << nodes << " nodes";
}

TEST(OneTreeSearch, OnlyToursStrictlyBelowTheBoundCount) {
    for (unsigned seed = 1; seed <= 6; ++seed) {
        const Cities cities = SeededCities(9 + static_cast<int>(seed), 99 + seed);
        const double optimum = HeldKarpOptimum(DistanceTable(cities));
        const ExactResult equal = Solve(cities, optimum);
        EXPECT_FALSE(equal.found || equal.cancelled);
        EXPECT_EQ(ExactVerdict(equal), "");
        EXPECT_NEAR(Solve(cities, optimum + 1e-6).best, optimum, 1e-9);
        EXPECT_FALSE(Solve(cities, optimum * 0.9).found);
    }
}

TEST(OneTreeSearch, AStoppedSearchIsNotProvenAndLeavesTheTableWhole) {
    const Cities cities = SeededCities(40, 5);
    DistanceTable d(cities);
    Recorder progress;
    progress.stopAtFirst = true;
    const ExactResult r = OneTreeBranchAndBound(cities, d, kInf, progress);
    ASSERT_TRUE(r.found);
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(ExactVerdict(r), kNotProvenOptimal);
    ASSERT_EQ(progress.lines.size(), 1u);
    ASSERT_TRUE(IsPermutation(r.tour, 40));
    EXPECT_NEAR(TourLength(r.tour, d), r.best, 1e-9);
    const DistanceTable fresh(cities);
    for (int i = 1; i <= 40; ++i)
        for (int j = 1; j <= 40; ++j) ASSERT_EQ(d(i, j), fresh(i, j));
    // Stopped before the first tour: nothing.
    progress.stop = true;
    const ExactResult none = OneTreeBranchAndBound(cities, d, kInf, progress);
    EXPECT_FALSE(none.found);
    EXPECT_TRUE(none.cancelled);
    EXPECT_EQ(none.nodes, 0u);
}

} // namespace
