#pragma once
// Queues with c exponential servers (mean service time 1) and renewal
// arrivals at rate c * rho: G/M/c with a two-moment fit of the interarrival
// time and D/M/c with constant interarrival times in full.
#include "modules/queue/queuemodel.h"

#include <optional>
#include <vector>

namespace tarvik::queue {

// What both models share: the geometric ratio sigma of the number found by an
// arrival from c - 1 on, the probability X of finding exactly c - 1, Pwait.
struct RenewalMc {
    int c = 1;
    double rho = 0;
    double sigma = 0, x = 0, pwait = 0, pbusy = 0;
    double ewq = 0, elq = 0, stdwq = 0, stdlq = 0;
    double Wait(double t) const; // P{Wq > t}
    std::optional<double> Percentile(double p) const;
};
// Fills the moments from sigma, X and Pwait.
void FinishRenewal(RenewalMc& r);

enum class ArrivalKind { Deterministic, Erlang, CoxGamma, CoxBalanced };

struct GMcResult {
    RenewalMc r;
    std::optional<double> accuracy; // empty: the fixed line
};

// Reliability guard of G/M/c: true when rho is too small.
bool GMcRhoTooSmall(ArrivalKind kind, double ca2, int c, double rho);
GMcResult SolveGMc(ArrivalKind kind, double ca2, int c, double rho);

struct DMcResult {
    RenewalMc r;
    std::vector<double> y;                  // y_j = pi_j / pi_{c-1}, j = 0..c-2
    double balanceCheck = 0;                // |y_{c-2} - (1 - R(c-1)) / B(c-2, c-1)|
    std::vector<double> timeF, custF;       // cumulative probabilities below c
    std::vector<double> timeTail, custTail; // P{L > n} below c, summed from the top
    double timeCheck = 0;                   // signed: mean busy servers minus c rho
    double TimeEq(int n) const;
    double TimeGt(int n) const;
    double CustEq(int n) const;
    double CustGt(int n) const;
};

bool DMcRhoTooSmall(int c, double rho);
DMcResult SolveDMc(int c, double rho);

void RunGMC(const PageInput& input, RunResult& result);
void RunDMC(const PageInput& input, RunResult& result);

} // namespace tarvik::queue
