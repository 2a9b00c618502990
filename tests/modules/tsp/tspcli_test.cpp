#include "modules/tsp/tspcli.h"

#include "modules/tsp/tspbb.h"
#include "modules/tsp/tsptour.h"
#include "support/clitesting.h"
#include "tsptesting.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using namespace tarvik::tsp;

using tarvik::test::CliRun;

CliRun Solve(const std::vector<std::string>& args) {
    return tarvik::test::RunEntry(RunCli, args);
}

class CityFileTest : public ::testing::Test {
protected:
    std::string Write(const std::string& text, const char* name = "tarvik-cities.txt") {
        // ctest runs the tests of this fixture side by side: each its own file.
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const auto path = std::filesystem::temp_directory_path() /
                          (std::string(info->name()) + "-" + std::to_string(::getpid()) + "-" + name);
        std::ofstream(path) << text;
        files_.push_back(path);
        return path.string();
    }
    void TearDown() override {
        for (auto& f : files_) std::filesystem::remove(f);
    }
    std::vector<std::filesystem::path> files_;
};

TEST_F(CityFileTest, ClosestNeighbourAndTwoOptPrintTheDataReport) {
    const std::string file = Write("0 0\n40 30\n40 0\n0 30\n");
    const CliRun r = Solve({"--tsp", file, "--tour", "nearest", "--start=2", "--two-opt"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, std::string(kReportTitle) + "\n" + std::string(54, '_') +
                         "\n\n"
                         "Chose are 4 cities with the following locations\n"
                         "Location of city 1 is ( 0\t 0 )\n"
                         "Location of city 2 is ( 40\t 30 )\n"
                         "Location of city 3 is ( 40\t 0 )\n"
                         "Location of city 4 is ( 0\t 30 )\n"
                         "\n"
                         "Closest neighbor heuristic\n\n"
                         "The tour length is:140.0000\n\n"
                         "Tour: 2 - 3 - 1 - 4 - 2\n\n\n"
                         "Closest neighbor heuristic ( 2-OPT did not have result )\n\n"
                         "The tour length is:140.0000\n\n"
                         "Tour: 2 - 3 - 1 - 4 - 2\n\n\n");
}

TEST_F(CityFileTest, ExactTourMatchesHeldKarp) {
    const Cities cities = oracle::SeededCities(10, 8);
    std::string text = "# ten cities\n";
    for (const City& c : cities) text += std::to_string(c.x) + " " + std::to_string(c.y) + "\n";
    const std::string file = Write(text);
    const CliRun r = Solve({"--tsp=" + file, "--tour", "exact", "--progress"});
    EXPECT_EQ(r.code, 0) << r.err;
    const double optimum = oracle::HeldKarpOptimum(DistanceTable(cities));
    EXPECT_NE(r.out.find("Exact tour (Branch and Bound)\n\nThe tour length is:" + Fixed(optimum, 8, 4)),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.err.find("Length best tour until now "), std::string::npos);
    EXPECT_NE(r.err.find("Calculation ready!\n"), std::string::npos);
}

TEST_F(CityFileTest, TheOneTreeBoundPrintsTheSameReport) {
    const Cities cities = oracle::SeededCities(14, 21);
    std::string text;
    for (const City& c : cities) text += std::to_string(c.x) + " " + std::to_string(c.y) + "\n";
    const std::string file = Write(text);
    const CliRun reduced = Solve({"--tsp", file, "--tour", "exact"});
    const CliRun oneTree = Solve({"--tsp", file, "--tour", "exact", "--bound=one-tree", "--progress"});
    ASSERT_EQ(oneTree.code, 0) << oneTree.err;
    EXPECT_EQ(Solve({"--tsp", file, "--tour", "exact", "--bound", "reduced"}).out, reduced.out);
    // The same text up to the tour line (the same tour, which may run the other way round).
    const std::size_t line = reduced.out.rfind("Tour: ");
    ASSERT_NE(line, std::string::npos);
    EXPECT_EQ(oneTree.out.substr(0, line), reduced.out.substr(0, line));
    EXPECT_TRUE(oneTree.err.ends_with("Calculation ready!\nOptimal tour, proven\n")) << oneTree.err;

    EXPECT_EQ(Solve({"--tsp", file, "--tour", "exact", "--bound", "exact"}).code, 2);
    EXPECT_EQ(Solve({"--tsp", file, "--tour", "nearest", "--bound", "one-tree"}).code, 2);
}

TEST_F(CityFileTest, UpperBoundsAreReadLikeTheDialogReadsThem) {
    const std::string file = Write("0 0\n30 0\n30 40\n");
    // The only tour is 120 long.
    CliRun r = Solve({"--tsp", file, "--tour", "exact", "--upper", "12,5"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err, "Wrong upper limit! There is no tour with this or shorter length.\n");
    EXPECT_EQ(r.out, "");
    r = Solve({"--tsp", file, "--tour", "exact", "--upper", "120"});
    EXPECT_EQ(r.code, 2);
    r = Solve({"--tsp", file, "--tour", "exact", "--upper", "120,5"});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("The tour length is:120.0000"), std::string::npos);
    r = Solve({"--tsp", file, "--tour", "exact", "--upper", "twelve"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err, "Wrong input!\n");
}

TEST_F(CityFileTest, ATimeLimitStopsTheSearchWithTheBestTourSoFar) {
    const CliRun r =
        Solve({"--tsp", "--random", "50", "--seed", "7", "--tour", "exact", "--time-limit", "0.02"});
    // 50 cities are far beyond 0.02 s; the first tour comes within a few steps.
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.err.find("The exact solutions has not yet been found! The best solution so far is shown"),
              std::string::npos);
    EXPECT_NE(r.out.find("Demolished Exact Method ( Solution not with certainty optimal!)"),
              std::string::npos);
}

TEST_F(CityFileTest, BadFilesAndOptions) {
    CliRun r = Solve({"--tsp", "/nonexistent/tarvik/cities.txt", "--tour", "nearest"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Cannot read file /nonexistent/tarvik/cities.txt\n");

    const std::string bad = Write("1 2\n3 4\n1 2\n", "tarvik-bad-cities.txt");
    r = Solve({"--tsp", bad, "--tour", "angle"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err, bad + ":3: city 3 stands on city 1 at (1, 2)\n");
    EXPECT_EQ(r.out, "");

    const std::string good = Write("1 2\n3 4\n5 9\n");
    EXPECT_EQ(Solve({"--tsp", good}).code, 2);
    EXPECT_EQ(Solve({"--tsp", good, "--tour", "best"}).code, 2);
    EXPECT_EQ(Solve({"--tsp", good, "--tour", "nearest", "--start", "4"}).code, 2);
    EXPECT_EQ(Solve({"--tsp", good, "--tour", "exact", "--two-opt"}).code, 2);
    EXPECT_EQ(Solve({"--tsp", good, "--tour", "nearest", "--upper", "5"}).code, 2);
    EXPECT_EQ(Solve({"--tsp", "--random", "51", "--seed", "1", "--tour", "nearest"}).code, 2);
    EXPECT_EQ(Solve({"--tsp", good, "--tour", "nearest", "--bogus"}).code, 2);
}

TEST(TspCli, SeededRandomRunsRepeatAndTellTheSeedOtherwise) {
    const CliRun a = Solve({"--tsp", "--random", "12", "--seed", "2024", "--tour", "random", "--two-opt"});
    const CliRun b = Solve({"--tsp", "--random=12", "--seed=2024", "--tour=random", "--two-opt"});
    EXPECT_EQ(a.code, 0);
    EXPECT_EQ(a.out, b.out);
    EXPECT_EQ(a.err, "");
    EXPECT_NE(a.out.find("Chose are 12 cities"), std::string::npos);
    EXPECT_NE(a.out.find("Random tour\n"), std::string::npos);
    const CliRun c = Solve({"--tsp", "--random", "5", "--tour", "angle"});
    EXPECT_EQ(c.code, 0);
    EXPECT_EQ(c.err.rfind("seed ", 0), 0u);
    EXPECT_NE(c.out.find("Largest angle heuristics\n"), std::string::npos);
}

} // namespace
