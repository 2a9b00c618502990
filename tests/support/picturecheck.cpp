#include "support/picturecheck.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <cstdlib>

namespace tarvik::test {

SvgContents InspectSvg(const QString& fileName) {
    SvgContents result;
    QSvgRenderer renderer(fileName);
    result.parses = renderer.isValid();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return result;
    QXmlStreamReader xml(&file);
    static const QStringList shapes = {"path", "polyline", "polygon", "line",
                                       "rect", "ellipse",  "circle",  "text"};
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        const QString name = xml.name().toString();
        if (shapes.contains(name)) ++result.shapes;
        if (name == QLatin1String("image")) ++result.images;
    }
    if (xml.hasError()) result.parses = false;
    return result;
}

QImage RenderSvg(const QString& fileName, const QSize& size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QSvgRenderer renderer(fileName);
    QPainter p(&image);
    renderer.render(&p, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

double DifferingShare(const QImage& a, const QImage& b, int tolerance, int radius) {
    if (a.size() != b.size() || a.isNull()) return 1.0;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    auto near = [tolerance](QRgb p, QRgb q) {
        return std::abs(qRed(p) - qRed(q)) <= tolerance && std::abs(qGreen(p) - qGreen(q)) <= tolerance &&
               std::abs(qBlue(p) - qBlue(q)) <= tolerance;
    };
    long long differing = 0;
    for (int r = 0; r < x.height(); ++r) {
        for (int c = 0; c < x.width(); ++c) {
            const QRgb p = x.pixel(c, r);
            bool matched = false;
            for (int dr = -radius; dr <= radius && !matched; ++dr)
                for (int dc = -radius; dc <= radius && !matched; ++dc)
                    matched = y.valid(c + dc, r + dr) && near(p, y.pixel(c + dc, r + dr));
            if (!matched) ++differing;
        }
    }
    return static_cast<double>(differing) / (static_cast<double>(x.width()) * x.height());
}

} // namespace tarvik::test
