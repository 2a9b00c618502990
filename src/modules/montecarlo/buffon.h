#pragma once
// Buffon's needle: needles of length 1 thrown on a board with lines one unit
// apart; the share that crosses a line estimates 2 / pi.
#include "common/progress.h"
#include "modules/montecarlo/mcshared.h"

#include <functional>
#include <string>

namespace tarvik::montecarlo {

inline constexpr SpinLimits kBuffonThrows{
    .min = 100, .max = 100000, .initial = 1000, .hint = "Min: 100 ; Max: 100.000"};

// One needle: its centre, angle, ends (board units) and whether it crosses.
struct Needle {
    double x = 0;
    double y = 0;
    double t = 0;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool crosses = false;
};

// The interval of pi from `crossings` of `throws` needles: 2 / (f -/+ sqrt(f(1 - f)) h)
// with f = crossings / throws and h = 1.96 / sqrt(throws); empty while nothing
// crossed or while f - sqrt(f(1 - f)) h <= 0 (the upper end has no value then).
Interval BuffonInterval(int throws, int crossings);

// Throws one needle with the system generator (x, y, then the angle).
Needle ThrowNeedle();
// The pixel of a board coordinate: round(60 c) + 16.
int BuffonPixel(double c);

// A run that can be paused and continued: the counts survive a pause.
class BuffonExperiment {
public:
    // A fresh run of `throws` needles (counts reset).
    void Start(int throws);
    bool finished() const { return throws_ >= target_; }
    int throws() const { return throws_; }
    int crossings() const { return crossings_; }
    int target() const { return target_; }

    Needle ThrowOne();

    // Texts under the board.
    std::string throwsText() const;
    std::string crossingsText() const;
    // 2 / (crossings / throws), empty while nothing crossed.
    std::string estimateText() const;
    // "[lower , upper]" and seven blanks; empty while nothing crossed or while
    // the upper end cannot be computed (f - sqrt(f(1 - f)) h <= 0).
    std::string intervalText() const;
    Interval interval() const;

private:
    int target_ = 0;
    int throws_ = 0;
    int crossings_ = 0;
};

// Throws until the run is complete or the stop flag is set; pending user events
// are handled and the stop flag tested before every throw. Returns true when
// the run is complete.
bool RunBuffon(BuffonExperiment& experiment, Progress& progress,
               const std::function<void(const Needle&)>& onThrow = {});

} // namespace tarvik::montecarlo
