#pragma once
// The M/D/c queue: Poisson arrivals at rate c * rho, c servers, constant
// service time 1. The numbers present at the epochs 0, 1, 2, ... form a
// Markov chain, solved truncated with a geometric tail.
#include "modules/queue/phasetools.h"
#include "modules/queue/queuemodel.h"

#include <optional>
#include <vector>

namespace tarvik::queue {

struct MDcResult {
    int c = 1;
    double rho = 0, beta = 0;
    std::vector<double> pi; // pi[0..N]; beyond N, pi_N beta^(j-N)
    std::vector<double> f;  // cumulative sums
    GeometricTailDist dist; // the same with its tails summed from the top
    double pwait = 0, ewq = 0, elq = 0, stdwq = 0, stdlq = 0, accuracy = 0;
    double mmcPwait = 0;         // of the M/M/c queue with the same c and rho
    double gamma = 0, delta = 0; // the asymptote gamma e^(-delta t)
    int N() const { return static_cast<int>(pi.size()) - 1; }
    double Wait(double t) const; // P{Wq > t}
    std::optional<double> Percentile(double p) const;
    double Eq(int n) const;
    double Gt(int n) const;
};

bool MDcRhoTooSmall(int c, double rho);
int MDcTruncation(int c, double rho);
MDcResult SolveMDc(int c, double rho);

void RunMDC(const PageInput& input, RunResult& result);

} // namespace tarvik::queue
