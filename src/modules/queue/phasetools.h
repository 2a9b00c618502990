#pragma once
// Helpers of the models with phase-type or two-exponential waiting times:
// the Poisson mixture over a phase distribution with a geometric tail, the
// percentile search that widens its bracket until it holds the root, and the
// points of a waiting-time graph up to a given end.
#include "modules/queue/numerics.h"
#include "modules/queue/queuenum.h"

#include <functional>
#include <optional>
#include <vector>

namespace tarvik::queue {

// A distribution on 0, 1, 2, ... given by p[0..N] and p[j] = p[N] r^(j-N)
// beyond N (0 <= r < 1), with the tail sums T(j) = P(more than j) formed
// from the top so that small tails keep their precision.
class GeometricTailDist {
public:
    GeometricTailDist() = default;
    GeometricTailDist(std::vector<double> p, double ratio);
    int N() const { return static_cast<int>(p_.size()) - 1; }
    double ratio() const { return r_; }
    double P(long long j) const;    // P(exactly j)
    double Tail(long long j) const; // P(more than j)
    // ln of P(more than j) for j >= N, without underflow.
    double LnTailBeyond(long long j) const;
    // Sum over j >= 0 of e^-g g^j / j! * P(more than j): the probability that
    // more than a Poisson(g) number of phases is present. Exact for every g,
    // O(N) terms plus a closed form for the geometric part.
    double PoissonMixtureTail(double g) const;
    const std::vector<double>& p() const { return p_; }

private:
    std::vector<double> p_, tail_;
    double r_ = 0;
};

// ln P(Poisson(lambda) >= n), n >= 0.
double LnPoissonUpperTail(double lambda, long long n);

// The waiting time of the queues with exponential servers and a geometric
// tail: P{Wq > t} = pwait e^(-decay t), its percentiles undefined for p at or
// below 1 - pwait.
double ExponentialWait(double pwait, double decay, double t);
std::optional<double> ExponentialWaitPercentile(double pwait, double decay, double p);
// The t with weight e^(-decay t) = 1 - p.
double ExponentialTailPoint(double weight, double decay, double p);

// Root t of pwq(t) = target by Brent's method on [lo, hi]; hi is doubled until
// pwq(hi) <= target, so the bracket always holds the root. When pwq(lo) is
// already at or below the target, lo is returned.
double PercentileRoot(RootUse use, const std::function<double(double)>& pwq, double target, double lo,
                      double hi, double tol);

// (t, pwq(t) / pwait) for t = step, 2 step, ... up to the first t >= tmax.
GraphPoints WaitingGraphTo(const std::function<double(double)>& pwq, double pwait, double tmax);

// The state graph of the M/M/c kind: y(n) = gt(n) / busy sampled with a step
// chosen from the first n below c with y <= 0.001, or else from `tailEnd`, the
// real-valued estimate of that n from the geometric tail. gt(n) = P{L > n}.
GraphPoints SampledStateGraph(int c, double busy, double tailEnd, const std::function<double(int)>& gt);
// (t, e^(-decay t)) from one step up to ln(1000)/decay.
GraphPoints ExponentialWaitGraph(double decay);

} // namespace tarvik::queue
