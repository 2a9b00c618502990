#include "modules/lp/matgen.h"

#include <gtest/gtest.h>

#include <string>

namespace tarvik::lp {
namespace {

class RecordingSink : public ReadSink {
public:
    void line(int n) override { lastLine = n; }
    void variables(int n) override { lastVariables = n; }
    void conditions(int n) override { lastConditions = n; }
    void errorLine(const std::string& s) override { error = s; }
    int lastLine = -1, lastVariables = 0, lastConditions = 0;
    std::string error;
};

LPReadResult Read(const std::string& text) {
    RecordingSink sink;
    return ReadLPModel(text, sink);
}

struct ErrorCase {
    std::string text;
    std::string message;
    std::string at; // the error position is the first occurrence of this text (empty: end of text)
    int nth = 0;    // which occurrence
};

long PositionOf(const ErrorCase& c) {
    if (c.at.empty()) return static_cast<long>(c.text.size()) + 1;
    std::size_t p = c.text.find(c.at);
    for (int i = 0; i < c.nth; ++i) p = c.text.find(c.at, p + 1);
    return static_cast<long>(p) + 1;
}

TEST(ModelReader, SyntaxErrorsCarryMessageAndPosition) {
    const ErrorCase cases[] = {
        {"{ nothing here }\r\n;;\r\n", "MAX or MIN expected", ""},
        {"maxi x;\r\n", "MAX or MIN expected", "m"},
        {"max x1 x2;\r\n", "Number expected", "x2"},
        {"max x1 2x2;\r\n", "+ or - expected", "2x2"},
        {"max 3x + 5;\r\n", "Variable expected", ";"},
        {"max 3x\r\n", "Number expected", ""},
        {"max 3x + 5\r\n", "Variable expected", ""},
        {"max x; x1 < 3;\r\n", "<= expected", "<"},
        {"max x; x1 > 3;\r\n", ">= expected", ">"},
        {"max x; x1\t+ x2 <= 3;\r\n", "Cannot interpret character \t", "\t"},
        {"max .5x;\r\n", "Cannot interpret character .", "."},
        {"max: x;\r\n", "Cannot interpret character :", ":"},
        {"max 1.2.3x;\r\n", "Number 1.2.3 is not correct.", "1.2.3"},
        {"max x + 1.2.3y;\r\n", "Number 1.2.3 is not correct", "+"},
        {"max x; x <= 1.2.3;\r\n", "Number 1.2.3 is not correct.", "1.2.3"},
        {"max x; x <= 3 >= 2;\r\n", "Unknown symbol", ">="},
        {"max x; x + y;\r\n", "Number expected", ";", 1},
        {"max x; {open comment\r\n", "Comment not closed", "{"},
        {"max x; $integer x;\r\n", "Cannot interpret character $", "$"},
        {"$integer x; max x;\r\n", "MAX or MIN expected", "$"},
        {"max x; x * 2 <= 3;\r\n", "Cannot interpret character *", "*"},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.text);
        LPReadResult r = Read(c.text);
        ASSERT_FALSE(r.success);
        EXPECT_EQ(r.message, c.message);
        EXPECT_EQ(r.errorPosition, PositionOf(c));
    }
}

TEST(ModelReader, EmptyInputAndProgressErrorLine) {
    RecordingSink sink;
    LPReadResult r = ReadLPModel("", sink);
    EXPECT_FALSE(r.success);
    EXPECT_EQ(r.message, "No input");
    EXPECT_EQ(sink.error, "Syntax error: No input");
}

TEST(ModelReader, EchoOfTheExampleModelIsExact) {
    LPReadResult r = Read("max 3x1 + 2x2; x1 + x2 <= 4;\r\n");
    ASSERT_TRUE(r.success) << r.message;
    std::string banner = "KORVEN Version 2.1" + std::string(19, ' ');
    ASSERT_EQ(r.echo.compare(0, banner.size(), banner), 0);
    std::size_t firstEnd = r.echo.find("\r\n");
    EXPECT_EQ(r.echo.substr(firstEnd), "\r\n\r\nThe following model was read:\r\n\r\n"
                                       "Objective Function :\r\n"
                                       "   MAX  3.0000 X1 +2.0000 X2 \r\n"
                                       "Subject to :\r\n"
                                       "   1.  1.0000 X1 +1.0000 X2 <=  4.0000 ");
}

TEST(ModelReader, EchoWritesTermsAsReadAndWrapsLongLines) {
    LPReadResult r = Read("min -2.5a + 12b - 12c + x1 + 1 <= ;\r\n");
    ASSERT_FALSE(r.success); // "<=" cannot stand in the objective
    r = Read("min -2.5a + 12b - 12c;\r\n3 <= a + 2;\r\n");
    ASSERT_TRUE(r.success) << r.message;
    EXPECT_NE(r.echo.find("   MIN -2.5000 A +12.0000 B -12.0000 C \r\n"), std::string::npos) << r.echo;
    EXPECT_NE(r.echo.find("   1.  3.0000 <=  1.0000 A +2.0000 "), std::string::npos) << r.echo;

    std::string text = "max x1";
    for (int i = 2; i <= 12; ++i) text += " + 1000x" + std::to_string(i);
    text += ";\r\n";
    r = Read(text);
    ASSERT_TRUE(r.success);
    std::size_t start = r.echo.find("   MAX ");
    std::size_t end = r.echo.find("\r\nSubject to :");
    std::string objective = r.echo.substr(start, end - start);
    // Every line of the objective stays within 76 characters; continuation lines start with six blanks.
    std::size_t pos = 0;
    int lines = 0;
    while (pos != std::string::npos) {
        std::size_t next = objective.find("\r\n", pos);
        std::string line = objective.substr(pos, next == std::string::npos ? std::string::npos : next - pos);
        EXPECT_LE(line.size(), 76u) << line;
        if (lines > 0) {
            EXPECT_EQ(line.substr(0, 6), "      ") << line;
        }
        ++lines;
        pos = next == std::string::npos ? next : next + 2;
    }
    EXPECT_GE(lines, 2);
}

TEST(ModelReader, KeywordsAndNamesIgnoreCase) {
    for (const char* kw : {"MAXIMIZE", "Max", "max", "maximize"}) {
        LPReadResult r = Read(std::string(kw) + " x; X <= 1;\r\n");
        ASSERT_TRUE(r.success) << kw;
        EXPECT_FALSE(r.model.minimize);
        EXPECT_EQ(r.model.n, 2); // one variable and one slack: x and X are the same name
    }
    LPReadResult r = Read("Minimize x;\r\n");
    ASSERT_TRUE(r.success);
    EXPECT_TRUE(r.model.minimize);
    EXPECT_EQ(r.model.cost[1], -1.0);
}

TEST(ModelReader, StoredFormsOfConstantsAndNegativeRightHandSides) {
    // x1 + 2 <= 5 is x1 <= 3 with a slack column.
    LPReadResult r = Read("max x1; x1 + 2 <= 5;\r\n");
    ASSERT_TRUE(r.success);
    EXPECT_EQ(r.model.rhs[1], 3.0);
    EXPECT_EQ(r.model.columns[2].name, "Slack1");
    EXPECT_EQ(r.model.basis[1], 2);
    EXPECT_FALSE(r.model.hasArtificial);

    // 3 <= x1 is x1 >= 3 with a surplus and an artificial column.
    r = Read("max x1; 3 <= x1;\r\n");
    ASSERT_TRUE(r.success);
    EXPECT_EQ(r.model.rhs[1], 3.0);
    EXPECT_EQ(r.model.at(1, 1), 1.0L);
    EXPECT_EQ(r.model.columns[2].name, "Surp.1");
    EXPECT_EQ(r.model.columns[2].kind, ColumnKind::Surplus);
    EXPECT_EQ(r.model.columns[3].name, "Art.1");
    EXPECT_EQ(r.model.at(1, 2), -1.0L);
    EXPECT_EQ(r.model.at(0, 3), -1.0L);
    EXPECT_EQ(r.model.basis[1], 3);
    EXPECT_TRUE(r.model.hasArtificial);

    // x1 >= -2 is -x1 <= 2 with a slack column.
    r = Read("max x1; x1 >= -2;\r\n");
    ASSERT_TRUE(r.success);
    EXPECT_EQ(r.model.rhs[1], 2.0);
    EXPECT_EQ(r.model.at(1, 1), -1.0L);
    EXPECT_EQ(r.model.columns[2].kind, ColumnKind::Slack);

    // An empty side is the constant 1: "<= 5" is 0 <= 4.
    r = Read("max x; <= 5;\r\n");
    ASSERT_TRUE(r.success);
    EXPECT_EQ(r.model.rhs[1], 4.0);
    EXPECT_EQ(r.model.at(1, 1), 0.0L);

    // A lone "+" is the constant 1: x1 + -2x2 <= 5 is x1 - 2x2 <= 4.
    r = Read("max x1; x1 + -2x2 <= 5\r\n"); // the last constraint needs no ";"
    ASSERT_TRUE(r.success) << r.message;
    EXPECT_EQ(r.model.rhs[1], 4.0);
    EXPECT_EQ(r.model.at(1, 2), -2.0L);

    // Zero right-hand sides keep their relation; "=" keeps its relation when negated.
    r = Read("max x; x - y >= 0; x + y = -4;\r\n");
    ASSERT_TRUE(r.success);
    EXPECT_EQ(r.model.columns[3].name, "Surp.1");
    EXPECT_EQ(r.model.rhs[2], 4.0);
    EXPECT_EQ(r.model.at(2, 1), -1.0L);
    EXPECT_EQ(r.model.columns[r.model.basis[2]].name, "Art.2");
}

TEST(ModelReader, NumbersSignsAndNames) {
    LPReadResult r = Read("max +.5x + 2.y - z + 2e3x;\r\n");
    ASSERT_TRUE(r.success) << r.message;
    EXPECT_EQ(r.model.cost[1], 0.5);
    EXPECT_EQ(r.model.cost[2], 2.0);
    EXPECT_EQ(r.model.cost[3], -1.0);
    EXPECT_EQ(r.model.columns[4].name, "E3X"); // no exponents
    EXPECT_EQ(r.model.cost[4], 2.0);

    // Repeated names add up; a zero sum keeps the variable.
    r = Read("max x + x - 2x + y;\r\n");
    ASSERT_TRUE(r.success);
    EXPECT_EQ(r.model.cost[1], 0.0);
    EXPECT_EQ(r.model.n, 2);

    // A comment may stand anywhere a token may begin, ";" included.
    r = Read("{a;b} max {c} x {d;} + {e}\r\n y; {f} x {g} <= {h} 4 {i};\r\n");
    ASSERT_TRUE(r.success) << r.message;
    EXPECT_EQ(r.model.m, 1);
}

TEST(ModelReader, ColumnsFollowCreationOrder) {
    LPReadResult r = Read("max a; a <= 1; a >= 1; b = 2;\r\n");
    ASSERT_TRUE(r.success);
    const char* names[] = {"A", "Slack1", "Surp.2", "Art.2", "B", "Art.3", "RHS"};
    ASSERT_EQ(r.model.n, 6);
    for (int j = 1; j <= 7; ++j) EXPECT_EQ(r.model.columns[j].name, names[j - 1]) << j;
    EXPECT_EQ(r.model.columns[4].constraint, 2);
}

TEST(ModelReader, MaxOnlyModelHasNoRows) {
    LPReadResult r = Read("max x;\r\n");
    ASSERT_TRUE(r.success);
    EXPECT_EQ(r.model.m, 0);
}

TEST(ModelReader, LimitsOfTheTableau) {
    std::string text = "max x;\r\n";
    for (int i = 0; i < 999; ++i) text += "x <= 1;\r\n";
    LPReadResult r = Read(text);
    ASSERT_TRUE(r.success) << r.message; // 999 rows, 1000 columns
    EXPECT_EQ(r.model.n, 1000);
    r = Read(text + "x <= 2;\r\n");
    EXPECT_FALSE(r.success);
    EXPECT_EQ(r.message, "Problem too large"); // column 1001

    // Every constraint makes a column, so the 1000th constraint already needs column 1001.
    std::string rows = "max x;\r\n";
    for (int i = 0; i < 999; ++i) rows += "<= 1;\r\n";
    r = Read(rows + "<= 1;\r\n");
    EXPECT_FALSE(r.success);
    EXPECT_EQ(r.message, "Problem too large");
    EXPECT_EQ(r.errorPosition, static_cast<long>(rows.size()) + 5); // the ";" that completes it
}

TEST(ModelReader, ProgressCountsLinesVariablesAndConditions) {
    RecordingSink sink;
    LPReadResult r = ReadLPModel("max x + y;\r\nx <= 1;\r\ny <= 2;\r\n", sink);
    ASSERT_TRUE(r.success);
    // Lines count from 1: after three line breaks the reader stands on line 4.
    EXPECT_EQ(sink.lastLine, 4);
    // A syntax error shows the line it is on, as the command line reports it.
    RecordingSink failing;
    EXPECT_FALSE(ReadLPModel("max x;\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\nx < 3;\r\n", failing).success);
    EXPECT_EQ(failing.lastLine, 9);
    EXPECT_EQ(sink.lastVariables, 2);
    EXPECT_EQ(sink.lastConditions, 2);
    EXPECT_TRUE(sink.error.empty());
}

TEST(ModelReader, OverflowingNumbersAreErrors) {
    std::string big(400, '9');
    LPReadResult r = Read("max " + big + "x;\r\n");
    EXPECT_FALSE(r.success);
    EXPECT_EQ(r.message, "Number " + big + " is not correct.");
    // A long fraction is fine.
    r = Read("max 0." + big + "x;\r\n");
    ASSERT_TRUE(r.success);
    EXPECT_DOUBLE_EQ(r.model.cost[1], 1.0);
}

// Numbers the engines could not tell from their infinities are refused where
// they stand: as typed, as sums, as a variable's bound and times that bound.
TEST(ModelReader, NumbersBeyondWhatTheEnginesTellFromInfinityAreRefused) {
    struct LimitCase {
        Dialect dialect;
        ErrorCase error; // an empty message: the text is read
    };
    const LimitCase cases[] = {
        {Dialect::LP,
         {"max x1 + x2; x1 + x2 <= 10000000000;\r\n", "Number 10000000000 is too large (at most 100000000).",
          "1000"}},
        {Dialect::IP,
         {"max x1 + x2; x1 + x2 <= 10000000000000; $integer x1;\r\n",
          "Number 10000000000000 is too large (at most 100000000).", "1000"}},
        {Dialect::IP,
         {"max x1; x1 <= 2000000000000; $integer x1;\r\n",
          "Number 2000000000000 is too large (at most 100000000).", "2000"}},
        {Dialect::LP,
         {"max 5x + 60000000y + 60000000y;\r\n", "Number 120000000 is too large (at most 100000000).", "+",
          1}},
        // A bound rhs / a beyond the value limit: the right-hand side is to blame.
        {Dialect::LP,
         {"max x; 0.001x <= 100000000;\r\n", "Number 100000000 is too large (at most 1000000).", "1000"}},
        // A coefficient times the bound of its variable.
        {Dialect::LP,
         {"max x; x <= 100000000; 20x - y >= 0;\r\n", "Number 20 is too large (at most 10).", "20x"}},
        // The objective of an integer model: its terms times their bounds add up.
        {Dialect::IP,
         {"max 600 x + 600 y; x + y <= 100000000; $integer x;\r\n", "Number 600 is too large (at most 400).",
          "+"}},
        {Dialect::IP, {"min 3x; x <= 3; $binary x;\r\n", "", ""}},
        {Dialect::LP, {"max 1000x; x <= 100000000; 10x - y >= 0;\r\n", "", ""}},
        {Dialect::IP, {"max 1000 x; x <= 100000000; $integer x;\r\n", "", ""}},
        // A byte-order mark is no part of the model.
        {Dialect::LP, {"\xEF\xBB\xBFmax x; x <= 1;\r\n", "", ""}},
        {Dialect::IP, {"\xEF\xBB\xBF\xEF\xBB\xBFmax x; x <= 1;\r\n", "MAX or MIN expected", "\xEF", 1}},
    };
    for (const LimitCase& c : cases) {
        SCOPED_TRACE(c.error.text);
        RecordingSink sink;
        ReadOutcome r = ReadModelText(c.error.text, c.dialect, sink);
        if (c.error.message.empty()) {
            EXPECT_TRUE(r.success) << r.message;
            continue;
        }
        ASSERT_FALSE(r.success);
        EXPECT_EQ(r.message, c.error.message);
        EXPECT_EQ(r.errorPosition, PositionOf(c.error));
    }
}

TEST(ModelReader, EchoNumbersRoundLikeTheFixedFormat) {
    EXPECT_EQ(EchoNumber(1), " 1.0000");
    EXPECT_EQ(EchoNumber(-2.5), "-2.5000");
    EXPECT_EQ(EchoNumber(12), "12.0000");
    EXPECT_EQ(EchoNumber(-12), "-12.0000");
    EXPECT_EQ(EchoNumber(0.00005), " 0.0001");
    EXPECT_EQ(EchoNumber(-0.00004), " 0.0000");
    EXPECT_EQ(EchoNumber(2.71828), " 2.7183");
    EXPECT_EQ(EchoNumber(1e300).substr(0, 4), "1000");
}

} // namespace
} // namespace tarvik::lp
