#pragma once
// Helpers for window tests.
#include <QString>

class QSpinBox;
class QWidget;

namespace tarvik::test {

// Fonts, number format and application title as the program sets them at start.
void PrepareApplication();
// Lets pending events (paints, deferred deletes) run.
void ProcessEvents(int rounds = 3);
// Types `text` over a spin field's text in its active window, then Tab; the text shown after.
QString TypeAndTab(QSpinBox* spin, const char* text);

} // namespace tarvik::test
