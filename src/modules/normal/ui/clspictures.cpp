#include "modules/normal/ui/clspictures.h"

#include "common/numformat.h"
#include "common/ui/picturetext.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>

namespace tarvik::normal::ui {

QColor ToColour(std::uint32_t rgb) {
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

QImage NewPicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QApplication::palette().color(QPalette::Window));
    return image;
}

namespace {

void CentredText(QPainter& p, int x, int y, const QString& text) {
    const QFontMetrics fm = p.fontMetrics();
    const int w = fm.horizontalAdvance(text);
    p.drawText(QRect(x - w / 2 - 1, y, w + 2, fm.height()), Qt::AlignCenter, text);
    tarvik::ui::PictureTextLog::Record(tarvik::ui::TextBox(fm, x - w / 2, y, text), text);
}

} // namespace

void DrawHistogram(QImage& image, const HistogramLayout& layout) {
    QPainter p(&image);
    p.setPen(Qt::black);
    p.drawLine(layout.left, layout.baseY, layout.left + layout.width, layout.baseY);
    const QColor colour = ToColour(layout.colour);
    if (layout.barWidth > 0) {
        for (const Bar& b : layout.bars) {
            const int height = b.bottom - b.top;
            if (height <= 0) continue;
            const QRect r(b.left, b.top, b.right - b.left, height);
            p.fillRect(r, Qt::white);
            p.fillRect(r, QBrush(colour, b.forwardHatch ? Qt::FDiagPattern : Qt::BDiagPattern));
            p.setPen(colour);
            p.setBrush(Qt::NoBrush);
            p.drawRect(r.adjusted(0, 0, -1, -1));
        }
    }
    QFont font = p.font();
    font.setPixelSize(10);
    p.setFont(font);
    p.setPen(Qt::black);
    for (const AxisLabel& l : layout.labels) {
        p.drawLine(l.x, layout.baseY, l.x, layout.baseY + 2);
        CentredText(p, l.x, l.y, QString::fromStdString(l.text));
    }
}

void DrawSqrtFrame(QImage& image) {
    QPainter p(&image);
    p.setPen(Qt::black);
    p.drawLine(kSqrtAxisX, kSqrtAxisTop, kSqrtAxisX, kSqrtAxisBottom);
    p.drawLine(kSqrtAxisX, kSqrtZeroY, kSqrtAxisRight, kSqrtZeroY);
    QFont font = p.font();
    font.setPixelSize(10);
    p.setFont(font);
    const std::vector<Tick> ticks = SqrtTicks();
    const QFontMetrics fm = p.fontMetrics();
    for (const Tick& t : ticks) {
        p.setPen(Qt::black);
        p.drawLine(kSqrtAxisX - 4, t.y, kSqrtAxisX, t.y);
        const QString label = QString::fromStdString(t.label);
        const QRect box(2, t.y - fm.height() / 2, kSqrtAxisX - 8, fm.height());
        p.drawText(box, Qt::AlignRight | Qt::AlignVCenter, label);
        tarvik::ui::PictureTextLog::Record(fm.boundingRect(box, Qt::AlignRight | Qt::AlignVCenter, label),
                                           label);
    }
    // Each column's guide lines at +-2/sqrt(n).
    QPen guide(Qt::gray);
    guide.setStyle(Qt::DotLine);
    for (int g = 1; g <= 4; ++g) {
        const int x = GroupColumn(g);
        p.setPen(guide);
        p.drawLine(x - 25, ticks[g - 1].y, x + 25, ticks[g - 1].y);
        p.drawLine(x - 25, ticks[g + 3].y, x + 25, ticks[g + 3].y);
        p.setPen(Qt::black);
        p.drawLine(x, kSqrtZeroY, x, kSqrtZeroY + 3);
        CentredText(p, x, kSqrtAxisBottom + 4, QStringLiteral("n = %1").arg(kGroupSizes[g - 1]));
    }
}

void DrawSqrtPoint(QImage& image, const SqrtPoint& point, bool big) {
    if (!point.drawn) return;
    const QRgb red = qRgb(255, 0, 0);
    // Means beyond the axis stop at its end, clear of the "n = ..." labels below it.
    const QRect plot(0, 0, image.width(), kSqrtAxisBottom + 2);
    if (!big) {
        if (plot.contains(point.x, point.y)) image.setPixel(point.x, point.y, red);
        return;
    }
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (plot.contains(point.x + dx, point.y + dy)) image.setPixel(point.x + dx, point.y + dy, red);
}

void DrawIntervalFrame(QImage& image, double p) {
    QPainter painter(&image);
    painter.setPen(Qt::black);
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);
    const QString value = QString::fromStdString(FormatGeneral(p, 4));
    for (int panel = 0; panel < 2; ++panel) {
        const int left = kCiPanelLeft[panel];
        const int centre = left + kCiPanelWidth / 2;
        painter.drawLine(left, kCiBaseY, left + kCiPanelWidth, kCiBaseY);
        painter.drawLine(centre, kCiBaseY, centre, kCiBaseY - 3 * kRuns - 3);
        CentredText(painter, centre, kCiBaseY + 4, value);
    }
}

void DrawIntervalLine(QImage& image, const IntervalLine& line) {
    QPainter p(&image);
    p.setPen(ToColour(line.colour));
    p.drawLine(line.x1, line.y, line.x2, line.y);
    p.setPen(Qt::black);
    if (line.strokeLeft) p.drawLine(line.x1, line.y - 5, line.x1, line.y + 5);
    if (line.strokeRight) p.drawLine(line.x2, line.y - 5, line.x2, line.y + 5);
}

} // namespace tarvik::normal::ui
