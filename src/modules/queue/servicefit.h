#pragma once
#include "modules/queue/lngamma.h"
// Two-moment fits of a distribution with mean 1 and squared coefficient of
// variation cs2: a mixture of two Erlang distributions E(k-1,k) and a
// two-phase Coxian distribution (by gamma normalisation or balanced means).
// The M/G/1, D/G/1 and G/M/c models share them.

namespace tarvik::queue {

// With probability q, k - 1 phases of rate mu, otherwise k phases.
struct ErlangMix {
    int k = 1;
    double q = 0;
    double mu = 1;
};

// Phase 1 of rate mu1, then with probability b phase 2 of rate mu2.
struct Coxian2 {
    double mu1 = 1, mu2 = 1, b = 0;
};

// k = trunc(1/cs2 - eps) + 1 phases (0 < cs2 <= 1).
ErlangMix FitErlangMix(double cs2, double eps = 1e-12);
// cs2 >= 0.5.
Coxian2 FitCoxianGamma(double cs2);
Coxian2 FitCoxianBalanced(double cs2);

// E(S^3) of the fits (mean 1), used for the second moment of waiting times.
double ThirdMoment(const ErlangMix& f);
double ThirdMoment(const Coxian2& f);

} // namespace tarvik::queue
