#pragma once
// The finite-source (machine repair) queue: M machines, each failing at rate
// nu while it works, and c repairmen with repair times of mean 1, exponential
// (exact birth-death) or constant (an approximation). The state is the number
// of failed machines.
#include "modules/queue/queuemodel.h"

#include <vector>

namespace tarvik::queue {

struct FinSrcSolution {
    bool deterministic = false;
    int c = 1, m = 1, s = 1; // s = min(c, M), the repairmen that can be busy
    double nu = 0;
    // Deterministic repairs too heavily loaded for the approximation: the
    // measures hold limiting values and p, q are not reported.
    bool overloaded = false;
    std::vector<double> p; // time average, 0..M (values <= 1e-15 set to 0)
    std::vector<double> q; // what a failing machine finds
    double lambda = 0, pwait = 0, pbusy = 0, utilization = 0, throughput = 0;
    double elq = 0, ewq = 0, stdlq = 0, stdwq = 0;
    double accuracy = 0;
};

// The exact time-average probabilities with exponential repairs.
std::vector<double> MachineRepairExponential(int s, int m, double nu);
FinSrcSolution SolveFinSrc(bool deterministic, int c, int m, double nu);
// P{Wq > t} of a failing machine.
double FinSrcWaitTail(const FinSrcSolution& s, double t);

void RunFinSrc(const PageInput& input, RunResult& result);

} // namespace tarvik::queue
