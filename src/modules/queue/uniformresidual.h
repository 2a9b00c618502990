#pragma once
// Waiting behind s busy servers with constant service times: a customer who
// finds k = f*s + m customers (f >= 1, 0 <= m < s) waits f - 1 full services
// plus the (m+1)-th smallest of s residual service times, taken as uniform on
// [0, 1]. Shared by the M/D/c/c+N and the deterministic machine-repair models.
#include <vector>

namespace tarvik::queue {

class UniformResidual {
public:
    explicit UniformResidual(int s);
    int servers() const { return s_; }
    // B(s, m, x) = C(s, m) x^m (1 - x)^(s - m).
    double Binomial(int m, double x) const;
    // First and second moments of the (m+1)-th smallest residual, m = 0..s-1.
    double Moment1(int m) const { return p_[static_cast<std::size_t>(m)]; }
    double Moment2(int m) const { return q_[static_cast<std::size_t>(m)]; }

    // P{Wq > t} from the probabilities w[k] of finding k customers, k = s..last.
    double WaitTail(const std::vector<double>& w, int last, double t) const;
    // E(Wq) and E(Wq^2) from the same probabilities.
    double WaitFirstMoment(const std::vector<double>& w, int last) const;
    double WaitSecondMoment(const std::vector<double>& w, int last) const;

private:
    int s_;
    std::vector<double> lnFact_, p_, q_;
};

} // namespace tarvik::queue
