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

using Figure = std::optional<double>;

Figure Ratio(double num, double den) {
    if (den == 0) return std::nullopt;
    return num / den;
}

const char* const kTwoQueueRows[] = {
    "Fraction of time the server is occupied", "Fraction of delayed customers",
    "Average number of customers in system",   "Average number of customers in queue",
    "Average sojourn time per customer",       "Average delay per customer"};

std::vector<Figure> StationFigures(const Station& s, double L) {
    const double c = static_cast<double>(s.customers);
    return {s.busyAreaL / L,
            Ratio(static_cast<double>(s.delayed), c),
            s.queueAreaL / L + s.busyAreaL / L,
            s.queueAreaL / L,
            Ratio(s.totalSojourn, c),
            Ratio(s.totalDelay, c)};
}

// Fills the value table from per-column figures when the run finished.
void Fill(ResultsText& r, const Outcome* outcome, const std::vector<std::vector<Figure>>& columns) {
    const std::size_t ncols = r.columns.empty() ? 1 : r.columns.size();
    r.values.assign(r.captions.size(), std::vector<std::string>(ncols));
    if (!outcome || !outcome->finished) return;
    for (std::size_t c = 0; c < columns.size() && c < ncols; ++c)
        for (std::size_t i = 0; i < r.captions.size() && i < columns[c].size(); ++i)
            r.values[i][c] = FigureText(columns[c][i]);
}

// One column of the station figures for each of the first `stations` stations.
void FillStations(ResultsText& r, const Outcome* outcome, double L, std::size_t stations) {
    std::vector<std::vector<Figure>> cols;
    if (outcome)
        for (std::size_t k = 0; k < stations; ++k) cols.push_back(StationFigures(outcome->station[k], L));
    Fill(r, outcome, cols);
}

// Two stations side by side under the rows every two-queue table shares.
void FillTwoQueues(ResultsText& r, const Outcome* outcome, double L) {
    r.captions.assign(std::begin(kTwoQueueRows), std::end(kTwoQueueRows));
    FillStations(r, outcome, L, 2);
}

std::string Process(bool det, const char* other) {
    return det ? "Deterministic" : other;
}

} // namespace

ResultsText SingleResults(const SingleSettings& set, const Outcome* outcome) {
    ResultsText r;
    r.heading = std::string(set.detArrivals ? "D/" : "M/") + (set.detService ? "D/1 model" : "M/1 model");
    r.parameters = {{"λ =", ShortText(set.lambda)},
                    {"μ =", ShortText(set.mu)},
                    {"Simulation length =", ShortText(set.length)}};
    r.captions = {"Fraction of time the server is busy",   "Fraction of delayed customers",
                  "Average number of customers in system", "Average number of customers in queue",
                  "Average sojourn time per customer",     "Average delay per customer"};
    FillStations(r, outcome, set.length, 1);
    AddTheory(r, outcome, SingleTheory(set), SingleBatchFigures);
    return r;
}

ResultsText CompareResults(const CompareSettings& set, const Outcome* outcome) {
    ResultsText r;
    r.heading = "Two queues";
    r.parameters = {{"λ =", ShortText(set.lambda)},
                    {"μ =", ShortText(set.mu)},
                    {"Simulation length =", ShortText(set.length)}};
    r.columns = {set.deterministicService ? "M/D/1" : "D/M/1", "M/M/1"};
    FillTwoQueues(r, outcome, set.length);
    AddTheory(r, outcome, CompareTheory(set), TwoQueueBatchFigures);
    return r;
}

ResultsText VaryingLoadResults(const VaryingLoadSettings& set, const Outcome* outcome) {
    ResultsText r;
    r.heading = "Two queues";
    r.parameters = {
        {"ρ1 =", set.rho1Text}, {"ρ2 =", set.rho2Text}, {"Simulation length =", ShortText(set.length)}};
    r.columns = {"M/M/1 ; 1", "M/M/1 ; 2"};
    FillTwoQueues(r, outcome, set.length);
    AddTheory(r, outcome, VaryingLoadTheory(set), TwoQueueBatchFigures);
    return r;
}

ResultsText PoolingResults(const PoolingSettings& set, const Outcome* outcome) {
    ResultsText r;
    r.heading = "Two separate queues versus Pooling";
    r.parameters = {{"λ1 =", ShortText(set.lambda1)},
                    {"λ2 =", ShortText(set.lambda2)},
                    {"μ1 =", ShortText(set.mu1)},
                    {"μ2 =", ShortText(set.mu2)},
                    {"Simulation length=", ShortText(set.length)},
                    {"Service process", Process(set.detService, "Exponential")}};
    r.columns = {"No pooling", "Pooling"};
    r.captions = {"Fraction of time the server is busy",
                  "Fraction of time the server is busy",
                  "Fraction of delayed customers",
                  "Average number of customers in system",
                  "Average number of customers in queue",
                  "Average sojourn time per customer",
                  "Average delay per customer"};
    std::vector<std::vector<Figure>> cols;
    if (outcome) {
        const double L = set.length;
        const Station& s1 = outcome->station[0];
        const Station& s2 = outcome->station[1];
        const Station& p = outcome->station[2];
        const double c1 = static_cast<double>(outcome->typeCustomers[0]);
        const double c2 = static_cast<double>(outcome->typeCustomers[1]);
        // w1 x (x1 / c1) + w2 x (x2 / c2) with wk = ck / (c1 + c2): a type
        // without customers adds nothing.
        auto weighted = [&](double x1, double x2) -> Figure {
            if (c1 + c2 == 0) return std::nullopt;
            double v = 0;
            if (c1 > 0) v += c1 / (c1 + c2) * (x1 / c1);
            if (c2 > 0) v += c2 / (c1 + c2) * (x2 / c2);
            return v;
        };
        const double pc = static_cast<double>(outcome->pooledCustomers);
        cols.push_back({s1.busyAreaL / L, s2.busyAreaL / L,
                        weighted(static_cast<double>(s1.delayed), static_cast<double>(s2.delayed)),
                        (s1.queueAreaL + s1.busyAreaL + s2.queueAreaL + s2.busyAreaL) / L,
                        (s1.queueAreaL + s2.queueAreaL) / L, weighted(s1.totalSojourn, s2.totalSojourn),
                        weighted(s1.totalDelay, s2.totalDelay)});
        cols.push_back({outcome->serverAreaL[0] / L, outcome->serverAreaL[1] / L,
                        Ratio(static_cast<double>(p.delayed), pc), (p.queueAreaL + p.busyAreaL) / L,
                        p.queueAreaL / L, Ratio(p.totalSojourn, pc), Ratio(p.totalDelay, pc)});
    }
    Fill(r, outcome, cols);
    AddTheory(r, outcome, PoolingTheory(set), PoolingBatchFigures);
    return r;
}

ResultsText TandemResults(const TandemSettings& set, const Outcome* outcome) {
    ResultsText r;
    r.heading = "Tandem queue";
    r.parameters = {{"λ =", ShortText(set.lambda)},
                    {"μ1 =", ShortText(set.mu1)},
                    {"μ2 =", ShortText(set.mu2)},
                    {"Simulation length =", ShortText(set.length)},
                    {"Arrival process", set.detArrivals ? "Deterministic process" : "Poisson process"},
                    {"Service process 1", set.detService1 ? "Deterministic process" : "Exponential process"},
                    {"Service process 2", set.detService2 ? "Deterministic process" : "Exponential process"}};
    r.columns = {"Counter 1", "Counter 2"};
    FillTwoQueues(r, outcome, set.length);
    AddTheory(r, outcome, TandemTheory(set), TwoQueueBatchFigures);
    return r;
}

ResultsText PriorityResults(const PrioritySettings& set, const Outcome* outcome) {
    ResultsText r;
    r.heading = "Waiting queue without priority versius with priority";
    r.parameters = {{"λ1 =", ShortText(set.lambda1)},
                    {"μ1 =", ShortText(set.mu1)},
                    {"λ2 =", ShortText(set.lambda2)},
                    {"μ2 =", ShortText(set.mu2)},
                    {"Simulation length", ShortText(set.length)},
                    {"Service process 1", Process(set.detService1, "Exponential")},
                    {"Service process 2", Process(set.detService2, "Exponential")}};
    r.columns = {"Without priority", "Priority Queue"};
    r.captions = {"Fraction of time the server is occupied",
                  Format("Average delay per type %d customer:", 1),
                  Format("Average delay per type %d customer:", 2),
                  "Average delay per customer",
                  Format("Average length queue type %d custumer:", 1),
                  Format("Average length queue type %d custumer:", 2),
                  "Average number of customers in system"};
    std::vector<std::vector<Figure>> cols;
    if (outcome) {
        const double L = set.length;
        for (int k = 0; k < 2; ++k) {
            const Station& s = outcome->station[static_cast<std::size_t>(k)];
            const auto& t = outcome->types[static_cast<std::size_t>(k)];
            cols.push_back({s.busyAreaL / L, Ratio(t[0].delay, static_cast<double>(t[0].customers)),
                            Ratio(t[1].delay, static_cast<double>(t[1].customers)),
                            Ratio(s.totalDelay, static_cast<double>(s.customers)), t[0].delay / L,
                            t[1].delay / L, s.queueAreaL / L + s.busyAreaL / L});
        }
    }
    Fill(r, outcome, cols);
    AddTheory(r, outcome, PriorityTheory(set), PriorityBatchFigures);
    return r;
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
