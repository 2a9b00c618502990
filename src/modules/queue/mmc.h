#pragma once
// The M/M/c queue: exact steady-state results, tables and the two logarithmic
// graphs. Time in units of the mean service time, lambda = c * rho.
#include "modules/queue/queuemodel.h"

#include <vector>

namespace tarvik::queue {

struct MMCResults {
    double pwait = 0, pbusy = 0, ewq = 0, elq = 0, stdwq = 0, stdlq = 0;
    double p = 0;          // probability of c - 1 customers
    double pwaitAlt = 0;   // Pwait summed in logarithms, for the accuracy check
    std::vector<double> f; // F[i] = P{L <= i}, i < c
    double accuracy = 0;   // D1 + D2
};

// Reliability guard: true when rho is too small for c.
bool MMCRhoTooSmall(int c, double rho);
// The computation itself (c in 1..2500, rho in (0, 1)).
MMCResults SolveMMC(int c, double rho);
// P{L = n} and P{L > n} for any n >= 0.
double MMCProbability(const MMCResults& r, int c, double rho, int n);
double MMCTail(const MMCResults& r, int c, double rho, int n);

// The page's Run: fields "c" and "rho", choice "output", the value lists.
void RunMMC(const PageInput& input, RunResult& result);

} // namespace tarvik::queue
