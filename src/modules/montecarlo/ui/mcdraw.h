#pragma once
// Small drawing helpers for the pictures: texts placed by their top-left
// corner, and lines of a given colour and width.
#include "common/ui/picturesave.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

namespace tarvik::montecarlo::ui {

// A picture of the given size filled with the button-face colour.
QImage NewPicture(int w, int h);
QColor ButtonFace();
// The font of the picture texts: the window font of the dialogs ("MS Sans Serif").
QFont CanvasFont();

// Text with its top-left corner at (x, y).
void TextAt(QPainter& p, int x, int y, const QString& text);
// A label with its value after it, a blank's width apart: for labels whose
// text ends without a separator ("Number of lottery tickets").
void LabelValueAt(QPainter& p, int x, int y, const QString& label, const QString& value);
// Text centred horizontally on x, top at y.
void TextCentredAt(QPainter& p, int x, int y, const QString& text);
void LineAt(QPainter& p, int x1, int y1, int x2, int y2, QColor colour, int width = 1,
            Qt::PenStyle style = Qt::SolidLine);

// What a picture window paints on its picture, kept as drawing steps so that
// the picture can be saved as a drawing too. Every paint on the picture goes
// through `draw`: the step paints the picture at once and is kept. A step
// must hold copies of what it paints, never read the window's state later.
class MCCanvas {
public:
    explicit MCCanvas(QImage& picture) : picture_(picture) {}

    // Fills the whole picture with `colour` and forgets every step.
    void reset(QColor colour);
    // Paints `step` on the picture now and keeps it.
    void draw(tarvik::ui::PictureDrawing step);
    // The same, replacing the step kept under `key` (in its place) when there
    // is one: for parts painted over again and again during a run (counts,
    // running figures), whose last painting is what the picture shows.
    void draw(const QString& key, tarvik::ui::PictureDrawing step);
    // Keeps a step for the drawing only, under `key` like above: the picture
    // already shows what it paints (many small paints of a long run kept as
    // one step over their own compact record).
    void keep(const QString& key, tarvik::ui::PictureDrawing step);
    std::size_t steps() const { return steps_.size(); }

    // The picture as a drawing: the fill and the steps in order, limited to
    // `part` when given.
    tarvik::ui::PictureDrawing drawing(QRect part = {}) const;
    // "Save graph to file" for this picture (or its `part`) as a bitmap, PNG
    // image or SVG drawing.
    bool save(const QString& defaultName, bool appendBmp = false,
              const QString& fileTypeText = QStringLiteral("Bitmap-bestanden (*.bmp)"),
              QRect part = {}) const;

private:
    struct Step {
        QString key;
        tarvik::ui::PictureDrawing paint;
    };
    void remember(const QString& key, tarvik::ui::PictureDrawing step);

    QImage& picture_;
    QColor fill_;
    std::vector<Step> steps_;
};

} // namespace tarvik::montecarlo::ui
