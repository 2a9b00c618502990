#include "markovtesting.h"
#include "modules/markov/markovfile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

namespace tarvik::markov {
namespace {

namespace fs = std::filesystem;

class MarkovFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("markovfile-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir_, fs::perms::owner_all, ec);
        fs::remove_all(dir_, ec);
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    static std::string Slurp(const std::string& name) {
        std::ifstream in(name, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static void Put(const std::string& name, const std::string& text) {
        std::ofstream out(name, std::ios::binary);
        out << text;
    }
    fs::path dir_;
};

TEST_F(MarkovFileTest, WritesTheCellTextsWithCrLf) {
    ChainData d = testing::MakeTextChain(ChainType::Continuous, {{"0", "1.5"}, {"2E-7", "0"}}, {"3", "-4"},
                                         {"0", "0.25"});
    EXPECT_EQ(ChainFileText(d), "88\r\n2\r\n0 1.5\r\n2E-7 0\r\n3 -4\r\n0 0.25\r\n");
    ChainData e = testing::MakeTextChain(ChainType::Discrete, {{"1"}}, {"12"});
    EXPECT_EQ(ChainFileText(e), "99\r\n1\r\n1\r\n12\r\n");
}

TEST_F(MarkovFileTest, RoundTripGivesTheSameTexts) {
    for (ChainType type : {ChainType::Discrete, ChainType::Continuous}) {
        ChainData d = MakeChain(type, 3);
        d.matrix = {{"0", "0.25", "1E-6"}, {"12.5", "0", "3"}, {"0.1", "1234567.125", "0"}};
        d.cost = {"-100000", "0.5", "7"};
        if (type == ChainType::Continuous) d.transitionCost = {"1", "2", "0.333333333333333"};
        const std::string name = path("chain.txt");
        ASSERT_TRUE(WriteChainFile(name, d).ok);
        ReadResult r = ReadChainFile(name);
        ASSERT_TRUE(r.ok) << r.problem.message;
        EXPECT_EQ(r.chain.type, type);
        EXPECT_EQ(r.chain.n, 3);
        EXPECT_EQ(r.chain.matrix, d.matrix);
        EXPECT_EQ(r.chain.cost, d.cost);
        EXPECT_EQ(r.chain.transitionCost, d.transitionCost);
    }
}

TEST_F(MarkovFileTest, ReadingNormalisesNumbersAndSkipsLineRests) {
    // Rests of lines after the code, N and every row are skipped; a row may
    // continue on the next line; LF line ends and "," decimal marks are read.
    ReadResult r =
        ParseChainText("99 discrete\n2 states\n0.50 5e-1 comment\n0,25\n 0.75 x\n1.0 -2\n", "f.txt");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.chain.matrix, (std::vector<std::vector<std::string>>{{"0.5", "0.5"}, {"0.25", "0.75"}}));
    EXPECT_EQ(r.chain.cost, (std::vector<std::string>{"1", "-2"}));
    // Any code other than the discrete one reads as continuous time.
    r = ParseChainText("7\r\n1\r\n0\r\n5\r\n6\r\n", "f.txt");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.chain.type, ChainType::Continuous);
    EXPECT_EQ(r.chain.transitionCost, (std::vector<std::string>{"6"}));
    // Shortest general form, up to 15 significant digits.
    r = ParseChainText("99\n1\n1\n0.1234567890123456789\n", "f.txt");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.chain.cost[0], "0.123456789012346");
}

TEST_F(MarkovFileTest, BrokenFilesCannotBeRead) {
    const std::string good = "88\r\n2\r\n0 1\r\n2 0\r\n1 2\r\n3 4\r\n";
    ASSERT_TRUE(ParseChainText(good, "x").ok);
    // Every cut of a good file but the whole one fails cleanly.
    for (std::size_t cut = 0; cut + 2 < good.size(); ++cut) {
        ReadResult r = ParseChainText(good.substr(0, cut), "cut.txt");
        EXPECT_FALSE(r.ok) << cut;
        if (!r.ok) {
            EXPECT_EQ(r.problem.message, "Cannot read file cut.txt");
        }
    }
    for (const char* text :
         {"", "99", "99\r\n0\r\n", "99\r\n101\r\n", "99\r\n-1\r\n1\r\n1\r\n", "99\r\n1e1\r\n",
          "99\r\n2\r\n1 x\r\n0 1\r\n0 0\r\n", "x\r\n1\r\n1\r\n1\r\n", "99\r\n1\r\n1e999\r\n0\r\n",
          "99\r\n99999999999999999999999\r\n", "99\r\n1\r\nnan\r\n0\r\n"}) {
        EXPECT_FALSE(ParseChainText(text, "b.txt").ok) << text;
    }
    EXPECT_EQ(ReadChainFile(path("missing.txt")).problem.message, "Cannot read file " + path("missing.txt"));
    EXPECT_FALSE(ReadChainFile(dir_.string()).ok);
    // A huge file is refused before it is parsed.
    const std::string huge = path("huge.txt");
    Put(huge, "99\r\n1\r\n1\r\n0\r\n" + std::string(kMaxChainFileSize, ' '));
    EXPECT_FALSE(ReadChainFile(huge).ok);
}

TEST_F(MarkovFileTest, RandomDamageNeverCrashes) {
    ChainData d = MakeChain(ChainType::Continuous, 4);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (i != j)
                d.matrix[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] =
                    std::to_string(i + j * 0.5);
    const std::string good = ChainFileText(d);
    std::mt19937 rng(20261209);
    const std::string alphabet("0123456789 \r\n\t.-+eE,x\0\xff", 23);
    int readable = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string text = good;
        const int edits = 1 + static_cast<int>(rng() % 6);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = rng() % (text.size() + 1);
            switch (rng() % 3) {
            case 0:
                text.insert(at, 1, alphabet[rng() % alphabet.size()]);
                break;
            case 1:
                if (at < text.size()) text.erase(at, 1);
                break;
            default:
                if (at < text.size()) text[at] = alphabet[rng() % alphabet.size()];
                break;
            }
        }
        ReadResult r = ParseChainText(text, "fuzz.txt");
        if (!r.ok) continue;
        ++readable;
        // What was read is a complete chain of its size.
        ASSERT_GE(r.chain.n, 1);
        ASSERT_LE(r.chain.n, kMaxStates);
        ASSERT_EQ(r.chain.matrix.size(), static_cast<std::size_t>(r.chain.n));
        for (const auto& row : r.chain.matrix) ASSERT_EQ(row.size(), static_cast<std::size_t>(r.chain.n));
        ASSERT_EQ(r.chain.cost.size(), static_cast<std::size_t>(r.chain.n));
        ValidateChain(r.chain); // must not crash either
    }
    EXPECT_GT(readable, 0);
}

TEST_F(MarkovFileTest, CellsWithBlanksStayOneField) {
    // A cell text with blanks (or an empty one) would shift every later field.
    ChainData d = testing::MakeTextChain(ChainType::Discrete, {{" 0.5", "0. 5"}, {"", "1"}}, {"1 ", "2"});
    ASSERT_TRUE(WriteChainFile(path("b.txt"), d).ok);
    ReadResult r = ReadChainFile(path("b.txt"));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.chain.matrix, (std::vector<std::vector<std::string>>{{"0.5", "0.5"}, {"0", "1"}}));
    EXPECT_EQ(r.chain.cost, (std::vector<std::string>{"1", "2"}));
}

TEST_F(MarkovFileTest, FailedWriteKeepsTheOldFileAndSaysSo) {
    const std::string name = path("keep.txt");
    Put(name, "old contents");
    ::chmod(name.c_str(), 0640);
    ChainData d = MakeChain(ChainType::Discrete, 2);
    // Replacing works and keeps the file's permissions; no temporary is left.
    ASSERT_TRUE(WriteChainFile(name, d).ok);
    EXPECT_EQ(Slurp(name), ChainFileText(d));
    struct stat st {};
    ASSERT_EQ(::stat(name.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);

    if (::geteuid() != 0) {
        // A folder that cannot be written: the old file stays as it was.
        Put(name, "old contents");
        fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
        WriteResult w = WriteChainFile(name, d);
        fs::permissions(dir_, fs::perms::owner_all);
        EXPECT_FALSE(w.ok);
        EXPECT_EQ(w.problem.message, "Cannot write file " + name);
        EXPECT_EQ(Slurp(name), "old contents");
    }
    // A folder that does not exist.
    EXPECT_FALSE(WriteChainFile(path("no/such/folder.txt"), d).ok);
    // A name that is a folder is not replaced.
    fs::create_directories(path("sub"));
    EXPECT_FALSE(WriteChainFile(path("sub"), d).ok);
    EXPECT_TRUE(fs::is_directory(path("sub")));
}

} // namespace
} // namespace tarvik::markov
