#pragma once
// The tableaus in fractions: the two-phase simplex method of lpsimplex run
// once more in exact rational arithmetic, with the model's numbers as the
// text wrote them (every decimal is an exact fraction), printing every entry
// as a reduced fraction. The report is then written from the exact final
// tableau, rounded to the nearest doubles.
#include "modules/lp/lpsimplex.h"
#include "modules/lp/modeltext.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik::lp {

// The largest model shown in fractions: its constraint rows and its decision
// variables (the slack, surplus and artificial columns of the rows come on top).
inline constexpr int kFractionMaxRows = 30;
inline constexpr int kFractionMaxVariables = 30;
inline constexpr const char* kFractionSizeNotice =
    "Fractions are shown for models of at most 30 rows and 30 columns.";

// A reader's progress sink that also keeps the model's numbers as written
// (while the model stays within the limits above) and hands the progress on.
class ExactTerms : public ReadSink {
public:
    explicit ExactTerms(ReadSink* forward = nullptr) : forward_(forward) {}
    void line(int n) override {
        if (forward_) forward_->line(n);
    }
    void variables(int n) override {
        if (forward_) forward_->variables(n);
    }
    void conditions(int n) override {
        if (forward_) forward_->conditions(n);
    }
    void errorLine(const std::string& s) override {
        if (forward_) forward_->errorLine(s);
    }
    void term(int constraint, int variable, bool negative, std::string_view digits) override;
    void turned(int constraint) override;

    struct Term {
        int constraint, variable;
        bool negative;
        std::string digits;
    };
    const std::vector<Term>& terms() const { return terms_; }
    const std::vector<int>& turnedRows() const { return turned_; }
    // A term beyond the limits was met: the model is too large for fractions.
    bool tooLarge() const { return tooLarge_; }

private:
    ReadSink* forward_;
    std::vector<Term> terms_;
    std::vector<int> turned_;
    bool tooLarge_ = false;
};

struct FractionOutcome {
    // Empty when the run took place; otherwise why the model is not shown in
    // fractions (one line for the output), and nothing else is set.
    std::string refusal;
    SimplexOutcome outcome;
    // The final tableau as reduced fractions ("-3/4", "12"), rows 0..m and
    // columns 1..n+1, entry (i, j) at i * (n + 1) + j - 1.
    std::vector<std::string> tableau;
    std::vector<std::string> values; // [1..n]: the final value of every column
    std::string objective;           // the objective value as reported (MIN: negated)
    // Pivot choices that met an exact tie (equal reduced costs or equal
    // ratios), where the decimal run's rounding may choose otherwise.
    long ties = 0;
};

// Solves `model` (as ReadLPModel built it from the terms `exact` kept) in exact
// arithmetic: the same entering and leaving rules as Simplex, compared exactly
// (an entry counts as nonzero when it is not exactly 0; ratios of 1e10 and more
// still count as no ratio), the same output with every number a fraction, and a
// lowest-index rule while the method cycles. On return `model` holds the final
// tableau rounded to the nearest doubles, for the report. An observer sees
// every pass's basic solution, as Simplex shows it one.
FractionOutcome FractionSimplex(LPModel& model, const ExactTerms& exact, OutputMode mode,
                                LPProgress& progress, std::string& out, SimplexObserver* observer = nullptr);

} // namespace tarvik::lp
