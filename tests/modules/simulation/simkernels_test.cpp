#include "common/random.h"
#include "modules/simulation/simkernels.h"
#include "modules/simulation/simreport.h"
#include "simtesting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace tarvik::simulation {
namespace {

using test::RecordingObserver;

using test::RecordingObserver;
using test::StopAtFirstYield;

TEST(SingleKernel, InitialQueueArrivesAtZeroAndAllButOneWait) {
    // Ten customers at time 0, each served 1/99; the first regular arrival at
    // 20 finds the system empty. Stopped from the start: no successors.
    RandSeed = 1;
    SingleSettings s{
        .lambda = 0.05, .mu = 99, .length = 400, .initial = 10, .detArrivals = true, .detService = true};
    StopFlag stop;
    stop.stop = true;
    const Outcome o = RunSingle(s, stop);
    const Station& st = o.station[0];
    EXPECT_FALSE(o.finished);
    EXPECT_EQ(st.customers, 11);
    EXPECT_EQ(st.delayed, 9);
    EXPECT_NEAR(st.totalDelay, 45.0 / 99, 1e-12); // 1 + 2 + ... + 9 services
    EXPECT_NEAR(st.totalSojourn, 45.0 / 99 + 11.0 / 99, 1e-12);
    EXPECT_EQ(o.events, 22u);
    EXPECT_EQ(st.waiting, 0);
    EXPECT_EQ(st.inService, 0);
}

TEST(SingleKernel, DeterministicQueueNeverDelaysAndCountsTheBusyTimeUpToTheLength) {
    SingleSettings s{.lambda = 1, .mu = 1.25, .length = 10000, .detArrivals = true, .detService = true};
    Progress p;
    const Outcome o = RunSingle(s, p);
    ASSERT_TRUE(o.finished);
    EXPECT_EQ(o.station[0].customers, 10000);
    EXPECT_EQ(o.station[0].delayed, 0);
    // Arrivals at 1 .. 10000, each busy 0.8; the last service lies beyond the length.
    EXPECT_NEAR(o.station[0].busyAreaL, 9999 * 0.8, 1e-6);
    EXPECT_NEAR(o.station[0].busyArea, 10000 * 0.8, 1e-6);
    const ResultsText r = SingleResults(s, &o);
    EXPECT_EQ(r.heading, "D/D/1 model");
    EXPECT_EQ(r.values[0][0], "0.7999");
    EXPECT_EQ(r.values[1][0], "0");
    EXPECT_EQ(r.values[4][0], "0.8");
}

TEST(SingleKernel, BusyFractionStaysAtMostOneWhenTheSystemEmptiesAfterTheLength) {
    // Heavy load, short runs: the emptying after the length used to be divided
    // by the length as well.
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        RandSeed = seed;
        SingleSettings s{.lambda = 0.98, .mu = 1, .length = 400};
        Progress p;
        const Outcome o = RunSingle(s, p);
        ASSERT_TRUE(o.finished);
        EXPECT_LE(o.station[0].busyAreaL / s.length, 1.0 + 1e-12) << "seed " << seed;
        EXPECT_LE(o.station[0].busyAreaL, o.station[0].busyArea);
    }
}

TEST(SingleKernel, StopEndsArrivalsEmptiesTheSystemAndLeavesNoFigures) {
    RandSeed = 7;
    SingleSettings s{.lambda = 1, .mu = 1.25, .length = 1000000};
    StopAtFirstYield p;
    const Outcome o = RunSingle(s, p);
    EXPECT_FALSE(o.finished);
    EXPECT_LT(o.events, 200000u);
    EXPECT_EQ(o.station[0].waiting, 0);
    EXPECT_EQ(o.station[0].inService, 0);
    const ResultsText r = SingleResults(s, &o);
    for (const auto& row : r.values) EXPECT_EQ(row[0], "");
}

TEST(SingleKernel, SamplesStartAtZeroAndNeverExceedFourHundred) {
    RandSeed = 3;
    SingleSettings s;
    Progress p;
    RecordingObserver obs;
    RunSingleKernel(s, p, obs);
    ASSERT_EQ(obs.samples.size(), 400u);
    EXPECT_EQ(obs.samples[0].index, 1);
    EXPECT_EQ(obs.samples[0].actual, 0);
    EXPECT_EQ(obs.samples[0].average, 0.0);
    for (std::size_t i = 0; i < obs.samples.size(); ++i) EXPECT_EQ(obs.samples[i].index, int(i) + 1);
}

TEST(SingleKernel, ARunWithFewEventsTakesFewerSamples) {
    RandSeed = 5;
    SingleSettings s{.lambda = 0.02, .mu = 0.1, .length = 400};
    Progress p;
    RecordingObserver obs;
    const Outcome o = RunSingleKernel(s, p, obs);
    EXPECT_LE(obs.samples.size(), o.events + 1);
    EXPECT_LT(obs.samples.size(), 400u);
}

TEST(SingleKernel, ObserverDoesNotChangeTheRun) {
    SingleSettings s{.lambda = 1, .mu = 1.1, .length = 5000, .initial = 3};
    Progress p;
    RandSeed = 99;
    const Outcome bare = RunSingle(s, p);
    RandSeed = 99;
    RecordingObserver obs;
    const Outcome seen = RunSingleKernel(s, p, obs);
    EXPECT_EQ(bare.events, seen.events);
    EXPECT_EQ(bare.station[0].totalSojourn, seen.station[0].totalSojourn);
    EXPECT_EQ(bare.station[0].queueAreaL, seen.station[0].queueAreaL);
}

TEST(GraphScale, FollowsTheLoadAndIsAtLeastOne) {
    EXPECT_EQ(SingleGraphScale({.lambda = 1, .mu = 1.25}), 10);
    EXPECT_EQ(SingleGraphScale({.lambda = 0.98, .mu = 1}), 1);
    EXPECT_EQ(SingleGraphScale({.lambda = 1, .mu = 10}), 100);
    EXPECT_EQ(CompareGraphScale({.lambda = 1, .mu = 1.25}), 10);
    EXPECT_EQ(VaryingLoadGraphScale({.rho1 = 0.9, .rho2 = 0.8}), 5);
    EXPECT_EQ(VaryingLoadGraphScale({.rho1 = 0.5, .rho2 = 0.5}), 30);
    EXPECT_EQ(PoolingGraphScale({.lambda1 = 1, .lambda2 = 0.5, .mu1 = 1.25, .mu2 = 1.25}), 10);
    EXPECT_EQ(TandemGraphScale({.lambda = 1, .mu1 = 2, .mu2 = 1.25}), 10);
    // round(50 x log10(1/0.978)) = round(0.483) would be 0.
    EXPECT_EQ(PriorityGraphScale({.lambda1 = 0.978, .lambda2 = 0.011, .mu1 = 1, .mu2 = 99}), 1);
    EXPECT_EQ(PriorityGraphScale({}), 24); // round(50 x log10(3))
}

TEST(Streams, AreDistinctAndInRange) {
    for (std::uint32_t seed = 0; seed < 500; ++seed) {
        RandSeed = seed;
        const auto s = DrawStreams(3);
        std::set<int> distinct(s.begin(), s.end());
        EXPECT_EQ(distinct.size(), 3u);
        for (int n : s) {
            EXPECT_GE(n, 1);
            EXPECT_LE(n, 100);
        }
    }
}

TEST(Compare, MD1GivesBothQueuesTheSameArrivals) {
    RandSeed = 11;
    CompareSettings s{.deterministicService = true, .length = 20000, .initial = 4};
    Progress p;
    const Outcome o = RunCompare(s, p);
    ASSERT_TRUE(o.finished);
    EXPECT_EQ(o.station[0].customers, o.station[1].customers);
    EXPECT_GT(o.station[0].customers, 19000);
    // Deterministic service: every service is exactly 0.8.
    EXPECT_NEAR(o.station[0].totalSojourn - o.station[0].totalDelay, 0.8 * o.station[0].customers, 1e-6);
}

TEST(Compare, DM1ArrivalsAreOneOverLambdaApartAndServiceTimesAreShared) {
    RandSeed = 12;
    CompareSettings s{.deterministicService = false, .lambda = 0.5, .mu = 1, .length = 10000};
    Progress p;
    const Outcome o = RunCompare(s, p);
    ASSERT_TRUE(o.finished);
    EXPECT_EQ(o.station[0].customers, 5000); // arrivals at 2, 4, ..., 10000
    // The same sequence of service times: the first 5000 of system 2's draws.
    RndReset();
    const double workSystem1 = o.station[0].totalSojourn - o.station[0].totalDelay;
    RndSetSeed(RndGetSeed(o.streams[1]), 101);
    double work = 0;
    for (int i = 0; i < 5000; ++i) work += -std::log(RndUniform(101)) / 1.0;
    EXPECT_NEAR(workSystem1, work, 1e-6 * work);
}

TEST(Compare, InitialQueueArrivesInBothSystems) {
    RandSeed = 13;
    CompareSettings s{.deterministicService = true, .length = 300, .initial = 7};
    StopFlag stop;
    stop.stop = true;
    const Outcome o = RunCompare(s, stop);
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(o.station[k].customers, 8);
        EXPECT_GE(o.station[k].delayed, 6);
    }
}

TEST(VaryingLoad, EqualLoadsGiveIdenticalSystems) {
    RandSeed = 21;
    VaryingLoadSettings s{
        .rho1 = 0.7, .rho2 = 0.7, .rho1Text = "0.7", .rho2Text = "0.7", .length = 5000, .initial = 2};
    Progress p;
    const Outcome o = RunVaryingLoad(s, p);
    const Station &a = o.station[0], &b = o.station[1];
    EXPECT_EQ(a.customers, b.customers);
    EXPECT_EQ(a.delayed, b.delayed);
    EXPECT_EQ(a.totalDelay, b.totalDelay);
    EXPECT_EQ(a.totalSojourn, b.totalSojourn);
    EXPECT_EQ(a.queueAreaL, b.queueAreaL);
    EXPECT_EQ(a.busyAreaL, b.busyAreaL);
    const ResultsText r = VaryingLoadResults(s, &o);
    for (const auto& row : r.values) EXPECT_EQ(row[0], row[1]);
}

TEST(Pooling, PooledCustomersAreTheSeparateOnesWithTheirServiceTimes) {
    RandSeed = 31;
    PoolingSettings s{.lambda1 = 1, .lambda2 = 0.6, .mu1 = 1.25, .mu2 = 1.0, .length = 20000};
    Progress p;
    const Outcome o = RunPooling(s, p);
    ASSERT_TRUE(o.finished);
    EXPECT_EQ(o.pooledCustomers, o.typeCustomers[0] + o.typeCustomers[1]);
    EXPECT_EQ(o.station[2].customers, 0); // pooled count kept apart
    const double separateWork = o.station[0].totalSojourn - o.station[0].totalDelay +
                                o.station[1].totalSojourn - o.station[1].totalDelay;
    const double pooledWork = o.station[2].totalSojourn - o.station[2].totalDelay;
    EXPECT_NEAR(separateWork, pooledWork, 1e-9 * pooledWork);
    // Both servers' busy areas make up the pooled busy area.
    EXPECT_NEAR(o.serverArea[0] + o.serverArea[1], o.station[2].busyArea, 1e-6 * o.station[2].busyArea);
    EXPECT_LT(o.station[2].queueAreaL, o.station[0].queueAreaL + o.station[1].queueAreaL);
}

TEST(Pooling, ATypeWithoutCustomersPrintsNoNan) {
    // λ1 = 0.011 over 225 minutes: often no type-1 customer at all.
    int without = 0;
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
        RandSeed = seed;
        PoolingSettings s{.lambda1 = 0.011, .lambda2 = 0.5, .mu1 = 0.1, .mu2 = 1, .length = 225};
        Progress p;
        const Outcome o = RunPooling(s, p);
        if (o.typeCustomers[0] == 0) ++without;
        const std::string text = ResultsToText(PoolingResults(s, &o));
        EXPECT_EQ(text.find("NAN"), std::string::npos) << text;
        EXPECT_EQ(text.find("INF"), std::string::npos) << text;
    }
    EXPECT_GT(without, 0);
}

TEST(Tandem, StationTwoReceivesEveryCustomerOfStationOne) {
    RandSeed = 41;
    TandemSettings s{.lambda = 1, .mu1 = 1.5, .mu2 = 1.25, .detArrivals = true, .length = 5000};
    Progress p;
    RecordingObserver obs;
    const Outcome o = RunTandemKernel(s, p, obs);
    ASSERT_TRUE(o.finished);
    EXPECT_EQ(o.station[0].customers, 5000);
    EXPECT_EQ(o.station[1].customers, o.station[0].customers);
    EXPECT_LE(obs.panel(0).size(), 225u);
    EXPECT_LE(obs.panel(1).size(), 225u);
}

TEST(Priority, TypeOneWaitsLessAndTypeTwoMoreWithPriority) {
    RandSeed = 51;
    PrioritySettings s{.length = 50000};
    Progress p;
    const Outcome o = RunPriority(s, p);
    ASSERT_TRUE(o.finished);
    const auto& plain = o.types[0];
    const auto& prio = o.types[1];
    EXPECT_EQ(plain[0].customers, prio[0].customers);
    EXPECT_EQ(plain[1].customers, prio[1].customers);
    EXPECT_LT(prio[0].delay / prio[0].customers, plain[0].delay / plain[0].customers);
    EXPECT_GT(prio[1].delay / prio[1].customers, plain[1].delay / plain[1].customers);
    // The same work in both systems.
    EXPECT_NEAR(o.station[0].busyAreaL, o.station[1].busyAreaL, 0.001 * s.length);
}

TEST(Priority, ATypeWithoutCustomersPrintsADash) {
    RandSeed = 2;
    PrioritySettings s{.lambda1 = 0.011, .lambda2 = 1, .mu1 = 1, .mu2 = 3, .length = 225};
    for (std::uint32_t seed = 1; seed < 200; ++seed) {
        RandSeed = seed;
        Progress p;
        const Outcome o = RunPriority(s, p);
        if (o.types[0][0].customers != 0) continue;
        const ResultsText r = PriorityResults(s, &o);
        EXPECT_EQ(r.values[1][0], "-");
        EXPECT_EQ(r.values[1][1], "-");
        EXPECT_EQ(r.values[4][0], "0");
        return;
    }
    FAIL() << "no run without type-1 customers";
}

TEST(PanelSampling, PrioritySamplesOnlyAtTypeOneEventsAndPoolingSumsTheSeparateSystems) {
    RandSeed = 61;
    PoolingSettings s{.length = 2000};
    Progress p;
    RecordingObserver obs;
    RunPoolingKernel(s, p, obs);
    const auto left = obs.panel(0), right = obs.panel(1);
    ASSERT_GT(left.size(), 100u);
    ASSERT_LE(left.size(), 225u);
    ASSERT_LE(right.size(), 225u);
    EXPECT_EQ(left[0].actual, 0);
    EXPECT_EQ(left[0].average, 0.0);
    // Over the whole run the two separate systems together hold more than the pooled one.
    double l = 0, r = 0;
    for (const auto& x : left) l += x.average;
    for (const auto& x : right) r += x.average;
    EXPECT_GT(l, r);

    // Priority: a type-2-only run samples nothing beyond the first sample.
    RandSeed = 62;
    PrioritySettings ps{.lambda1 = 1e-9, .lambda2 = 1, .mu1 = 3, .mu2 = 3, .length = 1000};
    RecordingObserver pobs;
    RunPriorityKernel(ps, p, pobs);
    EXPECT_EQ(pobs.panel(0).size(), 1u);
    EXPECT_EQ(pobs.panel(1).size(), 1u);
}

} // namespace
} // namespace tarvik::simulation

namespace tarvik::simulation {
namespace {

TEST(PanelSampling, EachSystemFeedsItsOwnPanel) {
    // Equal loads: both systems see the same uniforms, so both panels get the
    // same samples; a different second load gives a different right panel only.
    VaryingLoadSettings s{.rho1 = 0.8, .rho2 = 0.8, .length = 3000};
    Progress p;
    RandSeed = 71;
    RecordingObserver same;
    RunVaryingLoadKernel(s, p, same);
    const auto l = same.panel(0), r = same.panel(1);
    ASSERT_EQ(l.size(), 225u);
    ASSERT_EQ(r.size(), 225u);
    for (std::size_t i = 0; i < l.size(); ++i) {
        EXPECT_EQ(l[i].index, int(i) + 1);
        EXPECT_EQ(l[i].actual, r[i].actual);
        EXPECT_EQ(l[i].average, r[i].average);
    }
    s.rho2 = 0.5;
    RandSeed = 71;
    RecordingObserver other;
    RunVaryingLoadKernel(s, p, other);
    const auto l2 = other.panel(0), r2 = other.panel(1);
    for (std::size_t i = 0; i < l.size(); ++i) EXPECT_EQ(l2[i].average, l[i].average);
    double diff = 0;
    for (std::size_t i = 0; i < r2.size() && i < r.size(); ++i)
        diff += std::abs(r2[i].average - r[i].average);
    EXPECT_GT(diff, 1.0);
}

TEST(StreamTable, YieldsTheSharedGeneratorsNumbersAndStoresTheSeedsBack) {
    RndReset();
    RndSetSeed(RndGetSeed(7), 101);
    std::vector<double> local;
    {
        StreamTable t;
        for (int i = 0; i < 5000; ++i) local.push_back(t.uniform(i % 2 ? 7 : 101));
    }
    const std::int32_t after7 = RndGetSeed(7);
    RndReset();
    RndSetSeed(RndGetSeed(7), 101);
    for (int i = 0; i < 5000; ++i)
        ASSERT_EQ(local[static_cast<std::size_t>(i)], RndUniform(i % 2 ? 7 : 101)) << i;
    EXPECT_EQ(RndGetSeed(7), after7);
    // Stream 7 and its copy in slot 101 gave the same numbers.
    EXPECT_EQ(local[0], local[1]);
}

} // namespace
} // namespace tarvik::simulation
