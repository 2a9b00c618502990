#include "modules/ip/mircuts.h"

#include <gtest/gtest.h>

#include <string>

namespace tarvik::ip {
namespace {

class Quiet : public MIPProgress {};

// Three periods of a product made in lots (x, set-up y, stock s) and a
// single-node flow set (x1 and x4 into a demand of 8).
constexpr const char* kLots = "min 2 s1 + 2 s2 + 3 x1 + 3 x2 + 3 x3 + x4 + 40 y1 + 40 y2 + 40 y3 + 30 y4;\r\n"
                              "x1 - s1 = 6;\r\n"
                              "s1 + x2 - s2 = 7;\r\n"
                              "s2 + x3 = 5;\r\n"
                              "x1 - 18 y1 <= 0;\r\n"
                              "x2 - 18 y2 <= 0;\r\n"
                              "x3 - 18 y3 <= 0;\r\n"
                              "x4 - 9 y4 <= 0;\r\n"
                              "x1 + x4 >= 8;\r\n"
                              "$binary y1, y2, y3, y4;\r\n";

int Index(const MIPModel& model, const std::string& name) {
    for (int j = 1; j <= model.n; ++j)
        if (model.names[j] == name) return j;
    ADD_FAILURE() << name;
    return 1;
}

// Every cut holds at every integer point (the binaries enumerated, the
// largest left-hand side over the flows found by the relaxation), and cuts
// off the relaxation's optimum.
TEST(MirCuts, LotSizingCutsAreValidAndCutOffTheRelaxation) {
    ReadSink sink;
    const MIPReadResult read = ReadMIPModel(kLots, sink);
    ASSERT_TRUE(read.success) << read.message;
    const MIPModel& model = read.model;
    Quiet quiet;
    Relaxation lp(model);
    ASSERT_EQ(lp.solve(quiet), kOptimal);
    const MirSeparator separator(model);
    // x3 <= 18 y3 is tightened to x3 <= 5 y3 by the last period's demand.
    EXPECT_EQ(separator.vubVariable(Index(model, "X3")), Index(model, "Y3"));
    EXPECT_DOUBLE_EQ(separator.vubCoefficient(Index(model, "X3")), 5.0);
    const std::vector<CutRow> cuts = separator.cuts(lp.values(), 20);
    ASSERT_FALSE(cuts.empty());
    const int binaries[] = {Index(model, "Y1"), Index(model, "Y2"), Index(model, "Y3"), Index(model, "Y4")};
    for (const CutRow& cut : cuts) {
        const double sign = cut.sense == kLessEqual ? 1 : -1; // sign * lhs <= sign * rhs
        double atOptimum = 0;
        for (const auto& [j, a] : cut.terms) atOptimum += a * lp.value(j);
        EXPECT_GT(sign * (atOptimum - cut.rhs), 1e-6);
        MIPModel largest = model;
        std::fill(largest.cost.begin(), largest.cost.end(), 0.0);
        for (const auto& [j, a] : cut.terms) largest.cost[j] = sign * a;
        for (int mask = 0; mask < 16; ++mask) {
            Relaxation fixed(largest);
            for (int b = 0; b < 4; ++b) fixed.setBounds(binaries[b], (mask >> b) & 1, (mask >> b) & 1);
            const int status = fixed.solve(quiet);
            ASSERT_NE(status, kUnbounded);
            if (status == kInfeasible) continue;
            ASSERT_EQ(status, kOptimal);
            EXPECT_LE(fixed.objective(), sign * cut.rhs + 1e-6) << "set-ups " << mask;
        }
    }
}

} // namespace
} // namespace tarvik::ip
