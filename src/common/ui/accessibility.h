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
#include <initializer_list>

class QWidget;

namespace tarvik::ui {

// A control a user operates: buttons, fields, spin boxes, lists, tables,
// sliders, text areas, pictures with a keyboard pointer (not the parts these
// are made of).
bool IsInteractive(const QWidget* widget);
// The name assistive technology reads for the widget.
QString AccessibleNameOf(QWidget* widget);
// Gives every interactive control under `root` (itself included) that has no
// name the one its label suggests, without accelerator marks.
void NameControls(QWidget* root);
// Names controls whenever widgets are shown, for the whole program.
void InstallAccessibleNames();

// Pictures (drawings a screen reader cannot read) carry a description of what
// they show: their title and key figures. A picture widget marks itself, so
// that a picture without a description is found.
void MarkAsPicture(QWidget* picture);
bool IsPicture(const QWidget* widget);
// Marks `picture` and gives it `description`.
void DescribePicture(QWidget* picture, const QString& description);

// Whether Tab going from `from` to `to` goes against reading order: top to
// bottom, rows (a few pixels apart at most) left to right, where a column may
// be read to its end before the column on its right, a column of controls
// beside a taller control after it, and the controls of a group box together,
// where the group box stands.
bool TabGoesBack(QWidget* from, QWidget* to);
// Makes Tab visit the widgets (of one window) in the order given, after the
// first of them; null entries are passed over.
void SetTabOrder(std::initializer_list<QWidget*> order);

// What is wrong in a window for a keyboard or screen-reader user: each visible
// interactive control without a name, each one the Tab key never reaches, each
// step of the Tab key against reading order (command buttons may follow all
// the fields wherever they stand) and each visible picture without a
// description. One text per fault, naming the control by its object name and
// class.
QStringList AccessibilityProblems(QWidget* window);

} // namespace tarvik::ui
