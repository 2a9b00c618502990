#pragma once
// Kelly betting on horses: fixed fractions of the capital bet in every race,
// the player's own fractions against the Kelly-optimal ones.
#include "modules/montecarlo/mcshared.h"

#include <array>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace tarvik::montecarlo {

inline constexpr int kMaxHorses = 10;
inline constexpr SpinLimits kKellyHorses{.min = 2, .max = 10, .initial = 10, .hint = "Min: 2 ; Max: 10"};
inline constexpr SpinLimits kKellyRaces{
    .min = 10, .max = 5000, .initial = 100, .hint = "Min: 10 ; Max: 5000"};
inline constexpr double kMinPayoff = 0.000001;

// The thirty fields as typed; only horses 1 .. horses are read.
struct KellyTexts {
    int horses = 10;
    int races = 100;
    std::array<std::string, kMaxHorses> probabilities;
    std::array<std::string, kMaxHorses> payoffs;
    std::array<std::string, kMaxHorses> fractions;
};

enum class KellyGroup { None, Probability, Payoff, Fraction };

struct KellyError {
    std::string message;
    KellyGroup group = KellyGroup::None; // the field to focus, if any
    int horse = 0;                       // 0-based
};

struct KellyInput {
    int races = 100;
    std::vector<double> p, u, f; // one per horse
};

// The checks of "OK" in their order; the first failure is the answer.
std::variant<KellyInput, KellyError> ValidateKelly(const KellyTexts& texts);

struct KellyFractions {
    std::vector<double> g;
    std::vector<int> order; // horses by decreasing p u (0-based)
    std::vector<double> R;  // R_k along the order
    double Rstar = 0;
    int kstar = 0;            // 1-based count of horses that get a fraction
    bool allNegative = false; // "All B-values are negative": every fraction 0
};

KellyFractions ComputeKellyFractions(const std::vector<double>& p, const std::vector<double>& u);

// Entries 1 .. 1000 of the winner table (index 0 unused); -1 names no horse.
// Horse i takes the entries up to min(1000, round(1000 (p_1 + ... + p_i))), the
// last horse that can win up to 1000, so that every entry names a horse.
std::array<int, 1001> KellyWinnerTable(const std::vector<double>& p);

// Growth in % per race: (exp(sum p_i ln(1 - F + x_i u_i)) - 1) x 100. Horses
// that cannot win add nothing; a horse that can win with a non-positive term
// gives -100.
double KellyTheoreticalRate(const std::vector<double>& p, const std::vector<double>& u,
                            const std::vector<double>& x);

struct KellyRun {
    KellyInput input;
    KellyFractions kelly;
    std::vector<int> winners;      // per race, -1 for none
    std::vector<double> own;       // capital after races 0 .. R (clamped to the double range)
    std::vector<double> kellyPath; // likewise
    double ownLog10 = 0;           // decimal logarithm of the end capital (-inf when 0)
    double kellyLog10 = 0;

    double SimulatedRate(bool kellyStrategy) const;
};

// R races with the system generator: winner = table[RandomInt(1000) + 1].
KellyRun RunKelly(const KellyInput& input);

// The top of the graph's capital scale for the largest capital M.
double KellyScaleTop(double largest);

// End capital in the graph: currency with 2 decimals (4 significant digits above 1e8).
std::string KellyGraphCapital(double log10Capital);

enum class ReportStyle { Title, Heading, Plain };
struct ReportLine {
    std::string text;
    ReportStyle style = ReportStyle::Plain;
};

std::vector<ReportLine> KellyReport(const KellyRun& run);

} // namespace tarvik::montecarlo
