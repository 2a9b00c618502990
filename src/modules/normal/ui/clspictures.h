#pragma once
// The pictures of the normal-distribution module, drawn on off-screen images
// from what the computation returns: histograms, the square-root law and the
// confidence intervals.
#include "common/ui/picturebox.h"
#include "modules/normal/clt.h"
#include "modules/normal/intervals.h"
#include "modules/normal/sqrtlaw.h"

#include <QColor>
#include <QImage>
#include <QWidget>

namespace tarvik::normal::ui {

QColor ToColour(std::uint32_t rgb);
// A picture in the window colour.
QImage NewPicture(int width, int height);

// One histogram: its base line, hatched bars and the sums under them.
void DrawHistogram(QImage& image, const HistogramLayout& layout);

// The axes, ticks, labels and guide lines of the square-root law.
void DrawSqrtFrame(QImage& image);
// A red point (3 by 3 when big) where the computation placed it.
void DrawSqrtPoint(QImage& image, const SqrtPoint& point, bool big);

// The two panels of the interval picture with their centre lines and p.
void DrawIntervalFrame(QImage& image, double p);
void DrawIntervalLine(QImage& image, const IntervalLine& line);

using tarvik::ui::TPictureBox;

} // namespace tarvik::normal::ui
