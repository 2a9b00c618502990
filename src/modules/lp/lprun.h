#pragma once
// One run of a linear-programming model text: read, solve, report. This is what
// the LP window's run protocol, the command-line solver and the benchmarks call.
#include "common/progress.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace tarvik::lp {

struct GraphicalSolution;

enum class OutputMode { NoTableaus = 0, FirstLast = 1, All = 2 };

struct LPSettings {
    OutputMode output = OutputMode::NoTableaus;
    bool sensitivity = true;
    // False when only the verdict and the objective value are wanted: the
    // solve and its checks run as always, the report is not written.
    bool report = true;
    // The graphical method for a model with two variables (the run's result
    // then holds it); the output text stays as it is.
    bool graphical = false;
    // The tableaus in exact fractions (models of at most 30 rows and 30
    // variables; larger ones run in decimals with a line that says so).
    bool fractions = false;
};

// What the progress dialog shows while a run goes on. Every call may repaint.
class LPProgress : public tarvik::Progress {
public:
    virtual void line(int) {}       // "Line": the line the reader is on
    virtual void variables(int) {}  // "Variables"
    virtual void conditions(int) {} // "Conditions"
    virtual void phase(int) {}      // "Phase" of the simplex method
    virtual void iteration(long) {} // "Iteration"
    // The output so far, offered after each block of a printed tableau: a sink
    // may write it away and clear it, or shorten it (see OutputCap). What it
    // leaves is what the run goes on appending to.
    virtual void output(std::string& /*text*/) {}
};

// For a sink that keeps the whole output in memory: once the text passes the
// limit, it is cut at a line end, a line says so, and later tableau text is
// dropped; what the run writes after the tableaus (the result) still follows.
class OutputCap {
public:
    explicit OutputCap(std::size_t limit) : limit_(limit) {}
    void take(std::string& text);
    bool stopped() const { return stopped_ != std::string::npos; }

private:
    std::size_t limit_;
    std::size_t stopped_ = std::string::npos;
};

// What the LP window keeps of a run's output at most.
inline constexpr std::size_t kMaxWindowOutputBytes = std::size_t{64} << 20;

struct LPRunResult {
    bool success = false;   // false: the model text has a syntax error
    std::string output;     // the echo, solver output and report, CR LF line ends
    long errorPosition = 0; // 1-based offset of the offending character (0: none)
    std::string message;    // the progress dialog's error line
    // After a successful read only:
    int status = -1;      // 0 optimal, 1 unbounded, 2 infeasible, 3 stopped
    double objective = 0; // the reported objective value in full precision (optimal only)
    bool reliable = true; // false: a check against the original model failed (the output says why)
    long iterations = 0;  // simplex passes
    // With LPSettings::graphical, for a model with two variables that ran to
    // a verdict: the region, its optimum and the simplex path of this run.
    std::shared_ptr<const GraphicalSolution> graphical;
};

LPRunResult RunLP(std::string_view modelText, const LPSettings& settings, LPProgress& progress);

} // namespace tarvik::lp
