#pragma once
// Reference computations for the queue tests, independent of the models:
// dense linear algebra in extended precision, stationary distributions of
// finite chains, and numerical integration of waiting-time tails.
#include <cmath>
#include <functional>
#include <vector>

namespace tarvik::queue::oracle {

using Matrix = std::vector<std::vector<long double>>;

// Solves A x = b by Gaussian elimination with partial pivoting.
inline std::vector<long double> Solve(Matrix a, std::vector<long double> b) {
    const std::size_t n = b.size();
    for (std::size_t col = 0; col < n; ++col) {
        std::size_t best = col;
        for (std::size_t r = col + 1; r < n; ++r)
            if (std::fabs(a[r][col]) > std::fabs(a[best][col])) best = r;
        std::swap(a[col], a[best]);
        std::swap(b[col], b[best]);
        for (std::size_t r = col + 1; r < n; ++r) {
            const long double f = a[r][col] / a[col][col];
            if (f == 0) continue;
            for (std::size_t k = col; k < n; ++k) a[r][k] -= f * a[col][k];
            b[r] -= f * b[col];
        }
    }
    std::vector<long double> x(n);
    for (std::size_t i = n; i-- > 0;) {
        long double s = b[i];
        for (std::size_t k = i + 1; k < n; ++k) s -= a[i][k] * x[k];
        x[i] = s / a[i][i];
    }
    return x;
}

// The stationary distribution of a discrete-time chain with transition
// matrix P (rows sum to 1), one balance equation replaced by the normalisation.
inline std::vector<double> StationaryDiscrete(const Matrix& p) {
    const std::size_t n = p.size();
    Matrix a(n, std::vector<long double>(n, 0));
    std::vector<long double> b(n, 0);
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = 0; j < n; ++j) a[i][j] = (i == j ? 1 : 0) - p[j][i];
    for (std::size_t j = 0; j < n; ++j) a[0][j] = 1;
    b[0] = 1;
    const auto x = Solve(a, b);
    return {x.begin(), x.end()};
}

// The stationary distribution of a continuous-time chain with generator Q.
inline std::vector<double> StationaryContinuous(const Matrix& q) {
    const std::size_t n = q.size();
    Matrix a(n, std::vector<long double>(n, 0));
    std::vector<long double> b(n, 0);
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = 0; j < n; ++j) a[i][j] = q[j][i];
    for (std::size_t j = 0; j < n; ++j) a[0][j] = 1;
    b[0] = 1;
    const auto x = Solve(a, b);
    return {x.begin(), x.end()};
}

// First and second moments of a non-negative variable from its tail
// P{X > t}, by Simpson's rule on [0, tmax].
inline std::pair<double, double> MomentsFromTail(const std::function<double(double)>& tail, double tmax,
                                                 int steps) {
    const double h = tmax / steps;
    double m1 = 0, m2 = 0;
    for (int k = 0; k <= steps; ++k) {
        const double t = k * h;
        const double w = (k == 0 || k == steps) ? 1 : (k % 2 ? 4 : 2);
        const double v = tail(t);
        m1 += w * v;
        m2 += w * 2 * t * v;
    }
    return {m1 * h / 3, m2 * h / 3};
}

// The same for a tail that jumps at whole numbers only: Simpson's rule on
// each interval between them, from just after one to just before the next.
inline std::pair<double, double> MomentsFromStepTail(const std::function<double(double)>& tail, int pieces,
                                                     int steps) {
    double m1 = 0, m2 = 0;
    for (int a = 0; a < pieces; ++a) {
        const double lo = a + 1e-9, hi = a + 1 - 1e-9, h = (hi - lo) / steps;
        for (int k = 0; k <= steps; ++k) {
            const double t = lo + k * h;
            const double w = (k == 0 || k == steps) ? 1 : (k % 2 ? 4 : 2);
            const double v = tail(t);
            m1 += w * v * h / 3;
            m2 += w * 2 * t * v * h / 3;
        }
    }
    return {m1, m2};
}

inline double PoissonPmf(double a, int k) {
    return std::exp(-a + k * std::log(a) - std::lgamma(k + 1.0));
}

} // namespace tarvik::queue::oracle
