// tarvik-solve --queue for the finite-capacity, M/M/c/c+N graph,
// finite-source and transient M/M/1 pages.
#include "modules/queue/queuecli.h"

#include "support/clitesting.h"

#include <gtest/gtest.h>

namespace tarvik::queue {
namespace {

using Call = tarvik::test::CliRun;

Call Solve(const std::vector<std::string>& args) {
    return tarvik::test::RunEntry(RunCli, args);
}

TEST(FiniteQueueCli, FiniteCapacityReport) {
    // M/M/1 with two waiting places: p = (8, 4, 2, 1) / 15; a customer who
    // finds one (two) present waits one (two) exponential services.
    const Call c = Solve({"--queue", "fincap", "--type", "mmcn", "--c", "1", "--rho", "0.5", "--n", "2",
                          "--output", "wait", "--tvalues", "2.5,0,1"});
    EXPECT_EQ(c.code, 0) << c.err;
    EXPECT_EQ(c.out, "M/M/c/c+N queue\n"
                     "Parameters: c=1  rho=0.5  N=2\n"
                     "Results :       Prej        = 0.0666667\n"
                     "                Pwait       = 0.4285714\n"
                     "                Pbusy       = 0.4666667\n"
                     "                E(Wq)       = 0.57143\n"
                     "                E(Lq)       = 0.26667\n"
                     "                Std(Wq)     = 1.05\n"
                     "                Std(Lq)     = 0.5735\n"
                     "                Utilization = 0.4667\n"
                     "\n"
                     "         t     P{Wq>t}\n"
                     "         0   0.4285714\n"
                     "         1   0.2102168\n"
                     "       2.5   0.0644954\n"
                     "Accuracy Check = 1.11e-16\n"
                     "\n");
    const Call d = Solve({"--queue", "fincap", "--type", "mdcn", "--c", "1", "--rho", "0.5", "--n", "5"});
    EXPECT_NE(d.out.find("Approximations: Prej        = 0.0006182\n"), std::string::npos);
    const Call e = Solve({"--queue", "fincap", "--type", "dmcn", "--c", "2", "--rho", "0.8", "--n", "501"});
    EXPECT_EQ(e.code, 2);
    EXPECT_EQ(e.err, "0 <= N <= 500 required\n");
    EXPECT_EQ(e.out, "");
}

TEST(FiniteQueueCli, GraphPagesPrintTheirSeries) {
    // N = 0: the Erlang loss values 2/3, 2/5 and 4/19.
    Call c = Solve({"--queue", "mmcn", "--lambda", "2", "--es", "1", "--vary", "c", "--n", "0", "--from", "1",
                    "--to", "3", "--points"});
    EXPECT_EQ(c.code, 0) << c.err;
    EXPECT_EQ(c.out, "Prej\n1\t0.66666666666666663\n2\t0.40000000000000002\n3\t0.21052631578947367\n");
    c = Solve({"--queue", "mmcn", "--lambda", "2", "--es", "1", "--vary", "c", "--n", "0", "--from", "3",
               "--to", "1"});
    EXPECT_EQ(c.err, "Upper bound should be greater than lower bound\n");
    c = Solve({"--queue", "mm1", "--rho", "0.5", "--i", "2", "--j", "0", "--output", "p-graph", "--t", "4",
               "--points"});
    EXPECT_EQ(c.code, 0) << c.err;
    EXPECT_EQ(c.out.rfind("p{i,j,t}\n0\t", 0), 0u);
    EXPECT_EQ(std::count(c.out.begin(), c.out.end(), '\n'), 202);
    c = Solve({"--queue", "mm1", "--rho", "0.995", "--i", "0", "--j", "0"});
    EXPECT_EQ(c.err, "rho out of bounds\n");
}

TEST(FiniteQueueCli, MachineRepairAndTransientTables) {
    Call c = Solve({"--queue", "finsrc", "--service", "det", "--c", "1", "--m", "5", "--nu", "0.1",
                    "--output", "wait", "--tvalues", "0,1"});
    EXPECT_EQ(c.code, 0) << c.err;
    EXPECT_EQ(c.out, "Finite-source queue (deterministic services)\n"
                     "Parameters: c=1  M=5  nu=0.1\n"
                     "Approximations: Pwait       = 0.3738209\n"
                     "                Pbusy       = 0.4439791\n"
                     "                E(Wq)       = 0.26179\n"
                     "                E(Lq)       = 0.11623\n"
                     "                Std(Wq)     = 0.462\n"
                     "                Std(Lq)     = 0.3644\n"
                     "                Utilization = 0.444\n"
                     "                Throughput  = 0.444\n"
                     "\n"
                     "         t     P{Wq>t}\n"
                     "         0   0.3738209\n"
                     "         1   0.0658505\n"
                     "Accuracy Check = 1.67e-16\n"
                     "\n");
    c = Solve({"--queue", "mm1", "--rho", "0.5", "--i", "0", "--j", "0", "--tvalues", "0,1"});
    EXPECT_EQ(c.code, 0) << c.err;
    EXPECT_EQ(c.out, "Transient M/M/1 queue\n"
                     "Parameters: rho=0.5  i=0  j=0\n"
                     "\n"
                     "\n"
                     "     t p(i,j,t) P(i,j,t) ELq(i,t)Std Lq(i,t)\n"
                     "0.0000 1.000000 1.000000  0.00000   0.0000\n"
                     " 1.000 0.726255 0.726255  0.06100   0.2764\n"
                     "\n");
}

} // namespace
} // namespace tarvik::queue
