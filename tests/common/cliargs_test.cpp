#include "common/cliargs.h"

#include "common/random.h"

#include <gtest/gtest.h>
#include <sstream>

namespace tarvik {
namespace {

using Args = std::vector<std::string>;

TEST(CliArgs, OptionWordSplitsAtTheFirstEqualsSign) {
    OptionWord w = SplitOptionWord("--times=1,2=3");
    EXPECT_EQ(w.name, "--times");
    EXPECT_EQ(w.value, "1,2=3");
    // An empty value is a value: "--n=" must not take the next word.
    w = SplitOptionWord("--n=");
    EXPECT_EQ(w.name, "--n");
    EXPECT_EQ(w.value, "");
    w = SplitOptionWord("--points");
    EXPECT_EQ(w.name, "--points");
    EXPECT_FALSE(w.value);
}

TEST(CliArgs, ValueComesFromTheWordOrTheNextOne) {
    const Args args = {"--seed=7", "--n", "5", "--level"};
    std::size_t i = 0;
    EXPECT_EQ(TakeValue(SplitOptionWord(args[i]), args, i), "7");
    EXPECT_EQ(i, 0u); // nothing consumed
    i = 1;
    EXPECT_EQ(TakeValue(SplitOptionWord(args[i]), args, i), "5");
    EXPECT_EQ(i, 2u);
    i = 3;
    EXPECT_FALSE(TakeValue(SplitOptionWord(args[i]), args, i));
    EXPECT_EQ(i, 3u);
    // "--n=" at the end of the line has its (empty) value.
    const Args empty = {"--n="};
    i = 0;
    EXPECT_EQ(TakeValue(SplitOptionWord(empty[0]), empty, i), "");
}

TEST(CliArgs, ListKeepsEmptyItems) {
    EXPECT_EQ(SplitList("0.1,0.2,0.7"), (Args{"0.1", "0.2", "0.7"}));
    EXPECT_EQ(SplitList(""), (Args{""}));
    EXPECT_EQ(SplitList("1,,2,"), (Args{"1", "", "2", ""}));
}

TEST(CliArgs, SeedIsAWholeNumberOfThirtyTwoBits) {
    EXPECT_EQ(ParseSeed("0"), 0u);
    EXPECT_EQ(ParseSeed("4294967295"), 4294967295u);
    for (const char* bad : {"4294967296", "-1", "", "12a", "1.5"}) EXPECT_FALSE(ParseSeed(bad)) << bad;
}

TEST(CliArgs, AGivenSeedIsUsedSilentlyAClockSeedIsTold) {
    std::ostringstream err;
    SeedSystemGenerator(12345u, err);
    EXPECT_EQ(RandSeed, 12345u);
    EXPECT_EQ(err.str(), "");
    SeedSystemGenerator(std::nullopt, err);
    EXPECT_EQ(err.str(), "seed " + std::to_string(RandSeed) + "\n");
}

} // namespace
} // namespace tarvik
