#include "modules/simulation/simintervals.h"

#include <algorithm>
#include <cmath>

namespace tarvik::simulation {

namespace {

using Figure = std::optional<double>;

Figure Ratio(double num, double den) {
    if (den == 0) return std::nullopt;
    return num / den;
}

double D(long long v) {
    return static_cast<double>(v);
}

// The six rows of a single-server table.
std::vector<Figure> StationColumn(const StationTotals& s, double T) {
    const double c = D(s.customers);
    return {s.busyArea / T,  Ratio(D(s.delayed), c),   s.queueArea / T + s.busyArea / T,
            s.queueArea / T, Ratio(s.totalSojourn, c), Ratio(s.totalDelay, c)};
}

StationTotals Minus(const StationTotals& b, const StationTotals& a) {
    return {.queueArea = b.queueArea - a.queueArea,
            .busyArea = b.busyArea - a.busyArea,
            .customers = b.customers - a.customers,
            .delayed = b.delayed - a.delayed,
            .totalDelay = b.totalDelay - a.totalDelay,
            .totalSojourn = b.totalSojourn - a.totalSojourn};
}

} // namespace

RunTotals LengthTotals(const Outcome& out) {
    RunTotals t;
    for (std::size_t k = 0; k < t.station.size(); ++k) {
        const Station& s = out.station[k];
        t.station[k] = {.queueArea = s.queueAreaL,
                        .busyArea = s.busyAreaL,
                        .customers = s.customers,
                        .delayed = s.delayed,
                        .totalDelay = s.totalDelay,
                        .totalSojourn = s.totalSojourn};
    }
    t.serverArea = out.serverAreaL;
    t.typeCustomers = out.typeCustomers;
    t.pooledCustomers = out.pooledCustomers;
    t.types = out.types;
    return t;
}

RunTotals Growth(const RunTotals& a, const RunTotals& b) {
    RunTotals d;
    for (std::size_t k = 0; k < d.station.size(); ++k) d.station[k] = Minus(b.station[k], a.station[k]);
    for (std::size_t j = 0; j < 2; ++j) {
        d.serverArea[j] = b.serverArea[j] - a.serverArea[j];
        d.typeCustomers[j] = b.typeCustomers[j] - a.typeCustomers[j];
        for (std::size_t t = 0; t < 2; ++t) {
            d.types[j][t].customers = b.types[j][t].customers - a.types[j][t].customers;
            d.types[j][t].delay = b.types[j][t].delay - a.types[j][t].delay;
            d.types[j][t].sojourn = b.types[j][t].sojourn - a.types[j][t].sojourn;
        }
    }
    d.pooledCustomers = b.pooledCustomers - a.pooledCustomers;
    return d;
}

FigureColumns SingleBatchFigures(const RunTotals& d, double T) {
    return {StationColumn(d.station[0], T)};
}

FigureColumns TwoQueueBatchFigures(const RunTotals& d, double T) {
    return {StationColumn(d.station[0], T), StationColumn(d.station[1], T)};
}

FigureColumns PoolingBatchFigures(const RunTotals& d, double T) {
    const StationTotals& s1 = d.station[0];
    const StationTotals& s2 = d.station[1];
    const StationTotals& p = d.station[2];
    const double c1 = D(d.typeCustomers[0]), c2 = D(d.typeCustomers[1]);
    // The separate systems weigh each type by its share of the customers.
    auto weighted = [&](double x1, double x2) -> Figure {
        if (c1 + c2 == 0) return std::nullopt;
        double v = 0;
        if (c1 > 0) v += c1 / (c1 + c2) * (x1 / c1);
        if (c2 > 0) v += c2 / (c1 + c2) * (x2 / c2);
        return v;
    };
    const double pc = D(d.pooledCustomers);
    return {{s1.busyArea / T, s2.busyArea / T, weighted(D(s1.delayed), D(s2.delayed)),
             (s1.queueArea + s1.busyArea + s2.queueArea + s2.busyArea) / T, (s1.queueArea + s2.queueArea) / T,
             weighted(s1.totalSojourn, s2.totalSojourn), weighted(s1.totalDelay, s2.totalDelay)},
            {d.serverArea[0] / T, d.serverArea[1] / T, Ratio(D(p.delayed), pc),
             (p.queueArea + p.busyArea) / T, p.queueArea / T, Ratio(p.totalSojourn, pc),
             Ratio(p.totalDelay, pc)}};
}

FigureColumns PriorityBatchFigures(const RunTotals& d, double T) {
    FigureColumns cols;
    for (std::size_t k = 0; k < 2; ++k) {
        const StationTotals& s = d.station[k];
        const auto& t = d.types[k];
        cols.push_back({s.busyArea / T, Ratio(t[0].delay, D(t[0].customers)),
                        Ratio(t[1].delay, D(t[1].customers)), Ratio(s.totalDelay, D(s.customers)),
                        t[0].delay / T, t[1].delay / T, s.queueArea / T + s.busyArea / T});
    }
    return cols;
}

std::optional<Interval95> BatchMeansInterval(const std::array<std::optional<double>, kBatches>& values) {
    double sum = 0;
    for (const auto& v : values) {
        if (!v || !std::isfinite(*v)) return std::nullopt;
        sum += *v;
    }
    const double mean = sum / kBatches;
    double squares = 0;
    for (const auto& v : values) squares += (*v - mean) * (*v - mean);
    const double half = kStudent975 * std::sqrt(squares / (kBatches - 1) / kBatches);
    return Interval95{std::max(0.0, mean - half), mean + half};
}

std::vector<std::vector<std::optional<Interval95>>> BatchIntervals(const Outcome& outcome,
                                                                   BatchFigures figures) {
    const BatchMarks& marks = outcome.batches;
    if (!outcome.finished || marks.taken <= kBatches) return {};
    // [batch][column][row]
    std::vector<FigureColumns> batches;
    for (int b = 0; b < kBatches; ++b) {
        const std::size_t i = static_cast<std::size_t>(b);
        batches.push_back(
            figures(Growth(marks.totals[i], marks.totals[i + 1]), marks.time(b + 1) - marks.time(b)));
    }
    const FigureColumns& shape = batches.front();
    std::vector<std::vector<std::optional<Interval95>>> out(
        shape.front().size(), std::vector<std::optional<Interval95>>(shape.size()));
    for (std::size_t c = 0; c < shape.size(); ++c)
        for (std::size_t r = 0; r < shape[c].size(); ++r) {
            std::array<std::optional<double>, kBatches> values;
            for (std::size_t b = 0; b < batches.size(); ++b) values[b] = batches[b][c][r];
            out[r][c] = BatchMeansInterval(values);
        }
    return out;
}

} // namespace tarvik::simulation
