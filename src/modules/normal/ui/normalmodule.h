#pragma once
// The factory the shell calls to open the normal-distribution module.
class QWidget;

namespace tarvik::ui {
class ModuleWindow;
}

tarvik::ui::ModuleWindow* CreateNormalWindow(QWidget* parent);
