#include "modules/queue/queuecli.h"

#include <gtest/gtest.h>
#include <sstream>

namespace tarvik::queue {
namespace {

struct Call {
    int code;
    std::string out, err;
};

Call Solve(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int code = RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

TEST(QueueCli, PrintsTheLogLines) {
    const Call c =
        Solve({"--queue", "mmc", "--c", "1", "--rho=0.5", "--output", "wait", "--tvalues", "1,0,3000"});
    EXPECT_EQ(c.code, 0) << c.err;
    EXPECT_EQ(c.out, "M/M/c queue\n"
                     "Parameters: c=1  rho=0.5\n"
                     "Results: Pwait   = 0.5\n"
                     "         Pbusy   = 0.5\n"
                     "         E(Wq)   = 1\n"
                     "         E(Lq)   = 0.5\n"
                     "         Std(Wq) = 1.732\n"
                     "         Std(Lq) = 1.118\n"
                     "\n"
                     "         t     P{Wq>t}\n"
                     "         0   0.5000000\n"
                     "         1   0.3032653\n"
                     "Accuracy Check =       0\n"
                     "\n");
}

TEST(QueueCli, InputErrorsGoToStandardError) {
    Call c = Solve({"--queue=mmc", "--c", "0", "--rho", "0.5"});
    EXPECT_EQ(c.code, 2);
    EXPECT_EQ(c.err, "c out of range\n");
    EXPECT_EQ(c.out, "");
    c = Solve({"--queue", "mmc", "--c", "3"});
    EXPECT_EQ(c.err, "Rho incorrect\n");
    // The field's filter would change the text: refused, naming the field.
    c = Solve({"--queue", "mmc", "--c", "3", "--rho", "1e-3"});
    EXPECT_EQ(c.code, 2);
    EXPECT_NE(c.err.find("--rho"), std::string::npos);
    c = Solve({"--queue", "mmc", "--c", "-3", "--rho", "0.5"});
    EXPECT_NE(c.err.find("--c"), std::string::npos);
    c = Solve({"--queue", "mmc", "--c", "3", "--rho", "0.5", "--nvalues", "1.5"});
    EXPECT_EQ(c.code, 2);
    c = Solve({"--queue", "mmc", "--c", "3", "--rho", "0.5", "--output", "table"});
    EXPECT_EQ(c.code, 2);
    EXPECT_NE(c.err.find("standard|wait|percentiles|states|graphs"), std::string::npos);
    c = Solve({"--queue", "mmc", "--cs2", "3"});
    EXPECT_EQ(c.code, 2);
    c = Solve({"--queue", "nosuch"});
    EXPECT_EQ(c.code, 2);
    c = Solve({"--queue"});
    EXPECT_EQ(c.code, 2);
    c = Solve({"--queue", "mmc", "--tvalues", "1,2,3,4,5,6,7,8,9,10,11,12,13"});
    EXPECT_EQ(c.code, 2);
}

TEST(QueueCli, GuardAndPagesWithoutAModel) {
    Call c = Solve({"--queue", "mmc", "--c", "2500", "--rho", "0.7"});
    EXPECT_EQ(c.code, 0);
    EXPECT_EQ(c.out, "Rho too small for reliable results.\n\n");
    c = Solve({"--queue", "mg1", "--cs2", "0.5", "--rho", "0.5"});
    EXPECT_EQ(c.code, 2);
    EXPECT_NE(c.err.find("no model"), std::string::npos);
    EXPECT_EQ(c.out, "");
    // Pdelay too small: the notice, and no points even when asked.
    c = Solve({"--queue", "mmc", "--c", "25", "--rho", "0.2", "--output=graphs", "--points"});
    EXPECT_EQ(c.code, 0);
    EXPECT_NE(c.out.find("Pdelay too small for graphs\n\n"), std::string::npos);
    EXPECT_EQ(c.out.find('\t'), std::string::npos);
}

TEST(QueueCli, PointsFollowTheLog) {
    const Call c = Solve({"--queue", "mmc", "--c", "1", "--rho", "0.5", "--output", "graphs", "--points"});
    EXPECT_EQ(c.code, 0);
    const auto wait = c.out.find("P(Wq>t | Wq>0)\n");
    const auto state = c.out.find("P(L>n | L>0)\n");
    ASSERT_NE(wait, std::string::npos);
    ASSERT_NE(state, std::string::npos);
    EXPECT_LT(c.out.find("Accuracy Check"), wait);
    EXPECT_NE(c.out.find("1\t0.5\n"), std::string::npos); // P{L>1}/P{L>0} = rho
    // Without --points only the log.
    const Call plain = Solve({"--queue", "mmc", "--c", "1", "--rho", "0.5", "--output", "graphs"});
    EXPECT_EQ(plain.out.find("P(Wq>t"), std::string::npos);
}

} // namespace
} // namespace tarvik::queue
