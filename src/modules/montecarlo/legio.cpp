#include "modules/montecarlo/legio.h"

#include "common/numformat.h"
#include "common/numparse.h"
#include "common/random.h"

#include <algorithm>
#include <cmath>

namespace tarvik::montecarlo {

namespace {

bool Whole(double v) {
    return std::isfinite(v) && std::floor(v) == v;
}

LegioCheck Refuse(LegioField field, std::string message) {
    LegioCheck c;
    c.field = field;
    c.message = std::move(message);
    return c;
}

} // namespace

long long LegioAnnuity(double ratePercent, int term) {
    const double r = ratePercent / 100;
    const double g = std::pow(1 + r, term);
    return static_cast<long long>(kLegioCapital * r * g / (g - 1));
}

std::optional<long long> LegioAnnuity(const std::string& rateText, int term) {
    const auto rate = TryStrToReal(rateText);
    if (!rate || *rate < 4 || *rate > 20) return std::nullopt;
    return LegioAnnuity(*rate, term);
}

LegioWithdrawalLabel LegioWithdrawalTexts(const std::string& rateText, int term) {
    const auto a = LegioAnnuity(rateText, term);
    if (!a) return {"Yearly withdrawal:", "Unknown"};
    return {"Yearly withdrawal(<=" + std::to_string(*a) + "):", std::to_string(*a)};
}

LegioCheck CheckLegio(const LegioTexts& t) {
    const auto rate = TryStrToReal(t.rate);
    if (!rate) return Refuse(LegioField::Rate, "Invalid number for return percentage");
    if (*rate < 4 || *rate > 20)
        return Refuse(LegioField::Rate, "Return percentage must be between 4 and 20 percent");
    const auto same = TryStrToReal(t.same);
    if (!same) return Refuse(LegioField::Same, "Invalid number for return percentage");
    if (*same < 0 || *same > 1)
        return Refuse(LegioField::Same,
                      "The probability that the return will remain equal must be between 0 and 1");
    const long long a = LegioAnnuity(*rate, t.term);
    const auto w = TryStrToReal(t.withdrawal);
    if (!w || !Whole(*w)) return Refuse(LegioField::Withdrawal, "Withdrawal amount must be a whole number");
    if (*w < 0)
        return Refuse(LegioField::Withdrawal, Format("Withdrawal amount must be between 0 and %lld", a));
    if (*w > static_cast<double>(a))
        return Refuse(LegioField::Withdrawal, Format("The amount of withdrawal can be max %lld", a));
    const auto f = TryStrToReal(t.fluctuation);
    if (!f) return Refuse(LegioField::Fluctuation, "Value not valid for increase factor.");
    if (*f < 0 || *f > 0.5)
        return Refuse(LegioField::Fluctuation, "The increase factor must be between 0 and 0.5.");
    const auto runs = TryStrToReal(t.runs);
    if (!runs || !Whole(*runs)) return Refuse(LegioField::Runs, "Number of runs must be an integer");
    if (*runs < 1000 || *runs > 100000)
        return Refuse(LegioField::Runs, "Number of runs must be between 1000 and 100000");
    LegioCheck ok;
    ok.params = LegioParams{.rate = *rate,
                            .term = t.term,
                            .withdrawal = static_cast<long long>(*w),
                            .same = *same,
                            .fluctuation = *f,
                            .runs = static_cast<int>(*runs)};
    return ok;
}

std::array<int, 2> LegioCheckpoints(int term) {
    if (term == 10) return {5, 8};
    if (term == 15) return {8, 12};
    return {10, 15};
}

int LegioClass(double capital) {
    if (capital <= 0) return 0;
    if (capital > kLegioCapital) return 11;
    return std::clamp(static_cast<int>(std::ceil(capital / 10000)), 1, 10);
}

std::string LegioClassLabel(int c) {
    if (c == 0) return "0";
    if (c == 11) return ">100";
    return std::to_string(10 * (c - 1)) + "-" + std::to_string(10 * c);
}

LegioRunOutcome LegioRun(const LegioParams& p, const std::function<double()>& draw) {
    LegioRunOutcome out;
    const std::array<int, 2> years = LegioCheckpoints(p.term);
    const auto w = static_cast<double>(p.withdrawal);
    double capital = kLegioCapital;
    double r = p.rate / 100;
    for (int j = 1; j <= p.term; ++j) {
        const double u = draw();
        if (u <= p.same) {
        } else if (u <= p.same + (1 - p.same) / 2) {
            r *= 1 + p.fluctuation;
        } else {
            r *= 1 - p.fluctuation;
        }
        capital += capital * r;
        if (out.ranOutYear == 0 && capital < (j == p.term ? 0.999 * w : w)) out.ranOutYear = j;
        capital = std::max(capital - w, 0.0);
        for (int k = 0; k < 2; ++k)
            if (j == years[k]) out.classes[k] = LegioClass(capital);
    }
    return out;
}

double LegioResult::percentage(int checkpoint, int c) const {
    return runs > 0 ? 100.0 * counts[checkpoint][c] / params.runs : 0;
}

double LegioResult::largestPercentage() const {
    double m = 0;
    for (int k = 0; k < 2; ++k)
        for (int c = 0; c < kLegioClasses; ++c) m = std::max(m, percentage(k, c));
    return m;
}

double LegioResult::chanceOfRunningOut() const {
    if (runs == 0) return 0;
    long long out = 0;
    for (long long v : ranOut) out += v;
    return 100.0 * out / params.runs;
}

double LegioResult::averageLifetime() const {
    if (runs == 0) return 0;
    double sum = static_cast<double>(params.term) * lasted;
    for (std::size_t j = 1; j < ranOut.size(); ++j) sum += static_cast<double>(j) * ranOut[j];
    return sum / params.runs;
}

std::vector<std::string> LegioResult::pictureTexts() const {
    return {
        "Rate of return " + FormatFixed(params.rate, 1) + "%",
        "Term of investment: " + std::to_string(params.term) + " year",
        "Amount to be withdrawn " + FormatFixed(static_cast<double>(params.withdrawal), 0) + " dollars",
        "P(same rate of return) " + FormatGeneral(params.same, 10),
        "Fluctuation factor: " + FormatGeneral(params.fluctuation, 10),
        "Number of runs : " + std::to_string(params.runs),
        Format("Capital after %d years.", years[0]),
        Format("Capital after %d years.", years[1]),
        "Chance of running out of capital: " + FormatFixed(chanceOfRunningOut(), 2) + "%",
        "Capital lasts on average: " + FormatFixed(averageLifetime(), 2) + " year",
    };
}

LegioResult RunLegio(const LegioParams& params, Progress& progress,
                     const std::function<void(int)>& onProgress) {
    LegioResult r;
    r.params = params;
    r.years = LegioCheckpoints(params.term);
    r.ranOut.assign(static_cast<std::size_t>(params.term) + 1, 0);
    const int every = std::max(params.runs / 100, 1);
    const std::function<double()> draw = [] { return RandomReal(); };
    for (int i = 1; i <= params.runs; ++i) {
        if (progress.stopRequested()) {
            r.stopped = true;
            return r;
        }
        if (onProgress && i % every == 0) onProgress(i);
        const LegioRunOutcome o = LegioRun(params, draw);
        if (o.ranOutYear > 0)
            ++r.ranOut[static_cast<std::size_t>(o.ranOutYear)];
        else
            ++r.lasted;
        for (int k = 0; k < 2; ++k) ++r.counts[k][static_cast<std::size_t>(o.classes[k])];
        r.runs = i;
        progress.yield();
    }
    return r;
}

} // namespace tarvik::montecarlo
