#include "modules/tsp/tsptour.h"

#include "common/random.h"
#include "tsptesting.h"

#include <gtest/gtest.h>

namespace {

using namespace tarvik::tsp;
using namespace tarvik::tsp::oracle;

TEST(TourTexts, FixedRoundsToSignificantDigitsAndPadsDecimals) {
    EXPECT_EQ(Fixed(123.456, 4, 2), "123.50");
    EXPECT_EQ(Fixed(1234.5, 4, 2), "1235.00");
    EXPECT_EQ(Fixed(12.345, 4, 2), "12.35");
    EXPECT_EQ(Fixed(1234.56789, 8, 4), "1234.5679");
    EXPECT_EQ(Fixed(123456.789, 8, 4), "123456.7900");
    EXPECT_EQ(Fixed(0, 8, 2), "0.00");
    EXPECT_EQ(Fixed(12345.6, 4, 2), "1.235E4");
}

TEST(TourTexts, TourLineEndsAtItsStart) {
    EXPECT_EQ(TourLine({1, 3, 2}), "Tour: 1 - 3 - 2 - 1");
}

TEST(TourReportText, CityBlockAndTourBlocks) {
    TourReport report;
    report.Restart({{11, 21}, {100, 200}});
    report.AddTour("Random tour", 2 * 199.95, "Tour: 1 - 2 - 1");
    EXPECT_EQ(report.PlainText(), std::string(kReportTitle) + "\n" + std::string(54, '_') +
                                      "\n\n"
                                      "Chose are 2 cities with the following locations\n"
                                      "Location of city 1 is ( 11\t 21 )\n"
                                      "Location of city 2 is ( 100\t 200 )\n"
                                      "\n"
                                      "Random tour\n\n"
                                      "The tour length is:399.9000\n\n"
                                      "Tour: 1 - 2 - 1\n\n\n");
    report.Restart({{5, 5}, {6, 6}, {7, 9}});
    EXPECT_EQ(report.lines().size(), 8u);
}

TEST(PathBuilding, RightClickRulesAndRunningLength) {
    const Cities cities = {{0, 0}, {3, 4}, {3, 0}, {0, 4}};
    DistanceTable d(cities);
    PathBuilder path(d);
    path.add(1);
    EXPECT_FALSE(path.canUndo()); // the first city stays
    EXPECT_FALSE(path.undo());
    path.add(2);
    EXPECT_DOUBLE_EQ(path.length(), 5);
    path.add(2); // used cities are ignored
    EXPECT_EQ(path.path().size(), 2u);
    EXPECT_TRUE(path.undo());
    EXPECT_DOUBLE_EQ(path.length(), 0);
    EXPECT_TRUE(path.available(2));
    path.add(3);
    path.add(2);
    path.add(4);
    ASSERT_TRUE(path.complete());
    EXPECT_DOUBLE_EQ(path.length(), 3 + 4 + 3 + 4);
    EXPECT_FALSE(path.undo()); // a finished tour stays
}

TEST(ClosestNeighbourMethod, TiesGoToTheLowerNumber) {
    // Cities 2 and 3 both lie 10 from city 1; 3 is listed first in space but not in number.
    const Cities cities = {{50, 50}, {60, 50}, {40, 50}, {50, 90}};
    DistanceTable d(cities);
    ClosestNeighbour method(d, 1);
    EXPECT_EQ(method.candidates(), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(method.choice(), 2);
    EXPECT_EQ(ClosestNeighbourTour(d, 1), (Tour{1, 2, 3, 4}));
    EXPECT_EQ(ClosestNeighbourTour(d, 4).front(), 4);
}

TEST(Constructions, TwoAndThreeCities) {
    const Cities two = {{100, 100}, {50, 80}};
    DistanceTable d2(two);
    EXPECT_EQ(ClosestNeighbourTour(d2, 1), (Tour{1, 2}));
    EXPECT_EQ(ClosestNeighbourTour(d2, 2), (Tour{2, 1}));
    EXPECT_EQ(GreatestAngleTour(two, d2), (Tour{2, 1}));
    tarvik::RandSeed = 1;
    EXPECT_EQ(RandomTour(2), (Tour{1, 2}));
    GreatestAngle angle(two, d2);
    while (angle.phase() != GreatestAngle::Phase::Done) angle.hullStep();
    EXPECT_DOUBLE_EQ(angle.length(), 2 * d2(1, 2));

    const Cities three = {{10, 10}, {200, 30}, {90, 300}};
    DistanceTable d3(three);
    const double length = d3(1, 2) + d3(2, 3) + d3(3, 1);
    for (const Tour& t : {ClosestNeighbourTour(d3, 1), GreatestAngleTour(three, d3), RandomTour(3)}) {
        EXPECT_TRUE(IsPermutation(t, 3));
        EXPECT_NEAR(TourLength(t, d3), length, 1e-9);
        Tour copy = t;
        const TwoOptResult r = TwoOpt(copy, d3);
        EXPECT_EQ(r.improvements, 0);
        EXPECT_EQ(TwoOptLine(r), "Not improved with 2-OPT");
    }
}

TEST(GreatestAngleMethod, WalksTheHullThenInsertsTheWidestAngle) {
    // A square with a city just inside its bottom edge and one in the middle.
    const Cities cities = {{10, 10}, {110, 10}, {110, 110}, {10, 110}, {60, 100}, {60, 60}};
    DistanceTable d(cities);
    GreatestAngle method(cities, d);
    EXPECT_EQ(method.start(), 1);
    std::vector<int> walk;
    while (method.phase() == GreatestAngle::Phase::Hull) walk.push_back(method.hullStep().to);
    EXPECT_EQ(walk, (std::vector<int>{2, 3, 4, 1}));
    EXPECT_EQ(method.tour(), (Tour{1, 2, 3, 4}));
    EXPECT_DOUBLE_EQ(method.length(), 400);
    const auto first = method.insertionStep();
    EXPECT_EQ(first.city, 5); // nearly on the edge 3 - 4: an angle close to 180 degrees
    EXPECT_EQ(first.a, 3);
    EXPECT_EQ(first.b, 4);
    method.insertionStep();
    EXPECT_EQ(method.phase(), GreatestAngle::Phase::Done);
    EXPECT_TRUE(IsPermutation(method.tour(), 6));
    EXPECT_NEAR(method.length(), TourLength(method.tour(), d), 1e-9);
}

TEST(GreatestAngleMethod, TwoCitiesAtOnePointGiveNoCityZero) {
    const Cities cities = {{100, 120}, {200, 50}, {100, 120}};
    DistanceTable d(cities);
    const Tour t = GreatestAngleTour(cities, d);
    EXPECT_TRUE(IsPermutation(t, 3));
}

TEST(GreatestAngleMethod, TheHullWalkPassesCollinearCitiesInOrderAndComesHome) {
    // The start (city 2) lies between cities 3 and 4 on the left edge. Coming back up
    // that edge, cities 2 and 4 lie in one direction: the nearer one, the start, ends
    // the walk (a jump to city 4 would circle the hull for ever).
    const Cities cities = {{25, 40}, {10, 55}, {10, 70}, {10, 25}};
    DistanceTable d(cities);
    GreatestAngle method(cities, d);
    EXPECT_EQ(method.start(), 2);
    std::vector<int> walk;
    for (int step = 0; step < 10 && method.phase() == GreatestAngle::Phase::Hull; ++step)
        walk.push_back(method.hullStep().to);
    EXPECT_EQ(walk, (std::vector<int>{4, 1, 3, 2}));
    EXPECT_EQ(method.phase(), GreatestAngle::Phase::Done);
    EXPECT_EQ(method.tour(), (Tour{2, 4, 1, 3}));
}

TEST(Constructions, CollinearAndGridSetsEndWithPermutations) {
    std::vector<Cities> sets;
    Cities line, column, diagonal;
    for (int k = 0; k < 12; ++k) {
        line.push_back({20 + 7 * ((k * 5) % 12), 100});
        column.push_back({100, 30 + 9 * ((k * 7) % 12)});
        diagonal.push_back({10 + 13 * k, 300 - 11 * k});
    }
    sets.push_back(line);
    sets.push_back(column);
    sets.push_back(diagonal);
    for (int w : {3, 5, 7}) {
        Cities grid;
        // Numbered so that the leftmost lowest-numbered city lies inside the left column.
        for (int k = 0; k < w * w; ++k) {
            const int cell = (k * 7 + 3) % (w * w);
            grid.push_back({20 + 30 * (cell % w), 20 + 30 * (cell / w)});
        }
        sets.push_back(grid);
    }
    for (std::size_t s = 0; s < sets.size(); ++s) {
        SCOPED_TRACE(s);
        const Cities& c = sets[s];
        const int n = static_cast<int>(c.size());
        DistanceTable d(c);
        Tour angle = GreatestAngleTour(c, d);
        ASSERT_TRUE(IsPermutation(angle, n));
        Tour nearest = ClosestNeighbourTour(d, 1);
        ASSERT_TRUE(IsPermutation(nearest, n));
        TwoOpt(angle, d);
        TwoOpt(nearest, d);
        EXPECT_TRUE(IsPermutation(angle, n));
        EXPECT_TRUE(IsPermutation(nearest, n));
    }
}

TEST(TwoOptImprovement, LeavesNoImprovingPairAndKeepsTheFirstCity) {
    tarvik::RandSeed = 2026;
    for (int round = 0; round < 10; ++round) {
        const Cities cities = PlaceRandomCities(30);
        DistanceTable d(cities);
        Tour t = RandomTour(30);
        const int first = t.front();
        const TwoOptResult r = TwoOpt(t, d);
        ASSERT_TRUE(IsPermutation(t, 30));
        EXPECT_EQ(t.front(), first);
        EXPECT_GT(r.improvements, 0);
        EXPECT_LT(r.after, r.before);
        EXPECT_NEAR(r.after, TourLength(t, d), 1e-9);
        // No exchange of two edges without a common city shortens it.
        const int n = 30;
        for (int i = 0; i < n; ++i)
            for (int k = 0; k < n; ++k) {
                if (k == i || (k + 1) % n == i || (i + 1) % n == k) continue;
                const int a = t[i], b = t[(i + 1) % n], c = t[k], e = t[(k + 1) % n];
                EXPECT_LE(d(a, b) + d(c, e) - d(a, c) - d(b, e), kTwoOptMinGain);
            }
        EXPECT_EQ(TwoOpt(t, d).improvements, 0); // a second application finds nothing
    }
}

TEST(TwoOptImprovement, UncrossesACrossingAndReportsThePercentage) {
    // The tour 1-3-2-4 around a rectangle crosses itself once.
    const Cities cities = {{0, 0}, {40, 30}, {40, 0}, {0, 30}};
    DistanceTable d(cities);
    Tour t = {1, 2, 3, 4};
    const TwoOptResult r = TwoOpt(t, d);
    EXPECT_EQ(r.improvements, 1);
    EXPECT_EQ(t, (Tour{1, 3, 2, 4}));
    EXPECT_DOUBLE_EQ(r.before, 50 + 30 + 50 + 30);
    EXPECT_DOUBLE_EQ(r.after, 140);
    EXPECT_EQ(TwoOptLine(r), "2-OPT improvement: 12.50 %");
    EXPECT_EQ(TwoOptDescription(r, "Random tour"), "2-OPT improvement of Random tour");
    EXPECT_EQ(TwoOptDescription(TwoOptResult{}, "Random tour"), "Random tour ( 2-OPT did not have result )");
}

TEST(TwoOptImprovement, WrappedExchangeReversesTheEarlierStretch) {
    // Best move with k > n: the stretch before position i is reversed, T(1) stays.
    const Cities cities = SeededCities(9, 11);
    DistanceTable d(cities);
    Tour t = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    const double oracle = TourLength(t, d);
    const TwoOptResult r = TwoOpt(t, d);
    EXPECT_EQ(t.front(), 1);
    EXPECT_TRUE(IsPermutation(t, 9));
    EXPECT_NEAR(r.before, oracle, 1e-12);
    EXPECT_LE(r.after, r.before);
}

} // namespace
