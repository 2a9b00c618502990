#pragma once
// What the shell needs to open the linear-programming module.
class QWidget;

namespace tarvik::ui {
class ModuleWindow;

// Creates the module window `TLP` as a child of `parent`.
ModuleWindow* CreateLPWindow(QWidget* parent);

} // namespace tarvik::ui
