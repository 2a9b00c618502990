#pragma once
// ln Gamma(x) for x > 0 by Lanczos' approximation with six coefficients, and
// the logarithms of factorials and binomial coefficients. Factorials are
// summed exactly: the approximation's relative error of about 1e-10 shows
// where a model subtracts nearly equal sums of state weights.
namespace tarvik::queue {

double LanczosLnGamma(double x);
// ln k! as a sum of logarithms (tabulated up to 10000, Lanczos above).
double LnFactorial(int k);
// ln C(n, k) for 0 <= k <= n.
double LnBinomial(int n, int k);

} // namespace tarvik::queue
