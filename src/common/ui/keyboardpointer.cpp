#include "common/ui/keyboardpointer.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <algorithm>

namespace tarvik::ui {
namespace {

const char* const kPointerProperty = "tarvikKeyboardPointer";

QPoint Inside(QPoint p, const QRect& r) {
    return {std::clamp(p.x(), r.left(), r.right()), std::clamp(p.y(), r.top(), r.bottom())};
}

} // namespace

KeyboardPointer::KeyboardPointer(QWidget* picture, const QString& name, Mode mode)
    : QObject(picture), picture_(picture), mode_(mode),
      position_(picture->width() / 2, picture->height() / 2) {
    picture->setProperty(kPointerProperty, true);
    picture->setFocusPolicy(Qt::StrongFocus);
    if (picture->accessibleName().isEmpty()) picture->setAccessibleName(name);
    picture->installEventFilter(this);
}

QPoint KeyboardPointer::position() const {
    if (mode_ == Mode::Drag && picture_) return {picture_->width() / 2, picture_->height() / 2};
    return position_;
}

void KeyboardPointer::setPosition(QPoint p) {
    if (!picture_) return;
    position_ = Inside(p, picture_->rect());
    if (shown()) picture_->update();
}

bool KeyboardPointer::shown() const {
    return picture_ && keyboard_ && picture_->hasFocus();
}

bool KeyboardPointer::send(int type, Qt::MouseButton button, Qt::MouseButtons buttons, QPoint at) {
    if (!picture_) return false;
    const QPointF local(at);
    QMouseEvent event(static_cast<QEvent::Type>(type), local, picture_->mapTo(picture_->window(), local),
                      picture_->mapToGlobal(local), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(picture_, &event);
    return event.isAccepted();
}

void KeyboardPointer::step(QPoint by) {
    if (mode_ == Mode::Click) {
        position_ = Inside(position_ + by, picture_->rect());
        send(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, position_);
        picture_->update();
        return;
    }
    if (!held_) return;
    // The middle of the picture stays on its parent.
    const QPoint middle = position();
    QPoint to = picture_->mapToParent(middle) + by;
    if (QWidget* parent = picture_->parentWidget()) to = Inside(to, parent->rect());
    send(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, picture_->mapFromParent(to));
    picture_->update();
}

bool KeyboardPointer::key(QKeyEvent* event) {
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const int stride = shift ? 10 : 1;
    switch (event->key()) {
    case Qt::Key_Left:
        step({-stride, 0});
        break;
    case Qt::Key_Right:
        step({stride, 0});
        break;
    case Qt::Key_Up:
        step({0, -stride});
        break;
    case Qt::Key_Down:
        step({0, stride});
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
    case Qt::Key_Menu: {
        const bool right = event->key() == Qt::Key_Menu || (shift && event->key() != Qt::Key_Space);
        if (mode_ == Mode::Drag) {
            if (event->key() == Qt::Key_Menu) return false;
            // A picture that may not be taken now ignores the press.
            if (held_) send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, position());
            held_ = !held_ && send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, position());
        } else if (right && rightClick_) {
            send(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, position_);
            send(QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, position_);
        } else if (event->key() == Qt::Key_Menu) {
            return false;
        } else {
            send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, position_);
            send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, position_);
        }
        break;
    }
    case Qt::Key_Escape:
        if (mode_ != Mode::Drag || !held_) return false;
        held_ = false;
        if (cancel_) cancel_();
        break;
    default:
        return false;
    }
    if (picture_) { // a click may have closed the window and released the picture
        keyboard_ = true;
        picture_->update();
    }
    return true;
}

void KeyboardPointer::paintOver() {
    QPainter p(picture_);
    const QRect frame = picture_->rect().adjusted(0, 0, -1, -1);
    p.setPen(QPen(Qt::white, 1));
    p.drawRect(frame);
    p.setPen(QPen(held_ ? Qt::red : Qt::black, 1, Qt::DotLine));
    p.drawRect(frame);
    // A cross with an open middle, dark under light so that it shows on any colour.
    const QPoint c = position();
    const QLine arms[] = {{c.x() - 8, c.y(), c.x() - 3, c.y()},
                          {c.x() + 3, c.y(), c.x() + 8, c.y()},
                          {c.x(), c.y() - 8, c.x(), c.y() - 3},
                          {c.x(), c.y() + 3, c.x(), c.y() + 8}};
    p.setPen(QPen(Qt::black, 3));
    p.drawLines(arms, 4);
    p.setPen(QPen(Qt::white, 1));
    p.drawLines(arms, 4);
}

bool KeyboardPointer::eventFilter(QObject* watched, QEvent* event) {
    if (watched != picture_) return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* press = static_cast<QKeyEvent*>(event);
        if (press->key() == Qt::Key_Tab || press->key() == Qt::Key_Backtab) {
            // Tab in a window where the picture is the only stop leaves the focus where it is.
            keyboard_ = true;
            picture_->update();
            return false;
        }
        return key(press);
    }
    case QEvent::FocusIn: {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        keyboard_ = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                    reason == Qt::ShortcutFocusReason;
        picture_->update();
        return false;
    }
    case QEvent::FocusOut:
        if (static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason) return false;
        keyboard_ = false;
        if (held_) {
            held_ = false;
            if (cancel_) cancel_();
        }
        picture_->update();
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
        // The mouse takes the pointer along, so that the keys go on from where it is.
        if (mode_ == Mode::Click) setPosition(static_cast<QMouseEvent*>(event)->position().toPoint());
        return false;
    case QEvent::Paint:
        if (!shown()) return false;
        // The picture draws itself first; the pointer goes over it.
        static_cast<QObject*>(picture_.data())->event(event);
        paintOver();
        return true;
    default:
        return false;
    }
}

bool HasKeyboardPointer(const QWidget* widget) {
    return widget && widget->property(kPointerProperty).toBool();
}

} // namespace tarvik::ui
