#include "modules/roulette/ui/roulettepictures.h"

#include "modules/roulette/tablegame.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <numbers>

namespace tarvik::roulette::ui {
namespace {

const QColor kFelt(0, 110, 40);
const QColor kRed(200, 20, 20);
const QColor kBlack(25, 25, 25);
const QColor kZeroGreen(0, 150, 60);

QFont PictureFont(int pixelSize, bool bold = true) {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

// Raw drop coordinates where the snapped lattice index changes: halfway
// between lattice points.
constexpr double Between(double base, int index) {
    return base + kLatticeStep * (index + 0.5);
}

void Box(QPainter& p, const QRectF& r, const QColor& fill, const QString& text, const QColor& ink,
         int pixelSize) {
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(fill);
    p.drawRect(r);
    if (text.isEmpty()) return;
    p.setPen(ink);
    p.setFont(PictureFont(pixelSize));
    p.drawText(r, Qt::AlignCenter, text);
}

void Diamond(QPainter& p, QPointF c, const QColor& fill) {
    QPolygonF d;
    d << QPointF(c.x(), c.y() - 14) << QPointF(c.x() + 26, c.y()) << QPointF(c.x(), c.y() + 14)
      << QPointF(c.x() - 26, c.y());
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(fill);
    p.drawPolygon(d);
}

} // namespace

QColor PocketColor(int number) {
    switch (ColourOf(number)) {
    case PocketColour::Green:
        return kZeroGreen;
    case PocketColour::Red:
        return kRed;
    default:
        return kBlack;
    }
}

QImage DrawTablePicture() {
    QImage image(kTableWidth, kTableHeight, QImage::Format_RGB32);
    image.fill(kFelt);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    // Lattice coordinates: the chip's centre is 13.5 right of and 13 below
    // its top-left corner, and the picture stands 2 pixels down in its control.
    p.translate(kChipWidth / 2.0, kChipHeight / 2.0 - kTableTop);

    const double gridLeft = kLatticeX0, gridTop = kLatticeY0;
    const double cell = 2 * kLatticeStep; // 35
    const double gridRight = gridLeft + 12 * cell;

    // The numbers, 3q+3 in the top row down to 3q+1 in the bottom row.
    for (int q = 0; q < 12; ++q) {
        for (int r = 0; r < 3; ++r) {
            const int n = 3 * q + 3 - r;
            Box(p, QRectF(gridLeft + q * cell, gridTop + r * cell, cell, cell), PocketColor(n),
                QString::number(n), Qt::white, 15);
        }
    }
    Box(p, QRectF(-9, gridTop, gridLeft + 9, 3 * cell), kZeroGreen, QStringLiteral("0"), Qt::white, 20);

    // The columns at the right end of the rows.
    const double right = gridRight + 35;
    for (int r = 0; r < 3; ++r)
        Box(p, QRectF(gridRight, gridTop + r * cell, right - gridRight, cell), kFelt, QStringLiteral("2-1"),
            Qt::white, 11);

    // The even chances above and below the numbers, the dozens at the right.
    const double bandTop = -8, bandBottom = Between(gridTop, -1) - 2;
    const double lowTop = Between(gridTop, 6) + 2, lowBottom = 287;
    const double x1 = Between(gridLeft, 9), x2 = Between(gridLeft, 16), x3 = Between(gridLeft, 23);
    const double left = gridLeft - 18;
    Box(p, QRectF(left, bandTop, x1 - left, bandBottom - bandTop), kFelt, QStringLiteral("MANQUE\n1 - 18"),
        Qt::white, 13);
    Box(p, QRectF(x1, bandTop, x2 - x1, bandBottom - bandTop), kFelt, QStringLiteral("IMPAIR"), Qt::white,
        13);
    Box(p, QRectF(x2, bandTop, x3 - x2, bandBottom - bandTop), kFelt, QString(), Qt::white, 13);
    Diamond(p, QPointF((x2 + x3) / 2, (bandTop + bandBottom) / 2), kRed);
    Box(p, QRectF(left, lowTop, x1 - left, lowBottom - lowTop), kFelt, QStringLiteral("PASSE\n19 - 36"),
        Qt::white, 13);
    Box(p, QRectF(x1, lowTop, x2 - x1, lowBottom - lowTop), kFelt, QStringLiteral("PAIR"), Qt::white, 13);
    Box(p, QRectF(x2, lowTop, x3 - x2, lowBottom - lowTop), kFelt, QString(), Qt::white, 13);
    Diamond(p, QPointF((x2 + x3) / 2, (lowTop + lowBottom) / 2), kBlack);

    const double d1 = Between(gridTop, -4), d2 = Between(gridTop, -2);
    Box(p, QRectF(x3, bandTop, right - x3, d1 - bandTop), kFelt, QStringLiteral("1-12"), Qt::white, 11);
    Box(p, QRectF(x3, d1, right - x3, d2 - d1), kFelt, QStringLiteral("13-24"), Qt::white, 11);
    Box(p, QRectF(x3, d2, right - x3, bandBottom - d2), kFelt, QStringLiteral("25-36"), Qt::white, 11);
    const double e1 = Between(gridTop, 7), e2 = Between(gridTop, 9);
    Box(p, QRectF(x3, lowTop, right - x3, e1 - lowTop), kFelt, QStringLiteral("25-36"), Qt::white, 11);
    Box(p, QRectF(x3, e1, right - x3, e2 - e1), kFelt, QStringLiteral("13-24"), Qt::white, 11);
    Box(p, QRectF(x3, e2, right - x3, lowBottom - e2), kFelt, QStringLiteral("1-12"), Qt::white, 11);
    return image;
}

QImage DrawChipPicture() {
    QImage image(kChipWidth, kChipHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF outer(1, 0.5, kChipWidth - 2, kChipHeight - 1);
    p.setPen(QPen(QColor(90, 60, 0), 1));
    p.setBrush(QColor(240, 190, 30));
    p.drawEllipse(outer);
    p.setPen(QPen(Qt::white, 2, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(outer.adjusted(3, 3, -3, -3));
    p.setPen(QColor(90, 60, 0));
    p.setFont(PictureFont(11));
    p.drawText(outer, Qt::AlignCenter, QStringLiteral("$"));
    return image;
}

QImage DrawWheelPicture() {
    QImage image(kWheelWidth, kWheelHeight, QImage::Format_RGB32);
    image.fill(QColor(240, 240, 240));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    const QPointF centre(146, 145);
    // The wooden rim.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(110, 60, 20));
    p.drawEllipse(centre, 145, 145);
    p.setBrush(QColor(150, 90, 40));
    p.drawEllipse(centre, 139, 139);

    // 37 pockets: the ring where the ball lies (radius 109) and the numbers outside it.
    const double step = 2 * std::numbers::pi / 37;
    for (int k = 0; k < 37; ++k) {
        const double a = k * step + 3 * std::numbers::pi / 2;
        const int number = kWheelOrder[k];
        QPainterPath sector;
        sector.moveTo(centre);
        const double startDeg = -(a - step / 2) * 180 / std::numbers::pi;
        sector.arcTo(QRectF(centre.x() - 136, centre.y() - 136, 272, 272), startDeg,
                     -step * 180 / std::numbers::pi);
        sector.closeSubpath();
        p.setPen(QPen(QColor(220, 190, 90), 1));
        p.setBrush(PocketColor(number));
        p.drawPath(sector);
        // The number, upright towards the centre.
        p.save();
        p.translate(centre.x() + 126 * std::cos(a), centre.y() + 126 * std::sin(a));
        p.rotate(a * 180 / std::numbers::pi + 90);
        p.setPen(Qt::white);
        p.setFont(PictureFont(10));
        p.drawText(QRectF(-10, -7, 20, 14), Qt::AlignCenter, QString::number(number));
        p.restore();
    }
    // The pocket ring and the cone.
    p.setPen(QPen(QColor(220, 190, 90), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, 117, 117);
    p.drawEllipse(centre, 100, 100);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 70, 25));
    p.drawEllipse(centre, 99, 99);
    p.setBrush(QColor(160, 100, 45));
    p.drawEllipse(centre, 70, 70);
    // The turret.
    p.setPen(QPen(QColor(200, 170, 80), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre + QPointF(-30, 0), centre + QPointF(30, 0));
    p.drawLine(centre + QPointF(0, -30), centre + QPointF(0, 30));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 190, 90));
    p.drawEllipse(centre, 12, 12);
    return image;
}

void DrawBall(QImage& wheel, int wheelIndex) {
    QPainter p(&wheel);
    p.setRenderHint(QPainter::Antialiasing, true);
    const Point c = BallCentre(wheelIndex);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(c.x, c.y), kBallRadius, kBallRadius);
}

} // namespace tarvik::roulette::ui
