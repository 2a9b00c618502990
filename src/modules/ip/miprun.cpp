#include "modules/ip/miprun.h"

#include "modules/ip/mipgraphical.h"
#include "modules/ip/mipreport.h"

namespace tarvik::ip {

namespace {

// Hands the reader's progress on to the dialog.
class ReaderProgress : public ReadSink {
public:
    explicit ReaderProgress(MIPProgress& progress) : progress_(progress) {}
    void line(int n) override { progress_.line(n); }
    void variables(int n) override { progress_.variables(n); }
    void conditions(int n) override { progress_.conditions(n); }

private:
    MIPProgress& progress_;
};

// Keeps the last result line the solver sends.
class ResultLine : public MIPProgress {
public:
    explicit ResultLine(MIPProgress& to) : to_(to) {}
    void yield() override { to_.yield(); }
    bool stopRequested() const override { return to_.stopRequested(); }
    void iteration(long n) override { to_.iteration(n); }
    void lowerBound(double v) override { to_.lowerBound(v); }
    void upperBound(double v) override { to_.upperBound(v); }
    void resultLine(const std::string& text) override {
        line = text;
        to_.resultLine(text);
    }
    std::string line;

private:
    MIPProgress& to_;
};

} // namespace

MIPRunResult RunMIP(std::string_view modelText, MIPProgress& progress, const MIPRunOptions& options) {
    MIPRunResult result;
    ReaderProgress sink(progress);
    MIPReadResult read = ReadMIPModel(modelText, sink);
    result.output = std::move(read.echo);
    if (!read.success) {
        result.errorPosition = read.errorPosition;
        result.message = "Syntax error: " + read.message;
        return result;
    }
    ResultLine solverProgress(progress);
    result.solve = MIPSolve(read.model, solverProgress, options.search, options.log);
    MIPReport(read.model, result.solve, result.output);
    result.success = true;
    result.message = solverProgress.line;
    if (result.solve.haveIncumbent)
        result.objective = read.model.minimize ? -result.solve.objective : result.solve.objective;
    if (options.graphical) result.graphical = GraphicalOf(read.model, result.solve);
    return result;
}

} // namespace tarvik::ip
