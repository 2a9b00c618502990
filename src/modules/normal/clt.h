#pragma once
// The central limit theorem with dice: checking the die, the exact
// distribution of the sum of n throws by repeated convolution, its mean and
// standard deviation, and the geometry of the one-, two- and four-histogram
// pictures.
#include "common/progress.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik::normal {

inline constexpr int kFaces = 6;
inline constexpr int kMaxSumLength = 40;     // one histogram
inline constexpr int kMaxSumLengthMany = 30; // two or four histograms
// The probability the fair die works with, as its fields show it.
inline constexpr double kFairProbability = 0.16667;
inline constexpr const char* kFairText = "0.16667";

using Probabilities = std::array<double, kFaces>;

inline constexpr Probabilities kFairDie = {kFairProbability, kFairProbability, kFairProbability,
                                           kFairProbability, kFairProbability, kFairProbability};

// --- The die ---------------------------------------------------------------------

enum class DieError {
    None,
    NotANumber, // "Not all probabilities do have numerical values"
    SumNotOne,  // "The sum of the probabilities must be 1"
    OutOfRange  // "Probabilities larger then 1 or smaller then 0 are not allowed"
};

std::string_view DieMessage(DieError error);

struct DieCheck {
    DieError error = DieError::None;
    Probabilities p{}; // valid only without error
};

// Reads the six fields with StrToReal. A fair die takes them as they are; a
// biased one needs every value in [0, 1] and a sum within 0.0001 of 1.
DieCheck CheckDie(bool fair, const std::array<std::string, kFaces>& texts);

// --- The distribution of the sum ---------------------------------------------------

// The number of histograms a window shows: 1, 2 or 4.
int MaxSumLength(int histograms);
// The hint next to a summation-length field: "1 <= n <= 40" or "1 <= n <= 30".
std::string SumLengthHint(int histograms);

// P(S_n = s) for s = n .. 6n (5n + 1 values), by convolving the throw's
// distribution with itself n - 1 times. The progress sink is yielded to once
// per convolution step; a stop ends it without a result. n is 1 .. 40.
std::optional<std::vector<double>> SumDistribution(const Probabilities& p, int n, Progress& progress);
std::vector<double> SumDistribution(const Probabilities& p, int n);

// n (1 p1 + ... + 6 p6) and sqrt(n) sigma.
double SumMean(const Probabilities& p, int n);
double SumStandardDeviation(const Probabilities& p, int n);

// The texts a histogram window shows: the six probabilities, the summation
// length, the mean and the standard deviation (general format, 4 digits).
struct HistogramTexts {
    std::array<std::string, kFaces> probabilities; // "P(X=1) = 0.1667"
    std::string length;                            // "Summation length: 4"
    std::string mean;                              // "Mean: 14"
    std::string deviation;                         // "Standard deviation: 3.416"
};
HistogramTexts TextsFor(const Probabilities& p, int n);

// --- Histogram geometry -----------------------------------------------------------

// Colours as 0xRRGGBB.
inline constexpr std::uint32_t kRed = 0xFF0000;
inline constexpr std::uint32_t kBlue = 0x0000FF;
inline constexpr std::uint32_t kGreen = 0x008000;
inline constexpr std::uint32_t kPurple = 0x800080;
inline constexpr std::uint32_t kBlack = 0x000000;

struct Bar {
    int left = 0;  // first column
    int right = 0; // one past the last column (left + bar width)
    int top = 0;   // first row
    int bottom = 0;
    bool forwardHatch = true; // hatched forward ("\\"), else backward ("/")
    bool operator==(const Bar&) const = default;
};

struct AxisLabel {
    int x = 0; // centre of the text
    int y = 0; // top of the text
    std::string text;
};

struct HistogramLayout {
    int left = 0, width = 0, baseY = 0, maxHeight = 0;
    int sumFrom = 0; // the first sum, n
    int barWidth = 0;
    std::uint32_t colour = kRed;
    std::vector<Bar> bars;         // one per sum, n .. 6n
    std::vector<AxisLabel> labels; // sums written under the base line
};

// Bars of width round((width - k + 1) / k), one column apart, from `left`;
// heights round(P x maxHeight / Pmax) above the base line. A width of 0 is
// reported as such (kBarWidthZero). Bars that would run more than
// kPanelMargin columns past the panel are narrowed until they fit.
inline constexpr int kPanelMargin = 25;
HistogramLayout LayoutHistogram(const std::vector<double>& probabilities, int sumFrom, int left, int width,
                                int baseY, int maxHeight, std::uint32_t colour);

// The panels of the pictures: one (450 by 300), two side by side, four in a
// 2 by 2 grid. `histograms` is 1, 2 or 4; `index` 0 .. histograms - 1.
struct Panel {
    int left, width, baseY, maxHeight;
    std::uint32_t colour;
};
Panel PanelFor(int histograms, int index);
inline constexpr int kOneWidth = 450, kOneHeight = 300;
inline constexpr int kManyWidth = 600;
inline constexpr int kTwoHeight = 300, kFourHeight = 350;

inline constexpr const char* kBarWidthZero = "Summation length too large; Bar width := 0 !!";

} // namespace tarvik::normal
