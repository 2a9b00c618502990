#include "modules/tsp/tspcities.h"

#include "common/random.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

using namespace tarvik::tsp;

TEST(CityPlacement, FiftyCitiesAlwaysFitWithTheSpacingRule) {
    for (std::uint32_t seed : {0u, 1u, 77u, 4000000000u, 123456789u}) {
        tarvik::RandSeed = seed;
        const Cities c = PlaceRandomCities(kMaxCities);
        ASSERT_EQ(c.size(), 50u);
        for (std::size_t k = 0; k < c.size(); ++k) {
            EXPECT_GE(c[k].x, 11);
            EXPECT_LE(c[k].x, kMapWidth - 10);
            EXPECT_GE(c[k].y, 21);
            EXPECT_LE(c[k].y, kMapHeight - 20);
            for (std::size_t i = 0; i < k; ++i)
                EXPECT_FALSE(std::abs(c[i].x - c[k].x) < 15 && std::abs(c[i].y - c[k].y) < 25);
        }
    }
}

TEST(CityPlacement, SameSeedSamePlacement) {
    tarvik::RandSeed = 99;
    const Cities a = PlaceRandomCities(10);
    tarvik::RandSeed = 99;
    EXPECT_EQ(PlaceRandomCities(10), a);
}

TEST(DistanceTableFill, StraightLineDistances) {
    DistanceTable d({{0, 0}, {3, 4}, {-6, -8}});
    EXPECT_EQ(d.size(), 3);
    EXPECT_DOUBLE_EQ(d(1, 2), 5);
    EXPECT_DOUBLE_EQ(d(2, 3), 15);
    EXPECT_DOUBLE_EQ(d(3, 1), 10);
    EXPECT_EQ(d(2, 2), 0);
}

TEST(CityFile, ReadsCitiesCommentsAndAnyLineEnd) {
    const auto r = ParseCityText("\xEF\xBB\xBF# two cities\r\n10 20\r\n\n  -5\t7  # west\r300 400", "c.txt");
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.cities, (Cities{{10, 20}, {-5, 7}, {300, 400}}));
}

TEST(CityFile, RefusesBadLinesWithNameAndLineNumber) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"1 2\n3\n", "f.txt:2: expected two whole numbers \"x y\", found 1 items"},
        {"1 2\n3 4 5\n", "f.txt:2: expected two whole numbers \"x y\", found 3 items"},
        {"1 2\n3 4.5\n", "f.txt:2: \"4.5\" is not a whole number"},
        {"1 2\nx 4\n", "f.txt:2: \"x\" is not a whole number"},
        {"1 2\n3 100001\n", "f.txt:2: coordinate 100001 is outside -100000 .. 100000"},
        {"1 2\n3 99999999999999999999\n", "f.txt:2: \"99999999999999999999\" is not a whole number"},
        {"# none\n1 2\n", "f.txt:2: fewer than 2 cities (found 1)"},
        {"", "f.txt:0: fewer than 2 cities (found 0)"},
        {"100 120\n200 50\n100 120\n", "f.txt:3: city 3 stands on city 1 at (100, 120)"},
    };
    for (const Case& c : cases) {
        const auto r = ParseCityText(c.text, "f.txt");
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.message, c.message);
    }
    std::string many;
    for (int k = 0; k < 51; ++k) many += std::to_string(k) + " " + std::to_string(2 * k) + "\n";
    const auto r = ParseCityText(many, "f.txt");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "f.txt:51: more than 50 cities");
    EXPECT_TRUE(ParseCityText("-100000 100000\n100000 -100000\n", "f.txt").ok);
}

TEST(CityFile, RefusesWhatIsNoRegularFile) {
    const auto dir = std::filesystem::temp_directory_path();
    const auto missing = ReadCityFile((dir / "tarvik-no-such-cities.txt").string());
    EXPECT_FALSE(missing.ok);
    EXPECT_TRUE(missing.unreadable);
    EXPECT_EQ(missing.message, "Cannot read file " + (dir / "tarvik-no-such-cities.txt").string());
    const auto folder = ReadCityFile(dir.string());
    EXPECT_TRUE(folder.unreadable);

    const auto big = dir / "tarvik-big-cities.txt";
    {
        std::ofstream out(big);
        out << std::string(kMaxCityFileSize + 10, '#');
    }
    const auto r = ReadCityFile(big.string());
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.unreadable);
    EXPECT_NE(r.message.find("larger than a city file can be"), std::string::npos);
    std::filesystem::remove(big);
}

TEST(CityLookup, FindsTheCityStandingOnAPoint) {
    const Cities c = {{100, 120}, {104, 110}};
    EXPECT_EQ(CityAt(c, 100, 120), 1);
    EXPECT_EQ(CityAt(c, 104, 110), 2);
    EXPECT_EQ(CityAt(c, 101, 120), 0);
}

} // namespace
