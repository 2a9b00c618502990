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

// The curves' green is the graph control's green, not the bright lime.
const QColor kGreen(0x00, 0x80, 0x00);

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
    QPainter p(&img);
    DrawSingleFrame(p, length);
}

void DrawSingleFrame(QPainter& p, double length) {
    p.fillRect(QRect(0, 0, kSingleWidth, kSingleHeight), ButtonFace());
    p.setFont(DefaultFont());
    p.setPen(Qt::black);
    TextOut(p, 4, 9, QStringLiteral("Number of"));
    TextOut(p, 4, 27, QStringLiteral("Customers"));
    TextOut(p, 43, 332, QStringLiteral("Actual number of customers present"));
    Line(p, kGreen, 1, 7, 338, 37, 338);
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
    DrawSingleGrid(p, scale);
}

void DrawSingleGrid(QPainter& p, int scale) {
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
    DrawSingleSample(p, scale, i, prevActual, actual, prevAverage, average);
}

void DrawSingleSample(QPainter& p, int scale, int i, long long prevActual, long long actual,
                      double prevAverage, double average) {
    if (i <= 2) return;
    const int top = 40;
    const int a0 = CurveY(310, top, static_cast<double>(prevActual) * scale);
    const int a1 = CurveY(310, top, static_cast<double>(actual) * scale);
    Line(p, a0 == top && a1 == top ? Qt::red : kGreen, 1, 50 + i, a0, 51 + i, a1);
    const int m0 = CurveY(310, top, std::nearbyint(scale * prevAverage));
    const int m1 = CurveY(310, top, std::nearbyint(scale * average));
    Line(p, m0 == top && m1 == top ? Qt::red : Qt::blue, 1, 50 + i, m0, 51 + i, m1);
}

void DrawPanelFrame(QImage& img, const PanelFrame& frame, double length) {
    QPainter p(&img);
    DrawPanelFrame(p, frame, length);
}

void DrawPanelFrame(QPainter& p, const PanelFrame& frame, double length) {
    p.fillRect(QRect(0, 0, kPanelWidth, frame.height), ButtonFace());
    p.setFont(DefaultFont());
    p.setPen(Qt::black);
    TextOut(p, 5, 5, QStringLiteral("Number of"));
    TextOut(p, 5, 19, QStringLiteral("Customers"));
    TextOut(p, 303, 5, frame.rightNumber ? QStringLiteral("Number") : QStringLiteral("Number of"));
    TextOut(p, 303, 19, QStringLiteral("Customers"));
    const QString sim = QStringLiteral("Simulation length");
    const int w = p.fontMetrics().horizontalAdvance(sim);
    TextOut(p, 240 - w, 255, sim);
    TextOut(p, 540 - w, 255, sim);
    TextOut(p, 43, 287, QStringLiteral("Actual number of customers present"));
    TextOut(p, 43, 306, QStringLiteral("Average number of customers present"));
    const QString len = QString::fromStdString(ShortText(length));
    TextOut(p, 249, 255, len);
    TextOut(p, 548, 255, len);
    Line(p, Qt::black, 2, 50, 26, 50, 251);
    Line(p, Qt::black, 2, 50, 251, 280, 251);
    Line(p, Qt::black, 2, 350, 26, 350, 251);
    Line(p, Qt::black, 2, 350, 251, 578, 251);
    Line(p, kGreen, 1, 8, 292, 38, 292);
    Line(p, Qt::blue, 1, 8, 311, 38, 311);
    QFont title = DefaultFont();
    title.setBold(true);
    title.setPointSize(11);
    p.setFont(title);
    p.setPen(QApplication::palette().color(QPalette::WindowText));
    TextOut(p, frame.leftTitleX, 11, frame.leftTitle);
    TextOut(p, frame.rightTitleX, 11, frame.rightTitle);
}

void DrawPanelGrid(QImage& img, int scale, bool linesAtY) {
    QPainter p(&img);
    DrawPanelGrid(p, scale, linesAtY);
}

void DrawPanelGrid(QPainter& p, int scale, bool linesAtY) {
    p.setFont(DefaultFont());
    const int dy = linesAtY ? 0 : 2;
    ForEachGridLabel(250, 30, scale, [&](int k, int y) {
        p.setPen(Qt::black);
        TextOut(p, 30, y - 4, QString::number(k));
        TextOut(p, 330, y - 4, QString::number(k));
        Line(p, Qt::black, 1, 50, y + dy, 280, y + dy);
        Line(p, Qt::black, 1, 350, y + dy, 578, y + dy);
    });
}

void DrawPanelSample(QImage& img, int panel, int scale, int i, long long prevActual, long long actual,
                     double prevAverage, double average) {
    if (i <= 2) return;
    QPainter p(&img);
    DrawPanelSample(p, panel, scale, i, prevActual, actual, prevAverage, average);
}

void DrawPanelSample(QPainter& p, int panel, int scale, int i, long long prevActual, long long actual,
                     double prevAverage, double average) {
    if (i <= 2) return;
    const int x = panel == 0 ? 50 : 350;
    const int top = 30;
    const int a0 = CurveY(250, top, static_cast<double>(prevActual) * scale);
    const int a1 = CurveY(250, top, static_cast<double>(actual) * scale);
    Line(p, a0 == top && a1 == top ? Qt::red : kGreen, 1, x + i, a0, x + i + 1, a1);
    const int m0 = CurveY(250, top, std::nearbyint(scale * prevAverage));
    const int m1 = CurveY(250, top, std::nearbyint(scale * average));
    Line(p, m0 == top && m1 == top ? Qt::red : Qt::blue, 1, x + i, m0, x + i + 1, m1);
}

} // namespace tarvik::simulation::ui
