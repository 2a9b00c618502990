#pragma once
// 95% intervals of the simulated figures by the method of batch means: the
// run's totals noted at the batch marks (simkernels.h) give kBatches batches
// after the warm-up; each batch yields every figure of the results table over
// its own stretch of time, and the figure's interval is the mean of its batch
// values plus and minus t(0.975, kBatches - 1) times their standard error,
// cut at 0 (no figure is negative).
#include "modules/simulation/simkernels.h"

#include <array>
#include <optional>
#include <vector>

namespace tarvik::simulation {

// The figures of a stretch of a run from the growth `d` of its totals over
// `duration` minutes, [column][row] as the results window shows them; nothing
// for an average over no customers.
using FigureColumns = std::vector<std::vector<std::optional<double>>>;
using BatchFigures = FigureColumns (*)(const RunTotals& d, double duration);

FigureColumns SingleBatchFigures(const RunTotals& d, double duration);
FigureColumns TwoQueueBatchFigures(const RunTotals& d, double duration); // comparisons, load, tandem
FigureColumns PoolingBatchFigures(const RunTotals& d, double duration);
FigureColumns PriorityBatchFigures(const RunTotals& d, double duration);

// The totals up to the simulation length: the figures of the results table
// are those of one batch over the whole length.
RunTotals LengthTotals(const Outcome& out);

// What `b` holds more than `a`.
RunTotals Growth(const RunTotals& a, const RunTotals& b);

struct Interval95 {
    double low = 0;
    double high = 0;
};
inline constexpr double kStudent975 = 2.093024054408263; // t(0.975) with 19 degrees of freedom
static_assert(kBatches == 20, "kStudent975 belongs to 20 batches");

// The interval of one figure from its batch values; nothing when a batch has
// no value.
std::optional<Interval95> BatchMeansInterval(const std::array<std::optional<double>, kBatches>& values);

// The intervals of every figure of a finished run, [row][column]; empty when
// the run did not finish.
std::vector<std::vector<std::optional<Interval95>>> BatchIntervals(const Outcome& outcome,
                                                                   BatchFigures figures);

} // namespace tarvik::simulation
