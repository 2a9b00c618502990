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

double DifferingShare(const QImage& a, const QImage& b, int tolerance) {
    if (a.size() != b.size() || a.isNull()) return 1.0;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    long long differing = 0;
    for (int r = 0; r < x.height(); ++r) {
        const auto* px = reinterpret_cast<const QRgb*>(x.constScanLine(r));
        const auto* py = reinterpret_cast<const QRgb*>(y.constScanLine(r));
        for (int c = 0; c < x.width(); ++c) {
            if (std::abs(qRed(px[c]) - qRed(py[c])) > tolerance ||
                std::abs(qGreen(px[c]) - qGreen(py[c])) > tolerance ||
                std::abs(qBlue(px[c]) - qBlue(py[c])) > tolerance)
                ++differing;
        }
    }
    return static_cast<double>(differing) / (static_cast<double>(x.width()) * x.height());
}

} // namespace tarvik::test
