#include "modules/montecarlo/ui/mcdraw.h"

#include "common/ui/picturetext.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPalette>

namespace tarvik::montecarlo::ui {

QColor ButtonFace() {
    return QApplication::palette().color(QPalette::Button);
}

QFont CanvasFont() {
    // The dialog font of the pictures is a narrow bitmap font; its outline
    // substitute gets the pixel size that keeps the texts within their places.
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(10);
    return f;
}

QImage NewPicture(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(ButtonFace());
    return image;
}

void TextAt(QPainter& p, int x, int y, const QString& text) {
    const QFontMetrics fm(p.font());
    p.drawText(QPoint(x, y + fm.ascent()), text);
    tarvik::ui::PictureTextLog::Record(tarvik::ui::TextBox(fm, x, y, text), text);
}

void LabelValueAt(QPainter& p, int x, int y, const QString& label, const QString& value) {
    const QFontMetrics fm(p.font());
    TextAt(p, x, y, label);
    TextAt(p, x + fm.horizontalAdvance(label) + fm.horizontalAdvance(QLatin1Char(' ')), y, value);
}

void TextCentredAt(QPainter& p, int x, int y, const QString& text) {
    const QFontMetrics fm(p.font());
    TextAt(p, x - fm.horizontalAdvance(text) / 2, y, text);
}

void LineAt(QPainter& p, int x1, int y1, int x2, int y2, QColor colour, int width, Qt::PenStyle style) {
    QPen pen(colour);
    pen.setWidth(width);
    pen.setStyle(style);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    p.drawLine(x1, y1, x2, y2);
}

void MCCanvas::reset(QColor colour) {
    picture_.fill(colour);
    fill_ = colour;
    steps_.clear();
}

void MCCanvas::draw(tarvik::ui::PictureDrawing step) {
    draw(QString(), std::move(step));
}

void MCCanvas::draw(const QString& key, tarvik::ui::PictureDrawing step) {
    {
        QPainter p(&picture_);
        step(p);
    }
    remember(key, std::move(step));
}

void MCCanvas::keep(const QString& key, tarvik::ui::PictureDrawing step) {
    remember(key, std::move(step));
}

void MCCanvas::remember(const QString& key, tarvik::ui::PictureDrawing step) {
    if (!key.isEmpty()) {
        for (Step& s : steps_) {
            if (s.key == key) {
                s.paint = std::move(step);
                return;
            }
        }
    }
    steps_.push_back(Step{key, std::move(step)});
}

tarvik::ui::PictureDrawing MCCanvas::drawing(QRect part) const {
    return [this, part](QPainter& p) {
        const QRect whole = part.isNull() ? picture_.rect() : part;
        p.setClipRect(whole);
        p.fillRect(whole, fill_);
        for (const Step& s : steps_) {
            p.save();
            s.paint(p);
            p.restore();
        }
    };
}

bool MCCanvas::save(const QString& defaultName, bool appendBmp, const QString& fileTypeText,
                    QRect part) const {
    const QImage image = part.isNull() ? picture_ : picture_.copy(part);
    return tarvik::ui::SaveGraphBitmap(image, defaultName, appendBmp, fileTypeText, drawing(part));
}

} // namespace tarvik::montecarlo::ui
