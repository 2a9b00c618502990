#include "modules/shortestpath/gridfile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>

namespace tarvik::shortestpath {
namespace {

const char* const kTwoByThree = "# a small network\n"
                                "rows 2\n"
                                "columns 3\n"
                                "up\n"
                                "1 2 3 4   # y = 1\n"
                                "5 6 7 8\n"
                                "\n"
                                "right\n"
                                "9 10 11\n"
                                "12 13 14\r\n"
                                "0 100 15\n";

TEST(NetworkFile, ReadsTheTopLineFirstAndLeavesTheRestOfTheTableZero) {
    const NetworkRead r = ParseNetworkText(kTwoByThree, "net.txt");
    ASSERT_EQ(r.status, NetworkRead::Status::Ok) << r.message;
    const Network& n = r.network;
    EXPECT_EQ(n.rows, 2);
    EXPECT_EQ(n.columns, 3);
    EXPECT_EQ(n.U(0, 1), 1);
    EXPECT_EQ(n.U(3, 1), 4);
    EXPECT_EQ(n.U(0, 0), 5);
    EXPECT_EQ(n.U(3, 0), 8);
    EXPECT_EQ(n.Rt(0, 2), 9);
    EXPECT_EQ(n.Rt(2, 1), 14);
    EXPECT_EQ(n.Rt(0, 0), 0);
    EXPECT_EQ(n.Rt(1, 0), 100);
    EXPECT_EQ(n.U(0, 2), 0);
    EXPECT_EQ(n.Rt(3, 0), 0);
    EXPECT_EQ(ParseNetworkText(NetworkText(n), "again").network.up, n.up);
}

TEST(NetworkFile, AnyLineEndAndAByteOrderMarkReadTheSame) {
    const NetworkRead lf = ParseNetworkText(kTwoByThree, "net.txt");
    std::string cr = kTwoByThree, crlf;
    for (char& c : cr)
        if (c == '\n') c = '\r';
    for (char c : std::string(kTwoByThree)) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    for (const std::string& text : {cr, "\xEF\xBB\xBF" + crlf}) {
        const NetworkRead r = ParseNetworkText(text, "net.txt");
        ASSERT_EQ(r.status, NetworkRead::Status::Ok) << r.message;
        EXPECT_EQ(r.network.up, lf.network.up);
        EXPECT_EQ(r.network.right, lf.network.right);
    }
    // Line numbers count CR line ends too.
    const NetworkRead bad = ParseNetworkText("rows 2\rcolumns 3\rup\r1 2\r", "cr.txt");
    EXPECT_EQ(bad.message.substr(0, 9), "cr.txt:4:");
}

TEST(NetworkFile, WritesWhatItReads) {
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> len(0, 100);
    for (int rows = 1; rows <= 10; rows += 3)
        for (int columns = 1; columns <= 10; columns += 2) {
            Network n;
            n.rows = rows;
            n.columns = columns;
            n.up = {};
            n.right = {};
            for (int x = 0; x <= columns; ++x)
                for (int y = 0; y <= rows; ++y) {
                    if (y < rows) n.up[x][y] = len(rng);
                    if (x < columns) n.right[x][y] = len(rng);
                }
            const NetworkRead r = ParseNetworkText(NetworkText(n), "n");
            ASSERT_EQ(r.status, NetworkRead::Status::Ok) << r.message;
            EXPECT_EQ(r.network.up, n.up);
            EXPECT_EQ(r.network.right, n.right);
        }
}

TEST(NetworkFile, ABadLineIsNamedWithItsNumberAndWhatIsWrong) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"rows 0\n", "f.txt:1: the number of rows must be a whole number from 1 to 10, not \"0\""},
        {"rows 11\n", "f.txt:1: the number of rows must be a whole number from 1 to 10, not \"11\""},
        {"\n\nrows 2 3\n", "f.txt:3: expected \"rows N\" with one number"},
        {"columns 2\n", "f.txt:1: expected \"rows N\", found \"columns\""},
        {"rows 1\ncolumns x\n",
         "f.txt:2: the number of columns must be a whole number from 1 to 10, not \"x\""},
        {"rows 1\ncolumns 1\nright\n", "f.txt:3: expected the line \"up\", found \"right\""},
        {"rows 1\ncolumns 1\nup\n1\n", "f.txt:4: expected 2 up lengths U(0, 0) .. U(1, 0), found 1 words"},
        {"rows 1\ncolumns 1\nup\n1 101\n",
         "f.txt:4: a length must be a whole number from 0 to 100, not \"101\""},
        {"rows 1\ncolumns 1\nup\n1 -1\n",
         "f.txt:4: a length must be a whole number from 0 to 100, not \"-1\""},
        {"rows 1\ncolumns 1\nup\n1 2.5\n",
         "f.txt:4: a length must be a whole number from 0 to 100, not \"2.5\""},
        {"rows 1\ncolumns 1\nup\n1 2\nright\n3\n",
         "f.txt:7: the file ends where a line of right lengths Rt(0, 0) .. Rt(0, 0) should follow"},
        {"rows 1\ncolumns 1\nup\n1 2\nright\n3\n4\n5\n",
         "f.txt:8: text after the last line of right lengths"},
        {"", "f.txt:1: the file ends where \"rows N\" should follow"},
    };
    for (const Case& c : cases) {
        const NetworkRead r = ParseNetworkText(c.text, "f.txt");
        EXPECT_EQ(r.status, NetworkRead::Status::Invalid) << c.text;
        EXPECT_EQ(r.message, c.message);
    }
}

TEST(NetworkFile, RefusesWhatIsNotARegularFileAndOversizedFiles) {
    EXPECT_EQ(ReadNetworkFile("/nonexistent/net.txt").status, NetworkRead::Status::Unreadable);
    EXPECT_EQ(ReadNetworkFile("/nonexistent/net.txt").message, "Cannot read file /nonexistent/net.txt");
    EXPECT_EQ(ReadNetworkFile("/tmp").status, NetworkRead::Status::Unreadable);

    const auto path = std::filesystem::temp_directory_path() / ("big-net-" + std::to_string(::getpid()));
    {
        std::ofstream out(path, std::ios::binary);
        out << kTwoByThree;
        out << std::string(kMaxNetworkFileBytes, '#');
    }
    const NetworkRead big = ReadNetworkFile(path.string());
    EXPECT_EQ(big.status, NetworkRead::Status::Invalid);
    EXPECT_NE(big.message.find("larger than any network file"), std::string::npos);
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << kTwoByThree;
    }
    EXPECT_EQ(ReadNetworkFile(path.string()).status, NetworkRead::Status::Ok);
    std::filesystem::remove(path);
}

} // namespace
} // namespace tarvik::shortestpath
