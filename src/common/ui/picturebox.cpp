#include "common/ui/picturebox.h"

#include <QPaintEvent>
#include <QPainter>

namespace tarvik::ui {

TPictureBox::TPictureBox(const QImage* picture, QWidget* parent) : QWidget(parent), picture_(picture) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize TPictureBox::sizeHint() const {
    return picture_->size();
}

void TPictureBox::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.drawImage(event->rect().topLeft(), *picture_, event->rect());
}

} // namespace tarvik::ui
