#pragma once
// Legio risk: how long an invested capital of 100,000 lasts under yearly
// withdrawals while the yearly rate of return wanders at random.
#include "common/progress.h"
#include "modules/montecarlo/mcshared.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tarvik::montecarlo {

inline constexpr double kLegioCapital = 100000;
inline constexpr int kLegioClasses = 12;

// The settings window's texts, as typed.
struct LegioTexts {
    std::string rate = "14";
    int term = 20; // 10, 15 or 20
    std::string withdrawal;
    std::string same = "0.5";
    std::string fluctuation = "0.10";
    std::string runs = "10000";
};

enum class LegioField { Rate, Same, Withdrawal, Fluctuation, Runs };

struct LegioParams {
    double rate = 14; // percent
    int term = 20;
    long long withdrawal = 15098;
    double same = 0.5;
    double fluctuation = 0.1;
    int runs = 10000;
};

struct LegioCheck {
    std::optional<LegioParams> params;
    LegioField field = LegioField::Rate;
    std::string message;
};
// The largest withdrawal is computed from the rate and term texts themselves,
// never from an earlier reading.
LegioCheck CheckLegio(const LegioTexts& texts);

// The annuity of 100000 over `term` years at `ratePercent`:
// trunc(100000 r (1 + r)^n / ((1 + r)^n - 1)); empty when the rate is no
// number from 4 to 20.
std::optional<long long> LegioAnnuity(const std::string& rateText, int term);
long long LegioAnnuity(double ratePercent, int term);
// "Yearly withdrawal(<=A):" or "Yearly withdrawal:" and the field's text ("Unknown").
struct LegioWithdrawalLabel {
    std::string label;
    std::string field;
};
LegioWithdrawalLabel LegioWithdrawalTexts(const std::string& rateText, int term);

// The checkpoint years: 5 and 8 (term 10), 8 and 12 (15), 10 and 15 (20).
std::array<int, 2> LegioCheckpoints(int term);
// The class of a capital: 0 for nothing, c for (10000 (c - 1), 10000 c], 11 above 100000.
int LegioClass(double capital);
// "0", "0-10", "10-20", ..., "90-100", ">100".
std::string LegioClassLabel(int c);

// One run's outcome.
struct LegioRunOutcome {
    int ranOutYear = 0; // 0: the capital lasted
    std::array<int, 2> classes{};
};
// One run with the rate changes decided by `draw` (a real in [0, 1) per year).
LegioRunOutcome LegioRun(const LegioParams& p, const std::function<double()>& draw);

struct LegioResult {
    LegioParams params;
    bool stopped = false;
    int runs = 0; // completed
    std::array<int, 2> years{};
    std::array<std::array<long long, kLegioClasses>, 2> counts{};
    std::vector<long long> ranOut; // per year 1 .. n (index 0 unused)
    long long lasted = 0;

    double percentage(int checkpoint, int c) const;
    double largestPercentage() const;
    double chanceOfRunningOut() const; // percent
    double averageLifetime() const;    // years
    // The picture's texts in their order.
    std::vector<std::string> pictureTexts() const;
};

// R runs with the rate changes from the system generator. `onProgress` gets
// the run number at every trunc(R / 100)-th run; pending user events are
// handled after every run and the stop flag is tested before every run.
LegioResult RunLegio(const LegioParams& params, Progress& progress,
                     const std::function<void(int)>& onProgress = {});

} // namespace tarvik::montecarlo
