#pragma once
// Shared by the windows of the later experiments: the report view filled from
// styled lines, and the error message that focuses the field it is about.
#include "modules/montecarlo/mcshared.h"

#include <QRect>
#include <QString>
#include <functional>
#include <vector>

class QPushButton;
class QTextEdit;
class QWidget;

namespace tarvik::montecarlo::ui {

// Clears the view and adds the lines: headings italic blue 10 point, the rest
// black 8 point in "Courier New"; bold underlined where the line says so.
void FillReport(QTextEdit* view, const std::vector<StyledLine>& lines);

// "Save as PDF…" and "Save as text…" for a data window whose figures stand in
// fields: a "Save" button right of `beside` with the two commands in its menu.
// `text` gives the report (LF line ends), `title` and `baseName` the PDF's
// title and the proposed file name without extension.
QPushButton* AddDataSaving(QWidget* window, QPushButton* beside, const QString& title,
                           const QString& baseName, std::function<QString()> text);

// The read-only report view of a data window at `at`, without line wrapping,
// that saves as PDF or text with the title `title` and the proposed file name
// `baseName`.
QTextEdit* PlaceReportView(QWidget* window, QRect at, const QString& title, const QString& baseName);

// An error message with one OK button; then `field` gets the focus with its
// text selected. An empty message only moves the focus.
void RefuseInput(const QString& message, QWidget* field);

} // namespace tarvik::montecarlo::ui
