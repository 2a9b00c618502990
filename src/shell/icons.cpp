#include "shell/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>

namespace tarvik::shell {
namespace {

void Die(QPainter& p, const QRectF& r, int pips) {
    p.setPen(QPen(Qt::black, 1.2));
    p.setBrush(Qt::white);
    p.drawRoundedRect(r, 3, 3);
    p.setBrush(Qt::black);
    const double cx = r.center().x(), cy = r.center().y(), o = r.width() / 4;
    auto pip = [&](double x, double y) { p.drawEllipse(QPointF(x, y), 1.6, 1.6); };
    if (pips % 2) pip(cx, cy);
    if (pips >= 2) pip(cx - o, cy - o), pip(cx + o, cy + o);
    if (pips >= 4) pip(cx + o, cy - o), pip(cx - o, cy + o);
}

void Label(QPainter& p, const QString& text, const QColor& colour) {
    QFont f(QStringLiteral("Arial"));
    f.setBold(true);
    f.setPixelSize(text.size() > 2 ? 10 : 13);
    p.setFont(f);
    p.setPen(colour);
    p.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter, text);
}

} // namespace

QIcon ModuleIcon(const QString& name) {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor navy(29, 53, 87);
    if (name == QLatin1String("dice")) {
        Die(p, QRectF(3, 3, 17, 17), 3);
        Die(p, QRectF(12, 12, 17, 17), 5);
    } else if (name == QLatin1String("tables") || name == QLatin1String("normal")) {
        QPainterPath curve;
        for (int x = 2; x <= 30; ++x) {
            const double t = (x - 16) / 5.0;
            const QPointF pt(x, 27 - 22 * std::exp(-t * t / 2));
            x == 2 ? curve.moveTo(pt) : curve.lineTo(pt);
        }
        p.setPen(QPen(name == QLatin1String("tables") ? navy : QColor(200, 30, 30), 2));
        p.drawPath(curve);
        p.setPen(QPen(Qt::black, 1));
        p.drawLine(2, 28, 30, 28);
    } else if (name == QLatin1String("tsp")) {
        const QPointF c[] = {{5, 8}, {26, 5}, {28, 24}, {14, 28}, {4, 20}};
        p.setPen(QPen(navy, 1.5));
        for (int i = 0; i < 5; ++i) p.drawLine(c[i], c[(i + 1) % 5]);
        p.setBrush(QColor(200, 30, 30));
        for (const auto& pt : c) p.drawEllipse(pt, 2.5, 2.5);
    } else if (name == QLatin1String("roulette")) {
        p.setPen(QPen(Qt::black, 1));
        for (int i = 0; i < 12; ++i) {
            p.setBrush(i % 2 ? QColor(200, 30, 30) : Qt::black);
            p.drawPie(QRectF(2, 2, 28, 28), i * 30 * 16, 30 * 16);
        }
        p.setBrush(QColor(0, 120, 0));
        p.drawEllipse(QPointF(16, 16), 5, 5);
    } else if (name == QLatin1String("shortestpath")) {
        p.setPen(QPen(Qt::gray, 1));
        for (int i = 0; i < 4; ++i) {
            p.drawLine(4 + 8 * i, 4, 4 + 8 * i, 28);
            p.drawLine(4, 4 + 8 * i, 28, 4 + 8 * i);
        }
        p.setPen(QPen(QColor(200, 30, 30), 2.5));
        p.drawPolyline(
            QPolygonF({QPointF(4, 28), QPointF(12, 28), QPointF(12, 12), QPointF(28, 12), QPointF(28, 4)}));
    } else if (name == QLatin1String("markov")) {
        p.setPen(QPen(navy, 1.5));
        p.setBrush(QColor(168, 218, 220));
        p.drawEllipse(QPointF(8, 16), 6, 6);
        p.drawEllipse(QPointF(24, 16), 6, 6);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(8, 6, 16, 12), 30 * 16, 120 * 16);
        p.drawArc(QRectF(8, 14, 16, 12), 210 * 16, 120 * 16);
    } else {
        static const struct {
            const char* name;
            const char* text;
            QColor colour;
        } labels[] = {{"montecarlo", "MC", QColor(120, 40, 140)},
                      {"simulation", "Q", QColor(0, 110, 60)},
                      {"lp", "LP", QColor(29, 53, 87)},
                      {"ip", "IP", QColor(160, 60, 20)},
                      {"queue", "M/M", QColor(0, 90, 120)}};
        QColor colour = navy;
        QString text = name.left(2).toUpper();
        for (const auto& l : labels)
            if (name == QLatin1String(l.name)) text = QString::fromLatin1(l.text), colour = l.colour;
        p.setPen(QPen(colour, 1.5));
        p.setBrush(QColor(241, 250, 238));
        p.drawRoundedRect(QRectF(2, 4, 28, 24), 4, 4);
        Label(p, text, colour);
    }
    p.end();
    return QIcon(pm);
}

} // namespace tarvik::shell
