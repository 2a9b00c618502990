#include "modules/dice/ui/dobbelpictures.h"

#include "common/numformat.h"

#include <QApplication>
#include <QFont>
#include <QPainter>
#include <QPalette>

namespace tarvik::dice::ui {
namespace {

// The canvas fonts: the dialog font for the diagram, 11 points for the walk legend.
QFont CanvasFont(int pixelSize) {
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(pixelSize);
    return f;
}

constexpr int kSmallText = 11;  // 8 points on a 96 dpi canvas
constexpr int kLegendText = 15; // 11 points

// Text with its top left corner at (x, y), as on a window canvas.
void TextOut(QPainter& p, int x, int y, const QString& text) {
    p.drawText(QPoint(x, y + p.fontMetrics().ascent()), text);
}

// A label that replaces the one drawn before it at the same place.
void LabelOut(QPainter& p, int x, int y, int width, const QString& text) {
    p.fillRect(QRect(x, y, width, 14), WindowColour());
    TextOut(p, x, y, text);
}

QImage NewImage(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(WindowColour());
    return image;
}

void DrawDie(QPainter& p, const QRect& r) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    p.setBrush(Qt::black);
    p.setPen(Qt::NoPen);
    const double w = r.width(), h = r.height();
    // The five of a die.
    const double spots[5][2] = {{0.25, 0.25}, {0.75, 0.25}, {0.5, 0.5}, {0.25, 0.75}, {0.75, 0.75}};
    for (const auto& s : spots)
        p.drawEllipse(QPointF(r.left() + s[0] * w, r.top() + s[1] * h), w / 11, h / 11);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
}

} // namespace

QColor WindowColour() {
    return QApplication::instance() ? QApplication::palette().color(QPalette::Window) : QColor(240, 240, 240);
}

QImage NewDiagramImage() {
    return NewImage(kDiagramWidth, kDiagramHeight);
}
QImage NewWalkImage() {
    return NewImage(kWalkWidth, kWalkPictureHeight);
}

void DrawEmptyDiagram(QImage& image) {
    QPainter p(&image);
    DrawEmptyDiagram(p);
}

void DrawEmptyDiagram(QPainter& p) {
    p.fillRect(QRect(0, 0, kDiagramWidth, kDiagramHeight), WindowColour());
    DrawDie(p, QRect(28, 30, 44, 44));
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(100, 11, 100, 214);
    p.drawLine(36, 173, 397, 173);
    p.drawLine(100, 146, 395, 146);
    p.setPen(Qt::black);
    p.setFont(CanvasFont(kSmallText));
    for (int k = 1; k <= kFaces; ++k) TextOut(p, FaceCaptionX(k), 153, QStringLiteral("P(X=%1)").arg(k));
    TextOut(p, 32, 128, QStringLiteral("# throws"));
    TextOut(p, 45, 178, QStringLiteral("Count:"));
    TextOut(p, 43, 195, QStringLiteral("Rel. Freq."));
}

void DrawBar(QImage& image, int k, int top) {
    QPainter p(&image);
    DrawBar(p, k, top);
}

void DrawBar(QPainter& p, int k, int top) {
    p.fillRect(QRect(BarLeft(k), top, kBarWidth, kBarBase - top + 1), Qt::red);
}

void DrawBarCap(QImage& image, int k) {
    QPainter p(&image);
    DrawBarCap(p, k);
}

void DrawBarCap(QPainter& p, int k) {
    p.setPen(QPen(QColor(128, 0, 128), 1, Qt::DotLine));
    for (int y = kBarCapTop; y <= kBarCeiling; y += 2)
        p.drawLine(BarLeft(k), y, BarLeft(k) + kBarWidth - 1, y);
}

void DrawDiagramLabels(QImage& image, const Counts& counts, int throwsMade) {
    QPainter p(&image);
    DrawDiagramLabels(p, counts, throwsMade);
}

void DrawDiagramLabels(QPainter& p, const Counts& counts, int throwsMade) {
    p.setPen(Qt::black);
    p.setFont(CanvasFont(kSmallText));
    for (int k = 1; k <= kFaces; ++k) {
        const int c = counts[k - 1];
        const double f = throwsMade > 0 ? static_cast<double>(c) / throwsMade : 0.0;
        LabelOut(p, CountLabelX(k), 178, 44, QString::number(c));
        LabelOut(p, CountLabelX(k), 195, 44, QString::fromStdString(FormatFixed(f, 3)));
    }
    LabelOut(p, 37, 149, 60, QString::number(throwsMade));
}

void DrawWalk(QImage& image, const WalkLayout& layout, int throws) {
    QPainter p(&image);
    DrawWalk(p, layout, throws);
}

void DrawWalk(QPainter& p, const WalkLayout& layout, int throws) {
    p.fillRect(QRect(0, 0, kWalkWidth, kWalkPictureHeight), WindowColour());
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(kWalkAxisX, 24, kWalkAxisX, 271);
    p.setPen(QPen(Qt::red, 1));
    p.drawLine(46, 287, 73, 287);
    p.setFont(CanvasFont(kLegendText));
    p.setPen(Qt::black);
    TextOut(p, 78, 278, QStringLiteral("actual number of one's-expected number"));
    if (!layout.possible || layout.curve.empty()) return;

    p.setPen(QPen(Qt::red, 1));
    QPolygon curve;
    for (const WalkPoint& pt : layout.curve) curve << QPoint(pt.x, pt.y);
    p.drawPolyline(curve);

    p.setPen(QPen(Qt::black, 2));
    p.drawLine(kWalkAxisLeft, layout.zeroY, kWalkAxisRight, layout.zeroY);
    p.setPen(Qt::black);
    p.setFont(CanvasFont(kSmallText));
    TextOut(p, kWalkWidth - 50, layout.zeroY, QString::number(throws));
    TextOut(p, 10, 27, QString::fromStdString(FormatFixed(layout.hi, 2)));
    TextOut(p, 10, 249, QString::fromStdString(FormatFixed(layout.lo, 2)));
}

} // namespace tarvik::dice::ui
