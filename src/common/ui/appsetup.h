#pragma once

namespace tarvik::ui {

// What the program fixes before its first window: the application title, the
// font substitutions and "." as the decimal mark for all number texts.
void SetUpApplication();

} // namespace tarvik::ui
