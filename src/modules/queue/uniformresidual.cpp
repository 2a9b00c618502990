#include "modules/queue/uniformresidual.h"

#include "modules/queue/queuenum.h"

#include <algorithm>
#include <cmath>

namespace tarvik::queue {

UniformResidual::UniformResidual(int s) : s_(s) {
    lnFact_.assign(static_cast<std::size_t>(s) + 1, 0.0);
    for (int k = 2; k <= s; ++k)
        lnFact_[static_cast<std::size_t>(k)] = lnFact_[static_cast<std::size_t>(k - 1)] + std::log(k);
    // The (m+1)-th smallest of s uniforms has mean (m+1)/(s+1) and second
    // moment (m+1)(m+2)/((s+1)(s+2)). (Summing integrals of B(s, m, x) by a
    // 32-point rule instead loses the variance from about 250 servers on:
    // the binomial peaks grow narrower than the spacing of the nodes.)
    p_.assign(static_cast<std::size_t>(s), 0.0);
    q_.assign(static_cast<std::size_t>(s), 0.0);
    for (int m = 0; m < s; ++m) {
        p_[static_cast<std::size_t>(m)] = (m + 1.0) / (s + 1.0);
        q_[static_cast<std::size_t>(m)] = (m + 1.0) * (m + 2.0) / ((s + 1.0) * (s + 2.0));
    }
}

double UniformResidual::Binomial(int m, double x) const {
    if (x < 1e-12) return m == 0 ? 1 : 0;
    if (1 - x < 1e-12) return m == s_ ? 1 : 0;
    return SafeExp(m * std::log(x) + (s_ - m) * std::log(1 - x) + lnFact_[static_cast<std::size_t>(s_)] -
                   lnFact_[static_cast<std::size_t>(s_ - m)] - lnFact_[static_cast<std::size_t>(m)]);
}

double UniformResidual::WaitTail(const std::vector<double>& w, int last, double t) const {
    const double a = std::trunc(t + 1e-15);
    const double f = t - a;
    if (a + 1 > static_cast<double>(last) / s_ + 1e-12) return 0;
    const long first = (static_cast<long>(a) + 1) * s_;
    double sum = 0;
    if (std::fabs(a - t) <= 1e-10) {
        for (long k = first; k <= last; ++k) sum += w[static_cast<std::size_t>(k)];
        return sum;
    }
    double cdf = 0;
    const long mid = std::min<long>(first + s_ - 1, last);
    for (long k = first; k <= mid; ++k) {
        cdf += Binomial(static_cast<int>(k - first), f);
        sum += w[static_cast<std::size_t>(k)] * cdf;
    }
    for (long k = first + s_; k <= last; ++k) sum += w[static_cast<std::size_t>(k)];
    return sum;
}

double UniformResidual::WaitFirstMoment(const std::vector<double>& w, int last) const {
    double sum = 0;
    for (int k = s_; k <= last; ++k) sum += w[static_cast<std::size_t>(k)] * (k / s_ - 1 + Moment1(k % s_));
    return sum;
}

double UniformResidual::WaitSecondMoment(const std::vector<double>& w, int last) const {
    double sum = 0;
    for (int k = s_; k <= last; ++k) {
        const int f = k / s_ - 1, m = k % s_;
        sum +=
            w[static_cast<std::size_t>(k)] * (static_cast<double>(f) * f + 2.0 * f * Moment1(m) + Moment2(m));
    }
    return sum;
}

} // namespace tarvik::queue
