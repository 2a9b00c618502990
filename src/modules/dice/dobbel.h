#pragma once
// Coin tossing and dice: checking the settings, the throwing run (counts, bar
// tops, walk samples, table rows, time above zero, longest run of ones) and the
// geometry of the two pictures. The run steps throw by throw so that a window
// can draw after each throw and hand control to its event loop.
#include "common/progress.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik::dice {

inline constexpr int kFaces = 6;
inline constexpr int kMinThrows = 10;
inline constexpr int kMaxThrows = 100000;
inline constexpr int kFaceTableSize = 600;
inline constexpr int kMaxWalkSamples = 350;
inline constexpr int kMaxTableRows = 15;

using Probabilities = std::array<double, kFaces>;
using Counts = std::array<int, kFaces>;

// The four kinds of throwing, in the order of the settings dialog.
enum class Choice { FairCoin = 0, BiasedCoin = 1, FairDie = 2, BiasedDie = 3 };

// --- Settings -----------------------------------------------------------------

enum class SettingsError {
    None,
    TooManyThrows,      // "More then 100,000 throws is not possible"
    TooFewThrows,       // "Less then 10 throws is not possible"
    NotANumber,         // "Not all probabilities do have valid values"
    SumNotOne,          // "The sum of the probabilities must be 1"
    OutOfRange,         // "Probabilities larger then 1 or smaller then 0 are not allowed"
    FirstOutOfWalkRange // "P(X=1) must be between 0.1 and 0.9, in connection with stochastic walk"
};

// The message text of an error ("" for None).
std::string_view SettingsMessage(SettingsError error);
// The probability messages use the dialog with the standard captions; the
// number-of-throws messages the program's own.
bool UsesStandardCaptions(SettingsError error);

struct ThrowsCheck {
    SettingsError error = SettingsError::None;
    int throws = 0; // valid only without error
};

// Reads the "Number of throws" field. A field without any digits counts as 0,
// a number too long to hold counts as too many (or too few when negative).
ThrowsCheck CheckThrows(std::string_view text);

struct ProbabilityCheck {
    SettingsError error = SettingsError::None;
    Probabilities p{}; // the values read, valid only without error
};

// Reads the six probability fields: every one must be a number; except for
// the fair die they must lie in [0, 1] and add up to 1 within 0.0001; P(X=1)
// must lie in [0.1, 0.9] whatever the choice. The first failure is reported.
ProbabilityCheck CheckProbabilities(Choice choice, const std::array<std::string, kFaces>& texts);

// The texts the dialog puts in the six fields for a choice, and whether each
// field can be edited and is enabled.
struct ProbabilityField {
    const char* text;
    bool editable;
    bool enabled;
};
std::array<ProbabilityField, kFaces> FieldsFor(Choice choice);

// --- Run geometry -------------------------------------------------------------

inline constexpr int kBarBase = 144;   // pixel row of an empty bar
inline constexpr int kBarCeiling = 24; // highest row a bar reaches
inline constexpr int kBarCapTop = 20;  // top of the dotted cap of a full bar
inline constexpr int kBarWidth = 10;

// Bar, label and face-caption columns of face k (1 .. 6) in the diagram.
constexpr int BarLeft(int k) {
    return 122 + 48 * (k - 1);
}
constexpr int CountLabelX(int k) {
    return 47 * k + 64;
}
constexpr int FaceCaptionX(int k) {
    return 49 * k + 59;
}

// Pixels per throw of a bar: 95 / (pmax * n), with 83, 65 or 47 instead of 95
// for n below 200, 75 or 25.
double BarScale(int throws, const Probabilities& p);
// The top row of a bar for a count, before the ceiling is applied.
int BarTop(int count, double scale);
// Throws between two table rows: n / 15 rounded up.
int RowStep(int throws);

// The 600 faces the biased throws draw from, filled in face order with
// round(600 p_j) entries of face j (ties to even). When the rounded numbers do
// not add up to 600, the faces whose share is furthest below (or above) their
// exact 600 p_j get one entry more (or less) until they do; a face with
// probability 0 never gets an entry.
std::array<int, kFaceTableSize> BuildFaceTable(const Probabilities& p);
// How many entries each face has in the table.
Counts FaceTableCounts(const std::array<int, kFaceTableSize>& table);

// --- The run ------------------------------------------------------------------

struct RunSettings {
    Choice choice = Choice::FairCoin;
    int throws = 1000;
    Probabilities p{};
    bool fast = true;
};

struct TableRow {
    int throwNumber = 0;
    Probabilities frequency{};
};

// What one throw changed, for the window that draws it.
struct ThrowStep {
    int throwNumber = 0;  // i, from 1
    int face = 0;         // 1 .. 6
    int top = kBarBase;   // new top of the face's bar (after the ceiling)
    bool grew = false;    // the bar rose: draw it from `top` down to the base
    bool capped = false;  // the bar reached the ceiling for the first time: draw the cap
    bool refresh = false; // show the picture and handle pending events now
};

class DiceRun {
public:
    explicit DiceRun(const RunSettings& settings);

    const RunSettings& settings() const { return settings_; }
    bool done() const { return made_ >= settings_.throws; }
    int throwsMade() const { return made_; }

    // Throws once (call only while not done).
    ThrowStep throwOnce();

    const Counts& counts() const { return counts_; }
    const std::array<int, kFaces>& barTops() const { return tops_; }
    double barScale() const { return scale_; }
    int rowStep() const { return rowStep_; }
    const std::vector<TableRow>& rows() const { return rows_; }
    const std::vector<double>& walkSamples() const { return samples_; }
    int ones() const { return ones_; }
    int aboveCount() const { return above_; }
    int longestRun() const { return longest_; }
    // Share of the throws made during which the walk was above zero, in percent.
    double percentageAbove() const;
    // Relative frequency of face k (1 .. 6) after the throws made.
    double frequency(int k) const;

private:
    int drawFace();

    RunSettings settings_;
    std::array<int, kFaceTableSize> table_{};
    Counts counts_{};
    std::array<int, kFaces> tops_{};
    std::array<bool, kFaces> capped_{};
    double scale_ = 0;
    int made_ = 0;
    // Table.
    int rowStep_ = 1;
    int nextRow_ = 1;
    std::vector<TableRow> rows_;
    // Walk.
    double q_ = 0;        // chance of a one for the time above zero
    double expected_ = 0; // chance of a one for the samples
    int sampleIndex_ = 1;
    std::vector<double> samples_;
    int ones_ = 0;
    int above_ = 0;
    bool previousAbove_ = false;
    int run_ = 0;
    int longest_ = 0;
};

// Throws until the run is done or a stop is asked for (tested before every
// throw). `onThrow` sees every throw; the progress sink is yielded to whenever
// a throw asks for a refresh.
void RunThrows(DiceRun& run, Progress& progress, const std::function<void(const ThrowStep&)>& onThrow = {});

// --- The walk picture -----------------------------------------------------------

inline constexpr int kWalkLeft = 60;       // x of the first point
inline constexpr int kWalkAxisX = 57;      // the vertical axis
inline constexpr int kWalkTop = 35;        // row of the highest value
inline constexpr int kWalkHeight = 225;    // rows between the highest and the lowest value
inline constexpr int kWalkAxisLeft = 50;   // the zero axis runs from here ...
inline constexpr int kWalkAxisRight = 420; // ... to here

struct WalkPoint {
    int x = 0;
    int y = 0;
    bool operator==(const WalkPoint&) const = default;
};

struct WalkLayout {
    bool possible = false;        // false when every sample (and zero) is the same value
    double hi = 0;                // max(0, largest sample)
    double lo = 0;                // min(0, smallest sample)
    double scale = 0;             // pixels per unit: 225 / (hi - lo)
    int step = 1;                 // pixels per sample
    int zeroY = 0;                // row of the zero axis
    std::vector<WalkPoint> curve; // from (60, zeroY) through every sample
};

// Lays out the walk of `samples` taken from a run of `throws` throws. The
// vertical scale is the exact 225 / (hi - lo), so that the highest value sits
// on row 35, the lowest on row 260 and zero on the zero axis, however wide the
// range.
WalkLayout LayoutWalk(const std::vector<double>& samples, int throws);

} // namespace tarvik::dice
