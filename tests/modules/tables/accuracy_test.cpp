// Every digit a table prints is right: the probabilities and percentiles of
// all eight distributions against high-precision references, on a grid over
// the parameter ranges the tables admit (both tails, small and huge
// parameters, p from 1e-8 to 1 - 1e-8). A printed value may differ from the
// printed reference by at most one unit in its last place.
#include "modules/tables/distributions.h"
#include "modules/tables/tails.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

using namespace tarvik::tables;
using tarvik::tables::detail::Tails;

namespace {

struct ProbabilityCase {
    char kind; // N C T F G P B H
    double a, b, c, x;
    const char* lower; // P(X <= x)
    const char* upper; // P(X > x)
    const char* pmf;   // P(X = x), discrete only
};

struct PercentileCase {
    char kind; // N C T F G
    double a, b, p;
    const char* value;
};

#include "accuracy_cases.h"

long double Ld(const char* text) {
    return std::strtold(text, nullptr);
}

// The place value of the last digit TableProbabilityText / TableValueText
// prints for a magnitude a > 1e-12.
long double LastPlace(long double a) {
    const int e = static_cast<int>(std::floor(std::log10(a)));
    if (a <= 1e-6L) return std::pow(10.0L, e - 2);
    if (a >= 0.1L) return std::pow(10.0L, e - 7);
    return 1e-8L;
}

// The printed texts of a computed value and of the reference agree up to one
// unit in the last printed place.
::testing::AssertionResult PrintedAlike(long double computed, long double reference, bool value) {
    const std::string tc =
        value ? TableValueText(computed) : TableProbabilityText(static_cast<double>(computed));
    const std::string tr =
        value ? TableValueText(reference) : TableProbabilityText(static_cast<double>(reference));
    if (tc == tr) return ::testing::AssertionSuccess();
    auto failure = [&] {
        return ::testing::AssertionFailure() << "printed " << tc << ", reference prints " << tr;
    };
    if (tc == "0" || tr == "0") {
        // Only at the border below which a probability prints as 0.
        const long double other = std::fabs(tc == "0" ? reference : computed);
        if (tc == "0" && tr == "0") return ::testing::AssertionSuccess();
        return other < 1.01e-12L ? ::testing::AssertionSuccess() : failure();
    }
    if (tc.find("Infinite") != std::string::npos || tr.find("Infinite") != std::string::npos)
        return failure();
    const long double shown = std::strtold(tc.c_str(), nullptr);
    const long double expected = std::strtold(tr.c_str(), nullptr);
    const long double unit = std::max(LastPlace(std::fabs(computed)), LastPlace(std::fabs(reference)));
    if (std::fabs(shown - expected) <= unit * (1 + 1e-9L)) return ::testing::AssertionSuccess();
    return failure();
}

Tails ComputeTails(const ProbabilityCase& c, long double& pmf) {
    using namespace tarvik::tables::detail;
    const auto k = static_cast<long long>(c.x);
    switch (c.kind) {
    case 'N':
        return NormalTails(c.x);
    case 'C':
        return ChiSquareTails(c.a, c.x);
    case 'T':
        return StudentTails(c.a, c.x);
    case 'F':
        return FisherTails(c.a, c.b, c.x);
    case 'G':
        return GammaTails(c.a, c.x);
    case 'P':
        pmf = PoissonPmfL(c.a, k);
        return PoissonTails(c.a, k);
    case 'B':
        pmf = rbinpro(static_cast<long long>(c.a), c.b, c.x);
        return BinomialTails(static_cast<long long>(c.a), c.b, k);
    default: {
        const auto R = static_cast<long long>(c.a), N = R + static_cast<long long>(c.b);
        const auto n = static_cast<long long>(c.c);
        pmf = HypergeometricPmfL(k, n, R, N);
        return HypergeometricTails(k, n, R, N);
    }
    }
}

long double ComputePercentile(const PercentileCase& c) {
    using namespace tarvik::tables::detail;
    switch (c.kind) {
    case 'N':
        return NormalQuantileL(c.p);
    case 'C':
        return ChiSquareQuantileL(c.a, c.p);
    case 'T':
        return StudentQuantileL(c.a, c.p);
    case 'F':
        return FisherQuantileL(c.a, c.b, c.p);
    default:
        return GammaQuantile(c.a, c.p);
    }
}

void CheckProbabilities(char kind) {
    int count = 0;
    for (const ProbabilityCase& c : kProbabilityCases) {
        if (c.kind != kind) continue;
        ++count;
        long double pmf = 0;
        const Tails t = ComputeTails(c, pmf);
        const std::string where = std::string(1, kind) + " a=" + std::to_string(c.a) +
                                  " b=" + std::to_string(c.b) + " c=" + std::to_string(c.c) +
                                  " x=" + std::to_string(c.x);
        EXPECT_TRUE(PrintedAlike(t.lower, Ld(c.lower), false)) << where << " P(X<=x)";
        EXPECT_TRUE(PrintedAlike(t.upper, Ld(c.upper), false)) << where << " P(X>x)";
        if (c.pmf[0] != 0) {
            EXPECT_TRUE(PrintedAlike(pmf, Ld(c.pmf), false)) << where << " P(X=x)";
        }
    }
    EXPECT_GT(count, 40);
}

void CheckPercentiles(char kind) {
    int count = 0;
    for (const PercentileCase& c : kPercentileCases) {
        if (c.kind != kind) continue;
        ++count;
        const long double x = ComputePercentile(c);
        EXPECT_TRUE(PrintedAlike(x, Ld(c.value), true))
            << kind << " a=" << c.a << " b=" << c.b << " p=" << c.p;
    }
    EXPECT_GT(count, 20);
}

} // namespace

TEST(TablesAccuracy, NormalProbabilities) {
    CheckProbabilities('N');
}
TEST(TablesAccuracy, ChiSquareProbabilities) {
    CheckProbabilities('C');
}
TEST(TablesAccuracy, StudentProbabilities) {
    CheckProbabilities('T');
}
TEST(TablesAccuracy, FisherProbabilities) {
    CheckProbabilities('F');
}
TEST(TablesAccuracy, GammaProbabilities) {
    CheckProbabilities('G');
}
TEST(TablesAccuracy, PoissonProbabilities) {
    CheckProbabilities('P');
}
TEST(TablesAccuracy, BinomialProbabilities) {
    CheckProbabilities('B');
}
TEST(TablesAccuracy, HypergeometricProbabilities) {
    CheckProbabilities('H');
}

TEST(TablesAccuracy, NormalPercentiles) {
    CheckPercentiles('N');
}
TEST(TablesAccuracy, ChiSquarePercentiles) {
    CheckPercentiles('C');
}
TEST(TablesAccuracy, StudentPercentiles) {
    CheckPercentiles('T');
}
TEST(TablesAccuracy, FisherPercentiles) {
    CheckPercentiles('F');
}
TEST(TablesAccuracy, GammaPercentiles) {
    CheckPercentiles('G');
}
