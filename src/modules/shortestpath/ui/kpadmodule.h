#pragma once
// The factory the shell calls to open the shortest-path module.
class QWidget;

namespace tarvik::ui {
class ModuleWindow;
}

tarvik::ui::ModuleWindow* CreateKortstePadWindow(QWidget* parent);
