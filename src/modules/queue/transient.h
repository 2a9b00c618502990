#pragma once
// The transient M/M/1 queue with i customers at time 0 (mean service time 1,
// arrival rate rho < 1): state probabilities, their cumulative sums and the
// first two moments of the queue length at time t, each an integral over
// [0, pi] by one 275-node Gauss-Legendre rule.
#include "modules/queue/numerics.h"
#include "modules/queue/queuemodel.h"

namespace tarvik::queue {

class TransientMM1 {
public:
    TransientMM1(double rho, int i);
    double rho() const { return rho_; }

    // p(i, j, t): exactly j in the system at time t.
    double StateProbability(int j, double t) const;
    // P(i, j, t): at most j in the system.
    double Cumulative(int j, double t) const;
    // E L(i, t) and the second moment of the number in the system.
    double MeanInSystem(double t) const;
    double SecondMoment(double t) const;
    // The number waiting (not the one in service): mean and standard deviation.
    double MeanQueue(double t) const;
    double StdQueue(double t) const;

private:
    // (2/pi) * sum over the nodes of w * f(node).
    template <class F> double Integral(F f) const;
    double Exponent(double a, int m, double t, std::size_t k) const;
    double X(int k, std::size_t node) const;

    double rho_, root_, lnRho_;
    int i_;
    QuadratureRule rule_;
    std::vector<double> gamma_, lnGamma_, xi_;
};

// The largest initial state allowed for rho: trunc(min(100, ln 1e-16 / ln rho)).
int TransientMaxInitial(double rho);

void RunTransientMM1(const PageInput& input, RunResult& result);

} // namespace tarvik::queue
