#pragma once
// The factory the shell calls to open the roulette module.
class QWidget;

namespace tarvik::ui {
class ModuleWindow;
}

tarvik::ui::ModuleWindow* CreateRouletteWindow(QWidget* parent);
