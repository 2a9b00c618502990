#pragma once
// The factory the shell calls to open the coin-tossing module.
class QWidget;

namespace tarvik::ui {
class ModuleWindow;
}

tarvik::ui::ModuleWindow* CreateDobbelWindow(QWidget* parent);
