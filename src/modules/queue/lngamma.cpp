#include "modules/queue/lngamma.h"

#include <cmath>
#include <vector>

namespace tarvik::queue {

double LanczosLnGamma(double x) {
    static constexpr double kCoefficients[6] = {76.18009172947146,     -86.50532032941677,
                                                24.01409824083091,     -1.231739572450155,
                                                0.1208650973866179e-2, -0.5395239384953e-5};
    double y = x;
    const double tmp = x + 5.5 - (x + 0.5) * std::log(x + 5.5);
    double series = 1.000000000190015;
    for (double c : kCoefficients) series += c / ++y;
    return -tmp + std::log(2.50662827465 * series / x);
}

double LnFactorial(int k) {
    static const std::vector<double> table = [] {
        std::vector<double> t(10001, 0.0);
        for (std::size_t i = 2; i < t.size(); ++i) t[i] = t[i - 1] + std::log(static_cast<double>(i));
        return t;
    }();
    if (k <= 1) return 0.0;
    if (static_cast<std::size_t>(k) < table.size()) return table[static_cast<std::size_t>(k)];
    return LanczosLnGamma(k + 1.0);
}

double LnBinomial(int n, int k) {
    return LnFactorial(n) - LnFactorial(k) - LnFactorial(n - k);
}

} // namespace tarvik::queue
