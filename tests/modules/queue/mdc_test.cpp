#include "modules/queue/mdc.h"
#include "modules/queue/mmc.h"

#include <cmath>
#include <complex>
#include <gtest/gtest.h>

namespace tarvik::queue {
namespace {

// Pwait from the c - 1 roots inside the unit circle of z^c = e^(lambda (z - 1)):
// the probability of fewer than c at a slot epoch is (c - lambda) / prod(1 - z_k).
double PwaitFromRoots(int c, double rho) {
    const double lambda = c * rho;
    std::complex<double> prod = 1;
    for (int k = 1; k < c; ++k) {
        const std::complex<double> w = std::polar(1.0, 2 * M_PI * k / c);
        std::complex<double> z = 0;
        for (int i = 0; i < 2000; ++i) z = w * std::exp(lambda * (z - 1.0) / static_cast<double>(c));
        prod *= 1.0 - z;
    }
    return 1 - (c - lambda) / prod.real();
}

// P{Wq <= t} of the M/D/1 queue as an alternating finite sum.
double MD1WaitAtMost(double rho, double t) {
    double s = 0;
    for (int i = 0; i <= static_cast<int>(std::floor(t)); ++i)
        s += std::pow(-rho * (t - i), i) / std::tgamma(i + 1.0) * std::exp(rho * (t - i));
    return (1 - rho) * s;
}

TEST(MDc, SingleServerClosedForms) {
    for (double rho : {0.2, 0.5, 0.9}) {
        const MDcResult s = SolveMDc(1, rho);
        EXPECT_NEAR(s.pwait, rho, 1e-10);
        EXPECT_NEAR(s.elq, rho * rho / (2 * (1 - rho)), 1e-10);
        EXPECT_LT(s.accuracy, 1e-9);
        for (double t : {0.0, 0.3, 1.0, 2.5, 4.75, 8.0}) {
            const double exact = 1 - MD1WaitAtMost(rho, t);
            EXPECT_NEAR(s.Wait(t), exact, 1e-9) << rho << " " << t;
        }
    }
}

TEST(MDc, PwaitAgreesWithTheCharacteristicRoots) {
    for (int c : {2, 3, 5, 8})
        for (double rho : {0.3, 0.7, 0.95}) {
            const MDcResult s = SolveMDc(c, rho);
            EXPECT_NEAR(s.pwait, PwaitFromRoots(c, rho), 1e-9) << c << " " << rho;
            EXPECT_NEAR(s.Wait(0), s.pwait, 1e-9) << c << " " << rho;
            EXPECT_LT(s.pwait, SolveMMC(c, rho).pwait);
            EXPECT_LT(s.accuracy, 1e-8);
        }
}

TEST(MDc, WaitingTimeIntegratesToItsMean) {
    for (int c : {2, 4})
        for (double rho : {0.6, 0.85}) {
            const MDcResult s = SolveMDc(c, rho);
            // Trapezoid sum over the exact part and the asymptote alike.
            const double h = 0.01;
            double m = 0;
            for (double t = 0; t < 60; t += h) m += 0.5 * (s.Wait(t) + s.Wait(t + h)) * h;
            EXPECT_NEAR(m, s.ewq, 2e-5 * (1 + s.ewq)) << c << " " << rho;
        }
}

TEST(MDc, ExactFormulaMeetsTheAsymptote) {
    // Also where the waiting probability is far below rounding noise of 1.
    for (auto [c, rho] : {std::pair{50, 0.99}, {100, 0.99}, {10, 0.9}, {100, 0.9}}) {
        const MDcResult s = SolveMDc(c, rho);
        const double edge = 250.0 / c;
        const double below = s.Wait(edge * (1 - 1e-9)), above = s.Wait(edge);
        EXPECT_NEAR(below / above, 1, 1e-3) << c << " " << below << " " << above;
        EXPECT_GT(above, 0);
    }
}

TEST(MDc, LargestSystemAndPercentiles) {
    EXPECT_EQ(MDcTruncation(500, 0.99), 744);
    const MDcResult big = SolveMDc(500, 0.99);
    EXPECT_EQ(big.N(), 744);
    EXPECT_NEAR(big.f.back() + big.pi.back() * big.beta / (1 - big.beta), 1, 1e-9);
    EXPECT_LT(big.accuracy, 1e-6);
    EXPECT_LT(big.pwait, SolveMMC(500, 0.99).pwait);

    const MDcResult s = SolveMDc(3, 0.8);
    EXPECT_FALSE(s.Percentile(1 - s.pwait - 0.01));
    EXPECT_EQ(*s.Percentile(1 - s.pwait), 0);
    for (double p : {0.5, 0.9, 0.999, 0.99999}) {
        const auto q = s.Percentile(p);
        ASSERT_TRUE(q);
        EXPECT_NEAR(s.Wait(*q) / (1 - p), 1, 1e-4) << p;
    }
    // Small loads: the percentile is found, never reported as 0.
    const MDcResult light = SolveMDc(2, 0.05);
    const auto q = light.Percentile(0.999999);
    ASSERT_TRUE(q);
    EXPECT_GT(*q, 0);
    EXPECT_NEAR(light.Wait(*q) / 1e-6, 1, 1e-3);
}

std::vector<std::string> Texts(const RunResult& r) {
    std::vector<std::string> t;
    for (const auto& l : r.report.lines) t.push_back(l.text);
    return t;
}

TEST(MDc, PageInputsGuardAndReport) {
    const std::pair<std::pair<const char*, const char*>, const char*> errors[] = {
        {{"", "0.5"}, "c incorrect"},         {{"0", "0.5"}, "c out of range"},
        {{"501", "0.5"}, "c out of range"},   {{"2", "."}, "Rho incorrect"},
        {{"2", "0.991"}, "Rho out of range"}, {{"2", "0"}, "Rho out of range"},
    };
    for (const auto& [fields, message] : errors) {
        PageInput in;
        in.fields = {{"c", fields.first}, {"rho", fields.second}};
        const RunResult r = RunPage(Page::MDC, in);
        EXPECT_EQ(r.inputError, message);
        EXPECT_TRUE(r.report.lines.empty());
    }
    const std::vector<std::string> refused = {"Rho too small for meaningful results", ""};
    const auto run = [](const char* c, const char* rho) {
        PageInput in;
        in.fields = {{"c", c}, {"rho", rho}};
        return Texts(RunPage(Page::MDC, in));
    };
    EXPECT_EQ(run("5", "0.00001"), refused);
    EXPECT_EQ(run("6", "0.0001"), refused);
    EXPECT_NE(run("6", "0.0002"), refused);
    EXPECT_EQ(run("60", "0.1"), refused);

    PageInput in;
    in.fields = {{"c", "1"}, {"rho", "0.5"}};
    in.choices = {{"output", "states"}};
    in.nvalues = {"0", "1", "100"};
    const std::vector<std::string> lines = Texts(RunPage(Page::MDC, in));
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[0], "M/D/c queue");
    EXPECT_EQ(lines[1], "Parameters: c=1  rho=0.5");
    EXPECT_EQ(lines[3], "         Pbusy   = 0.5");
    EXPECT_EQ(lines[9], "   n      P{L=n}      P{L>n}");
    EXPECT_EQ(lines[10], "   0   0.5000000   0.5000000");
    in.choices = {{"output", "graphs"}};
    in.fields = {{"c", "4"}, {"rho", "0.8"}};
    const RunResult g = RunPage(Page::MDC, in);
    ASSERT_TRUE(g.graphWindow);
    EXPECT_EQ(g.graphWindow->title, "Logarithmic Graphs of the M/D/c queue");
    EXPECT_EQ(g.graphWindow->label1, "c =    4");
    ASSERT_EQ(g.graphWindow->graphs.size(), 2u);
    for (const GraphData& d : g.graphWindow->graphs) {
        ASSERT_GE(d.points.size(), 10u);
        EXPECT_LE(d.points.back().second, 0.001 * (1 + 1e-6));
        for (std::size_t i = 1; i < d.points.size(); ++i)
            EXPECT_LE(d.points[i].second, d.points[i - 1].second + 1e-12);
    }
}

} // namespace
} // namespace tarvik::queue
