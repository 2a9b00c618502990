#pragma once
// The M/G/1 queue with the service time replaced by a two-moment fit: the
// phase method for the Erlang mixture and the two-root method for the
// Coxian-2 fits. Time in units of the mean service time, lambda = rho.
#include "modules/queue/phasetools.h"
#include "modules/queue/queuemodel.h"
#include "modules/queue/servicefit.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tarvik::queue {

enum class ServiceFit { Erlang, CoxGamma, CoxBalanced };

struct WaitMoments {
    double pwait = 0, ewq = 0, elq = 0, stdwq = 0, stdlq = 0, accuracy = 0;
};

struct MG1Erlang {
    double cs2 = 1, rho = 0;
    ErlangMix fit;
    double tau = 0;           // ratio of the geometric tail of the phases
    GeometricTailDist phases; // phases present at an arbitrary time
    WaitMoments m;
};

MG1Erlang SolveMG1Erlang(double cs2, double rho);
double MG1ErlangWait(const MG1Erlang& s, double t);
// Empty: undefined.
std::optional<double> MG1ErlangPercentile(const MG1Erlang& s, double p);

// Number in system for the Erlang mixture: p_0..p_M and the geometric ratio.
struct MG1States {
    std::vector<double> p; // p[0..M]
    std::vector<double> f; // cumulative
    double ratio = 0;
    double accuracyTerm = 0; // signed: mean number from the table minus E(L)
    double Eq(int n) const;
    double Gt(int n) const;
};
MG1States MG1ErlangStates(const MG1Erlang& s);

// Two-exponential waiting time of the Coxian-2 fits (also D/G/1).
struct TwoExpWait {
    double a1 = 0, a2 = 0, A1 = 0, A2 = 0;
    double operator()(double t) const;
};
// The Coxian-2 fit of kind `kind` (gamma or balanced) to cs2.
Coxian2 CoxianFit(ServiceFit kind, double cs2);
// The wait from the roots a1 in (0, mu2) and a2 in (mu2, 2 mu1) of the
// model's equation `f` for the fit `fit`, found by bisection.
TwoExpWait TwoExpFromEquation(const std::function<double(double)>& f, const Coxian2& fit);

struct MG1Coxian {
    double cs2 = 1, rho = 0;
    Coxian2 fit;
    TwoExpWait wait;
    WaitMoments m;
    // P{L = n} for n = 0.. until negligible, and the tails P{L > n}.
    std::vector<double> eq, gt;
};

MG1Coxian SolveMG1Coxian(double cs2, double rho, ServiceFit fit);
// The Coxian-2 percentile: undefined below 1 - Pwait - 1e-10.
std::optional<double> CoxianPercentile(const TwoExpWait& w, double pwait, double cs2, double rho, double p);

// The waiting time of a service fit as D/G/1 and M/G/1 report it: P{Wq > t}
// and the percentiles of the phase method, or those of the two exponentials
// of a Coxian-2 fit.
class FitWait {
public:
    FitWait(std::function<double(double)> wait, std::function<std::optional<double>(double)> percentile,
            double pwait);
    FitWait(const TwoExpWait& coxian, double pwait, double cs2, double rho);
    double Wait(double t) const { return wait_(t); }
    std::optional<double> Percentile(double p) const { return percentile_(p); }
    // Where P{Wq > t} falls to 0.001 Pwait.
    double GraphEnd() const;
    double Pwait() const { return pwait_; }

private:
    std::function<double(double)> wait_;
    std::function<std::optional<double>(double)> percentile_;
    std::optional<TwoExpWait> coxian_;
    double pwait_ = 0, cs2_ = 1, rho_ = 0;
};

// The graph window of D/G/1 and M/G/1, CS2 and rho as its labels, with the
// waiting-time graph up to GraphEnd().
GraphWindowData FitGraphWindow(GraphDesign design, const std::string& title, double cs2, double rho,
                               const std::string& service, const FitWait& wait);

void RunMG1(const PageInput& input, RunResult& result);

} // namespace tarvik::queue
