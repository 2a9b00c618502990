#include "modules/montecarlo/pi.h"

#include "common/numformat.h"
#include "common/random.h"

#include <cmath>
#include <numbers>

namespace tarvik::montecarlo {

Interval PiResult::interval() const {
    Interval i = ProportionInterval(static_cast<double>(hits) / draws, draws);
    i.lower *= 4;
    i.upper *= 4;
    return i;
}

std::string PiResult::drawsText() const {
    return std::to_string(draws);
}

std::string PiResult::estimateText() const {
    if (draws == 0) return {};
    return FormatGeneral(estimate(), 5);
}

std::string PiResult::intervalText() const {
    if (draws == 0) return {};
    return BracketGeneral(interval(), 4);
}

std::string PiResult::actualPiText() {
    return FormatGeneral(std::numbers::pi, 5);
}

PiResult PiStateAfter(const PiStep& step, int stream) {
    return {.stream = stream, .draws = step.draw, .hits = step.hits};
}

PiResult RunPi(const PiParams& params, int stream, Progress& progress,
               const std::function<void(const PiStep&)>& onStep) {
    PiResult result{.stream = stream};
    for (int i = 1; i <= params.draws && !progress.stopRequested(); ++i) {
        PiStep step{.draw = i};
        step.x = RndUniform(stream);
        step.y = RndUniform(stream);
        step.hit = step.x * step.x + step.y * step.y <= 1;
        if (step.hit) ++result.hits;
        step.hits = result.hits;
        result.draws = i;
        if (onStep) onStep(step);
        if (!params.fast || i % 100 == 0) progress.yield();
    }
    return result;
}

} // namespace tarvik::montecarlo
