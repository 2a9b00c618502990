// Long fixed-seed runs against queueing theory. The tolerance of a time
// average over a run of length T is a few standard deviations of the M/M/1
// queue length average, 2ρ(1+ρ) / (μ(1-ρ)^4 T) in variance (the heavier of the
// systems compared, so a conservative bound for the others).
#include "common/random.h"
#include "modules/simulation/simkernels.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tarvik::simulation {
namespace {

constexpr double kLength = 1000000;

double Tolerance(double rho, double mu, double length = kLength) {
    return 5 * std::sqrt(2 * rho * (1 + rho) / (mu * std::pow(1 - rho, 4) * length));
}

double Lq(const Station& s, double L = kLength) {
    return s.queueAreaL / L;
}
double Ls(const Station& s, double L = kLength) {
    return (s.queueAreaL + s.busyAreaL) / L;
}

TEST(Oracle, SingleServerMatchesMM1) {
    RandSeed = 20261209;
    Progress p;
    const Outcome o = RunSingle({.lambda = 1, .mu = 1.25, .length = kLength}, p);
    const double rho = 0.8, tol = Tolerance(rho, 1.25);
    EXPECT_NEAR(o.station[0].busyAreaL / kLength, rho, 0.01);
    EXPECT_NEAR(Ls(o.station[0]), rho / (1 - rho), tol);
    EXPECT_NEAR(Lq(o.station[0]), rho * rho / (1 - rho), tol);
    // Little: delay per customer = Lq / λ.
    EXPECT_NEAR(o.station[0].totalDelay / o.station[0].customers, rho * rho / (1 - rho), tol);
    EXPECT_NEAR(double(o.station[0].delayed) / o.station[0].customers, rho, 0.01);
}

TEST(Oracle, MD1AgainstMM1FollowsPollaczekKhinchine) {
    RandSeed = 4242;
    Progress p;
    const Outcome o = RunCompare({.deterministicService = true, .length = kLength}, p);
    const double rho = 0.8, tol = Tolerance(rho, 1.25);
    EXPECT_NEAR(Lq(o.station[0]), rho * rho / (2 * (1 - rho)), tol); // 1.6
    EXPECT_NEAR(Lq(o.station[1]), rho * rho / (1 - rho), tol);       // 3.2
}

TEST(Oracle, DM1FollowsItsRootEquation) {
    RandSeed = 777;
    Progress p;
    const double lambda = 1, mu = 1.25;
    const Outcome o =
        RunCompare({.deterministicService = false, .lambda = lambda, .mu = mu, .length = kLength}, p);
    // σ = exp(-μ(1 - σ)/λ), the smallest root in (0, 1), by fixed-point iteration.
    double sigma = 0.5;
    for (int i = 0; i < 2000; ++i) sigma = std::exp(-mu * (1 - sigma) / lambda);
    const double wq = sigma / (mu * (1 - sigma));
    const double tol = Tolerance(0.8, mu);
    EXPECT_NEAR(o.station[0].totalDelay / o.station[0].customers, wq, tol);
    EXPECT_NEAR(Lq(o.station[0]), lambda * wq, tol);
    EXPECT_NEAR(double(o.station[0].delayed) / o.station[0].customers, sigma, 0.01);
    EXPECT_NEAR(Lq(o.station[1]), 3.2, tol);
}

TEST(Oracle, VaryingLoadMatchesMM1AtEachLoad) {
    RandSeed = 31337;
    Progress p;
    const Outcome o = RunVaryingLoad({.rho1 = 0.5, .rho2 = 0.8, .length = kLength}, p);
    EXPECT_NEAR(Ls(o.station[0]), 1.0, Tolerance(0.5, 1));
    EXPECT_NEAR(Ls(o.station[1]), 4.0, Tolerance(0.8, 1));
}

TEST(Oracle, PooledSystemMatchesErlangC) {
    RandSeed = 2718;
    Progress p;
    const double lambda = 2, mu = 1.25, a = lambda / mu, rho = a / 2;
    const Outcome o = RunPooling({.length = kLength}, p);
    // Erlang C for two servers.
    const double c = (a * a / 2 / (1 - rho)) / (1 + a + a * a / 2 / (1 - rho));
    const double lq = c * rho / (1 - rho);
    const double tol = Tolerance(rho, mu);
    const Station& pooled = o.station[2];
    EXPECT_NEAR(Lq(pooled), lq, tol);
    EXPECT_NEAR(double(pooled.delayed) / o.pooledCustomers, c, 0.01);
    EXPECT_NEAR(pooled.totalDelay / o.pooledCustomers, lq / lambda, tol);
    EXPECT_NEAR(o.serverAreaL[0] / kLength, rho, 0.01);
    EXPECT_NEAR(o.serverAreaL[1] / kLength, rho, 0.01);
    // The separate systems are two M/M/1 queues.
    EXPECT_NEAR(Lq(o.station[0]) + Lq(o.station[1]), 6.4, 2 * tol);
}

TEST(Oracle, TandemSecondStationIsMM1ByBurke) {
    RandSeed = 1618;
    Progress p;
    const Outcome o = RunTandem({.lambda = 1, .mu1 = 1.25, .mu2 = 2, .length = kLength}, p);
    EXPECT_NEAR(Ls(o.station[0]), 4.0, Tolerance(0.8, 1.25));
    EXPECT_NEAR(Ls(o.station[1]), 1.0, Tolerance(0.5, 2));
    EXPECT_NEAR(o.station[1].totalSojourn / o.station[1].customers, 1 / (2.0 - 1), Tolerance(0.5, 2));
}

TEST(Oracle, PriorityQueueFollowsCobham) {
    RandSeed = 1414;
    Progress p;
    const double l1 = 1, l2 = 1, mu = 3;
    const Outcome o = RunPriority({.length = kLength}, p);
    const double r1 = l1 / mu, r2 = l2 / mu;
    const double w0 = l1 / (mu * mu) + l2 / (mu * mu); // Σ λ E[S²] / 2
    const double wq1 = w0 / (1 - r1);
    const double wq2 = w0 / ((1 - r1) * (1 - r1 - r2));
    const double fifo = (r1 + r2) / (mu - l1 - l2); // M/M/1 delay
    const double tol = Tolerance(r1 + r2, mu) / (l1 + l2) * 2;
    const auto& prio = o.types[1];
    const auto& plain = o.types[0];
    EXPECT_NEAR(prio[0].delay / prio[0].customers, wq1, tol);
    EXPECT_NEAR(prio[1].delay / prio[1].customers, wq2, tol);
    EXPECT_NEAR(plain[0].delay / plain[0].customers, fifo, tol);
    EXPECT_NEAR(plain[1].delay / plain[1].customers, fifo, tol);
    EXPECT_NEAR(o.station[0].busyAreaL / kLength, r1 + r2, 0.01);
}

} // namespace
} // namespace tarvik::simulation
