#pragma once
#include <QString>

class QWidget;

namespace tarvik::ui {

// The folder of the program file, with a trailing separator.
QString ProgramDir();
// The help file next to the program file.
QString HelpFilePath();
// Opens the help viewer at a numeric context; returns false when the help
// file or the context is missing (the viewer then shows the contents).
bool ShowHelp(int context, QWidget* parent = nullptr);
// The HTML of one topic, or an empty text.
QString HelpTopicHtml(int context);

} // namespace tarvik::ui
