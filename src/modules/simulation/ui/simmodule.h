#pragma once
// The factory the shell calls to open the queue-simulation module.
class QWidget;

namespace tarvik::ui {
class ModuleWindow;
}

tarvik::ui::ModuleWindow* CreateSimWindow(QWidget* parent);
