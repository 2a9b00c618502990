#include "modules/simulation/ui/simpictures.h"

#include "modules/simulation/simreport.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QPalette>
#include <cmath>

namespace tarvik::simulation::ui {

QColor ButtonFace() {
    return QApplication::palette().color(QPalette::Button);
}

QImage NewPicture(int width, int height) {
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(ButtonFace());
    return img;
}

namespace {

QFont DefaultFont() {
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPointSize(8);
    return f;
}

void TextOut(QPainter& p, int x, int y, const QString& text) {
    p.drawText(x, y + p.fontMetrics().ascent(), text);
}

void Line(QPainter& p, const QColor& color, int width, int x1, int y1, int x2, int y2) {
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(x1, y1, x2, y2);
}

} // namespace

int CurveY(int base, int top, double pixels) {
    const double y = base - pixels;
    if (!(y >= top)) return top;
    return static_cast<int>(y);
}

void DrawSingleFrame(QImage& img, double length) {
    img.fill(ButtonFace());
    QPainter p(&img);
    p.setFont(DefaultFont());
    p.setPen(Qt::black);
    TextOut(p, 4, 9, QStringLiteral("Number of"));
    TextOut(p, 4, 27, QStringLiteral("Customers"));
    TextOut(p, 43, 332, QStringLiteral("Actual number of customers present"));
    Line(p, Qt::green, 1, 7, 338, 37, 338);
    p.setPen(Qt::black);
    TextOut(p, 300, 332, QStringLiteral("Average number of customers present"));
    Line(p, Qt::blue, 1, 265, 338, 295, 338);
    p.setPen(Qt::black);
    TextOut(p, 313, 318, QStringLiteral("Simulation length"));
    TextOut(p, 433, 318, QString::fromStdString(ShortText(length)));
    TextOut(p, 43, 316, QStringLiteral("0"));
    Line(p, Qt::black, 2, 50, 5, 50, 313);
    Line(p, Qt::black, 2, 50, 311, 470, 311);
}

void DrawSingleGrid(QImage& img, int scale) {
    QPainter p(&img);
    p.setFont(DefaultFont());
    ForEachGridLabel(310, 40, scale, [&](int k, int y) {
        const QString label = QString::number(k);
        const QRect r = p.fontMetrics().boundingRect(label);
        p.fillRect(30, y - 4, r.width(), p.fontMetrics().height(), ButtonFace());
        p.setPen(Qt::black);
        TextOut(p, 30, y - 4, label);
        Line(p, Qt::black, 1, 50, y + 2, 470, y + 2);
    });
}

void DrawSingleSample(QImage& img, int scale, int i, long long prevActual, long long actual,
                      double prevAverage, double average) {
    if (i <= 2) return;
    QPainter p(&img);
    const int top = 40;
    const int a0 = CurveY(310, top, static_cast<double>(prevActual) * scale);
    const int a1 = CurveY(310, top, static_cast<double>(actual) * scale);
    Line(p, a0 == top && a1 == top ? Qt::red : Qt::green, 1, 50 + i, a0, 51 + i, a1);
    const int m0 = CurveY(310, top, std::nearbyint(scale * prevAverage));
    const int m1 = CurveY(310, top, std::nearbyint(scale * average));
    Line(p, m0 == top && m1 == top ? Qt::red : Qt::blue, 1, 50 + i, m0, 51 + i, m1);
}

} // namespace tarvik::simulation::ui
