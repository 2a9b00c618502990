// The texts of the printed tables, the graph captions and the graph data.
#include "common/numformat.h"
#include "modules/tables/distributions.h"
#include "modules/tables/tails.h"

#include <algorithm>
#include <cmath>

namespace tarvik::tables {

using detail::Tails;

namespace {

constexpr int kCellWidth = 12;
constexpr long double kPi = 3.141592653589793238462643383279502884L;

// The cascade of significant digits shared by probabilities and values,
// for 1e-6 < a.
std::string CascadeText(double a) {
    if (a >= 0.1) return FormatGeneral(a, 8);
    if (a >= 0.01) return FormatGeneral(a, 7);
    if (a >= 0.001) return FormatGeneral(a, 6);
    if (a >= 0.0001) return FormatGeneral(a, 5);
    return FormatFixed(a, 8);
}

std::string Pad(std::string text) {
    if (text.size() < kCellWidth) text.append(kCellWidth - text.size(), ' ');
    return text;
}

// The first cell of a value line: one blank before a value that is not negative.
std::string FirstCell(long double x) {
    if (x > kInfiniteLimit || x < -kInfiniteLimit) return Pad(TableValueText(x));
    return Pad((x >= 0 ? " " : "") + TableValueText(x));
}

std::string IntegerCell(long long x) {
    return Pad((x >= 0 ? " " : "") + std::to_string(x));
}

std::string Shortest(double v) {
    return FormatGeneral(v, 15);
}

long long HyperN(const Parameters& params) {
    return params.red + params.white;
}

} // namespace

// ---------------------------------------------------------------- number texts

std::string TableProbabilityText(double p) {
    if (p > kInfiniteLimit) return "Infinite";
    if (p < -kInfiniteLimit) return "-Infinite";
    if (p < 1e-12) return "0";
    if (p <= 1e-6) return FormatExponent(p, 3);
    return CascadeText(p);
}

std::string TableValueText(long double x) {
    if (x > kInfiniteLimit) return " Infinite";
    if (x < -kInfiniteLimit) return "-Infinite";
    if (x == 0) return "0";
    const long double a = std::fabs(x);
    if (a <= 1e-6L) return FormatExponent(x, 3);
    const std::string text = CascadeText(static_cast<double>(a));
    return x < 0 ? "-" + text : text;
}

// ---------------------------------------------------------------- table header

bool IsDiscrete(Distribution d) {
    return d == Distribution::Binomial || d == Distribution::Poisson || d == Distribution::Hypergeometric;
}

bool HasPercentiles(Distribution d) {
    return !IsDiscrete(d);
}

std::string TableTitle(Distribution d) {
    switch (d) {
    case Distribution::Normal:
        return "Standard normal distribution";
    case Distribution::Binomial:
        return "Binominal distribution";
    case Distribution::Poisson:
        return "Poisson distribution";
    case Distribution::Hypergeometric:
        return "Hypergeometric distribution";
    case Distribution::ChiSquare:
        return "Chi-square distribution";
    case Distribution::Student:
        return "Student's t distribution";
    case Distribution::Fisher:
        return "Fisher F distribution";
    case Distribution::Gamma:
        return "Gamma distribution (Expectation =1)";
    }
    return {};
}

std::string ColumnLine(Distribution d) {
    if (IsDiscrete(d)) return " x          P(X=x)      P(X<=x)     P(X>x)";
    if (d == Distribution::Normal) return " z          P(Z<=z)     P(Z>z)";
    return " x          P(X<=x)     P(X>x)";
}

std::string RuleLine(Distribution d) {
    return std::string(IsDiscrete(d) ? 46 : 34, '-');
}

std::string ParameterHeading(Distribution d) {
    switch (d) {
    case Distribution::Normal:
        return {};
    case Distribution::Poisson:
    case Distribution::ChiSquare:
    case Distribution::Student:
    case Distribution::Gamma:
        return "Parameter";
    default:
        return "Parameters";
    }
}

std::vector<ParameterLine> ParameterLines(Distribution d, const Parameters& params) {
    std::vector<std::pair<char, double>> entries;
    switch (d) {
    case Distribution::Normal:
        break;
    case Distribution::Binomial:
        entries = {{'n', static_cast<double>(params.n)}, {'p', params.p}};
        break;
    case Distribution::Poisson:
        entries = {{'l', params.lambda}};
        break;
    case Distribution::Hypergeometric:
        entries = {{'R', static_cast<double>(params.red)},
                   {'W', static_cast<double>(params.white)},
                   {'n', static_cast<double>(params.n)}};
        break;
    case Distribution::ChiSquare:
    case Distribution::Student:
        entries = {{'v', params.v}};
        break;
    case Distribution::Fisher:
        entries = {{'v', params.v}, {'w', params.w}};
        break;
    case Distribution::Gamma:
        entries = {{'s', params.s}};
        break;
    }
    std::vector<ParameterLine> lines;
    for (const auto& [letter, value] : entries) {
        std::string head = std::string(1, letter) + " =";
        head.append(7 - head.size(), ' ');
        lines.push_back({letter, head + Pad(TableProbabilityText(value))});
    }
    return lines;
}

// ---------------------------------------------------------------- table lines

std::string ProbabilityLine(Distribution d, const Parameters& params, double x) {
    if (IsDiscrete(d)) {
        const long long k = static_cast<long long>(std::floor(x));
        long double pmf = 0;
        Tails t;
        switch (d) {
        case Distribution::Binomial:
            pmf = rbinpro(params.n, params.p, static_cast<double>(k));
            t = detail::BinomialTails(params.n, params.p, k);
            break;
        case Distribution::Poisson:
            pmf = detail::PoissonPmfL(params.lambda, k);
            t = detail::PoissonTails(params.lambda, k);
            break;
        default:
            pmf = detail::HypergeometricPmfL(k, params.n, params.red, HyperN(params));
            t = detail::HypergeometricTails(k, params.n, params.red, HyperN(params));
            break;
        }
        return IntegerCell(k) + Pad(TableProbabilityText(static_cast<double>(pmf))) +
               Pad(TableProbabilityText(static_cast<double>(t.lower))) +
               Pad(TableProbabilityText(static_cast<double>(t.upper)));
    }
    Tails t;
    switch (d) {
    case Distribution::Normal:
        t = detail::NormalTails(x);
        break;
    case Distribution::ChiSquare:
        t = detail::ChiSquareTails(params.v, x);
        break;
    case Distribution::Student:
        t = detail::StudentTails(params.v, x);
        break;
    case Distribution::Fisher:
        t = detail::FisherTails(params.v, params.w, x);
        break;
    default:
        t = detail::GammaTails(params.s, x);
        break;
    }
    return FirstCell(x) + Pad(TableProbabilityText(static_cast<double>(t.lower))) +
           Pad(TableProbabilityText(static_cast<double>(t.upper)));
}

std::string PercentileLine(Distribution d, const Parameters& params, double p) {
    long double x = 0;
    switch (d) {
    case Distribution::Normal:
        x = detail::NormalQuantileL(p);
        break;
    case Distribution::ChiSquare:
        x = detail::ChiSquareQuantileL(params.v, p);
        break;
    case Distribution::Student:
        x = detail::StudentQuantileL(params.v, p);
        break;
    case Distribution::Fisher:
        x = detail::FisherQuantileL(params.v, params.w, p);
        break;
    case Distribution::Gamma:
        x = GammaQuantile(params.s, p);
        break;
    default:
        return {};
    }
    return FirstCell(x) + Pad(TableProbabilityText(p)) + Pad(TableProbabilityText(1 - p));
}

// ---------------------------------------------------------------- graphs

GraphMoments Moments(Distribution d, const Parameters& params) {
    GraphMoments m;
    auto general = [](double v) { return FormatGeneral(v, 3); };
    double skew = 0;
    bool skewText = true;
    switch (d) {
    case Distribution::Normal:
        m.mu = 0;
        m.sigma = 1;
        break;
    case Distribution::Binomial: {
        const double n = static_cast<double>(params.n), p = params.p;
        m.mu = n * p;
        m.sigma = std::sqrt(n * p * (1 - p));
        skew = (1 - 2 * p) / m.sigma;
        break;
    }
    case Distribution::Poisson:
        m.mu = params.lambda;
        m.sigma = std::sqrt(params.lambda);
        skew = 1 / m.sigma;
        m.muText = "Lambda = " + Shortest(params.lambda);
        break;
    case Distribution::Hypergeometric: {
        const double N = static_cast<double>(HyperN(params)), n = static_cast<double>(params.n);
        const double q = static_cast<double>(params.red) / N;
        m.mu = n * q;
        m.sigma = std::sqrt(n * q * (1 - q) * (N - n) / (N - 1));
        skew =
            (1 - 2 * q) / std::sqrt(n * q * (1 - q)) * std::sqrt((N - 1) / (N - n)) * (N - 2 * n) / (N - 2);
        break;
    }
    case Distribution::ChiSquare:
        m.mu = params.v;
        m.sigma = std::sqrt(2 * params.v);
        skew = std::pow(2.0, 1.5) / std::sqrt(params.v);
        break;
    case Distribution::Student:
        m.mu = 0;
        m.sigma = std::sqrt(params.v / (params.v - 2));
        m.skewnessText = "Skewness =  0.0";
        skewText = false;
        break;
    case Distribution::Fisher: {
        const double v = params.v, w = params.w;
        m.mu = w / (w - 2);
        m.sigma = std::sqrt(2 * w * w * (v + w - 2) / (v * (w - 2) * (w - 2) * (w - 4)));
        if (w < 7) {
            m.skewnessText = "Skewness =  OO";
            skewText = false;
        } else {
            skew = (2 * v + w - 2) * std::sqrt(8 * (w - 4)) / (std::sqrt(v) * std::sqrt(v + w - 2) * (w - 6));
        }
        break;
    }
    case Distribution::Gamma:
        m.mu = 1;
        m.sigma = params.s;
        skew = 2 * params.s;
        m.muText = "Mu = 1";
        break;
    }
    if (m.muText.empty()) m.muText = "Mu = " + general(m.mu);
    m.sigmaText = "Sigma = " + (d == Distribution::Gamma ? Shortest(params.s) : general(m.sigma));
    if (skewText) m.skewnessText = "Skewness = " + general(skew);
    return m;
}

GraphData PrepareGraph(Distribution d, const Parameters& params) {
    GraphData g;
    g.moments = Moments(d, params);
    const double mu = g.moments.mu, sigma = g.moments.sigma;
    g.xmin = mu - 3 * sigma;
    g.xmax = mu + 3 * sigma;
    g.continuous = !IsDiscrete(d);
    const double dx = (g.xmax - g.xmin) / kGraphPoints;
    auto point = [&](int i) { return g.xmin + (i - 1) * dx; }; // i = 1 ... 450

    switch (d) {
    case Distribution::Binomial:
        g.name = Format("Binominal (%lld;%s) distribution", params.n, Shortest(params.p).c_str());
        g.caption = "Graph Binominal";
        for (long long k = 0; k <= params.n; ++k)
            g.values.push_back(rbinpro(params.n, params.p, static_cast<double>(k)));
        break;
    case Distribution::Poisson: {
        g.name = "Poisson(" + Shortest(params.lambda) + ") verdeling";
        g.caption = "Graph Poisson";
        double largest = 0;
        for (long long k = 0;; ++k) {
            const double pk = PoissonPmf(params.lambda, k);
            g.values.push_back(pk);
            if (pk < largest && pk < 0.0001) break;
            largest = std::max(largest, pk);
        }
        break;
    }
    case Distribution::Hypergeometric: {
        const long long N = HyperN(params);
        g.name = Format("Hypergeometric (%lld;%lld;%lld) distribution", params.red, params.white, params.n);
        g.caption = "Graph Hypergeometric";
        for (long long k = 0; k <= N - 1; ++k)
            g.values.push_back(HypergeometricPmf(k, params.n, params.red, N));
        break;
    }
    case Distribution::ChiSquare:
        g.name = Format("Chi-square(%lld)", static_cast<long long>(params.v));
        g.caption = "Graph Chi-square";
        g.verticalLine = params.v <= 2;
        for (int i = 1; i <= kGraphPoints; ++i) {
            const double x = point(i);
            const bool cut = (params.v == 1 && x <= 0.5) || (params.v == 2 && x <= 0.01);
            g.values.push_back(cut ? 0 : ChiSquareDensity(params.v, x));
        }
        break;
    case Distribution::Student:
        g.name = "Student-t(" + Shortest(params.v) + ")";
        g.caption = "Graph Student-t";
        for (int i = 1; i <= kGraphPoints; ++i) g.values.push_back(StudentDensity(params.v, point(i)));
        break;
    case Distribution::Fisher:
        g.name = "Fishers F(" + Shortest(params.v) + ";" + Shortest(params.w) + ")";
        g.caption = "Graph Fisher F";
        g.verticalLine = params.v <= 2;
        for (int i = 1; i <= kGraphPoints; ++i) {
            const double x = point(i);
            const bool cut = (params.v == 1 && x <= 0.5) || (params.v == 2 && x <= 0.01);
            g.values.push_back(cut ? 0 : FisherDensity(params.v, params.w, x));
        }
        break;
    case Distribution::Gamma:
        g.name = "Gamma distribution";
        g.caption = "Graph Gamma";
        for (int i = 1; i <= kGraphPoints; ++i) g.values.push_back(GammaDensity(params.s, point(i)));
        break;
    case Distribution::Normal:
        break;
    }

    g.normal.reserve(kGraphPoints);
    for (int i = 1; i <= kGraphPoints; ++i) g.normal.push_back(NormalDensity(sigma, mu, point(i)));
    g.ymax = g.values.empty() ? 0 : *std::max_element(g.values.begin(), g.values.end());
    if (d != Distribution::Gamma)
        g.ymax = std::max(g.ymax, static_cast<double>(1 / (sigma * std::sqrt(2 * kPi))));
    return g;
}

} // namespace tarvik::tables
