#pragma once
// Estimating pi with random darts on a quarter circle.
#include "common/progress.h"
#include "modules/montecarlo/mcshared.h"

#include <functional>
#include <string>

namespace tarvik::montecarlo {

inline constexpr SpinLimits kPiDraws{
    .min = 25, .max = 400000, .initial = 1000, .hint = "Min: 25 ; Max: 400000"};

struct PiParams {
    int draws = 1000;
    bool fast = true;
};

// One dart and the state after it.
struct PiStep {
    int draw = 0; // 1-based
    double x = 0;
    double y = 0;
    bool hit = false;
    int hits = 0;
};

struct PiResult {
    int stream = 0;
    int draws = 0; // darts thrown (fewer than asked when stopped)
    int hits = 0;
    double estimate() const { return draws > 0 ? 4.0 * hits / draws : 0; }
    // The interval of the proportion hits / draws, both ends times 4.
    Interval interval() const;

    // The window's texts.
    std::string drawsText() const;
    std::string estimateText() const;
    std::string intervalText() const;
    static std::string actualPiText();
};

// The texts a step shows.
PiResult PiStateAfter(const PiStep& step, int stream);

// Throws the darts from stream `stream`. Pending user events are handled
// (`progress.yield`) after every dart in slow mode and after every 100th in
// fast mode; the stop flag is tested before every dart.
PiResult RunPi(const PiParams& params, int stream, Progress& progress,
               const std::function<void(const PiStep&)>& onStep = {});

} // namespace tarvik::montecarlo
