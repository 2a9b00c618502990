#include "modules/simulation/simkernels.h"

#include <algorithm>
#include <cmath>

namespace tarvik::simulation {

std::array<int, 3> DrawStreams(int count) {
    RndReset();
    std::array<int, 3> s{};
    for (int i = 0; i < count && i < 3; ++i) {
        int n;
        do {
            n = RandomInt(kRndStreams) + 1;
        } while ((i > 0 && n == s[0]) || (i > 1 && n == s[1]));
        s[static_cast<std::size_t>(i)] = n;
    }
    return s;
}

TwoQueueSetup CompareSetup(const CompareSettings& set, std::array<int, 3>& streams) {
    streams = DrawStreams(2);
    const int A = streams[0], B = streams[1];
    TwoQueueSetup t;
    t.length = set.length;
    t.initial = set.initial;
    if (set.deterministicService) {
        RndSetSeed(RndGetSeed(A), 101);
        t.arrival = {Variate{101, set.lambda, false}, Variate{A, set.lambda, false}};
        t.service = {Variate{B, set.mu, true}, Variate{B, set.mu, false}};
    } else {
        RndSetSeed(RndGetSeed(B), 101);
        t.arrival = {Variate{A, set.lambda, true}, Variate{A, set.lambda, false}};
        t.service = {Variate{101, set.mu, false}, Variate{B, set.mu, false}};
    }
    return t;
}

TwoQueueSetup VaryingLoadSetup(const VaryingLoadSettings& set, std::array<int, 3>& streams) {
    streams = DrawStreams(2);
    const int A = streams[0], B = streams[1];
    RndSetSeed(RndGetSeed(A), 101);
    RndSetSeed(RndGetSeed(B), 102);
    TwoQueueSetup t;
    t.length = set.length;
    t.initial = set.initial;
    t.arrival = {Variate{A, set.rho1, false}, Variate{101, set.rho2, false}};
    t.service = {Variate{B, 1, false}, Variate{102, 1, false}};
    return t;
}

Outcome RunSingle(const SingleSettings& set, Progress& progress) {
    NullObserver none;
    return RunSingleKernel(set, progress, none);
}
Outcome RunCompare(const CompareSettings& set, Progress& progress) {
    NullObserver none;
    return RunCompareKernel(set, progress, none);
}
Outcome RunVaryingLoad(const VaryingLoadSettings& set, Progress& progress) {
    NullObserver none;
    return RunVaryingLoadKernel(set, progress, none);
}
Outcome RunPooling(const PoolingSettings& set, Progress& progress) {
    NullObserver none;
    return RunPoolingKernel(set, progress, none);
}
Outcome RunTandem(const TandemSettings& set, Progress& progress) {
    NullObserver none;
    return RunTandemKernel(set, progress, none);
}
Outcome RunPriority(const PrioritySettings& set, Progress& progress) {
    NullObserver none;
    return RunPriorityKernel(set, progress, none);
}

namespace {

// round(factor x log10(ratio)), halves to even, and at least 1 pixel per customer.
int Scale(double factor, double ratio) {
    const double v = std::nearbyint(factor * std::log10(ratio));
    if (!(v >= 1)) return 1;
    return v > 1000 ? 1000 : static_cast<int>(v);
}

} // namespace

int SingleGraphScale(const SingleSettings& set) {
    return Scale(100, set.mu / set.lambda);
}
int CompareGraphScale(const CompareSettings& set) {
    return Scale(100, set.mu / set.lambda);
}
int VaryingLoadGraphScale(const VaryingLoadSettings& set) {
    // The system with the larger arrival rate (system 2 on equal rates); μ = 1.
    return Scale(100, 1 / (set.rho1 > set.rho2 ? set.rho1 : set.rho2));
}
int PoolingGraphScale(const PoolingSettings& set) {
    return Scale(100, std::min(set.mu1 / set.lambda1, set.mu2 / set.lambda2));
}
int TandemGraphScale(const TandemSettings& set) {
    return Scale(100, std::min(set.mu1, set.mu2) / set.lambda);
}
int PriorityGraphScale(const PrioritySettings& set) {
    return Scale(50, std::min(set.mu1 / set.lambda1, set.mu2 / set.lambda2));
}

} // namespace tarvik::simulation
