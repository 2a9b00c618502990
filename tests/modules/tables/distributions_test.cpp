// Behaviour of the distribution routines: the documented values, the guard
// messages and precondition failures, the shortcuts, and the far tails where
// quick approximations print wrong digits.
#include "modules/tables/distributions.h"
#include "modules/tables/tails.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace tarvik::tables;

namespace {

// Records the guard messages while it lives.
class GuardRecorder {
public:
    GuardRecorder() {
        previous_ = SetGuardHandler([this](const std::string& m) { messages.push_back(m); });
    }
    ~GuardRecorder() { SetGuardHandler(previous_); }
    std::vector<std::string> messages;

private:
    GuardHandler previous_;
};

std::string FailureText(const std::function<void()>& call) {
    try {
        call();
    } catch (const PreconditionFailure& e) {
        EXPECT_EQ(e.dialog(), MessageDialog::None);
        return e.what();
    }
    return "(no failure)";
}

} // namespace

TEST(TablesDistributions, KnownValues) {
    EXPECT_EQ(NormalCdf(0), 0.5);
    EXPECT_NEAR(NormalCdf(1.96), 0.9750021048517795, 1e-15);
    EXPECT_NEAR(NormalQuantile(0.975), 1.959963984540054, 1e-14);
    EXPECT_NEAR(ChiSquareCdf(1, 3.841459), 0.95, 1e-8);
    EXPECT_NEAR(StudentQuantile(1, 0.975), 12.70620473617471, 1e-11);
    // s = 1: the exponential distribution.
    for (double x : {0.001, 0.5, 2.0, 30.0}) {
        const GammaProbabilities g = GammaCdf(1, x);
        EXPECT_NEAR(g.P, -std::expm1(-x), 1e-16 + 1e-15 * g.P) << x;
        EXPECT_NEAR(g.Q, std::exp(-x), 1e-15 * g.Q) << x;
    }
    EXPECT_EQ(BinomialCdf(10, 0.5, 4), 386.0 / 1024);
    EXPECT_DOUBLE_EQ(rbinpro(10, 0.5, 5), 252.0 / 1024);
    EXPECT_DOUBLE_EQ(rbinpro(10, 0.5, 5.7), 252.0 / 1024); // k = floor(x)
    EXPECT_DOUBLE_EQ(HypergeometricPmf(0, 5, 5, 10), 1.0 / 252);
    // Both sides of the product/log-gamma switch of the binomial and hypergeometric.
    // References: mpmath, exact binomial coefficients at 30 digits.
    EXPECT_NEAR(rbinpro(45, 0.3, 13), 0.12855038730661461, 1e-15);
    EXPECT_NEAR(rbinpro(46, 0.3, 13), 0.12543401428099971, 1e-15);
    EXPECT_NEAR(HypergeometricPmf(10, 20, 25, 45), 0.19051975772022058, 1e-15);
    EXPECT_NEAR(HypergeometricPmf(10, 20, 25, 46), 0.20558060813288624, 1e-15);
}

TEST(TablesDistributions, SymmetriesAndZeroPoints) {
    for (double v : {1.0, 2.0, 7.0, 1e6}) EXPECT_EQ(StudentCdf(v, 0), 0.5) << v;
    for (double v : {1.0, 30.0}) EXPECT_NEAR(StudentCdf(v, -2.5) + StudentCdf(v, 2.5), 1, 1e-16);
    EXPECT_EQ(FisherCdf(3, 7, 0), 0);
    EXPECT_EQ(ChiSquareCdf(5, 0), 0);
    EXPECT_EQ(GammaCdf(0.5, 0).P, 0);
    EXPECT_EQ(GammaCdf(0.5, 0).Q, 1);
    // F(1, w) is the square of t(w).
    EXPECT_NEAR(FisherCdf(1, 9, 4), 2 * StudentCdf(9, 2) - 1, 1e-15);
}

TEST(TablesDistributions, Shortcuts) {
    EXPECT_EQ(ChiSquareCdf(100, 15), 0); // below 100 - 6 sqrt(200)
    EXPECT_EQ(ChiSquareCdf(80, 10), 0);
    EXPECT_EQ(ChiSquareCdf(25, 0.5), 0);
    for (long long k : {0LL, 3LL, 1000LL}) EXPECT_EQ(PoissonCdf(0, k), 1);
    EXPECT_EQ(PoissonCdf(50, 250), 1);
    EXPECT_EQ(PoissonCdf(100, 201), 1);
    EXPECT_EQ(PoissonPmf(100, 201), 0);
    EXPECT_EQ(PoissonPmf(0, 0), 1);
    EXPECT_EQ(PoissonPmf(0, 1), 0);
    EXPECT_EQ(PoissonPmf(3, -1), 0);
    EXPECT_EQ(BinomialCdf(10, 0.3, -1), 0);
    EXPECT_EQ(BinomialCdf(10, 0.3, 10), 1);
    EXPECT_EQ(BinomialCdf(10, 0, 0), 1);
    EXPECT_EQ(BinomialCdf(10, 1, 9), 0);
    EXPECT_EQ(rbinpro(10, 1, 10), 1);
    EXPECT_EQ(rbinpro(0, 0.4, 0), 1);
    EXPECT_EQ(rbinpro(10, 0.4, 11), 0);
    EXPECT_EQ(rbinpro(10, 0.4, -1), 0);
    EXPECT_EQ(HypergeometricPmf(5, 10, 5, 10), 1); // every ball drawn
    EXPECT_EQ(HypergeometricPmf(6, 8, 5, 10), 0);  // above the support
    EXPECT_EQ(HypergeometricPmf(2, 8, 5, 10), 0);  // below it: at least 3 red
    EXPECT_EQ(RHYPCDF(2, 8, 5, 10), 0);
    EXPECT_EQ(RHYPCDF(5, 8, 5, 10), 1);
}

// Where the quick tests for a negligible chi-square tail are not negligible
// after all, the exact value is printed. References: mpmath, regularized
// incomplete gamma P(v/2, x/2) at 30 digits.
TEST(TablesDistributions, ChiSquareFarLeftTailIsNotCutOff) {
    EXPECT_NEAR(ChiSquareCdf(30, 3), 8.2397223675908074e-11, 1e-24);
    EXPECT_NEAR(ChiSquareCdf(10, 0.1), 2.4979513360065105e-9, 1e-22);
    // 1e6 - 6 sqrt(2e6): the lower tail is about 9e-10, not 0.
    EXPECT_NEAR(ChiSquareCdf(1e6, 991514.7186257615), 8.9068412846525246e-10, 1e-21);
}

// References: mpmath at 30 digits (Poisson through Q(k + 1, lambda)).
TEST(TablesDistributions, PoissonBeyondTheOldCutOffs) {
    EXPECT_NEAR(PoissonPmf(1000, 1200), 7.9926428488435708e-11, 1e-23);
    EXPECT_NEAR(static_cast<double>(detail::PoissonTails(1000, 1199).upper),
                7.9926428488435708e-11 + 3.8849395709879237e-10, 1e-22);
    EXPECT_NEAR(PoissonPmf(1000, 1300), 1.6065606386097061e-20, 1e-33);
    EXPECT_NEAR(PoissonCdf(1e6, 1000000), 0.50026596148628365, 1e-15);
    EXPECT_NEAR(PoissonCdf(1e6, 999000), 0.15877629981172561, 1e-15);
}

TEST(TablesDistributions, BinomialWithVanishingStartTerm) {
    // P(X = 500) is far below the extended range, yet P(X <= 500) is 1.
    EXPECT_EQ(BinomialCdf(1000, 1e-300, 500), 1);
    EXPECT_EQ(BinomialCdf(1000, 1 - 1e-16, 500), 0);
    EXPECT_NEAR(BinomialCdf(1000, 1e-300, 0), 1, 1e-15);
}

TEST(TablesDistributions, PercentileGuards) {
    EXPECT_EQ(NormalQuantile(0), -kInfinite);
    EXPECT_EQ(NormalQuantile(1), kInfinite);
    EXPECT_EQ(NormalQuantile(0.9999999999995), kInfinite);
    EXPECT_EQ(ChiSquareQuantile(3, 5e-10), -kInfinite);
    EXPECT_EQ(ChiSquareQuantile(3, 0.999999999999), kInfinite);
    EXPECT_EQ(StudentQuantile(1, 5e-9), -kInfinite);
    EXPECT_LT(StudentQuantile(2, 5e-9), -1e3); // finite for v = 2
    EXPECT_EQ(StudentQuantile(2, 5e-10), -kInfinite);
    EXPECT_EQ(StudentQuantile(3, 1e-12), -kInfinite);
    EXPECT_EQ(FisherQuantile(2, 9, 1e-12), -kInfinite);
    EXPECT_EQ(FisherQuantile(2, 9, 1), kInfinite);
    EXPECT_EQ(GammaQuantile(0.5, 9e-10), -kInfinite);
    EXPECT_EQ(GammaQuantile(0.5, 0.9999999995), kInfinite);
    EXPECT_EQ(NormalQuantile(0.5), 0);
}

TEST(TablesDistributions, PercentilesInvertTheProbabilities) {
    for (double p : {1e-8, 0.01, 0.3, 0.5, 0.8, 0.99999999}) {
        EXPECT_NEAR(ChiSquareCdf(7, ChiSquareQuantile(7, p)), p, 1e-13 * p) << p;
        EXPECT_NEAR(StudentCdf(4, StudentQuantile(4, p)), p, 1e-13 * p) << p;
        EXPECT_NEAR(FisherCdf(3, 12, FisherQuantile(3, 12, p)), p, 1e-13 * p) << p;
        EXPECT_NEAR(GammaCdf(0.3, static_cast<double>(GammaQuantile(0.3, p))).P, p, 1e-13 * p) << p;
    }
}

TEST(TablesDistributions, GammaPercentileFarBelowTheDoubleRange) {
    // s = 10: shape 0.01, so the small percentiles are of the order p^100.
    // Reference: mpmath, root of P(0.01, 0.01 x) = 1e-8 at 30 digits.
    const long double x = GammaQuantile(10, 1e-8);
    EXPECT_NEAR(static_cast<double>(x / 5.66073814706189307546e-799L), 1, 1e-12);
}

TEST(TablesDistributions, GuardMessagesLetTheComputationGoOn) {
    GuardRecorder guard;
    (void)LnGamma(-0.5);
    (void)LnGamma(0);
    (void)NormalDensity(0, 0, 1);
    (void)GammaScaledCdf(2, -1, 3);
    (void)GammaScaledCdf(0, 1, 3);
    (void)ChiSquareCdf(-2, 3);
    const std::vector<std::string> expected = {"Fatal error",
                                               "Fatal error",
                                               "Fatal error: Sigma < 0",
                                               "Fatal error: alpha < 0",
                                               "Fatal error: ,Sigma < 0",
                                               "Fatal error: Df < 0"};
    EXPECT_EQ(guard.messages, expected);
    // Without a handler the messages are dropped.
    GuardHandler recorder = SetGuardHandler(nullptr);
    EXPECT_NO_THROW(LnGamma(0));
    SetGuardHandler(recorder);
    EXPECT_EQ(guard.messages.size(), expected.size());
}

TEST(TablesDistributions, PreconditionFailuresEndTheCalculation) {
    EXPECT_EQ(FailureText([] { BETAI(1.5, 2, 3); }), "error in routine BETAI");
    EXPECT_EQ(FailureText([] { BETAI(-0.1, 2, 3); }), "error in routine BETAI");
    EXPECT_EQ(FailureText([] { rbinpro(-1, 0.5, 0); }), "n<0 in rbinpro");
    EXPECT_EQ(FailureText([] { rbinpro(5, 1.5, 0); }), "p not in [0,1] in rbinpro");
    EXPECT_EQ(FailureText([] { BinomialCdf(-1, 0.5, 0); }), "n should be >= 0");
    EXPECT_EQ(FailureText([] { BinomialCdf(5, -0.5, 0); }), "p should be in [0,1]");
    EXPECT_EQ(FailureText([] { RHYPCDF(1, 11, 5, 10); }), "Illegal argument in RHYPCDF");
    EXPECT_EQ(FailureText([] { RHYPCDF(1, 3, -1, 10); }), "Illegal argument in RHYPCDF");
    EXPECT_EQ(FailureText([] { RTBIS([](long double x) { return x * x + 1; }, -1, 1, 1e-9); }),
              "pause in RTBIS\nRoot must be bracketed for bisection.");
    EXPECT_EQ(FailureText([] { PoissonPmf(-1, 2); }).empty(), false);
}

TEST(TablesDistributions, RootFinders) {
    auto cubic = [](long double x) { return x * x * x - 2; };
    EXPECT_NEAR(static_cast<double>(RTBIS(cubic, 0, 3, 1e-12)), std::cbrt(2.0), 1e-12);
    EXPECT_NEAR(static_cast<double>(ZeroIn(cubic, 0, 1e-12)), std::cbrt(2.0), 1e-12);
    // Bracketing far from the start, in both directions.
    EXPECT_NEAR(static_cast<double>(ZeroIn([](long double x) { return x - 1e6; }, 3, 0)), 1e6, 1e-6);
    EXPECT_NEAR(static_cast<double>(ZeroIn([](long double x) { return std::atan(x + 12345.5L); }, 0, 0)),
                -12345.5, 1e-9);
    // A root far below 1 is found to full relative accuracy.
    const long double tiny = ZeroIn([](long double x) { return x - 3e-20L; }, 1, 0);
    EXPECT_NEAR(static_cast<double>(tiny / 3e-20L), 1, 1e-12);
    // A start value that is a root is the answer.
    EXPECT_EQ(ZeroIn([](long double x) { return x - 2; }, 2, 0), 2);
}

TEST(TablesDistributions, LnGamma) {
    // ln Γ at both sides of the raise to 7, at the integers and at large x.
    // References: mpmath loggamma at 30 digits.
    EXPECT_NEAR(LnGamma(1), 0, 1e-15);
    EXPECT_NEAR(LnGamma(2), 0, 1e-15);
    EXPECT_NEAR(LnGamma(0.5), 0.5723649429247001, 1e-15);
    EXPECT_NEAR(LnGamma(6.999), 6.5773785044515136, 1e-14);
    EXPECT_NEAR(LnGamma(7), std::log(720.0), 1e-14);
    EXPECT_NEAR(LnGamma(1e-8), 18.420680738180209, 1e-14);
    EXPECT_NEAR(LnGamma(1e6 + 1), 12815518.38465817, 1e-8);
}

TEST(TablesDistributions, Densities) {
    EXPECT_NEAR(NormalDensity(2, 1, 3), std::exp(-0.5) / (2 * std::sqrt(2 * M_PI)), 1e-16);
    EXPECT_NEAR(ChiSquareDensity(2, 3), 0.5 * std::exp(-1.5), 1e-16);
    EXPECT_EQ(ChiSquareDensity(2, 1e-13), 0);
    EXPECT_NEAR(StudentDensity(1, 1), 1 / (2 * M_PI), 1e-16);
    EXPECT_NEAR(FisherDensity(2, 2, 1), 0.25, 1e-15);
    EXPECT_EQ(FisherDensity(2, 2, 1e-9), 0);
    EXPECT_NEAR(GammaDensity(1, 2), std::exp(-2.0), 1e-16);
    EXPECT_EQ(GammaDensity(1, 1e-11), 0);
    // s = 0.5: shape 4, scale 1/4.
    EXPECT_NEAR(GammaDensity(0.5, 1), 256.0 / 6 * std::exp(-4.0), 1e-14);
}
