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

// F1 in a window or dialog opens the help at the context of the nearest widget
// (the focus widget, then its parents) that has one. Windows that handle F1
// themselves need no context here. A widget class may instead declare an int
// property named "tarvikHelpContext".
void SetHelpContext(QWidget* widget, int context);
int HelpContextOf(const QWidget* widget); // 0: none along the parents
// Installs the F1 handling for the whole application (once, at start-up).
void InstallHelpKey();

} // namespace tarvik::ui
