#include "modules/lp/lprun.h"

#include <gtest/gtest.h>

#include <string>

namespace tarvik::lp {
namespace {

std::string SolveText(const std::string& text, bool sensitivity = true) {
    LPProgress progress;
    LPSettings settings;
    settings.sensitivity = sensitivity;
    LPRunResult run = RunLP(text, settings, progress);
    EXPECT_TRUE(run.success) << run.message;
    return run.output;
}

std::string After(const std::string& text, const std::string& marker) {
    std::size_t p = text.find(marker);
    return p == std::string::npos ? std::string() : text.substr(p);
}

TEST(Report, MaxModelWithFullSensitivity) {
    std::string out = SolveText("max 3x1 + 5x2; x1 <= 4; 2x2 <= 12; 3x1 + 2x2 <= 18;\r\n");
    EXPECT_EQ(After(out, "\r\n\r\n\r\n  Summary of Results"),
              "\r\n\r\n\r\n  Summary of Results\r\n"
              "\r\n"
              "  Value Objective Function :         36.0000\r\n"
              "\r\n"
              "  Variable        Activity Level   Reduced Cost\r\n"
              "  --------        --------------   ------------\r\n"
              "  X1         :           2.0000       0.0000\r\n"
              "  X2         :           6.0000       0.0000\r\n"
              "\r\n"
              "\r\n"
              "                  Slack of Surplus  Shadow prices\r\n"
              "                  ----------------  -------------\r\n"
              " Constraint 1           2.0000       0.0000\r\n"
              " Constraint 2           0.0000       1.5000\r\n"
              " Constraint 3           0.0000       1.0000\r\n"
              "\r\n"
              " Objective Coefficient Ranges\r\n"
              "\r\n"
              "                  Current\r\n"
              " Variable         Coefficient   Allowed Interval\r\n"
              " --------         -----------   ----------------\r\n"
              " X1               3.0000        [    0.0000 ,     7.5000 ]\r\n"
              " X2               5.0000        [    2.0000 ,   Infinity ]\r\n"
              "\r\n"
              "\r\n"
              " Right-Hand-Side Ranges\r\n"
              "\r\n"
              "                 Current\r\n"
              " Constraint      RHS           Allowed Interval\r\n"
              " ----------      ---           ----------------\r\n"
              "  1.             4.0000        [    2.0000 ,   Infinity ]\r\n"
              "  2.            12.0000        [    6.0000 ,    18.0000 ]\r\n"
              "  3.            18.0000        [   12.0000 ,    24.0000 ]\r\n");
}

TEST(Report, MinVariantNegatesValueAndShadowPrices) {
    std::string out = SolveText("min -3x1 - 5x2; x1 <= 4; 2x2 <= 12; 3x1 + 2x2 <= 18;\r\n");
    EXPECT_NE(out.find("  Value Objective Function :        -36.0000\r\n"), std::string::npos);
    EXPECT_NE(out.find(" Constraint 2           0.0000      -1.5000\r\n"), std::string::npos);
    EXPECT_NE(out.find(" Constraint 3           0.0000      -1.0000\r\n"), std::string::npos);
    EXPECT_NE(out.find(" X1              -3.0000        [   -7.5000 ,     0.0000 ]"), std::string::npos);
    EXPECT_NE(out.find(" X2              -5.0000        [ -Infinity ,    -2.0000 ]"), std::string::npos);
}

TEST(Report, NonbasicVariableAndSurplusRows) {
    std::string out = SolveText("max 2x + y; x + y >= 1; x + y <= 3;\r\n");
    // y stays nonbasic with reduced cost 1: its interval runs from -Infinity to c + d.
    EXPECT_NE(out.find("  Y          :           0.0000       1.0000\r\n"), std::string::npos) << out;
    EXPECT_NE(out.find(" Y                1.0000        [ -Infinity ,     2.0000 ]"), std::string::npos)
        << out;
    // The ">=" row reports its surplus.
    EXPECT_NE(out.find(" Constraint 1           2.0000       0.0000\r\n"), std::string::npos) << out;
}

TEST(Report, SensitivityOffEndsAfterConstraints) {
    std::string out = SolveText("max 3x1 + 5x2; x1 <= 4; 2x2 <= 12; 3x1 + 2x2 <= 18;\r\n", false);
    EXPECT_EQ(out.find("Objective Coefficient Ranges"), std::string::npos);
    EXPECT_EQ(out.substr(out.size() - 45), " Constraint 3           0.0000       1.0000\r\n");
}

TEST(Report, NegativeRightHandSideIsReportedNormalised) {
    std::string out = SolveText("max x1; x1 >= -2; x1 <= 5;\r\n");
    EXPECT_NE(out.find(" Constraint 1   "), std::string::npos);
    EXPECT_NE(out.find("  1.             2.0000        ["), std::string::npos) << out;
}

TEST(Report, RemovedRowHasNoLines) {
    std::string out = SolveText("max x1; x1 + x2 = 2; 2x1 + 2x2 = 4;\r\n");
    EXPECT_NE(out.find(" Constraint 1 "), std::string::npos);
    EXPECT_EQ(out.find(" Constraint 2 "), std::string::npos);
    EXPECT_EQ(out.find("  2.   "), std::string::npos);
}

TEST(Report, UnboundedSummary) {
    std::string out = SolveText("max x;\r\n");
    EXPECT_EQ(After(out, "  Summary"), "  Summary of Results\r\n\r\n  Unbounded\r\n");
}

TEST(Report, EqualityRowsAndLongNames) {
    std::string out = SolveText("max averyverylongname + b; averyverylongname + b = 3; b <= 1;\r\n");
    EXPECT_NE(out.find("  AVERYVERYL :  "), std::string::npos);
    EXPECT_NE(out.find(" Constraint 1           0.0000       1.0000\r\n"), std::string::npos) << out;
}

} // namespace
} // namespace tarvik::lp
