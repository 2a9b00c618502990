#pragma once
// The two pictures of the coin-tossing module, drawn on off-screen images: the
// frequency diagram (401 by 225) and the random walk (485 by 300).
#include "modules/dice/dobbel.h"

#include <QColor>
#include <QImage>

class QPainter;

namespace tarvik::dice::ui {

inline constexpr int kDiagramWidth = 401;
inline constexpr int kDiagramHeight = 225;
inline constexpr int kWalkWidth = 485;
inline constexpr int kWalkPictureHeight = 300;

// The background of both pictures: the window colour.
QColor WindowColour();
QImage NewDiagramImage();
QImage NewWalkImage();

// Each drawing is made on a painter in picture coordinates (the picture, a
// saved drawing) or straight on the picture.

// The empty diagram: axes, face captions, the die and the row titles.
void DrawEmptyDiagram(QImage& image);
void DrawEmptyDiagram(QPainter& p);
// Bar k (1 .. 6) from `top` down to the base.
void DrawBar(QImage& image, int k, int top);
void DrawBar(QPainter& p, int k, int top);
// The dotted cap above a bar that reached the ceiling.
void DrawBarCap(QImage& image, int k);
void DrawBarCap(QPainter& p, int k);
// Counts and relative frequencies under the bars and the number of throws.
void DrawDiagramLabels(QImage& image, const Counts& counts, int throwsMade);
void DrawDiagramLabels(QPainter& p, const Counts& counts, int throwsMade);

// The whole walk picture for a layout (which must be possible). `throws` is
// written at the right end of the zero axis.
void DrawWalk(QImage& image, const WalkLayout& layout, int throws);
void DrawWalk(QPainter& p, const WalkLayout& layout, int throws);

} // namespace tarvik::dice::ui
