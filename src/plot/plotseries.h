#pragma once
// The data of a graph series: points kept sorted by x, where an x within the
// numerical tolerance of an existing one replaces that point.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tarvik::plot {

struct SeriesPoint {
    int id = 0;
    double x = 0;
    double y = 0;
};

class TDataSeries {
public:
    std::string SeriesName;
    double NumericalTolerance = 0.05;
    bool DuplicatesAllowed = false;
    bool AutoZero = false;
    double ZeroValue = 0;

    // Adds (or, within the tolerance, overwrites) a point; returns its id.
    int Add(double x, double y);
    void Clear();
    int Count() const { return static_cast<int>(points_.size()); }
    const std::vector<SeriesPoint>& Points() const { return points_; }

    // Extremes of x and of y - ZeroValue; false when the series is empty.
    bool XRange(double& lo, double& hi) const;
    bool YRange(double& lo, double& hi) const;

    // Told when data or appearance change (the owning graph).
    std::function<void()> onChange;

protected:
    void Changed() const {
        if (onChange) onChange();
    }

private:
    void UpdateExtremes(double x, double y) const;
    void Recompute() const;

    std::vector<SeriesPoint> points_; // sorted by x
    int nextId_ = 1;
    mutable bool dirty_ = false;
    mutable double xmin_ = 0, xmax_ = 0, ymin_ = 0, ymax_ = 0;
};

enum class PointShape { Square, Circle, Diamond, Cross };
enum class LineStyle { Solid, Dash, Dot, DashDot, DashDotDot };

// Colours as 0xRRGGBB.
namespace colors {
inline constexpr std::uint32_t Black = 0x000000, Green = 0x008000, Blue = 0x0000FF, Red = 0xFF0000,
                               Grey = 0x808080, Maroon = 0x800000, Silver = 0xC0C0C0, White = 0xFFFFFF;
}

// A data series drawn in a graph, with the defaults of series number n.
class TSeries : public TDataSeries {
public:
    explicit TSeries(int number);

    int SeriesNumber;
    bool Active = true;
    bool ShowLine = true;
    bool ShowPoints = true;
    bool FillPoints;
    std::uint32_t LineColor;
    std::uint32_t PointColor;
    PointShape Shape;
    LineStyle Style;
    int YAxisIndex = 1; // 1 = YAxis, 2 = YAxis_Second

    int PointSize() const { return pointSize_; }
    // At least 2 and even: an odd value is raised by one.
    void SetPointSize(int size);

private:
    int pointSize_ = 4;
};

} // namespace tarvik::plot
