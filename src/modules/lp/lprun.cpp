#include "modules/lp/lprun.h"

#include "modules/lp/fractionsimplex.h"
#include "modules/lp/graphical.h"
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

void OutputCap::take(std::string& text) {
    if (stopped_ != std::string::npos) {
        if (text.size() > stopped_) text.resize(stopped_);
        return;
    }
    if (text.size() <= limit_) return;
    std::size_t cut = text.rfind("\r\n", limit_);
    cut = cut == std::string::npos ? 0 : cut + 2;
    text.resize(cut);
    const std::string size = limit_ >= (std::size_t{1} << 20) ? std::to_string(limit_ >> 20) + " MB"
                                                              : std::to_string(limit_ >> 10) + " KB";
    text += "\r\nOutput stopped at " + size + "; choose fewer tableaus\r\n";
    stopped_ = text.size();
}

LPRunResult RunLP(std::string_view modelText, const LPSettings& settings, LPProgress& progress) {
    LPRunResult result;
    ReaderProgress sink(progress);
    // In fractions the reader's numbers are kept as written, alongside.
    ExactTerms exact(&sink);
    // A run that prints no tableau and writes no report only needs the
    // tableau's rows if the solver keeps the full tableau (it builds them then).
    const bool rows = settings.output != OutputMode::NoTableaus || settings.report || settings.fractions ||
                      settings.graphical;
    LPReadResult read =
        ReadLPModel(modelText, settings.fractions ? static_cast<ReadSink&>(exact) : sink, rows);
    result.output = std::move(read.echo);
    if (!read.success) {
        result.success = false;
        result.errorPosition = read.errorPosition;
        result.message = "Syntax error: " + read.message;
        return result;
    }
    // The graphical method takes the constraints as read and the path of this very run.
    std::optional<PlaneModel> plane;
    std::optional<PathRecorder> path;
    if (settings.graphical && (plane = PlaneModelOf(read.model))) path.emplace(read.model);
    SimplexObserver* const observer = path ? &*path : nullptr;
    SimplexOutcome outcome;
    FractionOutcome fractions;
    // Without the report only the verdict, the objective value and the solution are read.
    const FinalTableau finalTableau = settings.report ? FinalTableau::Whole : FinalTableau::ResultOnly;
    if (settings.fractions) {
        fractions = FractionSimplex(read.model, exact, settings.output, progress, result.output, observer);
        if (fractions.refusal.empty()) {
            outcome = std::move(fractions.outcome);
        } else {
            result.output += "\r\n\r\n" + fractions.refusal;
            outcome = Simplex(read.model, settings.output, progress, result.output, Representation::Automatic,
                              observer, finalTableau);
        }
    } else {
        outcome = Simplex(read.model, settings.output, progress, result.output, Representation::Automatic,
                          observer, finalTableau);
    }
    if (settings.report) Report(read.model, outcome, settings.sensitivity, result.output);
    result.success = true;
    result.status = static_cast<int>(outcome.status);
    result.reliable = outcome.reliable;
    result.iterations = outcome.iterations;
    if (outcome.status == LPStatus::Optimal) {
        double z = static_cast<double>(read.model.at(0, read.model.n + 1));
        result.objective = read.model.minimize ? -z : z;
    }
    result.message = outcome.reliable ? StatusText(outcome.status) : "Result not reliable";
    if (path && outcome.status != LPStatus::Stopped)
        result.graphical = std::make_shared<const GraphicalSolution>(SolveGraphically(*plane, path->path()));
    return result;
}

} // namespace tarvik::lp
