#include "modules/tsp/tspbb.h"

#include "common/random.h"
#include "tsptesting.h"

#include <gtest/gtest.h>

namespace {

using namespace tarvik::tsp;
using namespace tarvik::tsp::oracle;

class StopAfterFirstTour : public SearchProgress {
public:
    void improved(double best, const std::string& line) override {
        lines.push_back(line);
        firstBest = best;
        stop = true;
    }
    bool stopRequested() const override { return stop; }
    std::vector<std::string> lines;
    double firstBest = 0;
    bool stop = false;
};

void ExpectOptimal(const Cities& cities, double oracle) {
    DistanceTable d(cities);
    SearchProgress progress;
    const ExactResult r = BranchAndBound(cities, d, kInf, progress);
    ASSERT_TRUE(r.found);
    EXPECT_FALSE(r.cancelled);
    ASSERT_TRUE(IsPermutation(r.tour, static_cast<int>(cities.size())));
    EXPECT_EQ(r.tour.front(), 1);
    EXPECT_NEAR(r.best, oracle, 1e-6);
    EXPECT_NEAR(TourLength(r.tour, d), oracle, 1e-6);
}

TEST(BranchAndBound, MatchesBruteForceUpToEightCities) {
    for (int n = 4; n <= 8; ++n)
        for (unsigned seed = 1; seed <= 6; ++seed) {
            SCOPED_TRACE(testing::Message() << "n " << n << " seed " << seed);
            const Cities cities = SeededCities(n, seed * 31 + n);
            ExpectOptimal(cities, BruteForceOptimum(DistanceTable(cities)));
        }
}

TEST(BranchAndBound, MatchesHeldKarpUpToTwelveCities) {
    for (int n = 9; n <= 12; ++n)
        for (unsigned seed = 1; seed <= 5; ++seed) {
            SCOPED_TRACE(testing::Message() << "n " << n << " seed " << seed);
            const Cities cities = SeededCities(n, seed * 97 + n);
            ExpectOptimal(cities, HeldKarpOptimum(DistanceTable(cities)));
        }
}

TEST(BranchAndBound, MatchesHeldKarpOnPlacementsOfTheMap) {
    tarvik::RandSeed = 12345;
    for (int k = 0; k < 4; ++k) {
        const Cities cities = PlaceRandomCities(11);
        ExpectOptimal(cities, HeldKarpOptimum(DistanceTable(cities)));
    }
}

TEST(BranchAndBound, TwoCitiesGoThereAndBack) {
    const Cities cities = {{10, 20}, {40, 60}};
    DistanceTable d(cities);
    SearchProgress progress;
    const ExactResult r = BranchAndBound(cities, d, kInf, progress);
    ASSERT_TRUE(r.found);
    EXPECT_EQ(r.tour, (Tour{1, 2}));
    EXPECT_DOUBLE_EQ(r.best, 100.0);
    EXPECT_EQ(r.nodes, 1u);
}

TEST(BranchAndBound, ThreeCitiesHaveOneTourLength) {
    const Cities cities = {{0, 0}, {30, 0}, {0, 40}};
    DistanceTable d(cities);
    SearchProgress progress;
    const ExactResult r = BranchAndBound(cities, d, kInf, progress);
    ASSERT_TRUE(r.found);
    EXPECT_EQ(r.tour.front(), 1);
    EXPECT_TRUE(IsPermutation(r.tour, 3));
    EXPECT_NEAR(r.best, 120.0, 1e-9);
}

TEST(BranchAndBound, OnlyToursStrictlyBelowTheBoundCount) {
    for (unsigned seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE(seed);
        const Cities cities = SeededCities(8 + static_cast<int>(seed % 7), 4242 + seed);
        DistanceTable d(cities);
        SearchProgress progress;
        const double optimum = HeldKarpOptimum(d);
        // The bound as the oracle computes it, and as the search itself reports it.
        for (double bound : {optimum, BranchAndBound(cities, d, kInf, progress).best}) {
            const ExactResult equal = BranchAndBound(cities, d, bound, progress);
            EXPECT_FALSE(equal.found);
            EXPECT_FALSE(equal.cancelled);
        }
        const ExactResult above = BranchAndBound(cities, d, optimum + 1e-6, progress);
        ASSERT_TRUE(above.found);
        EXPECT_NEAR(above.best, optimum, 1e-9);
        EXPECT_EQ(above.tour.front(), 1);
        EXPECT_FALSE(BranchAndBound(cities, d, optimum * 0.9, progress).found);
    }
}

TEST(BranchAndBound, AStopAfterTheFirstImprovementLeavesAValidTour) {
    const Cities cities = SeededCities(25, 77);
    DistanceTable d(cities);
    StopAfterFirstTour progress;
    const ExactResult r = BranchAndBound(cities, d, kInf, progress);
    ASSERT_TRUE(r.found);
    EXPECT_TRUE(r.cancelled);
    ASSERT_EQ(progress.lines.size(), 1u);
    EXPECT_EQ(progress.lines[0], ImprovementLine(progress.firstBest));
    ASSERT_TRUE(IsPermutation(r.tour, 25));
    EXPECT_EQ(r.tour.front(), 1);
    EXPECT_NEAR(TourLength(r.tour, d), r.best, 1e-6);
}

TEST(BranchAndBound, AStopBeforeAnyTourFindsNothing) {
    const Cities cities = SeededCities(12, 5);
    DistanceTable d(cities);
    class StopNow : public SearchProgress {
        bool stopRequested() const override { return true; }
    } stop;
    const ExactResult r = BranchAndBound(cities, d, kInf, stop);
    EXPECT_FALSE(r.found);
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(r.nodes, 0u);
}

TEST(BranchAndBound, TheTableIsFilledAgainAfterTheSearch) {
    const Cities cities = SeededCities(14, 9);
    DistanceTable d(cities);
    SearchProgress progress;
    BranchAndBound(cities, d, kInf, progress);
    const DistanceTable fresh(cities);
    for (int i = 1; i <= 14; ++i)
        for (int j = 1; j <= 14; ++j) ASSERT_EQ(d(i, j), fresh(i, j)) << i << "," << j;
}

TEST(BranchAndBound, ImprovementLinesUseEightSignificantDigits) {
    EXPECT_EQ(ImprovementLine(1234.567891), "Length best tour until now 1234.5679");
    EXPECT_EQ(ImprovementLine(100.0), "Length best tour until now 100");
}

TEST(BranchAndBound, EveryProgressLineImprovesOnTheLast) {
    const Cities cities = SeededCities(18, 3);
    DistanceTable d(cities);
    class Lines : public SearchProgress {
    public:
        void improved(double best, const std::string&) override { bests.push_back(best); }
        std::vector<double> bests;
    } progress;
    const ExactResult r = BranchAndBound(cities, d, kInf, progress);
    ASSERT_FALSE(progress.bests.empty());
    for (std::size_t k = 1; k < progress.bests.size(); ++k)
        EXPECT_LT(progress.bests[k], progress.bests[k - 1]);
    EXPECT_EQ(progress.bests.back(), r.best);
}

} // namespace
