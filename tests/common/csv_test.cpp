#include "common/csv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarvik {
namespace {

// An RFC 4180 reader written for the test: records of fields, quoted fields
// may hold commas, doubled quotes and line ends.
std::vector<std::vector<std::string>> ReadCsv(const std::string& text) {
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> record;
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            record.push_back(field);
            field.clear();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            record.push_back(field);
            field.clear();
            records.push_back(record);
            record.clear();
            ++i;
        } else {
            field += c;
        }
    }
    EXPECT_TRUE(field.empty() && record.empty()) << "last record not ended by CR LF";
    return records;
}

TEST(Csv, FieldsAreQuotedOnlyWhenTheyMustBe) {
    EXPECT_EQ(CsvField("0.12345678"), "0.12345678");
    EXPECT_EQ(CsvField("P(X<=x)"), "P(X<=x)");
    EXPECT_EQ(CsvField("1,234"), "\"1,234\"");
    EXPECT_EQ(CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(CsvField("two\nlines"), "\"two\nlines\"");
    EXPECT_EQ(CsvField(" padded"), "\" padded\"");
    EXPECT_EQ(CsvRecord({"a", "", "b,c"}), "a,,\"b,c\"\r\n");
}

TEST(Csv, AwkwardFieldsReadBackUnchanged) {
    const std::vector<std::vector<std::string>> table = {{"x", "P(X<=x)", "note"},
                                                         {"1", "0.5", "a, b"},
                                                         {"-Infinite", "1.0E-12", "\"quoted\""},
                                                         {"", " ", "x\r\ny"}};
    std::string csv;
    for (const auto& row : table) csv += CsvRecord(row);
    EXPECT_EQ(ReadCsv(csv), table);
}

TEST(Csv, TablesAreFoundUnderTheirRuleAndEndAtTheFirstOtherLine) {
    const std::string report = "Tables and graphs\n"
                               "____________\n"
                               "Binominal distribution\n"
                               "\n"
                               "Parameters\n"
                               "n =    10\n"
                               "\n"
                               " x          P(X=x)      P(X<=x)     P(X>x)\n"
                               "----------------------------------------------\n"
                               " 4          0.20507813  0.37695313  0.62304688\n"
                               " 5          0.24609375  0.62304688  0.37695313\n"
                               "\n"
                               " z          P(Z<=z)     P(Z>z)\r\n"
                               "----------------------------------\r\n"
                               " 1.96       0.97500211  0.02499789\r\n"
                               "-Infinite   0           1\r\n"
                               "a line that is no row at all\n"
                               " 2          0.9         0.1\n";
    const std::vector<TextTable> tables = FindTextTables(report);
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_EQ(tables[0].columns, (std::vector<std::string>{"x", "P(X=x)", "P(X<=x)", "P(X>x)"}));
    ASSERT_EQ(tables[0].rows.size(), 2u);
    EXPECT_EQ(tables[0].rows[1], (std::vector<std::string>{"5", "0.24609375", "0.62304688", "0.37695313"}));
    EXPECT_EQ(tables[1].columns, (std::vector<std::string>{"z", "P(Z<=z)", "P(Z>z)"}));
    ASSERT_EQ(tables[1].rows.size(), 2u);
    EXPECT_EQ(tables[1].rows[1][0], "-Infinite");

    // The CSV reads back to the printed cells, titles first.
    const auto records = ReadCsv(TextTableCsv(tables[0]));
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0], tables[0].columns);
    EXPECT_EQ(records[1], tables[0].rows[0]);

    // Titles without a rule over rows of numbers (a queue report's tables).
    const std::vector<TextTable> queue = FindTextTables("Results: Pwait   = 0.40918\n"
                                                        "\n"
                                                        "   n      P{L=n}      P{L>n}\n"
                                                        "   0   0.0002766   0.9997234\n"
                                                        "  10   0.0818360   0.3273441\n"
                                                        "Accuracy Check = 6.66e-16\n"
                                                        "           p  Percentile\n"
                                                        "  0.500000   undefined\n"
                                                        "  0.900000    0.704493\n");
    ASSERT_EQ(queue.size(), 2u);
    EXPECT_EQ(queue[0].columns, (std::vector<std::string>{"n", "P{L=n}", "P{L>n}"}));
    ASSERT_EQ(queue[0].rows.size(), 2u);
    EXPECT_EQ(queue[0].rows[1], (std::vector<std::string>{"10", "0.0818360", "0.3273441"}));
    EXPECT_EQ(queue[1].rows[0], (std::vector<std::string>{"0.500000", "undefined"}));
    // Two lines of words are no table.
    EXPECT_TRUE(FindTextTables("Tables and graphs\nMake your choice now\n").empty());

    // A rule without a title line above it, or without rows, is no table.
    EXPECT_TRUE(FindTextTables("----------\n1 2 3\n").empty());
    EXPECT_TRUE(FindTextTables("a b\n-----\n\n").empty());
    EXPECT_TRUE(FindTextTables("").empty());
}

TEST(Csv, TablesSetOutInColumnsKeepCellsOfSeveralWords) {
    // An LP output: titles over dash runs, "name :" cells, an untitled first column, ranges.
    const std::vector<TextTable> lp =
        FindTextTables("  Variable        Activity Level   Reduced Cost\r\n"
                       "  --------        --------------   ------------\r\n"
                       "  x2         :            6.000       -1.500\r\n\r\n"
                       "                  Slack of Surplus  Shadow prices\r\n"
                       "                  ----------------  -------------\r\n"
                       " Constraint 1            2.000        0.000\r\n\r\n"
                       "                  Current\r\n"
                       " Variable         Coefficient   Allowed Interval\r\n"
                       " --------         -----------   ----------------\r\n"
                       " x1                  3.000        [     0.000 ,   Infinity ]\r\n");
    ASSERT_EQ(lp.size(), 3u);
    EXPECT_EQ(lp[0].columns, (std::vector<std::string>{"Variable", "Activity Level", "Reduced Cost"}));
    EXPECT_EQ(lp[1].columns, (std::vector<std::string>{"", "Slack of Surplus", "Shadow prices"}));
    EXPECT_EQ(lp[1].rows[0], (std::vector<std::string>{"Constraint 1", "2.000", "0.000"}));
    EXPECT_EQ(lp[2].columns,
              (std::vector<std::string>{"Variable", "Current Coefficient", "Allowed Interval"}));
    EXPECT_EQ(lp[2].rows[0], (std::vector<std::string>{"x1", "3.000", "[ 0.000 , Infinity ]"}));
    // Titles over columns of mostly numbers (Kelly's horses; lotto counts after a blank line).
    const std::vector<TextTable> kl =
        FindTextTables("Horse     Profit Prob. pay-off        Own fraction    Fraction Kelly\n"
                       "Horse  1    0.500          2.00           0.10000         0.00000\n"
                       "Horse  2    0.300         12.00           0.05000         0.24000\n\n"
                       "Number Count    Number Count     Number Count\n\n"
                       " 7     25       12     24        3     23       \n"
                       " 1     20       \n");
    ASSERT_EQ(kl.size(), 2u);
    EXPECT_EQ(kl[0].columns, (std::vector<std::string>{"Horse", "Profit Prob.", "pay-off", "Own fraction",
                                                       "Fraction Kelly"}));
    EXPECT_EQ(kl[0].rows[1], (std::vector<std::string>{"Horse 2", "0.300", "12.00", "0.05000", "0.24000"}));
    EXPECT_EQ(kl[1].rows, (std::vector<std::vector<std::string>>{{"7", "25", "12", "24", "3", "23"},
                                                                 {"1", "20", "", "", "", ""}}));
}

} // namespace
} // namespace tarvik
