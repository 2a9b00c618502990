#include "common/ui/windowowner.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QMainWindow>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace tarvik::ui {
namespace {

bool Shown(const QWidget* w) {
    return w && w->isVisible() && !w->isMinimized();
}

QWidget* ShownMainWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QMainWindow*>(w) && Shown(w)) return w;
    return nullptr;
}

// The area of `r` that the shown windows in `others` cover.
long long Covered(const QRect& r, const QList<QWidget*>& others) {
    long long area = 0;
    for (const QWidget* w : others) {
        const QRect both = r.intersected(w->frameGeometry());
        if (!both.isEmpty()) area += static_cast<long long>(both.width()) * both.height();
    }
    return area;
}

// The module window (a child of the main window) that holds `window`.
QWidget* ModuleOf(QWidget* window) {
    for (QWidget* w = window->parentWidget(); w; w = w->parentWidget())
        if (!w->isWindow() && qobject_cast<QMainWindow*>(w->window())) return w;
    return nullptr;
}

void Place(QWidget* window) {
    QWidget* module = ModuleOf(window);
    if (!module || !module->isVisible() || !module->window()->isVisible()) return;
    const QRect client(module->mapToGlobal(QPoint(0, 0)), module->size());
    // The window manager's frame, as it framed the main window.
    const QWidget* main = module->window();
    const QPoint decoration = main->geometry().topLeft() - main->frameGeometry().topLeft();
    const QSize frame = window->size() + main->frameGeometry().size() - main->geometry().size();
    constexpr int kMargin = 8;
    QList<QWidget*> others;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != window && Shown(w) && ModuleOf(w) == module) others << w;
    const int left = client.left() + kMargin, top = client.top() + kMargin;
    const int right = std::max(left, client.right() - kMargin - frame.width());
    const int bottom = std::max(top, client.bottom() - kMargin - frame.height());
    QPoint best(left, top);
    long long least = -1;
    for (const QPoint p : {QPoint(left, top), QPoint(right, top), QPoint(left, bottom), QPoint(right, bottom),
                           QPoint((left + right) / 2, top), QPoint((left + right) / 2, bottom)}) {
        const long long covered = Covered(QRect(p, frame), others);
        if (least < 0 || covered < least) {
            least = covered;
            best = p;
        }
    }
    // Before the window is shown, its position is that of its client area.
    window->move(best + decoration);
}

class PlaceOnFirstShow : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            auto* window = static_cast<QWidget*>(watched);
            if (!window->testAttribute(Qt::WA_Moved)) Place(window);
            window->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }
};

} // namespace

void PlaceInClientArea(QWidget* window) {
    // Dialogs already open centred over the main window.
    if (window && window->isWindow() && !qobject_cast<QDialog*>(window))
        window->installEventFilter(new PlaceOnFirstShow(window));
}

QWidget* QuestionOwner(QWidget* asked) {
    if (QWidget* modal = QApplication::activeModalWidget(); Shown(modal)) return modal;
    if (QWidget* active = QApplication::activeWindow(); Shown(active)) return active;
    if (asked && Shown(asked->window())) return asked->window();
    return ShownMainWindow();
}

bool StayOnTopWindowShown(const QWidget* except) {
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (w != except && Shown(w) && w->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) return true;
    return false;
}

void SetTransientFor(QWidget* window, QWidget* owner) {
    if (!window || !owner) return;
    window->winId();
    owner->winId();
    if (QWindow* handle = window->windowHandle()) handle->setTransientParent(owner->windowHandle());
}

void OwnQuestion(QWidget* dialog, QWidget* asked) {
    if (!dialog || !dialog->isWindow()) return;
    QWidget* owner = QuestionOwner(asked);
    if (owner == dialog) owner = nullptr;
    if (StayOnTopWindowShown(dialog) && !dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
        const bool shown = dialog->isVisible();
        dialog->setWindowFlag(Qt::WindowStaysOnTopHint, true);
        if (shown) dialog->show();
    }
    SetTransientFor(dialog, owner);
}

} // namespace tarvik::ui
