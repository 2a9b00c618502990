#include "modules/montecarlo/kelly.h"

#include "common/numformat.h"
#include "common/numparse.h"
#include "common/random.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tarvik::montecarlo {

std::variant<KellyInput, KellyError> ValidateKelly(const KellyTexts& texts) {
    const int h = std::clamp(texts.horses, kKellyHorses.min, kKellyHorses.max);
    KellyInput in;
    in.races = texts.races;
    const auto h_ = static_cast<std::size_t>(h);
    in.p.resize(h_);
    in.u.resize(h_);
    in.f.resize(h_);
    for (int i = 0; i < h; ++i) {
        const auto v = TryStrToReal(texts.probabilities[static_cast<std::size_t>(i)]);
        if (!v) return KellyError{"A wrong number has been entered.", KellyGroup::Probability, i};
        if (*v < 0) return KellyError{"Negative probability is not possible!", KellyGroup::Probability, i};
        in.p[static_cast<std::size_t>(i)] = *v;
    }
    for (int i = 0; i < h; ++i) {
        const auto v = TryStrToReal(texts.payoffs[static_cast<std::size_t>(i)]);
        if (!v) return KellyError{"A wrong number has been entered.", KellyGroup::Payoff, i};
        in.u[static_cast<std::size_t>(i)] = std::max(*v, kMinPayoff);
    }
    for (int i = 0; i < h; ++i) {
        const auto v = TryStrToReal(texts.fractions[static_cast<std::size_t>(i)]);
        if (!v) return KellyError{"A wrong number has been entered.", KellyGroup::Fraction, i};
        if (*v < 0) return KellyError{"Negative fractions is not possible", KellyGroup::Fraction, i};
        in.f[static_cast<std::size_t>(i)] = *v;
    }
    double sp = 0, sf = 0;
    for (int i = 0; i < h; ++i) {
        sp += in.p[static_cast<std::size_t>(i)];
        sf += in.f[static_cast<std::size_t>(i)];
    }
    if (std::fabs(sp - 1) > 0.001) return KellyError{"Sum of the profit probabilities is not equal to 1"};
    if (sf > 1) return KellyError{"Sum of the fractions is larger then 1"};
    int above1 = 0, above2 = 0;
    for (int i = 0; i < h; ++i) {
        const double e = in.p[static_cast<std::size_t>(i)] * in.u[static_cast<std::size_t>(i)];
        if (e > 1) ++above1;
        if (e > 2) ++above2;
    }
    if (above1 == 0) return KellyError{"The condition on pay-off times probability are not satisfied"};
    if (above1 == h)
        return KellyError{"Not all profit probabilities times pay-off are allowed to be larger as 1."};
    if (above2 > 0)
        return KellyError{"The possibility of pay-out times profit probability is larger then 2."};
    return in;
}

KellyFractions ComputeKellyFractions(const std::vector<double>& p, const std::vector<double>& u) {
    const std::size_t h = p.size();
    KellyFractions k;
    k.g.assign(h, 0.0);
    std::vector<bool> taken(h, false);
    for (std::size_t n = 0; n < h; ++n) {
        int best = -1;
        for (std::size_t i = 0; i < h; ++i) {
            if (taken[i]) continue;
            if (best < 0 ||
                p[i] * u[i] > p[static_cast<std::size_t>(best)] * u[static_cast<std::size_t>(best)])
                best = static_cast<int>(i);
        }
        taken[static_cast<std::size_t>(best)] = true;
        k.order.push_back(best);
    }
    double A = 0, P = 0;
    for (std::size_t n = 0; n < h; ++n) {
        const auto i = static_cast<std::size_t>(k.order[n]);
        A += 1 / u[i];
        P += p[i];
        k.R.push_back(A < 1 ? (1 - P) / (1 - A) : -1.0);
    }
    double rstar = 100000;
    for (std::size_t n = 0; n < h; ++n) {
        if (k.R[n] >= 0 && k.R[n] <= rstar) {
            rstar = k.R[n];
            k.kstar = static_cast<int>(n) + 1;
        }
    }
    if (rstar == 100000) {
        k.allNegative = true;
        k.kstar = 0;
        k.Rstar = rstar;
        return k;
    }
    k.Rstar = rstar;
    for (int n = 0; n < k.kstar; ++n) {
        const auto i = static_cast<std::size_t>(k.order[static_cast<std::size_t>(n)]);
        k.g[i] = p[i] - rstar / u[i];
    }
    return k;
}

std::array<int, 1001> KellyWinnerTable(const std::vector<double>& p) {
    std::array<int, 1001> table;
    table.fill(-1);
    int last = -1;
    for (std::size_t i = 0; i < p.size(); ++i)
        if (p[i] > 0) last = static_cast<int>(i);
    double cumulative = 0;
    int filled = 0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        cumulative += p[i];
        int upTo = std::min(1000, static_cast<int>(std::lround(1000 * cumulative)));
        if (static_cast<int>(i) == last) upTo = 1000;
        for (int e = filled + 1; e <= upTo; ++e) table[static_cast<std::size_t>(e)] = static_cast<int>(i);
        filled = std::max(filled, upTo);
    }
    return table;
}

double KellyTheoreticalRate(const std::vector<double>& p, const std::vector<double>& u,
                            const std::vector<double>& x) {
    double F = 0;
    for (double v : x) F += v;
    double sum = 0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (p[i] <= 0) continue;
        const double term = 1 - F + x[i] * u[i];
        if (term <= 0) return -100.0;
        sum += p[i] * std::log(term);
    }
    return (std::exp(sum) - 1) * 100;
}

namespace {

constexpr double kNoCapital = -std::numeric_limits<double>::infinity();

// Keeps a capital as its decimal logarithm so that it never overflows; the
// path stores it clamped to the double range for the graph.
void Race(double& log10Capital, double F, double xw, double uw, bool won) {
    const double factor = (1 - F) + (won ? xw * uw : 0.0);
    if (factor <= 0 || log10Capital == kNoCapital)
        log10Capital = kNoCapital;
    else
        log10Capital += std::log10(factor);
}

double PathValue(double log10Capital) {
    if (log10Capital == kNoCapital) return 0;
    if (log10Capital > 300) return 1e300;
    return std::pow(10.0, log10Capital);
}

} // namespace

double KellyRun::SimulatedRate(bool kellyStrategy) const {
    const double l = kellyStrategy ? kellyLog10 : ownLog10;
    if (l == kNoCapital) return -100.0;
    const double races = static_cast<double>(winners.size());
    return (std::pow(10.0, l / races) - 1) * 100;
}

KellyRun RunKelly(const KellyInput& input) {
    KellyRun run;
    run.input = input;
    run.kelly = ComputeKellyFractions(input.p, input.u);
    const auto table = KellyWinnerTable(input.p);
    double Fown = 0, Fkelly = 0;
    for (double v : input.f) Fown += v;
    for (double v : run.kelly.g) Fkelly += v;
    run.own.push_back(1.0);
    run.kellyPath.push_back(1.0);
    for (int r = 0; r < input.races; ++r) {
        const int w = table[static_cast<std::size_t>(RandomInt(1000) + 1)];
        run.winners.push_back(w);
        const bool won = w >= 0;
        const auto wi = static_cast<std::size_t>(won ? w : 0);
        Race(run.ownLog10, Fown, won ? input.f[wi] : 0, won ? input.u[wi] : 0, won);
        Race(run.kellyLog10, Fkelly, won ? run.kelly.g[wi] : 0, won ? input.u[wi] : 0, won);
        run.own.push_back(PathValue(run.ownLog10));
        run.kellyPath.push_back(PathValue(run.kellyLog10));
    }
    return run;
}

double KellyScaleTop(double largest) {
    if (largest > 100000) return 100000;
    for (double d : {10000.0, 1000.0, 100.0, 10.0})
        if (largest > d) return (std::trunc(largest / d) + 1) * d;
    return 10;
}

std::string KellyGraphCapital(double log10Capital) {
    if (log10Capital == kNoCapital) return FormatCurrency(0, 15, 2);
    if (log10Capital > 8) return FormatCurrencyFromLog(log10Capital, 4, 2);
    return FormatCurrency(std::pow(10.0, log10Capital), 15, 2);
}

namespace {

std::string ReportCapital(double log10Capital) {
    if (log10Capital == kNoCapital) return FormatCurrency(0, 15, 4);
    return FormatCurrencyFromLog(log10Capital, 15, 4);
}

std::string Rate(double percent) {
    return FormatFixed(percent, 2) + "%";
}

} // namespace

std::vector<ReportLine> KellyReport(const KellyRun& run) {
    std::vector<ReportLine> lines;
    const KellyInput& in = run.input;
    lines.push_back({"Kelly Betting   (" + std::to_string(in.races) + " simulated races; rates per race)",
                     ReportStyle::Title});
    lines.push_back({std::string(60, '_'), ReportStyle::Title});
    lines.push_back({"", ReportStyle::Plain});
    lines.push_back(
        {"Horse     Profit Prob. pay-off        Own fraction    Fraction Kelly", ReportStyle::Heading});
    for (std::size_t i = 0; i < in.p.size(); ++i) {
        std::string line = i + 1 < 10 ? "Horse  " + std::to_string(i + 1) : "Horse " + std::to_string(i + 1);
        line += "    " + FormatFixed(in.p[i], 3);
        const double u = in.u[i];
        const int blanks = u < 10 ? 10 : u < 100 ? 9 : u < 1000 ? 8 : 7;
        line += std::string(static_cast<std::size_t>(blanks), ' ') + FormatFixed(u, 2);
        line += std::string(11, ' ') + FormatFixed(in.f[i], 5);
        line += std::string(9, ' ') + FormatFixed(run.kelly.g[i], 5);
        lines.push_back({line, ReportStyle::Plain});
    }
    const auto block = [&](const char* heading, double log10Capital, bool kelly,
                           const std::vector<double>& x) {
        lines.push_back({"", ReportStyle::Plain});
        lines.push_back({"", ReportStyle::Heading});
        lines.push_back({heading, ReportStyle::Heading});
        lines.push_back({"End capital :            " + ReportCapital(log10Capital), ReportStyle::Plain});
        lines.push_back(
            {"Simulated rate of return:     " + Rate(run.SimulatedRate(kelly)), ReportStyle::Plain});
        lines.push_back({"Theoretical rate of return:   " + Rate(KellyTheoreticalRate(in.p, in.u, x)),
                         ReportStyle::Plain});
    };
    block("                         Own strategy   ", run.ownLog10, false, in.f);
    block("               Kelly strategy", run.kellyLog10, true, run.kelly.g);
    return lines;
}

} // namespace tarvik::montecarlo
