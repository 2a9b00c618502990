#pragma once
// Shared by the windows of the later experiments: the report view filled from
// styled lines, and the error message that focuses the field it is about.
#include "modules/montecarlo/mcshared.h"

#include <QString>
#include <vector>

class QTextEdit;
class QWidget;

namespace tarvik::montecarlo::ui {

// Clears the view and adds the lines: headings italic blue 10 point, the rest
// black 8 point in "Courier New"; bold underlined where the line says so.
void FillReport(QTextEdit* view, const std::vector<StyledLine>& lines);

// An error message with one OK button; then `field` gets the focus with its
// text selected. An empty message only moves the focus.
void RefuseInput(const QString& message, QWidget* field);

} // namespace tarvik::montecarlo::ui
