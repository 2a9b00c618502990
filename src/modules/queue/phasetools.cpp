#include "modules/queue/phasetools.h"

#include "modules/queue/servicefit.h"

#include <algorithm>
#include <cmath>

namespace tarvik::queue {

GeometricTailDist::GeometricTailDist(std::vector<double> p, double ratio) : p_(std::move(p)), r_(ratio) {
    if (p_.empty()) p_.push_back(0);
    const int n = N();
    tail_.assign(p_.size(), 0.0);
    tail_[static_cast<std::size_t>(n)] = r_ > 0 ? p_[static_cast<std::size_t>(n)] * r_ / (1 - r_) : 0;
    for (int j = n - 1; j >= 0; --j)
        tail_[static_cast<std::size_t>(j)] =
            tail_[static_cast<std::size_t>(j + 1)] + p_[static_cast<std::size_t>(j + 1)];
}

double GeometricTailDist::P(long long j) const {
    if (j < 0) return 0;
    if (j <= N()) return p_[static_cast<std::size_t>(j)];
    if (r_ <= 0 || !(p_.back() > 0)) return 0;
    const double ln = std::log(p_.back()) + static_cast<double>(j - N()) * std::log(r_);
    return ln < -745 ? 0 : std::exp(ln);
}

double GeometricTailDist::Tail(long long j) const {
    if (j < 0) return tail_.front() + p_.front();
    if (j <= N()) return tail_[static_cast<std::size_t>(j)];
    const double ln = LnTailBeyond(j);
    return ln < -745 ? 0 : std::exp(ln);
}

double GeometricTailDist::LnTailBeyond(long long j) const {
    if (r_ <= 0 || !(p_.back() > 0)) return -1e300;
    return std::log(p_.back()) + static_cast<double>(j + 1 - N()) * std::log(r_) - std::log(1 - r_);
}

double LnPoissonUpperTail(double lambda, long long n) {
    if (n <= 0) return 0;
    if (!(lambda > 0)) return -1e300;
    const auto lnTerm = [&](long long j) {
        return -lambda + static_cast<double>(j) * std::log(lambda) - std::lgamma(static_cast<double>(j) + 1);
    };
    if (lambda < static_cast<double>(n)) {
        // Terms fall from j = n on: sum them relative to the first.
        const double first = lnTerm(n);
        double sum = 1, term = 1;
        for (long long j = n + 1; j < n + 100000; ++j) {
            term *= lambda / static_cast<double>(j);
            sum += term;
            if (term < 1e-17 * sum) break;
        }
        return first + std::log(sum);
    }
    // Mostly above n: one minus the lower terms, which are small.
    double lower = 0;
    for (long long j = 0; j < n; ++j) lower += std::exp(lnTerm(j));
    return std::log1p(-std::min(lower, 1.0 - 1e-300));
}

double GeometricTailDist::PoissonMixtureTail(double g) const {
    if (!(g > 0)) return tail_.front();
    const double lng = std::log(g);
    double sum = 0;
    const int n = N();
    for (int j = 0; j < n; ++j) {
        const double t = tail_[static_cast<std::size_t>(j)];
        if (!(t > 0)) break; // the tails only fall
        const double lw = -g + j * lng - LanczosLnGamma(j + 1.0);
        const double e = lw + std::log(t);
        if (e > -745) sum += std::exp(e);
    }
    // j >= N: T(j) = p_N r^(j+1-N)/(1-r), so the sum is
    // p_N r^(1-N)/(1-r) e^(-g(1-r)) P(Poisson(g r) >= N).
    if (r_ > 0 && p_.back() > 0) {
        const double e = std::log(p_.back()) + (1 - n) * std::log(r_) - std::log(1 - r_) - g * (1 - r_) +
                         LnPoissonUpperTail(g * r_, n);
        if (e > -745) sum += std::exp(e);
    }
    return sum;
}

double ExponentialWait(double pwait, double decay, double t) {
    return pwait * SafeExp(-decay * t);
}

std::optional<double> ExponentialWaitPercentile(double pwait, double decay, double p) {
    if (1 - pwait >= p) return std::nullopt;
    return ExponentialTailPoint(pwait, decay, p);
}

double ExponentialTailPoint(double weight, double decay, double p) {
    return (std::log(weight) - std::log(1 - p)) / decay;
}

double PercentileRoot(RootUse use, const std::function<double(double)>& pwq, double target, double lo,
                      double hi, double tol) {
    const auto f = [&](double x) { return pwq(x) - target; };
    if (f(lo) <= 0) return lo;
    if (!(hi > lo)) hi = lo + 1;
    for (int i = 0; i < 200 && f(hi) > 0; ++i) hi = lo + 2 * (hi - lo);
    return Zbrent(use, f, lo, hi, tol);
}

GraphPoints WaitingGraphTo(const std::function<double(double)>& pwq, double pwait, double tmax) {
    GraphPoints pts;
    if (!(tmax > 0) || !(pwait > 0)) return pts;
    const double step = GraphTimeStep(tmax);
    for (int k = 1; k <= 100000; ++k) {
        const double t = k * step;
        pts.emplace_back(t, pwq(t) / pwait);
        if (t >= tmax) break;
    }
    return pts;
}

// The point where the sampled state graph of the M/M/c kind stops: the first n
// below c with y <= 0.001, else from the geometric tail.
GraphPoints SampledStateGraph(int c, double busy, double tailLog, const std::function<double(int)>& gt) {
    if (!(busy > 0)) return {};
    int m;
    if (gt(c - 1) / busy < 0.001) {
        m = c - 1;
        for (int i = 1; i <= c - 2; ++i)
            if (gt(i) / busy < 0.001) {
                m = i;
                break;
            }
    } else {
        m = static_cast<int>(std::clamp(std::trunc(tailLog), -1e9, 1e9)) + 1;
    }
    int b = m > 10000 ? 200 : (m - 1) / 50 + 1;
    if (b < 1) b = 1;
    GraphPoints pts;
    for (int n = 1; n <= 10000; ++n) {
        if (n % b != 0) continue;
        const double y = gt(n) / busy;
        pts.emplace_back(n, y);
        if (y <= 0.001) break;
    }
    return pts;
}

GraphPoints ExponentialWaitGraph(double decay) {
    GraphPoints pts;
    const double tmax = std::log(1000.0) / decay;
    const double step = GraphTimeStep(tmax);
    for (double t = 0; t < tmax;) {
        t += step;
        pts.emplace_back(t, std::exp(-decay * t));
    }
    return pts;
}

} // namespace tarvik::queue
