#pragma once
// The keyboard in place of the mouse on a picture.
//
// A picture that answers the mouse (a map to click on, a chip to drag) gets a
// pointer the keyboard moves: Tab reaches the picture, the arrow keys move the
// pointer one pixel (ten with Shift) without leaving the picture, and Enter or
// Space clicks at it. The clicks and moves are handed to the picture as mouse
// events, so the window's own mouse handling does the work.
//
// A dragged picture (a chip) is picked up at its middle with Enter or Space,
// moved with the arrow keys within its parent, and dropped with Enter or Space
// as a mouse drop; Escape puts it back. A picture that may not be taken ignores
// the mouse press.
//
// The pointer is drawn over the picture (a cross and a dotted frame) only while
// the picture has the focus and the keyboard is in use there: after Tab
// brought the focus or once a key of the pointer was pressed. Otherwise the
// picture shows exactly what it draws itself.
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <functional>

class QKeyEvent;
class QWidget;

namespace tarvik::ui {

class KeyboardPointer : public QObject {
    Q_OBJECT
public:
    enum class Mode {
        Click, // the pointer moves over the picture and clicks
        Drag,  // the picture itself is picked up, moved and dropped
    };
    // Gives `picture` the focus by Tab and click, and the accessible name
    // `name` unless it has one. The pointer starts in the middle.
    KeyboardPointer(QWidget* picture, const QString& name, Mode mode = Mode::Click);

    // Shift+Enter and the menu key click with the right button.
    void setRightClick(bool on) { rightClick_ = on; }
    // Drag: what Escape does while the picture is held (puts it back).
    void setCancel(std::function<void()> cancel) { cancel_ = std::move(cancel); }

    // The pointer, in the picture's coordinates.
    QPoint position() const;
    // Click: moves the pointer to `p` (kept inside the picture), without a mouse move.
    void setPosition(QPoint p);
    // Drag: whether the picture is held.
    bool held() const { return held_; }
    // Whether the pointer is drawn.
    bool shown() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool key(QKeyEvent* event);
    void step(QPoint by);
    bool send(int type, Qt::MouseButton button, Qt::MouseButtons buttons, QPoint at);
    void paintOver();

    QPointer<QWidget> picture_;
    Mode mode_;
    QPoint position_;
    bool rightClick_ = false;
    bool held_ = false;
    bool keyboard_ = false; // the keyboard is in use on the picture
    std::function<void()> cancel_;
};

// Whether `widget` carries a keyboard pointer (a picture a user operates).
bool HasKeyboardPointer(const QWidget* widget);

} // namespace tarvik::ui
