#pragma once
// What the shell needs to open the integer-programming module.
class QWidget;

namespace tarvik::ui {
class ModuleWindow;

// Creates the module window `TMIPmodule` as a child of `parent`, with a new model.
ModuleWindow* CreateIPWindow(QWidget* parent);

} // namespace tarvik::ui
