#pragma once
// The newsboy problem: the profit distribution of two order quantities under
// a discrete demand distribution (uniform, triangular or the user's own).
#include "common/progress.h"
#include "modules/montecarlo/mcshared.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace tarvik::montecarlo {

inline constexpr SpinLimits kNewsboyBins{.min = 5, .max = 25, .initial = 10, .hint = "min 5 ; max 25"};
// Demands the profit tables hold.
inline constexpr int kNewsboyMaxDemand = 500;
inline constexpr int kNewsboyOwnDemands = 11; // 0 .. 10

enum class NewsboyDistribution { Uniform, Triangular, Own };

// The texts of the settings window, as typed.
struct NewsboyTexts {
    std::string q1 = "200", q2 = "250";
    std::string price = "2", salvage = "0.5", penalty = "1";
    std::string runs = "10000";
    int bins = 10;
    NewsboyDistribution distribution = NewsboyDistribution::Uniform;
    std::string uniformA = "100", uniformB = "300";
    std::string triangularA = "100", triangularB = "300", triangularM = "200";
    std::array<std::string, kNewsboyOwnDemands> own{"0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"};
};

// The fields of the settings window, for focusing the one refused.
enum class NewsboyField {
    Q1,
    Q2,
    Price,
    Salvage,
    Penalty,
    Runs,
    UniformA,
    UniformB,
    TriangularA,
    TriangularB,
    TriangularM,
    Own, // with `ownColumn`
};

struct NewsboyParams {
    int q1 = 200, q2 = 250;
    double price = 2, salvage = 0.5, penalty = 1;
    int bins = 10;
    int runs = 10000;
    NewsboyDistribution distribution = NewsboyDistribution::Uniform;
    int a = 100, b = 300, m = 200;
    std::array<double, kNewsboyOwnDemands> own{};
};

// The outcome of checking the texts: the parameters, or the field to focus
// and the message to show (empty: the field only gets the focus).
struct NewsboyCheck {
    std::optional<NewsboyParams> params;
    NewsboyField field = NewsboyField::Q1;
    int ownColumn = 0;
    std::string message;
};
NewsboyCheck CheckNewsboy(const NewsboyTexts& texts);

// The profit of order quantity q at demand d (the purchase cost of q units is q).
double NewsboyProfit(const NewsboyParams& p, int q, int d);
// The lowest and highest demand that can occur.
int NewsboyLowDemand(const NewsboyParams& p);
int NewsboyHighDemand(const NewsboyParams& p);
// The own distribution's table: entry e (1 .. 100) holds the smallest demand j
// whose running sum of round(100 p_i) reaches e.
std::array<int, 101> NewsboyOwnTable(const std::array<double, kNewsboyOwnDemands>& own);
// The nearest whole demand of a triangular draw U.
int NewsboyTriangularDemand(double u, int a, int b, int m);
// One demand from the system generator.
int NewsboyDemand(const NewsboyParams& p, const std::array<int, 101>& ownTable);

struct NewsboyResult {
    NewsboyParams params;
    double lo = 0, hi = 0, width = 0;
    std::array<double, 2> mean{};
    std::array<double, 2> meanOfSquares{};
    std::array<Interval, 2> interval{};
    std::array<std::vector<double>, 2> percentages; // per bin, K entries
    std::array<std::vector<long long>, 2> counts;

    int quantity(int which) const { return which == 0 ? params.q1 : params.q2; }
    // The largest bin percentage of both order quantities.
    double largestPercentage() const;
    // The lower bound of bin j (1-based): lo + (j - 1) w.
    double binLow(int j) const { return lo + (j - 1) * width; }
    // "Q1 =%4d   Expected profit %7.1f".
    std::string legend(int which) const;
};

// Bin (1 .. K) of a profit: lo + (j - 1) w <= v < lo + j w, the last bin closed.
int NewsboyBin(double v, double lo, double width, int bins);

// n runs with demands from the system generator; no user events are handled.
NewsboyResult RunNewsboy(const NewsboyParams& params);

std::vector<StyledLine> NewsboyReport(const NewsboyResult& r);

} // namespace tarvik::montecarlo
