#pragma once
// Number formats, guarded primitives, the lists of t-, p- and n-values and the
// time grids of the graphs, shared by every queueing model.
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tarvik::queue {

// |x| as "%10.7f" from 1e-6, "%10.3e" from 1e-12, else a lone 0 in ten columns.
std::string FormatProbability(double x);
// The same without the leading blanks.
std::string FormatProbabilityTrimmed(double x);
// Fixed point with as many decimals as `digits` significant digits allow,
// exponent notation (" 1.2E+0006") from 10^digits on.
std::string FormatFraction(double x, int width = 10, int digits = 6);
// "%7.3g".
std::string FormatAccuracy(double x);

// e^x, exactly 0 at or below -100.
double SafeExp(double x);
// ln x, -750 at or below 1e-325 (zero and negative numbers included).
double SafeLn(double x);
// 0 for base 0, else SafeExp(exponent * SafeLn(base)).
double Power(double base, double exponent);
// A real turned into a count: trunc(value + 1e-10).
int CountOf(double value);

// Field texts as the model reads them: an integer within the 32-bit range, or
// a finite real. Blanks around the number are allowed.
std::optional<int> ReadInteger(const std::string& text);
std::optional<double> ReadReal(const std::string& text);

// What an input field keeps while the user types: digits and (for a real
// field) the point. The caret moves left by the removed characters before it.
struct FieldText {
    std::string text;
    int caret = 0;
    bool changed = false;
};
FieldText FilterFieldText(const std::string& text, int caret, bool integer);

// The twelve entries of a t-, p- or n-list.
enum class ValueKind { Real, Integer };
inline constexpr int kListSize = 12;
inline constexpr double kPListUpper = 0.9999990001;
using ListTexts = std::array<std::string, kListSize>;

struct ValueEntry {
    std::string text;
    double value = 0;
    int error = 0;
};

struct ValueList {
    std::array<ValueEntry, kListSize> entries; // sorted, marked with "**"
    std::vector<double> values;                // the usable values, ascending
    int count = 0;
    ListTexts Texts() const;
};

// Reads, checks (0 <= value <= upper), sorts and marks the twelve texts.
ValueList ReadValueList(const ListTexts& fields, ValueKind kind, double upper);

// The time step of a waiting-time graph from 0 to tmax (24 to 50 points).
double GraphTimeStep(double tmax);

// Where the k-th graph window of the module goes (k counts from 0).
std::pair<int, int> CascadePosition(int k, int designLeft, int designTop, int screenWidth, int screenHeight,
                                    int windowWidth, int windowHeight);

using GraphPoints = std::vector<std::pair<double, double>>;

// (0, 1) and (t, P{Wq > t}/Pwait) on the grid of GraphTimeStep up to the t where
// P{Wq > t} falls to 0.001 Pwait (found by bisection).
GraphPoints WaitingTimeGraphPoints(const std::function<double(double)>& pwq, double pwait);
// The tmax of those points.
double WaitingTimeGraphEnd(const std::function<double(double)>& pwq, double pwait);

// State-graph points (n, y(n)) thinned to about 50, sampled up to y <= 0.001
// or n = 10000.
GraphPoints ThinnedStateGraphPoints(const std::function<double(int)>& y);

// A distribution on 0..N given in full (zero beyond N): P{L = n}, and P{L > n}
// from the running sums.
class FullDistribution {
public:
    explicit FullDistribution(const std::vector<double>& p);
    double Eq(int n) const;
    double Gt(int n) const;
    // (0, 1), then P{L > n | L > 0} (never below 0) thinned as above.
    GraphPoints ConditionalTailGraph() const;

private:
    std::vector<double> p_, cumulative_;
    double sum_ = 0;
};

} // namespace tarvik::queue
