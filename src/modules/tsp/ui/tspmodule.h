#pragma once
// The factory the shell calls to open the travelling-salesman module.
class QWidget;

namespace tarvik::ui {
class ModuleWindow;
}

tarvik::ui::ModuleWindow* CreateTSPWindow(QWidget* parent);
