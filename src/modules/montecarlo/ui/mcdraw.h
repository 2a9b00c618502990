#pragma once
// Small drawing helpers for the pictures: texts placed by their top-left
// corner, and lines of a given colour and width.
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>

namespace tarvik::montecarlo::ui {

// A picture of the given size filled with the button-face colour.
QImage NewPicture(int w, int h);
QColor ButtonFace();
// The font of the picture texts: the window font of the dialogs ("MS Sans Serif").
QFont CanvasFont();

// Text with its top-left corner at (x, y).
void TextAt(QPainter& p, int x, int y, const QString& text);
// Text centred horizontally on x, top at y.
void TextCentredAt(QPainter& p, int x, int y, const QString& text);
void LineAt(QPainter& p, int x1, int y1, int x2, int y2, QColor colour, int width = 1,
            Qt::PenStyle style = Qt::SolidLine);

} // namespace tarvik::montecarlo::ui
