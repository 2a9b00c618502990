#pragma once
// The two pictures of the coin-tossing module, drawn on off-screen images: the
// frequency diagram (401 by 225) and the random walk (485 by 300).
#include "modules/dice/dobbel.h"

#include <QColor>
#include <QImage>

namespace tarvik::dice::ui {

inline constexpr int kDiagramWidth = 401;
inline constexpr int kDiagramHeight = 225;
inline constexpr int kWalkWidth = 485;
inline constexpr int kWalkPictureHeight = 300;

// The background of both pictures: the window colour.
QColor WindowColour();
QImage NewDiagramImage();
QImage NewWalkImage();

// The empty diagram: axes, face captions, the die and the row titles.
void DrawEmptyDiagram(QImage& image);
// Bar k (1 .. 6) from `top` down to the base.
void DrawBar(QImage& image, int k, int top);
// The dotted cap above a bar that reached the ceiling.
void DrawBarCap(QImage& image, int k);
// Counts and relative frequencies under the bars and the number of throws.
void DrawDiagramLabels(QImage& image, const Counts& counts, int throwsMade);

// The whole walk picture for a layout (which must be possible). `throws` is
// written at the right end of the zero axis.
void DrawWalk(QImage& image, const WalkLayout& layout, int throws);

} // namespace tarvik::dice::ui
