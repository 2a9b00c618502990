#include "plot/plotaxis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tarvik::plot {
namespace {

constexpr double kLog10E = 0.4342944818;
constexpr int kPixelLimit = 20000;

// Decimal exponent of a positive value the way the scales take it: log10,
// lowered by one when negative, then truncated after a small push outwards.
int DecadeExponent(double x) {
    double e = std::log(x) * kLog10E;
    if (e < 0) e -= 1;
    return static_cast<int>(std::trunc(e * 1.001));
}

int ClampOffset(double offset) {
    if (!(offset < kPixelLimit)) return kPixelLimit; // also NaN
    if (offset < -kPixelLimit) return -kPixelLimit;
    return static_cast<int>(std::lround(offset));
}

} // namespace

double GetStep(double range, int minSteps) {
    if (!(range > 0) || !std::isfinite(range)) throw PlotError("GetStep entered with bad range");
    const double g = std::pow(10.0, DecadeExponent(range));
    for (double d : {1.0, 2.0, 5.0, 10.0, 20.0, 50.0})
        if (range * d / g >= minSteps) return g / d;
    return g / 100;
}

void SetMinMax(TAxis& axis, double dmin, double dmax, int minSteps, int maxSteps) {
    if (dmin <= dmax && dmax - dmin < axis.MinScaleLength) dmax = dmin + axis.MinScaleLength;
    if (dmin > dmax) throw PlotError("Impossible: oMin > oMax in SetMinMax!");
    double min = 0, max = 0, step = axis.StepSize;
    if (dmin == dmax) {
        if (dmin == 0) {
            min = -1;
            max = 1;
            step = GetStep(max - min, minSteps);
        } else {
            if (dmin >= 0) {
                min = 0;
                max = 1.2 * dmax;
            } else {
                min = 1.2 * dmin;
                max = 0;
            }
            step = GetStep(max - min, minSteps);
            max = std::trunc(max / step) * step;
        }
    } else {
        min = dmin;
        max = dmax;
        if (axis.AutoStepping || step <= 0 || (max - min) / step > maxSteps)
            step = GetStep(max - min, minSteps);
        min = std::trunc(min / step) * step;
        if (dmin < 0) min -= step;
        if (min > dmin - 0.01 * step) min -= step;
        max = std::trunc(max / step) * step + step;
        if (dmax < 0) max -= step;
        if (max < dmax + 0.01 * step) max += step;
        if (dmin > 0 && dmin / (max - min) < 0.25)
            min = 0;
        else if (dmax < 0 && -dmax / (max - min) < 0.25)
            max = 0;
    }
    if (min >= max) throw PlotError("SetMinMax failed");
    axis.Min = min;
    axis.Max = max;
    axis.StepSize = step;
}

void ScaleWithoutData(TAxis& axis, int minSteps) {
    if (axis.Min > axis.Max) std::swap(axis.Min, axis.Max);
    if (axis.Min == axis.Max) {
        if (axis.Min == 0) {
            axis.Min = -1;
            axis.Max = 1;
        } else if (axis.Min > 0) {
            axis.Min = 0;
        } else {
            axis.Max = 0; // a negative value keeps the range below zero
        }
    }
    if (axis.LogScale) return;
    axis.StepSize = GetStep(axis.Max - axis.Min, minSteps);
}

void AutoScale(TAxis& axis, int minSteps, int maxSteps) {
    if (!axis.hasData) {
        ScaleWithoutData(axis, minSteps);
        return;
    }
    if (axis.LogScale) {
        // Whole decades around the positive data; nothing to scale otherwise.
        if (!(axis.dataMin > 0) || !(axis.dataMax > 0)) return;
        double lo = std::pow(10.0, std::floor(std::log10(axis.dataMin) + 1e-10));
        double hi = std::pow(10.0, std::ceil(std::log10(axis.dataMax) - 1e-10));
        if (hi <= lo) hi = lo * 10;
        axis.Min = lo;
        axis.Max = hi;
        return;
    }
    SetMinMax(axis, axis.dataMin, axis.dataMax, minSteps, maxSteps);
}

bool ScaleValid(const TAxis& axis) {
    if (!std::isfinite(axis.Min) || !std::isfinite(axis.Max)) return false;
    if (!(axis.Min < axis.Max)) return false;
    return !axis.LogScale || axis.Min > 0;
}

int AutoDecimals(double x) {
    const double a = std::log10(x);
    if (!std::isfinite(a)) return 0;
    const int d = a >= 0 ? -static_cast<int>(std::trunc(a)) : 1 - static_cast<int>(std::trunc(a));
    return std::max(0, d);
}

std::string LinearLabel(double v, double min, double max, int decimals) {
    const double range = max - min;
    if (std::fabs(v) < 1e-9 * range) v = 0; // a sum of steps that should be zero
    const double a = std::fabs(v);
    char buf[64];
    if (a >= 0.001 * range && (a <= 0.000999 || a >= 9999)) {
        // Two significant digits and a short exponent: 1.0E+4.
        std::snprintf(buf, sizeof buf, "%.1E", v);
        std::string s = buf;
        const auto e = s.find('E');
        std::string mant = s.substr(0, e + 2); // up to and including the sign
        std::string digits = s.substr(e + 2);
        while (digits.size() > 1 && digits[0] == '0') digits.erase(0, 1);
        return mant + digits;
    }
    std::snprintf(buf, sizeof buf, "%.*f", std::clamp(decimals, 0, 15), v);
    return buf;
}

std::vector<Tick> LinearTicks(const TAxis& axis, int minSteps, int maxSteps, double* usedStep) {
    std::vector<Tick> ticks;
    const double range = axis.Max - axis.Min;
    double step = axis.StepSize;
    if (!(step > 0) || range / step > maxSteps) step = GetStep(range, minSteps);
    if (usedStep) *usedStep = step;
    const int decimals = axis.AutoLabelDecimals ? AutoDecimals(step * 1.01 * 1.01) : axis.LabelDecimals;
    double t0 = std::trunc((axis.Min + 0.01 * step) / step) * step;
    if (axis.Min < 0) t0 -= step;
    if (axis.Min > t0 + 0.01 * step) t0 += step;
    const double end = axis.Max + 0.001 * range;
    for (int i = 0; i <= maxSteps + 2; ++i) {
        const double v = t0 + i * step;
        if (!(v < end)) break;
        ticks.push_back({v, true, LinearLabel(v, axis.Min, axis.Max, decimals)});
    }
    return ticks;
}

std::vector<double> LogMantissas(unsigned divisions) {
    switch (std::min(divisions, 9u)) {
    case 0:
        return {1, 10};
    case 1:
        return {1, 5, 10};
    case 2:
    case 3:
        return {1, 2, 5, 10};
    case 4:
    case 5:
    case 6:
        return {1, 1.5, 2, 3, 5, 7, 10};
    case 7:
    case 8:
        return {1, 1.5, 2, 3, 4, 5, 6, 8, 10};
    default:
        return {1, 1.2, 1.5, 2, 2.5, 3, 4, 5, 6, 8, 10};
    }
}

std::vector<Tick> LogTicks(const TAxis& axis) {
    std::vector<Tick> ticks;
    if (!ScaleValid(axis) || !axis.LogScale) return ticks;
    const unsigned divisions = std::min<unsigned>(axis.LogCycleDivisions, 9);
    const std::vector<double> table = LogMantissas(divisions);
    double decade = std::pow(10.0, DecadeExponent(axis.Min));
    if (decade > axis.Min) decade /= 10;
    const double decades = std::log10(axis.Max / axis.Min);
    const bool labelAll = decades * std::max(1u, divisions) < 10;
    const int extra = divisions > 4 ? 1 : 0;
    // Skip the mantissas below the minimum in the first decade.
    std::size_t i = 0;
    while (i + 1 < table.size() && table[i] * decade < 0.999 * axis.Min) ++i;
    if (i + 1 == table.size()) {
        decade *= 10;
        i = 0;
    }
    // Decimals follow the decade (set at each decade start).
    int decimals = std::max(0, AutoDecimals(decade * 1.01) + extra);
    for (int guard = 0; guard < 2000; ++guard) {
        const double v = table[i] * decade;
        if (v > axis.Max * 1.001) break;
        if (i == 0) decimals = std::max(0, AutoDecimals(decade * 1.01) + extra);
        Tick t{v, i == 0 || labelAll, {}};
        if (t.labelled) {
            char buf[64];
            std::snprintf(buf, sizeof buf, "%.*f", std::min(decimals, 20), v);
            t.label = buf;
        }
        ticks.push_back(t);
        ++i;
        if (i + 1 >= table.size()) { // the last entry is the next decade's start
            i = 0;
            decade *= 10;
        }
    }
    return ticks;
}

std::vector<Tick> Ticks(const TAxis& axis, int minSteps, int maxSteps) {
    return axis.LogScale ? LogTicks(axis) : LinearTicks(axis, minSteps, maxSteps);
}

bool ComputeFactor(TAxis& axis, int length) {
    axis.valid = ScaleValid(axis);
    if (!axis.valid) return false;
    const double span = axis.LogScale ? std::log(axis.Max) - std::log(axis.Min) : axis.Max - axis.Min;
    axis.factor = length / span;
    axis.valid = std::isfinite(axis.factor) && axis.factor > 0;
    return axis.valid;
}

int XPixel(const TAxis& axis, double x, int leftMargin) {
    const double d = axis.LogScale ? std::log(x) - std::log(axis.Min) : x - axis.Min;
    return ClampOffset(d * axis.factor) + leftMargin;
}

int YPixel(const TAxis& axis, double y, int topMargin) {
    const double d = axis.LogScale ? std::log(axis.Max) - std::log(y) : axis.Max - y;
    return ClampOffset(d * axis.factor) + topMargin;
}

double XValue(const TAxis& axis, int px, int leftMargin) {
    const double d = (px - leftMargin) / axis.factor;
    return axis.LogScale ? std::exp(std::log(axis.Min) + d) : axis.Min + d;
}

double YValue(const TAxis& axis, int py, int topMargin) {
    const double d = (py - topMargin) / axis.factor;
    return axis.LogScale ? std::exp(std::log(axis.Max) - d) : axis.Max - d;
}

void RememberAxes(ZoomMemory& memory, std::array<TAxis*, 3> axes) {
    if (memory.zoomed) return;
    for (std::size_t i = 0; i < axes.size(); ++i)
        memory.saved[i] = {axes[i]->AutoSizing, axes[i]->Min, axes[i]->Max};
}

void ApplyZoom(ZoomMemory& memory, std::array<TAxis*, 3> axes, int left, int top, int right, int bottom,
               int leftMargin, int topMargin) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    if (right - left < 5 || bottom - top < 5) {
        for (std::size_t i = 0; i < axes.size(); ++i) {
            const auto& s = memory.saved[i];
            axes[i]->AutoSizing = s.autoSizing;
            if (!s.autoSizing) {
                axes[i]->Min = s.min;
                axes[i]->Max = s.max;
            }
        }
        memory.zoomed = false;
        return;
    }
    for (std::size_t i = 0; i < axes.size(); ++i) {
        TAxis& a = *axes[i];
        if (!a.valid) continue;
        double lo, hi;
        if (i == 0) {
            lo = XValue(a, left, leftMargin);
            hi = XValue(a, right, leftMargin);
        } else {
            lo = YValue(a, bottom, topMargin);
            hi = YValue(a, top, topMargin);
        }
        const double remembered = std::fabs(memory.saved[i].max - memory.saved[i].min);
        const double narrowest = remembered / 1000;
        if (hi - lo < narrowest) hi = lo + narrowest;
        a.AutoSizing = false;
        a.Min = lo;
        a.Max = hi;
    }
    memory.zoomed = true;
}

} // namespace tarvik::plot
