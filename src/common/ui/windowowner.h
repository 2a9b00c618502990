#pragma once
// Which window a question belongs to. The module windows and many of their
// dialogs are tool windows that stay on top; a question that belonged to no
// window (or to the main window) would open beneath them and the program would
// look frozen. Every question is therefore made transient for the window that
// asked it, and stays on top itself while any window of the program does.
class QWidget;

namespace tarvik::ui {

// The window a question asked by `asked` belongs to: the modal dialog in
// front, else the active window of the program, else the window of `asked`,
// else the main window. Nothing when none of them is shown.
QWidget* QuestionOwner(QWidget* asked = nullptr);

// True when a shown window of the program other than `except` stays on top.
bool StayOnTopWindowShown(const QWidget* except = nullptr);

// Tells the window manager that the top-level `window` belongs to `owner`
// (transient for it), so that it stacks above it.
void SetTransientFor(QWidget* window, QWidget* owner);

// Makes the top-level `dialog` (before it is shown) belong to the owner of a
// question asked by `asked`: the window manager keeps it above that window,
// and above the program's stay-on-top windows while any is shown.
void OwnQuestion(QWidget* dialog, QWidget* asked = nullptr);

// A window (not a dialog) a module opens is placed, when first shown and unless the module
// moved it itself, inside the main window's client area (clear of its menu bar
// and toolbar), where it covers least of the module's other windows.
void PlaceInClientArea(QWidget* window);

} // namespace tarvik::ui
