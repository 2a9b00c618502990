#pragma once
// Queues with c servers and room for N waiting customers: M/M/c/c+N (exact
// birth-death), M/D/c/c+N (an approximation) and D/M/c/c+N (exact, through the
// chain of the numbers found by arrivals). Service times have mean 1 and
// rho = lambda / c. Also the graphs of the M/M/c/c+N queue over a range of c
// or N.
#include "modules/queue/queuemodel.h"
#include "modules/queue/uniformresidual.h"

#include <memory>

#include <vector>

namespace tarvik::queue {

enum class FinCapType { MMCN, MDCN, DMCN };

struct FinCapSolution {
    FinCapType type = FinCapType::MMCN;
    int c = 1, n = 0;
    double rho = 0;
    // The main distribution on 0..c + N: the time average (M/M/c/c+N,
    // M/D/c/c+N) or what arrivals find (D/M/c/c+N).
    std::vector<double> p;
    // The time average (the same as p except for D/M/c/c+N).
    std::vector<double> timeAverage;
    double accuracy = 0;
    // M/D/c/c+N: the uniform residual service times behind c busy servers.
    std::shared_ptr<const UniformResidual> residual;

    int Last() const { return c + n; }
};

struct FinCapMeasures {
    double prej = 0, pwait = 0, pbusy = 0, ewq = 0, elq = 0, stdwq = 0, stdlq = 0, utilization = 0;
};

// True when rho is too small for reliable results with c servers.
bool FinCapRhoTooSmall(FinCapType type, int c, double rho);

// The state probabilities with every waiting place kept. D/M/c/c+N throws
// Breakdown when its linear system is singular.
FinCapSolution SolveMMCN(int c, double rho, int n);
FinCapSolution SolveMDCN(int c, double rho, int n);
FinCapSolution SolveDMCN(int c, double rho, int n);
FinCapSolution SolveFinCap(FinCapType type, int c, double rho, int n);

FinCapMeasures FinCapResults(const FinCapSolution& s);
// P{Wq > t} of an admitted customer.
double FinCapWaitTail(const FinCapSolution& s, double t);

// The Poisson(a) distribution function at 0..count-1, built term by term and
// frozen once it exceeds 0.999999999.
std::vector<double> PoissonCdfTerms(double a, int count);

// Page runs: "Finite Capacity" and the "M/M/c/c+N" graphs.
void RunFinCap(const PageInput& input, RunResult& result);
void RunMMCNGraph(const PageInput& input, RunResult& result);

} // namespace tarvik::queue
