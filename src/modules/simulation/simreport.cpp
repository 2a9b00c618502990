#include "modules/simulation/simreport.h"

#include "common/numformat.h"
#include "modules/simulation/simtheorytext.h"

#include <cmath>

namespace tarvik::simulation {

std::string ShortText(double v) {
    return FormatGeneral(v, 15);
}

std::string FigureText(std::optional<double> v) {
    if (!v || !std::isfinite(*v)) return "-";
    return FormatGeneral(*v, 4);
}

namespace {

const std::vector<std::string> kTwoQueueRows = {
    "Fraction of time the server is occupied", "Fraction of delayed customers",
    "Average number of customers in system",   "Average number of customers in queue",
    "Average sojourn time per customer",       "Average delay per customer"};

// λ, μ and the length, as the single queue and the comparisons show them.
std::vector<std::pair<std::string, std::string>> RateParameters(double lambda, double mu, double length) {
    return {{"λ =", ShortText(lambda)}, {"μ =", ShortText(mu)}, {"Simulation length =", ShortText(length)}};
}

std::string Process(bool det, const char* other) {
    return det ? "Deterministic" : other;
}

// What a table shows before any run: every experiment gives all four.
struct Layout {
    std::string heading;
    std::vector<std::pair<std::string, std::string>> parameters;
    std::vector<std::string> columns; // none for the one-column table
    std::vector<std::string> captions;
};

// The table with the figures of a finished run beside the theory: the
// table's figures are those of a batch stretching over the whole length.
ResultsText Filled(Layout layout, const Outcome* outcome, double length, const TheoryTable& theory,
                   BatchFigures figures) {
    ResultsText r;
    r.heading = std::move(layout.heading);
    r.parameters = std::move(layout.parameters);
    r.columns = std::move(layout.columns);
    r.captions = std::move(layout.captions);
    const std::size_t ncols = r.columns.empty() ? 1 : r.columns.size();
    r.values.assign(r.captions.size(), std::vector<std::string>(ncols));
    if (outcome && outcome->finished) {
        const FigureColumns columns = figures(LengthTotals(*outcome), length);
        for (std::size_t c = 0; c < columns.size() && c < ncols; ++c)
            for (std::size_t i = 0; i < r.captions.size() && i < columns[c].size(); ++i)
                r.values[i][c] = FigureText(columns[c][i]);
    }
    AddTheory(r, outcome, theory, figures);
    return r;
}

} // namespace

ResultsText SingleResults(const SingleSettings& set, const Outcome* outcome) {
    return Filled(
        {.heading = std::string(set.detArrivals ? "D/" : "M/") + (set.detService ? "D/1 model" : "M/1 model"),
         .parameters = RateParameters(set.lambda, set.mu, set.length),
         .columns = {},
         .captions = {"Fraction of time the server is busy", "Fraction of delayed customers",
                      "Average number of customers in system", "Average number of customers in queue",
                      "Average sojourn time per customer", "Average delay per customer"}},
        outcome, set.length, SingleTheory(set), SingleBatchFigures);
}

ResultsText CompareResults(const CompareSettings& set, const Outcome* outcome) {
    return Filled({.heading = "Two queues",
                   .parameters = RateParameters(set.lambda, set.mu, set.length),
                   .columns = {set.deterministicService ? "M/D/1" : "D/M/1", "M/M/1"},
                   .captions = kTwoQueueRows},
                  outcome, set.length, CompareTheory(set), TwoQueueBatchFigures);
}

ResultsText VaryingLoadResults(const VaryingLoadSettings& set, const Outcome* outcome) {
    return Filled({.heading = "Two queues",
                   .parameters = {{"ρ1 =", set.rho1Text},
                                  {"ρ2 =", set.rho2Text},
                                  {"Simulation length =", ShortText(set.length)}},
                   .columns = {"M/M/1 ; 1", "M/M/1 ; 2"},
                   .captions = kTwoQueueRows},
                  outcome, set.length, VaryingLoadTheory(set), TwoQueueBatchFigures);
}

ResultsText PoolingResults(const PoolingSettings& set, const Outcome* outcome) {
    return Filled({.heading = "Two separate queues versus Pooling",
                   .parameters = {{"λ1 =", ShortText(set.lambda1)},
                                  {"λ2 =", ShortText(set.lambda2)},
                                  {"μ1 =", ShortText(set.mu1)},
                                  {"μ2 =", ShortText(set.mu2)},
                                  {"Simulation length=", ShortText(set.length)},
                                  {"Service process", Process(set.detService, "Exponential")}},
                   .columns = {"No pooling", "Pooling"},
                   .captions = {"Fraction of time the server is busy", "Fraction of time the server is busy",
                                "Fraction of delayed customers", "Average number of customers in system",
                                "Average number of customers in queue", "Average sojourn time per customer",
                                "Average delay per customer"}},
                  outcome, set.length, PoolingTheory(set), PoolingBatchFigures);
}

ResultsText TandemResults(const TandemSettings& set, const Outcome* outcome) {
    auto process = [](bool det, const char* other) { return det ? "Deterministic process" : other; };
    return Filled({.heading = "Tandem queue",
                   .parameters = {{"λ =", ShortText(set.lambda)},
                                  {"μ1 =", ShortText(set.mu1)},
                                  {"μ2 =", ShortText(set.mu2)},
                                  {"Simulation length =", ShortText(set.length)},
                                  {"Arrival process", process(set.detArrivals, "Poisson process")},
                                  {"Service process 1", process(set.detService1, "Exponential process")},
                                  {"Service process 2", process(set.detService2, "Exponential process")}},
                   .columns = {"Counter 1", "Counter 2"},
                   .captions = kTwoQueueRows},
                  outcome, set.length, TandemTheory(set), TwoQueueBatchFigures);
}

ResultsText PriorityResults(const PrioritySettings& set, const Outcome* outcome) {
    return Filled(
        {.heading = "Waiting queue without priority versius with priority",
         .parameters = {{"λ1 =", ShortText(set.lambda1)},
                        {"μ1 =", ShortText(set.mu1)},
                        {"λ2 =", ShortText(set.lambda2)},
                        {"μ2 =", ShortText(set.mu2)},
                        {"Simulation length", ShortText(set.length)},
                        {"Service process 1", Process(set.detService1, "Exponential")},
                        {"Service process 2", Process(set.detService2, "Exponential")}},
         .columns = {"Without priority", "Priority Queue"},
         .captions = {"Fraction of time the server is occupied",
                      Format("Average delay per type %d customer:", 1),
                      Format("Average delay per type %d customer:", 2), "Average delay per customer",
                      Format("Average length queue type %d custumer:", 1),
                      Format("Average length queue type %d custumer:", 2),
                      "Average number of customers in system"}},
        outcome, set.length, PriorityTheory(set), PriorityBatchFigures);
}

std::string ResultsToText(const ResultsText& r) {
    std::string out = r.heading + "\n";
    for (const auto& [caption, value] : r.parameters) out += caption + " " + value + "\n";
    if (!r.columns.empty()) {
        for (const auto& c : r.columns) out += "\t" + c;
        out += "\n";
    }
    for (std::size_t i = 0; i < r.captions.size(); ++i) {
        out += r.captions[i];
        for (const auto& v : r.values[i]) out += "\t" + v;
        out += "\n";
    }
    return out;
}

} // namespace tarvik::simulation
