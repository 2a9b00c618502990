#pragma once
// Both tails of each distribution in extended precision, each computed so that
// it keeps its relative accuracy however small it is. The table lines print
// P(X <= x) and P(X > x) from these; the quantiles search on the smaller one.
#include "modules/tables/distributions.h"

namespace tarvik::tables::detail {

struct Tails {
    long double lower = 0; // P(X <= x)
    long double upper = 1; // P(X > x)
};

void Guard(const char* message);
[[noreturn]] void Fail(const char* message);

long double LnGammaL(long double x);

// Regularized incomplete gamma P(a, y) and Q(a, y).
Tails IncompleteGamma(long double a, long double y);
// I_x(a, b) and 1 - I_x(a, b), with y = 1 - x given separately so that
// neither loses digits when it is small.
Tails IncompleteBeta(long double a, long double b, long double x, long double y);

Tails NormalTails(long double x);
Tails ChiSquareTails(double v, double x);
Tails StudentTails(double v, double x);
Tails FisherTails(double v, double w, double x);
Tails GammaTails(double s, double x);
Tails PoissonTails(double lambda, long long k);
Tails BinomialTails(long long n, double p, long long k);
Tails HypergeometricTails(long long x, long long n, long long R, long long N);

long double PoissonPmfL(long double lambda, long long k);
long double BinomialPmfL(long long n, long double p, long long k);
long double HypergeometricPmfL(long long x, long long n, long long R, long long N);

// Quantiles in extended precision (±kInfinite where none is finite).
long double NormalQuantileL(double p);
long double ChiSquareQuantileL(double v, double p);
long double StudentQuantileL(double v, double p);
long double FisherQuantileL(double v, double w, double p);

} // namespace tarvik::tables::detail
