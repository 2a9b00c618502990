#include "modules/queue/queuecli.h"

#include "support/clitesting.h"

#include <gtest/gtest.h>

namespace tarvik::queue {
namespace {

using Call = tarvik::test::CliRun;

Call Solve(const std::vector<std::string>& args) {
    return tarvik::test::RunEntry(RunCli, args);
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
    EXPECT_EQ(c.code, 0) << c.err;
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

// The output without its accuracy line, whose last digits are rounding noise.
std::string WithoutAccuracy(const std::string& out) {
    std::string kept;
    std::size_t start = 0;
    while (start < out.size()) {
        const std::size_t end = out.find('\n', start);
        const std::string line = out.substr(start, end - start + 1);
        if (line.rfind("Accuracy Check = ", 0) != 0) kept += line;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return kept;
}

TEST(QueueCli, TwoMomentAndRenewalPages) {
    Call c = Solve({"--queue", "mg1", "--cs2=0.5", "--rho", "0.5", "--output", "wait", "--tvalues", "10,2"});
    EXPECT_EQ(c.code, 0) << c.err;
    EXPECT_EQ(WithoutAccuracy(c.out), "M/G/1 queue (Erlangian services)\n"
                                      "Parameters: CS2=0.5  rho=0.5\n"
                                      "Results: Pwait   = 0.5\n"
                                      "         Pbusy   = 0.5\n"
                                      "         E(Wq)   = 0.75\n"
                                      "         E(Lq)   = 0.375\n"
                                      "         Std(Wq) = 1.25\n"
                                      "         Std(Lq) = 0.875\n"
                                      "\n"
                                      "         t     P{Wq>t}\n"
                                      "         2   0.1310606\n"
                                      "        10   0.0004162\n"
                                      "\n");
    c = Solve({"--queue", "dg1", "--service", "pure-erlang", "--cs2", "2", "--rho", "0.8", "--output",
               "customer-states", "--nvalues", "0,1,3"});
    EXPECT_EQ(c.code, 0) << c.err;
    EXPECT_EQ(WithoutAccuracy(c.out), "D/G/1 queue (Erlangian services)\n"
                                      "Parameters: CS2=0.5  rho=0.8\n"
                                      "Results: Pwait   = 0.547623\n"
                                      "         Pbusy   = 0.8\n"
                                      "         E(Wq)   = 0.75683\n"
                                      "         E(Lq)   = 0.60546\n"
                                      "         Std(Wq) = 1.217\n"
                                      "         Std(Lq) = 1.019\n"
                                      "\n"
                                      "   n  P{L(cust)=n}  P{L(cust)>n)\n"
                                      "   0     0.4523773     0.5476227\n"
                                      "   1     0.3239621     0.2236606\n"
                                      "   3     0.0536498     0.0350805\n"
                                      "\n");
    c = Solve(
        {"--queue", "mdc", "--c", "2", "--rho", "0.7", "--output", "percentiles", "--pvalues", "0.5,0.99"});
    EXPECT_EQ(c.code, 0) << c.err;
    EXPECT_EQ(WithoutAccuracy(c.out), "M/D/c queue\n"
                                      "Parameters: c=2  rho=0.7\n"
                                      "Results: Pwait   = 0.565367\n"
                                      "         Pbusy   = 0.56537\n"
                                      "         E(Wq)   = 0.49361\n"
                                      "         E(Lq)   = 0.69105\n"
                                      "         Std(Wq) = 0.7146\n"
                                      "         Std(Lq) = 1.301\n"
                                      "\n"
                                      "         p  Percentile\n"
                                      "  0.500000    0.166350\n"
                                      "  0.990000     3.13508\n"
                                      "\n");
    c = Solve({"--queue", "gmc", "--arrivals", "det", "--c", "2", "--rho", "0.7"});
    EXPECT_EQ(c.code, 0) << c.err;
    EXPECT_EQ(c.out, "G/M/c queue (Deterministic arrivals)\n"
                     "Parameters: c=2  rho=0.7  CA2=0\n"
                     "Results: Pwait   = 0.347204\n"
                     "         Pbusy   = 0.52044\n"
                     "         E(Wq)   = 0.32571\n"
                     "         E(Lq)   = 0.45599\n"
                     "         Std(Wq) = 0.7106\n"
                     "         Std(Lq) = 1.023\n"
                     "Accuracy Check = 0.00000000\n"
                     "\n");
    c = Solve({"--queue", "dmc", "--c", "2", "--rho", "0.7", "--output", "time-states", "--nvalues", "0,3"});
    EXPECT_EQ(c.code, 0) << c.err;
    EXPECT_EQ(WithoutAccuracy(c.out), "D/M/c queue\n"
                                      "Parameters: c=2  rho=0.7\n"
                                      "Results: Pwait   = 0.347204\n"
                                      "         Pbusy   = 0.52044\n"
                                      "         E(Wq)   = 0.32571\n"
                                      "         E(Lq)   = 0.45599\n"
                                      "         Std(Wq) = 0.7106\n"
                                      "         Std(Lq) = 1.023\n"
                                      "\n"
                                      "   n  P{L(time)=n}  P{L(time)>n}\n"
                                      "   0     0.1204390     0.8795610\n"
                                      "   3     0.1295429     0.1135003\n"
                                      "\n");
    // Choices are checked against the page's own words.
    c = Solve({"--queue", "gmc", "--arrivals", "poisson"});
    EXPECT_EQ(c.code, 2);
    EXPECT_NE(c.err.find("det|erlang|cox-gamma|cox-balanced"), std::string::npos);
    c = Solve({"--queue", "dg1", "--cs2", "0.5", "--rho", "1"});
    EXPECT_EQ(c.code, 2);
    EXPECT_EQ(c.err, "Rho out of bounds\n");
    EXPECT_EQ(c.out, "");
    c = Solve({"--queue", "dmc", "--c", "3", "--rho", "0.8", "--output", "graphs", "--graph",
               "customer-states", "--points"});
    EXPECT_EQ(c.code, 0);
    EXPECT_NE(c.out.find("P(L(cust)>n | L(cust)>0)\n1\t"), std::string::npos);
}

} // namespace
} // namespace tarvik::queue
