// Model texts that try to break the reader: none may crash, hang or read
// outside the text, and every failure points inside the text.
#include "modules/ip/mipmatgen.h"
#include "modules/lp/lprun.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <string>

namespace tarvik::lp {
namespace {

void ExpectSane(const std::string& text) {
    LPProgress progress;
    LPRunResult run = RunLP(text, {}, progress);
    if (!run.success) {
        EXPECT_GE(run.errorPosition, 1);
        EXPECT_LE(run.errorPosition, static_cast<long>(text.size()) + 1);
        EXPECT_EQ(run.message.rfind("Syntax error: ", 0), 0u);
    }
    ReadSink sink;
    ip::MIPReadResult ipRead = ip::ReadMIPModel(text, sink);
    if (!ipRead.success) {
        EXPECT_GE(ipRead.errorPosition, 1);
        EXPECT_LE(ipRead.errorPosition, static_cast<long>(text.size()) + 1);
    }
}

TEST(HostileText, DegenerateInputs) {
    ExpectSane("");
    ExpectSane(std::string(1 << 20, 'x'));
    ExpectSane("max " + std::string(1 << 20, 'x') + ";");
    ExpectSane("max x; x <= " + std::string(400, '9') + ";");
    ExpectSane(std::string("max x;\0 x <= 1;", 15));
    ExpectSane("max x; x <= 1; \xC3\xA9\xFF;");
    ExpectSane("max x; {");
    ExpectSane("max x;" + std::string(10000, ';'));
    ExpectSane(std::string(10000, ';'));
    ExpectSane("max x; x <= 1;\r");
    ExpectSane("max +");
    ExpectSane("max -");
    ExpectSane("max x; x <=");
    ExpectSane("max x; $");
    ExpectSane("max x; x <= 1; $integer");
    ExpectSane("max x; x <= 1; $binary a, b,, c");
    ExpectSane("max x; x <= 1; $binary a {");
}

TEST(HostileText, OverflowIsAnErrorNotInfinity) {
    LPProgress progress;
    LPRunResult run = RunLP("max x; x <= 1" + std::string(400, '0') + ";\r\n", {}, progress);
    EXPECT_FALSE(run.success);
    EXPECT_EQ(run.message, "Syntax error: Number 1" + std::string(400, '0') + " is not correct.");
}

TEST(HostileText, SumsBeyondTheLimitAreErrorsAtTheTermThatGoesOver) {
    // Each number alone is within the limit of both readers; their sum is not.
    const std::string big = "60000000";
    LPProgress progress;
    struct Case {
        std::string text;
        std::string lastGoodPrefix; // the error lies at the last sign of this text
    };
    const Case cases[] = {
        {"max x; x <= " + big + " + " + big + ";\r\n", "max x; x <= " + big + " + "},
        {"max x+y; " + big + "x+" + big + "x+y <= 2; y <= 1;\r\n", "max x+y; " + big + "x+"},
        {"max " + big + "x+" + big + "x; x <= 1;\r\n", "max " + big + "x+"},
    };
    for (const Case& c : cases) {
        ReadSink sink;
        ip::MIPReadResult ipRead = ip::ReadMIPModel(c.text, sink);
        EXPECT_FALSE(ipRead.success);
        EXPECT_EQ(ipRead.message, "Number 120000000 is too large (at most 100000000).");
        EXPECT_EQ(ipRead.errorPosition, static_cast<long>(c.lastGoodPrefix.rfind('+')) + 1);
    }
    // Sums back within the limit are read as they are.
    LPRunResult fine = RunLP("max x; x <= 60000000 + 60000000 - 60000000 + 1;\r\n", {}, progress);
    EXPECT_TRUE(fine.success) << fine.message;
}

TEST(HostileText, ControlCharactersAreShownAsCodesInTheMessage) {
    LPProgress progress;
    LPRunResult run = RunLP(std::string("max x;\0 x <= 1;", 15), {}, progress);
    ASSERT_FALSE(run.success);
    EXPECT_EQ(run.message, "Syntax error: Cannot interpret character \\x00");
    run = RunLP("max x; x <= 1; \x01;", {}, progress);
    EXPECT_EQ(run.message, "Syntax error: Cannot interpret character \\x01");
}

TEST(HostileText, RandomMutationsOfAModel) {
    const std::string base = "max 3x1 + 2x2 {c}; x1 + x2 <= 4; 3 <= x1 + 3x2; x1 = 3;\r\n$integer x1;\r\n";
    const std::string alphabet = "+-.;{}<>=$,xX19 \r\n\t\0";
    std::mt19937 gen(12345);
    for (int round = 0; round < 3000; ++round) {
        std::string text = base;
        int edits = 1 + static_cast<int>(gen() % 4);
        for (int e = 0; e < edits; ++e) {
            std::size_t at = gen() % (text.size() + 1);
            char c = alphabet[gen() % alphabet.size()];
            switch (gen() % 3) {
            case 0:
                text.insert(text.begin() + static_cast<std::ptrdiff_t>(at), c);
                break;
            case 1:
                if (at < text.size()) text.erase(at, 1);
                break;
            default:
                if (at < text.size()) text[at] = c;
                break;
            }
        }
        SCOPED_TRACE(text);
        ExpectSane(text);
    }
}

} // namespace
} // namespace tarvik::lp

namespace tarvik::lp {
namespace {

TEST(HostileText, ExtremeButFiniteNumbersNeverPrintNanOrInf) {
    // The largest number the LP reader takes; tiny numbers have no limit.
    const std::string big = "100000000";
    const std::string tiny = "0." + std::string(299, '0') + "1";
    const std::string models[] = {
        "max " + big + "x + " + big + "y; " + tiny + "x + y <= " + big + "; x <= " + big + ";",
        "max x + y; " + tiny + "x + " + tiny + "y <= " + big + "; x - y <= 1;",
        "min " + big + "x; x >= " + big + "; x <= " + big + ";",
        "max " + tiny + "x; " + big + "x <= " + tiny + ";",
        "max " + big + "x+" + big + "y; " + big + "x+" + tiny + "y<=" + big + "; " + tiny + "x+" + big +
            "y <= " + big + ";",
        "max x; " + big + "x - " + big + "y = 0; y <= " + big + ";",
    };
    // "Infinity" is the text of an unbounded range; a bare nan or inf is a fault.
    const std::regex value("(^|[^A-Za-z])(nan|inf)([^A-Za-z]|$)", std::regex::icase);
    for (const std::string& m : models) {
        LPSettings settings;
        settings.output = OutputMode::All;
        LPProgress progress;
        LPRunResult run = RunLP(m + "\r\n", settings, progress);
        // A model whose values could reach the engine's infinity is refused instead.
        if (!run.success) {
            EXPECT_NE(run.message.find(" is too large (at most "), std::string::npos) << run.message;
            continue;
        }
        EXPECT_FALSE(std::regex_search(run.output, value)) << run.output.substr(0, 2000);
    }
}

} // namespace
} // namespace tarvik::lp
