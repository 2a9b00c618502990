#pragma once
// The plain part of the graph control: axes, their automatic scaling, ticks,
// tick labels and the mapping between values and pixels. No Qt here, so that
// scaling can be checked without a widget.
#include <array>
#include <stdexcept>
#include <string>
#include <vector>

namespace tarvik::plot {

// A scale that cannot be built ("GetStep entered with bad range", ...).
class PlotError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class AxisOffset { ao_Minimum, ao_Maximum, ao_percentage, ao_absolute };

struct TAxis {
    std::string Title = "X axis";
    int LabelDecimals = 1;
    bool AutoLabelDecimals = true;
    unsigned short LogCycleDivisions = 2;
    bool LogScale = false;
    double Max = 10;
    double Min = 0;
    double StepSize = 2;
    double MinScaleLength = 0;
    bool ShowAxis = true;
    AxisOffset OffsetType = AxisOffset::ao_Minimum;
    double Offset = 0;
    bool Gridlines = true;
    bool AutoSizing = false;
    bool AutoStepping = false;

    // Filled before each paint.
    bool hasData = false;
    double dataMin = 0, dataMax = 0;
    double factor = 1; // pixels per unit (per unit of ln on a log axis)
    bool valid = false;
};

// The tick step for a range: 10^k divided by the first of 1, 2, 5, 10, 20, 50
// that gives at least `minSteps` steps.
double GetStep(double range, int minSteps);

// Round limits for the data range [dmin, dmax] of a linear axis.
void SetMinMax(TAxis& axis, double dmin, double dmax, int minSteps, int maxSteps);

// Limits of an autosized axis without data.
void ScaleWithoutData(TAxis& axis, int minSteps);

// Rescales an autosized axis from its data range (log axes: whole decades).
void AutoScale(TAxis& axis, int minSteps, int maxSteps);

// Min < Max and, on a log axis, Min > 0.
bool ScaleValid(const TAxis& axis);

struct Tick {
    double value = 0;
    bool labelled = true;
    std::string label;
};

// Decimals that follow a step or a decade start: 0.5 -> 1, 2 -> 0, 0.01 -> 2.
int AutoDecimals(double x);
// The tick label of a linear axis for value v with the given decimals.
std::string LinearLabel(double v, double min, double max, int decimals);

// The ticks of a linear axis; the step is replaced by GetStep when it is not
// positive or gives more than `maxSteps` ticks. `step` receives the step used.
std::vector<Tick> LinearTicks(const TAxis& axis, int minSteps, int maxSteps, double* step = nullptr);
// The mantissas of one decade for a number of divisions.
std::vector<double> LogMantissas(unsigned divisions);
std::vector<Tick> LogTicks(const TAxis& axis);
std::vector<Tick> Ticks(const TAxis& axis, int minSteps, int maxSteps);

// Value to pixel: the offset from the margin, clamped to -20000 .. 20000.
int XPixel(const TAxis& axis, double x, int leftMargin);
int YPixel(const TAxis& axis, double y, int topMargin);
// Pixel back to value (the inverse of the mapping, used by zooming).
double XValue(const TAxis& axis, int px, int leftMargin);
double YValue(const TAxis& axis, int py, int topMargin);
// Pixels per unit for a plot-area length; false when the scale is invalid.
bool ComputeFactor(TAxis& axis, int length);

// Shift-drag zooming: what the axes were before the first zoom.
struct ZoomMemory {
    bool zoomed = false;
    struct Saved {
        bool autoSizing = false;
        double min = 0, max = 0;
    };
    std::array<Saved, 3> saved{};
};

// Zooms the three axes (X, Y, second Y) to a rectangle given in pixels, or
// undoes the zoom when it is less than 5 pixels wide or high.
void ApplyZoom(ZoomMemory& memory, std::array<TAxis*, 3> axes, int left, int top, int right, int bottom,
               int leftMargin, int topMargin);
// Remembers the axes before the first zoom.
void RememberAxes(ZoomMemory& memory, std::array<TAxis*, 3> axes);

} // namespace tarvik::plot
