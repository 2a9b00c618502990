#pragma once
// Confidence intervals for a proportion: 100 simulated runs of n and of 4n
// Bernoulli trials, the intervals f +- z sqrt(f (1 - f) / (m - 1)) cut to
// [0, 1], and where they go in the two panels of the picture.
#include "common/progress.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik::normal {

inline constexpr int kRuns = 100;
inline constexpr int kMinTrials = 50;
inline constexpr int kMaxTrials = 2500;
inline constexpr int kDefaultTrials = 200;
inline constexpr const char* kDefaultP = "0.4";

enum class Level { P95, P90 };
double LevelZ(Level level); // 1.96 or 1.645
// The share of intervals expected to miss p, in per cent: 5 or 10.
int ExpectedMissPercent(Level level);
// "Intervals that miss p: k of N (expected 5 %)".
std::string MissText(int misses, int intervals, Level level);

enum class PError {
    None,
    NotANumber, // "Not all probabilities do have numerical values"
    OutOfRange  // "The probability should be in the interval [0.1;0.9] "
};
std::string_view PMessage(PError error);

struct PCheck {
    PError error = PError::None;
    double p = 0;
};
// A plain number ("." only, blanks around allowed) in [0.1, 0.9], compared
// in single precision.
PCheck CheckP(std::string_view text);

// The picture: 620 by 364, panels 280 wide from x = 20 and x = 320.
inline constexpr int kCiWidth = 620, kCiHeight = 364;
inline constexpr int kCiPanelWidth = 280;
inline constexpr std::array<int, 2> kCiPanelLeft = {20, 320};
inline constexpr int kCiBaseY = 330;
inline constexpr std::uint32_t kMissColour = 0xFF0000;
inline constexpr std::array<std::uint32_t, 2> kHitColour = {0x0000FF, 0x008000};

struct Interval {
    double f = 0;      // proportion of successes
    double lower = 0;  // f - h, cut to [0, 1]
    double upper = 0;  // f + h, cut to [0, 1]
    bool miss = false; // p outside [lower, upper]
};

// The interval of a proportion f out of m trials.
Interval MakeInterval(double p, double f, int m, double z);

// An interval as drawn: a line from x1 to x2 at row y; an end beyond the panel
// lies on its edge and gets a black stroke from y - 5 to y + 5.
struct IntervalLine {
    int x1 = 0, x2 = 0, y = 0;
    bool strokeLeft = false, strokeRight = false;
    std::uint32_t colour = 0;
    bool operator==(const IntervalLine&) const = default;
};

// The scale width e = 9 sqrt(p (1 - p) / (n - 1)): each panel shows p - e/2 to p + e/2.
double ScaleWidth(double p, int n);
// The column of a value v in a panel (0 left, 1 right).
int IntervalColumn(double v, double p, double e, int panel);
// Run i (1 .. 100) in panel 0 or 1.
IntervalLine PlaceInterval(const Interval& iv, double p, double e, int panel, int run);

struct IntervalRunSettings {
    double p = 0.4;
    int n = kDefaultTrials;
    Level level = Level::P95;
};

struct IntervalPair {
    int run = 0; // 1 .. 100
    std::array<Interval, 2> panel;
};

// One run of the demonstration: the stream is drawn (RandomInt(100) + 1) when
// it starts; then per run n trials and 4n trials. The progress sink is
// yielded to before every trial and its stop flag tested once per run.
class IntervalRun {
public:
    explicit IntervalRun(const IntervalRunSettings& settings);

    const IntervalRunSettings& settings() const { return settings_; }
    int stream() const { return stream_; }
    double scaleWidth() const { return e_; }
    bool done() const { return static_cast<int>(pairs_.size()) >= kRuns; }
    const std::vector<IntervalPair>& pairs() const { return pairs_; }
    std::array<int, 2> misses() const;
    // The intervals of each panel so far, and the texts of their misses.
    int completed() const { return static_cast<int>(pairs_.size()); }
    std::array<std::string, 2> missTexts() const;

    // Simulates the next run (n trials, then 4n); false, with nothing
    // recorded, when a stop was asked for before it began.
    bool step(Progress& progress);
    // Runs until done or stopped; `onPair` sees every completed pair.
    bool runAll(Progress& progress, const std::function<void(const IntervalPair&)>& onPair = {});

private:
    double proportion(int trials, Progress& progress);

    IntervalRunSettings settings_;
    int stream_ = 1;
    double e_ = 0;
    std::vector<IntervalPair> pairs_;
};

} // namespace tarvik::normal
