#pragma once
// The live-graph pictures of the queue simulation, drawn directly into images:
// the single-server graph (497 x 353) and the two-panel graphs (593 x 321 or
// 593 x 329). Coordinates are pixels from the top-left corner; texts stand with
// their top-left corner at the given point.
#include <QColor>
#include <QImage>
#include <QString>

class QPainter;

namespace tarvik::simulation::ui {

inline constexpr int kSingleWidth = 497;
inline constexpr int kSingleHeight = 353;
inline constexpr int kPanelWidth = 593;

QColor ButtonFace();
QImage NewPicture(int width, int height);

// Each drawing is made on the picture or on a painter in picture coordinates
// (a saved drawing).

// Single-server graph.
void DrawSingleFrame(QImage& img, double length);
void DrawSingleFrame(QPainter& p, double length);
void DrawSingleGrid(QImage& img, int scale);
void DrawSingleGrid(QPainter& p, int scale);
// Sample i (drawn only when i > 2) from the previous sample to this one.
void DrawSingleSample(QImage& img, int scale, int i, long long prevActual, long long actual,
                      double prevAverage, double average);
void DrawSingleSample(QPainter& p, int scale, int i, long long prevActual, long long actual,
                      double prevAverage, double average);

// Two-panel graphs.
struct PanelFrame {
    int height = 329;
    QString leftTitle, rightTitle;
    int leftTitleX = 120, rightTitleX = 440;
    bool rightNumber = false; // "Number" instead of "Number of" over the right panel
};
void DrawPanelFrame(QImage& img, const PanelFrame& frame, double length);
void DrawPanelFrame(QPainter& p, const PanelFrame& frame, double length);
// The grid lines stand at y + 2, or at y when `linesAtY`.
void DrawPanelGrid(QImage& img, int scale, bool linesAtY);
void DrawPanelGrid(QPainter& p, int scale, bool linesAtY);
// Sample i (drawn only when i > 2) of panel 0 (left) or 1 (right).
void DrawPanelSample(QImage& img, int panel, int scale, int i, long long prevActual, long long actual,
                     double prevAverage, double average);
void DrawPanelSample(QPainter& p, int panel, int scale, int i, long long prevActual, long long actual,
                     double prevAverage, double average);

// The y of a curve point: `base` - value, and `top` when above the plot.
int CurveY(int base, int top, double pixels);

// The grid labels of a graph: k = 1 at base - scale, the next one the smallest
// k' with (k' - k) x scale >= 20, while y > top. Calls `draw(k, y)` for each.
template <class F> void ForEachGridLabel(int base, int top, int scale, F draw) {
    if (scale < 1) scale = 1;
    const int step = (20 + scale - 1) / scale;
    for (long long k = 1;; k += step) {
        const long long y = base - k * scale;
        if (y <= top) break;
        draw(static_cast<int>(k), static_cast<int>(y));
    }
}

} // namespace tarvik::simulation::ui
