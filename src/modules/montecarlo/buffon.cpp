#include "modules/montecarlo/buffon.h"

#include "common/numformat.h"
#include "common/random.h"

#include <cmath>
#include <numbers>

namespace tarvik::montecarlo {

Needle ThrowNeedle() {
    constexpr double pi = std::numbers::pi;
    Needle n;
    n.x = RandomReal() * 9 + 0.5;
    n.y = RandomReal() * 6 + 0.5;
    n.t = RandomReal() * pi;
    const double u = n.t <= pi / 2 ? n.t : pi - n.t;
    const double k = std::ceil(n.y);
    double e = k - n.y;
    if (e > 0.5) e = 1 - e;
    n.crosses = e <= std::cos(u) / 2;
    if (n.t <= pi / 2) {
        n.x1 = n.x + std::sin(n.t) / 2;
        n.y1 = n.y + std::cos(n.t) / 2;
        n.x2 = n.x - std::sin(n.t) / 2;
        n.y2 = n.y - std::cos(n.t) / 2;
    } else {
        const double v = n.t - pi / 2;
        n.x1 = n.x + std::cos(v) / 2;
        n.y1 = n.y - std::sin(v) / 2;
        n.x2 = n.x - std::cos(v) / 2;
        n.y2 = n.y + std::sin(v) / 2;
    }
    return n;
}

int BuffonPixel(double c) {
    return static_cast<int>(std::lround(60 * c)) + 16;
}

void BuffonExperiment::Start(int throws) {
    target_ = throws;
    throws_ = 0;
    crossings_ = 0;
}

Needle BuffonExperiment::ThrowOne() {
    Needle n = ThrowNeedle();
    ++throws_;
    if (n.crosses) ++crossings_;
    return n;
}

std::string BuffonExperiment::throwsText() const {
    return std::to_string(throws_);
}

std::string BuffonExperiment::crossingsText() const {
    return std::to_string(crossings_);
}

std::string BuffonExperiment::estimateText() const {
    if (crossings_ == 0) return {};
    return FormatGeneral(2.0 / (static_cast<double>(crossings_) / throws_), 5);
}

Interval BuffonExperiment::interval() const {
    return BuffonInterval(throws_, crossings_);
}

Interval BuffonInterval(int throws, int crossings) {
    if (crossings == 0 || throws == 0) return {};
    const double f = static_cast<double>(crossings) / throws;
    const double h = 1.96 / std::sqrt(static_cast<double>(throws));
    const double spread = std::sqrt(std::max(0.0, f * (1 - f))) * h;
    // While few needles have crossed, the upper end has no finite positive value.
    if (f - spread <= 0) return {};
    return {.valid = true, .lower = 2 / (f + spread), .upper = 2 / (f - spread)};
}

std::string BuffonExperiment::intervalText() const {
    const Interval i = interval();
    if (!i.valid) return {};
    return "[" + FormatGeneral(i.lower, 5) + " , " + FormatGeneral(i.upper, 5) + "]       ";
}

bool RunBuffon(BuffonExperiment& experiment, Progress& progress,
               const std::function<void(const Needle&)>& onThrow) {
    while (!experiment.finished()) {
        progress.yield();
        if (progress.stopRequested()) return false;
        const Needle n = experiment.ThrowOne();
        if (onThrow) onThrow(n);
    }
    return true;
}

} // namespace tarvik::montecarlo
