#include "cli/solvecli.h"
#include "cli/solvehelp.h"
#include "common/version.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>

namespace tarvik::cli {
namespace {

struct SolveRun {
    int code;
    std::string out, err;
};

SolveRun Solve(const std::vector<std::string>& args) {
    std::istringstream in;
    std::ostringstream out, err;
    const int code = RunSolve(args, in, out, err);
    return {code, out.str(), err.str()};
}

TEST(SolveHelp, HelpListsEveryEntryAndExitsZero) {
    const SolveRun r = Solve({"--help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.err.empty());
    EXPECT_EQ(r.out.rfind("Usage: tarvik-solve MODEL.tlp|MODEL.tip... [OPTION]...\n", 0), 0u);
    for (const SolveEntry& e : SolveEntries()) {
        EXPECT_NE(r.out.find("tarvik-solve " + std::string(e.usage) + "\n"), std::string::npos) << e.usage;
        EXPECT_NE(r.out.find("\n" + std::string(e.help.title) + ":\n"), std::string::npos) << e.help.title;
    }
    EXPECT_NE(r.out.find("\n  --tableaus none|first-last|all\n"
                         "                         the simplex tableaus to print (default none)\n"),
              std::string::npos);
}

TEST(SolveHelp, HelpWithAnEntryShowsThatEntryOnly) {
    for (const SolveEntry& e : SolveEntries()) {
        if (!*e.word) continue;
        const SolveRun r = Solve({std::string(e.word) + "=x", "--help"});
        EXPECT_EQ(r.code, 0);
        EXPECT_EQ(r.out, SolveHelp(&e));
        EXPECT_EQ(
            r.out.rfind("Usage: tarvik-solve " + std::string(e.usage) + "\n\n" + e.help.title + ":\n", 0),
            0u);
    }
}

TEST(SolveHelp, VersionNamesTheProjectVersionAndTheLicence) {
    const SolveRun r = Solve({"model.tlp", "--version", "--help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, VersionNotice("tarvik-solve"));
    EXPECT_EQ(r.out.rfind("tarvik-solve (Tarvik) " TARVIK_PROJECT_VERSION, 0), 0u);
    EXPECT_NE(r.out.find("\nLicense GPLv3+: GNU GPL version 3 or later"), std::string::npos);
}

// The short usage a module prints with a wrong option names only options that
// --help lists for that entry, so the two cannot drift apart.
TEST(SolveHelp, EveryOptionOfAShortUsageIsInTheHelp) {
    const std::regex option("--[a-z][a-z0-9-]*");
    for (const SolveEntry& e : SolveEntries()) {
        const SolveRun r = Solve(*e.word ? std::vector<std::string>{e.word, "--no-such-option"}
                                    : std::vector<std::string>{"--no-such-option"});
        EXPECT_NE(r.code, 0) << e.word;
        std::set<std::string> listed = {e.word, "--help", "--version"};
        for (const OptionHelp& o : e.help.options) listed.insert(o.option);
        const std::size_t at = r.err.find("sage: ");
        ASSERT_NE(at, std::string::npos) << e.help.title << ": " << r.err;
        const std::string usage = r.err.substr(at);
        for (std::sregex_iterator m(usage.begin(), usage.end(), option), end; m != end; ++m)
            EXPECT_TRUE(listed.count(m->str())) << e.help.title << ": " << m->str() << " is not in --help";
    }
}

TEST(SolveHelp, LinesFitEightyColumns) {
    std::istringstream lines(SolveHelp());
    for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 79u) << line;
}

TEST(SolveHelp, ChoicesComeFromPlainValuesOrTheirOwnList) {
    const struct {
        OptionHelp option;
        std::vector<std::string> choices;
    } cases[] = {
        {{"--tableaus", "none|first-last|all"}, {"none", "first-last", "all"}},
        {{"--level", "95|90"}, {"95", "90"}},
        {{"--die", "fair|P1,...,P6"}, {}},
        {{"--seed", "S"}, {}},
        {{"--vary", "c|N", "", "c N"}, {"c", "N"}},
    };
    for (const auto& c : cases) EXPECT_EQ(OptionChoices(c.option), c.choices) << c.option.option;
}

} // namespace
} // namespace tarvik::cli
