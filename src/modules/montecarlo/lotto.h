#pragma once
// The lotto: r of s numbered balls drawn n times; how often each number fell,
// how long ago it fell last and how the gap between the most and the least
// drawn number develops.
#include "common/progress.h"
#include "modules/montecarlo/mcshared.h"

#include <functional>
#include <string>
#include <vector>

namespace tarvik::montecarlo {

inline constexpr SpinLimits kLottoBalls{.min = 42, .max = 55, .initial = 45, .hint = "Min: 42 ; Max: 55"};
inline constexpr SpinLimits kLottoDrawn{.min = 5, .max = 7, .initial = 6, .hint = "Min: 5 ; Max: 7"};
inline constexpr SpinLimits kLottoDraws{.min = 25, .max = 5000, .initial = 300, .hint = "Min 25 ; Max 5000"};

// The state of a run, kept between "Stop" and "Continue".
struct LottoState {
    int balls = 45;                // s
    int drawn = 6;                 // r
    int draws = 300;               // n
    std::vector<long long> counts; // per ball 1 .. s (index 0 unused)
    std::vector<int> last;         // the draw in which a ball fell last; 0 if never
    std::vector<long long> walk;   // per draw 0 .. n
    int current = 0;               // the last draw completed

    // All counts, last draws and walk values back to 0.
    void Reset(int s, int r, int n);
    bool finished() const { return current == draws; }
    // Pixels per count: 900 / n.
    double scale() const { return 900.0 / draws; }
    // Bars are redrawn every d-th draw: d = trunc(n / 1000) + 1.
    int barStep() const { return draws / 1000 + 1; }
    // How many draws ago ball k fell last (n for a ball never drawn).
    int age(int ball) const { return draws - last[static_cast<std::size_t>(ball)]; }
    double expectation() const { return static_cast<double>(draws) * drawn / balls; }
    double deviation() const;
    // The balls by decreasing count, the lower number first on equal counts.
    std::vector<int> ranking() const;
};

// The r balls of one draw from the system generator: the balls 1 .. s are
// shuffled from the top down and the first r taken.
std::vector<int> LottoDraw(int balls, int drawn);

// Draws `from` .. n; before every draw pending user events are handled and
// the stop flag tested. `onDraw` gets the draw's number and its balls.
void RunLotto(LottoState& state, int from, Progress& progress,
              const std::function<void(int draw, const std::vector<int>& balls)>& onDraw = {});

// The "Data" report.
std::vector<StyledLine> LottoReport(const LottoState& state);

} // namespace tarvik::montecarlo
