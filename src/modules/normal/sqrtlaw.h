#pragma once
// The square-root law: means of n standard normal values (n = 1, 4, 16, 64)
// drawn from one stream of the multi-stream generator, and the geometry of
// their picture (62.5 pixels per unit around the axis at row 150).
#include "common/progress.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace tarvik::normal {

inline constexpr int kMinExperiments = 10;
inline constexpr int kMaxExperiments = 1000;
inline constexpr int kDefaultExperiments = 100;
inline constexpr std::array<int, 4> kGroupSizes = {1, 4, 16, 64};

inline constexpr int kSqrtWidth = 500, kSqrtHeight = 298;
inline constexpr int kSqrtAxisX = 50, kSqrtAxisTop = 25, kSqrtAxisBottom = 275;
inline constexpr int kSqrtZeroY = 150, kSqrtAxisRight = 475;
inline constexpr double kSqrtScale = 62.5;

// The module's stream: the streams are reset, then one is picked as
// RandomInt(100) + 1. Done once per program run.
int ChooseSqrtLawStream();

// A standard normal value: sqrt(-2 ln U2) cos(2 pi U1), U1 drawn before U2.
double StandardNormal(int stream);

// The value a "count" field stands for: replaced while typing when above
// 1000 (by 1000) or negative (by 10); nothing happens to 0 .. 9 then.
// `Clamp` gives what a run uses.
inline int ReplaceWhileTyping(int value) {
    return value > kMaxExperiments ? kMaxExperiments : (value < 0 ? kMinExperiments : value);
}
inline int ClampExperiments(int value) {
    return value < kMinExperiments ? kMinExperiments : (value > kMaxExperiments ? kMaxExperiments : value);
}

// One mean and where it goes.
struct SqrtPoint {
    int group = 1; // 1 .. 4
    int n = 1;
    double mean = 0;
    int x = 0;
    int y = 0;
    bool drawn = false; // 10 < y < 290
};

// The pixel row of a mean: 150 - round(mean x 62.5).
int SqrtRow(double mean);
SqrtPoint PlacePoint(int group, double mean);

// For each group N means, in group order, each handed to `onPoint` and then
// the progress sink yielded to. Returns false when stopped (tested after
// every point).
bool RunSqrtLaw(int count, int stream, Progress& progress,
                const std::function<void(const SqrtPoint&)>& onPoint);

// Whether a mean of n values lies within +-2/sqrt(n), between the dotted lines.
bool WithinBounds(int n, double mean);
// The chance of that for a normal mean: P(|Z| <= 2), about 0.954.
double ExpectedWithinShare();

// The means inside +-2/sqrt(n) so far, per group, as a run draws them.
class SqrtTally {
public:
    void clear() { *this = SqrtTally(); }
    void add(const SqrtPoint& point);
    int count(int group) const { return count_[static_cast<std::size_t>(group - 1)]; }
    int within(int group) const { return within_[static_cast<std::size_t>(group - 1)]; }
    // "96 of 100", a line break and "96.0 %"; empty before the first mean.
    std::string shareText(int group) const;

private:
    std::array<int, 4> count_{};
    std::array<int, 4> within_{};
};
// "Share of means inside ±2/√n (expected 95.4 %)".
std::string WithinHeading();

struct GroupSummary {
    int n = 0;
    int count = 0;
    double average = 0;
    double deviation = 0; // with N - 1 in the denominator
    int within = 0;       // |mean| <= 2 / sqrt(n)
    int drawn = 0;
};
GroupSummary Summarise(int n, const std::vector<double>& means);

// --- The fixed picture ----------------------------------------------------------

struct Tick {
    int y = 0;
    std::string label; // "2/√4", "-2/√4"
};
// The rows of +-2/sqrt(n): 25, 88, 119, 134 above the axis and 166, 181, 213,
// 275 below it (half pixels rounded down the picture).
std::vector<Tick> SqrtTicks();
// Column of a group (1 .. 4): 150, 250, 350, 450.
inline constexpr int GroupColumn(int group) {
    return 100 * group + 50;
}

} // namespace tarvik::normal
