#include "modules/shortestpath/ui/kpadpicture.h"

#include "modules/shortestpath/geometry.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QStringList>

namespace tarvik::shortestpath::ui {
namespace {

QPoint ToPoint(Pixel p) {
    return {p.x, p.y};
}

QColor Colour(PathColour c) {
    return c == PathColour::Blue ? kPathBlue : kPathRed;
}

// Segment by segment, each painted before the next one looks at its probe
// pixel, so that a probe sees the other path and never this one.
void DrawPath(QImage& image, const Network& network, const std::vector<Move>& moves, PathColour colour) {
    Node at{};
    for (Move m : moves) {
        const Pixel probe = SegmentProbe(at, m, network.rows);
        const bool over = image.pixelColor(probe.x, probe.y) != QColor(Qt::black);
        QPainter painter(&image);
        for (const ColouredLine& part : SegmentParts(at, m, network.rows, colour, over)) {
            painter.setPen(QPen(Colour(part.colour), kPathPenWidth, Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(ToPoint(part.line.from), ToPoint(part.line.to));
        }
        at = After(at, m);
    }
}

QFont LabelFont() {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(10);
    return f;
}

QString DescribePath(const Network& network, const std::vector<Move>& moves, const QString& what) {
    Node at{};
    int length = 0;
    for (Move m : moves) {
        length += network.length(at, m);
        at = After(at, m);
    }
    return QStringLiteral("%1: %2 arcs, length %3, ending at (%4, %5)")
        .arg(what)
        .arg(static_cast<int>(moves.size()))
        .arg(length)
        .arg(at.x)
        .arg(at.y);
}

} // namespace

QString DescribeNetwork(const NetworkPicture& picture) {
    if (!picture.network) return QStringLiteral("Network: empty");
    const Network& n = *picture.network;
    QStringList parts;
    parts << QStringLiteral("Network of %1 by %2 arcs from (0, 0) to (%1, %2)").arg(n.columns).arg(n.rows);
    if (!picture.optimal.empty())
        parts << DescribePath(n, picture.optimal, QStringLiteral("optimal path (blue)"));
    parts << (picture.own.empty()
                  ? QStringLiteral("no own or heuristic path yet")
                  : DescribePath(n, picture.own, QStringLiteral("own or heuristic path (red)")));
    parts << (picture.distances ? QStringLiteral("distances shown") : QStringLiteral("distances hidden"));
    return parts.join(QStringLiteral("; "));
}

QImage NewNetworkImage() {
    QImage image(kNetworkWidth, kNetworkHeight, QImage::Format_RGB32);
    image.fill(kSilver);
    return image;
}

void DrawNetwork(QImage& image, const NetworkPicture& picture) {
    image.fill(kSilver);
    if (!picture.network) return;
    const Network& n = *picture.network;
    {
        QPainter painter(&image);
        painter.setPen(QPen(Qt::black, 1));
        for (const Line& l : GridLines(n.rows, n.columns)) painter.drawLine(ToPoint(l.from), ToPoint(l.to));
    }
    DrawPath(image, n, picture.optimal, PathColour::Blue);
    DrawPath(image, n, picture.own, PathColour::Red);
    QPainter painter(&image);
    const QFont font = LabelFont();
    painter.setFont(font);
    const QFontMetrics fm(font);
    if (picture.distances) {
        for (const LabelPlace& place : LabelPlaces(n.rows, n.columns)) {
            const QString text = QString::number(n.length(place.arc.node, place.arc.kind));
            const Rect r = LabelRect(place, fm.horizontalAdvance(text), fm.height());
            const QRect rect(r.left, r.top, r.width, r.height);
            painter.fillRect(rect, kSilver);
            painter.setPen(Qt::black);
            painter.drawText(rect, Qt::AlignCenter, text);
        }
    }
    for (const LegendItem& item : Legend()) {
        painter.setPen(QPen(Colour(item.colour), kPathPenWidth, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(ToPoint(item.line.from), ToPoint(item.line.to));
        painter.setPen(Qt::black);
        const QString caption = QString::fromLatin1(item.caption);
        painter.drawText(
            QRect(item.text.x, item.text.y - fm.height() / 2, fm.horizontalAdvance(caption) + 2, fm.height()),
            Qt::AlignLeft | Qt::AlignVCenter, caption);
    }
}

} // namespace tarvik::shortestpath::ui
