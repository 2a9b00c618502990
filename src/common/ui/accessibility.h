#pragma once
// Names for screen readers and a check of the keyboard path through a window.
//
// Every interactive control is known to assistive technology by a name: its
// own text (buttons, check boxes), else the text of the label that belongs to
// it (its buddy, or the label on its left on the same row, or the one just
// above it), else its tool tip, else the title of its group. The names are
// given when a widget is shown, so that no window needs code of its own.
#include <QString>
#include <QStringList>

class QWidget;

namespace tarvik::ui {

// A control a user operates: buttons, fields, spin boxes, lists, tables,
// sliders, text areas (not the parts these are made of).
bool IsInteractive(const QWidget* widget);
// The name assistive technology reads for the widget.
QString AccessibleNameOf(QWidget* widget);
// Gives every interactive control under `root` (itself included) that has no
// name the one its label suggests, without accelerator marks.
void NameControls(QWidget* root);
// Names controls whenever widgets are shown, for the whole program.
void InstallAccessibleNames();

// What is wrong in a window for a keyboard or screen-reader user: each visible
// interactive control without a name, and each one the Tab key never reaches.
// One text per fault, naming the control by its object name and class.
QStringList AccessibilityProblems(QWidget* window);

} // namespace tarvik::ui
