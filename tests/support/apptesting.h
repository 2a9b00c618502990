#pragma once
// Helpers for window tests.
#include <QString>

class QWidget;

namespace tarvik::test {

// Fonts, number format and application title as the program sets them at start.
void PrepareApplication();
// Lets pending events (paints, deferred deletes) run.
void ProcessEvents(int rounds = 3);

} // namespace tarvik::test
