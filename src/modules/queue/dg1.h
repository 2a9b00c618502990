#pragma once
// The D/G/1 queue: arrivals every D = 1/rho, a service time of mean 1 fitted
// by its two moments. The Erlang fits are solved through the chain of the
// phases found by an arrival; the Coxian-2 fits through two roots of the
// characteristic equation.
#include "modules/queue/mg1.h"
#include "modules/queue/phasetools.h"
#include "modules/queue/queuemodel.h"
#include "modules/queue/servicefit.h"

#include <optional>
#include <vector>

namespace tarvik::queue {

struct DG1Phase {
    double cs2 = 1, rho = 0;
    ErlangMix fit;
    double beta = 0;
    GeometricTailDist found; // phases found by an arrival
    WaitMoments m;
    double Wait(double t) const;
    std::optional<double> Percentile(double p) const;
    // Pure Erlang (q = 0): the number in system at an arbitrary time and as
    // an arrival finds it.
    double TimeEq(int n) const;
    double TimeGt(int n) const;
    double CustEq(int n) const;
    double CustGt(int n) const;
    double PhasesTimeAbove(long long m) const; // P{more than m phases} at an arbitrary time
};

int DG1Truncation(double cs2, double rho);
// pureK > 0: pure Erlang with that many phases; otherwise the E(k-1,k) fit of cs2.
DG1Phase SolveDG1Phase(double cs2, double rho, int pureK);
// Std(Lq) of pure Erlang services from the time-average distribution.
double DG1PureStdLq(const DG1Phase& s);

struct DG1Coxian {
    double cs2 = 1, rho = 0;
    Coxian2 fit;
    TwoExpWait wait;
    WaitMoments m;
};
DG1Coxian SolveDG1Coxian(double cs2, double rho, ServiceFit kind);

void RunDG1(const PageInput& input, RunResult& result);

} // namespace tarvik::queue
