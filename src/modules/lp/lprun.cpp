#include "modules/lp/lprun.h"

#include "modules/lp/lpreport.h"
#include "modules/lp/lpsimplex.h"
#include "modules/lp/matgen.h"

namespace tarvik::lp {

namespace {

// Hands the reader's progress on to the dialog.
class ReaderProgress : public ReadSink {
public:
    explicit ReaderProgress(LPProgress& progress) : progress_(progress) {}
    void line(int n) override { progress_.line(n); }
    void variables(int n) override { progress_.variables(n); }
    void conditions(int n) override { progress_.conditions(n); }

private:
    LPProgress& progress_;
};

} // namespace

LPRunResult RunLP(std::string_view modelText, const LPSettings& settings, LPProgress& progress) {
    LPRunResult result;
    ReaderProgress sink(progress);
    LPReadResult read = ReadLPModel(modelText, sink);
    result.output = std::move(read.echo);
    if (!read.success) {
        result.success = false;
        result.errorPosition = read.errorPosition;
        result.message = "Syntax error: " + read.message;
        return result;
    }
    SimplexOutcome outcome = Simplex(read.model, settings.output, progress, result.output);
    Report(read.model, outcome, settings.sensitivity, result.output);
    result.success = true;
    result.status = static_cast<int>(outcome.status);
    result.reliable = outcome.reliable;
    result.iterations = outcome.iterations;
    if (outcome.status == LPStatus::Optimal) {
        double z = static_cast<double>(read.model.at(0, read.model.n + 1));
        result.objective = read.model.minimize ? -z : z;
    }
    result.message = outcome.reliable ? StatusText(outcome.status) : "Result not reliable";
    return result;
}

} // namespace tarvik::lp
