#include "modules/ip/mipmatgen.h"

#include <gtest/gtest.h>

#include <string>

namespace tarvik::ip {
namespace {

MIPReadResult Read(const std::string& text) {
    ReadSink sink;
    return ReadMIPModel(text, sink);
}

TEST(MipReader, DeclarationsMarkIntegerAndBinaryVariables) {
    MIPReadResult r = Read("max 2x1 + 3x2 + y; x1 + x2 + y <= 5; $integer x1, x2; $binary y;\r\n");
    ASSERT_TRUE(r.success) << r.message;
    const MIPModel& m = r.model;
    ASSERT_EQ(m.n, 3);
    EXPECT_EQ(m.names[3], "Y");
    EXPECT_TRUE(m.integer[1] && m.integer[2] && m.integer[3]);
    EXPECT_EQ(m.upper[1], -1);
    EXPECT_EQ(m.upper[2], -1);
    EXPECT_EQ(m.upper[3], 1);
    EXPECT_EQ(m.cost[2], 3);
}

TEST(MipReader, DeclarationsCreateVariablesAndKeepBounds) {
    MIPReadResult r = Read("min x; x >= 1; $binary z; $integer z 2a\r\n");
    ASSERT_TRUE(r.success) << r.message;
    const MIPModel& m = r.model;
    ASSERT_EQ(m.n, 3);
    EXPECT_EQ(m.names[2], "Z");
    EXPECT_EQ(m.upper[2], 1);    // a later $INTEGER keeps the bound
    EXPECT_EQ(m.names[3], "2A"); // a name no expression can use
    EXPECT_TRUE(m.integer[3]);
    EXPECT_EQ(m.cost[1], -1);
    EXPECT_FALSE(m.integer[1]);
}

TEST(MipReader, SparseRowsInVariableOrder) {
    MIPReadResult r = Read("max a + b + c; c + a - a + 2b <= 4; 3 <= b; -c = -2;\r\n");
    ASSERT_TRUE(r.success) << r.message;
    const MIPModel& m = r.model;
    ASSERT_EQ(m.m, 3);
    // Row 1: a cancels out and is not stored; b and c in variable order.
    ASSERT_EQ(m.rowStart[2] - m.rowStart[1], 2);
    EXPECT_EQ(m.variable[m.rowStart[1]], 2);
    EXPECT_EQ(m.value[m.rowStart[1]], 2);
    EXPECT_EQ(m.variable[m.rowStart[1] + 1], 3);
    EXPECT_EQ(m.sense[1], kLessEqual);
    EXPECT_EQ(m.sense[2], kGreaterEqual);
    EXPECT_EQ(m.rhs[2], 3);
    EXPECT_EQ(m.sense[3], kEqual);
    EXPECT_EQ(m.rhs[3], 2);
    EXPECT_EQ(m.value[m.rowStart[3]], 1);
    EXPECT_EQ(m.rowStart[4], 4); // the end mark
}

TEST(MipReader, MessagesOfTheIntegerReader) {
    struct Case {
        std::string text, message;
    } cases[] = {
        {"max x;\r\n", "No conditions stated."},
        {"max x; x <= 1; $int x;\r\n", "Unknown $-option"},
        {"max x; x <= 1; $integer x : y;\r\n", "More variables as possible."},
        {"max x; x <= 1; $integer x {c};\r\n", "More variables as possible."},
        {"max x {c\r\n", "Comments is not closed"},
        {"max x + 1.2.3y; x <= 1;\r\n", "Number 1.2.3 is not correct."},
        {"max x $integer y; x <= 1;\r\n", "Number expected"},
        {"max $integer y; x <= 1;\r\n", "Number expected"},
        {"$integer x; max x; x <= 1;\r\n", "MAX or MIN expected"},
    };
    for (const Case& c : cases) {
        MIPReadResult r = Read(c.text);
        EXPECT_FALSE(r.success) << c.text;
        EXPECT_EQ(r.message, c.message) << c.text;
    }
}

TEST(MipReader, Limits) {
    std::string objective = "max x1";
    for (int i = 2; i <= 500; ++i) objective += " + x" + std::to_string(i);
    MIPReadResult r = Read(objective + "; x1 <= 1;\r\n");
    ASSERT_TRUE(r.success) << r.message;
    r = Read(objective + " + x501; x1 <= 1;\r\n");
    EXPECT_EQ(r.message, "Te veel variabelen");
    r = Read(objective + "; x501 <= 1;\r\n");
    EXPECT_EQ(r.message, "Too many variables");
    r = Read(objective + "; x1 <= 1; $integer x501;\r\n");
    EXPECT_EQ(r.message, "More variables as possible.");

    std::string rows = "max x;\r\n";
    for (int i = 0; i < 500; ++i) rows += "x <= 1;\r\n";
    r = Read(rows);
    ASSERT_TRUE(r.success);
    r = Read(rows + "x <= 2;\r\n");
    EXPECT_EQ(r.message, "More conditions then allowed");

    // 999 nonzeros fit, the 1000th does not.
    std::string dense = "max x1;\r\n";
    for (int row = 0; row < 3; ++row) {
        dense += "x1";
        for (int i = 2; i <= 333; ++i) dense += " + x" + std::to_string(i);
        dense += " <= 1;\r\n";
    }
    r = Read(dense);
    ASSERT_TRUE(r.success) << r.message;
    r = Read(dense + "x1 <= 1;\r\n");
    EXPECT_EQ(r.message, "Matrix is too large");
}

TEST(MipReader, NamesKeepEightyCharacters) {
    std::string longName(100, 'a');
    MIPReadResult r = Read("max " + longName + "; " + std::string(80, 'a') + "b <= 1;\r\n");
    ASSERT_TRUE(r.success);
    EXPECT_EQ(r.model.n, 1); // both names cut to the same 80 characters
    EXPECT_EQ(r.model.names[1], std::string(80, 'A'));
}

TEST(MipReader, EchoBannerAndDeclarations) {
    MIPReadResult r = Read("max x; x <= 1; $integer x, y;\r\n$binary z\r\n");
    ASSERT_TRUE(r.success);
    EXPECT_EQ(r.echo.compare(0, 34, "KORVEN Version 2.1" + std::string(16, ' ')), 0);
    EXPECT_NE(r.echo.find("Objective Function:\r\n   MAX  1.0000 X \r\nSubject to :"), std::string::npos);
    EXPECT_NE(r.echo.find("\r\n$INTEGER   X, Y\r\n\r\n$BINARY    Z"), std::string::npos) << r.echo;
    EXPECT_EQ(r.echo.substr(r.echo.size() - 2), " Z");

    std::string many = "max x; x <= 1; $integer";
    for (int i = 0; i < 12; ++i) many += " abcdefghij" + std::to_string(i);
    many += ";\r\n";
    r = Read(many);
    ASSERT_TRUE(r.success);
    EXPECT_NE(r.echo.find(", ABCDEFGHIJ\r\n         ABCDEFGHIJ"), std::string::npos) << r.echo;
}

} // namespace
} // namespace tarvik::ip
