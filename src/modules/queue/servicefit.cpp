#include "modules/queue/servicefit.h"

#include <cmath>

namespace tarvik::queue {

ErlangMix FitErlangMix(double cs2, double eps) {
    ErlangMix f;
    f.k = static_cast<int>(std::trunc(1 / cs2 - eps)) + 1;
    const double k = f.k;
    f.q = k * (k * cs2 - 1) / (std::sqrt(k * (1 + cs2 - k * cs2)) + k * cs2);
    f.mu = k - f.q;
    return f;
}

Coxian2 FitCoxianGamma(double cs2) {
    // At cs2 = 0.5 exactly the two rates would coincide with c = 0.
    if (std::fabs(cs2 - 0.5) <= 1e-15) cs2 += 1e-15;
    const double c = std::sqrt((cs2 - 0.5) / (cs2 + 1));
    Coxian2 f;
    f.mu1 = 2 * (1 + c);
    f.mu2 = 3 / ((1 + cs2) * (1 + c));
    f.b = f.mu2 * (f.mu1 - 1) / f.mu1;
    return f;
}

Coxian2 FitCoxianBalanced(double cs2) {
    Coxian2 f;
    if (std::fabs(cs2 - 1) <= 1e-12) {
        f.mu1 = 3;
        f.mu2 = 1;
        f.b = 2.0 / 3.0;
    } else if (cs2 > 1) {
        // The balanced-means hyperexponential written as a Coxian.
        const double h = (std::sqrt((cs2 - 1) / (cs2 + 1)) + 1) / 2;
        f.mu1 = 2 * h;
        f.mu2 = 2 * (1 - h);
        f.b = (1 - h) * (2 * h - 1) / h;
    } else {
        if (std::fabs(cs2 - 0.5) <= 1e-15) cs2 += 1e-15;
        const double d = 2 / (std::sqrt(2 * cs2 - 1) + 1);
        f.mu2 = d;
        f.mu1 = d / (d - 1);
        f.b = 1; // two phases in series
    }
    return f;
}

double ThirdMoment(const ErlangMix& f) {
    const double k = f.k;
    return k * (k + 1) * (k + 2 - 3 * f.q) / (f.mu * f.mu * f.mu);
}

double ThirdMoment(const Coxian2& f) {
    // S = X1 + B X2 with independent exponentials X1, X2 and B ~ Bernoulli(b):
    // E(S^3) = E(X1^3) + b (3 E(X1^2) E(X2) + 3 E(X1) E(X2^2) + E(X2^3)).
    const double m1 = 1 / f.mu1, m2 = 1 / f.mu2;
    return 6 * m1 * m1 * m1 + f.b * (6 * m1 * m1 * m2 + 6 * m1 * m2 * m2 + 6 * m2 * m2 * m2);
}

} // namespace tarvik::queue
